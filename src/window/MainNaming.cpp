// The naming fields: their change handlers, which keep the counter texts current and
// re-evaluate the run buttons, and the "Alpha", "Trim" and name-format choices.

#include "naming/CaseStyle.h"
#include "window/Feedback.h"
#include "window/Main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace pellory {

void Main::FilePrefix_Change()
{
    UpdateControls();
}

void Main::FileLeading_Change()
{
    UpdateControls();
}

void Main::NumCharKeep_Change()
{
    UpdateControls();
}

void Main::StartingNumber_Change()
{
    (chkAlpha->isChecked() ? AlphaNumberText : NumberText) = StartingNumber->text();
    UpdateControls();
}

void Main::NumberIncValue_Change()
{
    (chkAlpha->isChecked() ? AlphaIncrementText : IncrementText) = NumberIncValue->text();
    UpdateControls();
}

void Main::NewExt_Change()
{
    // Text typed over a chosen item is the user's own extension: no item is chosen then.
    const int chosen = NewExt->currentIndex();
    const QString text = NewExt->currentText();
    if (chosen >= 0 && text != NewExt->itemText(chosen)) {
        QLineEdit* edit = NewExt->lineEdit();
        const int cursor = edit->cursorPosition();
        {
            const QSignalBlocker quiet(NewExt);
            NewExt->setCurrentIndex(-1); // this also empties the text, put back below
            NewExt->setEditText(text);
        }
        edit->setCursorPosition(cursor);
    }
    UpdateControls();
}

void Main::NewExt_Click()
{
    UpdateControls();
}

void Main::chkAlpha_Click()
{
    // Each counter kind keeps its own start and increment; the fields show the pair of the
    // kind now chosen. Writing the fields raises their change handlers, which store the
    // same texts into the pair of the kind just entered.
    const bool alpha = chkAlpha->isChecked();
    if (alpha) {
        Label3->setText(QStringLiteral("&Starting @ : "));
        NumberText = StartingNumber->text();
        IncrementText = NumberIncValue->text();
        StartingNumber->setText(AlphaNumberText);
        NumberIncValue->setText(AlphaIncrementText);
    } else {
        Label3->setText(QStringLiteral("&Starting # : "));
        AlphaNumberText = StartingNumber->text();
        AlphaIncrementText = NumberIncValue->text();
        StartingNumber->setText(NumberText);
        NumberIncValue->setText(IncrementText);
    }
    chkTrim->setEnabled(!alpha);
}

void Main::chkTrim_Click()
{
    UpdateControls();
}

void Main::CasesList_Click()
{
    if (m_runState != RunState::Idle) {
        m_feedback->beep();
        return;
    }
    UpdateControls();
    // Converted once, when the style is picked; later typing follows the keystroke filter.
    const int style = CasesList->currentIndex();
    FilePrefix->setText(applyCaseStyle(FilePrefix->text(), style));
    FileLeading->setText(applyCaseStyle(FileLeading->text(), style));
}

} // namespace pellory

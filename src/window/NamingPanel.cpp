// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The naming fields' handlers: each change keeps the counter texts current and has the run
// buttons decided anew; "Alpha" swaps the counter pair shown, a case style converts the
// texts typed so far.

#include "window/NamingPanel.h"

#include "naming/CaseStyle.h"
#include "naming/Compose.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace pellory {

void NamingPanel::connectHandlers()
{
    // These signals fire for values set from code too: start-up and several handlers rely on
    // a value set from code raising its control's handler at once.
    connect(CasesList, &QComboBox::currentIndexChanged, this, &NamingPanel::CasesList_Click);
    connect(chkAlpha, &QCheckBox::toggled, this, &NamingPanel::chkAlpha_Click);
    connect(chkTrim, &QCheckBox::toggled, this, &NamingPanel::chkTrim_Click);
    connect(FilePrefix, &QLineEdit::textChanged, this, &NamingPanel::FilePrefix_Change);
    connect(FileLeading, &QLineEdit::textChanged, this, &NamingPanel::FileLeading_Change);
    connect(NumCharKeep, &QLineEdit::textChanged, this, &NamingPanel::NumCharKeep_Change);
    connect(StartingNumber, &QLineEdit::textChanged, this, &NamingPanel::StartingNumber_Change);
    connect(NumberIncValue, &QLineEdit::textChanged, this, &NamingPanel::NumberIncValue_Change);
    connect(NewExt, &QComboBox::editTextChanged, this, &NamingPanel::NewExt_Change);
    connect(NewExt, &QComboBox::currentIndexChanged, this, &NamingPanel::NewExt_Click);
    connect(DateFormat, &QComboBox::currentIndexChanged, this, &NamingPanel::DateFormat_Click);
    for (QRadioButton* option : ExtUsed)
        connect(option, &QRadioButton::toggled, this, &NamingPanel::focusSelectedOption);
    focusSelectedOption();
}

void NamingPanel::focusSelectedOption()
{
    // The arrow keys move within the group.
    for (QRadioButton* option : ExtUsed)
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

ExtensionMode NamingPanel::extensionMode() const
{
    for (int i = 0; i < int(ExtUsed.size()); ++i) {
        if (ExtUsed[i]->isChecked())
            return ExtensionMode(i);
    }
    return ExtensionMode::UseLastOccurrence;
}

RenameSettings NamingPanel::settings() const
{
    RenameSettings s;
    s.RenameChk = RenameChk->isChecked();
    s.NumCharKeep = NumCharKeep->text();
    s.FilePrefix = FilePrefix->text();
    s.FileLeading = FileLeading->text();
    s.chkAlpha = chkAlpha->isChecked();
    s.chkTrim = chkTrim->isChecked();
    s.StartingNumber = StartingNumber->text();
    s.NumberIncValue = NumberIncValue->text();
    s.AlphaNumberText = m_counters.AlphaNumberText;
    s.AlphaIncrementText = m_counters.AlphaIncrementText;
    s.ExtUsed = extensionMode();
    s.NewExtIndex = NewExt->currentIndex();
    s.NewExtText = NewExt->currentText();
    s.CasesList = CasesList->currentIndex();
    s.DateFormat = DateFormat->currentIndex();
    return s;
}

bool NamingPanel::namesUseDate() const
{
    return pellory::namesUseDate(settings());
}

void NamingPanel::FilePrefix_Change()
{
    emit changed();
}

void NamingPanel::FileLeading_Change()
{
    emit changed();
}

void NamingPanel::NumCharKeep_Change()
{
    emit changed();
}

void NamingPanel::StartingNumber_Change()
{
    CounterTexts& c = m_counters;
    (chkAlpha->isChecked() ? c.AlphaNumberText : c.NumberText) = StartingNumber->text();
    emit changed();
}

void NamingPanel::NumberIncValue_Change()
{
    CounterTexts& c = m_counters;
    (chkAlpha->isChecked() ? c.AlphaIncrementText : c.IncrementText) = NumberIncValue->text();
    emit changed();
}

void NamingPanel::NewExt_Change()
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
    emit changed();
}

void NamingPanel::NewExt_Click()
{
    emit changed();
}

void NamingPanel::chkAlpha_Click()
{
    // Each counter kind keeps its own start and increment; the fields show the pair of the
    // kind now chosen. Writing the fields raises their change handlers, which store the
    // same texts into the pair of the kind just entered, but only where a text differs:
    // the kind of counter is an input of its own, and says so itself.
    CounterTexts& c = m_counters;
    const bool alpha = chkAlpha->isChecked();
    Label3->setText(alpha ? tr("&Starting @ : ") : tr("&Starting # : "));
    (alpha ? c.NumberText : c.AlphaNumberText) = StartingNumber->text();
    (alpha ? c.IncrementText : c.AlphaIncrementText) = NumberIncValue->text();
    StartingNumber->setText(alpha ? c.AlphaNumberText : c.NumberText);
    NumberIncValue->setText(alpha ? c.AlphaIncrementText : c.IncrementText);
    chkTrim->setEnabled(!alpha);
    emit changed();
}

void NamingPanel::DateFormat_Click()
{
    emit changed();
}

void NamingPanel::chkTrim_Click()
{
    emit changed();
}

void NamingPanel::CasesList_Click()
{
    if (!m_run.mayAct(RunController::IfBusy::Beep))
        return;
    emit changed();
    // Converted once, when the style is picked; later typing follows the keystroke filter.
    const int style = CasesList->currentIndex();
    FilePrefix->setText(applyCaseStyle(FilePrefix->text(), style));
    FileLeading->setText(applyCaseStyle(FileLeading->text(), style));
}

} // namespace pellory

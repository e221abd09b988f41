// Which control event runs which handler, and the keystroke filters in front of the input
// fields. The signals chosen fire for values set from code as well as for the user's
// edits, because start-up and several handlers rely on a value set from code raising its
// control's handler at once.

#include "window/ControlStates.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/KeyFilters.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace pellory {

namespace {

// The character code a keystroke types, as the filters know it; -1 for a key that types
// no character (arrows, Delete, Home), which is no keystroke for them.
int typedCharacter(const QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Backspace)
        return 8;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    // Tab and Esc move the focus or press Exit; they never reach a field as characters.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape ||
        key == Qt::Key_Delete)
        return -1;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z)
        return key - Qt::Key_A + 1; // Ctrl+A is 1, Ctrl+V is 22
    const QString text = event->text();
    if (text.isEmpty() || (mods & Qt::ControlModifier) || text.at(0).unicode() == 0x7f)
        return -1;
    return text.at(0).unicode();
}

} // namespace

void Main::connectHandlers()
{
    const FilePane& f = *m_files;
    const NamingPanel& n = *m_naming;
    m_files->connectHandlers();
    m_naming->connectHandlers();
    m_buttons->connectHandlers();
    m_states->connectHandlers();
    // Esc anywhere in the window presses Exit, as a dialog's cancel button would.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_buttons->ExitBut, &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &Main::showHelp);

    // The editable box has the focus; its line edit only receives what the box forwards.
    for (QObject* field :
         {static_cast<QObject*>(f.FileSpecs), static_cast<QObject*>(n.FilePrefix),
          static_cast<QObject*>(n.FileLeading), static_cast<QObject*>(n.NewExt),
          static_cast<QObject*>(n.NumCharKeep), static_cast<QObject*>(n.NumberIncValue),
          static_cast<QObject*>(n.StartingNumber)})
        field->installEventFilter(this);
}

bool Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        return filterKeystroke(watched, static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

KeyVerdict Main::verdictFor(QObject* field, int key) const
{
    const bool busy = m_run->busy();
    const NamingPanel& n = *m_naming;
    if (field == m_files->FileSpecs)
        return FileSpecs_KeyPress(key, busy);
    if (field == n.FilePrefix || field == n.FileLeading)
        return textFieldKeyPress(key, busy, n.CasesList->currentIndex());
    if (field == n.NewExt)
        return NewExt_KeyPress(key);
    if (field == n.StartingNumber)
        return StartingNumber_KeyPress(key, busy, n.chkAlpha->isChecked());
    return digitFieldKeyPress(key, busy);
}

// Returns true when the keystroke was consumed here.
bool Main::filterKeystroke(QObject* field, QKeyEvent* event)
{
    const int typed = typedCharacter(event);
    if (typed < 0)
        return false;
    const KeyVerdict verdict = verdictFor(field, typed);
    if (verdict.beep)
        m_feedback->beep();
    if (verdict.focusFileList) {
        m_files->FileList->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (verdict.key == 0)
        return true;
    if (verdict.key == typed)
        return false;
    // A converted character: insert the replacement as the field would the typed one.
    const QString replacement(QChar(char16_t(verdict.key)));
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->insert(replacement);
    else if (auto* box = qobject_cast<QComboBox*>(field))
        box->lineEdit()->insert(replacement);
    return true;
}

} // namespace pellory

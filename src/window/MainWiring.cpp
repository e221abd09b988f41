// Which control event runs which handler, the keystroke rules in front of the input fields,
// and the window's own keys. The panes connect their controls to their handlers; the
// control-state rules follow the panes' changes.

#include "run/KeyFilters.h"
#include "window/ControlStates.h"
#include "window/FilePane.h"
#include "window/KeystrokeFilter.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace pellory {

void Main::connectHandlers()
{
    m_files->connectHandlers();
    m_files->showLiveNames(*m_naming);
    m_naming->connectHandlers();
    m_buttons->connectHandlers();
    m_states->connectHandlers();
    // Esc anywhere in the window presses Exit, as a dialog's cancel button would.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_buttons->ExitBut, &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &Main::showHelp);
    guardKeystrokes();
}

void Main::guardKeystrokes()
{
    // While a run visits the event loop, the rules refuse keys, so that the naming inputs
    // stay as the run read them.
    RunController* run = m_run;
    NamingPanel* n = m_naming;
    const auto text = [run, n](int key) {
        return textFieldKeyPress(key, run->busy(), n->CasesList->currentIndex());
    };
    const auto digits = [run](int key) { return digitFieldKeyPress(key, run->busy()); };
    auto* keys = new KeystrokeFilter(*m_feedback, this);
    keys->guard(
        m_files->FileSpecs, [run](int key) { return FileSpecs_KeyPress(key, run->busy()); },
        m_files->FileList);
    keys->guard(n->FilePrefix, text);
    keys->guard(n->FileLeading, text);
    keys->guard(n->NewExt, NewExt_KeyPress);
    keys->guard(n->NumCharKeep, digits);
    keys->guard(n->NumberIncValue, digits);
    keys->guard(n->StartingNumber, [run, n](int key) {
        return StartingNumber_KeyPress(key, run->busy(), n->chkAlpha->isChecked());
    });
}

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The control-state rules applied to the window: the run buttons are offered only when a
// run would change something, batch renaming and wildcard renaming exclude each other, and
// a wildcard pattern is checked against the file specification. Each rule tells the panes
// what to switch through their own methods, which name the controls. What the buttons' rule
// decides from the settings is rules/ControlRules; in preview mode the preview owns every
// state and the rules wait.

#include <QObject>

namespace pellory {

class Feedback;
class FilePane;
class NamingPanel;
class RunButtons;
class RunController;

class ControlStates : public QObject
{
    Q_OBJECT
public:
    ControlStates(FilePane& files, NamingPanel& naming, RunButtons& buttons, RunController& run,
                  Feedback& feedback, QObject* parent);

    // Has every change that the rules follow run them.
    void connectHandlers();

    void UpdateControls();
    void RenameChk_Click();
    void WildCardRen_Change();
    // The wildcard field, after an edit of the specification: a wildcard rename takes
    // exactly one.
    void followSpecs();

private:
    void checkSpecsForWildcard();

    FilePane& m_files;
    NamingPanel& m_naming;
    RunButtons& m_buttons;
    RunController& m_run;
    Feedback& m_feedback;
};

} // namespace pellory

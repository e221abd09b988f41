// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The three buttons of the bottom row and what pressing them does: Apply renames the
// listed files (or those the wildcard pattern names), Preview shows the new names in place
// of the file list, Exit closes the window or stops a run. The run's own work is the run
// controller's; this reads the panes into it, locks what must not change under it and
// shows what comes back. Which buttons may be pressed is the control-state rules' call.

#include <QObject>

#include <vector>

class QPushButton;

namespace pellory {

class FilePane;
class Main;
class NamingPanel;
class RunController;

class RunButtons : public QObject
{
    Q_OBJECT
public:
    RunButtons(QWidget* window, FilePane& files, NamingPanel& naming, RunController& run);

    // Every control of the window, in its own order: the preview locks them all but its
    // own, and unlocks them all when it is left.
    void setEveryControl(std::vector<QWidget*> controls) { m_everyControl = std::move(controls); }
    void connectHandlers();

    void ApplyBut_Click();
    void PreviewBut_Click();
    void ExitBut_Click();

    // Whether the run buttons may be pressed, as the control-state rules decide.
    void setApplyEnabled(bool enabled);
    void setPreviewEnabled(bool enabled);
    // Presses Exit, as Esc anywhere in the window does.
    void pressExit();

signals:
    // Preview mode was left with every control enabled: the states the settings call for
    // are to be derived anew.
    void previewLeft();
    // A run that renames is over; `note` says what it did.
    void runEnded(const QString& note);

private:
    // The window's layout places the buttons.
    friend class Main;

    // Locks (or unlocks) the controls a run locks, so that the files, their order and their
    // selection stay as they were when it started.
    void lockForRun(bool locked);
    void schemeRun();
    QString walkScheme();
    void finishSchemeRun(const QString& note);
    void wildcardRename();
    QString planAndRunWildcard(); // the note for the status line
    void finishWildcardRename(const QString& note);
    void reselectAfterRebuild();
    void enterPreview();
    void leavePreview();
    void setEveryControlEnabled(bool enabled);

    QPushButton* PreviewBut;
    QPushButton* ApplyBut;
    QPushButton* ExitBut;
    QWidget* m_window;
    FilePane& m_files;
    NamingPanel& m_naming;
    RunController& m_run;
    std::vector<QWidget*> m_everyControl;
};

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Undo from the window: Ctrl+Alt+Z and the file list's menu undo the newest run not undone
// yet, one run a press; the undo history lists every run and undoes back to a chosen one;
// a bar reports a run that died half way at the next start, with a way back. Each undo
// asks first (how many files, which folder, when), locks what a run locks, shows its
// progress, can be stopped with Exit, says what it did and lists what it had to skip.

#include <QObject>

#include <vector>

class QLabel;
class QWidget;

namespace pellory {

class Feedback;
class FilePane;
class RunController;
class StatusLine;
struct RunRecord;

class UndoCommands : public QObject
{
    Q_OBJECT
public:
    UndoCommands(QWidget* window, RunController& run, FilePane& files, Feedback& feedback,
                 StatusLine& status);

    // The bar that reports an interrupted run, hidden while there is none.
    QWidget* bar() const { return m_bar; }

    void undoLastRun();
    void showHistory();
    // Puts back what a run that died left parked under our temporary names, and shows the
    // bar when a run died half way and has not been dismissed or undone.
    void reportInterrupted();

private:
    bool mayUndo() const;
    bool confirm(const std::vector<RunRecord>& runs, bool interrupted);
    void undoRuns(const std::vector<RunRecord>& runs);
    void undoInterrupted();
    void dismissInterrupted();

    QWidget* m_window;
    RunController& m_run;
    FilePane& m_files;
    Feedback& m_feedback;
    StatusLine& m_status;
    QWidget* m_bar;
    QLabel* m_barText;
    QString m_interrupted; // the run the bar speaks of
};

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The undo history as a list, newest run first: when, folder, how many files, the first few
// "old -> new" pairs, and whether it is undone, interrupted, under way or damaged. The user
// picks a run to undo back to (every newer run in its folder is undone first) or opens a
// run's folder. Shows only; the caller asks and undoes.

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace pellory {

class RunHistory;

class UndoHistoryDialog : public QDialog
{
    Q_OBJECT
public:
    UndoHistoryDialog(const RunHistory& history, QWidget* parent);

    // The run the user chose to undo back to, once the dialog is accepted.
    QString chosenRun() const;

private:
    void fill(const RunHistory& history);
    void followSelection();
    void openFolder();

    const RunHistory& m_history;
    QTreeWidget* m_runs;
    QPushButton* m_undo;
    QPushButton* m_open;
};

} // namespace pellory

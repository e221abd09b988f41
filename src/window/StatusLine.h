// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The line at the bottom of the window: how many files are listed and selected, what the
// last run or undo did, and the progress of one that takes longer than half a second, with
// how to stop it. It only shows; the window tells it what.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace pellory {

class StatusLine : public QWidget
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent);

    QString text() const;
    // "40 files, 12 selected", and `why` after it when the list's files need a word;
    // replaces a note, since the list it spoke of has changed.
    void showCounts(int files, int selected, const QString& why = {});
    // What a run did; it stays until the list or its selection changes.
    void showNote(const QString& text);
    // "Renaming 636 of 1500..." with a bar, while a long task goes on; a total of 0 ends it.
    void showProgress(const QString& verb, int done, int total);

private:
    QLabel* m_text;
    QProgressBar* m_bar;
};

} // namespace pellory

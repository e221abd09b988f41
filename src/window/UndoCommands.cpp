// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/UndoCommands.h"

#include "platform/DirectoryScan.h"
#include "platform/Rename.h"
#include "run/RunHistory.h"
#include "run/Undo.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/FolderSelector.h"
#include "window/RunController.h"
#include "window/StatusLine.h"
#include "window/UndoHistoryDialog.h"

#include <QDateTime>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace pellory {

namespace {

// Enough lines to show what went wrong without a box taller than the screen.
constexpr int kSkippedShown = 20;

const QString kTitle = QStringLiteral("Pellory");

QString files(int count)
{
    return count == 1 ? UndoCommands::tr("1 file") : UndoCommands::tr("%1 files").arg(count);
}

QString when(const RunRecord& run)
{
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(run.startedMs), QLocale::ShortFormat);
}

QString skippedMessage(const QStringList& skipped, int restored, int total)
{
    QStringList shown = skipped.mid(0, kSkippedShown);
    if (skipped.size() > kSkippedShown)
        shown.append(UndoCommands::tr("... and %1 more").arg(skipped.size() - kSkippedShown));
    return UndoCommands::tr("%1 of %2 files got their old names back. These were left as they "
                            "are, and nothing was overwritten; once you have seen to them, "
                            "Ctrl+Alt+Z tries them again:")
               .arg(restored)
               .arg(total) +
           QStringLiteral("\r\r") + shown.join(u'\r');
}

} // namespace

UndoCommands::UndoCommands(QWidget* window, RunController& run, FilePane& files, Feedback& feedback,
                           StatusLine& status)
    : QObject(window), m_window(window), m_run(run), m_files(files), m_feedback(feedback),
      m_status(status), m_bar(new QFrame(window)), m_barText(new QLabel(m_bar))
{
    m_bar->setObjectName(QStringLiteral("InterruptedBar"));
    auto* undo = new QPushButton(tr("Undo"), m_bar);
    auto* dismiss = new QPushButton(tr("Dismiss"), m_bar);
    undo->setObjectName(QStringLiteral("InterruptedUndo"));
    dismiss->setObjectName(QStringLiteral("InterruptedDismiss"));
    auto* row = new QHBoxLayout(m_bar);
    row->setContentsMargins(6, 3, 6, 3);
    row->addWidget(m_barText, 1);
    row->addWidget(undo);
    row->addWidget(dismiss);
    m_bar->setAutoFillBackground(true);
    m_bar->setBackgroundRole(QPalette::ToolTipBase);
    m_bar->hide();
    connect(undo, &QPushButton::clicked, this, &UndoCommands::undoInterrupted);
    connect(dismiss, &QPushButton::clicked, this, &UndoCommands::dismissInterrupted);
}

bool UndoCommands::mayUndo() const
{
    if (m_run.previewMode()) { // the preview shows names the undo would make stale
        m_feedback.beep();
        return false;
    }
    return m_run.mayAct(RunController::IfBusy::Beep);
}

namespace {

// What a run's whole record proves, where its summary may have it from an end line that a
// damaged record gets wrong: the files it can put back, and a note when that differs.
int provenFiles(const RunRecord& summary, QString& note)
{
    if (!summary.leftBy.isEmpty()) // partly undone: the rest
        return summary.filesLeft;
    const RunRecord whole = readRun(summary.id);
    if (!whole.damaged)
        return whole.fileCount;
    if (whole.endCount >= 0 && whole.endCount != whole.fileCount)
        note += UndoCommands::tr("The record of this run is damaged: its end says it renamed %1, "
                                 "but it names %2.")
                    .arg(files(whole.endCount), files(whole.fileCount)) +
                u'\r';
    else
        note += UndoCommands::tr("The record of this run is damaged: only the files its intact "
                                 "lines name can go back.") +
                u'\r';
    return whole.fileCount;
}

} // namespace

bool UndoCommands::confirm(const std::vector<RunRecord>& runs, bool interrupted)
{
    const RunRecord& run = runs.back(); // the oldest, where the undo ends
    QString notes;
    int count = 0;
    bool mayFind = false; // a run cut short may have renamed files its plan names
    for (const RunRecord& r : runs) {
        count += provenFiles(r, notes);
        mayFind = mayFind || (r.state != RunRecord::State::Finished && r.planCount > 0);
    }
    const QString folder = QFile::decodeName(run.folder);
    if (count == 0 && !mayFind) {
        m_feedback.message(
            tr("The record of the run in %1 is damaged: none of its renames can be read, so "
               "nothing can be put back. Its file is %2; delete it to take the run out of the "
               "history.")
                .arg(folder, historyFolder() + u'/' + run.id),
            kTitle, Feedback::Style::Plain);
        return false;
    }
    QString text = interrupted ? tr("The last rename run was interrupted.") + u'\r' : QString();
    text += notes;
    if (runs.size() == 1)
        text += (count == 1 ? tr("Undo the rename of %1? %2 in %3 will go back to its old name.")
                            : tr("Undo the rename of %1? %2 in %3 will go back to their old "
                                 "names."))
                    .arg(when(run), files(count), folder);
    else
        text += tr("Undo %1 runs in %2, back to the one of %3? %4 will be renamed back, newest "
                   "run first.")
                    .arg(runs.size())
                    .arg(folder, when(run), files(count));
    return m_feedback.question(text, tr("Pellory - Undo"));
}

void UndoCommands::undoLastRun()
{
    if (!mayUndo())
        return;
    const RunHistory history = RunHistory::read(historyFolder(), RunHistory::Reach::NewestToUndo);
    const RunRecord* newest = history.newestToUndo();
    if (!newest) {
        m_feedback.message(tr("There is no rename to undo."), kTitle, Feedback::Style::Plain);
        return;
    }
    const std::vector<RunRecord> runs{*newest};
    if (confirm(runs, newest->state == RunRecord::State::Interrupted))
        undoRuns(runs);
}

void UndoCommands::showHistory()
{
    if (!mayUndo())
        return;
    const RunHistory history = RunHistory::read();
    UndoHistoryDialog dialog(history, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<RunRecord> runs;
    for (const RunRecord* run : history.undoBackTo(dialog.chosenRun()))
        runs.push_back(*run);
    if (!runs.empty() && confirm(runs, false))
        undoRuns(runs);
}

void UndoCommands::undoRuns(const std::vector<RunRecord>& runs)
{
    // Nothing is locked: an undo works from its records, not from the list, which it
    // rebuilds at the end; another run or undo waits, as the window is busy.
    if (!m_run.begin())
        return;
    int restored = 0, total = 0;
    QStringList skipped;
    QString refusal;
    bool stopped = false;
    for (const RunRecord& summary : runs) {
        const RunController::UndoResult done = m_run.undo(summary);
        restored += done.outcome.restored;
        total += done.total;
        skipped += done.outcome.skipped;
        refusal = done.refusal;
        stopped = done.stopped;
        if (stopped || !refusal.isEmpty())
            break;
    }
    m_files.DirList_Change(); // the list shows what is on disk now
    m_run.finish();
    m_files.SelSteps_Change();
    if (refusal.isEmpty()) // a refused undo leaves the interrupted run as it was
        m_bar->hide();
    m_status.showNote(stopped ? tr("Undo stopped after %1 of %2 files.").arg(restored).arg(total)
                              : tr("Undo put back %1.").arg(files(restored)));
    if (!refusal.isEmpty())
        m_feedback.message(refusal, kTitle, Feedback::Style::Plain);
    else if (!skipped.isEmpty())
        m_feedback.message(skippedMessage(skipped, restored, total), kTitle,
                           Feedback::Style::Plain);
}

void UndoCommands::reportInterrupted()
{
    const RunHistory history = RunHistory::read();
    const RunRecord* cut = history.interrupted();
    if (!cut)
        return;
    // The folder is looked at with the time limit of the window's first look at a folder:
    // a stick whose FUSE server hangs must not keep the window from answering.
    const bool answers =
        lookAtFolder(cut->folder, FolderSelector::kAnswerMs, lookAtPathNow).answered;
    if (answers)
        putBackParked(readRun(cut->id), currentRenamer());
    m_interrupted = cut->id;
    QString text =
        (cut->kind == RunKind::Undo ? tr("The last undo in %1 stopped after %2 of %3 files")
                                    : tr("The last rename in %1 stopped after %2 of %3 files"))
            .arg(QFile::decodeName(cut->folder))
            .arg(cut->fileCount)
            .arg(cut->plannedFiles);
    if (!answers)
        text += QStringLiteral(". ") + tr("The drive of the last run does not answer.");
    m_barText->setText(text);
    m_bar->show();
}

void UndoCommands::undoInterrupted()
{
    if (!mayUndo())
        return;
    const RunRecord cut = readRun(m_interrupted);
    // An undo that died is finished by undoing its run again: what is back counts as back.
    const RunRecord target = cut.kind == RunKind::Undo ? readRun(cut.undoes) : cut;
    if (confirm({target}, cut.kind != RunKind::Undo))
        undoRuns({target});
}

void UndoCommands::dismissInterrupted()
{
    dismissRun(m_interrupted);
    m_bar->hide();
}

} // namespace pellory

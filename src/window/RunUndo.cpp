// Undo of the last rename run. Every rename of a run is in the journal before it is done,
// so the last run can be undone after the program ends, or dies, in the middle of it. The
// undo asks first, renames back with the never-replacing rename, lists in one message what
// it had to skip, forgets the run and rebuilds the list.

#include "run/UndoJournal.h"
#include "window/Feedback.h"
#include "window/RunController.h"

namespace pellory {

namespace {

// Enough lines to show what went wrong without a box taller than the screen.
constexpr int kSkippedShown = 20;

const QString kTitle = QStringLiteral("Pellory");

QString skippedMessage(const UndoOutcome& outcome, int fileCount)
{
    QStringList shown = outcome.skipped.mid(0, kSkippedShown);
    if (outcome.skipped.size() > kSkippedShown)
        shown.append(QStringLiteral("... and %1 more").arg(outcome.skipped.size() - kSkippedShown));
    return QStringLiteral("%1 of %2 files got their old names back. These were skipped, and "
                          "nothing was overwritten:\r\r")
               .arg(outcome.restored)
               .arg(fileCount) +
           shown.join(u'\r');
}

QString folderOf(const std::vector<JournalEntry>& steps)
{
    const QString first = steps.front().folder;
    for (const JournalEntry& step : steps)
        if (step.folder != first)
            return QStringLiteral("several folders");
    return first;
}

} // namespace

bool RunController::confirmUndo(int fileCount, const QString& where, bool interrupted)
{
    const QString text =
        (interrupted ? QStringLiteral("The last rename run was interrupted.\r") : QString()) +
        QStringLiteral("Undo it? %1 %2 in %3 will go back to %4 old %5.")
            .arg(fileCount)
            .arg(fileCount == 1 ? QStringLiteral("file") : QStringLiteral("files"), where,
                 fileCount == 1 ? QStringLiteral("its") : QStringLiteral("their"),
                 fileCount == 1 ? QStringLiteral("name") : QStringLiteral("names"));
    return m_feedback.question(text, QStringLiteral("Pellory - Undo"));
}

void RunController::undoLastRun(const std::function<void()>& rebuildList)
{
    if (PreviewMode) { // the preview shows names the undo would make stale
        m_feedback.beep();
        return;
    }
    if (!mayAct(IfBusy::Beep))
        return;
    const std::optional<JournalRun> run = readLastRun(journalFolder());
    const std::vector<JournalEntry> steps = run ? undoSteps(*run) : std::vector<JournalEntry>{};
    if (steps.empty()) {
        m_feedback.message(QStringLiteral("There is no rename to undo."), kTitle,
                           Feedback::Style::Plain);
        return;
    }
    if (!confirmUndo(int(steps.size()), folderOf(steps), !run->finished))
        return;
    m_runState = RunState::Busy; // the undo does not yield, but the pointer's guard might
    UndoOutcome outcome;
    {
        const BusyPointer busy;
        outcome = undoRun(steps, currentRenamer());
        forgetLastRun(journalFolder());
        rebuildList();
    }
    m_runState = RunState::Idle;
    if (!outcome.skipped.isEmpty())
        m_feedback.message(skippedMessage(outcome, int(steps.size())), kTitle,
                           Feedback::Style::Plain);
}

} // namespace pellory

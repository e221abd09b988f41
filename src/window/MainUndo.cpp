// Undo of the last rename run. Every rename of a run is written to the journal before it is
// done, so the last run can be undone after the program ends, or dies, in the middle of it.
// The undo asks first, renames back with the never-replacing rename, lists in one message
// what it had to skip, forgets the run and rebuilds the list.

#include "platform/Rename.h"
#include "run/UndoJournal.h"
#include "window/Feedback.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>

#include <cerrno>

namespace pellory {

namespace {

// Enough lines to show what went wrong without a box taller than the screen.
constexpr int kSkippedShown = 20;

const QString kTitle = QStringLiteral("Pellory");

// A write() per file survives a crash or a kill. A flush to the disk per file would survive
// a power cut too, but made a run of 32767 files last minutes instead of seconds; a flush
// once a second costs next to nothing and leaves a power cut about a second of records.
constexpr JournalSync kJournalSync = JournalSync::EverySecond;

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

std::shared_ptr<RunJournal> Main::createJournal() const
{
    return std::make_shared<RunJournal>(journalFolder(), kJournalSync);
}

QShortcut* Main::createUndoShortcut()
{
    auto* shortcut = new QShortcut(QKeySequence(kUndoLastRunKey), this);
    connect(shortcut, &QShortcut::activated, this, &Main::undoLastRun);
    return shortcut;
}

void Main::contextMenuEvent(QContextMenuEvent* event)
{
    QWidget* target = childAt(event->pos());
    if (!FileList || !target || !(target == FileList || FileList->isAncestorOf(target))) {
        event->ignore();
        return;
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* undo = menu->addAction(QStringLiteral("&Undo Last Rename"), this, &Main::undoLastRun);
    undo->setShortcut(QKeySequence(kUndoLastRunKey));
    undo->setEnabled(m_runState == RunState::Idle && !PreviewMode);
    menu->popup(event->globalPos());
    event->accept();
}

RenameOutcome Main::journaledRename(const QString& folder, const QByteArray& oldRawName,
                                    const QString& newName)
{
    // The journal and the rename take the same bytes, so that the undo finds the file.
    const QByteArray newRaw = newRawName(oldRawName, newName);
    if (!m_journal->record(folder, oldRawName, newRaw))
        return {false, EIO,
                QStringLiteral("The undo journal could not be written: ") + m_journal->error()};
    RenameOutcome outcome = currentRenamer().renameRaw(folder, oldRawName, newRaw);
    if (!outcome.ok)
        m_journal->renameFailed();
    return outcome;
}

bool Main::confirmUndo(int fileCount, const QString& where, bool interrupted)
{
    const QString text =
        (interrupted ? QStringLiteral("The last rename run was interrupted.\r") : QString()) +
        QStringLiteral("Undo it? %1 %2 in %3 will go back to %4 old %5.")
            .arg(fileCount)
            .arg(fileCount == 1 ? QStringLiteral("file") : QStringLiteral("files"), where,
                 fileCount == 1 ? QStringLiteral("its") : QStringLiteral("their"),
                 fileCount == 1 ? QStringLiteral("name") : QStringLiteral("names"));
    return m_feedback->question(text, QStringLiteral("Pellory - Undo"));
}

void Main::undoLastRun()
{
    if (m_runState != RunState::Idle || PreviewMode) {
        m_feedback->beep();
        return;
    }
    const std::optional<JournalRun> run = readLastRun(journalFolder());
    const std::vector<JournalEntry> steps = run ? undoSteps(*run) : std::vector<JournalEntry>{};
    if (steps.empty()) {
        m_feedback->message(QStringLiteral("There is no rename to undo."), kTitle,
                            Feedback::kPlain);
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
        DirList_Change();
    }
    m_runState = RunState::Idle;
    if (!outcome.skipped.isEmpty())
        m_feedback->message(skippedMessage(outcome, int(steps.size())), kTitle, Feedback::kPlain);
}

} // namespace pellory

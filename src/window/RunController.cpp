#include "window/RunController.h"

#include "run/SchemeWalk.h"
#include "run/UndoJournal.h"
#include "run/WildcardRename.h"
#include "window/Feedback.h"
#include "window/RunYield.h"

#include <QCoreApplication>

#include <cerrno>

namespace pellory {

namespace {

// The journal reaches the kernel with every record, so it survives a crash or a kill. A
// flush to the disk per file would survive a power cut too, but made a run of 32767 files
// last minutes instead of seconds; a flush once a second costs next to nothing and leaves a
// power cut about a second of records.
constexpr JournalSync kJournalSync = JournalSync::EverySecond;

const QString kErrorTitle = QStringLiteral("Pellory - Error");
const QString kWildcardTitle = QStringLiteral("Pellory - Wildcard Error");

} // namespace

RunController::RunController(Feedback& feedback, QObject* parent)
    : QObject(parent), m_feedback(feedback),
      m_journal(std::make_unique<RunJournal>(journalFolder(), kJournalSync))
{}

RunController::~RunController() = default;

bool RunController::mayAct(IfBusy answer) const
{
    if (m_runState == RunState::Idle)
        return true;
    if (answer == IfBusy::Beep)
        m_feedback.beep();
    return false;
}

void RunController::showBusyPointer()
{
    m_runPointer = std::make_unique<BusyPointer>();
}

void RunController::releaseBusyPointer()
{
    m_runPointer.reset();
}

bool RunController::begin()
{
    if (!mayAct(IfBusy::Beep)) // clicked while a run visits the event loop
        return false;
    showBusyPointer();
    m_runState = RunState::Busy;
    m_journal->begin();
    return true;
}

void RunController::finish()
{
    releaseBusyPointer();
    m_runState = RunState::Idle;
    m_journal->finish();
}

bool RunController::walkMayStart(const SchemeWalk& walk)
{
    QString refusal;
    if (!walk.counterFits())
        refusal = counterOverflowMessage();
    else if (PreviewMode && walk.wouldProduceDuplicates(RunYield()))
        refusal = QStringLiteral("These settings will produce duplicate file names!!!");
    if (refusal.isEmpty())
        return true;
    releaseBusyPointer();
    m_feedback.message(refusal, kErrorTitle, Feedback::Style::Warning);
    return false;
}

void RunController::renameWalk(SchemeWalk& walk, const QString& folder)
{
    RunYield yield;
    while (!walk.atEnd()) {
        const SchemeWalk::Step step = walk.next();
        if (step.takesPart) {
            const RenameOutcome outcome = rename(folder, step.record->RawName, step.name);
            if (!outcome.ok) {
                m_feedback.message(QStringLiteral("An error occurred renaming the file : ") +
                                       step.name + QStringLiteral("\r\r") + outcome.description,
                                   QStringLiteral("Pellory"), Feedback::Style::Plain);
                return; // files renamed before stay renamed; no later file is tried
            }
        }
        yield();
        if (m_runState == RunState::CancelRequested)
            return;
    }
}

void RunController::fillPreview(SchemeWalk& walk, qint32 firstRow, const PreviewRows& append)
{
    QStringList names;
    std::vector<qint32> selected;
    qint32 row = firstRow;
    const auto flush = [&] {
        append(names, std::move(selected));
        names.clear();
        selected.clear();
    };
    RunYield yield;
    while (!walk.atEnd()) {
        const SchemeWalk::Step step = walk.next();
        names.append(step.name);
        if (step.selected)
            selected.push_back(row);
        ++row;
        if (yield.due()) {
            flush();
            QCoreApplication::processEvents();
        }
        if (m_runState == RunState::CancelRequested)
            break;
    }
    flush();
}

WildcardPlan RunController::planWildcardRename(const QString& folder, const QString& spec,
                                               const QString& mask)
{
    WildcardPlan plan = pellory::planWildcardRename(folder, spec, mask, RunYield());
    if (!plan.refusal.isEmpty())
        m_feedback.message(plan.refusal, kWildcardTitle, Feedback::Style::Plain);
    return plan;
}

void RunController::runWildcardRename(const WildcardPlan& plan, WildcardHooks hooks)
{
    hooks.renamer = this;
    const WildcardOutcome outcome = pellory::runWildcardRename(plan, hooks);
    if (!outcome.message.isEmpty())
        m_feedback.message(outcome.message, kWildcardTitle, Feedback::Style::Plain);
}

RenameOutcome RunController::rename(const QString& folder, const QByteArray& oldRawName,
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

} // namespace pellory

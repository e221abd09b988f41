// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/RunController.h"

#include "platform/DirectoryScan.h"
#include "run/RunHistory.h"
#include "run/RunYield.h"
#include "run/SchemeWalk.h"
#include "run/WildcardRename.h"
#include "window/Feedback.h"
#include "window/FolderSelector.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <memory>
#include <optional>

namespace pellory {

namespace {

// The history reaches the kernel with every record, so it survives a crash or a kill. A
// flush to the disk per file would survive a power cut too, but made a run of 32767 files
// last minutes instead of seconds. The run's plan is flushed once before its first rename,
// so a power cut leaves every name the run may have given; the records are flushed once a
// second, which costs next to nothing.
constexpr JournalSync kJournalSync = JournalSync::EverySecond;

// Enough clashes to show what to change, few enough to read.
constexpr int kClashesShown = 5;

// The `between` of the checks and plans that take a while: a visit to the event loop every
// RunYield interval.
std::function<void()> eventLoopVisits()
{
    return [yield = RunYield()]() mutable {
        if (yield.due())
            QCoreApplication::processEvents();
    };
}

} // namespace

RunController::RunController(Feedback& feedback, QObject* parent)
    : QObject(parent), m_feedback(feedback), m_recorder(historyFolder(), kJournalSync)
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
    m_started.start();
    m_progressShownMs = -kProgressEveryMs;
    return true;
}

void RunController::record(RunKind kind, const QByteArray& folder, int plannedFiles,
                           const RenamePlan& plan)
{
    m_recorder.begin(kind, folder, plannedFiles, plan);
    emit renamesStarting();
}

void RunController::finish()
{
    releaseBusyPointer();
    m_runState = RunState::Idle;
    m_recorder.finish();
    if (m_progress)
        m_progress({}, 0, 0);
    emit finished();
}

std::function<bool()> RunController::cancelAsked() const
{
    return [this] { return m_runState == RunState::CancelRequested; };
}

void RunController::reportProgress(const QString& verb, int done, int total)
{
    const qint64 now = m_started.elapsed();
    if (!m_progress || now < kProgressDelayMs || now - m_progressShownMs < kProgressEveryMs)
        return;
    m_progressShownMs = now;
    m_progress(verb, done, total);
}

bool RunController::walkMayStart(const SchemeWalk& walk)
{
    QString refusal, details;
    const bool fits = walk.counterFits();
    // The preview checks the new names before it lists them; a run finds a bad one itself,
    // except where files take companions along: a set half renamed would part a picture
    // from its edits, so the run is checked first.
    const NameProblem problem = fits && (PreviewMode || walk.hasCompanions())
                                    ? walk.firstNameProblem(eventLoopVisits())
                                    : NameProblem{};
    if (!fits) {
        refusal = counterOverflowMessage();
    } else if (problem.kind == NameProblem::Kind::Duplicate) {
        refusal = tr("These settings will produce duplicate file names!!!");
        details = walk.duplicateClashes(kClashesShown).join(u'\n');
    } else if (problem.kind == NameProblem::Kind::Unusable) {
        refusal = tr("The new name of \"%1\", \"%2\", cannot be used: %3.")
                      .arg(problem.oldName, problem.newName, problem.reason);
    }
    if (refusal.isEmpty())
        return true;
    releaseBusyPointer();
    m_feedback.message(refusal, tr("Pellory - Error"), Feedback::Style::Warning, details);
    return false;
}

RunController::WalkResult RunController::renameWalk(SchemeWalk& walk, const QByteArray& folder)
{
    WalkResult result;
    result.takingPart = int(walk.renameSetSize());
    record(RunKind::Scheme, folder, result.takingPart,
           planOf(walk, {[](int) { QCoreApplication::processEvents(); }, {}}));
    const std::optional<RenameFailure> failure =
        walkRenames(walk, folder, currentRenamer(), &m_recorder,
                    {[this, &result](int done) {
                         reportProgress(tr("Renaming"), done, result.takingPart);
                         QCoreApplication::processEvents();
                     },
                     cancelAsked()},
                    result);
    // The run's record is closed with its last rename, before the message and the list's
    // rebuild that follow: a program killed during either leaves a finished run behind.
    m_recorder.finish();
    emit renamesEnded();
    if (failure) {
        m_feedback.message(
            tr("An error occurred renaming the file : ") + failure->newName +
                QStringLiteral("\r\r") + failure->description,
            QStringLiteral("Pellory"), Feedback::Style::Plain,
            tr("The file's name is %1.\n%2 of %3 files were renamed before this one. "
               "Ctrl+Alt+Z puts them back.")
                .arg(failure->oldName)
                .arg(result.renamed)
                .arg(result.takingPart));
    }
    return result;
}

void RunController::fillPreview(SchemeWalk& walk, qint32 firstRow, const PreviewRows& append)
{
    pellory::fillPreview(walk, firstRow, append,
                         {[](int) { QCoreApplication::processEvents(); }, cancelAsked()});
}

WildcardPlan RunController::planWildcardRename(const QByteArray& folder, const QString& spec,
                                               const QString& mask)
{
    WildcardPlan plan = pellory::planWildcardRename(folder, spec, mask, eventLoopVisits());
    if (!plan.refusal.isEmpty())
        m_feedback.message(plan.refusal, tr("Pellory - Wildcard Error"), Feedback::Style::Plain);
    return plan;
}

int RunController::runWildcardRename(const WildcardPlan& plan, WildcardHooks hooks)
{
    {
        // The record shares the plan's names, and is let go before the first rename.
        RenamePlan ahead;
        ahead.reserve(plan.steps.size());
        for (const WildcardStep& step : plan.steps)
            ahead.push_back({plan.fromRaw(step), plan.toRaw(step), step.inode});
        record(RunKind::Wildcard, plan.folder, plan.fileCount, ahead);
    }
    hooks.observer = [this](const WildcardStep&) -> RenameObserver* { return &m_recorder; };
    const WildcardOutcome outcome = pellory::runWildcardRename(plan, hooks);
    m_recorder.finish(); // before the message, as at the end of a scheme's walk
    emit renamesEnded();
    if (!outcome.message.isEmpty())
        m_feedback.message(outcome.message, tr("Pellory - Wildcard Error"), Feedback::Style::Plain);
    return outcome.filesDone;
}

RunController::UndoResult RunController::undo(const RunRecord& run)
{
    UndoResult result;
    // A stick or a network drive that stopped answering keeps every look into it waiting:
    // the first look has the time limit the window's looks at a folder have.
    if (!lookAtFolder(run.folder, FolderSelector::kAnswerMs, lookAtPathNow).answered) {
        result.refusal = tr("The drive of this run, %1, does not answer. Nothing was put "
                            "back: try again once the drive answers (a USB stick may need to "
                            "be plugged in again).")
                             .arg(QFile::decodeName(run.folder));
        return result;
    }
    UndoPlan plan = run.leftBy.isEmpty() ? planUndo(readRun(run.id))
                                         : planRetry(readRun(run.id), readRun(run.leftBy));
    result.refusal = plan.refusal;
    if (!result.refusal.isEmpty())
        return result;
    result.total = plan.files();
    if (!m_recorder.beginUndo(plan.runId, plan.folder, result.total, false, plan.asPlan())) {
        result.refusal = m_recorder.error();
        return result;
    }
    emit renamesStarting();
    Undoer undoer(std::move(plan), m_recorder, currentRenamer());
    result.stopped = undoSteps(undoer, {[this, &undoer](int done) {
                                            reportProgress(tr("Undoing"), done, undoer.total());
                                            QCoreApplication::processEvents();
                                        },
                                        cancelAsked()});
    m_recorder.finish();
    emit renamesEnded();
    result.outcome = undoer.outcome();
    result.total = undoer.total();
    return result;
}

} // namespace pellory

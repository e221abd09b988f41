// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/Undo.h"

#include "platform/FolderProbe.h"
#include "platform/Rename.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <cerrno>

namespace pellory {

namespace {

QString why(const RenameOutcome& outcome)
{
    if (outcome.error == ENOENT)
        return QCoreApplication::translate("Undo", "the file is gone");
    if (outcome.error == EEXIST)
        return QCoreApplication::translate("Undo", "the old name is taken");
    return outcome.description;
}

QString refusalOf(const RunRecord& run)
{
    const QString folder = QFile::decodeName(run.folder);
    if (run.newer)
        return QCoreApplication::translate("Undo",
                                           "This run was recorded by a newer version of Pellory.");
    if (run.state == RunRecord::State::Running)
        return QCoreApplication::translate(
            "Undo", "This run is still under way in another Pellory window.");
    const FolderProbe probe(run.folder);
    if (!probe.isOpen())
        return QCoreApplication::translate("Undo", "The folder of this run, %1, is gone.")
            .arg(folder);
    // A run records where it renamed; a folder moved since no longer sits at that path.
    if (run.folderInode != 0 &&
        (probe.device() != run.folderDevice || probe.inode() != run.folderInode))
        return QCoreApplication::translate("Undo",
                                           "The files of this run were in %1, but that folder "
                                           "has been moved or replaced since. Nothing was "
                                           "put back.")
            .arg(folder);
    return {};
}

} // namespace

UndoPlan planUndo(const RunRecord& run, bool parkedOnly)
{
    return planUndo(RunRecord(run), parkedOnly);
}

namespace {

// The planned renames of a run that did not end, newest first, from the first one after the
// last that a record covers: a record is written before its rename, so the renames after
// the last record were never made, or made with their records lost to a power cut.
void addUnrecorded(const RunRecord& run, std::vector<UndoStep>& steps)
{
    if (run.state == RunRecord::State::Finished || run.plan.empty())
        return;
    // A record covers a planned rename by its two names, or by its old name where the
    // file went through one of our temporary names.
    QSet<QByteArray> recorded;
    for (const RenameRecord& r : run.renames)
        recorded.insert(isTemporaryName(r.newRaw) ? r.oldRaw + '/' : r.oldRaw + '/' + r.newRaw);
    size_t first = 0;
    for (size_t i = 0; i < run.plan.size(); ++i) {
        const RenameRecord& p = run.plan[i];
        if (recorded.contains(p.oldRaw + '/') || recorded.contains(p.oldRaw + '/' + p.newRaw))
            first = i + 1;
    }
    for (size_t i = run.plan.size(); i-- > first;)
        steps.push_back({run.plan[i].newRaw, run.plan[i].oldRaw, run.plan[i].inode, true});
}

// The plan's run, folder and refusal, its steps still to come.
UndoPlan planHead(const RunRecord& run)
{
    UndoPlan plan;
    plan.runId = run.id;
    plan.folder = run.folder;
    plan.refusal = refusalOf(run);
    return plan;
}

} // namespace

UndoPlan planUndo(RunRecord&& run, bool parkedOnly)
{
    UndoPlan plan = planHead(run);
    if (!plan.refusal.isEmpty())
        return plan;
    if (!parkedOnly)
        addUnrecorded(run, plan.steps);
    // A parked file that a later rename moved on is no longer under that name, and its
    // step then finds nothing to do.
    plan.steps.reserve(plan.steps.size() + (parkedOnly ? 0 : run.renames.size()));
    for (auto r = run.renames.rbegin(); r != run.renames.rend(); ++r)
        if (!parkedOnly || isTemporaryName(r->newRaw))
            plan.steps.push_back({std::move(r->newRaw), std::move(r->oldRaw), r->inode});
    // The names live on in the steps; the records go before the folder is read.
    std::vector<RenameRecord>().swap(run.renames);
    RenamePlan().swap(run.plan);
    return plan;
}

UndoPlan planRetry(RunRecord&& run, RunRecord&& undo)
{
    UndoPlan plan = planHead(run);
    if (!plan.refusal.isEmpty())
        return plan;
    plan.steps.reserve(undo.leftSteps.size());
    for (RenameRecord& step : undo.leftSteps)
        plan.steps.push_back({std::move(step.oldRaw), std::move(step.newRaw), step.inode});
    return plan;
}

int UndoPlan::files() const
{
    return int(std::count_if(steps.begin(), steps.end(), [](const UndoStep& s) {
        return !s.planned && !isTemporaryName(s.toRaw);
    }));
}

RenamePlan UndoPlan::asPlan() const
{
    RenamePlan out;
    out.reserve(steps.size());
    for (const UndoStep& step : steps)
        out.push_back({step.fromRaw, step.toRaw, step.inode});
    return out;
}

Undoer::Undoer(UndoPlan plan, RunRecorder& recorder, FileRenamer& renamer)
    : m_plan(std::move(plan)), m_recorder(recorder), m_renamer(renamer), m_probe(m_plan.folder),
      m_files(m_plan.files())
{}

void Undoer::back(const UndoStep& step)
{
    if (isTemporaryName(step.toRaw))
        return;
    ++m_outcome.restored;
    if (step.planned) { // found renamed: a file of the run after all
        ++m_files;
        ++m_filesDone;
    }
}

void Undoer::skip(const UndoStep& step, const QString& reason)
{
    if (step.planned)
        return; // the run may never have got to it: nothing to report
    m_recorder.leave(step.fromRaw, step.toRaw, step.inode);
    m_outcome.skipped.append(QFile::decodeName(step.fromRaw) + QStringLiteral(" -> ") +
                             QFile::decodeName(step.toRaw) + QStringLiteral(": ") + reason);
}

bool Undoer::alreadyBack(const UndoStep& step)
{
    // A planned rename never made leaves its file under the old name: not a file put back.
    if (step.planned)
        return false;
    const quint64 expected = m_probe.inodesAreStable() ? step.inode : 0;
    const std::optional<quint64> at = m_probe.inodeOf(step.toRaw);
    return at && (expected == 0 || *at == expected) && m_probe.listsExactly(step.toRaw);
}

void Undoer::next()
{
    const UndoStep& step = m_plan.steps[m_next++];
    m_filesDone += !step.planned && !isTemporaryName(step.toRaw);
    take(step);
}

void Undoer::leaveRest()
{
    for (; !atEnd(); ++m_next) {
        const UndoStep& step = m_plan.steps[m_next];
        if (!step.planned)
            m_recorder.leave(step.fromRaw, step.toRaw, step.inode);
    }
}

void Undoer::take(const UndoStep& step)
{
    const std::optional<quint64> now = m_probe.inodeOf(step.fromRaw);
    // Where case is folded, a lookup finds the file under either spelling.
    if (!now || (m_probe.foldsCase() && !m_probe.listsExactly(step.fromRaw))) {
        if (alreadyBack(step)) {
            back(step);
            return;
        }
        // A file on its way back through one of our temporary names may already have
        // gone on: the step to its old name tells whether it is back.
        if (!now) {
            if (!isTemporaryName(step.toRaw))
                skip(step, QCoreApplication::translate("Undo", "the file is gone"));
            return;
        }
    }
    const quint64 expected = m_probe.inodesAreStable() ? step.inode : 0;
    // Only the file the plan names is taken for one the run renamed without a record.
    if ((expected != 0 && *now != expected) || (step.planned && expected == 0)) {
        if (alreadyBack(step))
            back(step);
        else
            skip(step, QCoreApplication::translate("Undo", "another file has this name now"));
        return;
    }
    const RenameOutcome renamed =
        m_renamer.renameRaw(m_plan.folder, step.fromRaw, step.toRaw, &m_recorder);
    if (renamed.ok) {
        back(step);
        m_probe.renamed(step.fromRaw, step.toRaw);
    } else if (renamed.error == ECANCELED) {
        // Without its record an undo could not itself be undone or finished: it stops here.
        for (--m_next; !atEnd(); ++m_next)
            skip(m_plan.steps[m_next], renamed.description);
    } else {
        skip(step, why(renamed));
    }
}

int putBackParked(const RunRecord& run, FileRenamer& renamer)
{
    // Only the last rename can have been under way when the writer died.
    if (!run.renames.empty())
        dropLeftReservation(run.folder, run.renames.back().oldRaw, run.renames.back().newRaw,
                            run.startedMs);
    const UndoPlan plan = planUndo(run, true);
    RunRecorder recorder;
    if (!plan.refusal.isEmpty() || plan.steps.empty() ||
        !recorder.beginUndo(run.id, run.folder, plan.files(), true, plan.asPlan()))
        return 0;
    Undoer undoer(plan, recorder, renamer);
    while (!undoer.atEnd())
        undoer.next();
    recorder.finish();
    return undoer.outcome().restored;
}

} // namespace pellory

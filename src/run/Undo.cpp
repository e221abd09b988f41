// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/Undo.h"

#include "platform/FolderProbe.h"
#include "platform/Rename.h"

#include <QCoreApplication>
#include <QFile>

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

UndoPlan planUndo(RunRecord&& run, bool parkedOnly)
{
    UndoPlan plan;
    plan.runId = run.id;
    plan.folder = run.folder;
    plan.refusal = refusalOf(run);
    if (!plan.refusal.isEmpty())
        return plan;
    // A parked file that a later rename moved on is no longer under that name, and its
    // step then finds nothing to do.
    plan.steps.reserve(parkedOnly ? 0 : run.renames.size());
    for (auto r = run.renames.rbegin(); r != run.renames.rend(); ++r)
        if (!parkedOnly || isTemporaryName(r->newRaw))
            plan.steps.push_back({std::move(r->newRaw), std::move(r->oldRaw), r->inode});
    // The names live on in the steps; the records go before the folder is read.
    std::vector<RenameRecord>().swap(run.renames);
    return plan;
}

int UndoPlan::files() const
{
    return int(std::count_if(steps.begin(), steps.end(),
                             [](const UndoStep& s) { return !isTemporaryName(s.toRaw); }));
}

Undoer::Undoer(UndoPlan plan, RunRecorder& recorder, FileRenamer& renamer,
               const std::function<void()>& between, std::unique_ptr<FolderProbe> probe)
    : m_plan(std::move(plan)), m_recorder(recorder), m_renamer(renamer),
      m_probe(probe ? std::move(probe) : std::make_unique<FolderProbe>(m_plan.folder)),
      m_files(m_plan.files())
{
    // One listing of the folder costs less than the rebuild that follows every undo.
    m_probe->listInodes(between);
    if (!m_probe->usesListing())
        return;
    // Every step's names are found in the listing now, in one pass: found a rename at a
    // time, each lookup waited on memory that the rename had pushed out of the cache.
    m_places.reserve(m_plan.steps.size());
    for (const UndoStep& step : m_plan.steps) {
        if (between)
            between();
        m_places.push_back(
            {qint32(m_probe->placeOf(step.fromRaw)), qint32(m_probe->placeOf(step.toRaw))});
    }
}

void Undoer::back(const UndoStep& step)
{
    if (!isTemporaryName(step.toRaw))
        ++m_outcome.restored;
}

Undoer::~Undoer() = default;

void Undoer::skip(const UndoStep& step, const QString& reason)
{
    m_outcome.skipped.append(QFile::decodeName(step.fromRaw) + QStringLiteral(" -> ") +
                             QFile::decodeName(step.toRaw) + QStringLiteral(": ") + reason);
}

bool Undoer::alreadyBack(const UndoStep& step, Places places)
{
    const quint64 expected = m_probe->inodesAreStable() ? step.inode : 0;
    const std::optional<quint64> at = m_probe->inodeOf(step.toRaw, places.to);
    return at && (expected == 0 || *at == expected) && m_probe->listsExactly(step.toRaw);
}

void Undoer::next()
{
    const size_t at = m_next++;
    const UndoStep& step = m_plan.steps[at];
    const Places places = at < m_places.size() ? m_places[at] : Places();
    m_filesDone += !isTemporaryName(step.toRaw);
    // An answer from the listing is as the folder was when the undo began: where it leads
    // anywhere but to a rename that works, the step is tried again with both names looked
    // up on disk.
    if (!take(step, places, !m_probe->usesListing())) {
        m_probe->forget(places.from);
        m_probe->forget(places.to);
        take(step, places, true);
    }
}

bool Undoer::take(const UndoStep& step, Places places, bool final)
{
    const std::optional<quint64> now = m_probe->inodeOf(step.fromRaw, places.from);
    // Where case is folded, a lookup finds the file under either spelling.
    if (!now || (m_probe->foldsCase() && !m_probe->listsExactly(step.fromRaw))) {
        if (!final)
            return false;
        if (alreadyBack(step, places)) {
            back(step);
            return true;
        }
        // A file on its way back through one of our temporary names may already have
        // gone on: the step to its old name tells whether it is back.
        if (!now) {
            if (!isTemporaryName(step.toRaw))
                skip(step, QCoreApplication::translate("Undo", "the file is gone"));
            return true;
        }
    }
    const quint64 expected = m_probe->inodesAreStable() ? step.inode : 0;
    if (expected != 0 && *now != expected) {
        if (!final)
            return false;
        if (alreadyBack(step, places))
            back(step);
        else
            skip(step, QCoreApplication::translate("Undo", "another file has this name now"));
        return true;
    }
    m_recorder.setFile(step.inode);
    const RenameOutcome renamed =
        m_renamer.renameRaw(m_plan.folder, step.fromRaw, step.toRaw, &m_recorder);
    if (renamed.ok) {
        back(step);
        m_probe->renamed(step.fromRaw, places.from, step.toRaw, places.to);
    } else if (renamed.error == ECANCELED) {
        // Without its record an undo could not itself be undone or finished: it stops here.
        for (--m_next; !atEnd(); ++m_next)
            skip(m_plan.steps[m_next], renamed.description);
    } else if (!final && (renamed.error == ENOENT || renamed.error == EEXIST)) {
        return false;
    } else {
        skip(step, why(renamed));
    }
    return true;
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
        !recorder.beginUndo(run.id, run.folder, plan.files(), true))
        return 0;
    Undoer undoer(plan, recorder, renamer);
    while (!undoer.atEnd())
        undoer.next();
    recorder.finish();
    return undoer.outcome().restored;
}

} // namespace pellory

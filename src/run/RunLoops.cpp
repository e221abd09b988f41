// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/RunLoops.h"

#include "run/RunYield.h"

namespace pellory {

namespace {

void yieldIfDue(RunYield& clock, const RunHooks& hooks, int done)
{
    if (clock.due() && hooks.yield)
        hooks.yield(done);
}

bool cancelled(const RunHooks& hooks)
{
    return hooks.cancelled && hooks.cancelled();
}

} // namespace

RenamePlan planOf(const SchemeWalk& walk, const RunHooks& hooks)
{
    SchemeWalk ahead = walk;
    RenamePlan plan;
    std::vector<SchemeWalk::Rename> renames;
    RunYield clock;
    int done = 0;
    while (!ahead.atEnd()) {
        const SchemeWalk::Step step = ahead.next();
        SchemeWalk::renamesOf(step, renames);
        for (SchemeWalk::Rename& rename : renames) {
            if (!invalidNameReason(rename.newName).isEmpty())
                return plan;
            plan.push_back({std::move(rename.oldRaw), std::move(rename.newRaw), rename.inode});
        }
        done += step.takesPart;
        yieldIfDue(clock, hooks, done);
    }
    return plan;
}

std::optional<RenameFailure> walkRenames(SchemeWalk& walk, const QByteArray& folder,
                                         FileRenamer& renamer, RenameObserver* recorder,
                                         const RunHooks& hooks, WalkResult& result)
{
    std::vector<SchemeWalk::Rename> renames;
    RunYield clock;
    int done = 0;
    while (!walk.atEnd()) {
        const SchemeWalk::Step step = walk.next();
        SchemeWalk::renamesOf(step, renames);
        for (const SchemeWalk::Rename& rename : renames) {
            const RenameOutcome outcome =
                renamer.renameRaw(folder, rename.oldRaw, rename.newRaw, recorder);
            if (!outcome.ok) {
                result.failed = true;
                return RenameFailure{rename.oldName, rename.newName, outcome.description};
            }
            result.renamed += !rename.companion;
        }
        done += step.takesPart;
        yieldIfDue(clock, hooks, done);
        if (cancelled(hooks)) {
            result.stopped = !walk.atEnd();
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void fillPreview(SchemeWalk& walk, qint32 firstRow, const PreviewRows& append,
                 const RunHooks& hooks)
{
    QStringList names, olds;
    std::vector<qint32> selected;
    qint32 row = firstRow;
    const auto flush = [&] {
        append(names, olds, selected);
        names.clear();
        olds.clear();
        selected.clear();
    };
    RunYield clock;
    while (!walk.atEnd()) {
        const SchemeWalk::Step step = walk.next();
        names.append(step.name);
        olds.append(step.record->FileName);
        if (step.selected)
            selected.push_back(row);
        ++row;
        for (const SchemeWalk::Companion& companion : step.companions) {
            names.append(companion.name);
            olds.append(companion.file->name);
            ++row;
        }
        if (clock.due()) {
            flush();
            if (hooks.yield)
                hooks.yield(row - firstRow);
        }
        if (cancelled(hooks))
            break;
    }
    flush();
}

bool undoSteps(Undoer& undoer, const RunHooks& hooks)
{
    RunYield clock;
    bool stopped = false;
    while (!undoer.atEnd() && !stopped) {
        undoer.next();
        yieldIfDue(clock, hooks, undoer.done());
        stopped = cancelled(hooks) && !undoer.atEnd();
    }
    undoer.leaveRest();
    return stopped;
}

} // namespace pellory

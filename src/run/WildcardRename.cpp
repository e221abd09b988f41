// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The running half of the wildcard rename: carries a plan out step by step, and names
// each step's names from the plan's files.

#include "run/WildcardRename.h"

#include <QCoreApplication>
#include <QFile>

namespace pellory {

const QByteArray& WildcardPlan::fromRaw(const WildcardStep& step) const
{
    if (step.finishesFile && step.temporary >= 0)
        return temporaries[size_t(step.temporary)];
    return files[size_t(step.file)].oldRaw;
}

const QByteArray& WildcardPlan::toRaw(const WildcardStep& step) const
{
    if (!step.finishesFile)
        return temporaries[size_t(step.temporary)];
    return files[size_t(step.file)].newRaw;
}

QString WildcardPlan::fileName(const WildcardStep& step) const
{
    return QFile::decodeName(files[size_t(step.file)].oldRaw);
}

QString WildcardPlan::newName(const WildcardStep& step) const
{
    return QFile::decodeName(files[size_t(step.file)].newRaw);
}

namespace {

QString failureMessage(const WildcardPlan& plan, const WildcardStep& step,
                       const RenameOutcome& outcome)
{
    return QCoreApplication::translate("WildcardRename",
                                       "An error occurred renaming \"%1\" to \"%2\".\n\n%3")
        .arg(plan.fileName(step), plan.newName(step), outcome.description);
}

// A cycle that fails half way leaves one file under its temporary name; it goes back to
// its own name when that is still free, and is otherwise named in the message.
QString restoreDetour(const WildcardPlan& plan, const WildcardStep& detour, FileRenamer& renamer,
                      const WildcardHooks& hooks)
{
    const QByteArray& tempRaw = plan.temporaries[size_t(detour.temporary)];
    RenameObserver* observer = hooks.observer ? hooks.observer(detour) : nullptr;
    // back to its exact old bytes
    if (renamer.renameRaw(plan.folder, tempRaw, plan.fromRaw(detour), observer).ok)
        return {};
    return QCoreApplication::translate("WildcardRename", "\n\n\"%1\" is kept as \"%2\".")
        .arg(plan.fileName(detour), QFile::decodeName(tempRaw));
}

} // namespace

WildcardOutcome runWildcardRename(const WildcardPlan& plan, const WildcardHooks& hooks)
{
    WildcardOutcome out;
    out.message = plan.refusal;
    if (!plan.refusal.isEmpty())
        return out;
    FileRenamer& renamer = hooks.renamer ? *hooks.renamer : currentRenamer();
    const WildcardStep* detour = nullptr; // a cycle's file under its temporary name
    for (const WildcardStep& step : plan.steps) {
        // A cycle is one unit: stopping inside it would leave a temporary name behind.
        if (!detour && hooks.cancelRequested && hooks.cancelRequested()) {
            out.cancelled = true;
            return out;
        }
        RenameObserver* observer = hooks.observer ? hooks.observer(step) : nullptr;
        const RenameOutcome outcome =
            renamer.renameRaw(plan.folder, plan.fromRaw(step), plan.toRaw(step), observer);
        if (!outcome.ok) {
            out.message = failureMessage(plan, step, outcome);
            if (detour)
                out.message += restoreDetour(plan, *detour, renamer, hooks);
            return out;
        }
        if (!step.finishesFile) {
            detour = &step;
            continue;
        }
        if (detour && step.temporary == detour->temporary)
            detour = nullptr;
        ++out.filesDone;
        if (hooks.progress)
            hooks.progress(out.filesDone, plan.fileCount);
    }
    out.ok = true;
    return out;
}

} // namespace pellory

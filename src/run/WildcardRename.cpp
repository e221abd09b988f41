// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The running half of the wildcard rename: carries a plan out step by step, and names
// each step's names from the plan's tables.

#include "run/WildcardRename.h"

#include <QCoreApplication>
#include <QFile>

#include <string_view>

namespace pellory {

std::string_view WildcardPlan::fromRaw(const WildcardStep& step) const
{
    if (step.finishesFile && step.temporary >= 0)
        return viewOf(temporaries[size_t(step.temporary)]);
    return oldRaws[step.file];
}

std::string_view WildcardPlan::toRaw(const WildcardStep& step) const
{
    if (!step.finishesFile)
        return viewOf(temporaries[size_t(step.temporary)]);
    return newRaws[step.file];
}

QString WildcardPlan::fileName(const WildcardStep& step) const
{
    return textOf(oldNames[step.file]);
}

QString WildcardPlan::newName(const WildcardStep& step) const
{
    const std::string_view raw = newRaws[step.file];
    return QFile::decodeName(QByteArray::fromRawData(raw.data(), qsizetype(raw.size())));
}

namespace {

// A name from the plan's tables as the renamer takes it, ended by a zero byte; the
// buffer is filled anew for every step and keeps its room.
const QByteArray& filled(QByteArray& buffer, std::string_view name)
{
    buffer.resize(0);
    buffer.append(name.data(), qsizetype(name.size()));
    return buffer;
}

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
    QByteArray from;
    if (renamer.renameRaw(plan.folder, tempRaw, filled(from, plan.fromRaw(detour)), observer).ok)
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
    QByteArray from, to;
    for (const WildcardStep& step : plan.steps) {
        // A cycle is one unit: stopping inside it would leave a temporary name behind.
        if (!detour && hooks.cancelRequested && hooks.cancelRequested()) {
            out.cancelled = true;
            return out;
        }
        RenameObserver* observer = hooks.observer ? hooks.observer(step) : nullptr;
        const RenameOutcome outcome = renamer.renameRaw(
            plan.folder, filled(from, plan.fromRaw(step)), filled(to, plan.toRaw(step)), observer);
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

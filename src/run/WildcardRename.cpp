// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/WildcardRename.h"

#include "run/WildcardName.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace pellory {

namespace {

struct Candidate
{
    const DirEntry* entry;
    QString newName;
    QByteArray newRaw;
    QByteArray oldKey; // the names as the folder compares them
    QByteArray newKey;
};

// The tables of the plan are keyed by views of the candidates' keys, which stay in place
// while the plan is made: the standard library's hash of a few bytes costs a fraction of
// Qt's seeded one, and a plan hashes every name several times.
std::string_view keyView(const QByteArray& key)
{
    return {key.constData(), size_t(key.size())};
}

// Where the file system folds case, "IMG.JPG" and "img.jpg" are one name, so they must
// meet as one key when looking for duplicates and for names that are taken.
QByteArray nameKey(const QByteArray& raw, bool folds)
{
    return folds ? QFile::encodeName(QFile::decodeName(raw).toCaseFolded()) : raw;
}

QString conflict(const Candidate& c, const QString& why)
{
    return QCoreApplication::translate("WildcardRename", "Cannot rename \"%1\" to \"%2\".\n\n%3")
        .arg(c.entry->name, c.newName, why);
}

// The first file, in name order, whose new name is not usable; empty when there is none.
// `takenBy[i]` is the file whose old name file i takes, or -1, which the ordering of the
// steps uses as well.
QString findConflict(const FolderLookup& folder, const std::vector<Candidate>& all,
                     const std::vector<qsizetype>& takenBy, const std::function<void()>& between)
{
    std::unordered_map<std::string_view, std::pair<qsizetype, qsizetype>> firstTwoWithNewKey;
    firstTwoWithNewKey.reserve(all.size()); // no pause to grow it mid-way
    for (qsizetype i = 0; i < qsizetype(all.size()); ++i) {
        between();
        const auto [two, inserted] = firstTwoWithNewKey.try_emplace(keyView(all[i].newKey), i, -1);
        if (!inserted && two->second.second < 0)
            two->second.second = i;
    }
    for (qsizetype i = 0; i < qsizetype(all.size()); ++i) {
        between();
        const Candidate& c = all[i];
        const QString invalid = invalidNameReason(c.newName);
        if (!invalid.isEmpty())
            return conflict(c, invalid + u'.');
        const auto [first, second] = firstTwoWithNewKey.at(keyView(c.newKey));
        if (second >= 0)
            return conflict(
                c, QCoreApplication::translate("WildcardRename", "\"%1\" would get the same name.")
                       .arg(all[first == i ? second : first].entry->name));
        if (takenBy[i] < 0 && folder.contains(c.newRaw))
            return conflict(
                c, QCoreApplication::translate("WildcardRename",
                                               "An entry of that name is already in the folder."));
    }
    return {};
}

// For each file, the file whose old name it takes, or -1. The table of old names goes
// before the steps are ordered, so that the two are never held at once.
std::vector<qsizetype> oldNamesTaken(const std::vector<Candidate>& all,
                                     const std::function<void()>& between)
{
    std::unordered_map<std::string_view, qsizetype> byOldKey;
    byOldKey.reserve(all.size());
    for (qsizetype i = 0; i < qsizetype(all.size()); ++i) {
        between();
        byOldKey.insert_or_assign(keyView(all[i].oldKey), i);
    }
    std::vector<qsizetype> takenBy;
    takenBy.reserve(all.size());
    for (qsizetype i = 0; i < qsizetype(all.size()); ++i) {
        between();
        const auto taker = byOldKey.find(keyView(all[i].newKey));
        takenBy.push_back(taker == byOldKey.end() ? -1 : taker->second);
    }
    return takenBy;
}

QByteArray unusedTemporaryName(const FolderLookup& folder, const QSet<QByteArray>& planned)
{
    for (;;) {
        const QByteArray name = temporaryName();
        if (!planned.contains(name) && !folder.contains(name))
            return name;
    }
}

WildcardStep finalStep(const Candidate& c, const QByteArray& fromRaw)
{
    return {fromRaw, c.newName, c.entry->name, c.newName, true, c.entry->inode};
}

// waitsFor[i] is the file whose old name file i takes, or -1. Every name is taken by at
// most one file, so the files form plain chains and closed cycles: a chain runs from its
// far end back, a cycle opens by moving one file out of the way.
std::vector<WildcardStep> orderSteps(const FolderLookup& folder, const std::vector<Candidate>& all,
                                     const std::vector<qsizetype>& waitsFor,
                                     const std::function<void()>& between)
{
    std::vector<WildcardStep> steps;
    steps.reserve(all.size());
    std::vector<bool> placed(all.size(), false);
    QSet<QByteArray> planned; // the new names, once a cycle needs a temporary name
    for (qsizetype start = 0; start < qsizetype(all.size()); ++start) {
        between();
        if (placed[start])
            continue;
        std::vector<qsizetype> path{start};
        qsizetype next = waitsFor[start];
        while (next >= 0 && next != start && !placed[next] && path.size() <= all.size()) {
            path.push_back(next);
            next = waitsFor[next];
        }
        const bool cycle = next == start;
        QByteArray temp;
        if (cycle) {
            if (planned.isEmpty()) {
                for (const Candidate& c : all) {
                    between();
                    planned.insert(c.newRaw);
                }
            }
            temp = unusedTemporaryName(folder, planned);
            planned.insert(temp);
            const Candidate& first = all[start];
            steps.push_back({first.entry->rawName, QFile::decodeName(temp), first.entry->name,
                             first.newName, false, first.entry->inode});
        }
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const bool opened = cycle && *it == start;
            steps.push_back(finalStep(all[*it], opened ? temp : all[*it].entry->rawName));
            placed[*it] = true;
        }
    }
    return steps;
}

} // namespace

WildcardPlan planRenames(const QByteArray& folder, std::vector<NamedFile> files,
                         const std::function<void()>& between)
{
    std::sort(files.begin(), files.end(), [](const NamedFile& a, const NamedFile& b) {
        return std::tie(a.entry.name, a.entry.rawName) < std::tie(b.entry.name, b.entry.rawName);
    });
    const bool folds = folderFoldsCase(folder);
    const FolderLookup lookup(
        folder, folds ? FolderLookup::Answers::OnDisk : FolderLookup::Answers::FromListing,
        between);
    std::vector<Candidate> all;
    all.reserve(files.size());
    for (const NamedFile& f : files) {
        between();
        const QByteArray newRaw = QFile::encodeName(f.newName);
        if (newRaw != f.entry.rawName)
            all.push_back({&f.entry, f.newName, newRaw, nameKey(f.entry.rawName, folds),
                           nameKey(newRaw, folds)});
    }
    std::vector<qsizetype> takenBy = oldNamesTaken(all, between);
    WildcardPlan plan;
    plan.folder = folder;
    plan.refusal = findConflict(lookup, all, takenBy, between);
    if (!plan.refusal.isEmpty())
        return plan;
    std::vector<qsizetype> waitsFor = std::move(takenBy);
    for (qsizetype i = 0; i < qsizetype(waitsFor.size()); ++i)
        if (waitsFor[i] == i) // a file taking its own old name waits for none
            waitsFor[i] = -1;
    plan.steps = orderSteps(lookup, all, waitsFor, between);
    plan.fileCount = int(all.size());
    return plan;
}

WildcardPlan planWildcardRename(const QByteArray& folder, const std::vector<DirEntry>& files,
                                const QString& mask, const std::function<void()>& between)
{
    std::vector<NamedFile> named;
    named.reserve(files.size());
    for (const DirEntry& e : files) {
        between();
        named.push_back({e, wildcardNewName(e.name, mask)});
    }
    return planRenames(folder, std::move(named), between);
}

WildcardPlan planWildcardRename(const QByteArray& folder, const QString& spec, const QString& mask,
                                const std::function<void()>& between)
{
    WildcardPlan refused;
    refused.folder = folder;
    for (const QString& pattern : {spec, mask}) {
        if (specNamesFolder(pattern)) {
            refused.refusal = QCoreApplication::translate(
                                  "WildcardRename", "File specifications and wildcard patterns "
                                                    "name files, not folders: \"%1\" renames "
                                                    "nothing.")
                                  .arg(pattern);
            return refused;
        }
    }
    // Each entry is named as it is read: no list of the entries alone is held beside.
    std::vector<NamedFile> named;
    const auto name = [&](DirEntry&& entry) {
        QString newName = wildcardNewName(entry.name, mask);
        named.push_back({std::move(entry), std::move(newName)});
    };
    // The plan needs each file's name and identity, not its time: on the usual file
    // systems the listing alone gives both.
    if (!forEachMatchingFile(folder, spec, name, between, EntryFacts::WithoutTime)) {
        refused.refusal =
            QCoreApplication::translate("WildcardRename", "The folder \"%1\" cannot be read.")
                .arg(QFile::decodeName(folder));
        return refused;
    }
    return planRenames(folder, std::move(named), between);
}

WildcardPlan planWildcardRename(const QString& folder, const QString& spec, const QString& mask,
                                const std::function<void()>& between)
{
    return planWildcardRename(QFile::encodeName(folder), spec, mask, between);
}

namespace {

QString failureMessage(const WildcardStep& step, const RenameOutcome& outcome)
{
    return QCoreApplication::translate("WildcardRename",
                                       "An error occurred renaming \"%1\" to \"%2\".\n\n%3")
        .arg(step.fileName, step.newName, outcome.description);
}

// A cycle that fails half way leaves one file under its temporary name; it goes back to
// its own name when that is still free, and is otherwise named in the message.
QString restoreDetour(const WildcardStep& detour, const QByteArray& folder, FileRenamer& renamer,
                      const WildcardHooks& hooks)
{
    const QByteArray tempRaw = QFile::encodeName(detour.toName);
    RenameObserver* observer = hooks.observer ? hooks.observer(detour) : nullptr;
    if (renamer.renameRaw(folder, tempRaw, detour.fromRaw, observer).ok) // its exact old bytes
        return {};
    return QCoreApplication::translate("WildcardRename", "\n\n\"%1\" is kept as \"%2\".")
        .arg(detour.fileName, detour.toName);
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
            renamer.rename(plan.folder, step.fromRaw, step.toName, observer);
        if (!outcome.ok) {
            out.message = failureMessage(step, outcome);
            if (detour)
                out.message += restoreDetour(*detour, plan.folder, renamer, hooks);
            return out;
        }
        if (!step.finishesFile) {
            detour = &step;
            continue;
        }
        if (detour && step.fromRaw == QFile::encodeName(detour->toName))
            detour = nullptr;
        ++out.filesDone;
        if (hooks.progress)
            hooks.progress(out.filesDone, plan.fileCount);
    }
    out.ok = true;
    return out;
}

} // namespace pellory

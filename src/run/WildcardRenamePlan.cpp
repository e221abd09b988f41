// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The planning half of the wildcard rename: lists and names the files, refuses a batch
// with a conflict, and orders the steps through chains and cycles.

#include "run/WildcardRename.h"

#include "run/WildcardName.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace pellory {

namespace {

using Between = std::function<void()>;

// The files of a batch while it is planned, and whether their folder folds letter case.
struct Batch
{
    bool folds = false;
    std::vector<PlannedFile> files;

    // Files whose new name is their old name are left out, as in a scheme's run: a name
    // that reads as the new one keeps its bytes.
    void add(const DirEntry& entry, const QString& newName)
    {
        QByteArray newRaw = newRawName(entry.rawName, newName);
        if (newRaw != entry.rawName)
            files.push_back({entry.name, entry.rawName, newName, std::move(newRaw), entry.inode});
    }

    // The name as the folder tells names apart: where the file system folds letter case,
    // "IMG.JPG" and "img.jpg" are one name; elsewhere a name is its bytes.
    QByteArray key(const QByteArray& raw) const
    {
        return folds ? QFile::encodeName(QFile::decodeName(raw).toCaseFolded()) : raw;
    }
};

// Name order: the decoded names, then their bytes.
void sortByName(std::vector<PlannedFile>& files)
{
    std::sort(files.begin(), files.end(), [](const PlannedFile& a, const PlannedFile& b) {
        const int byName = a.oldName.compare(b.oldName);
        return byName != 0 ? byName < 0 : a.oldRaw < b.oldRaw;
    });
}

QString conflict(const PlannedFile& file, const QString& why)
{
    return QCoreApplication::translate("WildcardRename", "Cannot rename \"%1\" to \"%2\".\n\n%3")
        .arg(file.oldName, file.newName, why);
}

// The first file, in name order, whose new name is not usable; empty when there is none.
// `renamedAway` maps each old name of the batch to its file; `listed` holds every name in
// the folder. A name of the folder that no file of the batch gives up belongs to an entry
// that stays, and a new name taken by it refuses the batch.
QString findConflict(const Batch& all, const QHash<QByteArray, qint32>& renamedAway,
                     const QSet<QByteArray>& listed, const Between& between)
{
    QHash<QByteArray, qint32> firstWithNewName;
    firstWithNewName.reserve(qsizetype(all.files.size()));
    std::vector<qint32> twin(all.files.size(), -1); // another file with the same new name
    for (qint32 i = 0; i < qint32(all.files.size()); ++i) {
        between();
        const QByteArray newKey = all.key(all.files[size_t(i)].newRaw);
        const qint32 first = firstWithNewName.value(newKey, -1);
        if (first < 0) {
            firstWithNewName.insert(newKey, i);
            continue;
        }
        twin[size_t(i)] = first;
        if (twin[size_t(first)] < 0)
            twin[size_t(first)] = i;
    }
    for (size_t i = 0; i < all.files.size(); ++i) {
        between();
        const PlannedFile& file = all.files[i];
        const QString invalid = invalidNameReason(file.newName);
        if (!invalid.isEmpty())
            return conflict(file, invalid + u'.');
        if (twin[i] >= 0)
            return conflict(file, QCoreApplication::translate("WildcardRename",
                                                              "\"%1\" would get the same name.")
                                      .arg(all.files[size_t(twin[i])].oldName));
        const QByteArray newKey = all.key(file.newRaw);
        if (listed.contains(newKey) && !renamedAway.contains(newKey))
            return conflict(
                file, QCoreApplication::translate(
                          "WildcardRename", "An entry of that name is already in the folder."));
    }
    return {};
}

// A name for a file that steps aside: none of the folder's entries has it, none of the
// batch's files gets it, and no other step aside uses it.
QByteArray unusedTemporaryName(const FolderLookup& folder, const QSet<QByteArray>& newRaws,
                               const std::vector<QByteArray>& temporaries)
{
    for (;;) {
        QByteArray name = temporaryName();
        if (!newRaws.contains(name) &&
            std::find(temporaries.begin(), temporaries.end(), name) == temporaries.end() &&
            !folder.contains(name))
            return name;
    }
}

// waitsFor[i] is the file whose old name file i takes, or -1. Every name is taken by at
// most one file, so the files form plain chains and closed cycles: a chain runs from its
// far end back, a cycle opens by moving one file out of the way.
void orderSteps(const FolderLookup& folder, const std::vector<qint32>& waitsFor, WildcardPlan& plan,
                const Between& between)
{
    const qint32 count = qint32(plan.files.size());
    plan.steps.reserve(size_t(count));
    std::vector<bool> placed(size_t(count), false);
    QSet<QByteArray> newRaws; // once a cycle needs a temporary name
    for (qint32 start = 0; start < count; ++start) {
        between();
        if (placed[size_t(start)])
            continue;
        std::vector<qint32> path{start};
        qint32 next = waitsFor[size_t(start)];
        while (next >= 0 && next != start && !placed[size_t(next)] &&
               path.size() <= size_t(count)) {
            path.push_back(next);
            next = waitsFor[size_t(next)];
        }
        const bool cycle = next == start;
        qint32 temp = -1;
        if (cycle) {
            if (newRaws.isEmpty()) {
                for (const PlannedFile& file : plan.files)
                    newRaws.insert(file.newRaw);
            }
            temp = qint32(plan.temporaries.size());
            plan.temporaries.push_back(unusedTemporaryName(folder, newRaws, plan.temporaries));
            plan.steps.push_back({start, temp, false, plan.files[size_t(start)].inode});
        }
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const bool opened = cycle && *it == start;
            plan.steps.push_back({*it, opened ? temp : -1, true, plan.files[size_t(*it)].inode});
            placed[size_t(*it)] = true;
        }
    }
}

// `listing`: the folder as read for its files, which tells the names it holds.
WildcardPlan planBatch(const QByteArray& folder, Batch all, const FolderListing& listing,
                       const Between& between)
{
    sortByName(all.files);
    between();
    QSet<QByteArray> listed;
    listed.reserve(qsizetype(listing.entries().size()));
    for (const FolderListing::Entry& entry : listing.entries()) {
        between();
        const std::string_view name = listing.name(entry);
        listed.insert(all.key(QByteArray(name.data(), qsizetype(name.size()))));
    }
    QHash<QByteArray, qint32> renamedAway; // each old name of the batch, and its file
    renamedAway.reserve(qsizetype(all.files.size()));
    for (qint32 i = 0; i < qint32(all.files.size()); ++i) {
        between();
        renamedAway.insert(all.key(all.files[size_t(i)].oldRaw), i);
    }
    WildcardPlan plan;
    plan.folder = folder;
    plan.refusal = findConflict(all, renamedAway, listed, between);
    if (!plan.refusal.isEmpty())
        return plan;
    // A file whose new name is another's old name waits until that one has moved; a file
    // taking its own old name (a change of letter case where case folds) waits for none.
    std::vector<qint32> waitsFor(all.files.size(), -1);
    for (qint32 i = 0; i < qint32(all.files.size()); ++i) {
        const qint32 owner = renamedAway.value(all.key(all.files[size_t(i)].newRaw), -1);
        waitsFor[size_t(i)] = owner == i ? -1 : owner;
    }
    plan.fileCount = int(all.files.size());
    plan.files = std::move(all.files);
    orderSteps(FolderLookup(folder), waitsFor, plan, between);
    return plan;
}

WildcardPlan refusedPlan(const QByteArray& folder, const QString& why)
{
    WildcardPlan refused;
    refused.folder = folder;
    refused.refusal = why;
    return refused;
}

QString unreadable(const QByteArray& folder)
{
    return QCoreApplication::translate("WildcardRename", "The folder \"%1\" cannot be read.")
        .arg(QFile::decodeName(folder));
}

} // namespace

WildcardPlan planRenames(const QByteArray& folder, const std::vector<NamedFile>& files,
                         const std::function<void()>& between)
{
    Batch listed;
    listed.folds = folderFoldsCase(folder);
    for (const NamedFile& f : files) {
        between();
        listed.add(f.entry, f.newName);
    }
    const std::shared_ptr<const FolderListing> listing = listFolder(folder);
    if (!listing)
        return refusedPlan(folder, unreadable(folder));
    return planBatch(folder, std::move(listed), *listing, between);
}

WildcardPlan planWildcardRename(const QByteArray& folder, const QString& spec, const QString& mask,
                                const std::function<void()>& between)
{
    for (const QString& pattern : {spec, mask}) {
        if (specNamesFolder(pattern))
            return refusedPlan(folder, QCoreApplication::translate(
                                           "WildcardRename",
                                           "File specifications and wildcard patterns name "
                                           "files, not folders: \"%1\" renames nothing.")
                                           .arg(pattern));
    }
    Batch listed;
    listed.folds = folderFoldsCase(folder);
    const auto name = [&](DirEntry&& entry) {
        listed.add(entry, wildcardNewName(entry.name, mask));
    };
    // The plan needs each file's name and identity, not its time: on the usual file
    // systems the listing alone gives both. The same listing tells which names are taken.
    const std::shared_ptr<const FolderListing> listing = listFolder(folder);
    if (!listing || !forEachMatchingFile(*listing, spec, name, between, EntryTime::WithoutTime))
        return refusedPlan(folder, unreadable(folder));
    return planBatch(folder, std::move(listed), *listing, between);
}

} // namespace pellory

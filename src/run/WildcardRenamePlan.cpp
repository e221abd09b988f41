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

using Yield = std::function<void()>;

// A file of a batch as it is listed: its decoded name orders the batch, after which the
// plan keeps the file's bytes alone and decodes the few names its messages show.
struct BatchFile
{
    QString oldName;
    PlannedFile file;
};

// The files of a batch while it is planned, and whether their folder folds letter case.
struct Batch
{
    bool folds = false;
    std::vector<BatchFile> listed;

    // Files whose new name is their old name are left out, as in a scheme's run: a name
    // that reads as the new one keeps its bytes.
    void add(const DirEntry& entry, const QString& newName)
    {
        QByteArray newRaw = newRawName(entry.rawName, newName);
        if (newRaw != entry.rawName)
            listed.push_back({entry.name, {entry.rawName, std::move(newRaw), entry.inode}});
    }

    // The files in name order (the decoded names, then their bytes). The names go before
    // the files are moved on.
    std::vector<PlannedFile> inNameOrder()
    {
        std::sort(listed.begin(), listed.end(), [](const BatchFile& a, const BatchFile& b) {
            const int byName = a.oldName.compare(b.oldName);
            return byName != 0 ? byName < 0 : a.file.oldRaw < b.file.oldRaw;
        });
        for (BatchFile& file : listed)
            file.oldName = QString();
        std::vector<PlannedFile> files;
        files.reserve(listed.size());
        for (BatchFile& file : listed)
            files.push_back(std::move(file.file));
        listed = {};
        return files;
    }

    // The name as the folder tells names apart: where the file system folds letter case,
    // "IMG.JPG" and "img.jpg" are one name; elsewhere a name is its bytes.
    QByteArray key(const QByteArray& raw) const
    {
        return folds ? QFile::encodeName(QFile::decodeName(raw).toCaseFolded()) : raw;
    }
};

QString conflict(const PlannedFile& file, const QString& newName, const QString& why)
{
    return QCoreApplication::translate("WildcardRename", "Cannot rename \"%1\" to \"%2\".\n\n%3")
        .arg(QFile::decodeName(file.oldRaw), newName, why);
}

// For each file, another file of the batch with the same new name, or -1.
std::vector<qint32> sameNewNames(const Batch& all, const std::vector<PlannedFile>& files,
                                 const Yield& yield)
{
    QHash<QByteArray, qint32> firstWithNewName;
    firstWithNewName.reserve(qsizetype(files.size()));
    std::vector<qint32> twin(files.size(), -1);
    for (qint32 i = 0; i < qint32(files.size()); ++i) {
        yield();
        const QByteArray newKey = all.key(files[size_t(i)].newRaw);
        const qint32 first = firstWithNewName.value(newKey, -1);
        if (first < 0) {
            firstWithNewName.insert(newKey, i);
            continue;
        }
        twin[size_t(i)] = first;
        if (twin[size_t(first)] < 0)
            twin[size_t(first)] = i;
    }
    return twin;
}

// The first file, in name order, whose new name is not usable; empty when there is none.
// `owners` maps each name of the folder to the file of the batch that gives it up, or to
// -1 for an entry that stays, and a new name taken by such an entry refuses the batch.
QString findConflict(const Batch& all, const std::vector<PlannedFile>& files,
                     const std::vector<qint32>& twin, const QHash<QByteArray, qint32>& owners,
                     const Yield& yield)
{
    for (size_t i = 0; i < files.size(); ++i) {
        yield();
        const PlannedFile& file = files[i];
        const QString newName = QFile::decodeName(file.newRaw);
        const QString invalid = invalidNameReason(newName);
        if (!invalid.isEmpty())
            return conflict(file, newName, invalid + u'.');
        if (twin[i] >= 0)
            return conflict(
                file, newName,
                QCoreApplication::translate("WildcardRename", "\"%1\" would get the same name.")
                    .arg(QFile::decodeName(files[size_t(twin[i])].oldRaw)));
        if (owners.value(all.key(file.newRaw), -2) == -1)
            return conflict(
                file, newName,
                QCoreApplication::translate("WildcardRename",
                                            "An entry of that name is already in the folder."));
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
                const Yield& yield)
{
    const qint32 count = qint32(plan.files.size());
    plan.steps.reserve(size_t(count));
    std::vector<bool> placed(size_t(count), false);
    QSet<QByteArray> newRaws; // once a cycle needs a temporary name
    for (qint32 start = 0; start < count; ++start) {
        yield();
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
                       const Yield& yield)
{
    WildcardPlan plan;
    plan.folder = folder;
    plan.files = all.inNameOrder();
    const std::vector<PlannedFile>& files = plan.files;
    yield();
    const std::vector<qint32> twin = sameNewNames(all, files, yield);
    QHash<QByteArray, qint32> owners; // each name of the folder, and the file that gives it up
    owners.reserve(qsizetype(listing.entries().size()));
    for (qint32 i = 0; i < qint32(files.size()); ++i) {
        yield();
        owners.insert(all.key(files[size_t(i)].oldRaw), i);
    }
    for (const FolderListing::Entry& entry : listing.entries()) {
        yield();
        const std::string_view name = listing.name(entry);
        // Looked up in place: only the name of an entry that stays is copied.
        const QByteArray key =
            all.key(QByteArray::fromRawData(name.data(), qsizetype(name.size())));
        if (!owners.contains(key))
            owners.insert(QByteArray(key.constData(), key.size()), -1);
    }
    plan.refusal = findConflict(all, files, twin, owners, yield);
    if (!plan.refusal.isEmpty()) {
        plan.files = {};
        return plan;
    }
    // A file whose new name is another's old name waits until that one has moved; a file
    // taking its own old name (a change of letter case where case folds) waits for none.
    std::vector<qint32> waitsFor(files.size(), -1);
    for (qint32 i = 0; i < qint32(files.size()); ++i) {
        const qint32 owner = owners.value(all.key(files[size_t(i)].newRaw), -1);
        waitsFor[size_t(i)] = owner == i ? -1 : owner;
    }
    owners = {};
    plan.fileCount = int(files.size());
    orderSteps(FolderLookup(folder), waitsFor, plan, yield);
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
                         const std::function<void()>& yield)
{
    Batch listed;
    listed.folds = folderFoldsCase(folder);
    for (const NamedFile& f : files) {
        yield();
        listed.add(f.entry, f.newName);
    }
    const std::shared_ptr<const FolderListing> listing = listFolder(folder);
    if (!listing)
        return refusedPlan(folder, unreadable(folder));
    return planBatch(folder, std::move(listed), *listing, yield);
}

WildcardPlan planWildcardRename(const QByteArray& folder, const QString& spec, const QString& mask,
                                const std::function<void()>& yield)
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
    if (!listing || !forEachMatchingFile(*listing, spec, name, yield, EntryTime::WithoutTime))
        return refusedPlan(folder, unreadable(folder));
    return planBatch(folder, std::move(listed), *listing, yield);
}

} // namespace pellory

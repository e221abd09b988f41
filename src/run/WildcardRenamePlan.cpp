// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The planning half of the wildcard rename: lists and names the files, refuses a batch
// with a conflict, and orders the steps through chains and cycles.

#include "run/WildcardRename.h"

#include "run/WildcardName.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace pellory {

namespace {

using Between = std::function<void()>;

// The files of a batch while it is planned, each name in a table of its kind in the order
// the files were listed, and that order's ranks in name order. Every pass of the plan
// goes by rank. The new names' bytes and the keys live only as long as the planning.
struct Batch
{
    bool folds = false;
    NameTable<char16_t> oldNames, newNames;
    NameTable<char> oldRaws, newRaws;
    // Where the file system folds case, "IMG.JPG" and "img.jpg" are one name, so they must
    // meet as one key when looking for duplicates and for names that are taken. Elsewhere
    // the keys are the names' bytes, and these tables stay empty.
    NameTable<char> oldFolded, newFolded;
    std::vector<quint64> inodes;
    std::vector<qint32> byName; // the files' places in the tables, in name order

    qsizetype size() const { return qsizetype(inodes.size()); }
    qint32 file(qsizetype rank) const { return byName[size_t(rank)]; }
    std::u16string_view oldName(qsizetype rank) const { return oldNames[file(rank)]; }
    std::u16string_view newName(qsizetype rank) const { return newNames[file(rank)]; }
    std::string_view newRaw(qsizetype rank) const { return newRaws[file(rank)]; }
    quint64 inode(qsizetype rank) const { return inodes[size_t(file(rank))]; }
    std::string_view oldKey(qsizetype rank) const
    {
        return folds ? oldFolded[file(rank)] : oldRaws[file(rank)];
    }
    std::string_view newKey(qsizetype rank) const
    {
        return folds ? newFolded[file(rank)] : newRaws[file(rank)];
    }

    // Files whose new name is their old name are left out, as in a scheme's run: a name
    // that reads as the new one keeps its bytes.
    void add(const DirEntry& entry, const QString& newName)
    {
        const QByteArray newRaw = newRawName(entry.rawName, newName);
        if (newRaw == entry.rawName)
            return;
        oldNames.add(viewOf(entry.name));
        oldRaws.add(viewOf(entry.rawName));
        newNames.add(viewOf(newName));
        newRaws.add(viewOf(newRaw));
        inodes.push_back(entry.inode);
    }
};

QByteArray foldedKey(std::string_view raw)
{
    return QFile::encodeName(
        QFile::decodeName(QByteArray(raw.data(), qsizetype(raw.size()))).toCaseFolded());
}

// Ranks the files in name order (the decoded names, then their bytes), and makes the keys.
void rankByName(Batch& all, const Between& between)
{
    all.byName.resize(size_t(all.size()));
    for (qint32 i = 0; i < qint32(all.size()); ++i)
        all.byName[size_t(i)] = i;
    const auto before = [&all](qint32 a, qint32 b) {
        const int byName = all.oldNames[a].compare(all.oldNames[b]);
        return byName != 0 ? byName < 0 : all.oldRaws[a] < all.oldRaws[b];
    };
    // Many file systems list a folder in the order its files came, which for a camera's
    // files is name order: such a listing is taken as it stands.
    if (!std::is_sorted(all.byName.begin(), all.byName.end(), before))
        std::sort(all.byName.begin(), all.byName.end(), before);
    between();
    if (!all.folds)
        return;
    for (qsizetype i = 0; i < all.size(); ++i) {
        between();
        all.oldFolded.add(viewOf(foldedKey(all.oldRaws[i])));
        all.newFolded.add(viewOf(foldedKey(all.newRaws[i])));
    }
}

// The files' ranks ordered by the hash of one of their keys, then by rank: equal keys are
// next to one another, in name order. Four bytes of hash and four of rank per file, where
// a hash table would allocate a node per file; two such indexes are joined in one walk.
// Keys with equal hashes are still compared.
using KeyIndex = std::vector<std::pair<quint32, qint32>>;

template <typename Key> KeyIndex keyIndex(qsizetype count, const Key& key, const Between& between)
{
    KeyIndex index;
    index.reserve(size_t(count));
    for (qint32 i = 0; i < qint32(count); ++i) {
        between();
        index.emplace_back(quint32(std::hash<std::string_view>()(key(i))), i);
    }
    std::sort(index.begin(), index.end());
    return index;
}

// The end of the run of entries from `from` on that share its hash.
KeyIndex::const_iterator runEnd(KeyIndex::const_iterator from, KeyIndex::const_iterator end)
{
    const quint32 hash = from->first;
    while (from != end && from->first == hash)
        ++from;
    return from;
}

// For each file, the last file (in name order) whose old name it takes, or -1.
std::vector<qint32> oldNamesTaken(const Batch& all, const KeyIndex& byNewKey,
                                  const Between& between)
{
    const KeyIndex byOldKey = keyIndex(
        all.size(), [&all](qsizetype i) { return all.oldKey(i); }, between);
    std::vector<qint32> takenBy(size_t(all.size()), -1);
    auto old = byOldKey.cbegin();
    for (auto run = byNewKey.cbegin(); run != byNewKey.cend();) {
        between();
        const auto newEnd = runEnd(run, byNewKey.cend());
        while (old != byOldKey.cend() && old->first < run->first)
            ++old;
        const auto oldEnd =
            old != byOldKey.cend() && old->first == run->first ? runEnd(old, byOldKey.cend()) : old;
        for (auto taker = run; taker != newEnd; ++taker)
            for (auto owner = old; owner != oldEnd; ++owner)
                if (all.oldKey(owner->second) == all.newKey(taker->second))
                    takenBy[size_t(taker->second)] = owner->second;
        run = newEnd;
        old = oldEnd;
    }
    return takenBy;
}

// For each file, another that gets the same new name, or -1: the first such file, or the
// second when the file is the first itself.
std::vector<qint32> sameNewNames(const Batch& all, const KeyIndex& byNewKey, const Between& between)
{
    std::vector<qint32> twin(size_t(all.size()), -1);
    for (auto run = byNewKey.cbegin(); run != byNewKey.cend();) {
        between();
        const auto end = runEnd(run, byNewKey.cend());
        for (auto file = run; file != end; ++file) {
            qint32 first = -1, second = -1;
            for (auto other = run; other != end && second < 0; ++other)
                if (all.newKey(other->second) == all.newKey(file->second))
                    (first < 0 ? first : second) = other->second;
            twin[size_t(file->second)] = first == file->second ? second : first;
        }
        run = end;
    }
    return twin;
}

// For each file, whether the folder as listed may hold an entry of its new name: the
// listing's hashes, sorted, met with the new names' index in one walk, where a search per
// name took a cache miss per halving. A hash met is only a maybe; without a listing, or
// where the folder folds case, every name is a maybe.
std::vector<bool> mayBeListed(const Batch& all, const KeyIndex& byNewKey,
                              const FolderListing* listing, const Between& between)
{
    if (all.folds || !listing)
        return std::vector<bool>(size_t(all.size()), true);
    std::vector<quint32> listed;
    listed.reserve(listing->entries().size());
    for (const FolderListing::Entry& entry : listing->entries()) {
        between();
        listed.push_back(quint32(std::hash<std::string_view>()(listing->name(entry))));
    }
    std::sort(listed.begin(), listed.end());
    std::vector<bool> maybe(size_t(all.size()), false);
    auto hash = listed.cbegin();
    for (const auto& [newHash, rank] : byNewKey) {
        while (hash != listed.cend() && *hash < newHash)
            ++hash;
        maybe[size_t(rank)] = hash != listed.cend() && *hash == newHash;
    }
    return maybe;
}

QString conflict(const Batch& all, qsizetype i, const QString& why)
{
    return QCoreApplication::translate("WildcardRename", "Cannot rename \"%1\" to \"%2\".\n\n%3")
        .arg(textOf(all.oldName(i)), textOf(all.newName(i)), why);
}

// The first file, in name order, whose new name is not usable; empty when there is none.
// `takenBy[i]` is the file whose old name file i takes, or -1, which the ordering of the
// steps uses as well; `twin[i]` another file that gets file i's new name, or -1; `maybe[i]`
// false when the folder surely holds no entry of file i's new name. Each by rank.
QString findConflict(const FolderLookup& folder, const Batch& all,
                     const std::vector<qint32>& takenBy, const std::vector<qint32>& twin,
                     const std::vector<bool>& maybe, const Between& between)
{
    for (qsizetype i = 0; i < all.size(); ++i) {
        between();
        const std::u16string_view newName = all.newName(i);
        const QString invalid = invalidNameReason(QString::fromRawData(
            reinterpret_cast<const QChar*>(newName.data()), qsizetype(newName.size())));
        if (!invalid.isEmpty())
            return conflict(all, i, invalid + u'.');
        if (twin[size_t(i)] >= 0)
            return conflict(
                all, i,
                QCoreApplication::translate("WildcardRename", "\"%1\" would get the same name.")
                    .arg(textOf(all.oldName(twin[size_t(i)]))));
        const std::string_view newRaw = all.newRaw(i);
        if (takenBy[size_t(i)] < 0 && maybe[size_t(i)] &&
            folder.contains(QByteArray::fromRawData(newRaw.data(), qsizetype(newRaw.size()))))
            return conflict(
                all, i,
                QCoreApplication::translate("WildcardRename",
                                            "An entry of that name is already in the folder."));
    }
    return {};
}

QByteArray unusedTemporaryName(const FolderLookup& folder,
                               const std::unordered_set<std::string_view>& newRaws,
                               const std::vector<QByteArray>& temporaries)
{
    for (;;) {
        const QByteArray name = temporaryName();
        if (!newRaws.contains(viewOf(name)) &&
            std::find(temporaries.begin(), temporaries.end(), name) == temporaries.end() &&
            !folder.contains(name))
            return name;
    }
}

// waitsFor[i] is the file whose old name file i takes, or -1. Every name is taken by at
// most one file, so the files form plain chains and closed cycles: a chain runs from its
// far end back, a cycle opens by moving one file out of the way.
void orderSteps(const FolderLookup& folder, const Batch& all, const std::vector<qint32>& waitsFor,
                WildcardPlan& plan, const Between& between)
{
    plan.steps.reserve(size_t(all.size()));
    std::vector<bool> placed(size_t(all.size()), false);
    std::unordered_set<std::string_view> newRaws; // once a cycle needs a temporary name
    for (qint32 start = 0; start < qint32(all.size()); ++start) {
        between();
        if (placed[size_t(start)])
            continue;
        std::vector<qint32> path{start};
        qint32 next = waitsFor[size_t(start)];
        while (next >= 0 && next != start && !placed[size_t(next)] &&
               path.size() <= size_t(all.size())) {
            path.push_back(next);
            next = waitsFor[size_t(next)];
        }
        const bool cycle = next == start;
        qint32 temp = -1;
        if (cycle) {
            if (newRaws.empty()) {
                newRaws.reserve(size_t(all.size()));
                for (qsizetype i = 0; i < all.size(); ++i) {
                    between();
                    newRaws.insert(all.newRaw(i));
                }
            }
            temp = qint32(plan.temporaries.size());
            plan.temporaries.push_back(unusedTemporaryName(folder, newRaws, plan.temporaries));
            plan.steps.push_back({all.file(start), temp, false, all.inode(start)});
        }
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const bool opened = cycle && *it == start;
            plan.steps.push_back({all.file(*it), opened ? temp : -1, true, all.inode(*it)});
            placed[size_t(*it)] = true;
        }
    }
}

// `listing`: the folder as read for its files, which answers for the names it holds.
WildcardPlan planBatch(const QByteArray& folder, Batch all, const Between& between,
                       const FolderListing* listing = nullptr)
{
    rankByName(all, between);
    const FolderLookup lookup(folder);
    std::vector<qint32> takenBy, twin;
    std::vector<bool> maybe;
    {
        const KeyIndex byNewKey = keyIndex(
            all.size(), [&all](qsizetype i) { return all.newKey(i); }, between);
        takenBy = oldNamesTaken(all, byNewKey, between);
        twin = sameNewNames(all, byNewKey, between);
        maybe = mayBeListed(all, byNewKey, listing, between);
    }
    WildcardPlan plan;
    plan.folder = folder;
    plan.refusal = findConflict(lookup, all, takenBy, twin, maybe, between);
    twin = {};
    maybe = {};
    if (!plan.refusal.isEmpty())
        return plan;
    std::vector<qint32> waitsFor = std::move(takenBy);
    for (qint32 i = 0; i < qint32(waitsFor.size()); ++i)
        if (waitsFor[size_t(i)] == i) // a file taking its own old name waits for none
            waitsFor[size_t(i)] = -1;
    orderSteps(lookup, all, waitsFor, plan, between);
    plan.fileCount = int(all.size());
    plan.oldNames = std::move(all.oldNames);
    plan.oldRaws = std::move(all.oldRaws);
    plan.newRaws = std::move(all.newRaws);
    return plan;
}

} // namespace

WildcardPlan planRenames(const QByteArray& folder, std::vector<NamedFile> files,
                         const std::function<void()>& between)
{
    Batch listed;
    listed.folds = folderFoldsCase(folder);
    for (const NamedFile& f : files) {
        between();
        listed.add(f.entry, f.newName);
    }
    files = {};
    const std::shared_ptr<const FolderListing> listing =
        listed.folds ? nullptr : listFolder(folder);
    return planBatch(folder, std::move(listed), between, listing.get());
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
    // Each entry is named as it is read, into the tables: no entry is held as it came.
    Batch listed;
    listed.folds = folderFoldsCase(folder);
    const auto name = [&](DirEntry&& entry) {
        listed.add(entry, wildcardNewName(entry.name, mask));
    };
    // The plan needs each file's name and identity, not its time: on the usual file
    // systems the listing alone gives both. The same listing tells which names are taken.
    const std::shared_ptr<const FolderListing> listing = listFolder(folder);
    if (!listing || !forEachMatchingFile(*listing, spec, name, between, EntryFacts::WithoutTime)) {
        refused.refusal =
            QCoreApplication::translate("WildcardRename", "The folder \"%1\" cannot be read.")
                .arg(QFile::decodeName(folder));
        return refused;
    }
    return planBatch(folder, std::move(listed), between, listing.get());
}

WildcardPlan planWildcardRename(const QString& folder, const QString& spec, const QString& mask,
                                const std::function<void()>& between)
{
    return planWildcardRename(QFile::encodeName(folder), spec, mask, between);
}

} // namespace pellory

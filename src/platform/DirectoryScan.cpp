// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/DirectoryScan.h"

#include "platform/FileTime.h"
#include "platform/FolderFd.h"
#include "platform/Wildcard.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <future>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace pellory {

namespace {

bool isDotOrDotDot(std::string_view name)
{
    return name == "." || name == "..";
}

bool isAscii(std::string_view name)
{
    for (const char c : name) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

// The entry itself tells who the file is, since a rename moves the entry: a link keeps its
// own inode. Its target gives the type and the time, so that a link to a folder is a
// folder; a link that leads nowhere (or round in a loop) is still an entry that can be
// renamed, described by the link itself. An entry that vanished since readdir gives false.
bool statEntry(int folderFd, const char* name, struct stat& st, quint64& inode)
{
    if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    inode = st.st_ino;
    if (!S_ISLNK(st.st_mode))
        return true;
    struct stat target;
    if (::fstatat(folderFd, name, &target, 0) == 0)
        st = target;
    else if (errno != ENOENT && errno != ELOOP)
        return false;
    return true;
}

// Whether readdir's inodes are the ones a stat gives: so on the usual file systems, not
// always where one is layered over another. The first file of a listing that has no time to
// read is stat'ed to tell, and every file is when they differ.
enum class ListedInodes
{
    Untested,
    AsStat,
    NotAsStat
};

// Whether `entry` is one to hand over: not a folder, nor a link to one. Gives its inode and,
// when `withTime`, its write time, device and size. A regular file or another type that
// readdir names needs no stat when the time is not asked for; a link or an unknown type
// always does.
bool describeEntry(int folderFd, const char* name, unsigned char type, quint64 listedInode,
                   bool withTime, ListedInodes& listed, ListedStat& seen)
{
    const bool typeKnown = type != DT_UNKNOWN && type != DT_LNK;
    if (!withTime && typeKnown && listed == ListedInodes::AsStat) {
        seen.inode = listedInode;
        return seen.isFile = true;
    }
    struct stat st;
    if (!statEntry(folderFd, name, st, seen.inode) || S_ISDIR(st.st_mode))
        return false;
    if (!withTime && typeKnown && listed == ListedInodes::Untested)
        listed = seen.inode == listedInode ? ListedInodes::AsStat : ListedInodes::NotAsStat;
    if (withTime) {
        seen.writeTime = fileTimeFromTimespec(st.st_mtim);
        seen.device = quint64(st.st_dev);
        seen.size = qint64(st.st_size);
    }
    return seen.isFile = true;
}

} // namespace

bool specNamesFolder(QStringView spec)
{
    return spec.contains(u'/');
}

namespace {

// Whether `raw` matches; a name that is not ASCII is decoded into `decoded` to be matched.
bool nameMatches(const WildcardMatcher& matcher, std::string_view raw, QString& decoded)
{
    if (isAscii(raw))
        return matcher.matchesAscii(raw);
    decoded = QFile::decodeName(QByteArray::fromRawData(raw.data(), qsizetype(raw.size())));
    return matcher.matches(decoded);
}

} // namespace

bool forEachMatchingFile(const FolderListing& listing, const QString& spec,
                         const std::function<void(DirEntry&&)>& found,
                         const std::function<void()>& yield, EntryTime time)
{
    if (spec.isEmpty() || specNamesFolder(spec))
        return false;
    // Opened to stat the listed names in the folder that listed them.
    const FolderFd folder(AT_FDCWD, listing.folder(), O_PATH | O_DIRECTORY);
    if (folder.fd() < 0)
        return false;
    const WildcardMatcher matcher(spec);
    const bool withTime = time == EntryTime::WithTime;
    ListedInodes listed = ListedInodes::Untested;
    QString decoded;
    for (const FolderListing::Entry& entry : listing.entries()) {
        yield();
        const std::string_view raw = listing.name(entry);
        // A real folder is known from readdir alone; links and unknown types need a stat.
        if (entry.type == DT_DIR || !nameMatches(matcher, raw, decoded))
            continue;
        ListedStat seen;
        if (!describeEntry(folder.fd(), listing.cName(entry), entry.type, entry.inode, withTime,
                           listed, seen))
            continue;
        found({isAscii(raw) ? QString::fromLatin1(raw.data(), qsizetype(raw.size())) : decoded,
               QByteArray(raw.data(), qsizetype(raw.size())), seen.writeTime, seen.inode,
               seen.device, seen.size});
    }
    return true;
}

std::vector<quint32> matchingEntries(const FolderListing& listing, const QString& spec)
{
    std::vector<quint32> positions;
    if (spec.isEmpty() || specNamesFolder(spec))
        return positions;
    const WildcardMatcher matcher(spec);
    QString decoded;
    const std::vector<FolderListing::Entry>& entries = listing.entries();
    for (quint32 k = 0; k < quint32(entries.size()); ++k) {
        if (entries[k].type != DT_DIR && nameMatches(matcher, listing.name(entries[k]), decoded))
            positions.push_back(k);
    }
    return positions;
}

ListedStat describeListed(int folderFd, const FolderListing& listing, quint32 position)
{
    const FolderListing::Entry& listed = listing.entries()[position];
    ListedInodes unused = ListedInodes::Untested;
    ListedStat seen;
    describeEntry(folderFd, listing.cName(listed), listed.type, listed.inode, true, unused, seen);
    return seen;
}

std::vector<ListedStat> describeListedFiles(const FolderListing& listing,
                                            const std::vector<quint32>& positions)
{
    std::vector<ListedStat> described;
    const FolderFd folder(AT_FDCWD, listing.folder(), O_PATH | O_DIRECTORY);
    if (folder.fd() < 0)
        return described;
    described.reserve(positions.size());
    ListedInodes listed = ListedInodes::Untested;
    for (const quint32 position : positions) {
        const FolderListing::Entry& entry = listing.entries()[position];
        describeEntry(folder.fd(), listing.cName(entry), entry.type, entry.inode, false, listed,
                      described.emplace_back());
    }
    return described;
}

DirEntry listedEntry(const FolderListing& listing, quint32 position, const ListedStat& seen)
{
    const std::string_view raw = listing.name(listing.entries()[position]);
    QByteArray rawName(raw.data(), qsizetype(raw.size()));
    QString name = isAscii(raw) ? QString::fromLatin1(rawName) : QFile::decodeName(rawName);
    return {std::move(name), std::move(rawName), seen.writeTime,
            seen.inode,      seen.device,        seen.size};
}

void FolderListing::add(std::string_view name, unsigned char type, quint64 inode)
{
    m_entries.push_back({inode, quint32(m_names.size()), quint32(name.size()), type});
    m_names.append(name);
    m_names.push_back('\0');
}

namespace {

// Reads `dir` once: every entry into `entries`, and the subfolders' names, links to
// folders included, into `subfolders` when asked for. `yield`, when given, runs after
// every entry read.
void readEntries(FolderReader& dir, QList<QByteArray>* subfolders, FolderListing& entries,
                 const std::function<void()>& yield = {})
{
    while (const dirent* entry = dir.next()) {
        if (yield)
            yield();
        if (isDotOrDotDot(entry->d_name))
            continue;
        entries.add(entry->d_name, entry->d_type, entry->d_ino);
        if (!subfolders)
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFolder = ::fstatat(dir.fd(), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        if (isFolder)
            subfolders->append(QByteArray(entry->d_name));
    }
}

} // namespace

std::shared_ptr<const FolderListing> listFolder(const QByteArray& folder)
{
    return listFolder(AT_FDCWD, folder, {});
}

std::shared_ptr<const FolderListing> listFolder(int at, const QByteArray& folder,
                                                const std::function<void()>& yield)
{
    FolderReader dir(FolderFd(at, folder, O_RDONLY));
    if (!dir.isOpen())
        return nullptr;
    auto listing = std::make_shared<FolderListing>(folder);
    readEntries(dir, nullptr, *listing, yield);
    return listing;
}

namespace {

// What a stat of `path` tells: whether something is there, and a folder.
PickedFolder statPath(const QByteArray& path)
{
    PickedFolder look;
    struct stat st;
    look.answered = true;
    look.exists = ::stat(path.constData(), &st) == 0;
    look.isFolder = look.exists && S_ISDIR(st.st_mode);
    return look;
}

} // namespace

PickedFolder lookAtFolderNow(const QByteArray& path)
{
    PickedFolder look = statPath(path);
    if (!look.isFolder)
        return look;
    FolderReader dir(FolderFd(AT_FDCWD, path, O_RDONLY));
    look.listed = dir.isOpen();
    if (!look.listed)
        return look;
    auto files = std::make_shared<FolderListing>(path);
    readEntries(dir, &look.subfolders, *files);
    look.files = std::move(files);
    return look;
}

PickedFolder lookAtPathNow(const QByteArray& path)
{
    PickedFolder look = statPath(path);
    look.listed = look.isFolder && FolderFd(AT_FDCWD, path, O_RDONLY).fd() >= 0;
    return look;
}

namespace {

std::future<PickedFolder> startLook(const QByteArray& path, PickedFolder (*look)(const QByteArray&))
{
    std::promise<PickedFolder> promise;
    std::future<PickedFolder> answer = promise.get_future();
    try {
        // The thread owns its copy of the path and the promise, so it may outlive its caller.
        std::thread([path, look, promise = std::move(promise)]() mutable {
            promise.set_value(look(path));
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: look here, and wait for it. The promise went nowhere.
        std::promise<PickedFolder> here;
        here.set_value(look(path));
        return here.get_future();
    }
    return answer;
}

} // namespace

PickedFolder lookAtFolder(const QByteArray& path, int timeoutMs,
                          PickedFolder (*look)(const QByteArray&))
{
    std::future<PickedFolder> answer = startLook(path, look);
    if (answer.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready)
        return {};
    return answer.get();
}

} // namespace pellory

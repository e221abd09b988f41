// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Lists the files of one folder whose names match one pattern, and the subfolders of a
// folder. Reads the folder only; never changes anything on disk and knows nothing of the
// catalogue or the window.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pellory {

struct DirEntry
{
    QString name;          // decoded for display (QFile::decodeName)
    QByteArray rawName;    // the exact bytes readdir gave; the old path of a rename uses these
    quint64 writeTime = 0; // 100 ns ticks since 1 January 1601, from st_mtim
    quint64 inode = 0;     // the entry's own (a link's, not its target's): who the file is
    quint64 device = 0;    // the target's, with the time; with its size, what a cache of the
    qint64 size = 0;       // file's contents (its capture time) is keyed by
};

// True when `spec` (a specification, a wildcard pattern or a whole specification text)
// holds a folder part ("sub/*.txt", "../*"). The file list shows one folder, and a run
// renames what the list shows, so a pattern that reaches into another folder matches
// nothing: otherwise the list would show one folder's files and the run rename another's.
bool specNamesFolder(QStringView spec);

// Whether a caller needs each entry's write time besides its name and inode.
enum class EntryTime
{
    WithTime,
    // writeTime left 0: a file that readdir says is no folder and no link is then not
    // stat'ed, its inode taken from the listing where the file system's agree with stat's.
    WithoutTime
};

// One reading of a folder: every entry but "." and "..", in the order the folder reports
// them, with what readdir tells of each (a link or an entry of unknown type is a folder or
// not only as a stat tells). The names are kept in one buffer: a folder of camera files
// lists tens of thousands of short names.
class FolderListing
{
public:
    struct Entry
    {
        quint64 inode = 0;      // readdir's d_ino
        quint32 offset = 0;     // of the name in the buffer, which ends it with a 0 byte
        quint32 size = 0;       // the name's length in bytes
        unsigned char type = 0; // readdir's d_type
    };

    explicit FolderListing(QByteArray folder) : m_folder(std::move(folder)) {}
    const QByteArray& folder() const { return m_folder; }
    const std::vector<Entry>& entries() const { return m_entries; }
    std::string_view name(const Entry& entry) const
    {
        return {m_names.data() + entry.offset, entry.size};
    }
    const char* cName(const Entry& entry) const { return m_names.data() + entry.offset; }
    void add(std::string_view name, unsigned char type, quint64 inode);

private:
    QByteArray m_folder;
    std::string m_names;
    std::vector<Entry> m_entries;
};

// Reads `folder` (its path's exact bytes) once; nothing when it cannot be opened.
std::shared_ptr<const FolderListing> listFolder(const QByteArray& folder);
// The same with `folder` relative to the folder open as `at` ("." for that folder itself);
// `yield` runs after every entry read, for a caller that lets the event loop run.
std::shared_ptr<const FolderListing> listFolder(int at, const QByteArray& folder,
                                                const std::function<void()>& yield);
// Hands to `found`, in the order the folder reported them, every entry of `listing` whose
// name matches `spec` (see WildcardMatcher). Entries "." and "..", folders and links to
// folders are skipped; hidden files are entries like any other. Returns false, handing
// nothing over, when `spec` is empty or names a folder (specNamesFolder), and when the
// listed folder cannot be opened again.
// Links are followed for the folder test and the time. A link that leads nowhere (or
// loops) is still an entry, since renaming moves the link itself; it gets the link's own
// time. One fstatat per matching entry (two for a link); names that do not match are never
// stat'ed. (Without the time only links and unknown types are stat'ed.) `yield` runs
// for every entry, for a caller that lets the event loop run.
bool forEachMatchingFile(
    const FolderListing& listing, const QString& spec, const std::function<void(DirEntry&&)>& found,
    const std::function<void()>& yield = [] {}, EntryTime time = EntryTime::WithTime);

// The positions in `listing` of the entries whose names match `spec`: none when `spec` is
// empty or names a folder. Whether each is a file is known only once it is described.
std::vector<quint32> matchingEntries(const FolderListing& listing, const QString& spec);
// What a stat tells of a listed entry that matched.
struct ListedStat
{
    bool isFile = false; // false: a folder, a link to one, or gone since it was listed
    quint64 writeTime = 0;
    quint64 inode = 0;
    quint64 device = 0;
    qint64 size = 0;
};
// Stats the entry at `position` as forEachMatchingFile would, with one stat in `folderFd`
// (the listed folder, opened again).
ListedStat describeListed(int folderFd, const FolderListing& listing, quint32 position);
// The stats of the entries at `positions`, none of them a folder by readdir's type, without
// their times, in that order: as forEachMatchingFile without the time, a file that readdir
// names is stat'ed only until the folder's inodes are known to be stat's. None when the
// listed folder cannot be opened again.
std::vector<ListedStat> describeListedFiles(const FolderListing& listing,
                                            const std::vector<quint32>& positions);
// The entry at `position` with what its stat saw, as forEachMatchingFile hands it over.
DirEntry listedEntry(const FolderListing& listing, quint32 position, const ListedStat& seen);

// What a first look at a path the user picked found.
struct PickedFolder
{
    bool answered = false; // false: nothing came back in time, and nothing else is known
    bool exists = false;   // something is there (a link is followed)
    bool isFolder = false;
    bool listed = false; // the folder could be read
    // The subfolders, in the order the folder reports them: links to folders included,
    // hidden ones too, since a renamer's user may need them.
    QList<QByteArray> subfolders;
    // All of its entries, read in the same pass, for a scan that follows at once.
    std::shared_ptr<const FolderListing> files;
};

// Looks at `path` (exact bytes) and reads its entries, here and now.
PickedFolder lookAtFolderNow(const QByteArray& path);
// The same look without reading the entries: whether the folder is there and opens.
PickedFolder lookAtPathNow(const QByteArray& path);
// The same look on a thread of its own, waited for at most `timeoutMs`: a hung network or
// FUSE mount can keep a stat or a readdir waiting for ever, and the window must not wait
// with it. A look that does not answer in time is left to finish on its own; its thread
// holds nothing of the caller's. `look` stands in for a mount that hangs in a test.
PickedFolder lookAtFolder(const QByteArray& path, int timeoutMs,
                          PickedFolder (*look)(const QByteArray&) = lookAtFolderNow);

} // namespace pellory

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
#include <vector>

namespace pellory {

struct DirEntry
{
    QString name;          // decoded for display (QFile::decodeName)
    QByteArray rawName;    // the exact bytes readdir gave; the old path of a rename uses these
    quint64 writeTime = 0; // 100 ns ticks since 1 January 1601, from st_mtim
    quint64 inode = 0;     // the entry's own (a link's, not its target's): who the file is
};

// True when `spec` (a specification, a wildcard pattern or a whole specification text)
// holds a folder part ("sub/*.txt", "../*"). The file list shows one folder, and a run
// renames what the list shows, so a pattern that reaches into another folder matches
// nothing: otherwise the list would show one folder's files and the run rename another's.
bool specNamesFolder(QStringView spec);

// Appends, in the order the folder reports them, every entry of `folder` (its path's exact
// bytes, which need not be valid text) whose name
// matches `spec` (see WildcardMatcher). Entries "." and "..", folders and links to folders
// are skipped; hidden files are entries like any other. Returns false, appending nothing
// and reading nothing, when `spec` is empty or names a folder (specNamesFolder), and when
// the folder cannot be opened.
// Links are followed for the folder test and the time. A link that leads nowhere (or
// loops) is still an entry, since renaming moves the link itself; it gets the link's own
// time. One fstatat per matching entry (two for a link); names that do not match are never
// stat'ed. (forEachMatchingFile without the time stats only links and unknown types.)
// `between` runs after every entry read, for a caller that lets the event loop run.
bool findMatchingFiles(
    const QByteArray& folder, const QString& spec, std::vector<DirEntry>& out,
    const std::function<void()>& between = [] {});

// What a caller needs to know of each entry besides its name and inode.
enum class EntryFacts
{
    WithTime,
    // writeTime left 0: a file that readdir says is no folder and no link is then not
    // stat'ed, its inode taken from the listing where the file system's agree with stat's.
    WithoutTime
};

// The same, handing each entry to `found` as it is read, for a caller that keeps the
// entries in a form of its own.
bool forEachMatchingFile(
    const QByteArray& folder, const QString& spec, const std::function<void(DirEntry&&)>& found,
    const std::function<void()>& between = [] {}, EntryFacts facts = EntryFacts::WithTime);

// Appends the names of the subfolders of `folder`, in the order the folder reports them:
// links to folders included, hidden ones too, since a renamer's user may need them. False
// when the folder cannot be opened.
bool listSubfolders(const QByteArray& folder, QList<QByteArray>& names);

// What a first look at a path the user picked found.
struct FolderLook
{
    bool answered = false; // false: nothing came back in time, and nothing else is known
    bool exists = false;   // something is there (a link is followed)
    bool isFolder = false;
    bool listed = false;          // the folder could be read
    QList<QByteArray> subfolders; // as listSubfolders() gives them
};

// Looks at `path` (exact bytes) and lists its subfolders, here and now.
FolderLook lookAtFolderNow(const QByteArray& path);
// The same look on a thread of its own, waited for at most `timeoutMs`: a hung network or
// FUSE mount can keep a stat or a readdir waiting for ever, and the window must not wait
// with it. A look that does not answer in time is left to finish on its own; its thread
// holds nothing of the caller's. `look` stands in for a mount that hangs in a test.
FolderLook lookAtFolder(const QByteArray& path, int timeoutMs,
                        FolderLook (*look)(const QByteArray&) = lookAtFolderNow);

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Renames one entry of a folder to a new bare name in the same folder, never replacing an
// entry that is already there. It moves nothing between folders and knows nothing of
// batches; a failure comes back with the system's error number and description.

#include "platform/FolderFd.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QTimer;

namespace pellory {

struct RenameOutcome
{
    bool ok = false;
    int error = 0;       // errno of the failing step; EINVAL for a refused name,
                         // ENAMETOOLONG for one longer than the file system takes,
                         // ECANCELED for a step its observer refused
    QString description; // the system's text, or why the name was refused
};

// The bytes newName has on disk, for the entry now named oldRawName. A name that is not
// valid UTF-8 reads back with replacement characters; given back unchanged, it means the
// file keeps its name, not that its bytes become those characters.
QByteArray newRawName(const QByteArray& oldRawName, const QString& newName);

// A name of our own for a file that has to step aside within its folder for a moment:
// ".pellory-" and random hex digits, ".tmp".
QByteArray temporaryName();
// Whether `name` is one that temporaryName() makes.
bool isTemporaryName(QByteArrayView name);

// Why newName cannot name an entry of a folder, or an empty string when it can: it is
// empty, ".", "..", holds "/" or a NUL character, or takes more than NAME_MAX (255) bytes
// as the file system stores it (QFile::encodeName).
QString invalidNameReason(const QString& newName);

// The device and inode of a file or a folder; zeros when it could not be looked at.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
// What `path` (exact bytes) names, a link followed.
FileIdentity identityOfPath(const QByteArray& path);

// Told of each step a rename takes on disk before it is taken, so that a record of every
// name a file passes through is written ahead of it, with the identity of the entry the
// step moves as looked up by name just before it, and of the folder it happens in. A rename is
// mostly one step; a change of letter case where the file system folds case takes a step that
// fails, one to a temporary name and one from there (and, when that fails, one back). A name
// refused before any system call, and a file that keeps its own name, take no step.
class RenameObserver
{
public:
    virtual ~RenameObserver() = default;
    // False: the step is not taken, and the rename fails (ECANCELED) with refusal().
    virtual bool beforeStep(QByteArrayView from, QByteArrayView to, const FileIdentity& file,
                            const FileIdentity& folder) = 0;
    // The step just announced did not happen: the file still has its name from before.
    virtual void stepFailed() = 0;
    virtual QString refusal() const = 0;
};

// The seam through which batch renames reach the disk, so that a test can make a chosen
// rename fail. A folder is named by its exact bytes, which need not be valid text. Every
// step on disk is told to `observer` first, when there is one.
class FileRenamer
{
public:
    virtual ~FileRenamer() = default;
    // Renames folder + "/" + oldRawName (the exact bytes readdir gave) to newName, which is
    // encoded with QFile::encodeName. Refuses, before any system call, a new name that
    // invalidNameReason refuses. A new name that differs from the old one only in letter
    // case works also where the file system folds case.
    virtual RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRawName,
                                 const QString& newName, RenameObserver* observer = nullptr) = 0;
    // The same with the new name's exact bytes, which need not be valid text: an undo gives
    // a file back the name it had. Here a name that is not valid text is refused.
    virtual RenameOutcome renameRaw(const QByteArray& folder, const QByteArray& oldRawName,
                                    const QByteArray& newRawName,
                                    RenameObserver* observer = nullptr);
};

// Keeps the folder of the last rename open while calls follow one another, since a batch
// renames many files of one folder and opening it for each costs as much as the rename.
// Where the thread runs an event loop, the folder is let go after a short pause, so that a
// USB stick can be unmounted right after a batch; elsewhere it stays open until the
// renamer is asked about another folder or destroyed.
class SystemRenamer final : public FileRenamer
{
public:
    SystemRenamer();
    ~SystemRenamer() override;
    SystemRenamer(const SystemRenamer&) = delete;
    SystemRenamer& operator=(const SystemRenamer&) = delete;

    using FileRenamer::rename;
    using FileRenamer::renameRaw;
    RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRawName,
                         const QString& newName, RenameObserver* observer = nullptr) override;
    RenameOutcome renameRaw(const QByteArray& folder, const QByteArray& oldRawName,
                            const QByteArray& newRawName,
                            RenameObserver* observer = nullptr) override;

private:
    static constexpr qint64 kKeepOpenMs = 500; // a longer pause looks the folder up again
    void forgetFolder();
    void releaseWhenIdle();

    QByteArray m_folder;
    FolderFd m_dir;
    FileIdentity m_dirIdentity; // of m_dir, as the renames' records name the folder
    qint64 m_lastUse = 0;
    std::unique_ptr<QTimer> m_idle;
};

// The renamer batch renames use: the system's, unless a test installed another. Passing
// nullptr puts the system's back. The caller keeps ownership of what it installs.
FileRenamer& currentRenamer();
void installRenamer(FileRenamer* renamer);

// Answers whether a folder holds an entry of a given name, with the folder opened once,
// since a batch asks for every file. Links are not followed; on a file system that folds
// case the lookup folds case too. A folder that cannot be opened holds nothing.
class FolderLookup
{
public:
    // Each name looked up in the folder when asked.
    explicit FolderLookup(const QByteArray& folder);

    bool contains(const QByteArray& rawName) const;

private:
    FolderFd m_dir;
};

// True when names in the folder that differ only in letter case name the same entry:
// FAT, exFAT, NTFS and SMB mounts by their file system type, ext4 folders that carry the
// case-folding attribute, and FUSE mounts whose lookup of an entry's case-swapped spelling
// finds it. A FUSE folder without an entry holding a letter goes undetected; a batch that
// plans there still cannot replace anything, since every rename refuses an existing name.
bool folderFoldsCase(const QByteArray& folder);

// A rename killed between reserving its new name and renaming over it leaves the
// reservation behind: an empty file under `to` while the file is still under `from`.
// Removes `to` when it is that: an empty regular file written no earlier than `sinceMs`
// (ms since 1970), listed beside `from` as an entry of its own. False when nothing was
// removed.
bool dropLeftReservation(const QByteArray& folder, const QByteArray& from, const QByteArray& to,
                         qint64 sinceMs);

// Where the no-replace rename starts. Only tests choose a later step, to run the
// fallbacks that file systems without the flag or without hard links take, on real files.
enum class RenameRoute
{
    NoReplaceFlag,   // renameat2 with RENAME_NOREPLACE
    LinkThenUnlink,  // linkat + unlinkat
    CheckThenRename, // the new name reserved by a file of our own, then renameat over it
};
void setFirstRenameRoute(RenameRoute route);
// Runs between reserving the new name and renaming over it, for a test that plays another
// program taking the name in that moment. An empty hook runs nothing.
void setAfterReservingHook(std::function<void(int dir, const char* reserved)> hook);

} // namespace pellory

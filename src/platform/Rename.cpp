// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/Rename.h"

#include "platform/Clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pellory {

namespace {

RenameRoute g_firstRoute = RenameRoute::NoReplaceFlag;
std::function<void(int dir, const char* reserved)> g_afterReserving;
FileRenamer* g_installed = nullptr;

RenameOutcome failure(int error)
{
    return {false, error, QString::fromLocal8Bit(std::strerror(error))};
}

int renameNoReplaceFlag(int dir, const char* from, const char* to)
{
#ifndef RENAME_NOREPLACE
    constexpr unsigned RENAME_NOREPLACE = 1;
#endif
    // Called through syscall so that a C library without the wrapper builds as well.
    if (::syscall(SYS_renameat2, dir, from, dir, to, RENAME_NOREPLACE) == 0)
        return 0;
    return errno;
}

int renameByLink(int dir, const char* from, const char* to)
{
    if (::linkat(dir, from, dir, to, 0) != 0)
        return errno;
    if (::unlinkat(dir, from, 0) == 0)
        return 0;
    const int error = errno;
    ::unlinkat(dir, to, 0); // the link just made: the file keeps its old name alone
    return error;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Without the flag and without hard links nothing makes a rename refuse an existing name.
// The name is reserved first: a file of our own is made under it (O_EXCL fails when the
// name exists), and the rename goes over it only while it is still ours and empty. Another
// program's file is then lost only if it takes the name, or writes into ours, between that
// last look and the rename.
int renameOverReservation(int dir, const char* from, const char* to)
{
    const int fd = ::openat(dir, to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    struct stat reserved;
    const int unknown = ::fstat(fd, &reserved) == 0 ? 0 : errno;
    ::close(fd);
    if (unknown != 0) {
        ::unlinkat(dir, to, 0); // made a moment ago, but no longer recognisable as ours
        return unknown;
    }
    if (g_afterReserving)
        g_afterReserving(dir, to);
    // Another program may also open the reserved name without O_EXCL and write into it:
    // then the file, though still the one we made, holds its data.
    const auto stillOurs = [&] {
        struct stat now;
        return ::fstatat(dir, to, &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(now, reserved) &&
               now.st_size == 0;
    };
    if (!stillOurs())
        return EEXIST;
    if (::renameat(dir, from, dir, to) == 0)
        return 0;
    const int error = errno;
    if (stillOurs())
        ::unlinkat(dir, to, 0);
    return error;
}

// Each step hands over to the next only when the file system says it lacks the feature.
int renameNoReplace(int dir, const char* from, const char* to)
{
    int error = 0;
    if (g_firstRoute == RenameRoute::NoReplaceFlag) {
        error = renameNoReplaceFlag(dir, from, to);
        if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP)
            return error;
    }
    if (g_firstRoute != RenameRoute::CheckThenRename) {
        error = renameByLink(dir, from, to);
        if (error != EPERM && error != EOPNOTSUPP && error != EMLINK)
            return error;
    }
    return renameOverReservation(dir, from, to);
}

// Whether the folder lists an entry spelled exactly `name`, byte for byte. A file system
// that folds case answers a lookup of any spelling with the one entry it has, and some
// (FUSE mounts of FAT and exFAT) even give each spelling its own inode number, so only
// the listing tells a second entry from another spelling of the first.
bool listsExactly(int dir, const QByteArray& name)
{
    bool found = false;
    const bool read = visitNames(dir, [&](const char* entry) {
        found = name == entry;
        return !found;
    });
    return found || !read; // cannot tell: the name counts as taken, which refuses the rename
}

// The steps of one rename on disk, each told to the observer before it is taken.
class Steps
{
public:
    Steps(int dir, const FileIdentity& folder, RenameObserver* observer)
        : m_dir(dir), m_folder(folder), m_observer(observer)
    {}

    int dir() const { return m_dir; }
    // 0, the system's errno, or ECANCELED when the observer refused the step.
    int take(const char* from, const char* to)
    {
        if (m_observer && !m_observer->beforeStep(from, to, identityOf(from), m_folder)) {
            m_refused = true;
            return ECANCELED;
        }
        const int error = renameNoReplace(m_dir, from, to);
        if (error != 0 && m_observer)
            m_observer->stepFailed();
        return error;
    }
    RenameOutcome failure(int error) const
    {
        return m_refused ? RenameOutcome{false, ECANCELED, m_observer->refusal()}
                         : pellory::failure(error);
    }

private:
    // The entry the step is about to move, which need not be the file a list showed under
    // that name: another program may have saved a new file over it since.
    FileIdentity identityOf(const char* name) const
    {
        struct stat st;
        if (::fstatat(m_dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return {};
        return {quint64(st.st_dev), quint64(st.st_ino)};
    }

    int m_dir;
    FileIdentity m_folder;
    RenameObserver* m_observer;
    bool m_refused = false;
};

// A case-folding file system looks the new name up as the old entry, so renaming to it
// directly is either refused or does nothing; a detour through a name of our own works.
RenameOutcome renameThroughTemporary(Steps& steps, const char* from, const char* to)
{
    QByteArray temp;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temp = temporaryName();
        error = steps.take(from, temp.constData());
    }
    if (error != 0)
        return steps.failure(error);
    error = steps.take(temp.constData(), to);
    if (error == 0)
        return {true, 0, {}};
    RenameOutcome outcome = steps.failure(error);
    if (steps.take(temp.constData(), from) != 0)
        outcome.description +=
            QCoreApplication::translate("Rename", " (the file is kept as \"%1\")")
                .arg(QFile::decodeName(temp));
    return outcome;
}

// The old name comes from readdir, but a caller's slip must not turn the rename into a
// move to another folder or a rename of some other file.
bool isBareName(const QByteArray& raw)
{
    return !raw.isEmpty() && raw != "." && raw != ".." && !raw.contains('/') && !raw.contains('\0');
}

bool differsOnlyInCase(const QByteArray& oldRaw, const QString& newName)
{
    return QFile::decodeName(oldRaw).compare(newName, Qt::CaseInsensitive) == 0;
}

RenameOutcome renameInFolder(int dir, const FileIdentity& folder, const QByteArray& oldRawName,
                             const QByteArray& to, RenameObserver* observer)
{
    const char* from = oldRawName.constData();
    if (oldRawName == to) {
        struct stat st;
        return ::fstatat(dir, from, &st, AT_SYMLINK_NOFOLLOW) == 0 ? RenameOutcome{true, 0, {}}
                                                                   : failure(errno);
    }
    Steps steps(dir, folder, observer);
    const int error = steps.take(from, to.constData());
    if (error == 0)
        return {true, 0, {}};
    // EEXIST for another spelling of the same name: either a second entry (two hard links
    // on a case-sensitive folder) or the file itself seen through a folding lookup.
    if (error == EEXIST && differsOnlyInCase(oldRawName, QFile::decodeName(to)) &&
        !listsExactly(dir, to))
        return renameThroughTemporary(steps, from, to.constData());
    return steps.failure(error);
}

RenameOutcome refusal(const QByteArray& oldRawName, const QByteArray& newRawName)
{
    if (!isBareName(newRawName))
        return {false, EINVAL, invalidNameReason(QFile::decodeName(newRawName))};
    // Decoding never makes a name shorter, so the reason names the length too.
    if (newRawName.size() > NAME_MAX)
        return {false, ENAMETOOLONG, invalidNameReason(QFile::decodeName(newRawName))};
    if (!isBareName(oldRawName))
        return {false, EINVAL,
                QCoreApplication::translate("Rename", "The old name is not a name in the folder")};
    return {true, 0, {}};
}

FileIdentity identityOf(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino)};
}

} // namespace

FileIdentity identityOfPath(const QByteArray& path)
{
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino)};
}

QByteArray temporaryName()
{
    return ".pellory-" + QByteArray::number(QRandomGenerator::global()->generate64(), 16) + ".tmp";
}

bool isTemporaryName(QByteArrayView name)
{
    constexpr qsizetype kAround = sizeof(".pellory-.tmp") - 1;
    // Asked twice per file of an undo: most names are told by their first byte.
    if (name.size() <= kAround || name.front() != '.' || !name.startsWith(".pellory-") ||
        !name.endsWith(".tmp"))
        return false;
    const QByteArrayView digits = name.sliced(9, name.size() - kAround);
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return std::isxdigit(uchar(c)); });
}

QByteArray newRawName(const QByteArray& oldRawName, const QString& newName)
{
    // Most names are plain ASCII, which reads the same in every encoding: compared as they
    // stand, without decoding the old name for every file of a run.
    const bool ascii =
        std::all_of(oldRawName.cbegin(), oldRawName.cend(), [](char c) { return uchar(c) < 0x80; });
    const bool same =
        ascii ? QLatin1StringView(oldRawName) == newName : QFile::decodeName(oldRawName) == newName;
    return same ? oldRawName : QFile::encodeName(newName);
}

QString invalidNameReason(const QString& newName)
{
    if (newName.isEmpty())
        return QCoreApplication::translate("Rename", "The new name may not be empty");
    if (newName == u"." || newName == u"..")
        return QCoreApplication::translate("Rename", "The new name may not be \"%1\"").arg(newName);
    if (newName.contains(u'/'))
        return QCoreApplication::translate("Rename", "The new name may not contain \"/\"");
    if (newName.contains(QChar(0)))
        return QCoreApplication::translate("Rename",
                                           "The new name may not contain a NUL character");
    // A code unit takes at most three bytes on disk, so short names need no encoding.
    if (newName.size() > NAME_MAX / 3 && QFile::encodeName(newName).size() > NAME_MAX)
        return QCoreApplication::translate("Rename", "The new name may not be longer than %1 bytes")
            .arg(NAME_MAX);
    return {};
}

RenameOutcome FileRenamer::renameRaw(const QByteArray& folder, const QByteArray& oldRawName,
                                     const QByteArray& newRawName, RenameObserver* observer)
{
    const QString newName = QFile::decodeName(newRawName);
    if (QFile::encodeName(newName) != newRawName)
        return {false, EINVAL,
                QCoreApplication::translate("Rename", "The new name is not valid text")};
    return rename(folder, oldRawName, newName, observer);
}

SystemRenamer::SystemRenamer() = default;

SystemRenamer::~SystemRenamer()
{
    forgetFolder();
}

void SystemRenamer::forgetFolder()
{
    m_dir = FolderFd();
    m_dirIdentity = {};
    m_folder.clear();
}

void SystemRenamer::releaseWhenIdle()
{
    if (!m_idle && QAbstractEventDispatcher::instance()) {
        m_idle = std::make_unique<QTimer>();
        m_idle->setSingleShot(true);
        m_idle->callOnTimeout([this] {
            const qint64 idle = monotonicMs() - m_lastUse;
            if (idle >= kKeepOpenMs)
                forgetFolder();
            else
                m_idle->start(int(kKeepOpenMs - idle));
        });
    }
    if (m_idle)
        m_idle->start(int(kKeepOpenMs));
}

RenameOutcome SystemRenamer::rename(const QByteArray& folder, const QByteArray& oldRawName,
                                    const QString& newName, RenameObserver* observer)
{
    return renameRaw(folder, oldRawName, newRawName(oldRawName, newName), observer);
}

RenameOutcome SystemRenamer::renameRaw(const QByteArray& folder, const QByteArray& oldRawName,
                                       const QByteArray& newRawName, RenameObserver* observer)
{
    RenameOutcome refused = refusal(oldRawName, newRawName);
    if (!refused.ok)
        return refused;
    // A batch renames one file after another in one folder, so the folder stays open while
    // the calls keep coming; after a pause the path is looked up afresh, since the user
    // may have replaced the folder meanwhile.
    const qint64 now = monotonicMs();
    if (m_dir.fd() < 0 || folder != m_folder || now - m_lastUse > kKeepOpenMs) {
        forgetFolder();
        FolderFd opened(AT_FDCWD, folder, O_PATH);
        if (opened.fd() < 0)
            return failure(errno);
        m_dir = std::move(opened);
        m_dirIdentity = identityOf(m_dir.fd());
        m_folder = folder;
        releaseWhenIdle();
    }
    m_lastUse = now;
    RenameOutcome outcome =
        renameInFolder(m_dir.fd(), m_dirIdentity, oldRawName, newRawName, observer);
    if (outcome.error == ENOENT) {
        // The folder may have been replaced under the open handle within a batch.
        FolderFd fresh(AT_FDCWD, folder, O_PATH);
        const FileIdentity freshIdentity =
            fresh.fd() >= 0 ? identityOf(fresh.fd()) : FileIdentity{};
        if (fresh.fd() >= 0 && !(freshIdentity == m_dirIdentity)) {
            m_dir = std::move(fresh);
            m_dirIdentity = freshIdentity;
            return renameInFolder(m_dir.fd(), m_dirIdentity, oldRawName, newRawName, observer);
        }
    }
    return outcome;
}

FileRenamer& currentRenamer()
{
    static SystemRenamer system;
    return g_installed ? *g_installed : system;
}

void installRenamer(FileRenamer* renamer)
{
    g_installed = renamer;
}

bool dropLeftReservation(const QByteArray& folder, const QByteArray& from, const QByteArray& to,
                         qint64 sinceMs)
{
    if (!isBareName(from) || !isBareName(to) || from == to)
        return false;
    const FolderFd dir(AT_FDCWD, folder, O_RDONLY | O_DIRECTORY);
    struct stat file, left;
    if (dir.fd() < 0 || ::fstatat(dir.fd(), from.constData(), &file, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::fstatat(dir.fd(), to.constData(), &left, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    // FAT keeps write times to 2 s.
    const qint64 writtenMs = qint64(left.st_mtim.tv_sec) * 1000 + left.st_mtim.tv_nsec / 1000000;
    if (!S_ISREG(left.st_mode) || left.st_size != 0 || sameFile(file, left) ||
        writtenMs < sinceMs - 2000)
        return false;
    // Where case is folded both lookups may find one file, which must not go: only the
    // listing tells two entries apart.
    int listed = 0;
    const bool read = visitNames(dir.fd(), [&](const char* name) {
        listed += (from == name) + (to == name);
        return listed < 2;
    });
    return read && listed == 2 && ::unlinkat(dir.fd(), to.constData(), 0) == 0;
}

void setFirstRenameRoute(RenameRoute route)
{
    g_firstRoute = route;
}

void setAfterReservingHook(std::function<void(int dir, const char* reserved)> hook)
{
    g_afterReserving = std::move(hook);
}

} // namespace pellory

#include "platform/Rename.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace pellory {

namespace {

RenameRoute g_firstRoute = RenameRoute::NoReplaceFlag;
FileRenamer* g_installed = nullptr;

class FolderFd
{
public:
    FolderFd(const QString& folder, int flags)
        : m_fd(::open(QFile::encodeName(folder).constData(), flags | O_DIRECTORY | O_CLOEXEC))
    {}
    ~FolderFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderFd(const FolderFd&) = delete;
    FolderFd& operator=(const FolderFd&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

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

int renameAfterCheck(int dir, const char* from, const char* to)
{
    struct stat st;
    if (::fstatat(dir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::renameat(dir, from, dir, to) == 0 ? 0 : errno;
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
    return renameAfterCheck(dir, from, to);
}

bool sameFile(int dir, const char* a, const char* b)
{
    struct stat sa, sb;
    return ::fstatat(dir, a, &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(dir, b, &sb, AT_SYMLINK_NOFOLLOW) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

QByteArray temporaryName()
{
    return ".pellory-" + QByteArray::number(QRandomGenerator::global()->generate64(), 16) + ".tmp";
}

// A case-folding file system looks the new name up as the old entry, so renaming to it
// directly is either refused or does nothing; a detour through a name of our own works.
RenameOutcome renameThroughTemporary(int dir, const char* from, const char* to)
{
    QByteArray temp;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temp = temporaryName();
        error = renameNoReplace(dir, from, temp.constData());
    }
    if (error != 0)
        return failure(error);
    error = renameNoReplace(dir, temp.constData(), to);
    if (error == 0)
        return {true, 0, {}};
    RenameOutcome outcome = failure(error);
    if (renameNoReplace(dir, temp.constData(), from) != 0)
        outcome.description +=
            QStringLiteral(" (the file is kept as \"%1\")").arg(QFile::decodeName(temp));
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

} // namespace

QString invalidNameReason(const QString& newName)
{
    if (newName.isEmpty())
        return QStringLiteral("The new name may not be empty");
    if (newName == u"." || newName == u"..")
        return QStringLiteral("The new name may not be \"%1\"").arg(newName);
    if (newName.contains(u'/'))
        return QStringLiteral("The new name may not contain \"/\"");
    if (newName.contains(QChar(0)))
        return QStringLiteral("The new name may not contain a NUL character");
    return {};
}

RenameOutcome renameInPlace(const QString& folder, const QByteArray& oldRawName,
                            const QString& newName)
{
    const QString refusal = invalidNameReason(newName);
    if (!refusal.isEmpty())
        return {false, EINVAL, refusal};
    if (!isBareName(oldRawName))
        return {false, EINVAL, QStringLiteral("The old name is not a name in the folder")};
    const FolderFd dir(folder, O_PATH);
    if (dir.fd() < 0)
        return failure(errno);
    const QByteArray to = QFile::encodeName(newName);
    const char* from = oldRawName.constData();
    if (oldRawName == to) {
        struct stat st;
        return ::fstatat(dir.fd(), from, &st, AT_SYMLINK_NOFOLLOW) == 0 ? RenameOutcome{true, 0, {}}
                                                                        : failure(errno);
    }
    const int error = renameNoReplace(dir.fd(), from, to.constData());
    if (error == 0)
        return {true, 0, {}};
    if (error == EEXIST && differsOnlyInCase(oldRawName, newName) &&
        sameFile(dir.fd(), from, to.constData()))
        return renameThroughTemporary(dir.fd(), from, to.constData());
    return failure(error);
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

FolderLookup::FolderLookup(const QString& folder)
    : m_fd(::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{}

FolderLookup::~FolderLookup()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderLookup::contains(const QByteArray& rawName) const
{
    struct stat st;
    return m_fd >= 0 && ::fstatat(m_fd, rawName.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool folderFoldsCase(const QString& folder)
{
    const FolderFd dir(folder, O_RDONLY);
    if (dir.fd() < 0)
        return false;
    struct statfs fs;
    if (::fstatfs(dir.fd(), &fs) == 0) {
        switch (static_cast<unsigned long>(fs.f_type)) {
        case MSDOS_SUPER_MAGIC: // vfat and msdos
        case 0x2011BAB0UL:      // exfat
        case 0x5346544EUL:      // ntfs and ntfs3
        case 0x7366746EUL:      // ntfs3's own
        case 0xFF534D42UL:      // cifs: the usual servers compare names without case
        case 0xFE534D42UL:      // smb2
            return true;
        default:
            break;
        }
    }
    // ext4 and f2fs folders can fold case one by one, by an inode attribute.
    constexpr int caseFoldFlag = 0x40000000; // FS_CASEFOLD_FL; the ioctl fills an int
    int flags = 0;
    return ::ioctl(dir.fd(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & caseFoldFlag) != 0;
}

void setFirstRenameRoute(RenameRoute route)
{
    g_firstRoute = route;
}

} // namespace pellory

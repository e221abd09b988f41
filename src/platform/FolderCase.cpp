// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Whether a folder folds letter case, and lookups of exact names in a folder: what the
// wildcard rename's planning and the undo ask of a folder before renaming in it.

#include "platform/FolderFd.h"
#include "platform/Rename.h"

#include "platform/DirectoryScan.h"

#include <QSet>

#include <algorithm>
#include <string_view>

#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace pellory {

namespace {

QByteArray swapAsciiCase(QByteArray name)
{
    for (char& c : name)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            c ^= 0x20;
    return name;
}

// Looks up the case-swapped spelling of an entry that has a letter: found while the
// listing does not hold it, the lookup folds case. Only reads, so the user's folder is
// never written to find out.
bool fuseFolderFoldsCase(int dir)
{
    QSet<QByteArray> names;
    visitNames(dir, [&names](const char* name) {
        names.insert(QByteArray(name));
        return true;
    });
    for (const QByteArray& name : std::as_const(names)) {
        const QByteArray swapped = swapAsciiCase(name);
        if (swapped == name || names.contains(swapped))
            continue;
        struct stat st;
        return ::fstatat(dir, swapped.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    }
    return false;
}

} // namespace

FolderLookup::FolderLookup(const QByteArray& folder) : m_dir(AT_FDCWD, folder, O_PATH) {}

bool FolderLookup::contains(const QByteArray& rawName) const
{
    struct stat st;
    return m_dir.fd() >= 0 &&
           ::fstatat(m_dir.fd(), rawName.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool folderFoldsCase(const QByteArray& folder)
{
    const FolderFd dir(AT_FDCWD, folder, O_RDONLY);
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
        case FUSE_SUPER_MAGIC: // fuse and fuseblk: the type says nothing of the names
            return fuseFolderFoldsCase(dir.fd());
        default:
            break;
        }
    }
    // ext4 and f2fs folders can fold case one by one, by an inode attribute.
    constexpr int caseFoldFlag = 0x40000000; // FS_CASEFOLD_FL; the ioctl fills an int
    int flags = 0;
    return ::ioctl(dir.fd(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & caseFoldFlag) != 0;
}

} // namespace pellory

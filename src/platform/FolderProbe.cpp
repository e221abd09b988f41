// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/FolderProbe.h"

#include "platform/FolderFd.h"
#include "platform/Rename.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace pellory {

FolderProbe::FolderProbe(const QByteArray& folder)
    : m_fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    struct statfs fs;
    m_stableInodes = ::fstatfs(m_fd, &fs) != 0 || fs.f_type != FUSE_SUPER_MAGIC;
    m_foldsCase = folderFoldsCase(folder);
}

FolderProbe::~FolderProbe()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<quint64> FolderProbe::inodeOf(const QByteArray& name) const
{
    struct stat st;
    if (m_fd < 0 || ::fstatat(m_fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return quint64(st.st_ino);
}

bool FolderProbe::listsExactly(const QByteArray& name)
{
    if (!m_foldsCase)
        return inodeOf(name).has_value();
    if (!m_names) {
        m_names.emplace();
        visitNames(m_fd, [this](const char* entry) {
            m_names->insert(QByteArray(entry));
            return true;
        });
    }
    return m_names->contains(name);
}

void FolderProbe::renamed(const QByteArray& from, const QByteArray& to)
{
    if (!m_names)
        return;
    m_names->remove(from);
    m_names->insert(to);
}

} // namespace pellory

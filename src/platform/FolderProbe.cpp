// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/FolderProbe.h"

#include "platform/FolderFd.h"
#include "platform/Rename.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <string_view>
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
    const bool typeKnown = ::fstatfs(m_fd, &fs) == 0;
    m_stableInodes = !typeKnown || fs.f_type != FUSE_SUPER_MAGIC;
    m_layered = !typeKnown || fs.f_type == OVERLAYFS_SUPER_MAGIC;
    m_foldsCase = folderFoldsCase(folder);
}

FolderProbe::~FolderProbe()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

size_t hashOf(const char* name, size_t size)
{
    return std::hash<std::string_view>()(std::string_view(name, size));
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

void FolderProbe::listInodes()
{
    if (m_fd < 0 || m_listed || !m_stableInodes || m_foldsCase || m_layered)
        return;
    FolderReader dir(FolderFd(m_fd, ".", O_RDONLY | O_DIRECTORY));
    if (!dir.isOpen())
        return;
    std::vector<Listed> listed;
    bool tested = false;
    while (const dirent* entry = dir.next()) {
        const size_t size = std::strlen(entry->d_name);
        if (!tested && !isDotOrDotDot(entry->d_name)) {
            // A file system layered over another may list the inode of the layer the file
            // lies in, not the one it gives a lookup; where the first entry shows that,
            // every name is looked up.
            struct stat st;
            if (::fstatat(m_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
                st.st_ino != entry->d_ino)
                return;
            tested = true;
        }
        listed.push_back({hashOf(entry->d_name, size), quint64(entry->d_ino),
                          quint32(m_listedNames.size()), quint32(size), false});
        m_listedNames.append(entry->d_name, size);
    }
    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return a.hash < b.hash; });
    m_listed = std::move(listed);
}

const FolderProbe::Listed* FolderProbe::listed(const QByteArray& name) const
{
    const size_t hash = hashOf(name.constData(), size_t(name.size()));
    auto it = std::lower_bound(m_listed->begin(), m_listed->end(), hash,
                               [](const Listed& entry, size_t h) { return entry.hash < h; });
    for (; it != m_listed->end() && it->hash == hash; ++it)
        if (std::string_view(m_listedNames).substr(it->at, it->size) ==
            std::string_view(name.constData(), size_t(name.size())))
            return &*it;
    return nullptr;
}

void FolderProbe::forget(const QByteArray& name)
{
    if (const Listed* entry = m_listed ? listed(name) : nullptr)
        (*m_listed)[size_t(entry - m_listed->data())].forgotten = true;
}

std::optional<quint64> FolderProbe::inodeOf(const QByteArray& name) const
{
    // A name the listing does not hold may have come since: it is looked up.
    if (const Listed* entry = m_listed ? listed(name) : nullptr; entry && !entry->forgotten)
        return entry->inode;
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
    forget(from);
    forget(to);
    if (!m_names)
        return;
    m_names->remove(from);
    m_names->insert(to);
}

} // namespace pellory

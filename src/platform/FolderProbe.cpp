// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/FolderProbe.h"

#include "platform/FolderFd.h"
#include "platform/Rename.h"

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

void FolderProbe::listInodes(const std::function<void()>& between)
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
        listed.push_back(
            {quint64(entry->d_ino), quint32(m_listedNames.size()), quint32(size), false});
        m_listedNames.append(entry->d_name, size);
        if (between)
            between();
    }
    // An open table of the entries, each slot the upper half of the name's hash and the
    // entry's place: a lookup is one probe as a rule, where a search of a sorted list took
    // a cache miss per halving, more than the rename it stood beside.
    size_t capacity = 16;
    while (capacity < listed.size() * 2)
        capacity *= 2;
    m_slots.assign(capacity, 0);
    for (size_t i = 0; i < listed.size(); ++i) {
        const Listed& entry = listed[i];
        const size_t hash = hashOf(m_listedNames.data() + entry.at, entry.size);
        size_t slot = hash & (capacity - 1);
        while (m_slots[slot] != 0)
            slot = (slot + 1) & (capacity - 1);
        m_slots[slot] = (quint64(hash) & kHashBits) | (i + 1);
    }
    m_listed = std::move(listed);
}

const FolderProbe::Listed* FolderProbe::listed(const QByteArray& name) const
{
    const std::string_view wanted(name.constData(), size_t(name.size()));
    const size_t hash = hashOf(wanted.data(), wanted.size());
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        if ((m_slots[slot] & kHashBits) != (quint64(hash) & kHashBits))
            continue;
        const Listed& entry = (*m_listed)[(m_slots[slot] & ~kHashBits) - 1];
        if (std::string_view(m_listedNames).substr(entry.at, entry.size) == wanted)
            return &entry;
    }
    return nullptr;
}

void FolderProbe::forget(const QByteArray& name)
{
    if (!m_listed)
        return;
    // The undo forgets the name it has just asked about: found again without a lookup.
    const bool asked =
        m_asked && std::string_view(m_listedNames).substr(m_asked->at, m_asked->size) ==
                       std::string_view(name.constData(), size_t(name.size()));
    if (const Listed* entry = asked ? m_asked : listed(name))
        (*m_listed)[size_t(entry - m_listed->data())].forgotten = true;
}

std::optional<quint64> FolderProbe::inodeOf(const QByteArray& name) const
{
    // A name the listing does not hold may have come since: it is looked up.
    if (m_listed) {
        m_asked = listed(name);
        if (m_asked && !m_asked->forgotten)
            return m_asked->inode;
    }
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

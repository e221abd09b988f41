// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/FolderProbe.h"

#include "platform/DirectoryScan.h"
#include "platform/FolderFd.h"
#include "platform/Rename.h"

#include <chrono>
#include <fcntl.h>
#include <linux/magic.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <system_error>
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
    if (m_early.valid())
        m_early.wait(); // the thread reads through the handle closed here
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {

size_t hashOf(std::string_view name)
{
    return std::hash<std::string_view>()(name);
}

} // namespace

bool FolderProbe::mayList() const
{
    return m_fd >= 0 && !m_listing && !m_early.valid() && m_stableInodes && !m_foldsCase &&
           !m_layered;
}

void FolderProbe::startListing()
{
    if (!mayList())
        return;
    try {
        m_early = std::async(std::launch::async, [fd = m_fd] { return listAt(fd, {}); });
    } catch (const std::system_error&) {
        // No thread to be had: listInodes() lists here.
    }
}

void FolderProbe::listInodes(const std::function<void()>& between)
{
    if (m_early.valid()) {
        while (m_early.wait_for(std::chrono::microseconds(250)) != std::future_status::ready)
            if (between)
                between();
        take(m_early.get());
        return;
    }
    if (mayList())
        take(listAt(m_fd, between));
}

FolderProbe::Listed FolderProbe::listAt(int fd, const std::function<void()>& between)
{
    Listed out;
    std::shared_ptr<const FolderListing> listing = listFolder(fd, ".", between);
    if (!listing)
        return out;
    const std::vector<FolderListing::Entry>& entries = listing->entries();
    if (!entries.empty()) {
        // A file system layered over another may list the inode of the layer the file lies
        // in, not the one it gives a lookup; where the first entry shows that, every name
        // is looked up.
        struct stat st;
        if (::fstatat(fd, listing->cName(entries.front()), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            st.st_ino != entries.front().inode)
            return out;
    }
    // An open table of the entries, each slot the upper half of the name's hash and the
    // entry's place: a lookup is one probe as a rule, where a search of a sorted list took
    // a cache miss per halving, more than the rename it stood beside.
    size_t capacity = 16;
    while (capacity < entries.size() * 2)
        capacity *= 2;
    out.table.assign(capacity, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t hash = hashOf(listing->name(entries[i]));
        size_t slot = hash & (capacity - 1);
        while (out.table[slot] != 0)
            slot = (slot + 1) & (capacity - 1);
        out.table[slot] = (quint64(hash) & kHashBits) | (i + 1);
    }
    out.listing = std::move(listing);
    return out;
}

void FolderProbe::take(Listed listed)
{
    if (!listed.listing)
        return;
    m_slots = std::move(listed.table);
    m_forgotten.assign(listed.listing->entries().size(), false);
    m_listing = std::move(listed.listing);
}

qint64 FolderProbe::listed(const QByteArray& name) const
{
    const std::string_view wanted(name.constData(), size_t(name.size()));
    const size_t hash = hashOf(wanted);
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        if ((m_slots[slot] & kHashBits) != (quint64(hash) & kHashBits))
            continue;
        const qint64 place = qint64(m_slots[slot] & ~kHashBits) - 1;
        if (m_listing->name(m_listing->entries()[size_t(place)]) == wanted)
            return place;
    }
    return -1;
}

void FolderProbe::forget(qint64 place)
{
    if (place >= 0)
        m_forgotten[size_t(place)] = true;
}

std::optional<quint64> FolderProbe::inodeOf(const QByteArray& name) const
{
    return inodeOf(name, placeOf(name));
}

std::optional<quint64> FolderProbe::inodeOf(const QByteArray& name, qint64 place) const
{
    // A name the listing does not hold may have come since: it is looked up.
    if (place >= 0 && !m_forgotten[size_t(place)])
        return m_listing->entries()[size_t(place)].inode;
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

void FolderProbe::renamed(const QByteArray& from, qint64 fromPlace, const QByteArray& to,
                          qint64 toPlace)
{
    forget(fromPlace);
    forget(toPlace);
    if (!m_names)
        return;
    m_names->remove(from);
    m_names->insert(to);
}

} // namespace pellory

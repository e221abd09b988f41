// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/FolderWatch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pellory {

namespace {

constexpr uint32_t kMoves = IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kChanges = IN_ATTRIB | kMoves | IN_CREATE | IN_DELETE | IN_DELETE_SELF;

} // namespace

FolderWatch::FolderWatch(QObject* parent)
    : QObject(parent), m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    listen();
}

void FolderWatch::listen()
{
    if (m_fd < 0)
        return; // no notices to be had: the list follows F5 and the runs only
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        const bool watching = m_wd >= 0;
        drain();
        if (watching)
            emit changed(); // the folder itself removed is a change too
    });
}

FolderWatch::~FolderWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderWatch::drain()
{
    alignas(inotify_event) char buffer[16384];
    bool alive = true;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            break;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->wd == m_wd && (event->mask & (IN_IGNORED | IN_DELETE_SELF)))
                alive = false;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    if (!alive)
        m_wd = -1; // the kernel dropped the watch with the folder
    return alive;
}

void FolderWatch::unwatch()
{
    if (m_wd >= 0)
        ::inotify_rm_watch(m_fd, m_wd);
    m_wd = -1;
    m_paused = false;
}

bool FolderWatch::setMask(uint32_t mask)
{
    // Set up again by path, the watch of the folder found there changes in place; a new
    // one means the path names another folder now.
    const int wd = ::inotify_add_watch(m_fd, m_folder.constData(), mask);
    if (wd == m_wd)
        return true;
    if (wd >= 0)
        ::inotify_rm_watch(m_fd, wd);
    unwatch();
    return false;
}

void FolderWatch::pause()
{
    if (m_wd < 0 || m_paused)
        return;
    // Narrowing a watch is free; widening it again walks nothing, since its entries stay
    // watched for the other changes.
    m_paused = setMask(kChanges & ~kMoves);
    drain();
}

void FolderWatch::watch(const QByteArray& folder)
{
    if (m_fd < 0)
        return;
    struct stat st;
    const bool found = ::stat(folder.constData(), &st) == 0;
    // The same folder still at the same path keeps its watch, emptied of what the caller
    // has read; anything else is watched anew.
    if (drain() && m_wd >= 0 && found && folder == m_folder && quint64(st.st_dev) == m_device &&
        quint64(st.st_ino) == m_inode && (!m_paused || setMask(kChanges))) {
        m_paused = false;
        drain();
        return;
    }
    unwatch();
    m_folder = folder;
    m_device = found ? quint64(st.st_dev) : 0;
    m_inode = found ? quint64(st.st_ino) : 0;
    m_wd = ::inotify_add_watch(m_fd, folder.constData(), kChanges);
    drain(); // the old watch's last notices
}

} // namespace pellory

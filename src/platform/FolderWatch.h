// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Tells when the entries of one folder change on disk (made, removed, renamed, their
// attributes changed), so that the list can follow other programs. Each watch() marks the
// moment the caller read the folder: what changed before it is not told.

#include <QByteArray>
#include <QObject>

#include <cstdint>

class QSocketNotifier;

namespace pellory {

class FolderWatch : public QObject
{
    Q_OBJECT
public:
    explicit FolderWatch(QObject* parent = nullptr);
    ~FolderWatch() override;

    // Watches `folder` (exact bytes) from now on. Changes noticed until now are dropped: the
    // caller has just read the folder. The folder watched already keeps its watch, since
    // setting one up on a big folder costs the system a walk over all of its entries.
    void watch(const QByteArray& folder);
    const QByteArray& folder() const { return m_folder; }
    // Tells of no renames within the folder until the next watch(). For a run: each of its
    // renames would queue two notices, each read back at the run's visits to the event loop
    // (a seventh of a run of a big folder), and the list is read again when the run ends
    // anyway. The watch itself stays, so that taking the renames up again costs no walk.
    void pause();

signals:
    void changed();

private:
    void listen();
    bool drain(); // false when the watch itself ended (the folder went away)
    void unwatch();
    bool setMask(uint32_t mask); // false, unwatched, when the path names another folder now

    int m_fd = -1;
    int m_wd = -1;
    bool m_paused = false; // m_wd is set up without the renames
    QByteArray m_folder;
    quint64 m_device = 0, m_inode = 0; // of the folder watched, which a path may stop naming
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Looks at the entries of one folder, opened once, for the undo: which file carries a name
// now (its inode, looked up on disk at each question), and whether a name is spelled
// exactly so in the folder, which a file system that folds case does not tell by a lookup.
// Reads only; renames nothing.

#include <QByteArray>
#include <QSet>

#include <optional>

namespace pellory {

class FolderProbe
{
public:
    explicit FolderProbe(const QByteArray& folder);
    ~FolderProbe();
    FolderProbe(const FolderProbe&) = delete;
    FolderProbe& operator=(const FolderProbe&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // The folder's device and inode, as a run records them.
    quint64 device() const { return m_device; }
    quint64 inode() const { return m_inode; }
    // False where a file's inode number cannot tell it from another: FUSE mounts of FAT and
    // exFAT give each spelling of a name an inode number of its own.
    bool inodesAreStable() const { return m_stableInodes; }
    bool foldsCase() const { return m_foldsCase; }

    // The inode of the entry that a lookup of `name` finds now (links not followed);
    // nothing when there is none.
    std::optional<quint64> inodeOf(const QByteArray& name) const;
    // Whether the folder lists an entry spelled exactly `name`. Where case is not folded a
    // lookup tells; elsewhere the folder is listed once and kept up by renamed().
    bool listsExactly(const QByteArray& name);
    void renamed(const QByteArray& from, const QByteArray& to);

private:
    int m_fd = -1;
    quint64 m_device = 0, m_inode = 0;
    bool m_stableInodes = true;
    bool m_foldsCase = false;
    std::optional<QSet<QByteArray>> m_names; // read once, only where case is folded
};

} // namespace pellory

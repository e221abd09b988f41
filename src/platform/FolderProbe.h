// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Looks at the entries of one folder, opened once, for the undo: which file carries a name
// now (its inode), and whether a name is spelled exactly so in the folder, which a file
// system that folds case does not tell by a lookup. Reads only; renames nothing.

#include <QByteArray>
#include <QSet>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace pellory {

class FolderListing;

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

    // The inode of the entry that a lookup of `name` finds (links not followed); nothing
    // when there is none. From the listing where there is one and it holds the name, else
    // looked up on disk.
    std::optional<quint64> inodeOf(const QByteArray& name) const;
    // Reads every name's inode from one listing of the folder, for a batch that asks about
    // every file, where a lookup costs a sixth of a rename. Not where the listing's inodes
    // may not be the ones a lookup gives: where case is folded (a lookup finds any
    // spelling), on FUSE (inodes not stable), on an overlay, and where the first entry's
    // listed inode is not the one lstat gives; there every name is looked up as before.
    // The listing is as the folder was when it was read: a caller that renames forgets the
    // two names (renamed()), and one that finds the folder otherwise than the listing said
    // forgets them too (forget()), so that they are looked up from then on.
    // `between` runs after every name listed, for a caller that lets the event loop run.
    void listInodes(const std::function<void()>& between = {});
    // Starts the same listing on a thread of its own, for a caller with other work to do
    // first; listInodes() then waits for it (running `between` meanwhile) and takes it.
    void startListing();
    bool usesListing() const { return m_listing != nullptr; }
    // The listing's place of `name`, or -1 (not listed, or no listing), for a caller that
    // looks many names up at once; the place stays good for the probe's life, and stands
    // for the name in the calls below that take it.
    qint64 placeOf(const QByteArray& name) const { return m_listing ? listed(name) : -1; }
    std::optional<quint64> inodeOf(const QByteArray& name, qint64 place) const;
    void forget(qint64 place);
    // Whether the folder lists an entry spelled exactly `name`. Where case is not folded a
    // lookup tells; elsewhere the folder is listed once and kept up by renamed().
    bool listsExactly(const QByteArray& name);
    void renamed(const QByteArray& from, qint64 fromPlace, const QByteArray& to, qint64 toPlace);

private:
    int m_fd = -1;
    quint64 m_device = 0, m_inode = 0;
    bool m_stableInodes = true;
    bool m_foldsCase = false;
    bool m_layered = false;                  // an overlay: a listing may give a layer's inodes
    std::optional<QSet<QByteArray>> m_names; // read once, only where case is folded

    // See listInodes(): the entries' places in the listing by the upper half of their
    // name's hash, and which of them are forgotten.
    static constexpr quint64 kHashBits = 0xffffffff00000000;
    struct Listed
    {
        std::shared_ptr<const FolderListing> listing; // none where it cannot serve
        std::vector<quint64> table;                   // as m_slots
    };
    static Listed listAt(int fd, const std::function<void()>& between);
    bool mayList() const;
    void take(Listed listed);
    qint64 listed(const QByteArray& name) const; // the entry's place, or -1
    std::future<Listed> m_early;                 // see startListing()
    std::shared_ptr<const FolderListing> m_listing;
    std::vector<quint64> m_slots;
    std::vector<bool> m_forgotten;
};

} // namespace pellory

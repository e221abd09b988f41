// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Real files for the tests: every file of a folder read back by its exact bytes, so that a
// listing shows where each file went and whether anything was lost or overwritten.

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>

#include <algorithm>
#include <cctype>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellory::testing {

// Raw name -> contents of every file of a folder, subfolders' files with their path.
// Read by the bytes: QFile cannot open a name that is not valid UTF-8.
using Listing = QMap<QByteArray, QByteArray>;

inline QByteArray readRaw(const char* path)
{
    QByteArray data;
    char buffer[256];
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        data.append(buffer, n);
    return fd >= 0 && ::close(fd) == 0 ? data : QByteArray("?");
}

inline Listing listFolder(const QString& folder)
{
    static thread_local Listing* out;
    static thread_local size_t skip; // the folder's path and its slash
    Listing listing;
    const QByteArray root = QFile::encodeName(folder);
    out = &listing;
    skip = size_t(root.size()) + 1;
    ::nftw(
        root.constData(),
        [](const char* path, const struct stat*, int type, FTW* at) {
            if (type != FTW_D && at->level > 0)
                out->insert(QByteArray(path + skip), readRaw(path));
            return 0;
        },
        16, FTW_PHYS);
    return listing;
}

inline QByteArrayList contentsOf(const Listing& listing)
{
    QByteArrayList contents = listing.values();
    std::sort(contents.begin(), contents.end());
    return contents;
}

// QTemporaryDir cannot remove names that are not valid UTF-8.
inline void removeInside(const QByteArray& folder)
{
    ::nftw(
        folder.constData(),
        [](const char* path, const struct stat*, int, FTW* at) {
            return at->level > 0 ? ::remove(path) : 0;
        },
        16, FTW_DEPTH | FTW_PHYS);
}

// The inode of the entry itself (a link's own), 0 when there is none.
inline quint64 entryInode(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 ? st.st_ino : 0;
}

inline bool makeFile(const QByteArray& path, const QByteArray& contents)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool ok =
        fd >= 0 && ::write(fd, contents.constData(), size_t(contents.size())) == contents.size();
    return fd >= 0 && ::close(fd) == 0 && ok;
}

// Makes one entry of a folder: "name" a file holding its own name, "name/" a folder,
// "name>target" a symbolic link, "name:target" a hard link. Names are raw bytes and may
// hold a folder part.
inline bool makeEntry(const QString& folder, const QByteArray& line)
{
    const QByteArray at = QFile::encodeName(folder) + '/';
    const QByteArrayList link = line.split('>'), hard = line.split(':');
    if (link.size() > 1)
        return ::symlink(link[1].constData(), (at + link[0]).constData()) == 0;
    if (hard.size() > 1)
        return ::link((at + hard[1]).constData(), (at + hard[0]).constData()) == 0;
    if (line.endsWith('/'))
        return ::mkdir((at + line).constData(), 0755) == 0;
    return makeFile(at + line, line);
}

// Our temporary names (".pellory-", hex digits, ".tmp") as "T", so that a file left under
// one, or a step through one, shows in a fixed form.
inline QByteArray withoutTemporaryNames(QByteArray text)
{
    for (qsizetype at = 0; (at = text.indexOf(".pellory-", at)) >= 0; ++at) {
        qsizetype end = at + 9;
        while (end < text.size() && std::isxdigit(uchar(text[end])))
            ++end;
        if (end > at + 9 && text.mid(end, 4) == ".tmp")
            text.replace(at, end + 4 - at, "T");
    }
    return text;
}

// "name=contents|..." of every file below the folder, sorted by name, byte for byte.
inline QByteArray listing(const QString& folder)
{
    QByteArrayList entries;
    const Listing all = listFolder(folder);
    for (auto it = all.begin(); it != all.end(); ++it)
        entries << it.key() + '=' + it.value();
    return withoutTemporaryNames(entries.join('|'));
}

} // namespace pellory::testing

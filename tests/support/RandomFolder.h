// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Random folders for the rename property tests: names that mix case, blanks, dots, leading
// dots, non-ASCII letters, invalid UTF-8 and spellings that differ only in case, each file
// holding a token of its own so that a later listing shows where every file went.

#include "support/Files.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace pellory::testing {

template <typename T, size_t N> const T& pick(QRandomGenerator& rng, const T (&items)[N])
{
    return items[rng.bounded(int(N))];
}

inline bool chance(QRandomGenerator& rng, int percent)
{
    return int(rng.bounded(100)) < percent;
}

class RandomFolder
{
public:
    RandomFolder(QRandomGenerator& rng, int fileCount)
    {
        // clang-format off
        static const char* const pieces[] = {"IMG", "img", "Photo", "a", "B", "x y", " ", "0001",
            "9", "-", "_", "[1]", "\xc3\x89t\xc3\xa9", "stra\xc3\x9f" "e", "\xc3\x84\xc3\x96",
            "\xe6\x97\xa5\xe6\x9c\xac", "\xf0\x9f\x98\x80", "\xff", "\xc3(", ".", "..", "Report", "z"};
        static const char* const exts[] = {"jpg", "JPG", "Jpeg", "txt", "tar.gz", "", "mp3", "\xfe", "TXT"};
        // clang-format on
        QByteArrayList names; // in the order made, so that a seed repeats a folder
        for (int i = 0; i < fileCount; ++i) {
            QByteArray name;
            if (!names.isEmpty() && chance(rng, 12)) { // another spelling of a name made
                name = names.at(rng.bounded(int(names.size())));
                for (char& c : name)
                    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z' && chance(rng, 60))
                        c ^= 0x20;
            } else {
                name = chance(rng, 10) ? "." : "";
                for (int n = 1 + rng.bounded(4); n > 0; --n)
                    name += pick(rng, pieces);
                if (chance(rng, 75))
                    name += QByteArray(".") + pick(rng, exts);
            }
            if (name != "." && name != ".." &&
                makeFile(path(name), "file " + QByteArray::number(i)))
                names.append(name);
        }
        // Now and then a subfolder, whose name may match the specification too: nothing
        // may move into it, and its own file must stay where it is.
        const QByteArray sub = chance(rng, 50) ? "sub" : "Sub.JPG";
        if (chance(rng, 15) && ::mkdir(path(sub).constData(), 0755) == 0)
            makeFile(path(sub + "/inner.jpg"), "inner file");
    }
    ~RandomFolder() { removeInside(QFile::encodeName(m_dir.path())); }
    RandomFolder(const RandomFolder&) = delete;
    RandomFolder& operator=(const RandomFolder&) = delete;

    QString path() const { return m_dir.path(); }

private:
    QByteArray path(const QByteArray& name) const
    {
        return QFile::encodeName(m_dir.path()) + '/' + name;
    }

    QTemporaryDir m_dir;
};

} // namespace pellory::testing

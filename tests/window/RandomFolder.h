#pragma once
// Random folders for the rename property test: files whose names mix case, blanks, dots,
// leading dots, non-ASCII letters, invalid UTF-8 and spellings that differ only in case,
// each file holding a token of its own so that a later listing shows where every file went.

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellory::testing {

template <typename T, size_t N> const T& pick(QRandomGenerator& rng, const T (&items)[N])
{
    return items[rng.bounded(int(N))];
}

inline bool chance(QRandomGenerator& rng, int percent)
{
    return int(rng.bounded(100)) < percent;
}

// Raw name -> contents of every file of a folder, subfolders included with their path.
using Listing = QMap<QByteArray, QByteArray>;

// Names with invalid UTF-8 cannot pass through QFile, so files are read by their bytes.
inline QByteArray readRaw(const QByteArray& path)
{
    QByteArray data;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    char buffer[256];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        data.append(buffer, n);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0 ? data : QByteArray("?");
}

inline void removeInside(const QByteArray& folder)
{
    DIR* dir = ::opendir(folder.constData());
    while (const dirent* e = dir ? ::readdir(dir) : nullptr) {
        const QByteArray name(e->d_name), path = folder + '/' + name;
        if (name == "." || name == "..")
            continue;
        if (::unlink(path.constData()) != 0) {
            removeInside(path);
            ::rmdir(path.constData());
        }
    }
    if (dir)
        ::closedir(dir);
}

inline void listInto(const QByteArray& folder, const QByteArray& prefix, Listing& out)
{
    DIR* dir = ::opendir(folder.constData());
    while (const dirent* e = dir ? ::readdir(dir) : nullptr) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = folder + '/' + name;
        struct stat st;
        if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            listInto(path, prefix + name + '/', out);
            continue;
        }
        out.insert(prefix + name, readRaw(path));
    }
    if (dir)
        ::closedir(dir);
}

inline Listing listFolder(const QString& folder)
{
    Listing out;
    listInto(QFile::encodeName(folder), {}, out);
    return out;
}

inline QByteArrayList contentsOf(const Listing& listing)
{
    QByteArrayList contents = listing.values();
    std::sort(contents.begin(), contents.end());
    return contents;
}

class RandomFolder
{
public:
    RandomFolder(QRandomGenerator& rng, int fileCount)
    {
        QByteArrayList names; // in the order made, so that a seed repeats a folder
        for (int i = 0; i < fileCount; ++i) {
            const QByteArray name = randomName(rng, names);
            if (!name.isEmpty() && makeFile(name, "file " + QByteArray::number(i)))
                names.append(name);
        }
        // A subfolder now and then, whose name may match the specification too: nothing
        // may move into it, and its own file must stay where it is.
        if (chance(rng, 15)) {
            const QByteArray sub = chance(rng, 50) ? "sub" : "Sub.JPG";
            if (!names.contains(sub) && ::mkdir(path(sub).constData(), 0755) == 0)
                makeFile(sub + "/inner.jpg", "inner file");
        }
    }

    // QTemporaryDir cannot remove names that are not valid UTF-8: empty it by the bytes.
    ~RandomFolder() { removeInside(QFile::encodeName(m_dir.path())); }
    RandomFolder(const RandomFolder&) = delete;
    RandomFolder& operator=(const RandomFolder&) = delete;

    QString path() const { return m_dir.path(); }

    // Either a new random name or, one time in eight, another spelling of one already made.
    static QByteArray randomName(QRandomGenerator& rng, const QByteArrayList& taken)
    {
        static const char* const pieces[] = {"IMG",
                                             "img",
                                             "Photo",
                                             "a",
                                             "B",
                                             "x y",
                                             " ",
                                             "0001",
                                             "9",
                                             "-",
                                             "_",
                                             "[1]",
                                             "\xc3\x89t\xc3\xa9",
                                             "stra\xc3\x9f"
                                             "e",
                                             "\xc3\x84\xc3\x96",
                                             "\xe6\x97\xa5\xe6\x9c\xac",
                                             "\xf0\x9f\x98\x80",
                                             "\xff",
                                             "\xc3(",
                                             ".",
                                             "..",
                                             "Report",
                                             "z"};
        static const char* const exts[] = {"jpg", "JPG", "Jpeg", "txt", "tar.gz",
                                           "",    "mp3", "\xfe", "TXT"};
        for (int attempt = 0; attempt < 8; ++attempt) {
            QByteArray name;
            if (!taken.isEmpty() && chance(rng, 12)) {
                name = swappedCase(rng, taken.at(rng.bounded(int(taken.size()))));
            } else {
                if (chance(rng, 10))
                    name += '.';
                for (int n = 1 + rng.bounded(4); n > 0; --n)
                    name += pick(rng, pieces);
                if (chance(rng, 75))
                    name += QByteArray(".") + pick(rng, exts);
            }
            if (!name.isEmpty() && name != "." && name != ".." && !taken.contains(name))
                return name;
        }
        return {};
    }

private:
    static QByteArray swappedCase(QRandomGenerator& rng, QByteArray name)
    {
        for (char& c : name)
            if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && chance(rng, 60))
                c ^= 0x20;
        return name;
    }

    QByteArray path(const QByteArray& name) const
    {
        return QFile::encodeName(m_dir.path()) + '/' + name;
    }

    bool makeFile(const QByteArray& name, const QByteArray& token)
    {
        const int fd = ::open(path(name).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return false;
        const bool ok = ::write(fd, token.constData(), size_t(token.size())) == token.size();
        ::close(fd);
        return ok;
    }

    QTemporaryDir m_dir;
};

} // namespace pellory::testing

#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellory::test {

namespace {

bool report(bool ok, const char* what, const QByteArray& path)
{
    if (!ok)
        qWarning("%s %s: %s", what, path.constData(), std::strerror(errno));
    return ok;
}

} // namespace

TempFolder::TempFolder() : m_dir(QDir::tempPath() + QStringLiteral("/pellory-XXXXXX")) {}

QByteArray TempFolder::absolute(const QByteArray& name) const
{
    return QFile::encodeName(m_dir.path()) + '/' + name;
}

bool TempFolder::addFile(const QByteArray& name, const QByteArray& contents)
{
    const QByteArray path = absolute(name);
    // O_EXCL: a test that makes the same name twice has a fault of its own.
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (!report(fd >= 0, "create", path))
        return false;
    const bool written =
        ::write(fd, contents.constData(), std::size_t(contents.size())) == contents.size();
    ::close(fd);
    return report(written, "write", path);
}

bool TempFolder::addFolder(const QByteArray& name)
{
    const QByteArray path = absolute(name);
    return report(::mkdir(path.constData(), 0755) == 0, "mkdir", path);
}

bool TempFolder::addSymlink(const QByteArray& name, const QByteArray& target)
{
    const QByteArray path = absolute(name);
    return report(::symlink(target.constData(), path.constData()) == 0, "symlink", path);
}

bool TempFolder::setWriteTime(const QByteArray& name, timespec time)
{
    const QByteArray path = absolute(name);
    const timespec times[2] = {{0, UTIME_OMIT}, time};
    const bool ok = ::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
    return report(ok, "utimensat", path);
}

QByteArray TempFolder::listing(const QByteArray& subfolder) const
{
    DIR* dir = ::opendir(absolute(subfolder).constData());
    if (!dir)
        return "<cannot open>";
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    QByteArray joined;
    for (const QByteArray& name : names)
        joined += (joined.isEmpty() ? "" : "|") + name;
    return joined;
}

QByteArray TempFolder::contents(const QByteArray& name) const
{
    QFile file(QFile::decodeName(absolute(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

} // namespace pellory::test

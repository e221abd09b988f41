// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "camera/CaptureFile.h"

#include "camera/CaptureMetadata.h"
#include "camera/MovieHeader.h"
#include "platform/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace pellory {

namespace {

class FileSource : public ByteSource
{
public:
    explicit FileSource(QFile& file) : m_file(file) {}
    qint64 size() const override { return m_file.size(); }
    qint64 readAt(qint64 offset, char* into, qint64 count) override
    {
        return m_file.seek(offset) ? m_file.read(into, count) : -1;
    }

private:
    QFile& m_file;
};

bool isMovieName(const QByteArray& path)
{
    const QByteArray name = path.toLower();
    return name.endsWith(".mov") || name.endsWith(".mp4") || name.endsWith(".m4v") ||
           name.endsWith(".3gp");
}

CaptureTime movieTime(QFile& file)
{
    FileSource source(file);
    const std::optional<qint64> utc = movieCreationTime(source);
    return utc ? captureFromUtc(*utc, CaptureSource::MovieHeader) : CaptureTime{};
}

// The first `length` bytes of the file; nothing when reading fails.
std::optional<QByteArray> firstBytes(QFile& file, qint64 length)
{
    QByteArray bytes(qsizetype(std::min(length, std::max<qint64>(file.size(), 0))), '\0');
    qint64 done = 0;
    for (qint64 n = 0; done < bytes.size() && file.seek(done) &&
                       (n = file.read(bytes.data() + done, bytes.size() - done)) > 0;)
        done += n;
    if (done < bytes.size() && file.error() != QFileDevice::NoError)
        return std::nullopt;
    bytes.truncate(done);
    return bytes;
}

std::optional<CaptureTime> readOpenFile(QFile& file, bool movieName)
{
    if (movieName)
        return movieTime(file);
    const std::optional<QByteArray> prefix = firstBytes(file, MetadataPrefix);
    if (!prefix)
        return std::nullopt;
    const MetadataRead read = readMetadataTime(*prefix);
    if (read.isMovie)
        return movieTime(file);
    if (!read.wantsMore || prefix->size() < MetadataPrefix)
        return read.time;
    const std::optional<QByteArray> more = firstBytes(file, MetadataReach);
    if (!more)
        return std::nullopt;
    return readMetadataTime(*more).time;
}

} // namespace

std::optional<CaptureTime> readCaptureTime(const QByteArray& path)
{
    const int fd = openRegular(path, O_RDONLY | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return readOpenFile(file, isMovieName(path));
}

} // namespace pellory

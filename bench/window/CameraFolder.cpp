// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

#include "CameraFolder.h"

#include "WindowSteps.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <exiv2/exiv2.hpp>

#include <fcntl.h>
#include <numeric>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellory::bench {

namespace {

// Written into the template where each copy's capture time goes; found there once.
constexpr char kPlaceholder[] = "1999:12:31 23:59:59";

// (number - 1) * factor + shift modulo count, with a factor prime to count: a shuffle.
int shuffled(int number, int count, qint64 factor, int shift)
{
    while (std::gcd(factor, qint64(count)) != 1)
        ++factor;
    return int(((qint64(number) - 1) * factor + shift) % count);
}

QStringList namesBy(int (*rank)(int, int), int count)
{
    QStringList names(count);
    for (int k = 1; k <= count; ++k)
        names[rank(k, count)] = cameraName(QStringLiteral("DSC"), k, count);
    return names;
}

// A picture with detail enough to compress as a photo does, `width` by `height`.
QByteArray photo(int width, int height, int quality)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 noise(width);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(noise() % 16);
            line[x] = qRgb((x * 255 / width + grain) % 256, (y * 255 / height + grain) % 256,
                           ((x + y) * 2 + grain) % 256);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

// The template photo with a camera's metadata, its capture time the placeholder.
QByteArray taggedPhoto()
{
    const QByteArray picture = photo(480, 320, 70);
    const QByteArray thumbnail = photo(160, 120, 75);
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(picture.data()),
                                           long(picture.size()));
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    exif["Exif.Image.Make"] = "Pellory Bench";
    exif["Exif.Image.Model"] = "Camera 1";
    exif["Exif.Image.Orientation"] = "1";
    exif["Exif.Image.Software"] = "Firmware 1.00";
    // What an editor rewrites; a reader of capture times must not take it.
    exif["Exif.Image.DateTime"] = "2026:06:01 12:00:00";
    exif["Exif.Photo.DateTimeOriginal"] = kPlaceholder;
    exif["Exif.Photo.SubSecTimeOriginal"] = "50";
    exif["Exif.Photo.OffsetTimeOriginal"] = "+02:00";
    exif["Exif.Photo.DateTimeDigitized"] = "2000:01:01 00:00:00";
    exif["Exif.Photo.ExposureTime"] = "1/250";
    exif["Exif.Photo.FNumber"] = "28/10";
    exif["Exif.Photo.ISOSpeedRatings"] = "200";
    exif["Exif.Photo.FocalLength"] = "35/1";
    exif["Exif.Photo.PixelXDimension"] = "480";
    exif["Exif.Photo.PixelYDimension"] = "320";
    // A maker note of an unknown make: kept as the bytes it is, as a camera's would be.
    std::vector<Exiv2::byte> note(6 * 1024);
    std::mt19937 bytes(1);
    for (Exiv2::byte& b : note)
        b = Exiv2::byte(bytes());
    Exiv2::DataValue noteValue(Exiv2::undefined);
    noteValue.read(note.data(), long(note.size()), Exiv2::littleEndian);
    exif.add(Exiv2::ExifKey("Exif.Photo.MakerNote"), &noteValue);
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumbnail.data()),
                                            long(thumbnail.size()));
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf data = io.read(long(io.size()));
    return {reinterpret_cast<const char*>(data.pData_), data.size_};
}

} // namespace

int captureRank(int number, int count)
{
    return shuffled(number, count, 7919, count / 3);
}

int writeRank(int number, int count)
{
    return shuffled(number, count, 104729, 0);
}

QStringList namesByCapture(int count)
{
    return namesBy(captureRank, count);
}

QStringList namesByWriteTime(int count)
{
    return namesBy(writeRank, count);
}

QString makeCameraFolder(const QString& folder, int count)
{
    QByteArray bytes;
    try {
        bytes = taggedPhoto();
    } catch (const std::exception& error) {
        return QStringLiteral("the template photo: ") + QString::fromLocal8Bit(error.what());
    }
    const qsizetype at = bytes.indexOf(kPlaceholder);
    if (at < 0 || bytes.indexOf(kPlaceholder, at + 1) >= 0)
        return QStringLiteral("the template photo holds its capture time %1 times")
            .arg(bytes.count(kPlaceholder));
    if (!QDir().mkpath(folder))
        return folder + QStringLiteral(": cannot make it");
    // One second apart from 14 May 2026, 06:00, in capture order; written 2020 onwards.
    const QDateTime first(QDate(2026, 5, 14), QTime(6, 0), Qt::UTC);
    for (int k = 1; k <= count; ++k) {
        const QByteArray taken = first.addSecs(captureRank(k, count))
                                     .toString(QStringLiteral("yyyy:MM:dd hh:mm:ss"))
                                     .toLatin1();
        bytes.replace(at, taken.size(), taken);
        const QByteArray path = QFile::encodeName(folder + u'/' + cameraName("DSC", k, count));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return QString::fromLocal8Bit(path) + QStringLiteral(": ") + qt_error_string(errno);
        const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        const timespec times[2] = {{1600000000 + writeRank(k, count), 0},
                                   {1600000000 + writeRank(k, count), 0}};
        const bool timed = ::futimens(fd, times) == 0;
        if (::close(fd) != 0 || !written || !timed)
            return QString::fromLocal8Bit(path) + QStringLiteral(": ") + qt_error_string(errno);
    }
    return {};
}

} // namespace pellory::bench

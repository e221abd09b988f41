// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "camera/CaptureMetadata.h"

#include <QMutex>

#include <exiv2/exiv2.hpp>

#include <array>

namespace pellory {

namespace {

// A tag longer than this holds no date.
constexpr long LongestText = 64;

struct ExifTags
{
    const char* dateTime;
    const char* subSeconds;
    const char* offset;
    CaptureSource source;
};
constexpr std::array<ExifTags, 2> ExifOrder = {{
    {"Exif.Photo.DateTimeOriginal", "Exif.Photo.SubSecTimeOriginal",
     "Exif.Photo.OffsetTimeOriginal", CaptureSource::ExifOriginal},
    {"Exif.Photo.DateTimeDigitized", "Exif.Photo.SubSecTimeDigitized",
     "Exif.Photo.OffsetTimeDigitized", CaptureSource::ExifDigitized},
}};

// The library's global state is set once, before the first image is read: its log off
// (a damaged file would otherwise write to stderr from the worker threads), BMFF
// (HEIC, AVIF, CR3) on, and the XMP toolkit started with a lock, which makes its
// registrations safe from several threads.
void prepareLibrary()
{
    static QMutex xmpMutex;
    [[maybe_unused]] static const bool ready = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
#if EXIV2_TEST_VERSION(0, 27, 4) && !EXIV2_TEST_VERSION(0, 28, 0)
        Exiv2::enableBMFF(true);
#endif
        return Exiv2::XmpParser::initialize(
            [](void* mutex, bool lock) {
                if (lock)
                    static_cast<QMutex*>(mutex)->lock();
                else
                    static_cast<QMutex*>(mutex)->unlock();
            },
            &xmpMutex);
    }();
}

// A text tag's value up to its first NUL; empty when absent or implausibly long.
template <typename Data, typename Key> std::string textOf(const Data& data, const char* name)
{
    const auto it = data.findKey(Key(name));
    if (it == data.end() || it->size() > LongestText)
        return {};
    std::string text = it->toString();
    return text.substr(0, text.find('\0'));
}

CaptureTime timeIn(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp)
{
    const auto exifText = textOf<Exiv2::ExifData, Exiv2::ExifKey>;
    for (const ExifTags& tags : ExifOrder) {
        if (const auto time =
                parseExifTime(exifText(exif, tags.dateTime), exifText(exif, tags.subSeconds),
                              exifText(exif, tags.offset), tags.source))
            return *time;
    }
    const auto xmpText = textOf<Exiv2::XmpData, Exiv2::XmpKey>;
    if (const auto time =
            parseXmpTime(xmpText(xmp, "Xmp.exif.DateTimeOriginal"), CaptureSource::XmpExifOriginal))
        return *time;
    if (const auto time =
            parseXmpTime(xmpText(xmp, "Xmp.xmp.CreateDate"), CaptureSource::XmpCreateDate))
        return *time;
    return {};
}

// The library's numbers for the video formats it knows when built with its video readers
// (RIFF 20, Matroska 21, QuickTime 22, ASF 24); their headers do not compile on their own.
constexpr int QuickTimeType = 22;

bool isVideo(int type)
{
    return type == 20 || type == 21 || type == QuickTimeType || type == 24;
}

// Formats whose metadata all comes before the image data, so that a read that did not
// run out has seen all of it.
bool keepsMetadataFirst(int type)
{
    return type == Exiv2::ImageType::jpeg || type == Exiv2::ImageType::exv ||
           type == Exiv2::ImageType::xmp;
}

} // namespace

MetadataRead readMetadataTime(QByteArrayView bytes)
{
    prepareLibrary();
    MetadataRead read;
    const auto* data = reinterpret_cast<const Exiv2::byte*>(bytes.data());
    const long size = long(bytes.size());
    bool ranOut = false;
    try {
        const int type = Exiv2::ImageFactory::getType(data, size);
        read.isMovie = type == QuickTimeType;
        // The library's own video readers are not used: movies have theirs, and the
        // other video formats hold no capture time we read.
        if (type == Exiv2::ImageType::none || isVideo(type))
            return read;
        const auto image = Exiv2::ImageFactory::open(data, size);
        try {
            image->readMetadata();
        } catch (...) {
            // What was decoded before the error (the EXIF of a JPEG whose later segments
            // are cut off) still counts.
            ranOut = true;
        }
        read.time = timeIn(image->exifData(), image->xmpData());
        read.wantsMore = !read.time.isValid() && (ranOut || !keepsMetadataFirst(type));
    } catch (...) {
        // Exiv2::AnyError, std::bad_alloc and whatever else the library throws: a file
        // that cannot be read has no capture time.
        read = {};
        read.wantsMore = true;
    }
    return read;
}

} // namespace pellory

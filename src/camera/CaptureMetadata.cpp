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

// The bytes of a TIFF block (an EXIF segment's), in its byte order, each read checked
// against its end.
class TiffBytes
{
public:
    explicit TiffBytes(QByteArrayView bytes) : m_bytes(bytes)
    {
        m_littleEndian = bytes.startsWith("II*\0");
        m_valid = m_littleEndian || bytes.startsWith("MM\0*");
    }
    bool valid() const { return m_valid; }
    std::optional<quint32> number(qsizetype at, int size) const
    {
        if (at < 0 || at > m_bytes.size() - size)
            return std::nullopt;
        quint32 value = 0;
        for (int k = 0; k < size; ++k) {
            const quint32 byte = uchar(m_bytes[at + (m_littleEndian ? size - 1 - k : k)]);
            value = value << 8 | byte;
        }
        return value;
    }
    QByteArrayView slice(qsizetype at, qsizetype size) const
    {
        return at >= 0 && size >= 0 && at <= m_bytes.size() - size ? m_bytes.sliced(at, size)
                                                                   : QByteArrayView();
    }

private:
    QByteArrayView m_bytes;
    bool m_littleEndian = false;
    bool m_valid = false;
};

// The tags of one IFD that the quick reading looks for, by their numbers.
struct FoundTags
{
    std::optional<quint32> exifIfd; // IFD0's pointer to the Exif IFD
    QByteArrayView dateTime, subSeconds, offset;
    bool unusual = false; // a wanted tag of a type or size the library might read otherwise
};

constexpr quint16 ExifIfdPointer = 0x8769, DateTimeOriginal = 0x9003, SubSecTimeOriginal = 0x9291,
                  OffsetTimeOriginal = 0x9011;
constexpr quint16 AsciiType = 2, LongType = 4, IfdType = 13;
constexpr int MostEntries = 1000; // more than any camera writes in one IFD

FoundTags tagsOf(const TiffBytes& tiff, quint32 at)
{
    FoundTags found;
    FoundTags unusual;
    unusual.unusual = true;
    const std::optional<quint32> count = tiff.number(at, 2);
    if (!count || *count > MostEntries)
        return unusual;
    for (quint32 k = 0; k < *count; ++k) {
        const qsizetype entry = qsizetype(at) + 2 + 12 * qsizetype(k);
        const auto tag = tiff.number(entry, 2), type = tiff.number(entry + 2, 2),
                   length = tiff.number(entry + 4, 4), value = tiff.number(entry + 8, 4);
        if (!tag || !type || !length || !value)
            return unusual;
        if (*tag == ExifIfdPointer && !found.exifIfd) {
            if ((*type != LongType && *type != IfdType) || *length != 1)
                found.unusual = true;
            found.exifIfd = *value;
            continue;
        }
        QByteArrayView* text = *tag == DateTimeOriginal     ? &found.dateTime
                               : *tag == SubSecTimeOriginal ? &found.subSeconds
                               : *tag == OffsetTimeOriginal ? &found.offset
                                                            : nullptr;
        if (!text || !text->isNull())
            continue;
        if (*type != AsciiType || *length == 0 || *length > LongestText) {
            found.unusual = true;
            continue;
        }
        *text = *length <= 4 ? tiff.slice(entry + 8, *length) : tiff.slice(*value, *length);
        if (text->isNull())
            found.unusual = true;
    }
    return found;
}

QByteArrayView untilNul(QByteArrayView text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.first(nul);
}

// The TIFF block of a JPEG's first EXIF segment; empty when there is none before the image
// data or the segments do not read plainly.
QByteArrayView jpegExif(QByteArrayView bytes)
{
    if (!bytes.startsWith("\xff\xd8"))
        return {};
    for (qsizetype at = 2; at + 4 <= bytes.size() && uchar(bytes[at]) == 0xff;) {
        const uchar marker = uchar(bytes[at + 1]);
        if (marker == 0xda || marker == 0xd9 || marker == 0xff)
            return {};
        const qsizetype length = uchar(bytes[at + 2]) << 8 | uchar(bytes[at + 3]);
        if (length < 2 || at + 2 + length > bytes.size())
            return {};
        const QByteArrayView payload = bytes.sliced(at + 4, length - 2);
        if (marker == 0xe1 && payload.startsWith(QByteArrayView("Exif\0\0", 6)))
            return payload.sliced(6);
        at += 2 + length;
    }
    return {};
}

} // namespace

std::optional<CaptureTime> quickExifTime(QByteArrayView bytes)
{
    const TiffBytes tiff(jpegExif(bytes));
    const std::optional<quint32> ifd0 = tiff.valid() ? tiff.number(4, 4) : std::nullopt;
    if (!ifd0)
        return std::nullopt;
    const FoundTags image = tagsOf(tiff, *ifd0);
    if (image.unusual || !image.exifIfd)
        return std::nullopt;
    const FoundTags photo = tagsOf(tiff, *image.exifIfd);
    if (photo.unusual)
        return std::nullopt;
    return parseExifTime(untilNul(photo.dateTime), untilNul(photo.subSeconds),
                         untilNul(photo.offset), CaptureSource::ExifOriginal);
}

MetadataRead readMetadataTime(QByteArrayView bytes)
{
    if (const std::optional<CaptureTime> quick = quickExifTime(bytes))
        return {*quick, false, false};
    return libraryMetadataTime(bytes);
}

MetadataRead libraryMetadataTime(QByteArrayView bytes)
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Any bytes as the start of a photo: libexiv2's reading of them ends, throws nothing out,
// and a capture time it gives is a possible one. A time the quick EXIF reading gives is
// the one libexiv2 gives, where libexiv2 gives one. The same bytes also go to the date
// parsers straight, which libexiv2 reaches only with metadata that decodes.

#include "camera/CaptureMetadata.h"

#include <cstdlib>

namespace {

// From 0001-01-01 to 9999-12-31 23:59:59, sub-seconds below one second, offsets within
// 14 hours.
void checkPossible(const pellory::CaptureTime& time)
{
    if (time.isValid() &&
        (time.wallSeconds < -62135596800 || time.wallSeconds > 253402300799 ||
         time.microseconds < 0 || time.microseconds > 999999 || time.offsetMinutes < -840 ||
         time.offsetMinutes > 840 || (!time.hasOffset && time.offsetMinutes != 0)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace pellory;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const MetadataRead read = readMetadataTime(bytes);
    checkPossible(read.time);
    if (read.time.isValid() && (read.wantsMore || read.isMovie))
        std::abort();
    if (const std::optional<CaptureTime> quick = quickExifTime(bytes)) {
        const MetadataRead library = libraryMetadataTime(bytes);
        if (!(read.time == *quick) || (library.time.isValid() && !(library.time == *quick)))
            std::abort();
    }
    // As the three texts of an EXIF time: the first 19 bytes, then the rest cut in two.
    const QByteArrayView rest = bytes.sliced(std::min<qsizetype>(19, bytes.size()));
    const auto exif =
        parseExifTime(bytes.first(bytes.size() - rest.size()), rest.first(rest.size() / 2),
                      rest.sliced(rest.size() / 2), CaptureSource::ExifOriginal);
    checkPossible(exif.value_or(CaptureTime{}));
    checkPossible(parseXmpTime(bytes, CaptureSource::XmpCreateDate).value_or(CaptureTime{}));
    return 0;
}

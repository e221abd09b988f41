// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Finds the capture time in a photo's metadata (EXIF and XMP, read with libexiv2) held in
// memory: the first bytes of a file, never the file itself, so that the library reads
// no further than the caller chose. Every error of the library ends as "no capture time";
// its log is silenced.

#include "camera/CaptureTime.h"

#include <QByteArrayView>

#include <optional>

namespace pellory {

struct MetadataRead
{
    CaptureTime time; // source None when no tag gave a capture time
    // None was found, but the bytes given may be short of the metadata: their reading ran
    // out, or the format (TIFF-based RAW, HEIC, CR3, PNG...) may keep it further in. JPEG
    // holds all of it before its image data.
    bool wantsMore = false;
    bool isMovie = false; // a QuickTime or MPEG-4 movie, whose movie header tells instead
};

// Tries, in this order, the first that holds a possible time: Exif.Photo.DateTimeOriginal
// (with SubSecTimeOriginal and OffsetTimeOriginal), Exif.Photo.DateTimeDigitized (with its
// own two), Xmp.exif.DateTimeOriginal, Xmp.xmp.CreateDate. Never Exif.Image.DateTime,
// which editors rewrite. Safe to call from several threads at once.
// A JPEG's capture time in its usual place is read without the library, which takes
// several times as long as reading the file: quickExifTime first, the library when that
// finds nothing.
MetadataRead readMetadataTime(QByteArrayView bytes);

// The Exif.Photo.DateTimeOriginal of a JPEG's first EXIF segment with its two companions,
// read in a few hundred bytes: nothing when the segment is not plainly there, when a wanted
// tag is not text of a plausible length, or when the time does not parse. Where it gives a
// time, the library gives the same (the metadata fuzzer holds the two to it).
std::optional<CaptureTime> quickExifTime(QByteArrayView bytes);

// The library's reading alone.
MetadataRead libraryMetadataTime(QByteArrayView bytes);

} // namespace pellory

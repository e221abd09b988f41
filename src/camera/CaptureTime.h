// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The moment a photo or a video was taken, as its metadata tells it, and the order of two
// such moments. Parses the metadata's date texts; reads no file.

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace pellory {

// Where a capture time came from, in the order the tags are tried.
enum class CaptureSource : quint8
{
    None, // no capture time: the caller falls back on the modification time
    ExifOriginal,
    ExifDigitized,
    XmpExifOriginal,
    XmpCreateDate,
    MovieHeader,
};

// Sixteen bytes, so that a cache of every file of a big folder stays small.
struct CaptureTime
{
    qint64 wallSeconds = 0;   // the camera's wall clock, seconds since 1970-01-01 00:00:00
    qint32 microseconds = 0;  // the sub-seconds, 0..999999
    qint16 offsetMinutes = 0; // the wall clock's distance from UTC, when hasOffset
    bool hasOffset = false;   // false: the time zone is unknown
    CaptureSource source = CaptureSource::None;

    bool isValid() const { return source != CaptureSource::None; }
    QDateTime wallClock() const; // Qt::LocalTime; invalid when there is no capture time
    bool operator==(const CaptureTime&) const = default;
};
static_assert(sizeof(CaptureTime) == 16);

// An EXIF date-time ("2024:05:01 13:45:07"; "-" also taken between the date's parts)
// with its sub-second digits ("07" is 70 ms) and offset ("+02:00"), both may be empty.
// Nothing when the date-time is blank, malformed or impossible ("0000:00:00 00:00:00",
// a 31 April); sub-seconds or an offset that cannot be read are left out, the time kept.
std::optional<CaptureTime> parseExifTime(QByteArrayView dateTime, QByteArrayView subSeconds,
                                         QByteArrayView offset, CaptureSource source);

// An XMP date ("2024-05-01T13:45:07.25+02:00"): seconds, fraction and zone optional, the
// date and the hour and minute required. Nothing when it cannot be read as such.
std::optional<CaptureTime> parseXmpTime(QByteArrayView text, CaptureSource source);

// A UTC moment (a movie header's) as the computer's wall clock at that moment, with that
// clock's offset, so that the date in a name reads as the day the user lived.
CaptureTime captureFromUtc(qint64 utcSeconds, CaptureSource source);

// What files with a capture time are ordered by: the UTC moment when the offset is known,
// else the wall clock read in the computer's time zone; then the sub-seconds.
struct CaptureKey
{
    qint64 utcSeconds = 0;
    qint32 microseconds = 0;
    bool operator==(const CaptureKey&) const = default;
    bool operator<(const CaptureKey& other) const
    {
        return utcSeconds != other.utcSeconds ? utcSeconds < other.utcSeconds
                                              : microseconds < other.microseconds;
    }
};
CaptureKey captureKey(const CaptureTime& time);

// -1, 0 or +1: earlier keys first; equal keys by the names' bytes (an ordinal comparison),
// so that a burst taken within one sub-second keeps the camera's numbering.
int compareCaptures(const CaptureKey& a, QByteArrayView nameA, const CaptureKey& b,
                    QByteArrayView nameB);

} // namespace pellory

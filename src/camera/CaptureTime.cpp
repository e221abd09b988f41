// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "camera/CaptureTime.h"

#include <QDate>
#include <QTime>

#include <cstring>

namespace pellory {

namespace {

constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 JulianDayOf1970 = 2440588;
// The farthest real time zones lie 14 hours from UTC.
constexpr int LargestOffsetMinutes = 14 * 60;

// Blanks and the NUL bytes that EXIF pads its texts with, off both ends.
QByteArrayView trimmed(QByteArrayView text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\0' || c == '\t'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

// The `count` digits at `at` as a number, -1 when any of them is no digit.
int digitsAt(QByteArrayView text, qsizetype at, qsizetype count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY?MM?DD?hh:mm" at the start of `text`, "?" being any of `dateMarks` for the date's
// separators and any of `timeMarks` between date and time, as a wall clock; then ":ss"
// when `withSeconds`. Nothing for a date or time that does not exist.
std::optional<qint64> wallSecondsAt(QByteArrayView text, const char* dateMarks,
                                    const char* timeMarks, bool withSeconds)
{
    const auto mark = [&](qsizetype at, const char* marks) {
        return at < text.size() && std::strchr(marks, text[at]) != nullptr && text[at] != '\0';
    };
    if (text.size() < 16 || !mark(4, dateMarks) || text[7] != text[4] || !mark(10, timeMarks) ||
        !mark(13, ":"))
        return std::nullopt;
    if (withSeconds && !mark(16, ":"))
        return std::nullopt;
    const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2), minute = digitsAt(text, 14, 2);
    const int second = withSeconds ? digitsAt(text, 17, 2) : 0;
    const QDate date(year, month, day);
    if (year < 1 || !date.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return std::nullopt;
    return (date.toJulianDay() - JulianDayOf1970) * SecondsPerDay + hour * 3600 + minute * 60 +
           second;
}

// "07" -> 70000 us; digits beyond the sixth are dropped. -1 unless all are digits.
qint32 microsecondsOf(QByteArrayView digits)
{
    if (digits.isEmpty())
        return -1;
    for (const char c : digits)
        if (c < '0' || c > '9')
            return -1;
    qint32 value = 0;
    for (qsizetype i = 0; i < 6; ++i)
        value = value * 10 + (i < digits.size() ? digits[i] - '0' : 0);
    return value;
}

// "+02:00" or "-05:30" as minutes east of UTC; nothing when it is anything else.
std::optional<int> offsetMinutesOf(QByteArrayView text)
{
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':')
        return std::nullopt;
    const int hours = digitsAt(text, 1, 2), minutes = digitsAt(text, 4, 2);
    const int total = hours * 60 + minutes;
    if (hours < 0 || minutes < 0 || minutes > 59 || total > LargestOffsetMinutes)
        return std::nullopt;
    return text[0] == '-' ? -total : total;
}

} // namespace

QDateTime CaptureTime::wallClock() const
{
    if (!isValid())
        return {};
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(wallSeconds, Qt::UTC);
    return QDateTime(utc.date(), utc.time(), Qt::LocalTime);
}

std::optional<CaptureTime> parseExifTime(QByteArrayView dateTime, QByteArrayView subSeconds,
                                         QByteArrayView offset, CaptureSource source)
{
    dateTime = trimmed(dateTime);
    const std::optional<qint64> wall =
        dateTime.size() == 19 ? wallSecondsAt(dateTime, ":-", " ", true) : std::nullopt;
    if (!wall)
        return std::nullopt;
    CaptureTime time{*wall, 0, 0, false, source};
    if (const qint32 micro = microsecondsOf(trimmed(subSeconds)); micro >= 0)
        time.microseconds = micro;
    if (const std::optional<int> minutes = offsetMinutesOf(trimmed(offset))) {
        time.offsetMinutes = qint16(*minutes);
        time.hasOffset = true;
    }
    return time;
}

std::optional<CaptureTime> parseXmpTime(QByteArrayView text, CaptureSource source)
{
    text = trimmed(text);
    const bool withSeconds = text.size() > 16 && text[16] == ':';
    const std::optional<qint64> wall =
        text.size() >= 16 ? wallSecondsAt(text, "-", "T ", withSeconds) : std::nullopt;
    if (!wall)
        return std::nullopt;
    CaptureTime time{*wall, 0, 0, false, source};
    QByteArrayView rest = text.sliced(withSeconds ? 19 : 16);
    if (withSeconds && rest.startsWith('.')) {
        qsizetype digits = 1;
        while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
            ++digits;
        time.microseconds = microsecondsOf(rest.sliced(1, digits - 1));
        if (time.microseconds < 0)
            return std::nullopt;
        rest = rest.sliced(digits);
    }
    if (rest == "Z") {
        time.hasOffset = true;
    } else if (const std::optional<int> minutes = offsetMinutesOf(rest)) {
        time.offsetMinutes = qint16(*minutes);
        time.hasOffset = true;
    } else if (!rest.isEmpty()) {
        return std::nullopt;
    }
    return time;
}

CaptureTime captureFromUtc(qint64 utcSeconds, CaptureSource source)
{
    const int offset =
        QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::LocalTime).offsetFromUtc() / 60;
    return {utcSeconds + offset * 60, 0, qint16(offset), true, source};
}

CaptureKey captureKey(const CaptureTime& time)
{
    if (time.hasOffset)
        return {time.wallSeconds - time.offsetMinutes * 60, time.microseconds};
    return {time.wallClock().toSecsSinceEpoch(), time.microseconds};
}

int compareCaptures(const CaptureKey& a, QByteArrayView nameA, const CaptureKey& b,
                    QByteArrayView nameB)
{
    if (a != b)
        return a < b ? -1 : 1;
    const int names = nameA.compare(nameB);
    return names < 0 ? -1 : (names > 0 ? 1 : 0);
}

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "naming/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pellory {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The number's characters with every blank dropped, up to the first character that
// cannot continue it: "[sign]digits[.digits]".
std::string numericPrefix(QStringView text)
{
    std::string out;
    bool seenPoint = false;
    for (QChar c : text) {
        if (isBlank(c))
            continue;
        bool sign = (c == u'-' || c == u'+') && out.empty();
        if (sign || isDigit(c)) {
            out += char(c.unicode());
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            out += '.';
        } else {
            break;
        }
    }
    return out;
}

} // namespace

double leadingNumber(QStringView text)
{
    std::string s = numericPrefix(text);
    bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '-' || s.front() == '+'))
        s.erase(0, 1);
    if (s.find_first_of("0123456789") == std::string::npos)
        return 0.0;
    // from_chars ignores the process locale, whose decimal point may not be ".".
    double value = 0.0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too many digits for a double; a tiny fraction reads as 0.
        std::size_t firstNonZero = s.find_first_of("123456789");
        bool large = firstNonZero != std::string::npos && firstNonZero < s.find('.');
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    double below = std::floor(value);
    double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<qint32> parseInt32(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == u'-' || text[begin] == u'+'))
        negative = text[begin++] == u'-';
    if (begin == end)
        return std::nullopt;
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 magnitude = 0;
    for (qsizetype i = begin; i < end; ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return qint32(negative ? -magnitude : magnitude);
}

} // namespace pellory

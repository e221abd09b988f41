// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "naming/NameCounter.h"

#include "naming/Numbers.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace pellory {

namespace {

constexpr qint64 kAlphabet = 26;

// A position is a capital when lower-casing changes it; everything else, digits
// included, counts as small.
bool isCapital(QChar c)
{
    return QString(c).toLower() != QString(c);
}

bool inCycle(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Adds `steps` unit steps to one position and returns how many times it overflowed,
// which is the number of unit steps the position to its left receives. A position
// counts up by character code; a small one below "A" reaches "A" and from then on is
// a capital, one between "Z" and "a" reaches "a"; a character past the end of its
// alphabet overflows at once. After that every position cycles through 26 letters.
qint64 advancePosition(QChar& c, qint64 steps)
{
    if (steps <= 0)
        return 0;
    qint64 carries = 0;
    if (!inCycle(c)) {
        char16_t code = c.unicode();
        if (isCapital(c) || code > u'z') {
            c = isCapital(c) ? u'A' : u'a';
            carries = 1;
            --steps;
        } else {
            char16_t target = code < u'A' ? u'A' : u'a';
            qint64 distance = target - code;
            if (steps < distance) {
                c = QChar(char16_t(code + steps));
                return 0;
            }
            c = target;
            steps -= distance;
        }
    }
    char16_t first = c <= u'Z' ? u'A' : u'a';
    qint64 total = (c.unicode() - first) + steps;
    c = QChar(char16_t(first + total % kAlphabet));
    return carries + total / kAlphabet;
}

} // namespace

void AdvanceAlpha(QString& text, qint32 increment)
{
    // An empty text has no position to count with; it stays empty.
    if (increment <= 0 || text.isEmpty())
        return;
    qint64 carry = increment;
    for (qsizetype p = text.size() - 1; p >= 0 && carry > 0; --p)
        carry = advancePosition(text[p], carry);
    // Every position overflowed: the first overflow opens a new position at "A" or
    // "a" in the case of the old first one, and the rest count on in it.
    while (carry > 0) {
        text.prepend(QChar(isCapital(text[0]) ? u'A' : u'a'));
        carry = advancePosition(text[0], carry - 1);
    }
}

NameCounter::NameCounter(const RenameSettings& settings) : m_alpha(settings.chkAlpha)
{
    if (m_alpha) {
        std::optional<qint32> increment = parseInt32(settings.AlphaIncrementText);
        m_text = settings.AlphaNumberText;
        m_increment = increment.value_or(0);
        m_valid = increment.has_value() && !m_text.isEmpty();
        return;
    }
    std::optional<qint32> start = parseInt32(settings.StartingNumber);
    std::optional<qint32> increment = parseInt32(settings.NumberIncValue);
    m_value = start.value_or(0);
    m_increment = increment.value_or(0);
    m_width = int(settings.StartingNumber.size());
    m_trim = settings.chkTrim;
    m_valid = start.has_value() && increment.has_value();
}

QString NameCounter::next()
{
    if (!m_valid)
        return {};
    if (m_alpha) {
        QString current = m_text;
        AdvanceAlpha(m_text, qint32(m_increment));
        return current;
    }
    // Written straight into the result: this runs once per file of a run.
    char digits[24];
    const qsizetype length = std::to_chars(digits, digits + sizeof digits, m_value).ptr - digits;
    m_value += m_increment;
    if (m_trim)
        return QString::fromLatin1(digits, length);
    // The padded form keeps the last `width` characters, so a start of "001" fixes
    // the width at three whatever the value.
    QString padded(m_width, u'0');
    const qsizetype kept = std::min<qsizetype>(length, m_width);
    QChar* out = padded.data() + (m_width - kept);
    for (qsizetype k = length - kept; k < length; ++k)
        *out++ = QLatin1Char(digits[k]);
    return padded;
}

bool decimalCounterFits(const RenameSettings& settings, qint64 renameSetCount)
{
    if (!settings.RenameChk || settings.chkAlpha || renameSetCount <= 1)
        return true;
    std::optional<qint32> start = parseInt32(settings.StartingNumber);
    std::optional<qint32> increment = parseInt32(settings.NumberIncValue);
    if (!start || !increment)
        return true; // no counter text is written at all
    // The values written are start .. start + (count - 1) * increment; the sequence is
    // monotonic, so the last one decides.
    qint64 span = 0;
    qint64 last = 0;
    if (__builtin_mul_overflow(renameSetCount - 1, qint64(*increment), &span) ||
        __builtin_add_overflow(qint64(*start), span, &last))
        return false;
    return last >= std::numeric_limits<qint32>::min() && last <= std::numeric_limits<qint32>::max();
}

} // namespace pellory

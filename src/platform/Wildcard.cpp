// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/Wildcard.h"

#include <QChar>

namespace pellory {

namespace {

constexpr char32_t Star = U'*';
constexpr char32_t AnyOne = U'?';

char32_t foldCodePoint(char32_t c)
{
    if (c < 0x80)
        return (c >= U'A' && c <= U'Z') ? c + (U'a' - U'A') : c;
    return QChar::toCaseFolded(c);
}

// Walks a UTF-16 name one code point at a time, folding as it goes, so that no folded
// copy of the name is ever built.
struct Utf16Name
{
    QStringView text;
    bool atEnd(qsizetype i) const { return i >= text.size(); }
    char32_t take(qsizetype& i) const
    {
        const QChar c = text[i++];
        if (c.isHighSurrogate() && i < text.size() && text[i].isLowSurrogate())
            return foldCodePoint(QChar::surrogateToUcs4(c, text[i++]));
        return foldCodePoint(c.unicode());
    }
};

struct AsciiName
{
    std::string_view text;
    bool atEnd(qsizetype i) const { return i >= qsizetype(text.size()); }
    char32_t take(qsizetype& i) const { return foldCodePoint(char32_t(uchar(text[i++]))); }
};

// Greedy: a "*" first takes nothing; on a mismatch the last "*" takes one character
// more and matching resumes right after it. Going back further is never needed,
// because whatever an earlier "*" could take, the last one can take instead.
template <class Name> bool matchFolded(const std::vector<char32_t>& pattern, const Name& name)
{
    const std::size_t end = pattern.size();
    std::size_t p = 0;
    qsizetype n = 0;
    std::size_t afterStar = end + 1; // none yet
    qsizetype starTook = 0;
    while (!name.atEnd(n)) {
        if (p < end && pattern[p] == Star) {
            afterStar = ++p;
            starTook = n;
            continue;
        }
        qsizetype next = n;
        const char32_t c = name.take(next);
        if (p < end && (pattern[p] == AnyOne || pattern[p] == c)) {
            ++p;
            n = next;
            continue;
        }
        if (afterStar > end)
            return false;
        name.take(starTook);
        p = afterStar;
        n = starTook;
    }
    while (p < end && pattern[p] == Star)
        ++p;
    return p == end;
}

bool hasDot(QStringView name)
{
    return name.contains(u'.');
}

bool hasDot(std::string_view name)
{
    return name.find('.') != std::string_view::npos;
}

} // namespace

WildcardMatcher::WildcardMatcher(QStringView pattern)
{
    m_pattern.reserve(pattern.size());
    const Utf16Name source{pattern};
    for (qsizetype i = 0; !source.atEnd(i);) {
        const char32_t c = source.take(i);
        if (c == Star && !m_pattern.empty() && m_pattern.back() == Star)
            continue;
        m_pattern.push_back(c);
    }
    const std::vector<char32_t> starDotStar{Star, U'.', Star};
    m_matchesNothing = m_pattern.empty();
    m_matchesEverything = m_pattern == starDotStar;
    const std::size_t n = m_pattern.size();
    if (n >= 2 && m_pattern[n - 1] == U'.' && m_pattern[n - 2] == Star) {
        m_onlyNamesWithoutDot = true;
        m_pattern.pop_back();
    }
}

bool WildcardMatcher::matches(QStringView name) const
{
    if (m_matchesNothing || m_matchesEverything)
        return m_matchesEverything;
    if (m_onlyNamesWithoutDot && hasDot(name))
        return false;
    return matchFolded(m_pattern, Utf16Name{name});
}

bool WildcardMatcher::matchesAscii(std::string_view name) const
{
    if (m_matchesNothing || m_matchesEverything)
        return m_matchesEverything;
    if (m_onlyNamesWithoutDot && hasDot(name))
        return false;
    return matchFolded(m_pattern, AsciiName{name});
}

} // namespace pellory

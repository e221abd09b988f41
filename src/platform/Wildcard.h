// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Matches one file name against one wildcard pattern ("*", "?", letter case ignored).
// Pure string work: it never looks at the disk and knows nothing of folders.

#include <QStringView>

#include <string_view>
#include <vector>

namespace pellory {

// True when the whole name matches. "*" matches any run (dots and a leading dot
// included), "?" exactly one character, everything else itself under full case folding.
// "*.*" matches every name; a pattern ending in "*." matches only names without a dot.
// An empty pattern matches nothing. The pattern is prepared once, for scanning a whole
// folder: matching a name allocates nothing. Rules in detail:
// - A "character" is one Unicode code point: "?" matches a surrogate pair as a whole,
//   because that is what the user sees as one letter. A lone surrogate counts as one
//   character. Names are not normalised: "e" + combining accent is two characters.
// - Case is ignored by folding both sides one code point at a time with Qt's case
//   folding (the folding QString::toCaseFolded applies), so "*.jpg" matches "ÉTÉ.JPG".
//   That folding maps one code point to one code point: "ß" does not match "ss".
// - "[", "]" and "\" are ordinary characters. Runs of "*" act as one "*".
// - "*.*" is recognised only as the whole pattern (also "**.*"); "a*.*" still needs a dot.
// - Time is O(pattern length x name length) at worst: a mismatch after a "*" returns to
//   the last "*" only, never to earlier ones.
class WildcardMatcher
{
public:
    explicit WildcardMatcher(QStringView pattern);

    bool matches(QStringView name) const;
    // For a name whose bytes are all ASCII (< 0x80), matched without decoding it first.
    bool matchesAscii(std::string_view name) const;

private:
    std::vector<char32_t> m_pattern; // folded code points, stars collapsed
    bool m_matchesNothing = false;
    bool m_matchesEverything = false;
    bool m_onlyNamesWithoutDot = false; // the "*." idiom; its final "." is dropped
};

} // namespace pellory

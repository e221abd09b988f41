#pragma once
// Matches one file name against one wildcard pattern ("*", "?", letter case ignored).

#include <QStringView>

namespace pellory {

// True when the whole name matches. "*" matches any run (dots and a leading dot
// included), "?" exactly one character, everything else itself under full case folding.
// "*.*" matches every name; a pattern ending in "*." matches only names without a dot.
// An empty pattern matches nothing.
bool wildcardMatch(QStringView pattern, QStringView name);

} // namespace pellory

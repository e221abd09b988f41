// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "naming/Companions.h"

#include "naming/RenameSet.h"

#include <algorithm>
#include <array>

namespace pellory {

namespace {

QStringView stemOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.first(dot);
}

// Empty for a name without a ".".
QStringView extOf(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.sliced(dot + 1);
}

bool isOneOf(QStringView ext, std::initializer_list<const char16_t*> extensions)
{
    return std::any_of(extensions.begin(), extensions.end(), [ext](const char16_t* known) {
        return ext.compare(QStringView(known), Qt::CaseInsensitive) == 0;
    });
}

bool isSidecarExtension(QStringView ext)
{
    return isOneOf(ext, {u"XMP", u"THM", u"AAE"});
}

bool isXmp(QStringView ext)
{
    return ext.compare(u"XMP", Qt::CaseInsensitive) == 0;
}

// Whether `candidate` goes with `name` by its stem.
bool sharesStem(QStringView candidate, QStringView name)
{
    const QStringView ext = extOf(candidate);
    if (candidate.lastIndexOf(u'.') < 0 || candidate.compare(name, Qt::CaseInsensitive) == 0)
        return false;
    return isRawExtension(ext) || isSidecarExtension(ext) ||
           (isOneOf(ext, {u"JPG", u"JPEG", u"HEIC"}) && isRawExtension(extOf(name)));
}

} // namespace

bool isRawExtension(QStringView ext)
{
    return isOneOf(ext, {u"CR2", u"CR3", u"NEF", u"NRW", u"ARW", u"SRF", u"SR2", u"RAF", u"ORF",
                         u"RW2", u"DNG", u"PEF", u"SRW", u"X3F", u"3FR", u"IIQ"});
}

CompanionFinder::CompanionFinder(QStringList unlisted)
    : m_unlisted(std::move(unlisted)), m_claimed(size_t(m_unlisted.size()), false)
{
    m_byStem.reserve(m_unlisted.size());
    for (qsizetype i = 0; i < m_unlisted.size(); ++i)
        m_byStem.insert(stemOf(m_unlisted[i]).toString().toUpper(), i);
}

QList<qsizetype> CompanionFinder::claim(const QString& name)
{
    QList<qsizetype> found;
    const QString stemKey = stemOf(name).toString().toUpper();
    for (auto it = m_byStem.constFind(stemKey); it != m_byStem.cend() && it.key() == stemKey;
         ++it) {
        if (!m_claimed[size_t(*it)] && sharesStem(m_unlisted[*it], name))
            found << *it;
    }
    // A name with an extension has a second stem: itself, for "name.ext.xmp".
    const QString nameKey = name.toUpper();
    if (nameKey != stemKey) {
        for (auto it = m_byStem.constFind(nameKey); it != m_byStem.cend() && it.key() == nameKey;
             ++it) {
            if (!m_claimed[size_t(*it)] && isXmp(extOf(m_unlisted[*it])))
                found << *it;
        }
    }
    // By name, so that a file's companions come in the same order whatever order the
    // folder lists them in.
    std::sort(found.begin(), found.end(),
              [this](qsizetype a, qsizetype b) { return m_unlisted[a] < m_unlisted[b]; });
    for (const qsizetype i : found)
        m_claimed[size_t(i)] = true;
    return found;
}

QString companionNewName(const QString& companion, const QString& name, const QString& newName)
{
    const QStringView ownExt = QStringView(companion).sliced(companion.lastIndexOf(u'.'));
    const bool wholeName = stemOf(companion).compare(name, Qt::CaseInsensitive) == 0 &&
                           stemOf(name).size() != name.size();
    QString given = (wholeName ? QStringView(newName) : stemOf(newName)).toString();
    return given += ownExt;
}

CompanionNames findCompanionNames(const QStringList& names, const std::vector<bool>& selected,
                                  const QStringList& unlisted)
{
    CompanionFinder finder(unlisted);
    const auto isSelected = [&selected](qsizetype i) {
        return i < qsizetype(selected.size()) && selected[size_t(i)];
    };
    qsizetype selectedCount = 0;
    for (qsizetype i = 0; i < names.size(); ++i)
        selectedCount += isSelected(i);
    CompanionNames result;
    std::vector<bool> taken(size_t(unlisted.size()), false);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!IsInRenameSet(isSelected(i), selectedCount))
            continue;
        const QList<qsizetype> found = finder.claim(names[i]);
        if (found.isEmpty())
            continue;
        result.of.resize(size_t(i) + 1);
        for (const qsizetype at : found) {
            result.of[size_t(i)] << unlisted[at];
            taken[size_t(at)] = true;
        }
    }
    for (qsizetype i = 0; i < unlisted.size(); ++i) {
        if (!taken[size_t(i)])
            result.staying << unlisted[i];
    }
    return result;
}

} // namespace pellory

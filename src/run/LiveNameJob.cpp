// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/LiveNameJob.h"

#include "run/SchemeWalk.h"
#include "run/WildcardName.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <limits>

namespace pellory {

namespace {

// How many rows go between two looks at the clock: a look costs about as much as a row.
constexpr qint32 kRowsPerLook = 16;

} // namespace

QString describeClash(NameClash::Kind kind, const QString& otherName)
{
    switch (kind) {
    case NameClash::Kind::SameNewName:
        return QCoreApplication::translate("LiveNameJob", "Clashes with the new name of \"%1\"")
            .arg(otherName);
    case NameClash::Kind::KeptName:
        return QCoreApplication::translate("LiveNameJob",
                                           "Clashes with \"%1\", which keeps its name")
            .arg(otherName);
    case NameClash::Kind::RenamedLater:
        return QCoreApplication::translate(
                   "LiveNameJob",
                   "Clashes with \"%1\", which has this name until it is renamed later")
            .arg(otherName);
    }
    return {};
}

LiveNameJob::LiveNameJob(std::shared_ptr<const Catalogue> catalogue, std::vector<bool> selected,
                         RenameSettings settings)
    : m_catalogue(std::move(catalogue)),
      m_walk(std::make_unique<SchemeWalk>(m_catalogue, std::move(selected), std::move(settings)))
{
    m_list.counterFits = m_walk->counterFits();
    if (m_list.counterFits)
        m_finals.reserve(size_t(m_catalogue->FileCount()));
}

LiveNameJob::LiveNameJob(std::shared_ptr<const Catalogue> catalogue, QString mask)
    : m_catalogue(std::move(catalogue)), m_mask(std::move(mask))
{
    m_finals.reserve(size_t(m_catalogue->FileCount()));
}

LiveNameJob::~LiveNameJob() = default;

bool LiveNameJob::work(const QDeadlineTimer& deadline)
{
    if (!m_list.counterFits)
        return true;
    const qint32 rows = m_catalogue->FileCount();
    while (m_named < rows) {
        nameNext();
        if (m_named % kRowsPerLook == 0 && deadline.hasExpired())
            return false;
    }
    if (m_checked < 0) {
        sortIndexes();
        m_checked = 0;
    }
    while (m_checked < rows) {
        findClash(m_checked++);
        if (m_checked % kRowsPerLook == 0 && deadline.hasExpired())
            return false;
    }
    return true;
}

// A scheme run compares names as its duplicate check does, letter case aside; a wildcard
// rename compares the bytes on disk, as the folder does.
QString LiveNameJob::oldKey(qint32 row) const
{
    const FileRecord& record = m_catalogue->FileRecords[size_t(row)];
    return m_walk ? record.FileName.toUpper() : QString::fromLatin1(record.RawName);
}

QString LiveNameJob::newKey(const QString& name) const
{
    return m_walk ? name.toUpper() : QString::fromLatin1(QFile::encodeName(name));
}

QString LiveNameJob::finalKey(qint32 row) const
{
    return m_list.newNames.has(row) ? newKey(m_list.newNames.at(row)) : oldKey(row);
}

void LiveNameJob::nameNext()
{
    const qint32 row = m_named++;
    const QString& old = m_catalogue->FileRecords[size_t(row)].FileName;
    const QString name = m_walk ? m_walk->next().name : wildcardNewName(old, m_mask);
    const QString previous = oldKey(row);
    const QString next = newKey(name);
    if (m_walk ? name == old : next == previous) {
        m_list.newNames.addNone();
        m_finals.emplace_back(keyHash(previous), row);
        return;
    }
    m_list.newNames.add(name); // a mask can leave nothing of a name
    m_finals.emplace_back(keyHash(next), row);
    // A wildcard rename steps aside through a temporary name where a file needs the name
    // of one renamed after it; a scheme run renames in list order and cannot.
    if (m_walk)
        m_renamedOlds.emplace_back(keyHash(previous), row);
}

void LiveNameJob::sortIndexes()
{
    std::sort(m_finals.begin(), m_finals.end());
    std::sort(m_renamedOlds.begin(), m_renamedOlds.end());
}

void LiveNameJob::findClash(qint32 row)
{
    if (!m_list.newNames.has(row))
        return;
    const QString mine = newKey(m_list.newNames.at(row));
    const quint32 hash = keyHash(mine);
    const auto range = [hash](const Index& index) {
        return std::make_pair(
            std::lower_bound(index.begin(), index.end(), std::make_pair(hash, qint32(0))),
            std::upper_bound(index.begin(), index.end(),
                             std::make_pair(hash, std::numeric_limits<qint32>::max())));
    };
    for (auto [it, end] = range(m_finals); it != end; ++it) {
        if (it->second != row && finalKey(it->second) == mine) {
            const bool kept = !m_list.newNames.has(it->second);
            m_list.clashes.insert(
                row, {kept ? NameClash::Kind::KeptName : NameClash::Kind::SameNewName, it->second});
            return;
        }
    }
    for (auto [it, end] = range(m_renamedOlds); it != end; ++it) {
        if (it->second > row && oldKey(it->second) == mine) {
            m_list.clashes.insert(row, {NameClash::Kind::RenamedLater, it->second});
            return;
        }
    }
}

} // namespace pellory

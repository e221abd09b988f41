// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/LiveNameJob.h"

#include "run/SchemeWalk.h"
#include "run/WildcardName.h"

#include <QCoreApplication>
#include <QFile>

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
        m_finals.reserve(m_catalogue->FileCount());
}

LiveNameJob::LiveNameJob(std::shared_ptr<const Catalogue> catalogue, QString mask)
    : m_catalogue(std::move(catalogue)), m_mask(std::move(mask))
{
    m_finals.reserve(m_catalogue->FileCount());
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

void LiveNameJob::nameNext()
{
    const qint32 row = m_named++;
    const QString& old = m_catalogue->FileRecords[size_t(row)].FileName;
    const QString name = m_walk ? m_walk->next().name : wildcardNewName(old, m_mask);
    const QString previous = oldKey(row);
    const QString next = newKey(name);
    if (m_walk ? name == old : next == previous) {
        m_list.newNames.addNone();
        m_finals.insert(previous, row);
        return;
    }
    m_list.newNames.add(name); // a mask can leave nothing of a name
    m_finals.insert(next, row);
    // A wildcard rename steps aside through a temporary name where a file needs the name
    // of one renamed after it; a scheme run renames in list order and cannot.
    if (m_walk)
        m_renamedOlds.insert(previous, row);
}

// A clash is told with the first row in the way, in list order.
void LiveNameJob::findClash(qint32 row)
{
    if (!m_list.newNames.has(row))
        return;
    const QString mine = newKey(m_list.newNames.at(row));
    qint32 other = -1;
    for (auto it = m_finals.constFind(mine); it != m_finals.cend() && it.key() == mine; ++it) {
        if (*it != row && (other < 0 || *it < other))
            other = *it;
    }
    if (other >= 0) {
        const bool kept = !m_list.newNames.has(other);
        m_list.clashes.insert(
            row, {kept ? NameClash::Kind::KeptName : NameClash::Kind::SameNewName, other});
        return;
    }
    for (auto it = m_renamedOlds.constFind(mine); it != m_renamedOlds.cend() && it.key() == mine;
         ++it) {
        if (*it > row && (other < 0 || *it < other))
            other = *it;
    }
    if (other >= 0)
        m_list.clashes.insert(row, {NameClash::Kind::RenamedLater, other});
}

} // namespace pellory

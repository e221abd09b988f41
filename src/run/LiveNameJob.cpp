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
                         RenameSettings settings,
                         const std::shared_ptr<const FolderListing>& folder)
    : m_catalogue(std::move(catalogue)),
      m_walk(std::make_unique<SchemeWalk>(m_catalogue, std::move(selected), std::move(settings),
                                          folder))
{
    m_list.counterFits = m_walk->counterFits();
    if (m_list.counterFits)
        m_finals.reserve(m_catalogue->FileCount());
    if (!m_list.counterFits || !m_walk->companionNames())
        return;
    // The folder's other files keep their names: a new name must not fall on one.
    Entry entry = entryOf(m_catalogue->FileCount());
    for (const QString& name : m_walk->companionNames()->staying) {
        m_unlisted.insert(entry, {name, true});
        m_finals.insert(name.toUpper(), entry++);
    }
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
    std::optional<SchemeWalk::Step> step;
    if (m_walk)
        step = m_walk->next();
    const QString name = step ? step->name : wildcardNewName(old, m_mask);
    const QString previous = oldKey(row);
    const QString next = newKey(name);
    if (step ? name == old : next == previous) {
        m_list.newNames.addNone();
        m_finals.insert(previous, entryOf(row));
    } else {
        m_list.newNames.add(name); // a mask can leave nothing of a name
        m_finals.insert(next, entryOf(row));
        // A wildcard rename steps aside through a temporary name where a file needs the
        // name of one renamed after it; a scheme run renames in list order and cannot.
        if (step)
            m_renamedOlds.insert(previous, entryOf(row));
    }
    if (step && !step->companions.empty())
        nameCompanions(row, step->companions, name);
}

void LiveNameJob::nameCompanions(qint32 row, const std::vector<SchemeWalk::Companion>& companions,
                                 const QString& newName)
{
    // Each companion's name is shown by what follows the file's new stem: ".CR2",
    // ".JPG.xmp".
    const qsizetype dot = newName.lastIndexOf(u'.');
    const qsizetype stem = dot < 0 ? newName.size() : dot;
    QString shown;
    qint64 k = 0;
    for (const SchemeWalk::Companion& companion : companions) {
        const Entry entry = entryOf(row, ++k);
        const QString& old = companion.file->name;
        const bool kept = companion.name == old;
        m_unlisted.insert(entry, {old, kept});
        if (kept) {
            m_finals.insert(old.toUpper(), entry);
            continue;
        }
        const QString key = companion.name.toUpper();
        m_finals.insert(key, entry);
        m_renamedOlds.insert(old.toUpper(), entry);
        m_renamedCompanions[row].push_back({entry, key});
        shown += u' ' + companion.name.mid(stem);
    }
    if (!shown.isEmpty())
        m_list.companions.insert(row, QStringLiteral("  +") + shown);
}

// A clash is told with the first row in the way, in list order: the file's own, else its
// first companion's.
void LiveNameJob::findClash(qint32 row)
{
    std::optional<NameClash> clash;
    if (m_list.newNames.has(row))
        clash = clashOf(entryOf(row), newKey(m_list.newNames.at(row)));
    const auto companions = m_renamedCompanions.constFind(row);
    if (!clash && companions != m_renamedCompanions.cend()) {
        for (auto it = companions->begin(); it != companions->end() && !clash; ++it)
            clash = clashOf(it->first, it->second);
    }
    if (clash)
        m_list.clashes.insert(row, *clash);
}

std::optional<NameClash> LiveNameJob::clashOf(Entry entry, const QString& key) const
{
    const auto told = [this](NameClash::Kind kind, Entry other) {
        const auto unlisted = m_unlisted.constFind(other);
        if (unlisted == m_unlisted.cend())
            return NameClash{kind, qint32(other >> 16), {}};
        return NameClash{kind, -1, unlisted->name};
    };
    Entry other = -1;
    for (auto it = m_finals.constFind(key); it != m_finals.cend() && it.key() == key; ++it) {
        if (*it != entry && (other < 0 || *it < other))
            other = *it;
    }
    if (other >= 0) {
        const auto unlisted = m_unlisted.constFind(other);
        const bool kept =
            unlisted == m_unlisted.cend() ? !m_list.newNames.has(other >> 16) : unlisted->kept;
        return told(kept ? NameClash::Kind::KeptName : NameClash::Kind::SameNewName, other);
    }
    for (auto it = m_renamedOlds.constFind(key); it != m_renamedOlds.cend() && it.key() == key;
         ++it) {
        if (*it > entry && (other < 0 || *it < other))
            other = *it;
    }
    if (other >= 0)
        return told(NameClash::Kind::RenamedLater, other);
    return std::nullopt;
}

} // namespace pellory

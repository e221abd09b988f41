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

// The files a run renames or keeps: the rows, their companions and the folder's other files.
qsizetype filesOf(const Catalogue& catalogue, const CompanionNames* companions)
{
    qsizetype files = catalogue.FileCount();
    if (!companions)
        return files;
    for (const QStringList& those : companions->of)
        files += those.size();
    return files + companions->staying.size();
}

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
                                          folder)),
      m_clashes(filesOf(*m_catalogue, m_walk->companionNames()), true)
{
    m_list.counterFits = m_walk->counterFits();
    if (!m_list.counterFits)
        return;
    m_rowOf.reserve(size_t(filesOf(*m_catalogue, m_walk->companionNames())));
    if (!m_walk->companionNames())
        return;
    // The folder's other files keep their names: a new name must not fall on one.
    const QStringList& staying = m_walk->companionNames()->staying;
    for (qsizetype i = staying.size(); i-- > 0;)
        m_clashes.carry(staying[i].toUpper());
}

// A wildcard rename steps aside through a temporary name where a file needs the name of one
// renamed after it, so new names are compared with each other and with the names kept only.
LiveNameJob::LiveNameJob(std::shared_ptr<const Catalogue> catalogue, QString mask)
    : m_catalogue(std::move(catalogue)), m_mask(std::move(mask)),
      m_clashes(m_catalogue->FileCount(), false)
{
    m_rowOf.reserve(size_t(m_catalogue->FileCount()));
}

LiveNameJob::~LiveNameJob() = default;

bool LiveNameJob::work(const QDeadlineTimer& deadline)
{
    if (!m_list.counterFits)
        return true;
    const qint32 rows = m_catalogue->FileCount();
    // A scheme run renames in place: its names before the run are carried first, from the
    // last file, so that each new name is compared with those of the files after it.
    while (m_walk && m_carriedRows < rows) {
        carryNext();
        if (m_carriedRows % kRowsPerLook == 0 && deadline.hasExpired())
            return false;
    }
    while (m_named < rows) {
        nameNext();
        if (m_named % kRowsPerLook == 0 && deadline.hasExpired())
            return false;
    }
    const CompanionNames* companions = m_walk ? m_walk->companionNames() : nullptr;
    while (companions && m_stayingGiven < companions->staying.size()) {
        giveStaying();
        if (m_stayingGiven % kRowsPerLook == 0 && deadline.hasExpired())
            return false;
    }
    const std::vector<Clash>& clashes = m_clashes.clashes();
    while (m_marked < qsizetype(clashes.size())) {
        mark(clashes[size_t(m_marked++)]);
        if (m_marked % kRowsPerLook == 0 && deadline.hasExpired())
            return false;
    }
    markRows();
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

void LiveNameJob::carryNext()
{
    const qint32 row = m_catalogue->FileCount() - 1 - m_carriedRows++;
    const CompanionNames* companions = m_walk->companionNames();
    if (companions && size_t(row) < companions->of.size()) {
        const QStringList& those = companions->of[size_t(row)];
        for (qsizetype k = those.size(); k-- > 0;)
            m_clashes.carry(those[k].toUpper());
    }
    m_clashes.carry(oldKey(row));
}

void LiveNameJob::nameNext()
{
    const qint32 row = m_named++;
    const QString& old = m_catalogue->FileRecords[size_t(row)].FileName;
    m_rowOf.push_back(row);
    if (!m_walk) {
        const QString name = wildcardNewName(old, m_mask);
        const QString previous = oldKey(row);
        const QString next = newKey(name);
        if (next == previous) {
            m_list.newNames.addNone();
            m_clashes.give(previous);
        } else {
            m_list.newNames.add(name); // a mask can leave nothing of a name
            m_clashes.give(next);
        }
        return;
    }
    const SchemeWalk::Step step = m_walk->next();
    if (step.name == old) {
        m_list.newNames.addNone();
        m_clashes.give(m_clashes.carried(m_clashes.given()));
    } else {
        m_list.newNames.add(step.name);
        m_clashes.give(newKey(step.name));
    }
    if (!step.companions.empty())
        nameCompanions(row, step.companions, step.name);
}

void LiveNameJob::nameCompanions(qint32 row, const std::vector<SchemeWalk::Companion>& companions,
                                 const QString& newName)
{
    // Each companion's name is shown by what follows the file's new stem: ".CR2",
    // ".JPG.xmp".
    const qsizetype dot = newName.lastIndexOf(u'.');
    const qsizetype stem = dot < 0 ? newName.size() : dot;
    QString shown;
    for (const SchemeWalk::Companion& companion : companions) {
        const qsizetype file = m_clashes.given();
        m_rowOf.push_back(row);
        const QString& old = companion.file->name;
        const bool kept = companion.name == old;
        m_unlisted.insert(file, {old, kept});
        if (kept) {
            m_clashes.give(m_clashes.carried(file));
            continue;
        }
        m_clashes.give(companion.name.toUpper());
        shown += u' ' + companion.name.mid(stem);
    }
    if (!shown.isEmpty())
        m_list.companions.insert(row, QStringLiteral("  +") + shown);
}

void LiveNameJob::giveStaying()
{
    const qsizetype file = m_clashes.given();
    m_rowOf.push_back(-1);
    m_unlisted.insert(file, {m_walk->companionNames()->staying[m_stayingGiven++], true});
    m_clashes.give(m_clashes.carried(file));
}

bool LiveNameJob::renamed(qsizetype file) const
{
    const auto unlisted = m_unlisted.constFind(file);
    return unlisted == m_unlisted.cend() ? m_list.newNames.has(m_rowOf[size_t(file)])
                                         : !unlisted->kept;
}

LiveNameJob::Mark LiveNameJob::sameName(qsizetype other) const
{
    return {renamed(other) ? NameClash::Kind::SameNewName : NameClash::Kind::KeptName, other};
}

// A file whose new name another file is given too, or keeps, is told of the first such file
// in run order, whether before it or after it; only when there is none, of the first later
// file that still carries the name.
void LiveNameJob::mark(const Clash& clash)
{
    if (clash.kind == Clash::Kind::CarriedLater) {
        m_marks.insert(clash.file, {NameClash::Kind::RenamedLater, clash.other});
        return;
    }
    m_marks.insert(clash.file, sameName(clash.other));
    Mark& first = m_marks[clash.other]; // the first file given the name
    if (first.other < 0 || first.kind == NameClash::Kind::RenamedLater)
        first = sameName(clash.file);
}

// A row tells the clash of its own new name, else its first renamed companion's.
void LiveNameJob::markRows()
{
    QHash<qint32, qsizetype> told; // a row, its first file with a clash, one past
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        if (!renamed(it.key()))
            continue;
        qsizetype& first = told[m_rowOf[size_t(it.key())]];
        if (first == 0 || first > it.key())
            first = it.key() + 1;
    }
    for (auto it = told.cbegin(); it != told.cend(); ++it) {
        const Mark& mark = m_marks[it.value() - 1];
        const auto unlisted = m_unlisted.constFind(mark.other);
        m_list.clashes.insert(it.key(), unlisted == m_unlisted.cend()
                                            ? NameClash{mark.kind, m_rowOf[size_t(mark.other)], {}}
                                            : NameClash{mark.kind, -1, unlisted->name});
    }
}

} // namespace pellory

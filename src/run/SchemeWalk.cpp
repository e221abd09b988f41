// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/SchemeWalk.h"

#include "naming/Compose.h"
#include "naming/RenameSet.h"
#include "platform/Rename.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>

#include <dirent.h>

#include <algorithm>
#include <limits>

namespace pellory {

SchemeWalk::SchemeWalk(std::shared_ptr<const Catalogue> catalogue, std::vector<bool> selected,
                       RenameSettings settings, const std::shared_ptr<const FolderListing>& folder)
    : m_catalogue(std::move(catalogue)), m_selected(std::move(selected)),
      m_settings(std::move(settings))
{
    m_selected.resize(m_catalogue->FileRecords.size(), false);
    m_selectedCount = int(std::count(m_selected.begin(), m_selected.end(), true));
    // The counter belongs to this walk: every run starts again from the fields.
    if (m_settings.RenameChk)
        m_counter.emplace(m_settings);
    if (folder)
        findCompanions(*folder);
}

void SchemeWalk::findCompanions(const FolderListing& folder)
{
    QSet<QByteArray> listed;
    listed.reserve(fileCount());
    for (const FileRecord& record : m_catalogue->FileRecords)
        listed.insert(record.RawName);
    QStringList unlisted;
    std::vector<quint32> positions; // in the listing, of each unlisted name
    const std::vector<FolderListing::Entry>& entries = folder.entries();
    for (quint32 i = 0; i < entries.size(); ++i) {
        const std::string_view raw = folder.name(entries[i]);
        if (listed.contains(QByteArray(raw.data(), qsizetype(raw.size()))))
            continue;
        unlisted << QFile::decodeName(QByteArray(raw.data(), qsizetype(raw.size())));
        positions.push_back(i);
    }
    // Every file's claims first, so that the claimed entries are looked at in one pass.
    // Folders are no companions, as they are no listed files; a name one claims is no other
    // file's companion either, so a folder's name stays with nobody.
    CompanionFinder finder(unlisted);
    std::vector<std::pair<size_t, qsizetype>> claims; // row, position in unlisted
    std::vector<quint32> looked;
    for (size_t row = 0; row < m_catalogue->FileRecords.size(); ++row) {
        if (!IsInRenameSet(isSelected(row), m_selectedCount))
            continue;
        for (const qsizetype at : finder.claim(m_catalogue->FileRecords[row].FileName)) {
            if (entries[positions[size_t(at)]].type == DT_DIR)
                continue;
            claims.emplace_back(row, at);
            looked.push_back(positions[size_t(at)]);
        }
    }
    const std::vector<ListedStat> seen = describeListedFiles(folder, looked);
    auto found = std::make_shared<Companions>();
    std::vector<bool> taken(positions.size(), false);
    for (size_t i = 0; i < seen.size(); ++i) {
        const auto [row, at] = claims[i];
        if (!seen[i].isFile) // a link to a folder, or gone
            continue;
        const std::string_view raw = folder.name(entries[looked[i]]);
        found->of.resize(row + 1);
        found->of[row].push_back(
            {unlisted[at], QByteArray(raw.data(), qsizetype(raw.size())), seen[i].inode});
        found->names.of.resize(row + 1);
        found->names.of[row] << unlisted[at];
        taken[size_t(at)] = true;
    }
    for (size_t i = 0; i < positions.size(); ++i) {
        if (!taken[i])
            found->names.staying << unlisted[qsizetype(i)];
    }
    if (!found->of.empty())
        m_companions = std::move(found);
}

bool SchemeWalk::counterFits() const
{
    return decimalCounterFits(m_settings, renameSetSize());
}

QStringList SchemeWalk::fileNames() const
{
    QStringList names;
    names.reserve(fileCount());
    for (const FileRecord& record : m_catalogue->FileRecords)
        names.append(record.FileName);
    return names;
}

QList<QDateTime> SchemeWalk::fileDates() const
{
    QList<QDateTime> dates;
    if (!namesUseDate(m_settings))
        return dates;
    dates.reserve(fileCount());
    for (const FileRecord& record : m_catalogue->FileRecords)
        dates.append(nameDate(record));
    return dates;
}

NameProblem SchemeWalk::firstNameProblem(const std::function<void()>& yield) const
{
    return pellory::firstNameProblem(fileNames(), fileDates(), m_selected, m_settings, yield,
                                     m_companions ? &m_companions->names : nullptr);
}

QStringList SchemeWalk::duplicateClashes(int limit) const
{
    return pellory::duplicateClashes(fileNames(), fileDates(), m_selected, m_settings, limit,
                                     m_companions ? &m_companions->names : nullptr);
}

SchemeWalk::Step SchemeWalk::next()
{
    const size_t row = m_next++;
    Step step;
    step.record = &m_catalogue->FileRecords[row];
    step.selected = isSelected(row);
    step.takesPart = IsInRenameSet(step.selected, m_selectedCount);
    if (!step.takesPart) {
        step.name = step.record->FileName;
        return step;
    }
    const QDateTime date = namesUseDate(m_settings) ? nameDate(*step.record) : QDateTime();
    step.name =
        ComposeNewName(step.record->FileName, m_settings, m_counter ? &*m_counter : nullptr, date);
    if (m_companions && row < m_companions->of.size()) {
        for (const CompanionFile& file : m_companions->of[row])
            step.companions.push_back(
                {&file, companionNewName(file.name, step.record->FileName, step.name)});
    }
    return step;
}

void SchemeWalk::renamesOf(const Step& step, std::vector<Rename>& renames)
{
    renames.clear();
    if (!step.takesPart)
        return;
    // Encoded once: the renamer would encode the text again to compare it, a tenth of the
    // walk's own work.
    const QByteArray& oldRaw = step.record->RawName;
    QByteArray newRaw = newRawName(oldRaw, step.name);
    if (newRaw != oldRaw)
        renames.push_back({oldRaw, std::move(newRaw), step.record->FileName, step.name,
                           step.record->Inode, false});
    for (const Companion& companion : step.companions) {
        const CompanionFile& file = *companion.file;
        QByteArray given = newRawName(file.rawName, companion.name);
        if (given != file.rawName)
            renames.push_back(
                {file.rawName, std::move(given), file.name, companion.name, file.inode, true});
    }
}

QString counterOverflowMessage()
{
    return QCoreApplication::translate("SchemeWalk",
                                       "The counter would pass %1 before the last file "
                                       "with these settings. Nothing was renamed.")
        .arg(std::numeric_limits<qint32>::max());
}

} // namespace pellory

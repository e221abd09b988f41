// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/SchemeWalk.h"

#include "naming/Compose.h"
#include "naming/RenameSet.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace pellory {

SchemeWalk::SchemeWalk(std::shared_ptr<const Catalogue> catalogue, std::vector<bool> selected,
                       RenameSettings settings)
    : m_catalogue(std::move(catalogue)), m_selected(std::move(selected)),
      m_settings(std::move(settings))
{
    m_selected.resize(m_catalogue->FileRecords.size(), false);
    m_selectedCount = int(std::count(m_selected.begin(), m_selected.end(), true));
    // The counter belongs to this walk: every run starts again from the fields.
    if (m_settings.RenameChk)
        m_counter.emplace(m_settings);
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
    return pellory::firstNameProblem(fileNames(), fileDates(), m_selected, m_settings, yield);
}

QStringList SchemeWalk::duplicateClashes(int limit) const
{
    return pellory::duplicateClashes(fileNames(), fileDates(), m_selected, m_settings, limit);
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
    return step;
}

QString counterOverflowMessage()
{
    return QCoreApplication::translate("SchemeWalk",
                                       "The counter would pass %1 before the last file "
                                       "with these settings. Nothing was renamed.")
        .arg(std::numeric_limits<qint32>::max());
}

} // namespace pellory

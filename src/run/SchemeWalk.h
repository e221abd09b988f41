// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// One walk of a scheme run over the catalogue, in list order: which files take part and the
// name each one gets. It keeps the catalogue as it was when the walk started (its owner
// changes a copy from then on), and copies of the selection and the settings, so nothing
// the user does while the run yields can reorder or rename the files under it. It renames and lists
// nothing itself; the window does that.

#include "catalogue/Catalogue.h"
#include "naming/DuplicateCheck.h"
#include "naming/NameCounter.h"
#include "naming/RenameSet.h"
#include "naming/RenameSettings.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pellory {

class SchemeWalk
{
public:
    struct Step
    {
        const FileRecord* record = nullptr; // the file as it was when the walk started
        bool takesPart = false;             // in the rename set
        bool selected = false;              // its row's selection in the file list
        QString name;                       // its new name, or its old one when not taking part
    };

    // `selected` holds one flag per record; rows without a flag count as not selected.
    SchemeWalk(std::shared_ptr<const Catalogue> catalogue, std::vector<bool> selected,
               RenameSettings settings);

    int fileCount() const { return m_catalogue->FileCount(); }
    // How many files the walk renames (or lists with a new name).
    qint64 renameSetSize() const { return pellory::renameSetSize(fileCount(), m_selectedCount); }

    // False when a decimal counter would leave the 32-bit range before the last file.
    bool counterFits() const;
    // The check a preview runs before it lists anything: the first new name, in list order,
    // that no file can have or that duplicates another (firstNameProblem).
    NameProblem firstNameProblem(const std::function<void()>& yield) const;
    // What the duplicate check found: the first few names that clash, and with which files.
    QStringList duplicateClashes(int limit) const;

    bool atEnd() const { return m_next >= m_catalogue->FileRecords.size(); }
    // The next file; a file taking part consumes the counter's current value.
    Step next();

private:
    bool isSelected(size_t row) const { return row < m_selected.size() && m_selected[row]; }
    QStringList fileNames() const;
    // Each file's date, when the names take one; none otherwise.
    QList<QDateTime> fileDates() const;

    std::shared_ptr<const Catalogue> m_catalogue;
    std::vector<bool> m_selected;
    int m_selectedCount = 0;
    RenameSettings m_settings;
    std::optional<NameCounter> m_counter; // only with batch rename on
    size_t m_next = 0;
};

// What the user reads when a walk is refused because its counter would overflow.
QString counterOverflowMessage();

} // namespace pellory

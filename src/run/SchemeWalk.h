// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// One walk of a scheme run over the catalogue, in list order: which files take part and the
// name each one gets. It keeps the catalogue as it was when the walk started (its owner
// changes a copy from then on), and copies of the selection and the settings, so nothing
// the user does while the run yields can reorder or rename the files under it. It renames and lists
// nothing itself; the window does that. Given a listing of the folder, each file of the
// rename set brings its companion files (Companions.h) along, found once when the walk
// starts.

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

// A file of the folder, not listed, that is renamed with a listed one.
struct CompanionFile
{
    QString name;       // decoded for display
    QByteArray rawName; // the exact bytes of the name on disk
    quint64 inode = 0;  // as the walk found it, for the run's plan
};

class SchemeWalk
{
public:
    struct Companion
    {
        const CompanionFile* file = nullptr;
        QString name; // its new name
    };
    struct Step
    {
        const FileRecord* record = nullptr; // the file as it was when the walk started
        bool takesPart = false;             // in the rename set
        bool selected = false;              // its row's selection in the file list
        QString name;                       // its new name, or its old one when not taking part
        std::vector<Companion> companions;  // renamed right after the file, in this order
    };

    // `selected` holds one flag per record; rows without a flag count as not selected.
    // `folder`, a listing of the catalogue's folder, gives the companions; none without it.
    SchemeWalk(std::shared_ptr<const Catalogue> catalogue, std::vector<bool> selected,
               RenameSettings settings, const std::shared_ptr<const FolderListing>& folder = {});
    // True when some file of the rename set has a companion.
    bool hasCompanions() const { return m_companions != nullptr; }
    // The companions' names and the folder's other names, as the duplicate check takes
    // them; none when no file has a companion.
    const CompanionNames* companionNames() const
    {
        return m_companions ? &m_companions->names : nullptr;
    }

    // One rename a step makes.
    struct Rename
    {
        QByteArray oldRaw, newRaw; // the exact bytes
        QString oldName, newName;  // for the user
        quint64 inode = 0;         // as listed
        bool companion = false;
    };
    // The renames of `step`, in the order a run makes them, into `renames` (emptied first,
    // so that a loop reuses one vector): its file's when it takes part, then its
    // companions'. A name whose bytes stay as they are is no rename.
    static void renamesOf(const Step& step, std::vector<Rename>& renames);

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
    void findCompanions(const FolderListing& folder);

    // Found once and shared by the walk's copies.
    struct Companions
    {
        std::vector<std::vector<CompanionFile>> of; // by row
        CompanionNames names;                       // as the duplicate check takes them
    };

    std::shared_ptr<const Catalogue> m_catalogue;
    std::vector<bool> m_selected;
    int m_selectedCount = 0;
    RenameSettings m_settings;
    std::optional<NameCounter> m_counter; // only with batch rename on
    size_t m_next = 0;
    std::shared_ptr<const Companions> m_companions; // none: no file has any
};

// What the user reads when a walk is refused because its counter would overflow.
QString counterOverflowMessage();

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The new names a run would give the listed files under the settings of the moment, and
// which of them clash, worked out a slice at a time so that the window stays responsive
// while the user types. It walks as a run walks (SchemeWalk) or names as a wildcard rename
// names; it renames nothing, shows nothing and refuses nothing.

#include "catalogue/Catalogue.h"
#include "naming/RenameSettings.h"
#include "run/NameTable.h"
#include "run/SchemeWalk.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace pellory {

// Why a new name cannot be had, and which row's file is in the way.
struct NameClash
{
    enum class Kind
    {
        SameNewName,  // the other file would get the same name
        KeptName,     // the other file keeps this name
        RenamedLater, // the other file has this name until the run reaches it
    };
    Kind kind = Kind::SameNewName;
    qint32 row = -1; // the other file's row; -1 when it is not listed
    QString other;   // then its name: a companion, or a file of the folder that stays
};

// What the user reads about a clash with the file named `otherName`.
QString describeClash(NameClash::Kind kind, const QString& otherName);

struct LiveNameList
{
    NameColumn newNames;               // one per row; none where the file keeps its name
    QHash<qint32, NameClash> clashes;  // rows whose new name, or a companion's, clashes
    QHash<qint32, QString> companions; // what follows a row's new name: "  + .CR2 .xmp"
    bool counterFits = true;           // false: no names, the counter would overflow
};

class LiveNameJob
{
public:
    // The names of a scheme run over `catalogue` with this selection and these settings;
    // with `folder`, a listing of its folder, the companions' too (SchemeWalk).
    LiveNameJob(std::shared_ptr<const Catalogue> catalogue, std::vector<bool> selected,
                RenameSettings settings, const std::shared_ptr<const FolderListing>& folder = {});
    // The names a wildcard rename with `mask` gives the listed files.
    LiveNameJob(std::shared_ptr<const Catalogue> catalogue, QString mask);
    ~LiveNameJob();

    // Works until `deadline` passes or the list is complete; true when it is.
    bool work(const QDeadlineTimer& deadline);
    // The complete list; the job is spent then.
    LiveNameList take() { return std::move(m_list); }

private:
    // A file in run order: a row's file is (row << 16), its k-th companion (row << 16) + k;
    // the folder's files that stay come after every row.
    using Entry = qint64;
    static Entry entryOf(qint32 row, qint64 k = 0) { return (Entry(row) << 16) + k; }
    // A companion or a file that stays: its name, and whether it keeps it.
    struct Unlisted
    {
        QString name;
        bool kept = true;
    };

    void nameNext();
    void nameCompanions(qint32 row, const std::vector<SchemeWalk::Companion>& companions,
                        const QString& newName);
    void findClash(qint32 row);
    std::optional<NameClash> clashOf(Entry entry, const QString& key) const;
    // The names as the run compares them: the old one, a new one.
    QString oldKey(qint32 row) const;
    QString newKey(const QString& name) const;

    std::shared_ptr<const Catalogue> m_catalogue;
    std::unique_ptr<SchemeWalk> m_walk; // none for a wildcard rename
    QString m_mask;
    LiveNameList m_list;
    QMultiHash<QString, Entry> m_finals;      // every file by its name after the run
    QMultiHash<QString, Entry> m_renamedOlds; // the files that get a new name, by the old one
    QHash<Entry, Unlisted> m_unlisted;
    QHash<qint32, std::vector<std::pair<Entry, QString>>> m_renamedCompanions; // by new key
    qint32 m_named = 0;                                                        // rows named so far
    qint32 m_checked = 0; // rows checked for clashes so far
};

} // namespace pellory

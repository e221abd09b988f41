// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The new names a run would give the listed files under the settings of the moment, and
// which of them clash, worked out a slice at a time so that the window stays responsive
// while the user types. It walks as a run walks (SchemeWalk) or names as a wildcard rename
// names; it renames nothing, shows nothing and refuses nothing.

#include "catalogue/Catalogue.h"
#include "naming/DuplicateCheck.h"
#include "naming/RenameSettings.h"
#include "run/NameTable.h"
#include "run/SchemeWalk.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QStringList>

#include <memory>
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
    // A companion or a file that stays: its name, and whether it keeps it.
    struct Unlisted
    {
        QString name;
        bool kept = true;
    };
    // What a file's new name clashes with, as the column tells it.
    struct Mark
    {
        NameClash::Kind kind = NameClash::Kind::SameNewName;
        qsizetype other = -1;
    };

    void carryNext();
    void nameNext();
    void nameCompanions(qint32 row, const std::vector<SchemeWalk::Companion>& companions,
                        const QString& newName);
    void giveStaying();
    void mark(const Clash& clash);
    void markRows();
    bool renamed(qsizetype file) const;
    Mark sameName(qsizetype other) const;
    // The names as the run compares them: the old one, a new one.
    QString oldKey(qint32 row) const;
    QString newKey(const QString& name) const;

    std::shared_ptr<const Catalogue> m_catalogue;
    std::unique_ptr<SchemeWalk> m_walk; // none for a wildcard rename
    QString m_mask;
    LiveNameList m_list;
    // The files in the order a run renames them: each row's, its companions right after it,
    // the folder's files that stay after every row.
    ClashFinder m_clashes;
    std::vector<qint32> m_rowOf;           // by file: its row
    QHash<qsizetype, Unlisted> m_unlisted; // by file: the companions and the files that stay
    QHash<qsizetype, Mark> m_marks;        // by file: what its name clashes with
    qint32 m_carriedRows = 0;              // rows whose names before the run were carried
    qint32 m_named = 0;                    // rows named so far
    qsizetype m_stayingGiven = 0;
    qsizetype m_marked = 0; // clashes marked so far
};

} // namespace pellory

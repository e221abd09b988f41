// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Composes the names of a whole list and checks them before a run: for duplicates, and for
// names no file can have. Takes the names in list order, the date each file's name takes
// (only read when the settings put a date into names; an empty list then gives every name
// no date) and their selection flags; touches no file and no widget.

#include "naming/Companions.h"
#include "naming/RenameSettings.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pellory {

// A file whose name after a run is already taken when the run reaches it: by a file before
// it in the order the run renames (which is given that name, or keeps it), or by a later
// file that carries it until the run reaches that one. Files are counted in that order.
struct Clash
{
    enum class Kind
    {
        GivenBefore,  // `other`, before `file`, is the first file given the name or keeping it
        CarriedLater, // `other`, after `file`, is the first later file that carries the name
    };
    qsizetype file = -1;
    Kind kind = Kind::GivenBefore;
    qsizetype other = -1;
};

// The one rule for clashes, which the check before a run, its message and the names shown
// beside the list all take: files are given their names after the run one at a time, in the
// order the run renames them, and each one given is compared with those given before it and,
// when the run renames in place (no step aside through a temporary name), with the names
// the files after it carry until then. Names are compared as the keys the caller makes
// (letter case aside for a scheme run). Each file costs a few hash lookups and no pass over
// the others.
class ClashFinder
{
public:
    // `files`: how many files the run renames or keeps. With `carried`, every file's name
    // before the run is carried first (carry()), from the last file to the first.
    ClashFinder(qsizetype files, bool carried);
    // The key of a file's name before the run, for the files from the last one down to the
    // first: each call takes the file before the one the previous call took.
    void carry(QString key);
    // The key carry() took for `file`.
    const QString& carried(qsizetype file) const { return m_carried[size_t(file)]; }
    // Gives the next file its name after the run, and returns its clash, which clashes()
    // keeps too; nothing when the name is free.
    const Clash* give(const QString& key);
    qsizetype given() const { return m_given; }
    // Every clash so far, in file order: one per file at most.
    const std::vector<Clash>& clashes() const { return m_clashes; }

private:
    std::vector<QString> m_carried;         // by file, when the files carry names
    std::vector<qsizetype> m_nextCarrier;   // by file: the next file carrying the same key
    QHash<QString, qsizetype> m_carrier;    // a key, the first file not yet given that carries it
    QHash<QString, qsizetype> m_firstGiven; // a key, the first file given it
    std::vector<Clash> m_clashes;
    qsizetype m_toCarry = 0; // one past the file carry() takes next
    qsizetype m_given = 0;
};

// True when the settings would give two items the same name, or give an item the
// current name of an item further down the list (letter case ignored). `names` are the
// list items in order, `dates` their dates, `selected` their selection flags (same size).
// `yield` runs once per item. An empty list gives false.
// With `companions`, each item's companions are renamed right after it and checked as items
// are, and the folder's staying names count as items that keep their names.
bool WouldProduceDuplicates(const QStringList& names, const QList<QDateTime>& dates,
                            const std::vector<bool>& selected, const RenameSettings& settings,
                            const std::function<void()>& yield = {},
                            const CompanionNames* companions = nullptr);

// The first `limit` clashes that WouldProduceDuplicates finds, one per new name, for the
// user to see what to change: "NEW: OLD1 and OLD2", the new name and the two items it would
// fall on, in list order (ClashFinder: the first given it before, else the first further
// down that still carries it).
QStringList duplicateClashes(const QStringList& names, const QList<QDateTime>& dates,
                             const std::vector<bool>& selected, const RenameSettings& settings,
                             int limit, const CompanionNames* companions = nullptr);

// The first problem of a walk's new names, in list order.
struct NameProblem
{
    enum class Kind
    {
        None,
        Unusable,  // no file can have the new name
        Duplicate, // as WouldProduceDuplicates finds it
    };
    Kind kind = Kind::None;
    qsizetype item = -1; // the item whose new name, or whose companion's, has the problem
    QString oldName;     // of that item or companion
    QString newName;     // for Unusable: the name that cannot be used
    QString reason;      // for Unusable: invalidNameReason's text
};

// The check a preview runs before it lists anything: composes the items in list order and
// stops at the first new name that cannot name a file (empty, ".", "..", "/" or NUL in it,
// longer than the file system takes), or that would give two items one name as
// WouldProduceDuplicates finds it. A name left as it is is never refused. `yield` runs
// once per item.
NameProblem firstNameProblem(const QStringList& names, const QList<QDateTime>& dates,
                             const std::vector<bool>& selected, const RenameSettings& settings,
                             const std::function<void()>& yield = {},
                             const CompanionNames* companions = nullptr);

// Every item's name after a walk, in list order: the composed name for items of the
// rename set (one counter for the whole walk), the old name for the others.
QStringList composeAll(const QStringList& names, const QList<QDateTime>& dates,
                       const std::vector<bool>& selected, const RenameSettings& settings);
// The same with each item's companions after it, and the staying names at the end: the
// names after a run in the order it renames, with the names before it in `olds`.
QStringList composeAll(const QStringList& names, const QList<QDateTime>& dates,
                       const std::vector<bool>& selected, const RenameSettings& settings,
                       const CompanionNames& companions, QStringList* olds);

} // namespace pellory

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
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pellory {

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

// The first `limit` clashes that WouldProduceDuplicates finds, for the user to see what to
// change: "NEW: OLD1 and OLD2", the new name and the two items it would fall on (the second
// one further down, by its new name or by the name it still carries then).
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

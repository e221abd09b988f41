#pragma once
// Composes the names of a whole list and checks them for duplicates before a run. Takes the
// names in list order and their selection flags; touches no file and no widget.

#include "naming/RenameSettings.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace pellory {

// True when the settings would give two items the same name, or give an item the
// current name of an item further down the list (letter case ignored). `names` are the
// list items in order, `selected` their selection flags (same size). `yield` runs once
// per item. An empty list gives false.
bool WouldProduceDuplicates(const QStringList& names, const std::vector<bool>& selected,
                            const RenameSettings& settings,
                            const std::function<void()>& yield = {});

// The first `limit` clashes that WouldProduceDuplicates finds, for the user to see what to
// change: "NEW: OLD1 and OLD2", the new name and the two items it would fall on (the second
// one further down, by its new name or by the name it still carries then).
QStringList duplicateClashes(const QStringList& names, const std::vector<bool>& selected,
                             const RenameSettings& settings, int limit);

// Every item's name after a walk, in list order: the composed name for items of the
// rename set (one counter for the whole walk), the old name for the others.
QStringList composeAll(const QStringList& names, const std::vector<bool>& selected,
                       const RenameSettings& settings);

} // namespace pellory

#pragma once
// Composes new names and checks a whole batch for duplicates. Touches no file and no
// widget: it takes the names in list order and their selection flags.

#include "naming/NameCounter.h"
#include "naming/RenameSettings.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pellory {

// Kept characters, prefix, counter, leading text and extension, in that order (batch
// rename on); otherwise the old base with the case style and extension rule applied.
// Advances `counter` when batch rename is on. `counter` may be null when it is off.
QString ComposeNewName(const QString& oldName, const RenameSettings& settings,
                       NameCounter* counter);

// With zero or one item selected every item takes part; with two or more, the selected.
inline bool IsInRenameSet(bool itemSelected, int selectedCount)
{
    return selectedCount <= 1 || itemSelected;
}

// True when the settings would give two items the same name, or give an item the
// current name of an item further down the list (letter case ignored). `names` are the
// list items in order, `selected` their selection flags (same size). `yield` runs once
// per item. An empty list gives false.
bool WouldProduceDuplicates(const QStringList& names, const std::vector<bool>& selected,
                            const RenameSettings& settings,
                            const std::function<void()>& yield = {});

// Every item's name after a walk, in list order: the composed name for items of the
// rename set (one counter for the whole walk), the old name for the others.
QStringList composeAll(const QStringList& names, const std::vector<bool>& selected,
                       const RenameSettings& settings);

} // namespace pellory

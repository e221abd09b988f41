// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Orders the catalogue by a sort-order index. The order of records with equal keys is the
// one the last-element-pivot partition sort gives (RangeSort.h), kept exactly, without its
// quadratic cost or deep recursion.

#include "catalogue/Catalogue.h"
#include "catalogue/SortKeys.h"

#include <QtGlobal>

#include <array>

namespace pellory {

// The column of the file list whose title shows an order's indicator and chooses it.
enum class SortColumn
{
    None,
    Name,
    Modified,
    Taken,
};

// One sort order: what the drop-down shows (translated in the file pane's context), the
// key, the direction, and the column it belongs to. The drop-down lists the orders in this
// table's order; an order's index in it is the stored "FileSort" value.
struct SortOrder
{
    const char* caption;
    SortKey key; // Ext orders each run of equal extensions by name afterwards
    bool descending;
    SortColumn column;
};

inline constexpr std::array kSortOrders{
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Name (A to Z)"), SortKey::Name, false,
              SortColumn::Name},
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Name (Z to A)"), SortKey::Name, true,
              SortColumn::Name},
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Ext (A to Z)"), SortKey::Ext, false,
              SortColumn::None},
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Ext (Z to A)"), SortKey::Ext, true,
              SortColumn::None},
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Date (Old to New)"), SortKey::Date, false,
              SortColumn::Modified},
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Date (New to Old)"), SortKey::Date, true,
              SortColumn::Modified},
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Taken (Old to New)"), SortKey::Taken, false,
              SortColumn::Taken},
    SortOrder{QT_TRANSLATE_NOOP("pellory::FilePane", "Taken (New to Old)"), SortKey::Taken, true,
              SortColumn::Taken},
};
inline constexpr int kSortOrderCount = int(kSortOrders.size());

// The order at `index`, or nullptr when nothing is chosen (-1) or the index is unknown.
inline const SortOrder* sortOrderAt(int index)
{
    return index >= 0 && index < kSortOrderCount ? &kSortOrders[size_t(index)] : nullptr;
}

// Puts the whole catalogue in the order at `index` in kSortOrders; any other index leaves
// it in scan order.
void sortCatalogue(Catalogue& catalogue, int index);

} // namespace pellory

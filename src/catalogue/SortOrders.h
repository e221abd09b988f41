// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Orders the catalogue by a sort-order index. The order of records with equal keys is the
// one the last-element-pivot partition sort gives (RangeSort.h), kept exactly, without its
// quadratic cost or deep recursion.

#include "catalogue/Catalogue.h"

#include <QtGlobal>

namespace pellory {

enum SortOrder : int
{
    NameAscending = 0,
    NameDescending = 1,
    ExtAscending = 2,
    ExtDescending = 3,
    DateOldToNew = 4,
    DateNewToOld = 5,
};

// Puts the whole catalogue in the order of `sortOrder` (0..5; any other index leaves it
// in scan order). The extension orders sort each run of equal ExtKey by name afterwards.
void sortCatalogue(Catalogue& catalogue, int sortOrder);

} // namespace pellory

#pragma once
// The six range sorts and the ordering of the catalogue by a sort-order index. The order
// of records with equal keys is the one the last-element-pivot partition gives, kept
// exactly, without its quadratic cost or deep recursion.

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

// Sort records lo..hi (positions counted from 1) in place.
void SortNameAsc(Catalogue& catalogue, qint32 lo, qint32 hi);
void SortNameDesc(Catalogue& catalogue, qint32 lo, qint32 hi);
void SortExtAsc(Catalogue& catalogue, qint32 lo, qint32 hi);
void SortExtDesc(Catalogue& catalogue, qint32 lo, qint32 hi);
void SortDateAsc(Catalogue& catalogue, qint32 lo, qint32 hi);
void SortDateDesc(Catalogue& catalogue, qint32 lo, qint32 hi);

// Puts the whole catalogue in the order of `sortOrder` (0..5; any other index leaves it
// in scan order). The extension orders sort each run of equal ExtKey by name afterwards.
void sortCatalogue(Catalogue& catalogue, int sortOrder);

} // namespace pellory

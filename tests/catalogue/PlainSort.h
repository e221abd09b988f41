#pragma once
// The partition sort written out step by step, recursion and all, on whole records: the
// yardstick the fast sorts are held against. Quadratic on ordered input; tests only.

#include "catalogue/Catalogue.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pellory::test {

// Sorts records lo..hi (from 1) of `records` with one of the six range sorts by its
// index (0 name ascending ... 5 date descending, as the sort orders number them).
void plainRangeSort(std::vector<FileRecord>& records, int whichSort, qint32 lo, qint32 hi);

// The whole catalogue in sort order `order`, the run pass of the extension orders included.
void plainSortFiles(std::vector<FileRecord>& records, int order);

// A record as the scan makes it, for the name and write time given.
FileRecord makeRecord(const QString& name, quint64 writeTime,
                      ExtensionMode mode = ExtensionMode::UseLastOccurrence);

QStringList fileNames(const std::vector<FileRecord>& records);

} // namespace pellory::test

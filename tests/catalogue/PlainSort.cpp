#include "PlainSort.h"

#include "platform/FileTime.h"

#include <utility>

namespace pellory::test {

namespace {

// -1, 0, +1 as the record's key is below, equal to or above the pivot's, in the
// direction of the sort: "before the pivot" is always -1.
int compareToPivot(int whichSort, const FileRecord& record, const FileRecord& pivot)
{
    const int c = whichSort < 2   ? QString::compare(record.NameKey, pivot.NameKey)
                  : whichSort < 4 ? QString::compare(record.ExtKey, pivot.ExtKey)
                                  : CompareFileTime(record.WriteTime, pivot.WriteTime);
    const int sign = c < 0 ? -1 : (c > 0 ? 1 : 0);
    return whichSort % 2 == 0 ? sign : -sign;
}

} // namespace

void plainRangeSort(std::vector<FileRecord>& records, int whichSort, qint32 lo, qint32 hi)
{
    if (lo >= hi)
        return;
    const FileRecord pivot = records[hi - 1];
    auto at = [&](qint32 position) -> FileRecord& { return records[position - 1]; };
    qint32 i = lo - 1, j = hi;
    for (;;) {
        do {
            ++i;
        } while (compareToPivot(whichSort, at(i), pivot) < 0 && i < j);
        do {
            --j;
        } while (compareToPivot(whichSort, at(j), pivot) > 0 && j > i);
        if (j <= i)
            break;
        std::swap(at(i), at(j));
    }
    if (i != hi)
        std::swap(at(i), at(hi));
    plainRangeSort(records, whichSort, lo, i - 1);
    plainRangeSort(records, whichSort, i + 1, hi);
}

void plainSortFiles(std::vector<FileRecord>& records, int order)
{
    const auto count = static_cast<qint32>(records.size());
    if (order < 0 || order > 5)
        return; // no order chosen: scan order
    plainRangeSort(records, order, 1, count);
    if (order != 2 && order != 3)
        return;
    const int nameSort = order - 2;
    qint32 runStart = 1;
    for (qint32 p = 2; p <= count + 1; ++p) {
        if (p <= count && records[p - 1].ExtKey == records[runStart - 1].ExtKey)
            continue;
        if (p - 1 > runStart)
            plainRangeSort(records, nameSort, runStart, p - 1);
        runStart = p;
    }
}

FileRecord makeRecord(const QString& name, quint64 writeTime, ExtensionMode mode)
{
    FileRecord record;
    record.NameKey = name.toUpper();
    record.FileName = name;
    record.ExtKey = GetFileExt(name, mode).toUpper();
    record.WriteTime = writeTime;
    record.RawName = name.toUtf8();
    return record;
}

QStringList fileNames(const std::vector<FileRecord>& records)
{
    QStringList names;
    for (const FileRecord& record : records)
        names.append(record.FileName);
    return names;
}

} // namespace pellory::test

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The catalogue as the scan builds it from the specification text, its sort orders held
// against the partition sort written out plainly (whose placement of equal keys decides the
// counter each file gets), and the every-N selection of its list.

#include "catalogue/Catalogue.h"
#include "catalogue/EveryN.h"
#include "catalogue/RangeSort.h"
#include "catalogue/SortOrders.h"
#include "platform/FileTime.h"

#include "support/Files.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <numeric>
#include <random>

using namespace pellory;

namespace {

// The partition sort step by step, recursion and all, on records lo..hi (from 1), in sort
// order `which` (0 name ascending ... 5 date descending). Quadratic on ordered input.
void plainRangeSort(std::vector<FileRecord>& records, int which, qint32 lo, qint32 hi)
{
    if (lo >= hi)
        return;
    const FileRecord pivot = records[hi - 1];
    const auto vsPivot = [&](qint32 at) { // -1: before the pivot in the sort's direction
        const FileRecord& r = records[at - 1];
        const int c = which < 2   ? QString::compare(r.NameKey, pivot.NameKey)
                      : which < 4 ? QString::compare(r.ExtKey, pivot.ExtKey)
                                  : CompareFileTime(r.WriteTime, pivot.WriteTime);
        return ((c > 0) - (c < 0)) * (which % 2 ? -1 : 1);
    };
    qint32 i = lo - 1, j = hi;
    for (;;) {
        do {
            ++i;
        } while (vsPivot(i) < 0 && i < j);
        do {
            --j;
        } while (vsPivot(j) > 0 && j > i);
        if (j <= i)
            break;
        std::swap(records[i - 1], records[j - 1]);
    }
    if (i != hi)
        std::swap(records[i - 1], records[hi - 1]);
    plainRangeSort(records, which, lo, i - 1);
    plainRangeSort(records, which, i + 1, hi);
}

// The whole catalogue: the extension orders then sort each run of equal extensions by name.
void plainSortFiles(std::vector<FileRecord>& records, int order)
{
    const auto count = qint32(records.size());
    if (order >= 0)
        plainRangeSort(records, order, 1, count);
    for (qint32 start = 1, p = 2; (order == 2 || order == 3) && p <= count + 1; ++p) {
        if (p <= count && records[p - 1].ExtKey == records[start - 1].ExtKey)
            continue;
        plainRangeSort(records, order - 2, start, p - 1);
        start = p;
    }
}

QString fileNames(const std::vector<FileRecord>& records)
{
    QStringList names;
    for (const FileRecord& record : records)
        names.append(record.FileName);
    return names.join(u'|');
}

// Random keys, each tooth of count / teeth keys sorted (teeth 0: none), then some random
// swaps. Nearly sorted and sawtooth inputs make the sort skip long stretches of positions
// after it has swapped inside them, which is where a stale index would show.
std::vector<int> keyColumn(std::mt19937& rng, int count, int distinct, int teeth, int swaps)
{
    std::vector<int> column(static_cast<size_t>(count));
    for (int& key : column)
        key = std::uniform_int_distribution<int>(0, distinct - 1)(rng);
    const int tooth = std::max(1, count / std::max(1, teeth));
    for (int first = 0; teeth && first < count; first += tooth)
        std::sort(column.begin() + first, column.begin() + std::min(count, first + tooth));
    for (int n = count * swaps / 100; n > 0; --n)
        std::swap(column[rng() % count], column[rng() % count]);
    return column;
}

// Key k (below 5^8) as a text that sorts as k does: "DSC" and its base-5 digits, written in
// code units from ASCII up past U+FF00, with trailing lowest digits dropped. So keys differ
// in length, in the width of their code units and in how much of their start they share.
QString textKey(int k)
{
    static const char16_t digits[] = u"0A_\u00e9\uff41";
    QString text = "DSC";
    for (int unit = 78125; unit > 0; unit /= 5)
        text += QChar(digits[k / unit % 5]);
    while (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

// A record from "NAME=KIND:SECONDS[.MICRO][OFFSET]": KIND "m" a file with no capture time
// written at SECONDS after 1970 (UTC), "c" one taken at the wall clock SECONDS with OFFSET
// minutes ("+120") if given and written in 2000, "u" such a one whose time is not read yet.
FileRecord timedRecord(const QString& text)
{
    FileRecord record;
    record.FileName = text.section(u'=', 0, 0);
    record.NameKey = record.FileName.toUpper();
    record.RawName = record.FileName.toUtf8();
    const QString kind = text.section(u'=', 1).section(u':', 0, 0);
    const QString time = text.section(u':', 1);
    const qsizetype sign = std::max(time.indexOf(u'+'), time.indexOf(u'-'));
    const QString moment = sign < 0 ? time : time.left(sign);
    const qint64 seconds = moment.section(u'.', 0, 0).toLongLong();
    const qint32 micro = moment.section(u'.', 1).toInt();
    const quint64 ticksFrom1601 = 116444736000000000ull;
    if (kind == "m") {
        record.WriteTime = ticksFrom1601 + quint64(seconds) * 10000000 + quint64(micro) * 10;
        record.TakenRead = true;
        return record;
    }
    record.WriteTime = ticksFrom1601 + 946684800ull * 10000000; // 2000-01-01
    record.Taken = {seconds, micro, qint16(sign < 0 ? 0 : time.mid(sign).toInt()), sign >= 0,
                    CaptureSource::ExifOriginal};
    record.TakenRead = kind == "c";
    return record;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void rebuild_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<QString>("specs");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("records"); // FileName:NameKey:ExtKey, in order
        // clang-format off
        QTest::newRow("specs in text order") << QByteArrayList{"a.jpg", "b.GIF", "c.png"} << "*.GIF;*.JPG" << 1 << "b.GIF:B.GIF:GIF|a.jpg:A.JPG:JPG";
        QTest::newRow("blanks kept, empty specs list nothing") << QByteArrayList{" a.gif", "b.gif"} << ";*.JPG; *.GIF;" << 1 << " a.gif: A.GIF:GIF";
        QTest::newRow("identical spec scanned once") << QByteArrayList{"a.txt", "c.doc"} << "*.TXT;*.TXT" << 1 << "a.txt:A.TXT:TXT";
        QTest::newRow("specs differing in case list a file twice") << QByteArrayList{"Ab.txt", "b.doc"} << "*.TXT;*.txt" << 1 << "Ab.txt:AB.TXT:TXT|Ab.txt:AB.TXT:TXT";
        QTest::newRow("a folder part lists nothing") << QByteArrayList{"a.txt", "sub/", "sub/a.txt", "sub/b.txt"} << "sub/*.TXT;*.TXT;../*" << 1 << "a.txt:A.TXT:TXT";
        QTest::newRow("first occurrence extension") << QByteArrayList{"p.2024.jpg"} << "*.JPG" << 0 << "p.2024.jpg:P.2024.JPG:2024.JPG";
        // A key made once serves the files after it while their extension repeats.
        QTest::newRow("extension keys follow each file") << QByteArrayList{"a.jpg", "b.JPG", "c.txt", "d.jpg", "e", "f.tar.gz", "g.Jpg"} << "*" << 1 << "a.jpg:A.JPG:JPG|b.JPG:B.JPG:JPG|c.txt:C.TXT:TXT|d.jpg:D.JPG:JPG|e:E:|f.tar.gz:F.TAR.GZ:GZ|g.Jpg:G.JPG:JPG";
        // clang-format on
        // A big folder is stat'ed in two halves at once; a folder among its files is left out.
        QByteArrayList many{"sub/"};
        QStringList manyRecords;
        for (int k = 0; k < 4500; ++k) {
            many << QByteArray::number(10000 + k) + ".jpg";
            manyRecords << QString::number(10000 + k) + ".jpg:" + QString::number(10000 + k) +
                               ".JPG:JPG";
        }
        QTest::newRow("a big folder") << many << "*" << 1 << manyRecords.join(u'|');
    }
    void rebuild()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QString, specs);
        QFETCH(int, mode);
        QFETCH(QString, records);
        QTemporaryDir root;
        const timespec times[2] = {{0, UTIME_OMIT}, {1577934245, 500000000}};
        for (const QByteArray& name : files)
            QVERIFY(testing::makeEntry(root.path(), name) &&
                    ::utimensat(AT_FDCWD, (QFile::encodeName(root.path()) + '/' + name).constData(),
                                times, 0) == 0);
        Catalogue catalogue;
        // A rebuild starts from nothing, after a short list as after one as long as the folder.
        FileRecord old;
        old.NameKey = "OLD";
        old.FileName = "old";
        old.RawName = "old";
        catalogue.FileRecords.resize(files.size() < 4096 ? 1 : files.size() + 1, old);
        rebuildCatalogue(catalogue, QFile::encodeName(root.path()), specs, ExtensionMode(mode));
        QStringList listed;
        for (const FileRecord& record : catalogue.FileRecords) {
            listed << record.FileName + u':' + record.NameKey + u':' + record.ExtKey;
            QCOMPARE(record.WriteTime, 132224078455000000ull); // 100 ns ticks since 1601
            QCOMPARE(record.RawName, record.FileName.toUtf8());
            QCOMPARE(record.Inode,
                     testing::entryInode(QFile::encodeName(root.path()) + '/' + record.RawName));
        }
        if (!specs.contains(u';'))
            listed.sort(); // one specification lists its files in the folder's own order
        QCOMPARE(listed.join(u'|'), records);
    }

    void randomInputs_data()
    {
        QTest::addColumn<int>("minCount");
        QTest::addColumn<int>("maxCount");
        QTest::addColumn<int>("distinct");
        QTest::addColumn<int>("teeth");
        QTest::addColumn<int>("swaps"); // per hundred keys
        QTest::addColumn<int>("trials");
        // clang-format off
        QTest::newRow("small, many ties") << 0 << 12 << 3 << 0 << 0 << 1000;
        QTest::newRow("all equal keys") << 150 << 300 << 1 << 0 << 0 << 20;
        QTest::newRow("mostly distinct") << 0 << 400 << 100000 << 0 << 0 << 20;
        QTest::newRow("ascending with ties") << 1000 << 2000 << 700 << 1 << 0 << 6;
        QTest::newRow("nearly sorted with ties") << 1000 << 2000 << 600 << 1 << 2 << 6;
        QTest::newRow("sawtooth with ties") << 1000 << 2000 << 300 << 7 << 0 << 6;
        QTest::newRow("40000 records, past 16-bit positions") << 40000 << 40000 << 9000 << 0 << 0 << 1;
        // clang-format on
    }
    // Every sort order on the whole catalogue, and the name order once more from the index
    // of ranks alone (walking turned off, so that every swap must keep the index current).
    // The file name is the scan position, so that the order of equal keys shows. Write
    // times run past the sign bit of 64 bits.
    void randomInputs()
    {
        QFETCH(int, minCount);
        QFETCH(int, maxCount);
        QFETCH(int, distinct);
        QFETCH(int, teeth);
        QFETCH(int, swaps);
        QFETCH(int, trials);
        std::mt19937 rng(20261205u + quint32(maxCount) * 31u + quint32(distinct));
        for (int trial = 0; trial < trials && !QTest::currentTestFailed(); ++trial) {
            const int count = std::uniform_int_distribution<int>(minCount, maxCount)(rng);
            std::vector<int> columns[3];
            for (auto& column : columns)
                column = keyColumn(rng, count, distinct, teeth, swaps);
            std::vector<FileRecord> input(static_cast<size_t>(count));
            for (int k = 0; k < count; ++k) {
                input[k].NameKey = textKey(columns[0][k]);
                input[k].FileName = QString::number(k);
                input[k].ExtKey = textKey(columns[1][k]);
                input[k].WriteTime = quint64(columns[2][k]) << 47;
            }
            for (int order = -1; order < 6; ++order) { // -1: none chosen, scan order
                Catalogue fast;
                fast.FileRecords = input;
                sortCatalogue(fast, order);
                std::vector<FileRecord> plain = input;
                plainSortFiles(plain, order);
                QCOMPARE(fileNames(fast.FileRecords), fileNames(plain));
            }
            std::vector<qint32> ranks(columns[0].begin(), columns[0].end()), items(count, 0);
            std::iota(items.begin(), items.end(), 0);
            partitionSort(ranks, items, PartitionTuning{0, 0, 0});
            plainRangeSort(input, 0, 1, count);
            QStringList indexOrder;
            for (const qint32 item : items)
                indexOrder.append(QString::number(item));
            QCOMPARE(indexOrder.join(u'|'), fileNames(input));
        }
    }

    // The capture-time orders, in UTC (the tests' time zone) unless a row names its own: a
    // time without an offset is read as the computer's wall clock.
    void takenOrder_data()
    {
        QTest::addColumn<QString>("records"); // timedRecord()s in scan order, "|" between
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("equal times by the names' bytes") << "c.JPG=c:1000|a.JPG=c:1000|B.JPG=c:1000|\u00e9.JPG=c:1000" << 6 << "B.JPG|a.JPG|c.JPG|\u00e9.JPG";
        QTest::newRow("sub-seconds before names") << "a.JPG=c:1000.500000|b.JPG=c:1000.250000|c.JPG=c:1000" << 6 << "c.JPG|b.JPG|a.JPG";
        QTest::newRow("an offset moves the moment") << "a.JPG=c:36000+120|b.JPG=c:32400|c.JPG=c:28000-60" << 6 << "a.JPG|c.JPG|b.JPG";
        QTest::newRow("no capture time: the write time takes its place") << "IMG_1.JPG=c:5000|x.PNG=m:4000|DSC_1.JPG=c:3000|y.PNG=m:6000" << 6 << "DSC_1.JPG|x.PNG|IMG_1.JPG|y.PNG";
        QTest::newRow("write time sub-seconds against capture sub-seconds") << "b.PNG=m:1000.300000|a.JPG=c:1000.400000|c.JPG=c:1000.200000" << 6 << "c.JPG|b.PNG|a.JPG";
        QTest::newRow("the same moment written and taken: by name") << "b.PNG=m:1000|a.JPG=c:1000" << 6 << "a.JPG|b.PNG";
        QTest::newRow("a time not read yet: the write time") << "a.JPG=u:100|b.JPG=c:946684799|c.JPG=c:946684801" << 6 << "b.JPG|a.JPG|c.JPG";
        QTest::newRow("new to old, ties by names reversed") << "a.JPG=c:1000|c.JPG=c:2000|b.JPG=c:1000|d.PNG=m:1500" << 7 << "c.JPG|d.PNG|b.JPG|a.JPG";
        QTest::newRow("new to old, already in order") << "c.JPG=c:3000|b.JPG=c:2000|a.JPG=c:1000" << 7 << "c.JPG|b.JPG|a.JPG";
        QTest::newRow("no offset: the computer's zone, into summer time") << "zone=Europe/Berlin|a.JPG=c:1711850340|b.JPG=c:1711854060|c.JPG=c:1711848600+0|d.JPG=c:1711843800+0" << 6 << "d.JPG|a.JPG|b.JPG|c.JPG";
        QTest::newRow("old to new, in reverse") << "c.JPG=c:3000|b.JPG=c:2000|a.JPG=c:1000" << 6 << "a.JPG|b.JPG|c.JPG";
        // clang-format on
    }
    void takenOrder()
    {
        QFETCH(QString, records);
        QFETCH(int, order);
        QFETCH(QString, expected);
        const QByteArray zone = qgetenv("TZ");
        const auto restore = qScopeGuard([&] {
            qputenv("TZ", zone);
            ::tzset();
        });
        Catalogue catalogue;
        for (const QString& text : records.split(u'|')) {
            if (text.startsWith("zone=")) { // the computer's zone for this row
                qputenv("TZ", text.mid(5).toUtf8());
                ::tzset();
            } else {
                catalogue.FileRecords.push_back(timedRecord(text));
            }
        }
        sortCatalogue(catalogue, order);
        QCOMPARE(fileNames(catalogue.FileRecords), expected);
    }

    void everyN_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("itemCount");
        QTest::addColumn<int>("currentItem");
        QTest::addColumn<QString>("selected"); // "none" when the step is below 1: only deselect
        QTest::newRow("2 on 7, no current") << "2" << 7 << -1 << "0,2,4,6 current 0";
        QTest::newRow("3 from current 4 of 10") << "3" << 10 << 4 << "4,7 current 4";
        QTest::newRow("2.5x: leading number, half to even")
            << "2.5x" << 7 << -1 << "0,2,4,6 current 0";
        QTest::newRow("current at the end") << "2" << 3 << 3 << " current -1";
        QTest::newRow("beyond 16-bit positions")
            << "999" << 40000 << 39000 << "39000,39999 current 39000";
        QTest::newRow("0.5 rounds to even 0") << "0.5" << 7 << -1 << "none";
    }
    void everyN()
    {
        QFETCH(QString, text);
        QFETCH(int, itemCount);
        QFETCH(int, currentItem);
        QFETCH(QString, selected);
        const qint16 n = selStepsValue(text);
        QString shown = "none";
        if (n >= 1) {
            const EveryNSelection selection = everyNthItem(itemCount, currentItem, n);
            QStringList items;
            for (const qint32 item : selection.items)
                items.append(QString::number(item));
            shown = items.join(u',') + " current " + QString::number(selection.currentItem);
        }
        QCOMPARE(shown, selected);
    }

    // The date a file's name takes, nine hours east of UTC, for a file changed at
    // 2026-05-14 06:30:02 UTC whose capture time is "unread" (a stale one left in Taken),
    // read as "none", or read.
    void nameDate_data()
    {
        QTest::addColumn<QByteArray>("taken");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not read yet: modified, local")
            << QByteArray("unread") << "2026-05-14 15:30:02";
        QTest::newRow("read, none: modified, local") << QByteArray("none") << "2026-05-14 15:30:02";
        QTest::newRow("read: the camera's wall clock, whatever its offset")
            << QByteArray("2026:05:13 23:59:58+02:00") << "2026-05-13 23:59:58";
    }
    void nameDate()
    {
        QFETCH(QByteArray, taken);
        QFETCH(QString, expected);
        qputenv("TZ", "JST-9"); // the same for every machine; nothing else here reads the zone
        FileRecord record;
        record.WriteTime = fileTimeFromTimespec({1778740202, 0});
        record.TakenRead = taken != "unread";
        const QByteArray exif = record.TakenRead ? taken : "2000:01:01 00:00:00";
        const auto time =
            parseExifTime(exif.left(19), {}, exif.mid(19), CaptureSource::ExifOriginal);
        record.Taken = time.value_or(CaptureTime());
        QCOMPARE(pellory::nameDate(record).toString("yyyy-MM-dd hh:mm:ss"), expected);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"

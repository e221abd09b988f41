#include "TempFolder.h"

#include "platform/DirectoryScan.h"
#include "platform/FileTime.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <limits>

using namespace pellory;
using pellory::test::TempFolder;

namespace {

constexpr quint64 TicksAt1970 = 116444736000000000ULL;

// Set-up lines: "name" a file, "name/" a folder, "name>target" a symbolic link.
bool populate(TempFolder& folder, const QByteArrayList& setup)
{
    for (const QByteArray& line : setup) {
        const qsizetype arrow = line.indexOf('>');
        const bool ok = arrow >= 0 ? folder.addSymlink(line.left(arrow), line.mid(arrow + 1))
                        : line.endsWith('/') ? folder.addFolder(line.chopped(1))
                                             : folder.addFile(line);
        if (!ok)
            return false;
    }
    return true;
}

// Display names sorted and joined, because the folder's own order is not fixed.
QString joinedNames(const std::vector<DirEntry>& entries)
{
    QStringList names;
    for (const DirEntry& entry : entries)
        names << entry.name;
    names.sort();
    return names.join(u'|');
}

} // namespace

class TestDirectoryScan : public QObject
{
    Q_OBJECT

private slots:
    void scan_data();
    void scan();
    void folderEndingInSlash();
    void nameThatIsNotUtf8();
    void writeTimes_data();
    void writeTimes();
    void ticksFromTimespec_data();
    void ticksFromTimespec();
};

void TestDirectoryScan::scan_data()
{
    QTest::addColumn<QByteArrayList>("setup");
    QTest::addColumn<QString>("spec");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("expected");

    const QByteArrayList photos{"a.jpg", "b.GIF", "c.png", "d.jpg/"};
    QTest::newRow("subfolder not listed") << photos << "*.JPG" << true << "a.jpg";
    QTest::newRow("every file") << photos << "*" << true << "a.jpg|b.GIF|c.png";
    QTest::newRow("hidden file listed")
        << QByteArrayList{".hidden", "a.txt", ".git/"} << "*" << true << ".hidden|a.txt";
    QTest::newRow("link to folder not listed")
        << QByteArrayList{"sub/", "tosub>sub", "x"} << "*" << true << "x";
    QTest::newRow("link to file listed") << QByteArrayList{"a", "b>a"} << "*" << true << "a|b";
    QTest::newRow("dangling link listed")
        << QByteArrayList{"gone>nowhere", "f"} << "*" << true << "f|gone";
    QTest::newRow("link loop listed") << QByteArrayList{"loop>loop"} << "*" << true << "loop";
    const QByteArrayList blanks{" lead.gif", "mid dle.gif", "trail.gif ", "plain.gif"};
    QTest::newRow("leading blank spec") << blanks << " *.GIF" << true << " lead.gif";
    QTest::newRow("names with blanks")
        << blanks << "*.GIF" << true << " lead.gif|mid dle.gif|plain.gif";
    QTest::newRow("no match is empty, not failed") << photos << "*.xyz" << true << "";
    QTest::newRow("star dot star lists dotless")
        << QByteArrayList{"README", "a.txt"} << "*.*" << true << "README|a.txt";
    QTest::newRow("star dot lists only dotless")
        << QByteArrayList{"README", "Makefile", "a.txt"} << "*." << true << "Makefile|README";
    QTest::newRow("non-ASCII case folded")
        << QByteArrayList{"ÉTÉ.JPG", "été.png"} << "*.jpg" << true << "ÉTÉ.JPG";
    QTest::newRow("non-ASCII first letter")
        << QByteArrayList{"É.txt", "e.txt"} << "é*" << true << "É.txt";
    const QByteArrayList nested{"SUB/", "SUB/a.JPG", "SUB/b.txt", "SUB/deep/", "c.JPG"};
    QTest::newRow("spec with folder part") << nested << "SUB/*.JPG" << true << "a.JPG";
    QTest::newRow("folder part, every file") << nested << "SUB/*" << true << "a.JPG|b.txt";
    QTest::newRow("folder part only") << nested << "SUB/" << false << "";
    QTest::newRow("empty spec") << photos << "" << false << "";
    QTest::newRow("missing subfolder") << photos << "NOPE/*" << false << "";
    QTest::newRow("file as folder part") << photos << "a.jpg/*" << false << "";
}

void TestDirectoryScan::scan()
{
    QFETCH(QByteArrayList, setup);
    QFETCH(QString, spec);
    QFETCH(bool, opened);
    QFETCH(QString, expected);

    TempFolder folder;
    QVERIFY(folder.isValid());
    QVERIFY(populate(folder, setup));
    // Appending must leave what the caller already holds alone, also on failure.
    std::vector<DirEntry> entries(1);
    entries[0].name = "kept";
    QCOMPARE(findMatchingFiles(folder.path(), spec, entries), opened);
    QCOMPARE(entries.front().name, QString("kept"));
    entries.erase(entries.begin());
    QCOMPARE(joinedNames(entries), expected);
    for (const DirEntry& entry : entries)
        QCOMPARE(entry.rawName, QFile::encodeName(entry.name));
}

void TestDirectoryScan::folderEndingInSlash()
{
    TempFolder folder;
    QVERIFY(folder.isValid());
    QVERIFY(populate(folder, {"a.txt", "b.doc"}));
    std::vector<DirEntry> entries;
    QVERIFY(findMatchingFiles(folder.path() + u'/', "*.TXT", entries));
    QCOMPARE(joinedNames(entries), QString("a.txt"));
}

void TestDirectoryScan::nameThatIsNotUtf8()
{
    // Latin-1 bytes as an old camera or another system might have written them.
    const QByteArray raw("caf\xE9 \xFF.txt");
    TempFolder folder;
    QVERIFY(folder.isValid());
    QVERIFY(folder.addFile(raw));
    std::vector<DirEntry> entries;
    QVERIFY(findMatchingFiles(folder.path(), "caf? ?.TXT", entries));
    QCOMPARE(entries.size(), std::size_t(1));
    QCOMPARE(entries[0].rawName, raw);
    QCOMPARE(entries[0].name, QFile::decodeName(raw));
}

void TestDirectoryScan::writeTimes_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("nanoseconds");
    QTest::addColumn<quint64>("ticks");

    QTest::newRow("1970") << QByteArray("f") << qint64(0) << qint64(0) << TicksAt1970;
    QTest::newRow("nanoseconds cut to ticks")
        << QByteArray("f") << qint64(1700000000) << qint64(123456789)
        << quint64(TicksAt1970 + 1700000000ULL * 10000000ULL + 1234567ULL);
    QTest::newRow("before 1970") << QByteArray("f") << qint64(-86400) << qint64(500)
                                 << quint64(TicksAt1970 - 86400ULL * 10000000ULL + 5ULL);
    QTest::newRow("dangling link keeps its own time")
        << QByteArray("f>nowhere") << qint64(1000000000) << qint64(700)
        << quint64(TicksAt1970 + 1000000000ULL * 10000000ULL + 7ULL);
}

void TestDirectoryScan::writeTimes()
{
    QFETCH(QByteArray, setup);
    QFETCH(qint64, seconds);
    QFETCH(qint64, nanoseconds);
    QFETCH(quint64, ticks);

    TempFolder folder;
    QVERIFY(folder.isValid());
    QVERIFY(populate(folder, {setup}));
    QVERIFY(folder.setWriteTime("f", timespec{time_t(seconds), long(nanoseconds)}));
    std::vector<DirEntry> entries;
    QVERIFY(findMatchingFiles(folder.path(), "F", entries));
    QCOMPARE(entries.size(), std::size_t(1));
    QCOMPARE(entries[0].writeTime, ticks);
}

void TestDirectoryScan::ticksFromTimespec_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("nanoseconds");
    QTest::addColumn<quint64>("ticks");

    constexpr quint64 maxTicks = std::numeric_limits<quint64>::max();
    QTest::newRow("first tick of 1601") << qint64(-11644473600) << qint64(0) << quint64(0);
    QTest::newRow("second tick of 1601") << qint64(-11644473600) << qint64(100) << quint64(1);
    QTest::newRow("before 1601 clamps") << qint64(-11644473601) << qint64(999999999) << quint64(0);
    QTest::newRow("far before 1601 clamps")
        << std::numeric_limits<qint64>::min() << qint64(0) << quint64(0);
    QTest::newRow("under one tick dropped") << qint64(0) << qint64(99) << TicksAt1970;
    QTest::newRow("last tick of a second")
        << qint64(0) << qint64(999999999) << quint64(TicksAt1970 + 9999999ULL);
    QTest::newRow("largest that fits")
        << qint64(1844674407370 - 11644473600) << qint64(955161500) << maxTicks;
    QTest::newRow("past the largest saturates")
        << qint64(1844674407371 - 11644473600) << qint64(0) << maxTicks;
    QTest::newRow("far future saturates")
        << std::numeric_limits<qint64>::max() << qint64(0) << maxTicks;
}

void TestDirectoryScan::ticksFromTimespec()
{
    QFETCH(qint64, seconds);
    QFETCH(qint64, nanoseconds);
    QFETCH(quint64, ticks);

    QCOMPARE(fileTimeFromTimespec(timespec{time_t(seconds), long(nanoseconds)}), ticks);
}

QTEST_APPLESS_MAIN(TestDirectoryScan)
#include "tst_directoryscan.moc"

#include "platform/DirectoryScan.h"
#include "platform/FileTime.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellory;

constexpr quint64 TicksAt1970 = 116444736000000000ULL;
constexpr quint64 TicksPerSecond = 10000000ULL;

// One line of a folder's set-up: "name" a file, "name/" a folder, "name>target" a link.
static bool make(const QTemporaryDir& dir, const QByteArray& line)
{
    const qsizetype arrow = line.indexOf('>');
    const QByteArray path =
        QFile::encodeName(dir.path()) + '/' + (arrow < 0 ? line : line.left(arrow));
    if (arrow >= 0)
        return ::symlink(line.mid(arrow + 1).constData(), path.constData()) == 0;
    if (line.endsWith('/'))
        return ::mkdir(path.constData(), 0755) == 0;
    const int fd = ::open(path.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

class TestDirectoryScan : public QObject
{
    Q_OBJECT

private slots:
    void scan_data();
    void scan();
    void writeTime_data();
    void writeTime();
};

void TestDirectoryScan::scan_data()
{
    QTest::addColumn<QByteArrayList>("setup");
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QByteArray>("expected"); // the names' bytes sorted, or "failed"
    const QByteArrayList photos{"a.jpg", "b.GIF", "c.png", "d.jpg/", ".hidden.jpg"};
    const QByteArrayList nested{"SUB/", "SUB/a.JPG", "SUB/deep.JPG/", "c.JPG"};
    const auto row = [](const char* tag, const QByteArrayList& setup, const char* spec,
                        const char* expected) {
        QTest::newRow(tag) << setup << QString(spec) << QByteArray(expected);
    };
    // clang-format off
    row("folder not listed, hidden file is", photos, "*.JPG", ".hidden.jpg|a.jpg");
    row("link to folder not listed", {"sub/", "tosub>sub", "x"}, "*", "x");
    row("links to files listed", {"a", "b>a", "gone>nowhere", "loop>loop"}, "*", "a|b|gone|loop");
    row("leading blank spec", {" lead.gif", "mid dle.gif", "trail.gif "}, " *.GIF", " lead.gif");
    row("non-ASCII folded", {"ÉTÉ.JPG", "été.png", "É.txt"}, "*.jpg", "ÉTÉ.JPG");
    row("Latin-1 bytes kept", {"caf\xE9 \xFF.txt", "cafe.txt"}, "caf? ?.TXT", "caf\xE9 \xFF.txt");
    row("spec with folder part", nested, "SUB/*.JPG", "a.JPG");
    row("empty spec", photos, "", "failed");
    row("missing folder", photos, "NOPE/*", "failed");
    row("folder ending in slash", photos, "/*.GIF", "b.GIF");
    row("file as folder", photos, "a.jpg/*", "failed");
    // clang-format on
}

void TestDirectoryScan::scan()
{
    QFETCH(QByteArrayList, setup);
    QFETCH(QString, spec);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    for (const QByteArray& line : setup)
        QVERIFY2(make(dir, line), line.constData());
    std::vector<DirEntry> entries(1, DirEntry{"kept", "kept", 0});
    const bool opened = findMatchingFiles(dir.path(), spec, entries);
    QByteArrayList names;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        QCOMPARE(entries[i].name, QFile::decodeName(entries[i].rawName));
        names << entries[i].rawName;
    }
    std::sort(names.begin(), names.end());
    QCOMPARE(opened ? names.join('|') : "failed", expected);
    QCOMPARE(entries.front().name, QString("kept"));
}

void TestDirectoryScan::writeTime_data()
{
    QTest::addColumn<QByteArray>("setup"); // empty: a time no disk holds, converted only
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("nanoseconds");
    QTest::addColumn<quint64>("ticks");
    constexpr qint64 from1601 = -11644473600LL;
    constexpr quint64 maxTicks = std::numeric_limits<quint64>::max();
    const auto row = [](const char* tag, const char* setup, qint64 s, qint64 ns, quint64 ticks) {
        QTest::newRow(tag) << QByteArray(setup) << s << ns << ticks;
    };
    // clang-format off
    row("nanoseconds cut to ticks", "f", 1700000000, 123456789, TicksAt1970 + 1700000000 * TicksPerSecond + 1234567);
    row("before 1970", "f", -86400, 500, TicksAt1970 - 86400 * TicksPerSecond + 5);
    row("dangling link, its own time", "f>nowhere", 1000000000, 700, TicksAt1970 + 1000000000 * TicksPerSecond + 7);
    row("first tick of 1601", "", from1601, 0, 0);
    row("before 1601 clamps", "", from1601 - 1, 999999999, 0);
    row("largest that fits", "", from1601 + 1844674407370, 955161500, maxTicks);
    row("far future saturates", "", std::numeric_limits<qint64>::max(), 0, maxTicks);
    // clang-format on
}

void TestDirectoryScan::writeTime()
{
    QFETCH(QByteArray, setup);
    QFETCH(qint64, seconds);
    QFETCH(qint64, nanoseconds);
    QFETCH(quint64, ticks);
    const timespec time{time_t(seconds), long(nanoseconds)};
    QCOMPARE(fileTimeFromTimespec(time), ticks);
    if (setup.isEmpty())
        return;
    QTemporaryDir dir;
    QVERIFY(make(dir, setup));
    const timespec times[2] = {{0, UTIME_OMIT}, time};
    const QByteArray path = QFile::encodeName(dir.path()) + "/f";
    QVERIFY(::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW) == 0);
    std::vector<DirEntry> entries;
    QVERIFY(findMatchingFiles(dir.path(), "F", entries));
    QCOMPARE(entries.size(), 1u);
    QCOMPARE(entries[0].writeTime, ticks);
}

QTEST_APPLESS_MAIN(TestDirectoryScan)
#include "tst_directoryscan.moc"

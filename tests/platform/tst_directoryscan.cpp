// Which names a specification matches, and what the folder scan reports of them.

#include "platform/DirectoryScan.h"
#include "platform/FileTime.h"
#include "platform/Volumes.h"
#include "platform/Wildcard.h"

#include "support/RandomFolder.h"

#include <QScopeGuard>
#include <QTest>

#include <limits>

using namespace pellory;

// One entry of a folder's set-up: "name" a file, "name/" a folder, "name>target" a link.
static bool make(const QTemporaryDir& dir, const QByteArray& line)
{
    const QByteArrayList parts = line.split('>');
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + parts[0];
    if (parts.size() > 1)
        return ::symlink(parts[1].constData(), path.constData()) == 0;
    return line.endsWith('/') ? ::mkdir(path.constData(), 0755) == 0 : testing::makeFile(path, {});
}

class TestDirectoryScan : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void scan_data();
    void scan();
    void writeTime_data();
    void writeTime();
    void volumes_data();
    void volumes();
};

void TestDirectoryScan::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    const QString smiley = QString::fromUcs4(U"\U0001F600");
    const auto row = [](const char* tag, const QString& pattern, const QString& name, bool hit) {
        QTest::newRow(tag) << pattern << name << hit;
    };
    // clang-format off
    row("*.JPG not jpeg", "*.JPG", "a.jpeg", false);
    row("IMG??.* two digits, case folded", "IMG??.*", "img12.x", true);
    row("star takes leading dot", "*.hta*", ".htaccess", true);
    row("empty pattern", "", "a", false);
    row("star dot star dotless", "*.*", "README", true);
    row("a star dot star needs dot", "a*.*", "abc", false);
    row("star dot dotless", "*.", "Makefile", true);
    row("star dot dotted", "*.", "a.txt", false);
    row("literal brackets", "[1].jpg", "[1].jpg", true);
    row("backslash not escape", "a\\*", "a\\xyz", true);
    row("question vs surrogate pair", "?.png", smiley + ".png", true);
    row("question vs combining accent", "caf?", "cafe\u0301", false);
    row("fold accented", "*.jpg", "ÉTÉ.JPG", true);
    row("fold outside BMP", QString::fromUcs4(U"\U00010400"), QString::fromUcs4(U"\U00010428"), true);
    row("sharp s is not ss", "straße", "STRASSE", false);
    row("backtrack to last star", "*abc*abd", "abcabcabd", true);
    // Going back to the last star only: trying every split between the stars never ends.
    row("many stars, long name", "*a*a*a*a*a*a*a*a*a*a*b", QString(50000, u'a'), false);
    // clang-format on
}

void TestDirectoryScan::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(wildcardMatch(pattern, name), expected);
    const QByteArray utf8 = name.toUtf8();
    if (utf8.size() == name.size()) // all ASCII
        QCOMPARE(WildcardMatcher(pattern).matchesAscii(utf8.toStdString()), expected);
}

void TestDirectoryScan::scan_data()
{
    QTest::addColumn<QByteArrayList>("setup");
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QByteArray>("expected"); // the names' bytes sorted, or "failed"
    const QByteArrayList photos{"a.jpg", "b.GIF", "d.jpg/", ".hidden.jpg", "SUB/", "SUB/a.JPG"};
    // clang-format off
    QTest::newRow("folder not listed, hidden file is") << photos << "*.JPG" << QByteArray(".hidden.jpg|a.jpg");
    QTest::newRow("link to folder not listed") << QByteArrayList{"sub/", "tosub>sub", "x"} << "*" << QByteArray("x");
    QTest::newRow("links to files listed") << QByteArrayList{"a", "b>a", "gone>nowhere", "loop>loop"} << "*" << QByteArray("a|b|gone|loop");
    QTest::newRow("Latin-1 bytes kept") << QByteArrayList{"caf\xE9 \xFF.txt", "cafe.txt"} << "caf? ?.TXT" << QByteArray("caf\xE9 \xFF.txt");
    QTest::newRow("spec with folder part") << photos << "SUB/*.JPG" << QByteArray("a.JPG");
    QTest::newRow("folder ending in slash") << photos << "/*.GIF" << QByteArray("b.GIF");
    QTest::newRow("missing folder") << photos << "NOPE/*" << QByteArray("failed");
    // clang-format on
}

void TestDirectoryScan::scan()
{
    QFETCH(QByteArrayList, setup);
    QFETCH(QString, spec);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const auto emptyFolder =
        qScopeGuard([&] { testing::removeInside(QFile::encodeName(dir.path())); });
    for (const QByteArray& line : setup)
        QVERIFY2(make(dir, line), line.constData());
    std::vector<DirEntry> entries(1, DirEntry{"kept", "kept", 0}); // found files are appended
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
    QTest::addColumn<quint64>("ticks"); // of 100 ns since 1601
    constexpr quint64 at1970 = 116444736000000000ULL, perSecond = 10000000ULL,
                      most = std::numeric_limits<quint64>::max();
    constexpr qint64 from1601 = -11644473600LL;
    // clang-format off
    QTest::newRow("nanoseconds cut to ticks") << QByteArray("f") << qint64(1700000000) << qint64(123456789) << at1970 + 1700000000 * perSecond + 1234567;
    QTest::newRow("before 1970") << QByteArray("f") << qint64(-86400) << qint64(500) << at1970 - 86400 * perSecond + 5;
    QTest::newRow("dangling link, its own time") << QByteArray("f>nowhere") << qint64(1000000000) << qint64(700) << at1970 + 1000000000 * perSecond + 7;
    QTest::newRow("before 1601 clamps") << QByteArray() << from1601 - 1 << qint64(999999999) << quint64(0);
    QTest::newRow("largest that fits") << QByteArray() << from1601 + 1844674407370 << qint64(955161500) << most;
    QTest::newRow("far future saturates") << QByteArray() << std::numeric_limits<qint64>::max() << qint64(0) << most;
    // clang-format on
}

void TestDirectoryScan::writeTime()
{
    QFETCH(QByteArray, setup);
    QFETCH(qint64, seconds);
    QFETCH(qint64, nanoseconds);
    QFETCH(quint64, ticks);
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(seconds), long(nanoseconds)}};
    QCOMPARE(fileTimeFromTimespec(times[1]), ticks);
    if (setup.isEmpty())
        return;
    QTemporaryDir dir;
    QVERIFY(make(dir, setup));
    const QByteArray path = QFile::encodeName(dir.path()) + "/f";
    QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW), 0);
    std::vector<DirEntry> entries;
    QVERIFY(findMatchingFiles(dir.path(), "F", entries));
    QCOMPARE(entries.size(), 1u);
    QCOMPARE(entries[0].writeTime, ticks);
}

void TestDirectoryScan::volumes_data()
{
    QTest::addColumn<QByteArrayList>("mounts"); // "mount-point type source" per line
    QTest::addColumn<QString>("roots");
    // clang-format off
    QTest::newRow("disks kept, plumbing and loop images not") << QByteArrayList{"/ ext4 /dev/vda", "/proc proc proc", "/run tmpfs tmpfs", "/snap/core squashfs /dev/loop3", "/media/usb vfat /dev/sdb1"} << "/|/media/usb";
    QTest::newRow("network and FUSE disks") << QByteArrayList{"/net nfs4 srv:/export", "/smb cifs //srv/share", "/ssh fuse.sshfs me@host:", "/gvfs fuse.gvfsd-fuse gvfsd-fuse", "/ntfs fuseblk /dev/sdc1"} << "/|/net|/ntfs|/smb|/ssh";
    QTest::newRow("escapes decoded") << QByteArrayList{"/media/My\\040Disk\\134x ext4 /dev/sdd1"} << "/|/media/My Disk\\x";
    QTest::newRow("sorted, mounted twice listed once") << QByteArrayList{"/b ext4 /dev/sda2", "/a ext4 /dev/sda3", "/b ext4 /dev/sda4"} << "/|/a|/b";
    // clang-format on
}

// The drives come from the text of the mount table alone; here every line carries optional
// fields before the "-", as the table's lines may.
void TestDirectoryScan::volumes()
{
    QFETCH(QByteArrayList, mounts);
    QFETCH(QString, roots);
    QByteArray table;
    for (const QByteArray& m : mounts) {
        const QByteArrayList f = m.split(' ');
        table += "36 25 8:1 / " + f[0] + " rw,relatime shared:1 master:2 - " + f[1] + ' ' + f[2] +
                 " rw\n";
    }
    QCOMPARE(volumesInMountTable(table).join(u'|'), roots);
}

QTEST_APPLESS_MAIN(TestDirectoryScan)
#include "tst_directoryscan.moc"

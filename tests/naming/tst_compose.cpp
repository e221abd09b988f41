#include "NamingFixture.h"
#include "naming/Compose.h"

#include <QTest>

using namespace pellory;
using namespace pellory::test;

class TestCompose : public QObject
{
    Q_OBJECT
private slots:
    void newName_data();
    void newName();
    void walk_data();
    void walk();
};

void TestCompose::newName_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("mode 1 typed .bak") << "report.txt" << "ext=1 newext=.bak" << "report..bak";
    QTest::newRow("mode 2 remove") << "report.txt" << "ext=2 remove" << "report.txt";
    QTest::newRow("mode 2 tar.gz .bak") << "archive.tar.gz" << "ext=2 newext=.bak" << "archive.tar.gz.bak";
    QTest::newRow("mode 0 tar.gz typed") << "archive.tar.gz" << "ext=0 newext=zip" << "archive.zip.gz";
    QTest::newRow("mode 0 tar.gz remove") << "archive.tar.gz" << "ext=0 remove" << "archive.gz";
    QTest::newRow("mode 1 tar.gz remove") << "archive.tar.gz" << "ext=1 remove" << "archive.tar";
    QTest::newRow("no dot typed mode 2") << "README" << "ext=2 newext=txt" << "README.txt";
    QTest::newRow("no dot remove") << "README" << "ext=0 remove" << "README";
    QTest::newRow("trailing dot stays in base") << "notes." << "ext=1 newext=md" << "notes..md";
    QTest::newRow("leading dot empty base") << ".profile" << "ext=1 newext=rc" << ".rc";
    QTest::newRow("typed ext keeps its case") << "IMG.JPG" << "ext=1 newext=jpg" << "IMG.jpg";
    QTest::newRow("all lower") << "IMG_0001.JPG" << "case=1" << "img_0001.jpg";
    QTest::newRow("normal formatted") << "my summer trip.JPEG" << "case=3" << "My Summer Trip.jpeg";
    QTest::newRow("upper, kept chars") << "holiday.jpg" << "batch case=2 keep=3 prefix=x start=01" << "HOLx01.JPG";
    QTest::newRow("all parts in order") << "abc.txt" << "batch keep=2 prefix=P start=7 leading=L" << "abP7L.txt";
    QTest::newRow("keep 2.5 rounds to 2") << "abcd" << "batch keep=2.5 start=1" << "ab1";
    QTest::newRow("keep huge") << "abc" << "batch keep=99999999999 start=1" << "abc1";
    QTest::newRow("keep pasted text") << "abc" << "batch keep=x2 start=1" << "1";
    QTest::newRow("no counter text") << "abc.txt" << "batch keep=1 start= prefix=p" << "ap.txt";
    QTest::newRow("alpha counter") << "x.png" << "batch alpha start=Ab leading=_" << "Ab_.png";
    // clang-format on
}

void TestCompose::newName()
{
    QFETCH(QString, oldName);
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    const RenameSettings s = settingsFrom(settings);
    NameCounter counter(s);
    QCOMPARE(ComposeNewName(oldName, s, &counter), expected);
}

void TestCompose::walk_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("two selected of four") << "a.jpg|b.jpg|c.jpg|d.jpg" << "0101" << "batch start=1" << "a.jpg|1.jpg|c.jpg|2.jpg";
    QTest::newRow("one selected renames all") << "a|b|c" << "010" << "batch alpha start=x" << "x|y|z";
    QTest::newRow("batch off, no counter") << "a.txt|b.txt" << "" << "case=2" << "A.TXT|B.TXT";
    // clang-format on
}

void TestCompose::walk()
{
    QFETCH(QString, names);
    QFETCH(QString, selected);
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    QCOMPARE(
        composeAll(names.split(u'|'), selectionFrom(selected), settingsFrom(settings)).join(u'|'),
        expected);
}

QTEST_APPLESS_MAIN(TestCompose)
#include "tst_compose.moc"

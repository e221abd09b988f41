#include "NamingFixture.h"
#include "naming/Compose.h"

#include <QTest>

using namespace pellory;
using pellory::test::settingsFrom;

namespace {

void nameRow(const char* name, const QString& oldName, const QString& settings,
             const QString& expected)
{
    QTest::newRow(name) << oldName << settings << expected;
}

void walkRow(const char* name, const QString& names, const QString& selected,
             const QString& settings, const QString& expected)
{
    QTest::newRow(name) << names << selected << settings << expected;
}

} // namespace

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
    // Extension rules, batch rename off.
    nameRow("mode 1 keep", "report.txt", "ext=1", "report.txt");
    nameRow("mode 1 remove", "report.txt", "ext=1 remove", "report");
    nameRow("mode 1 typed doc", "report.txt", "ext=1 newext=doc", "report.doc");
    nameRow("mode 1 typed .bak", "report.txt", "ext=1 newext=.bak", "report..bak");
    nameRow("mode 2 keep", "report.txt", "ext=2", "report.txt");
    nameRow("mode 2 remove", "report.txt", "ext=2 remove", "report.txt");
    nameRow("mode 2 typed doc", "report.txt", "ext=2 newext=doc", "report.txtdoc");
    nameRow("mode 2 typed .bak", "report.txt", "ext=2 newext=.bak", "report.txt.bak");
    nameRow("mode 0 single part typed", "report.txt", "ext=0 newext=doc", "report.doc");
    nameRow("mode 0 single part remove", "report.txt", "ext=0 remove", "report");
    nameRow("mode 0 tar.gz typed", "archive.tar.gz", "ext=0 newext=zip", "archive.zip.gz");
    nameRow("mode 0 tar.gz remove", "archive.tar.gz", "ext=0 remove", "archive.gz");
    nameRow("mode 1 tar.gz remove", "archive.tar.gz", "ext=1 remove", "archive.tar");
    nameRow("mode 2 tar.gz .bak", "archive.tar.gz", "ext=2 newext=.bak", "archive.tar.gz.bak");
    nameRow("no dot remove", "README", "ext=0 remove", "README");
    nameRow("no dot typed mode 0", "README", "ext=0 newext=txt", "README.txt");
    nameRow("no dot typed mode 1", "README", "ext=1 newext=txt", "README.txt");
    nameRow("no dot typed mode 2", "README", "ext=2 newext=txt", "README.txt");
    nameRow("trailing dot stays in base", "notes.", "ext=1 newext=md", "notes..md");
    nameRow("leading dot empty base", ".profile", "ext=1 newext=rc", ".rc");
    nameRow("typed ext keeps its case", "IMG.JPG", "ext=1 newext=jpg", "IMG.jpg");
    // Case styles.
    nameRow("leave as is", "DSC 01.Jpg", "", "DSC 01.Jpg");
    nameRow("all lower", "IMG_0001.JPG", "case=1", "img_0001.jpg");
    nameRow("all upper", "a.tar.gz", "case=2 ext=0", "A.TAR.GZ");
    nameRow("normal formatted", "my summer trip.JPEG", "case=3", "My Summer Trip.jpeg");
    nameRow("normal formatted typed ext", "mp3 song", "case=3 newext=MP3", "MP3 Song.mp3");
    nameRow("upper, kept chars", "holiday.jpg", "batch case=2 keep=3 prefix=x start=01",
            "HOLx01.JPG");
    // Batch composition.
    nameRow("batch example", "DSC0042.JPG", "batch prefix=IMG_", "IMG_001.JPG");
    nameRow("all parts in order", "abc.txt", "batch keep=2 prefix=P start=7 leading=L",
            "abP7L.txt");
    nameRow("keep more than base", "abc.txt", "batch keep=10 start=1", "abc1.txt");
    nameRow("keep 0", "abc.txt", "batch keep=0 start=1", "1.txt");
    nameRow("keep 2.5 rounds to 2", "abcd", "batch keep=2.5 start=1", "ab1");
    nameRow("keep 3.5 rounds to 4", "abcde", "batch keep=3.5 start=1", "abcd1");
    nameRow("keep 0.4 keeps nothing", "abc", "batch keep=0.4 start=1", "1");
    nameRow("keep negative", "abc", "batch keep=-2 start=1", "1");
    nameRow("keep huge", "abc", "batch keep=99999999999 start=1", "abc1");
    nameRow("keep pasted text", "abc", "batch keep=x2 start=1", "1");
    nameRow("prefix not styled", "a.JPG", "batch prefix=img_ case=2", "img_001.JPG");
    nameRow("no counter text", "abc.txt", "batch keep=1 start= prefix=p", "ap.txt");
    nameRow("alpha counter", "x.png", "batch alpha start=Ab leading=_", "Ab_.png");
}

void TestCompose::newName()
{
    QFETCH(QString, oldName);
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    RenameSettings s = settingsFrom(settings);
    NameCounter counter(s);
    QCOMPARE(ComposeNewName(oldName, s, &counter), expected);
}

void TestCompose::walk_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expected");
    walkRow("decimal walk", "a.JPG|b.JPG|c.JPG", "", "batch prefix=IMG_",
            "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG");
    walkRow("two selected of four", "a.jpg|b.jpg|c.jpg|d.jpg", "0101", "batch start=1",
            "a.jpg|1.jpg|c.jpg|2.jpg");
    walkRow("one selected renames all", "a|b|c", "010", "batch alpha start=x", "x|y|z");
    walkRow("batch off, no counter", "a.txt|b.txt", "", "case=2", "A.TXT|B.TXT");
    walkRow("empty list", "", "", "batch", "");
}

void TestCompose::walk()
{
    QFETCH(QString, names);
    QFETCH(QString, selected);
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    std::vector<bool> flags;
    for (QChar c : selected)
        flags.push_back(c == u'1');
    QStringList list = names.split(u'|', Qt::SkipEmptyParts);
    QCOMPARE(composeAll(list, flags, settingsFrom(settings)).join(u'|'), expected);
}

QTEST_APPLESS_MAIN(TestCompose)
#include "tst_compose.moc"

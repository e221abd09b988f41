// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The counters, the composed names and the duplicate check; settings as words (Settings.h).

#include "naming/Companions.h"
#include "naming/DuplicateCheck.h"
#include "naming/NameCounter.h"
#include "naming/RenameSet.h"

#include "support/Settings.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QTest>

using namespace pellory;
using pellory::testing::settingsFrom;

namespace {

// The alphabetic unit step taken literally, once per unit: the reference the per-position
// arithmetic must match for random starts and increments.
QString unitSteps(QString text, int count)
{
    for (int step = 0; step < count && !text.isEmpty(); ++step) {
        for (qsizetype p = text.size() - 1; p >= 0; --p) {
            const bool capital = text[p].toLower() != text[p];
            if (text[p] < QChar(capital ? u'Z' : u'z')) {
                text[p] = QChar(char16_t(text[p].unicode() + 1));
                break;
            }
            text[p] = capital ? u'A' : u'a';
            if (p == 0)
                text.prepend(text[0]);
        }
    }
    return text;
}

// Quadratic reference for the duplicate check: every new name against every later item's
// old and new name, letter case ignored.
bool quadraticCheck(const QStringList& names, const std::vector<bool>& selected,
                    const RenameSettings& settings)
{
    const QStringList newNames = composeAll(names, {}, selected, settings);
    for (qsizetype i = 0; i < names.size(); ++i)
        for (qsizetype j = i + 1; j < names.size(); ++j)
            if (newNames[i].toUpper() == names[j].toUpper() ||
                newNames[i].toUpper() == newNames[j].toUpper())
                return true;
    return false;
}

} // namespace

class TestNaming : public QObject
{
    Q_OBJECT
private slots:
    // Dates are local: a zone with summer time, the same on every machine.
    void initTestCase() { qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3"); }
    void advanceAlphaMatchesUnitSteps()
    {
        const QString pool = QString::fromUtf8("AZYazy09@[`{~ÉéßΩ_-. Mm");
        QRandomGenerator random(20261205);
        for (int round = 0; round < 3000; ++round) {
            QString text;
            for (int n = 1 + random.bounded(5); n > 0; --n)
                text += pool[random.bounded(int(pool.size()))];
            const int increment = round < 5 ? 999999 - round : random.bounded(-2, 2000);
            QString fast = text;
            AdvanceAlpha(fast, increment);
            QVERIFY2(fast == unitSteps(text, increment),
                     qPrintable(text + " + " + QString::number(increment)));
        }
    }

    // One walk: the composed names of the rename set, the others kept, or the refusal of a
    // decimal counter that would leave the 32-bit range; and whether the check before it
    // finds two files that would share a name. Selections read "0110": the middle two. A
    // name may carry its file's date, local time: "a.JPG@2026-05-14T15:30:02".
    void walk_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("duplicates");
        // The preview's first problem: "unusable a>b: why", or "duplicate a" and each clash
        // its message lists: "duplicate c / b: a and c".
        QTest::addColumn<QString>("problem");
        // The folder's other names, whose companions go with the listed files; none: the
        // companions are left alone. Expected then lists each file's companions after it and
        // the staying names at the end.
        QTest::addColumn<QString>("folder");
        const auto row = [](const char* tag, const QByteArray& names, const char* selected,
                            const QByteArray& settings, const QByteArray& expected,
                            bool duplicates = false, const QByteArray& problem = {},
                            const char* folder = nullptr) {
            QTest::newRow(tag) << QString::fromUtf8(names) << QString(selected)
                               << QString::fromUtf8(settings) << QString::fromUtf8(expected)
                               << duplicates << QString::fromUtf8(problem)
                               << QString::fromUtf8(folder);
        };
        const QByteArray e125 = QByteArray("\xc3\xa9").repeated(125); // 250 bytes as stored
        // clang-format off
        row("mode 1 typed", "report.txt|notes.|README|.profile", "", "ext=1 newext=md", "report.md|notes..md|README.md|.md");
        row("mode 1 typed .bak", "report.txt", "", "ext=1 newext=.bak", "report..bak");
        row("mode 2 typed .bak", "archive.tar.gz", "", "ext=2 newext=.bak", "archive.tar.gz.bak");
        row("mode 0 typed", "archive.tar.gz|report.txt", "", "ext=0 newext=zip", "archive.zip.gz|report.zip");
        row("mode 0 remove", "archive.tar.gz|README|report.txt", "", "ext=0 remove", "archive.gz|README|report");
        row("all lower", "IMG_0001.JPG", "", "case=1", "img_0001.jpg");
        row("upper, kept chars", "holiday.jpg", "", "batch case=2 keep=3 prefix=x start=01", "HOLx01.JPG");
        row("normal formatted", "my summer trip.JPEG|HELLO_WORLD|2nd try|  ab cd |   |xÉy|É|aB|abc1|ab9", "", "case=3",
            "My Summer Trip.jpeg|Hello_World|2Nd Try|  Ab Cd |   |XÉY|É|Ab|Abc1|AB9");
        row("all parts in order", "abc.txt", "", "batch keep=2 prefix=P start=7 leading=L", "abP7L.txt");
        row("keep 2.5 rounds to 2", "abcd", "", "batch keep=2.5 start=1", "ab1");
        row("keep 3.5 rounds to 4", "abcde", "", "batch keep=3.5 start=1", "abcd1");
        row("keep huge", "abc", "", "batch keep=99999999999 start=1", "abc1");
        row("keep pasted text", "abc", "", "batch keep=x2 start=1", "1");
        row("keep 1e3: no exponent", "abc", "", "batch keep=1e3 start=1", "a1");
        row("keep -3x keeps nothing", "abc", "", "batch keep=-3x start=1", "1");
        row("no counter text", "abc.txt", "", "batch keep=1 start= prefix=p", "ap.txt");
        row("start one past the largest number", "a|b", "", "batch start=2147483648", "|", true, "unusable a>: The new name may not be empty");
        row("start in non-ASCII digits", "a|b", "", "batch start=\u0663", "|", true, "unusable a>: The new name may not be empty");
        row("start a sign alone", "a|b", "", "batch start=-", "|", true, "unusable a>: The new name may not be empty");
        row("start with a plus sign", "a|b", "", "batch start=+5", "05|06");
        row("counter ends on the largest", "a|b|c", "", "batch start=2147483645", "2147483645|2147483646|2147483647");
        row("counter one past the largest", "a|b|c|d", "", "batch start=2147483645", "too far");
        row("counter one below the smallest", "a|b|c|d", "", "batch start=-2147483646 inc=-1", "too far");
        row("counter fits the two selected", "a|b|c|d", "0011", "batch start=2147483646", "a|b|2147483646|2147483647");
        row("empty increment", "a|b|c", "", "batch inc=", "||", true, "unusable a>: The new name may not be empty");
        row("two selected of four", "a.jpg|b.jpg|c.jpg|d.jpg", "0101", "batch start=1", "a.jpg|1.jpg|c.jpg|2.jpg");
        row("one selected renames all", "a|b|c", "010", "batch alpha start=x", "x|y|z");
        row("trim on", "a|b|c", "", "batch start=001 trim", "1|2|3");
        row("width 1 keeps last digit", "a|b|c", "", "batch start=7 inc=5", "7|2|7", true, "duplicate c / 7: a and c");
        row("0099", "a|b|c", "", "batch start=0099", "0099|0100|0101");
        row("counting down", "a|b|c", "", "batch start=001 inc=-1", "001|000|0-1");
        row("alpha pasted increment", "a|b|c", "", "batch alpha inc=x", "||", true, "unusable a>: The new name may not be empty");
        row("alpha increment 0", "a.txt|b.txt", "00", "batch alpha inc=0", "AAA.txt|AAA.txt", true, "duplicate b.txt / AAA.txt: a.txt and b.txt");
        row("two new names taken twice", "a.txt|b.txt|c.gif|d.gif", "", "batch alpha inc=0", "AAA.txt|AAA.txt|AAA.gif|AAA.gif", true, "duplicate b.txt / AAA.txt: a.txt and b.txt / AAA.gif: c.gif and d.gif");
        row("first of two later files with the name", "a.jpg|b.JPG|B.jpg|c.jpg", "1001", "batch prefix=b start=", "b.jpg|b.JPG|B.jpg|b.jpg", true, "duplicate a.jpg / b.jpg: a.jpg and b.JPG");
        row("own old name ignored", "a.txt|b.txt", "00", "case=2", "A.TXT|B.TXT");
        row("takes later file's name", "a.jpg|A.GIF", "00", "newext=gif", "a.gif|A.gif", true, "duplicate a.jpg / a.gif: a.jpg and A.GIF");
        // A name the rename would refuse is refused by the preview, before it is listed.
        row("new name with a slash", "a.txt|b.txt|c.txt", "011", "batch prefix=x/ start=1", "a.txt|x/1.txt|x/2.txt", false, "unusable b.txt>x/1.txt: The new name may not contain \"/\"");
        row("new name of 257 bytes", "a.txt", "", "batch prefix=" + e125 + "\xc3\xa9 start=1", e125 + "\xc3\xa9" "1.txt", false, "unusable a.txt>" + e125 + "\xc3\xa9" "1.txt: The new name may not be longer than 255 bytes");
        row("new name of 255 bytes", "a.txt", "", "batch prefix=" + e125 + " start=1", e125 + "1.txt");
        // A name that is not valid UTF-8 reads back longer than it is: kept, it is no rename.
        const QByteArray unreadable = QByteArray("\xef\xbf\xbd").repeated(100);
        row("unchanged name never refused", unreadable, "", "case=2", unreadable);
        // The file's date between the prefix and the counter.
        const QByteArray may14 = "@2026-05-14T15:30:02";
        row("date dashed after the prefix", "IMG_0001.JPG" + may14, "", "batch prefix=Rome_ date=1", "Rome_2026-05-14_001.JPG");
        row("date compact", "IMG_0001.JPG" + may14, "", "batch prefix=Rome_ date=2", "Rome_20260514_001.JPG");
        row("date with seconds, 24-hour", "IMG_0001.JPG" + may14 + "|b.JPG@2026-01-02T09:05:07", "", "batch prefix=Rome_ date=3", "Rome_2026-05-14_15-30-02_001.JPG|Rome_2026-01-02_09-05-07_002.JPG");
        row("date with kept characters and leading text", "holiday.jpg" + may14, "", "batch keep=3 prefix=x date=1 leading=L", "holx2026-05-14_001L.jpg");
        row("date before an alphabetic counter", "a.JPG" + may14 + "|b.JPG" + may14, "", "batch alpha date=2", "20260514_AAA.JPG|20260514_AAB.JPG");
        row("date, all lower case", "IMG.JPG" + may14, "", "batch prefix=Rome_ date=3 case=1", "Rome_2026-05-14_15-30-02_001.jpg");
        row("date, ALL UPPER CASE", "img.jpeg" + may14, "", "batch prefix=Rome_ date=1 case=2", "Rome_2026-05-14_001.JPEG");
        row("date, first extension replaced", "a.tar.gz" + may14, "", "batch date=2 ext=0 newext=tiff", "20260514_001.tiff.gz");
        row("date of the selected files only", "a.JPG" + may14 + "|b.JPG@2026-05-15T00:00:00|c.JPG@2026-05-16T00:00:00", "101", "batch date=1", "2026-05-14_001.JPG|b.JPG|2026-05-16_002.JPG");
        row("date chosen, no date given", "a.JPG", "", "batch prefix=P date=1", "P001.JPG");
        row("date in the hour summer time skips", "a.JPG@2026-03-29T02:30:00", "", "batch date=3", "2026-03-29_02-30-00_001.JPG");
        row("same second, no counter: one name", "a.JPG" + may14 + "|b.JPG" + may14, "", "batch start= date=3", "2026-05-14_15-30-02_.JPG|2026-05-14_15-30-02_.JPG", true, "duplicate b.JPG / 2026-05-14_15-30-02_.JPG: a.JPG and b.JPG");
        row("date gives a later file's name", "a.JPG" + may14 + "|2026-05-14_001.jpg@2026-05-15T00:00:00", "", "batch date=1", "2026-05-14_001.JPG|2026-05-15_002.jpg", true, "duplicate a.JPG / 2026-05-14_001.JPG: a.JPG and 2026-05-14_001.jpg");
        row("date makes the name too long", "a.txt" + may14, "", "batch prefix=" + e125 + " start=1 date=2", e125 + "20260514_1.txt", false, "unusable a.txt>" + e125 + "20260514_1.txt: The new name may not be longer than 255 bytes");
        const char* camera = "IMG_1.CR2|IMG_1.xmp|IMG_1.JPG.xmp|notes.txt";
        row("companions follow", "IMG_1.JPG|IMG_2.JPG", "", "batch prefix=Trip_ start=001", "Trip_001.JPG|Trip_001.CR2|Trip_001.JPG.xmp|Trip_001.xmp|Trip_002.JPG|notes.txt", false, "", camera);
        row("companions, files kept", "IMG_1.JPG", "", "", "IMG_1.JPG|IMG_1.CR2|IMG_1.JPG.xmp|IMG_1.xmp|notes.txt", false, "", camera);
        row("companion takes a staying name", "IMG_1.JPG", "", "batch prefix=IMG_ start=2", "IMG_2.JPG|IMG_2.CR2|IMG_2.cr2", true, "duplicate IMG_1.CR2 / IMG_2.CR2: IMG_1.CR2 and IMG_2.cr2", "IMG_1.CR2|IMG_2.cr2");
        row("companion takes a later file's name", "IMG_1.JPG|b.CR2", "", "batch prefix=b start=", "b.JPG|b.CR2|b.CR2", true, "duplicate IMG_1.CR2 / b.CR2: IMG_1.CR2 and b.CR2", "IMG_1.CR2");
        row("companion takes a later companion's name", "a.JPG|x1.PNG", "", "batch prefix=x start=1", "x1.JPG|x1.xmp|x2.PNG|x2.xmp", true, "duplicate a.xmp / x1.xmp: a.xmp and x1.xmp", "x1.xmp|a.xmp");
        row("listed file takes a staying name", "a.JPG", "", "batch prefix=b start=", "b.JPG|b.JPG", true, "duplicate a.JPG / b.JPG: a.JPG and b.JPG", "b.JPG");
        row("two sidecars one new name", "IMG_1.JPG", "", "batch prefix=T start= remove", "T|T.xmp|T.xmp", true, "duplicate IMG_1.xmp / T.xmp: IMG_1.JPG.xmp and IMG_1.xmp", "IMG_1.xmp|IMG_1.JPG.xmp");
        row("companion of an unselected file", "a.JPG|b.JPG|c.JPG", "011", "batch prefix=x start=1", "a.JPG|x1.JPG|x1.xmp|x2.JPG|a.xmp", false, "", "a.xmp|b.xmp");
        row("companion name too long", "a.JPG", "", "batch prefix=" + e125 + " start=1", e125 + "1.JPG|" + e125 + "1.JPG.xmp", false, "unusable a.JPG.xmp>" + e125 + "1.JPG.xmp: The new name may not be longer than 255 bytes", "a.JPG.xmp");
        // clang-format on
    }
    void walk()
    {
        QFETCH(QString, names);
        QFETCH(QString, selected);
        QFETCH(QString, settings);
        QFETCH(QString, expected);
        QFETCH(bool, duplicates);
        QFETCH(QString, problem);
        QFETCH(QString, folder);
        QStringList list;
        QList<QDateTime> dates;
        for (const QString& name : names.split(u'|')) {
            list << name.section(u'@', 0, 0);
            dates << QDateTime::fromString(name.section(u'@', 1), Qt::ISODate);
        }
        std::vector<bool> flags;
        for (QChar c : selected)
            flags.push_back(c == u'1');
        const RenameSettings s = settingsFrom(settings);
        const auto size = renameSetSize(list.size(), std::count(flags.begin(), flags.end(), true));
        const bool fits = decimalCounterFits(s, size);
        const CompanionNames found = findCompanionNames(list, flags, folder.split(u'|'));
        const CompanionNames* companions = folder.isNull() ? nullptr : &found;
        QStringList olds;
        const QStringList composed = companions
                                         ? composeAll(list, dates, flags, s, *companions, &olds)
                                         : composeAll(list, dates, flags, s);
        QCOMPARE(fits ? composed.join(u'|') : "too far", expected);
        QCOMPARE(WouldProduceDuplicates(list, dates, flags, s, {}, companions), duplicates);
        QCOMPARE(!duplicateClashes(list, dates, flags, s, 1, companions).isEmpty(), duplicates);
        const NameProblem p = firstNameProblem(list, dates, flags, s, {}, companions);
        const QString kinds[] = {"", "unusable ", "duplicate "};
        QString told = kinds[int(p.kind)] + p.oldName +
                       (p.reason.isEmpty() ? "" : u'>' + p.newName + ": " + p.reason);
        if (p.kind == NameProblem::Kind::Duplicate)
            told += " / " + duplicateClashes(list, dates, flags, s, 5, companions).join(" / ");
        QCOMPARE(told, problem);
    }

    // The clashes of files given their names one at a time, in run order: "1<0" (file 1
    // takes the name file 0 was given or keeps), "0>2" (file 0 takes the name file 2 carries
    // until the run reaches it). Names before and after the run, as keys.
    void clashFinder_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("carried"); // false: the run steps aside, as a wildcard rename
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, const char* before, const char* after, bool carried,
                            const char* expected) {
            QTest::newRow(tag) << QString(before) << QString(after) << carried << QString(expected);
        };
        row("free names", "A|B", "X|Y", true, "");
        row("one name twice, told of the first", "A|B|C", "X|X|X", true, "1<0 2<0");
        row("a kept name is given", "A|B", "A|A", true, "1<0");
        row("its own name before is no clash", "A|B", "A|B", true, "");
        row("a later file's name", "A|B", "B|C", true, "0>1");
        row("the first of two later files", "A|K|K", "K|M|N", true, "0>1");
        row("the next carrier once the first is given", "K|A|K", "M|K|N", true, "1>2");
        row("a name given up before", "A|B", "C|A", true, "");
        row("stepping aside: later names free", "A|B", "B|C", false, "");
    }
    void clashFinder()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, carried);
        QFETCH(QString, expected);
        const QStringList olds = before.split(u'|');
        ClashFinder finder(olds.size(), carried);
        for (qsizetype i = olds.size(); carried && i-- > 0;)
            finder.carry(olds[i]);
        QStringList found;
        for (const QString& name : after.split(u'|')) {
            if (const Clash* clash = finder.give(name))
                found << QString::number(clash->file) +
                             (clash->kind == Clash::Kind::GivenBefore ? u'<' : u'>') +
                             QString::number(clash->other);
        }
        QCOMPARE(found.join(u' '), expected);
    }

    // The companions each listed file claims among the folder's other names, and the names
    // they get from the file's new name: "old>new" per companion, files apart by "|".
    void companions_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("unlisted");
        QTest::addColumn<QString>("renamed"); // the listed files' new names
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, const char* listed, const char* unlisted,
                            const char* renamed, const char* expected) {
            QTest::newRow(tag) << QString(listed) << QString(unlisted) << QString(renamed)
                               << QString(expected);
        };
        // clang-format off
        row("every RAW", "a.JPG", "a.CR2|a.CR3|a.NEF|a.NRW|a.ARW|a.SRF|a.SR2|a.RAF|a.ORF|a.RW2|a.DNG|a.PEF|a.SRW|a.X3F|a.3FR|a.IIQ", "b.JPG",
            "a.3FR>b.3FR a.ARW>b.ARW a.CR2>b.CR2 a.CR3>b.CR3 a.DNG>b.DNG a.IIQ>b.IIQ a.NEF>b.NEF a.NRW>b.NRW a.ORF>b.ORF a.PEF>b.PEF a.RAF>b.RAF a.RW2>b.RW2 a.SR2>b.SR2 a.SRF>b.SRF a.SRW>b.SRW a.X3F>b.X3F");
        row("not RAW, not sidecar", "a.JPG", "a.TIF|a.PNG|a.MOV|a.CRW|a.txt|a", "b.JPG", "");
        row("JPEG of a RAW", "a.CR2", "a.JPG|a.jpeg|a.HEIC|a.heif", "b.CR2", "a.HEIC>b.HEIC a.JPG>b.JPG a.jpeg>b.jpeg");
        row("JPEG of a JPEG no companion", "a.jpeg", "a.JPG|a.HEIC", "b.jpeg", "");
        row("JPEG of a PNG no companion", "a.PNG", "a.JPG", "b.PNG", "");
        row("sidecars", "a.JPG", "a.xmp|a.THM|a.aae", "b.JPG", "a.THM>b.THM a.aae>b.aae a.xmp>b.xmp");
        row("whole-name xmp follows new ext", "IMG_1.JPG", "IMG_1.JPG.xmp|IMG_1.jpg.XMP", "Trip_001.jpeg",
            "IMG_1.JPG.xmp>Trip_001.jpeg.xmp IMG_1.jpg.XMP>Trip_001.jpeg.XMP");
        row("whole-name only xmp", "a.JPG", "a.JPG.THM|a.JPG.CR2|a.JPG.aae", "b.JPG", "");
        row("letter case of stem and ext", "img_1.JPG", "IMG_1.cr2|Img_1.Xmp", "Trip.jpg", "IMG_1.cr2>Trip.cr2 Img_1.Xmp>Trip.Xmp");
        row("stem must be the whole stem", "a.JPG", "ab.CR2|a.b.CR2|.CR2|a.CR2.bak|xa.xmp", "b.JPG", "");
        row("dots in the stem", "a.b.c.JPG", "a.b.c.CR2|a.b.xmp|a.b.c.JPG.xmp", "x.y.JPG",
            "a.b.c.CR2>x.y.CR2 a.b.c.JPG.xmp>x.y.JPG.xmp");
        row("listed without extension", "IMG", "IMG.CR2|IMG.xmp|IMG.JPG", "Trip.txt", "IMG.CR2>Trip.CR2 IMG.xmp>Trip.xmp");
        row("new name without extension", "a.JPG", "a.CR2|a.JPG.xmp", "Trip", "a.CR2>Trip.CR2 a.JPG.xmp>Trip.xmp");
        row("new name with dots", "a.JPG", "a.xmp", "x.y.JPG", "a.xmp>x.y.xmp");
        row("first claimant wins", "a.JPG|a.NEF|a.TIF", "a.xmp|a.CR2|a.jpeg", "b.JPG|c.NEF|d.TIF",
            "a.CR2>b.CR2 a.xmp>b.xmp|a.jpeg>c.jpeg|");
        row("in name order", "a.JPG", "a.xmp|a.JPG.xmp|a.CR2", "b.JPG", "a.CR2>b.CR2 a.JPG.xmp>b.JPG.xmp a.xmp>b.xmp");
        // clang-format on
    }
    void companions()
    {
        QFETCH(QString, listed);
        QFETCH(QString, unlisted);
        QFETCH(QString, renamed);
        QFETCH(QString, expected);
        CompanionFinder finder(unlisted.split(u'|'));
        const QStringList names = listed.split(u'|');
        QStringList files;
        for (qsizetype i = 0; i < names.size(); ++i) {
            QStringList pairs;
            for (const qsizetype at : finder.claim(names[i])) {
                const QString& companion = finder.unlisted()[at];
                pairs << companion + u'>' +
                             companionNewName(companion, names[i], renamed.split(u'|')[i]);
            }
            files << pairs.join(u' ');
        }
        QCOMPARE(files.join(u'|'), expected);
    }

    void duplicatesMatchQuadraticCheck()
    {
        // One word from each group, "" when a group may be left out.
        // clang-format off
        const QList<QStringList> groups{
            {"", "batch"}, {"", "trim"}, {"keep=0", "keep=1", "keep=3", "keep=9"},
            {"prefix=", "prefix=a", "prefix=IMG_"}, {"leading=", "leading=b", "leading=.TXT"},
            {"ext=0", "ext=1", "ext=2"}, {"case=0", "case=1", "case=2", "case=3"},
            {"newext=txt", "newext=GIF", "newext=.gz", "remove", "newext=", "", ""},
            {"alpha start=A", "alpha start=z", "alpha start=Zz", "alpha start=", "start=1", "start=01", "start=9", "start="},
            {"inc=0", "inc=1", "inc=2", "inc=-1"}};
        const QStringList pool = QString("a.txt A.TXT a.gif b.txt a a. ab B a.tar.gz A.TAR 1.txt 01 "
                                         "2.TXT a1.txt IMG_1 b.gif .txt z.gz Ab aa").split(' ');
        // clang-format on
        QRandomGenerator random(424242);
        const int rounds = 5000;
        int found = 0;
        for (int round = 0; round < rounds; ++round) {
            QStringList names, words;
            std::vector<bool> selected;
            for (int n = 1 + random.bounded(6); n > 0; --n) {
                names << pool[random.bounded(int(pool.size()))];
                selected.push_back(random.bounded(3) == 0);
            }
            for (const QStringList& group : groups)
                words << group[random.bounded(int(group.size()))];
            const RenameSettings settings = settingsFrom(words.join(u' '));
            int yields = 0;
            const bool fast =
                WouldProduceDuplicates(names, {}, selected, settings, [&] { ++yields; });
            QVERIFY2(fast == quadraticCheck(names, selected, settings),
                     qPrintable(names.join(u'|') + " with " + words.join(u' ')));
            QVERIFY(fast ? yields <= names.size() : yields == names.size());
            found += fast;
        }
        // Both answers must be well represented, or the comparison proves little.
        QVERIFY(found > rounds / 5 && found < rounds * 4 / 5);
    }
};

QTEST_APPLESS_MAIN(TestNaming)
#include "tst_naming.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Wildcard renames: the new name a mask gives, and whole batches on real folders: planned
// first, refused on a conflict with a message naming it, run through cycles and failures
// without losing or replacing a file.

#include "run/WildcardName.h"
#include "run/WildcardRename.h"

#include "support/Files.h"
#include "support/StepRecorder.h"

#include <QTest>

#include <cerrno>

using namespace pellory;
using namespace pellory::testing;

namespace {

// "a>b c>d": the files a and c of `folder`, to be named b and d.
std::vector<NamedFile> namedFiles(const QString& folder, const QString& renames)
{
    std::vector<NamedFile> out;
    for (const QString& pair : renames.split(u' ')) {
        const QString from = pair.section(u'>', 0, 0);
        const quint64 inode = entryInode(QFile::encodeName(folder + u'/' + from));
        out.push_back({{from, from.toUtf8(), 0, inode}, pair.section(u'>', 1)});
    }
    return out;
}

// Fails its n-th rename (counted from 1) as a permission problem, as a step on disk that
// the observer is told of; renames the others.
struct FailingRenamer : FileRenamer
{
    int failAt, calls = 0;
    SystemRenamer system;
    explicit FailingRenamer(int n) : failAt(n) {}
    RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRaw, const QString& newName,
                         RenameObserver* observer) override
    {
        if (++calls != failAt)
            return system.rename(folder, oldRaw, newName, observer);
        if (observer && observer->beforeStep(oldRaw, QFile::encodeName(newName), {}, {}))
            observer->stepFailed();
        return {false, EACCES, QStringLiteral("Permission denied")};
    }
};

} // namespace

class tst_WildcardRename : public QObject
{
    Q_OBJECT

private slots:
    void newName_data()
    {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");
        // clang-format off
        const char* rows[][3] = {
            {"abc.txt", "b*.txt", "bbc.txt"}, {"IMG1234.jpg", "??\?-*.jpg", "IMG-234.jpg"},
            {"ab.jpg", "??\?-*.jpg", "ab-.jpg"}, {"a.b.txt", "*.", "a.b"}, {"noext", "*.bak", "noext.bak"},
            {"filename.aaa.aaa", "*.ext", "filename.aaa.ext"}, {"filename", "*.*.ext", "filename..ext"},
            {"filename.aaa", "*?.ext", "filename.aaa.ext"}, {"12.txt", "A?Z*", "A2Z.txt"},
            {"abcd_12345.txt", "*_NEW.*", "abcd_NEW.txt"}, {"abcdefg.txt", "?????.bak", "abcde.bak"},
            {"a.txt", "??x", "ax"}, {"x.y.txt", "**.bak", "x.y.bak"}};
        // clang-format on
        for (const auto& r : rows)
            QTest::addRow("%s by %s", r[0], r[1]) << r[0] << r[1] << r[2];
    }
    void newName()
    {
        QFETCH(QString, oldName);
        QFETCH(QString, mask);
        QFETCH(QString, expected);
        QCOMPARE(wildcardNewName(oldName, mask), expected);
    }

    void batch_data()
    {
        QTest::addColumn<QString>("entries"); // makeEntry lines
        QTest::addColumn<QString>("how");     // "spec|mask", or "old>new old>new ..."
        QTest::addColumn<int>("failAt"); // the rename that fails, from 1; -1: stop asked after one
        QTest::addColumn<QString>("journal"); // the steps the renamer took (StepRecorder)
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("message");
        const QString denied = "\n\nPermission denied";
        // clang-format off
        QTest::newRow("unchanged left alone") << "a.jpg b.JPG" << "*.jpg|*.jpg" << 0 << "b.JPG>b.jpg" << "a.jpg=a.jpg|b.jpg=b.JPG" << "";
        // Names written as percent escapes, for bytes that are no text; a name that reads
        // as its new one keeps its bytes.
        QTest::newRow("undecodable name kept") << "%FF.jpg b.JPG" << "*.jpg|*.jpg" << 0 << "b.JPG>b.jpg" << "b.jpg=b.JPG|%FF.jpg=%FF.jpg" << "";
        QTest::newRow("chain by mask") << "a a.x a.x.x" << "a*|*?.x" << 0 << "a.x.x>a.x.x.x|a.x>a.x.x|a>a.x" << "a.x=a|a.x.x=a.x|a.x.x.x=a.x.x" << "";
        QTest::newRow("spec in a subfolder") << "sub/ sub/a.txt a.txt" << "sub/*.txt|*.bak" << 0 << "" << "a.txt=a.txt|sub/a.txt=sub/a.txt" << "File specifications and wildcard patterns name files, not folders: \"sub/*.txt\" renames nothing.";
        QTest::newRow("mask into a subfolder") << "sub/ a.txt" << "*.txt|sub/*.txt" << 0 << "" << "a.txt=a.txt" << "File specifications and wildcard patterns name files, not folders: \"sub/*.txt\" renames nothing.";
        QTest::newRow("cycle of three") << "a b c" << "a>b b>c c>a" << 0 << "a>T|c>a|b>c|T>b" << "a=c|b=a|c=b" << "";
        QTest::newRow("chain and cycle") << "a b c d" << "a>b b>a c>d d>e" << 0 << "a>T|b>a|T>b|d>e|c>d" << "a=b|b=a|d=c|e=d" << "";
        QTest::newRow("two cycles") << "a b c d" << "a>b b>a c>d d>c" << 0 << "a>T|b>a|T>b|c>T|d>c|T>d" << "a=b|b=a|c=d|d=c" << "";
        QTest::newRow("taken by a file left alone") << "a b" << "a>b" << 0 << "" << "a=a|b=b" << "Cannot rename \"a\" to \"b\".\n\nAn entry of that name is already in the folder.";
        // Name order is the order of the decoded names' UTF-16 units, where U+1F600 comes
        // before U+FF21 (and after it in UTF-8 bytes).
        QTest::newRow("name order beyond 16 bits") << "\uFF21 \U0001F600" << "\uFF21>x \U0001F600>x" << 0 << "" << "\uFF21=\uFF21|\U0001F600=\U0001F600" << "Cannot rename \"\U0001F600\" to \"x\".\n\n\"\uFF21\" would get the same name.";
        QTest::newRow("two files, one name") << "a1.txt a2.txt b.doc" << "*.txt|a.*" << 0 << "" << "a1.txt=a1.txt|a2.txt=a2.txt|b.doc=b.doc" << "Cannot rename \"a1.txt\" to \"a.txt\".\n\n\"a2.txt\" would get the same name.";
        QTest::newRow("name of a folder") << "b.txt c.txt c.bak/" << "*.txt|*.bak" << 0 << "" << "b.txt=b.txt|c.txt=c.txt" << "Cannot rename \"c.txt\" to \"c.bak\".\n\nAn entry of that name is already in the folder.";
        QTest::newRow("taken by a file that stays, spec in capitals") << "a.txt b.txt b.bak c.txt" << "*.TXT|*.bak" << 0 << "" << "a.txt=a.txt|b.bak=b.bak|b.txt=b.txt|c.txt=c.txt" << "Cannot rename \"b.txt\" to \"b.bak\".\n\nAn entry of that name is already in the folder.";
        QTest::newRow("refusal names undecodable bytes") << "%FF.txt \uFFFD.bak" << "*.txt|*.bak" << 0 << "" << "\uFFFD.bak=\uFFFD.bak|%FF.txt=%FF.txt" << "Cannot rename \"\uFFFD.txt\" to \"\uFFFD.bak\".\n\nAn entry of that name is already in the folder.";
        QTest::newRow("empty name") << ".x y" << "*|?" << 0 << "" << ".x=.x|y=y" << "Cannot rename \".x\" to \"\".\n\nThe new name may not be empty.";
        QTest::newRow("fails at the second") << "a b c" << "a>x b>y c>z" << 2 << "a>x|b>y!" << "b=b|c=c|x=a" << "An error occurred renaming \"b\" to \"y\"." + denied;
        QTest::newRow("fails at a name beyond ASCII") << "a \u00E9" << "a>x \u00E9>\u00FF" << 2 << "a>x|\u00E9>\u00FF!" << "x=a|\u00E9=\u00E9" << "An error occurred renaming \"\u00E9\" to \"\u00FF\"." + denied;
        QTest::newRow("swap fails half way") << "a b" << "a>b b>a" << 2 << "a>T|b>a!|T>a" << "a=a|b=b" << "An error occurred renaming \"b\" to \"a\"." + denied;
        QTest::newRow("cycle fails late") << "a b c" << "a>b b>c c>a" << 3 << "a>T|c>a|b>c!|T>a!" << "T=a|a=c|b=b" << "An error occurred renaming \"b\" to \"c\"." + denied + "\n\n\"a\" is kept as \"T\".";
        QTest::newRow("second cycle fails half way") << "a b c d" << "a>b b>a c>d d>c" << 5 << "a>T|b>a|T>b|c>T|d>c!|T>c" << "a=b|b=a|c=c|d=d" << "An error occurred renaming \"d\" to \"c\"." + denied;
        // A request to stop inside a cycle is taken once the cycle is closed, so that no
        // temporary name stays behind.
        QTest::newRow("stop waits for the cycle") << "a b c" << "a>b b>a c>d" << -1 << "a>T|b>a|T>b" << "a=b|b=a|c=c" << "";
        // clang-format on
    }
    void batch()
    {
        QFETCH(QString, entries);
        QFETCH(QString, how);
        QFETCH(int, failAt);
        QFETCH(QString, journal);
        QFETCH(QString, after);
        QFETCH(QString, message);
        QTemporaryDir dir;
        for (const QString& entry : entries.split(u' '))
            QVERIFY(makeEntry(dir.path(), QByteArray::fromPercentEncoding(entry.toUtf8())));
        const WildcardPlan plan =
            how.contains(u'|')
                ? planWildcardRename(QFile::encodeName(dir.path()), how.section(u'|', 0, 0),
                                     how.section(u'|', 1))
                : planRenames(QFile::encodeName(dir.path()), namedFiles(dir.path(), how));
        for (const WildcardStep& step : plan.steps) // each step carries its file's identity
            QCOMPARE(step.inode, entryInode(QFile::encodeName(dir.filePath(plan.fileName(step)))));
        FailingRenamer renamer(failAt);
        StepRecorder journalled;
        WildcardHooks hooks;
        hooks.renamer = &renamer;
        hooks.observer = [&](const WildcardStep&) { return &journalled; };
        hooks.cancelRequested = [&] { return failAt < 0 && !journalled.steps.isEmpty(); };
        const WildcardOutcome out = runWildcardRename(plan, hooks);
        QCOMPARE(withoutTemporaryNames(out.message.toUtf8()), message.toUtf8());
        QCOMPARE(out.ok, message.isEmpty() && failAt >= 0);
        QCOMPARE(out.cancelled, failAt < 0);
        QCOMPARE(journalled.joined(), QByteArray::fromPercentEncoding(journal.toUtf8()));
        QCOMPARE(listing(dir.path()), QByteArray::fromPercentEncoding(after.toUtf8()));
    }
};

QTEST_GUILESS_MAIN(tst_WildcardRename)
#include "tst_wildcardrename.moc"

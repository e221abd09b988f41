#include "run/WildcardRename.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>

using namespace pellory;

namespace {

// A folder whose files hold their own first names, so that a listing shows where each went.
struct Folder
{
    QTemporaryDir dir;

    explicit Folder(const QStringList& entries)
    {
        for (const QString& f : entries) {
            QDir(dir.path()).mkpath(f.endsWith(u'/') ? f : QFileInfo(f).path());
            if (f.endsWith(u'/'))
                continue;
            QFile file(dir.filePath(f));
            if (!file.open(QIODevice::WriteOnly) || file.write(f.toUtf8()) != f.toUtf8().size())
                qFatal("cannot make %s", qPrintable(f));
        }
    }
    QString path() const { return dir.path(); }

    // "name=contents" of every entry below the folder, sorted; random temporary names as "T".
    QString listing() const
    {
        QStringList entries;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            const QString name = QDir(dir.path()).relativeFilePath(it.filePath());
            entries << name + u'=' + (file.open(QIODevice::ReadOnly) ? file.readAll() : "");
        }
        entries.sort();
        return withoutTemporaryNames(entries.join(u'|'));
    }
    static QString withoutTemporaryNames(QString s)
    {
        return s.replace(QRegularExpression(R"(\.pellory-[0-9a-f]+\.tmp)"), QStringLiteral("T"));
    }
};

// "a>b c>d": the files a and c, to be named b and d.
std::vector<NamedFile> namedFiles(const QString& renames)
{
    std::vector<NamedFile> out;
    for (const QString& pair : renames.split(u' ', Qt::SkipEmptyParts)) {
        const QString from = pair.section(u'>', 0, 0);
        out.push_back({{from, from.toUtf8(), 0}, pair.section(u'>', 1)});
    }
    return out;
}

QStringList contents(const QString& listing)
{
    QStringList all;
    for (const QString& entry : listing.split(u'|'))
        all << entry.section(u'=', 1);
    all.sort();
    return all;
}

// Fails its n-th rename (counted from 1) as a permission problem; all others are real.
class FailingRenamer : public FileRenamer
{
public:
    explicit FailingRenamer(int failAt) : m_failAt(failAt) {}
    RenameOutcome rename(const QString& folder, const QByteArray& oldRaw,
                         const QString& newName) override
    {
        if (++m_calls == m_failAt)
            return {false, EACCES, QStringLiteral("Permission denied")};
        return renameInPlace(folder, oldRaw, newName);
    }

private:
    int m_failAt;
    int m_calls = 0;
};

} // namespace

class tst_WildcardRename : public QObject
{
    Q_OBJECT

private slots:
    void newName_data();
    void newName();
    void batch_data();
    void batch();
    void cancelWaitsForTheCycle();
};

void tst_WildcardRename::newName_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");
    const char* rows[][3] = {{"report.txt", "*.bak", "report.bak"},
                             {"x.y.txt", "*.bak", "x.y.bak"},
                             {"abc.txt", "b*.txt", "bbc.txt"},
                             {"IMG1234.jpg", "??\?-*.jpg", "IMG-234.jpg"},
                             {"ab.jpg", "??\?-*.jpg", "ab-.jpg"},
                             {"photo.jpg", "*.", "photo"},
                             {"a.b.txt", "*.", "a.b"},
                             {"noext", "*.bak", "noext.bak"},
                             {"filename.aaa", "*.ext", "filename.ext"},
                             {"filename.aaa.aaa", "*.ext", "filename.aaa.ext"},
                             {"filename", "*.*.ext", "filename..ext"},
                             {"filename.aaa", "*?.ext", "filename.aaa.ext"},
                             {".aaa", "*?.ext", ".aaa.ext"},
                             {"12.txt", "A?Z*", "A2Z.txt"},
                             {"1234", "A?Z*", "A2Z4"},
                             {"abcd_12345.txt", "*_NEW.*", "abcd_NEW.txt"},
                             {"abcdefg.txt", "?????.bak", "abcde.bak"},
                             // beyond the worked examples
                             {"a_b_c.txt", "*_*.doc", "a_b_c.doc"},
                             {"ab.c", "???.?", "ab.c"},
                             {"a.txt", "??x", "ax"},
                             {"a.txt", "XYZ*", "XYZ.txt"},
                             {"photo.jpg", "* ", "photo.jpg"},
                             {"a.txt", "*.txt..", "a.txt"},
                             {"a.txt", "", ""},
                             {".hidden", "?", ""}};
    for (const auto& r : rows)
        QTest::addRow("%s by %s", r[0], r[1]) << r[0] << r[1] << r[2];
}

void tst_WildcardRename::newName()
{
    QFETCH(QString, oldName);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(wildcardNewName(oldName, mask), expected);
}

void tst_WildcardRename::batch_data()
{
    QTest::addColumn<QString>("entries"); // a name ending in "/" is a folder
    QTest::addColumn<QString>("how");     // "spec|mask", or "old>new old>new ..."
    QTest::addColumn<int>("failAt");      // the rename that fails, counted from 1
    QTest::addColumn<QString>("journal"); // "old>new" of every rename, T the temporary
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");
    const QString denied = "\n\nPermission denied",
                  taken = "\n\nAn entry of that name is already in the folder.";
    // clang-format off
    QTest::newRow("by mask") << "a.txt b.txt c.doc" << "*.txt|*.bak" << 0 << "a.txt>a.bak|b.txt>b.bak" << "a.bak=a.txt|b.bak=b.txt|c.doc=c.doc" << "";
    QTest::newRow("unchanged left alone") << "a.jpg b.JPG" << "*.jpg|*.jpg" << 0 << "b.JPG>b.jpg" << "a.jpg=a.jpg|b.jpg=b.JPG" << "";
    QTest::newRow("chain by mask") << "a a.x a.x.x" << "a*|*?.x" << 0 << "a.x.x>a.x.x.x|a.x>a.x.x|a>a.x" << "a.x.x.x=a.x.x|a.x.x=a.x|a.x=a" << "";
    QTest::newRow("in a subfolder") << "sub/a.txt b.txt" << "sub/*.txt|*.bak" << 0 << "a.txt>a.bak" << "b.txt=b.txt|sub/a.bak=sub/a.txt|sub=" << "";
    QTest::newRow("swap") << "a b" << "a>b b>a" << 0 << "a>T|b>a|T>b" << "a=b|b=a" << "";
    QTest::newRow("cycle of three") << "a b c" << "a>b b>c c>a" << 0 << "a>T|c>a|b>c|T>b" << "a=c|b=a|c=b" << "";
    QTest::newRow("chain and cycle") << "a b c d" << "a>b b>a c>d d>e" << 0 << "a>T|b>a|T>b|d>e|c>d" << "a=b|b=a|d=c|e=d" << "";
    QTest::newRow("two files, one name") << "a1.txt a2.txt b.doc" << "*.txt|a.*" << 0 << "" << "a1.txt=a1.txt|a2.txt=a2.txt|b.doc=b.doc" << "Cannot rename \"a1.txt\" to \"a.txt\".\n\n\"a2.txt\" would get the same name.";
    QTest::newRow("name of a staying file") << "a.txt a.bak b.txt" << "*.txt|*.bak" << 0 << "" << "a.bak=a.bak|a.txt=a.txt|b.txt=b.txt" << "Cannot rename \"a.txt\" to \"a.bak\"." + taken;
    QTest::newRow("name of a folder") << "b.txt c.txt c.bak/" << "*.txt|*.bak" << 0 << "" << "b.txt=b.txt|c.bak=|c.txt=c.txt" << "Cannot rename \"c.txt\" to \"c.bak\"." + taken;
    QTest::newRow("empty name") << ".x y" << "*|?" << 0 << "" << ".x=.x|y=y" << "Cannot rename \".x\" to \"\".\n\nThe new name may not be empty.";
    QTest::newRow("slash") << "a.txt" << "*.txt|sub/*" << 0 << "" << "a.txt=a.txt" << "Cannot rename \"a.txt\" to \"sub/.txt\".\n\nThe new name may not contain \"/\".";
    QTest::newRow("fails at the second") << "a b c" << "a>x b>y c>z" << 2 << "a>x|b>y" << "b=b|c=c|x=a" << "An error occurred renaming \"b\" to \"y\"." + denied;
    QTest::newRow("swap fails half way") << "a b" << "a>b b>a" << 2 << "a>T|b>a|T>a" << "a=a|b=b" << "An error occurred renaming \"b\" to \"a\"." + denied;
    QTest::newRow("cycle fails late") << "a b c" << "a>b b>c c>a" << 3 << "a>T|c>a|b>c|T>a" << "T=a|a=c|b=b" << "An error occurred renaming \"b\" to \"c\"." + denied + "\n\n\"a\" is kept as \"T\".";
    // clang-format on
}

void tst_WildcardRename::batch()
{
    QFETCH(QString, entries);
    QFETCH(QString, how);
    QFETCH(int, failAt);
    QFETCH(QString, journal);
    QFETCH(QString, after);
    QFETCH(QString, message);
    Folder folder(entries.split(u' '));
    const QString before = folder.listing();
    const WildcardPlan plan =
        how.contains(u'|')
            ? planWildcardRename(folder.path(), how.section(u'|', 0, 0), how.section(u'|', 1))
            : planRenames(folder.path(), namedFiles(how));
    FailingRenamer renamer(failAt);
    QStringList journalled;
    QString progress;
    WildcardHooks hooks;
    hooks.renamer = &renamer;
    hooks.journal = [&](const QString&, const QByteArray& from, const QString& to) {
        journalled << QString::fromUtf8(from) + u'>' + to;
    };
    hooks.progress = [&](int done, int total) {
        progress = QStringLiteral("%1/%2").arg(done).arg(total);
    };
    const WildcardOutcome out = runWildcardRename(plan, hooks);
    QCOMPARE(Folder::withoutTemporaryNames(out.message), message);
    QCOMPARE(out.ok, message.isEmpty());
    QCOMPARE(Folder::withoutTemporaryNames(journalled.join(u'|')), journal);
    QCOMPARE(folder.listing(), after);
    QCOMPARE(contents(folder.listing()), contents(before)); // nothing lost, nothing doubled
    if (!out.ok)
        return;
    QCOMPARE(progress, plan.fileCount ? QStringLiteral("%1/%1").arg(plan.fileCount) : QString());
    // What was recorded is enough to put every name back.
    for (auto step = out.stepsDone.rbegin(); step != out.stepsDone.rend(); ++step)
        QVERIFY(renameInPlace(plan.folder, QFile::encodeName(step->toName),
                              QFile::decodeName(step->fromRaw))
                    .ok);
    QCOMPARE(folder.listing(), before);
}

// A request to stop that comes inside a cycle is taken once the cycle is closed, so no
// temporary name stays behind.
void tst_WildcardRename::cancelWaitsForTheCycle()
{
    Folder folder({"a", "b", "c"});
    int calls = 0;
    FailingRenamer counting(0);
    WildcardHooks hooks;
    hooks.renamer = &counting;
    hooks.journal = [&](const QString&, const QByteArray&, const QString&) { ++calls; };
    hooks.cancelRequested = [&] { return calls > 0; };
    const WildcardOutcome out =
        runWildcardRename(planRenames(folder.path(), namedFiles("a>b b>a c>d")), hooks);
    QVERIFY(out.cancelled);
    QCOMPARE(out.filesDone, 2);
    QCOMPARE(folder.listing(), QStringLiteral("a=b|b=a|c=c"));
}

QTEST_GUILESS_MAIN(tst_WildcardRename)
#include "tst_wildcardrename.moc"

#include "run/WildcardRename.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>

using namespace pellory;

namespace {

// A folder whose files each hold their own first name, so that the listing after a batch
// shows where every content went.
struct Folder
{
    QTemporaryDir dir;

    explicit Folder(const QStringList& files, const QStringList& folders = {})
    {
        for (const QString& f : folders)
            QDir(dir.path()).mkpath(f);
        for (const QString& f : files) {
            QDir(dir.path()).mkpath(QFileInfo(f).path());
            QFile file(dir.filePath(f));
            if (!file.open(QIODevice::WriteOnly) || file.write(f.toUtf8()) != f.toUtf8().size())
                qFatal("cannot make %s", qPrintable(f));
        }
    }
    QString path() const { return dir.path(); }

    // "name=contents" of every entry below the folder, sorted, with temporary names shown
    // as "T" since they are random.
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
    QStringList contents() const
    {
        QStringList all;
        for (const QString& entry : listing().split(u'|'))
            all << entry.section(u'=', 1);
        all.sort();
        return all;
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

QStringList oldNames(const QString& renames)
{
    QStringList names;
    for (const NamedFile& f : namedFiles(renames))
        names << f.entry.name;
    return names;
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
    void refusals_data();
    void refusals();
    void batches_data();
    void batches();
    void failures_data();
    void failures();
    void cancelWaitsForTheCycle();
};

void tst_WildcardRename::newName_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");
    const char* rows[][3] = {
        {"report.txt", "*.bak", "report.bak"},
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
        {"a.b.c", "*.*.x", "a.b.c.x"},
        {"x.y.txt", "**.bak", "x.y.bak"},
        {"ab.c", "???.?", "ab.c"},
        {"a.txt", "??x", "ax"},
        {"a.txt", "XYZ*", "XYZ.txt"},
        {"photo.jpg", "* ", "photo.jpg"},
        {"a.txt", "*.txt..", "a.txt"},
        {"abc", "?? . ", "ab"},
        {"a.txt", "", ""},
        {".hidden", "?", ""},
    };
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

void tst_WildcardRename::refusals_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("message");
    QTest::newRow("two files, one name")
        << QStringList{"a1.txt", "a2.txt", "b.doc"} << QStringList{} << "*.txt"
        << "a.*"
        << "Cannot rename \"a1.txt\" to \"a.txt\".\n\n\"a2.txt\" would get the same name.";
    QTest::newRow("name of a staying file")
        << QStringList{"a.txt", "a.bak", "b.txt"} << QStringList{} << "*.txt"
        << "*.bak"
        << "Cannot rename \"a.txt\" to \"a.bak\".\n\nAn entry of that name is already in the "
           "folder.";
    QTest::newRow("name of a folder")
        << QStringList{"b.txt", "c.txt"} << QStringList{"c.bak"} << "*.txt"
        << "*.bak"
        << "Cannot rename \"c.txt\" to \"c.bak\".\n\nAn entry of that name is already in the "
           "folder.";
    QTest::newRow("empty name")
        << QStringList{".x", "y"} << QStringList{} << "*"
        << "?"
        << "Cannot rename \".x\" to \"\".\n\nThe new name may not be empty.";
    QTest::newRow("slash") << QStringList{"a.txt"} << QStringList{} << "*.txt"
                           << "sub/*"
                           << "Cannot rename \"a.txt\" to \"sub/.txt\".\n\nThe new name may not "
                              "contain \"/\".";
    QTest::newRow("unreadable folder") << QStringList{} << QStringList{} << "none/*"
                                       << "*.bak"
                                       << "The folder \"%1/none\" cannot be read.";
}

void tst_WildcardRename::refusals()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(QString, spec);
    QFETCH(QString, mask);
    QFETCH(QString, message);
    Folder folder(files, folders);
    const QString before = folder.listing();
    const WildcardPlan plan = planWildcardRename(folder.path(), spec, mask);
    const WildcardOutcome out = runWildcardRename(plan);
    QCOMPARE(out.message, message.replace(QStringLiteral("%1"), folder.path()));
    QCOMPARE(out.ok, false);
    QCOMPARE(out.stepsDone.size(), size_t(0));
    QCOMPARE(folder.listing(), before);
}

void tst_WildcardRename::batches_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("spec");    // with the mask, or empty for:
    QTest::addColumn<QString>("renames"); // names given one by one
    QTest::addColumn<QString>("journal"); // every rename, "T" for the temporary name
    QTest::addColumn<QString>("after");
    QTest::newRow("by mask") << QStringList{"a.txt", "b.txt", "c.doc"} << "*.txt|*.bak"
                             << ""
                             << "a.txt>a.bak|b.txt>b.bak"
                             << "a.bak=a.txt|b.bak=b.txt|c.doc=c.doc";
    QTest::newRow("unchanged names left alone") << QStringList{"a.jpg", "b.JPG"} << "*.jpg|*.jpg"
                                                << ""
                                                << "b.JPG>b.jpg"
                                                << "a.jpg=a.jpg|b.jpg=b.JPG";
    QTest::newRow("chain of three by mask") << QStringList{"a", "a.x", "a.x.x"} << "a*|*?.x"
                                            << ""
                                            << "a.x.x>a.x.x.x|a.x>a.x.x|a>a.x"
                                            << "a.x.x.x=a.x.x|a.x.x=a.x|a.x=a";
    QTest::newRow("in a subfolder") << QStringList{"sub/a.txt", "b.txt"} << "sub/*.txt|*.bak"
                                    << ""
                                    << "a.txt>a.bak"
                                    << "b.txt=b.txt|sub/a.bak=sub/a.txt|sub=";
    QTest::newRow("chain a>b b>c") << QStringList{"a", "b"} << ""
                                   << "a>b b>c"
                                   << "b>c|a>b"
                                   << "b=a|c=b";
    QTest::newRow("swap") << QStringList{"a", "b"} << ""
                          << "a>b b>a"
                          << "a>T|b>a|T>b"
                          << "a=b|b=a";
    QTest::newRow("cycle of three") << QStringList{"a", "b", "c"} << ""
                                    << "a>b b>c c>a"
                                    << "a>T|c>a|b>c|T>b"
                                    << "a=c|b=a|c=b";
    QTest::newRow("chain, cycle and a loner") << QStringList{"a", "b", "c", "d"} << ""
                                              << "a>b b>a c>d d>e"
                                              << "a>T|b>a|T>b|d>e|c>d"
                                              << "a=b|b=a|d=c|e=d";
}

void tst_WildcardRename::batches()
{
    QFETCH(QStringList, files);
    QFETCH(QString, spec);
    QFETCH(QString, renames);
    QFETCH(QString, journal);
    QFETCH(QString, after);
    Folder folder(files);
    const QString before = folder.listing();
    const WildcardPlan plan =
        spec.isEmpty()
            ? planRenames(folder.path(), namedFiles(renames))
            : planWildcardRename(folder.path(), spec.section(u'|', 0, 0), spec.section(u'|', 1));
    QStringList journalled, progress;
    WildcardHooks hooks;
    hooks.journal = [&](const QString&, const QByteArray& from, const QString& to) {
        journalled << QString::fromUtf8(from) + u'>' + to;
    };
    hooks.progress = [&](int done, int total) {
        progress << QStringLiteral("%1/%2").arg(done).arg(total);
    };
    const WildcardOutcome out = runWildcardRename(plan, hooks);
    QVERIFY2(out.ok, qPrintable(out.message));
    QCOMPARE(Folder::withoutTemporaryNames(journalled.join(u'|')), journal);
    QCOMPARE(progress.size(), plan.fileCount);
    QCOMPARE(progress.isEmpty() ? QString() : progress.last(),
             plan.fileCount ? QStringLiteral("%1/%1").arg(plan.fileCount) : QString());
    QCOMPARE(folder.listing(), after);
    // What was recorded is enough to put every name back.
    for (auto step = out.stepsDone.rbegin(); step != out.stepsDone.rend(); ++step)
        QVERIFY(renameInPlace(plan.folder, QFile::encodeName(step->toName),
                              QFile::decodeName(step->fromRaw))
                    .ok);
    QCOMPARE(folder.listing(), before);
}

void tst_WildcardRename::failures_data()
{
    QTest::addColumn<QString>("renames");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<int>("filesDone");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("after");
    QTest::newRow("second of three")
        << "a>x b>y c>z" << 2 << 1
        << "An error occurred renaming \"b\" to \"y\".\n\nPermission denied"
        << "b=b|c=c|x=a";
    QTest::newRow("swap, its second step")
        << "a>b b>a" << 2 << 0 << "An error occurred renaming \"b\" to \"a\".\n\nPermission denied"
        << "a=a|b=b";
    QTest::newRow("cycle of three, its third step")
        << "a>b b>c c>a" << 3 << 1
        << "An error occurred renaming \"b\" to \"c\".\n\nPermission denied\n\n\"a\" is kept as "
           "\"T\"."
        << "T=a|a=c|b=b";
}

void tst_WildcardRename::failures()
{
    QFETCH(QString, renames);
    QFETCH(int, failAt);
    QFETCH(int, filesDone);
    QFETCH(QString, message);
    QFETCH(QString, after);
    Folder folder(oldNames(renames));
    FailingRenamer renamer(failAt);
    WildcardHooks hooks;
    hooks.renamer = &renamer;
    const WildcardOutcome out =
        runWildcardRename(planRenames(folder.path(), namedFiles(renames)), hooks);
    QCOMPARE(out.ok, false);
    QCOMPARE(out.filesDone, filesDone);
    QCOMPARE(Folder::withoutTemporaryNames(out.message), message);
    QCOMPARE(folder.listing(), after);
    QCOMPARE(folder.contents(), oldNames(renames)); // nothing lost, nothing doubled
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
    QCOMPARE(out.cancelled, true);
    QCOMPARE(out.filesDone, 2);
    QCOMPARE(folder.listing(), QStringLiteral("a=b|b=a|c=c"));
}

QTEST_GUILESS_MAIN(tst_WildcardRename)
#include "tst_wildcardrename.moc"

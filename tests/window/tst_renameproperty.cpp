// Random folders, settings, selections and sort orders, run through the window's Preview and
// Apply and through its wildcard rename. Whatever the settings, no file may be lost,
// overwritten or moved, and a run ends with the names the preview promised or, when it
// stops, with every file under its old name or its new one. The seed is fixed unless
// PELLORY_PROPERTY_SEED gives another; PELLORY_PROPERTY_CASES sets the number of cases.

#include "../platform/FoldingMount.h"
#include "MainFixture.h"
#include "RandomFolder.h"
#include "platform/Rename.h"
#include "run/WildcardRename.h"
#include "window/FolderSelector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <array>

using namespace pellory;
using namespace pellory::testing;

namespace {

int envNumber(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultCases = 1200; // the sanitizers make every file operation slower
#else
constexpr int kDefaultCases = 2100;
#endif

// Mostly small folders, now and then a few hundred files.
int folderSize(QRandomGenerator& rng)
{
    const int r = rng.bounded(100);
    return r < 50   ? rng.bounded(8)
           : r < 88 ? 8 + rng.bounded(20)
           : r < 98 ? 28 + rng.bounded(60)
                    : 100 + rng.bounded(200);
}

struct Row
{
    QByteArray raw;
    QString name;
};

// Where each row's file must be after a run. `expected` holds the rows' new names, or is
// empty when no name was promised: then only the contents and the folder are checked.
// `finished` says the run claimed success, so every row must carry its new name.
QString checkRun(const Listing& before, const Listing& after, const std::vector<Row>& rows,
                 const QStringList& expected, bool finished)
{
    if (contentsOf(after) != contentsOf(before))
        return "the files' contents changed: a file was lost or overwritten";
    QMap<QByteArray, QByteArray> nameOf; // contents -> name now
    for (auto it = after.begin(); it != after.end(); ++it)
        nameOf.insert(it.value(), it.key());
    Listing untouched = before;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QByteArray token = before.value(rows[i].raw);
        const QByteArray now = nameOf.value(token);
        untouched.remove(rows[i].raw);
        if (now.contains('/'))
            return "\"" + rows[i].name + "\" moved into a subfolder as " + QString::fromUtf8(now);
        if (expected.isEmpty())
            continue;
        const QByteArray newRaw = QFile::encodeName(expected.at(int(i)));
        const bool same = expected.at(int(i)) == rows[i].name;
        const bool ok =
            same ? now == rows[i].raw : now == newRaw || (!finished && now == rows[i].raw);
        if (!ok)
            return QStringLiteral("\"%1\" is now \"%2\", expected \"%3\"%4")
                .arg(rows[i].name, QString::fromUtf8(now), expected.at(int(i)),
                     finished ? "" : " or its old name");
    }
    for (auto it = untouched.begin(); it != untouched.end(); ++it)
        if (after.value(it.key()) != it.value())
            return "a file outside the list changed: " + QString::fromUtf8(it.key());
    return {};
}

} // namespace

class tst_RenameProperty : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void schemeRuns();
    void wildcardRuns();
    void onFoldingMount_data();
    void onFoldingMount();

private:
    QRandomGenerator caseRandom(int index) const
    {
        const std::array<quint32, 2> seeds{m_seed, quint32(index)};
        return QRandomGenerator(seeds.data(), seeds.size());
    }
    void showFolder(const QString& folder, const QString& spec);
    std::vector<Row> rowsShown() const;
    void randomSettings(QRandomGenerator& rng);
    void randomSelection(QRandomGenerator& rng);
    QString schemeCase(int index);
    QString wildcardCase(int index);
    void tally(const QString& what) { ++m_tally[what]; }

    quint32 m_seed = 0;
    int m_cases = 0;
    std::unique_ptr<Window> m_window;
    QMap<QString, int> m_tally; // what the cases ran into, for the closing summary
};

void tst_RenameProperty::initTestCase()
{
    isolateHome();
    writeStore({});
    m_seed = quint32(envNumber("PELLORY_PROPERTY_SEED", 20261205));
    m_cases = envNumber("PELLORY_PROPERTY_CASES", kDefaultCases);
    qInfo("seed %u, %d cases (PELLORY_PROPERTY_SEED, PELLORY_PROPERTY_CASES)", m_seed, m_cases);
    m_window = std::make_unique<Window>();
}

void tst_RenameProperty::cleanupTestCase()
{
    for (auto it = m_tally.begin(); it != m_tally.end(); ++it)
        qInfo("%5d  %s", it.value(), qPrintable(it.key()));
    m_window.reset();
}

void tst_RenameProperty::showFolder(const QString& folder, const QString& spec)
{
    Main& main = *m_window->main;
    main.WildCardRen->setText(QString());
    main.SelSteps->setText(QString());
    main.FileSpecs->setText(spec);
    main.DirList->setPath(folder);
}

// The files in list order, which is the order of the preview's names.
std::vector<Row> tst_RenameProperty::rowsShown() const
{
    std::vector<Row> rows;
    for (const FileRecord& r : m_window->main->catalogue().FileRecords)
        rows.push_back({r.RawName, r.FileName});
    return rows;
}

void tst_RenameProperty::randomSettings(QRandomGenerator& rng)
{
    Main& main = *m_window->main;
    const auto setCheck = [](QCheckBox* box, bool on) {
        if (box->isChecked() != on)
            box->click(); // as the user does: a disabled box stays as it is
    };
    main.FileSortOrder->setCurrentIndex(rng.bounded(main.FileSortOrder->count()));
    setCheck(main.RenameChk, chance(rng, 60));
    setCheck(main.chkAlpha, chance(rng, 30));
    setCheck(main.chkTrim, chance(rng, 50));
    static const char* const keep[] = {"0", "0", "1", "3", "12", ""};
    static const char* const prefix[] = {"",  "",         "IMG_", "Photo ", "a.b",
                                         ".", "\xc3\x84", "a/b",  "x y",    "Z"};
    static const char* const leading[] = {"", "", "_end", ".x", " ", "-"};
    static const char* const decimal[] = {"1", "0", "009", "1000", "2147483647", "99", "7"};
    static const char* const alpha[] = {"A", "AAA", "ZZ", "z", "AZ", "Y"};
    static const char* const step[] = {"1", "1", "2", "0", "5", "-1", "100000"};
    static const char* const ext[] = {"jpg", "JPG", ".txt", "a.b", "tar.gz", "", " ", "/", "."};
    main.NumCharKeep->setText(pick(rng, keep));
    main.FilePrefix->setText(QString::fromUtf8(pick(rng, prefix)));
    if (chance(rng, 5))
        main.FilePrefix->setText(QString(250, u'p')); // with the rest, longer than a name may be
    main.FileLeading->setText(pick(rng, leading));
    main.StartingNumber->setText(main.chkAlpha->isChecked() ? pick(rng, alpha)
                                                            : pick(rng, decimal));
    main.NumberIncValue->setText(pick(rng, step));
    main.CasesList->setCurrentIndex(rng.bounded(main.CasesList->count()));
    main.ExtUsed[rng.bounded(int(main.ExtUsed.size()))]->click();
    const int extChoice = rng.bounded(10);
    if (extChoice < 5)
        main.NewExt->setCurrentIndex(0);
    else if (extChoice < 7)
        main.NewExt->setCurrentIndex(1);
    else
        main.NewExt->setEditText(pick(rng, ext));
}

void tst_RenameProperty::randomSelection(QRandomGenerator& rng)
{
    Main& main = *m_window->main;
    const int count = main.FileList->count();
    const int how = rng.bounded(4);
    if (how == 0 || count == 0)
        return; // none: every file takes part
    if (how == 3) {
        main.SelSteps->setText(QString::number(1 + rng.bounded(5)));
        return;
    }
    const int picks = how == 1 ? 1 : 2 + rng.bounded(count);
    for (int i = 0; i < picks; ++i)
        main.FileList->setRowSelected(rng.bounded(count), true);
}

QString tst_RenameProperty::schemeCase(int index)
{
    QRandomGenerator rng = caseRandom(index);
    Main& main = *m_window->main;
    const RandomFolder folder(rng, folderSize(rng));
    static const char* const specs[] = {"*.*", "*.*", "*.*",         "*.jpg",
                                        "*",   "I*",  "*.txt;*.jpg", "?*.*"};
    showFolder(folder.path(), pick(rng, specs));
    randomSettings(rng);
    randomSelection(rng);
    const std::vector<Row> rows = rowsShown();
    const Listing before = listFolder(folder.path());
    m_window->feedback.messages.clear();

    QStringList preview;
    if (main.PreviewBut->isEnabled()) {
        main.PreviewBut->click();
        if (!main.previewMode())
            return "Preview did not enter preview mode";
        if (m_window->feedback.messages.isEmpty())
            preview = main.PreviewList->names()->names();
        else if (main.PreviewList->count() != 0)
            return "a refused preview lists names";
        tally(preview.isEmpty() ? "scheme: preview refused" : "scheme: preview accepted");
        main.PreviewBut->click();
        if (main.previewMode())
            return "Exit Preview did not leave preview mode";
        if (listFolder(folder.path()) != before)
            return "the preview changed the folder";
    }
    if (!preview.isEmpty() && preview.size() != int(rows.size()))
        return QStringLiteral("the preview lists %1 names for %2 files")
            .arg(preview.size())
            .arg(rows.size());
    if (!main.ApplyBut->isEnabled()) {
        tally("scheme: Apply disabled");
        return listFolder(folder.path()) == before ? QString() : "the folder changed";
    }
    m_window->feedback.messages.clear();
    main.ApplyBut->click();
    const bool finished = m_window->feedback.messages.isEmpty();
    if (!finished)
        tally(QString(preview.isEmpty() ? "scheme: unchecked run stopped: "
                                        : "scheme: run stopped: ") +
              m_window->feedback.messages.first().section(u'\r', -1).left(40));
    else
        tally(preview.isEmpty() ? "scheme: run finished unchecked" : "scheme: run finished");
    return checkRun(before, listFolder(folder.path()), rows, preview, finished);
}

QString tst_RenameProperty::wildcardCase(int index)
{
    QRandomGenerator rng = caseRandom(index);
    Main& main = *m_window->main;
    const RandomFolder folder(rng, folderSize(rng));
    static const char* const specs[] = {"*.*", "*.*", "*.jpg", "*", "img*", "*.txt", "?*"};
    static const char* const masks[] = {"*.bak",
                                        "*.",
                                        "??"
                                        "?-*.jpg",
                                        "A?Z*",
                                        "*_NEW.*",
                                        "?????.bak",
                                        "*.JPG",
                                        "*",
                                        "*.*",
                                        "x*",
                                        "*?.ext",
                                        "*.*.ext",
                                        "b*.txt",
                                        "*.jpg",
                                        "IMG_*",
                                        "a/b*",
                                        "*. ",
                                        "?",
                                        "*.TXT",
                                        ".*",
                                        "*x"};
    const QString spec = pick(rng, specs), mask = pick(rng, masks);
    showFolder(folder.path(), spec);
    main.WildCardRen->setText(mask);
    const std::vector<Row> rows = rowsShown();
    const Listing before = listFolder(folder.path());
    const bool refused = !planWildcardRename(folder.path(), spec, mask).refusal.isEmpty();
    if (!main.ApplyBut->isEnabled()) {
        tally("wildcard: Apply disabled");
        return listFolder(folder.path()) == before ? QString() : "the folder changed";
    }
    m_window->feedback.messages.clear();
    main.ApplyBut->click();
    const bool finished = m_window->feedback.messages.isEmpty();
    tally(refused ? "wildcard: refused" : finished ? "wildcard: finished" : "wildcard: stopped");
    if (main.FileSpecs->text() != mask || !main.WildCardRen->text().isEmpty())
        return "after the run the specification is not the pattern, or the pattern stays";
    const Listing after = listFolder(folder.path());
    if (refused)
        return finished          ? "a refused batch showed no message"
               : after != before ? "a refused batch changed the folder"
                                 : QString();
    QStringList expected;
    for (const Row& row : rows)
        expected.append(wildcardNewName(row.name, mask));
    return checkRun(before, after, rows, expected, finished);
}

void tst_RenameProperty::schemeRuns()
{
    const int cases = m_cases * 2 / 3;
    for (int i = 0; i < cases; ++i) {
        const QString fault = schemeCase(i);
        QVERIFY2(
            fault.isEmpty(),
            qPrintable(QStringLiteral("seed %1 scheme case %2: %3").arg(m_seed).arg(i).arg(fault)));
    }
}

void tst_RenameProperty::wildcardRuns()
{
    const int cases = m_cases - m_cases * 2 / 3;
    for (int i = 0; i < cases; ++i) {
        const QString fault = wildcardCase(i);
        QVERIFY2(fault.isEmpty(),
                 qPrintable(
                     QStringLiteral("seed %1 wildcard case %2: %3").arg(m_seed).arg(i).arg(fault)));
    }
}

// On a folding file system, names that differ only in case are one name: a run that
// changes only the case must still rename, and the listing must show the new spelling.
void tst_RenameProperty::onFoldingMount_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QString>("mask"); // empty: a scheme run with "all lower case"
    QTest::addColumn<QString>("after");
    QTest::newRow("wildcard: extension to lower case") << "IMG_0001.JPG|IMG_0002.JPG"
                                                       << "*.JPG"
                                                       << "*.jpg"
                                                       << "IMG_0001.jpg|IMG_0002.jpg";
    QTest::newRow("wildcard: base to lower case") << "IMG_0001.JPG"
                                                  << "*.*"
                                                  << "img*"
                                                  << "img_0001.JPG";
    QTest::newRow("wildcard: extension to upper case") << "a.txt|B.txt"
                                                       << "*.txt"
                                                       << "*.TXT"
                                                       << "B.TXT|a.TXT";
    QTest::newRow("scheme: all lower case") << "IMG_0001.JPG|Holiday Photo.JPEG"
                                            << "*.*"
                                            << ""
                                            << "holiday photo.jpeg|img_0001.jpg";
}

void tst_RenameProperty::onFoldingMount()
{
    QFETCH(QString, files);
    QFETCH(QString, spec);
    QFETCH(QString, mask);
    QFETCH(QString, after);
    if (::geteuid() != 0)
        QSKIP("mounting an image needs root");
    const test::FoldingMount mount(test::MountKind::ExfatFuse);
    if (mount.path().isEmpty())
        QSKIP(qPrintable(mount.skipReason()));
    for (const QString& name : files.split(u'|')) {
        QFile file(mount.path() + '/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
    }
    const Listing before = listFolder(mount.path());
    Main& main = *m_window->main;
    showFolder(mount.path(), spec);
    m_window->feedback.messages.clear();
    if (mask.isEmpty()) {
        main.CasesList->setCurrentIndex(1);
        main.NewExt->setCurrentIndex(0);
        if (main.RenameChk->isChecked())
            main.RenameChk->click();
    } else {
        main.WildCardRen->setText(mask);
    }
    QVERIFY(main.ApplyBut->isEnabled());
    main.ApplyBut->click();
    QCOMPARE(m_window->feedback.messages, QStringList());
    const Listing listing = listFolder(mount.path());
    QCOMPARE(QString::fromUtf8(listing.keys().join('|')), after);
    QCOMPARE(contentsOf(listing), contentsOf(before));
    main.DirList->setPath(QDir::tempPath()); // let go of the mount before it is taken down
}

QTEST_MAIN(tst_RenameProperty)
#include "tst_renameproperty.moc"

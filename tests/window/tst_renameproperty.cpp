// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Random folders, settings, selections and sort orders, run through the window's Preview and
// Apply and through its wildcard rename, then undone. Whatever the settings, no file may be
// lost, overwritten or moved; a run ends with the names the preview promised or, when it
// stops, with every file under its old name or its new one; and the undo gives every file
// whose name is valid text its old name back. The seed is fixed unless PELLORY_PROPERTY_SEED
// gives another; PELLORY_PROPERTY_CASES sets the number of cases.

#include "MainFixture.h"
#include "platform/Rename.h"
#include "run/RunHistory.h"
#include "run/WildcardName.h"
#include "run/WildcardRename.h"
#include "support/FoldingMount.h"
#include "support/RandomFolder.h"
#include "window/FolderSelector.h"
#include "window/LiveNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <array>

using namespace pellory;
using namespace pellory::testing;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultCases = 1200; // the sanitizers make every file operation slower
#else
constexpr int kDefaultCases = 2100;
#endif

// Mostly small folders, now and then a few hundred files.
int folderSize(QRandomGenerator& rng)
{
    return chance(rng, 95) ? rng.bounded(30) : 30 + rng.bounded(270);
}

// Every file's token must be under a name it may have now: a file outside the list under
// its own; a listed file under its new name after a finished run, under its old or new one
// after a stopped run, and anywhere in its own folder when no name was promised.
QString checkRun(const Listing& before, const Listing& after, const std::vector<FileRecord>& rows,
                 const QStringList& expected, bool finished)
{
    if (contentsOf(after) != contentsOf(before))
        return "the files' contents changed: a file was lost or overwritten";
    QMap<QByteArray, QByteArrayList> allowed; // token -> the names it may have
    for (auto it = before.begin(); it != before.end(); ++it)
        allowed[it.value()] = {it.key()};
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString newName = expected.value(int(i));
        const QByteArray newRaw =
            newName == rows[i].FileName ? rows[i].RawName : QFile::encodeName(newName);
        allowed[before.value(rows[i].RawName)] = expected.isEmpty() ? QByteArrayList()
                                                 : finished
                                                     ? QByteArrayList{newRaw}
                                                     : QByteArrayList{rows[i].RawName, newRaw};
    }
    for (auto it = after.begin(); it != after.end(); ++it) {
        const QByteArrayList& names = allowed[it.value()];
        const bool ok = it.key().contains('/') ? before.value(it.key()) == it.value()
                                               : names.isEmpty() || names.contains(it.key());
        if (!ok)
            return QString("\"%1\" is now \"%2\"")
                .arg(QString::fromUtf8(it.value()), QString::fromUtf8(it.key()));
    }
    return {};
}

// The file list's new names once worked out, a kept name as it stands; `marked` tells
// whether a clash is marked among them.
QStringList liveNames(Main& main, const std::vector<FileRecord>& rows, bool& marked)
{
    main.files().liveNames().complete();
    const NameListModel& model = *control<NameListView>(main, "FileList")->names();
    const int column = model.column(NameListModel::Content::Beside);
    QStringList names;
    marked = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        marked |= !model.index(int(i), column).data(Qt::ToolTipRole).isNull();
        const QString name = model.beside(int(i));
        names << (name.isNull() ? rows[i].FileName : name);
    }
    return names;
}

} // namespace

class tst_RenameProperty : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_window.reset(); }
    void runs_data();
    void runs();
    void onFoldingMount_data();
    void onFoldingMount();

private:
    QTemporaryDir m_history{"/dev/shm/pellory-history-XXXXXX"};
    void showFolder(const QString& folder, const QString& spec);
    void randomSettings(QRandomGenerator& rng);
    QString runCase(QRandomGenerator& rng, bool wildcard, int& finished);

    quint32 m_seed = 0;
    int m_cases = 0;
    std::unique_ptr<Window> m_window;
};

void tst_RenameProperty::initTestCase()
{
    isolateHome();
    writeStore({});
    // Thousands of runs, each closed with a flush of its record to the disk: in memory,
    // where there is a file system there, the flushes cost nothing.
    if (m_history.isValid())
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_history.path()));
    m_seed = qEnvironmentVariable("PELLORY_PROPERTY_SEED", "20261205").toUInt();
    m_cases =
        qEnvironmentVariable("PELLORY_PROPERTY_CASES", QString::number(kDefaultCases)).toInt();
    qInfo("seed %u, %d cases (PELLORY_PROPERTY_SEED, PELLORY_PROPERTY_CASES)", m_seed, m_cases);
    m_window = std::make_unique<Window>();
}

void tst_RenameProperty::showFolder(const QString& folder, const QString& spec)
{
    control<QLineEdit>(*m_window->main, "WildCardRen")->setText(QString());
    FilePane& f = m_window->main->files();
    control<QLineEdit>(*m_window->main, "SelSteps")->setText(QString());
    f.setSpecs(spec); // as typed and left: the list below is made with it
    control<FolderSelector>(*m_window->main, "DirList")->setPath(folder);
}

// Random settings, sort order and selection, set as a user would set them.
void tst_RenameProperty::randomSettings(QRandomGenerator& rng)
{
    Main& main = *m_window->main;
    // clang-format off
    static const char* const keep[] = {"0", "0", "1", "3", "12", ""};
    static const char* const prefix[] = {"", "", "IMG_", "Photo ", "a.b", ".", "\xc3\x84", "a/b", "x y", "Z"};
    static const char* const leading[] = {"", "", "_end", ".x", " ", "-"};
    static const char* const decimal[] = {"1", "0", "009", "1000", "2147483647", "99", "7"};
    static const char* const alpha[] = {"A", "AAA", "ZZ", "z", "AZ", "Y"};
    static const char* const step[] = {"1", "1", "2", "0", "5", "-1", "100000"};
    static const char* const ext[] = {"jpg", "JPG", ".txt", "a.b", "tar.gz", "", " ", "/", "."};
    // clang-format on
    control<QComboBox>(main, "FileSortOrder")
        ->setCurrentIndex(rng.bounded(control<QComboBox>(main, "FileSortOrder")->count()));
    // As the user does: a disabled box stays as it is.
    for (auto [box, percent] : std::initializer_list<std::pair<QCheckBox*, int>>{
             {control<QCheckBox>(main, "RenameChk"), 60},
             {control<QCheckBox>(main, "chkAlpha"), 30},
             {control<QCheckBox>(main, "chkTrim"), 50}})
        if (box->isChecked() != chance(rng, percent))
            box->click();
    control<QLineEdit>(main, "NumCharKeep")->setText(pick(rng, keep));
    // Now and then, with the rest, longer than a name may be.
    control<QLineEdit>(main, "FilePrefix")
        ->setText(chance(rng, 5) ? QString(250, u'p') : QString::fromUtf8(pick(rng, prefix)));
    control<QLineEdit>(main, "FileLeading")->setText(pick(rng, leading));
    control<QLineEdit>(main, "StartingNumber")
        ->setText(control<QCheckBox>(main, "chkAlpha")->isChecked() ? pick(rng, alpha)
                                                                    : pick(rng, decimal));
    control<QLineEdit>(main, "NumberIncValue")->setText(pick(rng, step));
    control<QComboBox>(main, "CasesList")
        ->setCurrentIndex(rng.bounded(control<QComboBox>(main, "CasesList")->count()));
    control<QRadioButton>(main, ("ExtUsed" + QByteArray::number(rng.bounded(3))).constData())
        ->click();
    const int extChoice = rng.bounded(10);
    if (extChoice < 7)
        control<QComboBox>(main, "NewExt")->setCurrentIndex(extChoice < 5 ? 0 : 1);
    else
        control<QComboBox>(main, "NewExt")->setEditText(pick(rng, ext));
    // No file selected (every file takes part), one, several, or every n-th file.
    const int count = control<NameListView>(main, "FileList")->count(), how = rng.bounded(4);
    if (how == 3)
        control<QLineEdit>(main, "SelSteps")->setText(QString::number(1 + rng.bounded(5)));
    const int picks = count == 0 ? 0 : how == 1 ? 1 : how == 2 ? 2 + rng.bounded(count) : 0;
    std::vector<qint32> rows;
    for (int i = 0; i < picks; ++i)
        rows.push_back(rng.bounded(count));
    std::sort(rows.begin(), rows.end());
    control<NameListView>(main, "FileList")->selectRows(rows);
}

// One random folder through a scheme run, previewed when Preview is enabled, or through a
// wildcard rename; a fault is described, and a run that renamed as promised is counted.
QString tst_RenameProperty::runCase(QRandomGenerator& rng, bool wildcard, int& finished)
{
    Main& main = *m_window->main;
    FilePane& f = main.files();
    QDir(historyFolder()).removeRecursively(); // the runs of earlier folders, all gone now
    const RandomFolder folder(rng, folderSize(rng));
    // clang-format off
    static const char* const specs[] = {"*.*", "*.*", "*.jpg", "*", "I*", "img*", "*.txt", "*.txt;*.jpg", "?*"};
    static const char* const masks[] = {"*.bak", "*.", "??\?-*.jpg", "A?Z*", "*_NEW.*", "?????.bak", "*.JPG",
        "*", "*.*", "x*", "*?.ext", "*.*.ext", "b*.txt", "*.jpg", "IMG_*", "a/b*", "*. ", "?", "*.TXT", ".*", "*x"};
    // clang-format on
    const QString spec = pick(rng, specs), mask = wildcard ? pick(rng, masks) : "";
    showFolder(folder.path(), spec);
    control<QLineEdit>(main, "WildCardRen")->setText(mask);
    if (!wildcard)
        randomSettings(rng);
    const std::vector<FileRecord> rows = f.catalogue().FileRecords;
    const Listing before = listFolder(folder.path());
    const bool refused =
        wildcard &&
        !planWildcardRename(QFile::encodeName(folder.path()), spec, mask).refusal.isEmpty();
    QStringList expected; // the promised names; none for a scheme run not previewed
    for (const FileRecord& row : rows)
        if (wildcard)
            expected.append(refused ? row.FileName : wildcardNewName(row.FileName, mask));
    // The names shown beside the files are those of the wildcard rename or the preview; none
    // is marked as a clash unless the preview is refused.
    bool marked = false;
    const QStringList live = liveNames(main, rows, marked);
    if (wildcard && !refused && live != expected)
        return "the new names beside the files are not the wildcard's: " + live.join('|');
    m_window->feedback.messages.clear();
    if (!wildcard && control<QPushButton>(main, "PreviewBut")->isEnabled()) {
        control<QPushButton>(main, "PreviewBut")->click();
        expected = control<NameListView>(main, "PreviewList")
                       ->names()
                       ->names(); // none when the preview was refused
        control<QPushButton>(main, "PreviewBut")->click();
        if (listFolder(folder.path()) != before)
            return "the preview changed the folder";
        if (!expected.isEmpty() && (live != expected || marked))
            return "the new names beside the files are not the preview's: " + live.join('|');
    }
    if (!control<QPushButton>(main, "ApplyBut")->isEnabled())
        return {};
    m_window->feedback.messages.clear();
    control<QPushButton>(main, "ApplyBut")->click();
    const bool done = m_window->feedback.messages.isEmpty();
    // After a wildcard run the pattern is the specification; the pattern, cleared while the
    // run is still busy, enables the naming fields whatever batch rename says.
    if (wildcard && (control<QLineEdit>(main, "FileSpecs")->text() != mask ||
                     !control<QLineEdit>(main, "WildCardRen")->text().isEmpty() ||
                     !control<QLineEdit>(main, "NumCharKeep")->isEnabled() ||
                     control<NameListView>(main, "PreviewList")->isEnabled()))
        return "after the run: the specification, the pattern or the fields' states are wrong";
    const QString& message = m_window->feedback.messages.value(0);
    if (refused && !message.startsWith("Pellory - Wildcard Error|plain|"))
        return "a refused batch showed no wildcard error but \"" + message + '"';
    finished += done && !refused && !expected.isEmpty();
    const QString fault =
        checkRun(before, listFolder(folder.path()), rows, expected, done || refused);
    if (!fault.isEmpty())
        return fault;
    m_window->feedback.messages.clear();
    pressUndo(control<NameListView>(
        main, "FileList")); // when the run renamed nothing, there is nothing to undo
    const Listing after = listFolder(folder.path());
    if (contentsOf(after) != contentsOf(before))
        return "the undo lost or overwrote a file";
    // A name that is no valid text cannot be spelled back through the rename, and the undo
    // says so; every other file has its name back.
    for (auto it = before.begin(); it != before.end(); ++it)
        if (QFile::encodeName(QFile::decodeName(it.key())) == it.key() &&
            after.value(it.key()) != it.value())
            return "the undo did not give \"" + QString::fromUtf8(it.value()) + "\" its name back";
    return {};
}

void tst_RenameProperty::runs_data()
{
    QTest::addColumn<bool>("wildcard");
    QTest::newRow("scheme") << false;
    QTest::newRow("wildcard") << true;
}

// A share of the runs must finish with the promised names, or the cases prove little.
void tst_RenameProperty::runs()
{
    QFETCH(bool, wildcard);
    const int cases = wildcard ? m_cases - m_cases * 2 / 3 : m_cases * 2 / 3;
    int finished = 0;
    for (int i = 0; i < cases; ++i) {
        const std::array<quint32, 2> seeds{m_seed, quint32(i)};
        QRandomGenerator rng(seeds.data(), seeds.size());
        const QString fault = runCase(rng, wildcard, finished);
        QVERIFY2(fault.isEmpty(),
                 qPrintable(QString("seed %1 case %2: %3").arg(m_seed).arg(i).arg(fault)));
    }
    qInfo("%d of %d runs finished with the promised names", finished, cases);
    QVERIFY(finished > cases / 5);
}

// On a folding file system, names that differ only in case are one name: a run that
// changes only the case must still rename, and the listing must show the new spelling.
void tst_RenameProperty::onFoldingMount_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QString>("mask"); // empty: a scheme run with "all lower case"
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("wildcard: extension to lower case") << "IMG_0001.JPG|IMG_0002.JPG" << "*.JPG" << "*.jpg" << "IMG_0001.jpg|IMG_0002.jpg";
    QTest::newRow("wildcard: base to lower case") << "IMG_0001.JPG" << "*.*" << "img*" << "img_0001.JPG";
    QTest::newRow("scheme: all lower case") << "IMG_0001.JPG|Holiday Photo.JPEG" << "*.*" << "" << "holiday photo.jpeg|img_0001.jpg";
    // clang-format on
}

void tst_RenameProperty::onFoldingMount()
{
    QFETCH(QString, files);
    QFETCH(QString, spec);
    QFETCH(QString, mask);
    QFETCH(QString, after);
    const testing::FoldingMount mount(testing::MountKind::ExfatFuse);
    if (mount.path().isEmpty())
        QSKIP(qPrintable(mount.skipReason()));
    for (const QString& name : files.split(u'|'))
        QVERIFY(makeFile(QFile::encodeName(mount.path() + '/' + name), name.toUtf8()));
    const Listing before = listFolder(mount.path());
    Main& main = *m_window->main;
    showFolder(mount.path(), spec);
    m_window->feedback.messages.clear();
    if (mask.isEmpty()) {
        control<QComboBox>(main, "CasesList")->setCurrentIndex(1);
        control<QComboBox>(main, "NewExt")->setCurrentIndex(0);
        if (control<QCheckBox>(main, "RenameChk")->isChecked())
            control<QCheckBox>(main, "RenameChk")->click();
    }
    control<QLineEdit>(main, "WildCardRen")->setText(mask);
    control<QPushButton>(main, "ApplyBut")->click();
    QCOMPARE(m_window->feedback.messages, QStringList());
    const Listing listing = listFolder(mount.path());
    QCOMPARE(QString::fromUtf8(listing.keys().join('|')), after);
    QCOMPARE(contentsOf(listing), contentsOf(before));
    control<FolderSelector>(main, "DirList")
        ->setPath(QDir::tempPath()); // let go of the mount before it is taken down
}

QTEST_MAIN(tst_RenameProperty)
#include "tst_renameproperty.moc"

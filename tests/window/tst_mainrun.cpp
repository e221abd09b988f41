// Apply and Preview driven as a user drives them, on real temporary folders: which files a
// run renames, where it stops and what it says, what the preview lists, and the state the
// window is left in. The wildcard rename's runs are in tst_renameproperty.

#include "MainFixture.h"
#include "platform/Rename.h"
#include "run/SchemeWalk.h"
#include "run/UndoJournal.h"
#include "window/DriveSelector.h"
#include "window/FolderSelector.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

#include <functional>
#include <optional>

using namespace pellory;
using namespace pellory::testing;

namespace {

QString onDisk(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name).join('|');
}

// Batch rename on with a numbered scheme.
void setScheme(Main& m, const QString& prefix = "IMG_", const QString& start = "001",
               int newExt = 0, const QString& keep = "0")
{
    m.RenameChk->setChecked(true);
    m.CasesList->setCurrentIndex(0);
    m.chkAlpha->setChecked(false);
    m.chkTrim->setChecked(false);
    m.NumCharKeep->setText(keep);
    m.FilePrefix->setText(prefix);
    m.FileLeading->clear();
    m.StartingNumber->setText(start);
    m.NumberIncValue->setText("1");
    m.NewExt->setCurrentIndex(newExt);
}

void openFolder(Main& m, const QString& folder, const QString& specs)
{
    m.FileSpecs->setText(specs);
    m.DirList->setPath(folder); // rebuilds the list from the specification
}

void ctrlClickRows(NameListView* list, const QList<int>& rows)
{
    for (int row : rows) {
        const QRect cell = list->visualRect(list->names()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    }
}

bool click(QPushButton* button)
{
    if (!button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

// The controls in the window's order that can be used now, leaving out the names given.
QString enabledControls(const Main& m, const QStringList& leftOut = {})
{
    QMap<int, QString> byPosition;
    for (QWidget* control : m.findChildren<QWidget*>()) {
        const QVariant position = control->property("tabPosition");
        if (position.isValid() && control->isEnabled() && !leftOut.contains(control->objectName()))
            byPosition.insert(position.toInt(), control->objectName());
    }
    return QStringList(byPosition.values()).join('|');
}

// The window after a run: idle, the default pointer back, lists and selectors usable.
void checkIdle(const Main& m)
{
    QCOMPARE(m.runState(), RunState::Idle);
    QVERIFY(!QApplication::overrideCursor());
    for (QWidget* control : std::initializer_list<QWidget*>{m.CasesList, m.RenameChk, m.PreviewList,
                                                            m.FileList, m.DriveList, m.DirList})
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
}

// Renames for real, except at the call `onCall` answers for.
class ScriptedRenamer final : public FileRenamer
{
public:
    std::function<std::optional<RenameOutcome>(int call)> onCall;
    int calls = 0;
    SystemRenamer system;
    RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRawName,
                         const QString& newName, RenameObserver* observer = nullptr) override
    {
        if (std::optional<RenameOutcome> forced = onCall(++calls))
            return *forced;
        return system.rename(folder, oldRawName, newName, observer);
    }
};

} // namespace

class TstMainRun : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void cleanup() { installRenamer(nullptr); }
    void apply_data();
    void apply();
    void stops_data();
    void stops();
    void preview_data();
    void preview();
    void counterRange_data();
    void counterRange();
    void messageLineBreaks();
};

void TstMainRun::apply_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("prefixes"); // one run per prefix
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("late");  // a file made after the list was read
    QTest::addColumn<QString>("steps"); // every-N selection
    QTest::addColumn<QString>("disk");
    QTest::addColumn<QString>("selectedAfter");
    const QStringList img{"IMG_"};
    // clang-format off
    QTest::newRow("one selected renames all") << 4 << QList<int>{2} << img << "001" << "" << "0" << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG|IMG_004.JPG" << "";
    QTest::newRow("two selected rename only those") << 4 << QList<int>{0, 2} << img << "001" << "" << "0" << "F001.JPG|F003.JPG|IMG_001.JPG|IMG_002.JPG" << "";
    QTest::newRow("every second file, reselected after") << 4 << QList<int>{} << img << "001" << "" << "2" << "F001.JPG|F003.JPG|IMG_001.JPG|IMG_002.JPG" << "0|2";
    QTest::newRow("next run starts at 009 again") << 3 << QList<int>{} << QStringList{"A_", "B_"} << "009" << "" << "0" << "B_009.JPG|B_010.JPG|B_011.JPG" << "";
    QTest::newRow("empty list renames nothing and rebuilds") << 0 << QList<int>{} << img << "001" << "LATE.JPG" << "0" << "LATE.JPG" << "";
    // clang-format on
}

void TstMainRun::apply()
{
    QFETCH(int, files);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, prefixes);
    QFETCH(QString, start);
    QFETCH(QString, late);
    QFETCH(QString, steps);
    QFETCH(QString, disk);
    QFETCH(QString, selectedAfter);
    FilesFolder folder(numberedNames(files));
    Window w;
    Main& m = *w.main;
    openFolder(m, folder.path(), "*.JPG");
    m.SelSteps->setText(steps);
    if (!late.isEmpty())
        QVERIFY(QFile(folder.dir.filePath(late)).open(QIODevice::WriteOnly));
    for (const QString& prefix : prefixes) {
        setScheme(m, prefix, start, files == 0 ? 1 : 0); // no list: the extension removed
        ctrlClickRows(m.FileList, selected);
        QVERIFY(click(m.ApplyBut));
    }
    QCOMPARE(onDisk(folder.path()), disk);
    QCOMPARE(listed(m), disk); // rebuilt from disk after the run
    QCOMPARE(m.StartingNumber->text(), start);
    QCOMPARE(selectedRows(*m.FileList).section(' ', 0, 0), selectedAfter);
    QCOMPARE(w.feedback.messages.join('\n'), QString());
    checkIdle(m);
}

void TstMainRun::stops_data()
{
    QTest::addColumn<QString>("blocker"); // an unlisted file that holds a new name already
    QTest::addColumn<int>("atCall");
    QTest::addColumn<QString>("action"); // at that rename: fail, press Exit, Apply, Preview, respec
    QTest::addColumn<QString>("disk");   // the list shows its F* files
    QTest::addColumn<QString>("messages");
    QTest::addColumn<int>("beeps");
    const QString failed = "Pellory|0|An error occured renaming the file : ";
    const QString untouched = "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG|IMG_004.JPG";
    // clang-format off
    QTest::newRow("target taken at the third file") << "IMG_003.JPG" << 0 << "" << "F002.JPG|F003.JPG|IMG_001.JPG|IMG_002.JPG|IMG_003.JPG" << failed + "IMG_003.JPG\r\rFile exists" << 0;
    QTest::newRow("rename fails at the second file") << "" << 2 << "fail" << "F001.JPG|F002.JPG|F003.JPG|IMG_001.JPG" << failed + "IMG_002.JPG\r\rInput/output error" << 0;
    QTest::newRow("exit during the third file") << "" << 3 << "exit" << "F003.JPG|IMG_001.JPG|IMG_002.JPG|IMG_003.JPG" << "" << 0;
    QTest::newRow("apply during a run beeps") << "" << 2 << "apply" << untouched << "" << 1;
    QTest::newRow("preview during a run beeps") << "" << 2 << "preview" << untouched << "" << 1;
    QTest::newRow("list rebuilt under the run") << "" << 2 << "respec" << untouched << "" << 0;
    // clang-format on
}

void TstMainRun::stops()
{
    QFETCH(QString, blocker);
    QFETCH(int, atCall);
    QFETCH(QString, action);
    QFETCH(QString, disk);
    QFETCH(QString, messages);
    QFETCH(int, beeps);
    FilesFolder folder(blocker.isEmpty() ? numberedNames(4) : numberedNames(4) << blocker);
    Window w;
    Main& m = *w.main;
    openFolder(m, folder.path(), "F*");
    setScheme(m);
    ScriptedRenamer renamer;
    renamer.onCall = [&](int call) -> std::optional<RenameOutcome> {
        if (call != atCall)
            return std::nullopt;
        if (action == "fail")
            return RenameOutcome{false, EIO, "Input/output error"};
        if (action == "respec") { // a changed specification left: the list is made anew
            m.FileSpecs->setFocus();
            m.FileSpecs->setText("F001*");
            m.FilePrefix->setFocus();
            return std::nullopt;
        }
        // A button pressed while the run renames: the event loop hands the click to the
        // window before the run goes on to the next file.
        QPushButton* button = action == "exit"    ? m.ExitBut
                              : action == "apply" ? m.ApplyBut
                                                  : m.PreviewBut;
        QTest::mouseClick(button, Qt::LeftButton);
        return std::nullopt;
    };
    installRenamer(&renamer);
    QVERIFY(click(m.ApplyBut));
    QCOMPARE(onDisk(folder.path()), disk);
    QCOMPARE(listed(m), disk.split('|').filter(QRegularExpression("^F")).join('|'));
    QCOMPARE(w.feedback.messages.join('\n'), messages);
    QCOMPARE(w.feedback.beeps, beeps);
    QVERIFY(m.isVisible());
    checkIdle(m);
    // The journal holds exactly the renames that happened, for the undo.
    const std::optional<JournalRun> run = readLastRun(journalFolder());
    QCOMPARE(run ? int(run->renames.size()) : 0, int(disk.count("IMG_") - !blocker.isEmpty()));
}

void TstMainRun::preview_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("specs");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("scheme");  // "prefix|start|new extension|keep"; "" batch rename off
    QTest::addColumn<QString>("preview"); // the names listed, then the rows selected
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("wildcardAfter"); // WildCardRen's state after leaving
    const QStringList three = numberedNames(3);
    const QString img = "IMG_|001|0|0";
    // clang-format off
    QTest::newRow("one selected: every new name") << three << "*.JPG" << QList<int>{1} << img << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG 1" << "" << "off";
    QTest::newRow("two selected: others keep their names") << three << "*.JPG" << QList<int>{0, 2} << img << "IMG_001.JPG|F001.JPG|IMG_002.JPG 0|2" << "" << "off";
    QTest::newRow("duplicates refused, nothing listed") << three << "*.JPG" << QList<int>{} << "X||0|1" << " " << "Pellory - Error|48|These settings will produce duplicate file names!!!" << "off";
    QTest::newRow("empty list shows nothing") << QStringList{} << "*.JPG" << QList<int>{} << "IMG_|001|1|0" << " " << "" << "off";
    QTest::newRow("several specs: wildcard follows batch rename") << QStringList{"a.JPG", "b.GIF"} << "*.JPG;*.GIF" << QList<int>{} << "" << "A.JPG|B.GIF " << "" << "on";
    // clang-format on
}

void TstMainRun::preview()
{
    QFETCH(QStringList, files);
    QFETCH(QString, specs);
    QFETCH(QList<int>, selected);
    QFETCH(QString, scheme);
    QFETCH(QString, preview);
    QFETCH(QString, messages);
    QFETCH(QString, wildcardAfter);
    FilesFolder folder(files);
    Window w;
    Main& m = *w.main;
    const QStringList s = QString(scheme.isEmpty() ? "IMG_|001|0|0" : scheme).split('|');
    setScheme(m, s[0], s[1], s[2].toInt(), s[3]);
    if (scheme.isEmpty()) {
        m.RenameChk->setChecked(false);
        m.CasesList->setCurrentIndex(2); // ALL UPPER CASE
    }
    openFolder(m, folder.path(), specs);
    ctrlClickRows(m.FileList, selected);
    // The wildcard field and its caption follow the specification before and batch rename
    // after; the preview list is hidden and disabled again.
    const QStringList wildcardField{"Label9", "WildCardRen", "PreviewList"};
    const QString before = enabledControls(m, wildcardField);
    const QString disk = onDisk(folder.path());
    for (int entry = 0; entry < 2; ++entry) { // the second entry lists the names once again
        w.feedback.messages.clear();
        QVERIFY(click(m.PreviewBut));
        QCOMPARE(m.PreviewList->names()->names().join('|') + ' ' +
                     selectedRows(*m.PreviewList).section(' ', 0, 0),
                 preview);
        QCOMPARE(w.feedback.messages.join('\n'), messages);
        QCOMPARE(enabledControls(m) + ' ' + m.PreviewBut->text(),
                 QString("PreviewBut|PreviewList E&xit Preview"));
        QVERIFY(m.previewMode() && m.PreviewList->isVisible() && !m.FileList->isVisible());
        QVERIFY(click(m.PreviewBut));
    }
    QCOMPARE(m.PreviewBut->text(), QString("Previe&w and Check for Errors"));
    QVERIFY(!m.previewMode() && m.FileList->isVisible() && !m.PreviewList->isVisible());
    QCOMPARE(enabledControls(m, wildcardField), before);
    QCOMPARE(QString(m.WildCardRen->isEnabled() && m.Label9->isEnabled() ? "on" : "off"),
             wildcardAfter);
    QVERIFY(!m.PreviewList->isEnabled());
    QCOMPARE(onDisk(folder.path()), disk);
}

void TstMainRun::counterRange_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("viaPreview");
    QTest::addColumn<QString>("lastName"); // empty: the run is refused
    // 99999999 + (n - 1) * 999999 stays below 2^31 up to n = 2048.
    QTest::newRow("apply refused past the range") << 2100 << false << "";
    QTest::newRow("preview refused past the range") << 2100 << true << "";
    QTest::newRow("preview within the range") << 2000 << true << "IMG_2098998000.JPG";
}

void TstMainRun::counterRange()
{
    QFETCH(int, files);
    QFETCH(bool, viaPreview);
    QFETCH(QString, lastName);
    FilesFolder folder(numberedNames(files));
    Window w;
    Main& m = *w.main;
    openFolder(m, folder.path(), "*.JPG");
    setScheme(m, "IMG_", "99999999");
    m.NumberIncValue->setText("999999");
    m.chkTrim->setChecked(true);
    const QString disk = onDisk(folder.path());
    QVERIFY(click(viaPreview ? m.PreviewBut : m.ApplyBut));
    QCOMPARE(onDisk(folder.path()), disk);
    QVERIFY(!QApplication::overrideCursor());
    const QString refusal = "Pellory - Error|48|" + counterOverflowMessage();
    QCOMPARE(w.feedback.messages.join('\n'), lastName.isEmpty() ? refusal : QString());
    // A refusal is read with the default pointer.
    QCOMPARE(w.feedback.busyAtMessage, lastName.isEmpty() ? QList<bool>{false} : QList<bool>{});
    QCOMPARE(m.PreviewList->count(), lastName.isEmpty() ? 0 : files);
    if (!lastName.isEmpty())
        QCOMPARE(m.PreviewList->names()->name(files - 1), lastName);
}

// The runs' messages break lines with "\r\r" or "\r\n"; the box shows line feeds.
void TstMainRun::messageLineBreaks()
{
    QString seen = "no box";
    QTimer::singleShot(0, [&seen] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            box->accept();
        }
    });
    Feedback().message("a : b.JPG\r\rFile exists\r\nlast", "Pellory", Feedback::kPlain);
    QCOMPARE(seen, QString("a : b.JPG\n\nFile exists\nlast"));
}

QTEST_MAIN(TstMainRun)
#include "tst_mainrun.moc"

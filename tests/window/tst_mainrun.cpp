// Apply and Preview driven as a user drives them, on real temporary folders: which files a
// run renames, where it stops and what it says, what the preview lists, the wildcard rename,
// and the state the window is left in.

#include "MainFixture.h"
#include "platform/Rename.h"
#include "run/SchemeWalk.h"
#include "window/DriveSelector.h"
#include "window/FolderSelector.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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

struct Scheme
{
    QString prefix = "IMG_";
    QString start = "001";
    QString increment = "1";
    QString keep = "0";
    bool trim = false;
    int newExt = 0;
};

} // namespace

Q_DECLARE_METATYPE(Scheme)

namespace {

void setScheme(Main& m, const Scheme& s)
{
    m.RenameChk->setChecked(true);
    m.CasesList->setCurrentIndex(0);
    m.chkAlpha->setChecked(false);
    m.chkTrim->setChecked(s.trim);
    m.NumCharKeep->setText(s.keep);
    m.FilePrefix->setText(s.prefix);
    m.FileLeading->clear();
    m.StartingNumber->setText(s.start);
    m.NumberIncValue->setText(s.increment);
    m.NewExt->setCurrentIndex(s.newExt);
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

QString previewed(const Main& m)
{
    return m.PreviewList->names()->names().join('|');
}

QString previewSelection(const Main& m)
{
    QStringList rows;
    for (int row = 0; row < m.PreviewList->count(); ++row) {
        if (m.PreviewList->isRowSelected(row))
            rows.append(QString::number(row));
    }
    return rows.join('|');
}

// The controls in the window's order that can be used now, by name, leaving out the names
// given.
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

bool runControlsEnabled(const Main& m)
{
    for (QWidget* control : std::initializer_list<QWidget*>{m.CasesList, m.RenameChk, m.PreviewList,
                                                            m.FileList, m.DriveList, m.DirList})
        if (!control->isEnabled())
            return false;
    return true;
}

// Renames for real, except at the call a row names, where it acts as the row says.
class ScriptedRenamer final : public FileRenamer
{
public:
    std::function<std::optional<RenameOutcome>(int call)> onCall;
    int calls = 0;
    RenameOutcome rename(const QString& folder, const QByteArray& oldRawName,
                         const QString& newName) override
    {
        ++calls;
        if (onCall) {
            if (std::optional<RenameOutcome> forced = onCall(calls))
                return *forced;
        }
        return renameInPlace(folder, oldRawName, newName);
    }
};

// Records, with every message, whether the hourglass was showing.
class PointerFeedback final : public RecordingFeedback
{
public:
    void message(const QString& text, const QString& title, int style) override
    {
        RecordingFeedback::message(text, title, style);
        busyAtMessage.append(QApplication::overrideCursor() != nullptr);
    }
    QList<bool> busyAtMessage;
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
    void wildcard_data();
    void wildcard();
    void messageLineBreaks_data();
    void messageLineBreaks();
    void largeFolder();
};

void TstMainRun::apply_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("prefixes"); // one run per prefix
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("newExt");
    QTest::addColumn<QString>("late");  // a file made after the list was read
    QTest::addColumn<QString>("steps"); // every-N selection
    QTest::addColumn<QString>("disk");
    QTest::addColumn<QString>("selectedAfter");

    const QStringList four = numberedNames(4);
    QTest::newRow("one selected renames all")
        << four << QList<int>{2} << QStringList{"IMG_"} << "001" << 0 << ""
        << "0"
        << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG|IMG_004.JPG"
        << "";
    QTest::newRow("two selected rename only those")
        << four << QList<int>{0, 2} << QStringList{"IMG_"} << "001" << 0 << ""
        << "0"
        << "F001.JPG|F003.JPG|IMG_001.JPG|IMG_002.JPG"
        << "";
    QTest::newRow("every second file, reselected after")
        << four << QList<int>{} << QStringList{"IMG_"} << "001" << 0 << ""
        << "2"
        << "F001.JPG|F003.JPG|IMG_001.JPG|IMG_002.JPG"
        << "0|2";
    QTest::newRow("009 over three files")
        << numberedNames(3) << QList<int>{} << QStringList{"A_"} << "009" << 0 << ""
        << "0"
        << "A_009.JPG|A_010.JPG|A_011.JPG"
        << "";
    QTest::newRow("next run starts at 009 again")
        << numberedNames(3) << QList<int>{} << QStringList{"A_", "B_"} << "009" << 0 << ""
        << "0"
        << "B_009.JPG|B_010.JPG|B_011.JPG"
        << "";
    QTest::newRow("empty list renames nothing and rebuilds")
        << QStringList{} << QList<int>{} << QStringList{"IMG_"} << "001" << 1 << "LATE.JPG"
        << "0"
        << "LATE.JPG"
        << "";
}

void TstMainRun::apply()
{
    QFETCH(QStringList, files);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, prefixes);
    QFETCH(QString, start);
    QFETCH(int, newExt);
    QFETCH(QString, late);
    QFETCH(QString, steps);
    QFETCH(QString, disk);
    QFETCH(QString, selectedAfter);

    FilesFolder folder(files);
    Window w;
    Main& m = *w.main;
    openFolder(m, folder.path(), "*.JPG");
    m.SelSteps->setText(steps);
    if (!late.isEmpty())
        QVERIFY(QFile(folder.dir.filePath(late)).open(QIODevice::WriteOnly));
    for (const QString& prefix : prefixes) {
        Scheme scheme;
        scheme.prefix = prefix;
        scheme.start = start;
        scheme.newExt = newExt;
        setScheme(m, scheme);
        ctrlClickRows(m.FileList, selected);
        QVERIFY(click(m.ApplyBut));
    }
    QCOMPARE(onDisk(folder.path()), disk);
    QCOMPARE(listed(m), disk); // rebuilt from disk after the run
    QCOMPARE(m.StartingNumber->text(), start);
    QCOMPARE(selectedRows(m).section(' ', 0, 0), selectedAfter);
    QCOMPARE(w.feedback.messages.join('\n'), QString());
    QCOMPARE(m.runState(), RunState::Idle);
    QVERIFY(runControlsEnabled(m));
}

void TstMainRun::stops_data()
{
    QTest::addColumn<QString>("blocker"); // a file that takes a new name beforehand
    QTest::addColumn<int>("atCall");
    QTest::addColumn<QString>("action"); // at that rename: fail, exit, apply, preview
    QTest::addColumn<QString>("disk");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<int>("beeps");

    const QString failed = "Pellory|0|An error occured renaming the file : ";
    QTest::newRow("target taken at the third file")
        << "IMG_003.JPG" << 0 << ""
        << "F002.JPG|F003.JPG|IMG_001.JPG|IMG_002.JPG|IMG_003.JPG"
        << "F002.JPG|F003.JPG" << failed + "IMG_003.JPG\r\rFile exists" << 0;
    QTest::newRow("rename fails at the second file")
        << "" << 2 << "fail"
        << "F001.JPG|F002.JPG|F003.JPG|IMG_001.JPG"
        << "F001.JPG|F002.JPG|F003.JPG" << failed + "IMG_002.JPG\r\rInput/output error" << 0;
    QTest::newRow("exit during the first file") << "" << 1 << "exit"
                                                << "F001.JPG|F002.JPG|F003.JPG|IMG_001.JPG"
                                                << "F001.JPG|F002.JPG|F003.JPG"
                                                << "" << 0;
    QTest::newRow("exit during the third file") << "" << 3 << "exit"
                                                << "F003.JPG|IMG_001.JPG|IMG_002.JPG|IMG_003.JPG"
                                                << "F003.JPG"
                                                << "" << 0;
    QTest::newRow("apply during a run beeps") << "" << 2 << "apply"
                                              << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG|IMG_004.JPG"
                                              << ""
                                              << "" << 1;
    QTest::newRow("preview during a run beeps") << "" << 2 << "preview"
                                                << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG|IMG_004.JPG"
                                                << ""
                                                << "" << 1;
}

void TstMainRun::stops()
{
    QFETCH(QString, blocker);
    QFETCH(int, atCall);
    QFETCH(QString, action);
    QFETCH(QString, disk);
    QFETCH(QString, listed);
    QFETCH(QString, messages);
    QFETCH(int, beeps);

    QStringList names = numberedNames(4);
    if (!blocker.isEmpty())
        names.append(blocker);
    FilesFolder folder(names);
    Window w;
    Main& m = *w.main;
    openFolder(m, folder.path(), "F*"); // the blocker is not listed
    setScheme(m, Scheme{});
    ScriptedRenamer renamer;
    renamer.onCall = [&](int call) -> std::optional<RenameOutcome> {
        if (call != atCall)
            return std::nullopt;
        if (action == "fail")
            return RenameOutcome{false, EIO, "Input/output error"};
        // A button pressed while the run yields: the event reaches the window mid-run.
        QPushButton* button = action == "exit"    ? m.ExitBut
                              : action == "apply" ? m.ApplyBut
                                                  : m.PreviewBut;
        QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
        return std::nullopt;
    };
    installRenamer(&renamer);
    QVERIFY(click(m.ApplyBut));

    QCOMPARE(onDisk(folder.path()), disk);
    QCOMPARE(pellory::testing::listed(m), listed);
    QCOMPARE(w.feedback.messages.join('\n'), messages);
    QCOMPARE(w.feedback.beeps, beeps);
    QVERIFY(!QApplication::overrideCursor()); // the default pointer is back
    QVERIFY(m.isVisible());
    QCOMPARE(m.runState(), RunState::Idle);
    QVERIFY(runControlsEnabled(m));
}

void TstMainRun::preview_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("specs");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<bool>("batch"); // off: the name format alone
    QTest::addColumn<Scheme>("scheme");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QString>("previewSelected");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("wildcardAfter"); // WildCardRen's state after leaving

    const QStringList three = numberedNames(3);
    QTest::newRow("none selected: every new name")
        << three << "*.JPG" << QList<int>{} << true << Scheme{}
        << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG"
        << ""
        << ""
        << "off";
    QTest::newRow("one selected: every new name")
        << three << "*.JPG" << QList<int>{1} << true << Scheme{}
        << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG"
        << "1"
        << ""
        << "off";
    QTest::newRow("two selected: others keep their names")
        << three << "*.JPG" << QList<int>{0, 2} << true << Scheme{}
        << "IMG_001.JPG|F001.JPG|IMG_002.JPG"
        << "0|2"
        << ""
        << "off";
    Scheme keepOne;
    keepOne.keep = "1";
    keepOne.prefix = "X";
    keepOne.start = "";
    QTest::newRow("duplicates refused, nothing listed")
        << three << "*.JPG" << QList<int>{} << true << keepOne << ""
        << ""
        << "Pellory - Error|48|These settings will produce duplicate file names!!!"
        << "off";
    Scheme removeExt;
    removeExt.newExt = 1;
    QTest::newRow("empty list shows nothing")
        << QStringList{} << "*.JPG" << QList<int>{} << true << removeExt << ""
        << ""
        << ""
        << "off";
    QTest::newRow("several specs: wildcard field follows batch rename")
        << QStringList{"a.JPG", "b.GIF"} << "*.JPG;*.GIF" << QList<int>{} << false << Scheme{}
        << "A.JPG|B.GIF"
        << ""
        << ""
        << "on";
}

void TstMainRun::preview()
{
    QFETCH(QStringList, files);
    QFETCH(QString, specs);
    QFETCH(QList<int>, selected);
    QFETCH(bool, batch);
    QFETCH(Scheme, scheme);
    QFETCH(QString, preview);
    QFETCH(QString, previewSelected);
    QFETCH(QString, messages);
    QFETCH(QString, wildcardAfter);

    FilesFolder folder(files);
    Window w;
    Main& m = *w.main;
    setScheme(m, scheme);
    if (!batch) {
        m.RenameChk->setChecked(false);
        m.CasesList->setCurrentIndex(2); // ALL UPPER CASE
    }
    openFolder(m, folder.path(), specs);
    ctrlClickRows(m.FileList, selected);
    // The wildcard field follows the specification before and batch rename after; the
    // hidden preview list is disabled on leaving.
    const QStringList leftOut{"Label9", "WildCardRen", "PreviewList"};
    const QString before = enabledControls(m, leftOut);
    const QString disk = onDisk(folder.path());

    for (int entry = 0; entry < 2; ++entry) { // the second entry lists the names once again
        w.feedback.messages.clear();
        QVERIFY(click(m.PreviewBut));
        QVERIFY(m.previewMode());
        QCOMPARE(previewed(m), preview);
        QCOMPARE(previewSelection(m), previewSelected);
        QCOMPARE(w.feedback.messages.join('\n'), messages);
        QCOMPARE(enabledControls(m), QString("PreviewBut|PreviewList"));
        QCOMPARE(m.PreviewBut->text(), QString("E&xit Preview"));
        QVERIFY(m.PreviewList->isVisible() && !m.FileList->isVisible());
        QCOMPARE(m.runState(), RunState::Idle);
        QVERIFY(!QApplication::overrideCursor()); // the default pointer is back

        QVERIFY(click(m.PreviewBut));
        QVERIFY(!m.previewMode());
        QCOMPARE(m.PreviewBut->text(), QString("Previe&w and Check for Errors"));
        QCOMPARE(m.PreviewBut->toolTip(), QString("Click to preview"));
        QVERIFY(m.FileList->isVisible() && !m.PreviewList->isVisible());
        QCOMPARE(QString(m.WildCardRen->isEnabled() ? "on" : "off"), wildcardAfter);
        QCOMPARE(m.Label9->isEnabled(), m.WildCardRen->isEnabled());
        QVERIFY(!m.PreviewList->isEnabled());
        QCOMPARE(onDisk(folder.path()), disk);
    }
    QCOMPARE(enabledControls(m, leftOut), before);
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

    FilesFolder folder(numberedNames(files, "F%1.JPG"));
    PointerFeedback feedback;
    Main m(&feedback);
    m.show();
    openFolder(m, folder.path(), "*.JPG");
    Scheme wide;
    wide.start = "99999999";
    wide.increment = "999999";
    wide.trim = true;
    setScheme(m, wide);
    const QString disk = onDisk(folder.path());
    QVERIFY(click(viaPreview ? m.PreviewBut : m.ApplyBut));

    QCOMPARE(onDisk(folder.path()), disk);
    QVERIFY(!QApplication::overrideCursor()); // the default pointer is back
    const QString refusal = "Pellory - Error|48|" + counterOverflowMessage();
    QCOMPARE(feedback.messages.join('\n'), lastName.isEmpty() ? refusal : QString());
    // A refusal is read with the default pointer.
    QCOMPARE(feedback.busyAtMessage, lastName.isEmpty() ? QList<bool>{false} : QList<bool>{});
    QCOMPARE(m.PreviewList->count(), lastName.isEmpty() ? 0 : files);
    if (!lastName.isEmpty())
        QCOMPARE(m.PreviewList->names()->name(files - 1), lastName);
}

void TstMainRun::wildcard_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("specs");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("disk");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<bool>("refused");

    QTest::newRow("matching files take the pattern")
        << QStringList{"a.txt", "b.txt", "c.JPG"} << "*.txt"
        << "*.bak"
        << "a.bak|b.bak|c.JPG"
        << "a.bak|b.bak" << false;
    QTest::newRow("a taken name refuses the batch")
        << QStringList{"a.txt", "a.bak", "b.txt"} << "*.txt"
        << "*.bak"
        << "a.bak|a.txt|b.txt"
        << "a.bak" << true;
}

void TstMainRun::wildcard()
{
    QFETCH(QStringList, files);
    QFETCH(QString, specs);
    QFETCH(QString, pattern);
    QFETCH(QString, disk);
    QFETCH(QString, listed);
    QFETCH(bool, refused);

    FilesFolder folder(files);
    Window w;
    Main& m = *w.main;
    m.RenameChk->setChecked(false);
    openFolder(m, folder.path(), specs);
    typeOver(m.WildCardRen, pattern);
    QVERIFY(click(m.ApplyBut));

    QCOMPARE(onDisk(folder.path()), disk);
    QCOMPARE(pellory::testing::listed(m), listed);
    QCOMPARE(m.FileSpecs->text(), pattern);
    QVERIFY(!QApplication::overrideCursor()); // the default pointer is back
    QCOMPARE(m.WildCardRen->text(), QString());
    QCOMPARE(w.feedback.messages.size(), refused ? 1 : 0);
    if (refused)
        QVERIFY(w.feedback.messages[0].startsWith("Pellory - Wilcard Error|0|"));
    QCOMPARE(m.runState(), RunState::Idle);
    // Cleared while the run was busy: the naming fields stay enabled although batch rename
    // is off, and the preview list stays disabled.
    QVERIFY(!m.RenameChk->isChecked());
    QVERIFY(m.RenameChk->isEnabled() && m.CasesList->isEnabled() && m.NumCharKeep->isEnabled());
    QVERIFY(m.FileList->isEnabled() && m.DirList->isEnabled() && !m.PreviewList->isEnabled());
}

void TstMainRun::messageLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("two carriage returns") << "a : b.JPG\r\rFile exists"
                                          << "a : b.JPG\n\nFile exists";
    QTest::newRow("carriage return and line feed") << "one\r\ntwo"
                                                   << "one\ntwo";
    QTest::newRow("line feeds stay") << "one\ntwo"
                                     << "one\ntwo";
}

void TstMainRun::messageLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);

    QString seen = "no box";
    QTimer::singleShot(0, [&seen] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            box->accept();
        }
    });
    Feedback().message(text, "Pellory", Feedback::kPlain);
    QCOMPARE(seen, shown);
}

void TstMainRun::largeFolder()
{
    const int count = 32767;
    FilesFolder folder(numberedNames(count, "F%1.JPG"));
    Window w;
    Main& m = *w.main;
    openFolder(m, folder.path(), "*.JPG");
    Scheme scheme;
    scheme.start = "00001";
    setScheme(m, scheme);
    QCOMPARE(m.FileList->count(), count);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(click(m.PreviewBut));
    const qint64 previewMs = clock.elapsed();
    QCOMPARE(m.PreviewList->count(), count);
    QCOMPARE(m.PreviewList->names()->name(count - 1), QString("IMG_32767.JPG"));
    QVERIFY(click(m.PreviewBut));

    clock.restart();
    QVERIFY(click(m.ApplyBut));
    const qint64 applyMs = clock.elapsed();
    QCOMPARE(m.FileList->count(), count);
    QCOMPARE(m.FileList->names()->name(count - 1), QString("IMG_32767.JPG"));
    QCOMPARE(w.feedback.messages.join('\n'), QString());
    qInfo("%d files: preview %lld ms, apply %lld ms", count, previewMs, applyMs);
    // A fill that laid the list out once per row would take minutes here.
    QVERIFY2(previewMs < 60000 && applyMs < 60000, "the run is far too slow");
}

QTEST_MAIN(TstMainRun)
#include "tst_mainrun.moc"

// Undo of the last run as a user drives it: Apply, then Ctrl+Alt+Z or the file list's menu;
// the undo declined, refused mid-run and in preview, a name taken since the run, and a run
// that died midway undone by a later window. Random folders are undone in
// tst_renameproperty, after each of its runs.

#include "MainFixture.h"
#include "platform/Rename.h"
#include "run/UndoJournal.h"
#include "support/RandomFolder.h"
#include "window/FolderSelector.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

using namespace pellory;
using namespace pellory::testing;

namespace {

// "name:contents|..." of every file of the folder.
QString shown(const QString& folder)
{
    const Listing listing = listFolder(folder);
    QStringList files;
    for (auto it = listing.begin(); it != listing.end(); ++it)
        files.append(QString::fromUtf8(it.key() + ':' + it.value()));
    return files.join('|');
}

// Right-clicks the file list and chooses the undo; false when the menu or its entry is missing.
bool undoByMenu(Main& m)
{
    QWidget* viewport = m.FileList->viewport();
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return false;
    const QList<QAction*> actions = menu->actions();
    const bool found = actions.size() == 1 && actions.front()->text() == "&Undo Last Rename" &&
                       actions.front()->shortcut() == QKeySequence("Ctrl+Alt+Z");
    menu->close();
    if (found)
        actions.front()->trigger();
    return found;
}

} // namespace

class tst_MainUndo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateHome(), writeStore({}); }
    void init() { forgetLastRun(journalFolder()); }
    void undo_data();
    void undo();
};

void tst_MainUndo::undo_data()
{
    // "shortcut", "menu", "wildcard" (a *.BAK pattern), "declined", "taken" (B.JPG made
    // after the run), "busy", "preview", "crash" (a run that died after its second rename).
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("question"); // "~" stands for the folder
    QTest::addColumn<QString>("disk");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("again"); // a second undo: "asked", or the message it shows
    const QString asked = "Pellory - Undo|Undo it? 3 files in ~ will go back to their old names.";
    const QString back = "A.JPG:A.JPG|B.JPG:B.JPG|C.JPG:C.JPG|other.txt:other.txt";
    const QString renamed =
        "IMG_001.JPG:A.JPG|IMG_002.JPG:B.JPG|IMG_003.JPG:C.JPG|other.txt:other.txt";
    const QString abc = "A.JPG|B.JPG|C.JPG", img = "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG";
    const QString gone = "Pellory|0|There is no rename to undo.";
    // clang-format off
    QTest::newRow("shortcut") << "shortcut" << asked << back << abc << "" << gone;
    QTest::newRow("context menu") << "menu" << asked << back << abc << "" << gone;
    QTest::newRow("wildcard") << "wildcard" << asked << back << "" << "" << gone;
    QTest::newRow("answered no: the run stays") << "declined" << asked << renamed << img << "" << "asked";
    QTest::newRow("name taken since: skipped, not overwritten") << "taken" << asked << "A.JPG:A.JPG|B.JPG:intruder|C.JPG:C.JPG|IMG_002.JPG:B.JPG|other.txt:other.txt" << abc + "|IMG_002.JPG" << "Pellory|0|2 of 3 files got their old names back. These were skipped, and nothing was overwritten:\r\rIMG_002.JPG -> B.JPG: the old name is taken" << gone;
    QTest::newRow("during a run: beeps") << "busy" << "" << renamed << img << "" << "asked";
    QTest::newRow("in preview mode: beeps") << "preview" << "" << renamed << img << "" << "asked";
    QTest::newRow("interrupted run, at the next start") << "crash" << "Pellory - Undo|The last rename run was interrupted.\rUndo it? 2 files in ~ will go back to their old names." << back << abc << "" << gone;
    // clang-format on
}

void tst_MainUndo::undo()
{
    QFETCH(QString, how);
    QFETCH(QString, question);
    QFETCH(QString, disk);
    QFETCH(QString, list);
    QFETCH(QString, message);
    QFETCH(QString, again);
    const FilesFolder folder({"A.JPG", "B.JPG", "C.JPG", "other.txt"});
    if (how == "crash") { // the journal was never finished
        RunJournal journal(journalFolder());
        journal.begin();
        for (const char* name : {"A.JPG", "B.JPG"}) {
            QVERIFY(journal.record(folder.path(), name, QByteArray("Z") + name));
            QVERIFY(currentRenamer().rename(folder.path(), name, QString("Z") + name).ok);
        }
    }
    Window w;
    Main& m = *w.main;
    m.RenameChk->setChecked(true);
    m.NumCharKeep->setText("0");
    m.FilePrefix->setText("IMG_");
    m.StartingNumber->setText("001");
    m.NumberIncValue->setText("1");
    m.FileSpecs->setText("*.JPG");
    m.DirList->setPath(folder.path());
    m.WildCardRen->setText(how == "wildcard" ? "*.BAK" : "");
    if (how != "crash")
        m.ApplyBut->click();
    if (how == "taken") {
        QFile intruder(folder.dir.filePath("B.JPG"));
        QVERIFY(intruder.open(QIODevice::NewOnly) && intruder.write("intruder") > 0);
    }
    m.FilePrefix->setText("X_"); // so that Preview has names to show
    if (how == "preview")
        m.PreviewBut->click();
    QCOMPARE(m.previewMode(), how == "preview");
    m.setRunState(how == "busy" ? RunState::Busy : RunState::Idle);
    w.feedback.answer = how != "declined";
    if (how == "menu")
        QVERIFY(undoByMenu(m));
    else
        pressUndo(m.FilePrefix); // a text field keeps Ctrl+Z, not Ctrl+Alt+Z
    QCOMPARE(w.feedback.questions.join('\n'), QString(question).replace("~", folder.path()));
    QCOMPARE(shown(folder.path()), disk);
    QCOMPARE(w.feedback.beeps, question.isEmpty() ? 1 : 0);
    QCOMPARE(w.feedback.messages.join('\n'), message);
    if (how == "preview")
        m.PreviewBut->click();
    m.setRunState(RunState::Idle);
    QCOMPARE(listed(m), list);

    // Undone once, the run is gone; declined or refused, it is still there to undo.
    const qsizetype asked = w.feedback.questions.size();
    w.feedback.answer = false;
    pressUndo(m.FilePrefix);
    QCOMPARE(w.feedback.questions.size() > asked
                 ? QString("asked")
                 : w.feedback.messages.value(w.feedback.messages.size() - 1),
             again);
}

QTEST_MAIN(tst_MainUndo)
#include "tst_mainundo.moc"

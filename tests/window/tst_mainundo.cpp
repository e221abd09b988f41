// Undo of the last run as a user drives it: Apply, then Ctrl+Alt+Z or the file list's menu;
// the undo refused mid-run and in preview, an interrupted run undone by a later window, and
// random folders that must come back exactly. PELLORY_UNDO_CASES sets their count.

#include "MainFixture.h"
#include "RandomFolder.h"
#include "platform/Rename.h"
#include "run/UndoJournal.h"
#include "window/FolderSelector.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

using namespace pellory;
using namespace pellory::testing;

namespace {

class UndoFeedback : public RecordingFeedback
{
public:
    bool answer = true;
    QStringList questions; // "title|text"
    bool question(const QString& text, const QString& title) override
    {
        questions.append(title + '|' + text);
        return answer;
    }
};

struct UndoWindow
{
    UndoFeedback feedback;
    std::unique_ptr<Main> main = std::make_unique<Main>(&feedback);
    UndoWindow()
    {
        main->show();
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main.get()))
            qWarning("the window did not become active");
    }
};

// A folder whose files hold their own first names, so that a listing shows where each went.
struct NamedFolder
{
    QTemporaryDir dir;
    explicit NamedFolder(const QStringList& names)
    {
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(name.toUtf8()) < 0)
                qFatal("cannot create %s", qPrintable(name));
        }
    }
    QString path() const { return dir.path(); }
};

QString shown(const Listing& listing)
{
    QStringList files;
    for (auto it = listing.begin(); it != listing.end(); ++it)
        files.append(QString::fromUtf8(it.key() + ':' + it.value()));
    return files.join('|');
}

void openWithScheme(Main& m, const QString& folder, const QString& specs, const QString& prefix)
{
    m.WildCardRen->clear();
    m.RenameChk->setChecked(true);
    m.NumCharKeep->setText("0");
    m.FilePrefix->setText(prefix);
    m.StartingNumber->setText("001");
    m.NumberIncValue->setText("1");
    m.FileSpecs->setText(specs);
    m.DirList->setPath(folder);
}

void undoByShortcut(Main& m)
{
    m.FilePrefix->setFocus(); // the text field keeps Ctrl+Z; Ctrl+Alt+Z reaches the window
    QTest::keyClick(m.FilePrefix, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
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
    void undoAfterApply_data();
    void undoAfterApply();
    void undoRefused_data();
    void undoRefused();
    void takenNameIsSkipped();
    void interruptedRunAtNextStart();
    void applyThenUndoGivesBackTheFolder();
};

void tst_MainUndo::undoAfterApply_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<QString>("wildcard"); // empty: a scheme run with the prefix IMG_
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("listedAfter");
    // clang-format off
    QTest::newRow("shortcut, scheme") << false << "" << true << "A.JPG|B.JPG|C.JPG";
    QTest::newRow("context menu, scheme") << true << "" << true << "A.JPG|B.JPG|C.JPG";
    QTest::newRow("shortcut, wildcard") << false << "*.BAK" << true << "";
    QTest::newRow("context menu, answered no") << true << "" << false << "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG";
    // clang-format on
}

void tst_MainUndo::undoAfterApply()
{
    QFETCH(bool, byMenu);
    QFETCH(QString, wildcard);
    QFETCH(bool, answer);
    QFETCH(QString, listedAfter);
    NamedFolder folder({"A.JPG", "B.JPG", "C.JPG", "other.txt"});
    UndoWindow w;
    Main& m = *w.main;
    openWithScheme(m, folder.path(), "*.JPG", "IMG_");
    m.WildCardRen->setText(wildcard);
    const Listing before = listFolder(folder.path());
    m.ApplyBut->click();
    const Listing renamed = listFolder(folder.path());
    QVERIFY(renamed != before);

    w.feedback.answer = answer;
    if (byMenu)
        QVERIFY(undoByMenu(m));
    else
        undoByShortcut(m);
    QCOMPARE(w.feedback.questions,
             QStringList("Pellory - Undo|Undo it? 3 files in " + folder.path() +
                         " will go back to their old names."));
    QCOMPARE(shown(listFolder(folder.path())), shown(answer ? before : renamed));
    QCOMPARE(listed(m), listedAfter);
    QCOMPARE(w.feedback.messages.size() + w.feedback.beeps, 0);

    // Undone once, the run is gone; declined, it is still there to undo.
    undoByShortcut(m);
    QCOMPARE(w.feedback.questions.size(), answer ? 1 : 2);
    QCOMPARE(w.feedback.messages,
             answer ? QStringList("Pellory|0|There is no rename to undo.") : QStringList());
}

void tst_MainUndo::undoRefused_data()
{
    QTest::addColumn<bool>("inPreview"); // else mid-run
    QTest::newRow("during a run") << false;
    QTest::newRow("in preview mode") << true;
}

void tst_MainUndo::undoRefused()
{
    QFETCH(bool, inPreview);
    NamedFolder folder({"A.JPG", "B.JPG"});
    UndoWindow w;
    Main& m = *w.main;
    openWithScheme(m, folder.path(), "*.JPG", "IMG_");
    m.ApplyBut->click();
    openWithScheme(m, folder.path(), "*.JPG", "X_");
    const Listing before = listFolder(folder.path());
    if (inPreview)
        m.PreviewBut->click();
    else
        m.setRunState(RunState::Busy);
    QVERIFY(inPreview == m.previewMode());
    undoByShortcut(m);
    m.setRunState(RunState::Idle);
    QCOMPARE(w.feedback.beeps, 1);
    QCOMPARE(w.feedback.questions.size() + w.feedback.messages.size(), 0);
    QCOMPARE(shown(listFolder(folder.path())), shown(before));
}

void tst_MainUndo::takenNameIsSkipped()
{
    NamedFolder folder({"A.JPG", "B.JPG", "C.JPG"});
    UndoWindow w;
    Main& m = *w.main;
    openWithScheme(m, folder.path(), "*.JPG", "IMG_");
    m.ApplyBut->click();
    QFile intruder(folder.dir.filePath("B.JPG")); // made by someone else after the run
    QVERIFY(intruder.open(QIODevice::NewOnly) && intruder.write("intruder") > 0);
    intruder.close();
    const Listing before = listFolder(folder.path());

    undoByShortcut(m);
    QCOMPARE(shown(listFolder(folder.path())),
             QString("A.JPG:A.JPG|B.JPG:intruder|C.JPG:C.JPG|IMG_002.JPG:B.JPG"));
    QCOMPARE(contentsOf(listFolder(folder.path())), contentsOf(before));
    QCOMPARE(w.feedback.messages,
             QStringList("Pellory|0|2 of 3 files got their old names back. These were skipped, "
                         "and nothing was overwritten:\r\rIMG_002.JPG -> B.JPG: the old name is "
                         "taken"));
    QCOMPARE(listed(m), QString("A.JPG|B.JPG|C.JPG|IMG_002.JPG"));
}

void tst_MainUndo::interruptedRunAtNextStart()
{
    NamedFolder folder({"A.JPG", "B.JPG", "C.JPG"});
    const Listing before = listFolder(folder.path());
    {
        // A run that died after its second rename: its journal was never finished.
        RunJournal journal(journalFolder());
        journal.begin();
        for (const char* name : {"A.JPG", "B.JPG"}) {
            QVERIFY(journal.record(folder.path(), name, QByteArray("Z") + name));
            QVERIFY(currentRenamer().rename(folder.path(), name, QString("Z") + name).ok);
        }
    }
    UndoWindow w;
    Main& m = *w.main;
    openWithScheme(m, folder.path(), "*.JPG", "IMG_");
    undoByShortcut(m);
    QCOMPARE(w.feedback.questions,
             QStringList("Pellory - Undo|The last rename run was interrupted.\rUndo it? 2 files "
                         "in " +
                         folder.path() + " will go back to their old names."));
    QCOMPARE(shown(listFolder(folder.path())), shown(before));
    QCOMPARE(listed(m), QString("A.JPG|B.JPG|C.JPG"));
}

void tst_MainUndo::applyThenUndoGivesBackTheFolder()
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kDefaultCases = 40; // the sanitizers make every file operation slower
#else
    constexpr int kDefaultCases = 150;
#endif
    const int cases = qEnvironmentVariableIntValue("PELLORY_UNDO_CASES");
    const int count = cases > 0 ? cases : kDefaultCases;
    QRandomGenerator rng(20261205);
    UndoWindow w;
    Main& m = *w.main;
    int applied = 0;
    for (int c = 0; c < count; ++c) {
        RandomFolder folder(rng, 1 + rng.bounded(40));
        const Listing before = listFolder(folder.path());
        static const char* const prefixes[] = {"", "IMG_", "x y", "\xc3\x84"};
        openWithScheme(m, folder.path(), "*", QString::fromUtf8(pick(rng, prefixes)));
        m.NumCharKeep->setText(QString::number(rng.bounded(4)));
        m.CasesList->setCurrentIndex(rng.bounded(m.CasesList->count()));
        if (!m.ApplyBut->isEnabled())
            continue;
        m.ApplyBut->click(); // may stop at a name taken: undo gives back what it did
        ++applied;
        undoByShortcut(m);
        const Listing after = listFolder(folder.path());
        const QString where = QString("case %1: %2").arg(c).arg(shown(before));
        QVERIFY2(contentsOf(after) == contentsOf(before), qPrintable(where));
        // A name that is no valid text cannot be spelled back through the rename, and the
        // undo says so; every other file has its name back.
        for (auto it = before.begin(); it != before.end(); ++it)
            if (QFile::encodeName(QFile::decodeName(it.key())) == it.key())
                QVERIFY2(after.value(it.key()) == it.value(), qPrintable(where));
        for (const QString& text : std::as_const(w.feedback.messages))
            QVERIFY2(text.contains("got their old names back") || text.contains("renaming"),
                     qPrintable(text));
        w.feedback.messages.clear();
    }
    QVERIFY2(applied > count / 2, "too few cases could be applied");
}

QTEST_MAIN(tst_MainUndo)
#include "tst_mainundo.moc"

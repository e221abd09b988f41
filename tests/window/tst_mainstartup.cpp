// Start-up with the stored settings, the window position, the settings stored at close and
// the close request refused during a run.

#include "MainFixture.h"

#include "window/DriveSelector.h"
#include "window/FolderSelector.h"
#include "window/NameListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

using namespace pellory;
using namespace pellory::testing;

namespace {

// What start-up put into the controls and counter texts, as one line.
QString shown(const Main& m)
{
    int ext = -1;
    for (int i = 0; i < 3; ++i)
        ext = m.ExtUsed[i]->isChecked() ? i : ext;
    return QStringList{"specs=" + m.FileSpecs->text(),
                       "keep=" + m.NumCharKeep->text(),
                       "prefix=" + m.FilePrefix->text(),
                       "start=" + m.StartingNumber->text(),
                       "inc=" + m.NumberIncValue->text(),
                       "lead=" + m.FileLeading->text(),
                       "sel=" + m.SelSteps->text(),
                       "cases=" + QString::number(m.CasesList->currentIndex()),
                       "alpha=" + QString::number(m.chkAlpha->isChecked()),
                       "ext=" + QString::number(ext),
                       "newext=" + QString::number(m.NewExt->currentIndex()) + ':' +
                           m.NewExt->currentText(),
                       "sort=" + QString::number(m.FileSortOrder->currentIndex()),
                       "counters=" + m.numberText() + '/' + m.incrementText() + '/' +
                           m.alphaNumberText() + '/' + m.alphaIncrementText()}
        .join(' ');
}

double twipsPerPixel()
{
    return 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInch();
}

} // namespace

class TstMainStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void restore_data();
    void restore();
    void restoredFolderFillsList();
    void position_data();
    void position();
    void storedAtClose_data();
    void storedAtClose();
    void closeRefusedDuringRun_data();
    void closeRefusedDuringRun();
    void savePicture();
};

void TstMainStartup::restore_data()
{
    QTest::addColumn<Store>("store");
    QTest::addColumn<QString>("expected");
    const QString defaults = "specs=*.JPG;*.GIF keep=0 prefix=IMG_ start=001 inc=1 lead= sel= "
                             "cases=0 alpha=0 ext=1 newext=0:Keep as is sort=0 "
                             "counters=001/1/AAA/1";
    QTest::newRow("empty store") << Store{} << defaults;
    QTest::newRow("full store, prefix restored after the case style")
        << Store{{"Specs", "*.PNG"},     {"Cases", "2"},          {"Keep", "3"},
                 {"Prefix", "Trip "},    {"Number", "0100"},      {"Increment", "5"},
                 {"AlphaNumber", "BAA"}, {"AlphaIncrement", "2"}, {"Alpha", "0"},
                 {"Leading", "_x"},      {"FileExt", "2"},        {"NewExtInx", "-1"},
                 {"NewExtUser", "bak"},  {"SelSteps", "2"}}
        << "specs=*.PNG keep=3 prefix=Trip  start=0100 inc=5 lead=_x sel=2 cases=2 alpha=0 "
           "ext=2 newext=-1:bak sort=0 counters=0100/5/BAA/2";
    QTest::newRow("alpha on shows the alphabetic pair, keeps the numeric one")
        << Store{{"Number", "0100"},
                 {"AlphaNumber", "BAA"},
                 {"AlphaIncrement", "2"},
                 {"Alpha", "1"}}
        << "specs=*.JPG;*.GIF keep=0 prefix=IMG_ start=BAA inc=2 lead= sel= cases=0 alpha=1 "
           "ext=1 newext=0:Keep as is sort=0 counters=0100/1/BAA/2";
    QString cases = defaults;
    cases.replace("cases=0", "cases=-1");
    QTest::newRow("cases outside the list") << Store{{"Cases", "7"}} << cases;
    QTest::newRow("cases not a number") << Store{{"Cases", "abc"}} << cases;
    QTest::newRow("file ext outside the options") << Store{{"FileExt", "3"}} << defaults;
    QTest::newRow("alpha value 2 refused") << Store{{"Alpha", "2"}} << defaults;
    QTest::newRow("new ext index outside the list") << Store{{"NewExtInx", "2"}} << defaults;
    QTest::newRow("user ext ignored unless index -1")
        << Store{{"NewExtInx", "1"}, {"NewExtUser", "bak"}}
        << QString(defaults).replace("newext=0:Keep as is", "newext=1:Remove ext");
    QTest::newRow("index -1 without user ext")
        << Store{{"NewExtInx", "-1"}}
        << QString(defaults).replace("newext=0:Keep as is", "newext=-1:");
    QTest::newRow("folder that no longer exists")
        << Store{{"LastDir", "/no/such/folder"}, {"LastDrive", "/no/such"}} << defaults;
}

void TstMainStartup::restore()
{
    QFETCH(Store, store);
    QFETCH(QString, expected);
    writeStore(store);
    Window w;
    QCOMPARE(shown(*w.main), expected);
    QCOMPARE(w.feedback.beeps, 0);
    QCOMPARE(w.feedback.messages, QStringList());
}

void TstMainStartup::restoredFolderFillsList()
{
    const FilesFolder folder({"b.gif", "a.JPG", "c.txt", "d.jpg", "e.png"});
    writeStore({{"LastDir", folder.path()}, {"SelSteps", "2"}});
    Window w;
    QCOMPARE(w.main->DirList->path(), folder.path());
    QCOMPARE(listed(*w.main), QString("a.JPG|b.gif|d.jpg"));
    QCOMPARE(selectedRows(*w.main), QString("0|2 @0"));
    QCOMPARE(w.main->catalogue().FileCount(), 3);
}

void TstMainStartup::position_data()
{
    QTest::addColumn<Store>("store");
    QTest::addColumn<int>("top"); // pixels; -1 centred
    QTest::addColumn<int>("left");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QString height = QString::number(qRound(screen.height() * twipsPerPixel()));
    QTest::newRow("absent: centred") << Store{} << -1 << -1;
    QTest::newRow("inside the screen")
        << Store{{"WindowTop", "1500"}, {"WindowLeft", "750"}} << qRound(1500 / twipsPerPixel())
        << qRound(750 / twipsPerPixel());
    QTest::newRow("top equal to the screen height") << Store{{"WindowTop", height}} << -1 << -1;
    QTest::newRow("left past the screen") << Store{{"WindowLeft", "999999"}} << -1 << -1;
    QTest::newRow("text without a number reads 0") << Store{{"WindowTop", "abc"}} << 0 << -1;
    QTest::newRow("leading number")
        << Store{{"WindowLeft", "300.4px"}} << -1 << qRound(300.4 / twipsPerPixel());
    QTest::newRow("below zero stays centred") << Store{{"WindowTop", "-32000"}} << -1 << -1;
}

void TstMainStartup::position()
{
    QFETCH(Store, store);
    QFETCH(int, top);
    QFETCH(int, left);
    writeStore(store);
    RecordingFeedback feedback;
    const Main main(&feedback); // never shown: the position is Form_Load's alone
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect outer = main.frameGeometry();
    const int centredLeft = (screen.width() - outer.width()) / 2;
    const int centredTop = (screen.height() - outer.height()) / 2;
    if (left < 0)
        QVERIFY2(qAbs(main.x() - centredLeft) <= 1, qPrintable(QString::number(main.x())));
    else
        QCOMPARE(main.x(), left);
    if (top < 0)
        QVERIFY2(qAbs(main.y() - centredTop) <= 1, qPrintable(QString::number(main.y())));
    else
        QCOMPARE(main.y(), top);
}

void TstMainStartup::storedAtClose_data()
{
    QTest::addColumn<bool>("typeExtension");
    QTest::addColumn<QString>("newExt"); // NewExtInx/NewExtUser after close
    QTest::newRow("typed extension stored") << true << "-1/bak";
    QTest::newRow("chosen item keeps the old typed one") << false << "1/old";
}

void TstMainStartup::storedAtClose()
{
    QFETCH(bool, typeExtension);
    QFETCH(QString, newExt);
    const FilesFolder folder({"a.JPG"});
    writeStore({{"LastDir", folder.path()},
                {"NewExtUser", "old"},
                {"Alpha", "1"},
                {"WindowTop", "1500"},
                {"WindowLeft", "3000"}});
    Window w;
    w.main->move(qRound(3000 / twipsPerPixel()), qRound(1500 / twipsPerPixel()));
    w.main->ExtUsed[2]->click();
    w.find<QLineEdit>("SelSteps")->setFocus();
    QTest::keyClicks(w.main->SelSteps, "3");
    w.main->NewExt->setFocus();
    if (typeExtension) {
        w.main->NewExt->lineEdit()->selectAll();
        QTest::keyClicks(w.main->NewExt, "bak");
    } else {
        QTest::keyClick(w.main->NewExt, Qt::Key_Down);
    }
    QVERIFY(w.main->close());
    const Store stored = readStore();
    QCOMPARE(stored.size(), 18);
    QCOMPARE(stored["NewExtInx"] + '/' + stored["NewExtUser"], newExt);
    const QStringList rest{stored["WindowTop"],   stored["WindowLeft"], stored["LastDir"],
                           stored["Specs"],       stored["Cases"],      stored["Keep"],
                           stored["Prefix"],      stored["Number"],     stored["Increment"],
                           stored["AlphaNumber"], stored["Alpha"],      stored["FileExt"],
                           stored["SelSteps"],    stored["Leading"]};
    QCOMPARE(rest.join('|'), QStringList({"1500", "3000", folder.path(), "*.JPG;*.GIF", "0", "0",
                                          "IMG_", "001", "1", "AAA", "1", "2", "3", ""})
                                 .join('|'));
    QCOMPARE(stored["LastDrive"], w.main->DriveList->driveOf(folder.path()));
}

void TstMainStartup::closeRefusedDuringRun_data()
{
    QTest::addColumn<RunState>("state");
    QTest::addColumn<bool>("closes");
    QTest::newRow("idle closes") << RunState::Idle << true;
    QTest::newRow("busy refused") << RunState::Busy << false;
    QTest::newRow("cancel requested refused") << RunState::CancelRequested << false;
}

void TstMainStartup::closeRefusedDuringRun()
{
    QFETCH(RunState, state);
    QFETCH(bool, closes);
    writeStore({{"Prefix", "before"}});
    Window w;
    w.main->FilePrefix->setText("after");
    w.main->setRunState(state);
    QCOMPARE(w.main->close(), closes);
    QCOMPARE(w.main->isVisible(), !closes);
    QCOMPARE(w.feedback.beeps, closes ? 0 : 1);
    QCOMPARE(readStore().value("Prefix"), closes ? "after" : "before");
}

void TstMainStartup::savePicture()
{
    const FilesFolder folder(numberedNames(12, "DSC%1.JPG"));
    writeStore({{"LastDir", folder.path()}, {"SelSteps", "3"}});
    Window w;
    const QString file = QCoreApplication::applicationDirPath() + "/main-window.png";
    QVERIFY(w.main->grab().save(file));
    QCOMPARE(w.main->FileList->selectedCount(), 4);
}

QTEST_MAIN(TstMainStartup)
#include "tst_mainstartup.moc"

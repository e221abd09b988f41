// The window's start and close: the stored settings restored and checked, what is stored at
// close, a close refused mid-run, the controls' start states and the focus order.

#include "MainFixture.h"
#include "window/DriveSelector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

using namespace pellory;
using namespace pellory::testing;

namespace {

// What start-up put into the controls and counter texts, as one line.
QString shown(const Main& m)
{
    QStringList parts;
    for (const QLineEdit* field :
         {m.files().FileSpecs, m.naming().NumCharKeep, m.naming().FilePrefix,
          m.naming().StartingNumber, m.naming().NumberIncValue, m.naming().FileLeading,
          m.files().SelSteps})
        parts << field->text();
    const int ext = m.naming().ExtUsed[0]->isChecked()   ? 0
                    : m.naming().ExtUsed[1]->isChecked() ? 1
                                                         : 2;
    for (int value :
         {m.naming().CasesList->currentIndex(), int(m.naming().chkAlpha->isChecked()), ext})
        parts << QString::number(value);
    parts << QString::number(m.naming().NewExt->currentIndex()) + ':' +
                 m.naming().NewExt->currentText()
          << QString::number(m.files().FileSortOrder->currentIndex())
          << m.naming().counterTexts().NumberText << m.naming().counterTexts().IncrementText
          << m.naming().counterTexts().AlphaNumberText
          << m.naming().counterTexts().AlphaIncrementText;
    return parts.join(' ');
}

int px(double twips)
{
    return qRound(twips * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 1440);
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void restore_data();
    void restore();
    void storedAtClose_data();
    void storedAtClose();
    void closeRequest_data();
    void closeRequest();
    void startStates();
};

void TstMainWindow::restore_data()
{
    QTest::addColumn<Store>("store");
    QTest::addColumn<QString>("expected"); // shown(), then "@left,top" with "c" where centred
    const QString defaults = "*.JPG;*.GIF 0 IMG_ 001 1   0 0 1 0:Keep as is 0 001 1 AAA 1 @c,c";
    const auto with = [&](const QString& from, const QString& to) {
        return QString(defaults).replace(from, to);
    };
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int height = qRound(screen->geometry().height() * 1440 / screen->logicalDotsPerInch());
    // clang-format off
    QTest::newRow("empty store") << Store{} << defaults;
    QTest::newRow("full store, prefix restored after the case style") << Store{{"Specs", "*.PNG"},     {"Cases", "2"},          {"Keep", "3"}, {"Prefix", "Trip"},     {"Number", "0100"},      {"Increment", "5"}, {"AlphaNumber", "BAA"}, {"AlphaIncrement", "2"}, {"Alpha", "0"}, {"Leading", "_x"},      {"FileExt", "2"},        {"NewExtInx", "-1"}, {"NewExtUser", "bak"},  {"SelSteps", "2"}} << "*.PNG 3 Trip 0100 5 _x 2 2 0 2 -1:bak 0 0100 5 BAA 2 @c,c";
    QTest::newRow("alpha on: the alphabetic pair shown, the numeric kept") << Store{{"Number", "0100"}, {"AlphaNumber", "BAA"}, {"Alpha", "1"}} << "*.JPG;*.GIF 0 IMG_ BAA 1   0 1 1 0:Keep as is 0 0100 1 BAA 1 @c,c";
    QTest::newRow("cases outside the list") << Store{{"Cases", "7"}} << with(" 0 0 1", " -1 0 1");
    QTest::newRow("file ext outside the options") << Store{{"FileExt", "3"}} << defaults;
    QTest::newRow("user ext unless index -1") << Store{{"NewExtInx", "1"}, {"NewExtUser", "b"}} << with("0:Keep as is", "1:Remove ext");
    QTest::newRow("index -1, no user ext") << Store{{"NewExtInx", "-1"}} << with("0:Keep as is", "-1:");
    QTest::newRow("folder gone") << Store{{"LastDir", "/no/such"}, {"LastDrive", "/no"}} << defaults;
    QTest::newRow("inside, leading number") << Store{{"WindowTop", "1500"}, {"WindowLeft", "750.4px"}} << with("@c,c", QString("@%1,%2").arg(px(750.4)).arg(px(1500)));
    QTest::newRow("top at the screen height") << Store{{"WindowTop", QString::number(height)}} << defaults;
    QTest::newRow("below zero stays centred") << Store{{"WindowTop", "-32000"}} << defaults;
    // clang-format on
}

void TstMainWindow::restore()
{
    QFETCH(Store, store);
    QFETCH(QString, expected);
    RecordingFeedback feedback; // the windows are not shown: the position is start-up's alone
    writeStore({});
    const Main plain(&feedback);
    const QPoint centred = plain.pos();
    const QSize free = QGuiApplication::primaryScreen()->size() - plain.frameGeometry().size();
    // Centred, then raised by about a title bar's height.
    QVERIFY(qAbs(centred.x() - free.width() / 2) <= 1 &&
            qAbs(centred.y() - free.height() / 2 + 25) < 25);
    writeStore(store);
    const Main main(&feedback);
    const auto place = [](int at, int centre) { return at == centre ? "c" : QString::number(at); };
    QCOMPARE(shown(main) + " @" + place(main.x(), centred.x()) + ',' + place(main.y(), centred.y()),
             expected);
    QCOMPARE(feedback.beeps + feedback.messages.size(), 0);
}

void TstMainWindow::storedAtClose_data()
{
    QTest::addColumn<bool>("typeExtension");
    QTest::addColumn<QString>("newExt"); // "NewExtInx/NewExtUser" after close
    // clang-format off
    QTest::newRow("typed extension stored") << true << "-1/bak";
    QTest::newRow("chosen item keeps the old typed one") << false << "1/old";
    // clang-format on
}

void TstMainWindow::storedAtClose()
{
    QFETCH(bool, typeExtension);
    QFETCH(QString, newExt);
    const FilesFolder folder(numberedNames(12, "DSC%1.JPG"));
    writeStore({{"LastDir", folder.path()}, {"NewExtUser", "old"}, {"Alpha", "1"}});
    Window w;
    QCOMPARE(listed(*w.main).count("DSC"), 12);
    w.main->move(px(3000), px(1500));
    w.main->naming().ExtUsed[2]->click();
    typeOver(w.main->files().SelSteps, "3");
    if (typeExtension) {
        typeOver(w.main->naming().NewExt, "bak");
    } else {
        w.main->naming().NewExt->setFocus();
        QTest::keyClick(w.main->naming().NewExt, Qt::Key_Down);
    }
    QVERIFY(w.main->close());
    Store stored = readStore();
    QCOMPARE(stored.size(), 18);
    QCOMPARE(stored.take("NewExtInx") + '/' + stored.take("NewExtUser"), newExt);
    QCOMPARE(stored.take("LastDrive"), w.main->files().DriveList->driveOf(folder.path()));
    QCOMPARE(stored.take("LastDir"), folder.path());
    QCOMPARE(QStringList(stored.values()).join(' '), // the rest, in key order
             "1 1 AAA 0 2 1 0  001 IMG_ 3 *.JPG;*.GIF 3000 1500");
}

void TstMainWindow::closeRequest_data()
{
    QTest::addColumn<RunState>("state");
    QTest::addColumn<QString>("how");   // the close box, Esc, or the close box over a store
                                        // whose file has become a folder
    QTest::addColumn<QString>("after"); // shown, run state, beeps, prefix read back, message
    const QString unsaved =
        "Pellory - Error|warning|Your settings could not be saved, so they will "
        "not be restored at the next start.";
    // clang-format off
    QTest::newRow("idle closes") << RunState::Idle << "close" << "0 0 0 after ";
    QTest::newRow("busy refused") << RunState::Busy << "close" << "1 1 1 before ";
    QTest::newRow("Esc when idle closes") << RunState::Idle << "Esc" << "0 0 0 after ";
    QTest::newRow("Esc when busy asks the run to stop") << RunState::Busy << "Esc" << "1 2 0 before ";
    QTest::newRow("store unwritable: closes, says so") << RunState::Idle << "unwritable" << "0 0 0  " + unsaved;
    // clang-format on
}

void TstMainWindow::closeRequest()
{
    QFETCH(RunState, state);
    QFETCH(QString, how);
    QFETCH(QString, after);
    writeStore({{"Prefix", "before"}});
    Window w;
    w.main->naming().FilePrefix->setText("after");
    w.main->run().setRunState(state);
    const QString file = settingsFile().fileName();
    if (how == "unwritable")
        QVERIFY(QFile::remove(file) && QDir().mkdir(file));
    if (how == "Esc")
        QTest::keyClick(w.main->files().FileSpecs, Qt::Key_Escape);
    else
        w.main->close();
    const QStringList shown{QString::number(w.main->isVisible()),
                            QString::number(int(w.main->run().runState())),
                            QString::number(w.feedback.beeps), readStore().value("Prefix"),
                            w.feedback.messages.value(0).section('\n', 0, 0)};
    QDir().rmdir(file);
    QCOMPARE(shown.join(' '), after);
}

// At start: which controls are off, each control's accessible name, then the focus order
// with every control enabled so that Tab visits each.
void TstMainWindow::startStates()
{
    writeStore({});
    Window w;
    QStringList off;
    for (const QWidget* control : w.main->controls()) {
        const QString name = control->objectName(), accessible = control->accessibleName();
        QVERIFY2(!accessible.isEmpty() && !accessible.contains('&'), qPrintable(name));
        if (!control->isVisible() || !control->isEnabled())
            off << (control->isVisible() ? name : "hidden " + name);
    }
    off.sort();
    QCOMPARE(off.join(' '),
             "ApplyBut FileLeading FilePrefix Label2 Label3 Label4 Label5 Label7 NumCharKeep "
             "NumberIncValue PreviewBut StartingNumber chkAlpha chkTrim hidden PreviewList");
    for (QWidget* child : w.main->findChildren<QWidget*>())
        child->setEnabled(true);
    w.main->files().PreviewList->show();
    w.main->files().DriveList->setFocus();
    QStringList visited;
    for (int i = 0; i < 23; ++i) {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited.join(' '), // the option group is entered at its selected option
             "DriveList DirList FileSortOrder SelSteps FileList FileSpecs WildCardRen CasesList "
             "RenameChk NumCharKeep FilePrefix StartingNumber chkTrim NumberIncValue chkAlpha "
             "FileLeading NewExt ExtUsed1 PreviewBut ApplyBut ExitBut PreviewList DriveList");
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"

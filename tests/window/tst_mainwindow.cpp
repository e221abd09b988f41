// The window as it starts and closes: its controls, the stored settings restored and
// stored, its position, focus order, access keys and captions that fit.

#include "MainFixture.h"

#include "window/DriveSelector.h"
#include "window/FolderSelector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

using namespace pellory;
using namespace pellory::testing;

namespace {

QString caption(const QWidget* control) // list items joined by "|"
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(control))
        return frame->title();
    QStringList items;
    if (auto* box = qobject_cast<const QComboBox*>(control)) {
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
    }
    return items.join('|');
}

// What start-up put into the controls and counter texts, as one line.
QString shown(const Main& m)
{
    const auto n = [](int value) { return QString::number(value); };
    const int ext = m.ExtUsed[0]->isChecked() ? 0 : m.ExtUsed[1]->isChecked() ? 1 : 2;
    return QStringList{m.FileSpecs->text(),
                       m.NumCharKeep->text(),
                       m.FilePrefix->text(),
                       m.StartingNumber->text(),
                       m.NumberIncValue->text(),
                       m.FileLeading->text(),
                       m.SelSteps->text(),
                       n(m.CasesList->currentIndex()),
                       n(m.chkAlpha->isChecked()),
                       n(ext),
                       n(m.NewExt->currentIndex()) + ':' + m.NewExt->currentText(),
                       n(m.FileSortOrder->currentIndex()),
                       m.numberText(),
                       m.incrementText(),
                       m.alphaNumberText(),
                       m.alphaIncrementText()}
        .join(' ');
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
    void position_data();
    void position();
    void storedAtClose_data();
    void storedAtClose();
    void closeRequest_data();
    void closeRequest();
    void storeUnwritable();
    void controls_data();
    void controls();
    void focusOrder();
    void captionsFit();
};

void TstMainWindow::restore_data()
{
    QTest::addColumn<Store>("store");
    QTest::addColumn<QString>("expected");
    const QString defaults = "*.JPG;*.GIF 0 IMG_ 001 1   0 0 1 0:Keep as is 0 001 1 AAA 1";
    const auto with = [&](const char* from, const char* to) {
        return QString(defaults).replace(from, to);
    };
    QTest::newRow("empty store") << Store{} << defaults;
    QTest::newRow("full store, prefix restored after the case style")
        << Store{{"Specs", "*.PNG"},     {"Cases", "2"},          {"Keep", "3"},
                 {"Prefix", "Trip"},     {"Number", "0100"},      {"Increment", "5"},
                 {"AlphaNumber", "BAA"}, {"AlphaIncrement", "2"}, {"Alpha", "0"},
                 {"Leading", "_x"},      {"FileExt", "2"},        {"NewExtInx", "-1"},
                 {"NewExtUser", "bak"},  {"SelSteps", "2"}}
        << "*.PNG 3 Trip 0100 5 _x 2 2 0 2 -1:bak 0 0100 5 BAA 2";
    QTest::newRow("alpha on: the alphabetic pair shown, the numeric kept")
        << Store{{"Number", "0100"}, {"AlphaNumber", "BAA"}, {"Alpha", "1"}}
        << "*.JPG;*.GIF 0 IMG_ BAA 1   0 1 1 0:Keep as is 0 0100 1 BAA 1";
    QTest::newRow("cases outside the list") << Store{{"Cases", "7"}} << with(" 0 0 1", " -1 0 1");
    QTest::newRow("cases not a number") << Store{{"Cases", "x"}} << with(" 0 0 1", " -1 0 1");
    QTest::newRow("file ext outside the options") << Store{{"FileExt", "3"}} << defaults;
    QTest::newRow("alpha value 2") << Store{{"Alpha", "2"}} << defaults;
    QTest::newRow("new ext index outside the list") << Store{{"NewExtInx", "2"}} << defaults;
    QTest::newRow("user ext unless index -1")
        << Store{{"NewExtInx", "1"}, {"NewExtUser", "b"}} << with("0:Keep as is", "1:Remove ext");
    QTest::newRow("index -1, no user ext")
        << Store{{"NewExtInx", "-1"}} << with("0:Keep as is", "-1:");
    QTest::newRow("folder gone") << Store{{"LastDir", "/no/such"}, {"LastDrive", "/no"}}
                                 << defaults;
}

void TstMainWindow::restore()
{
    QFETCH(Store, store);
    QFETCH(QString, expected);
    writeStore(store);
    Window w;
    QCOMPARE(shown(*w.main), expected);
    QCOMPARE(w.feedback.beeps + w.feedback.messages.size(), 0);
}

void TstMainWindow::position_data()
{
    QTest::addColumn<Store>("store");
    QTest::addColumn<int>("top"); // pixels; -1 centred
    QTest::addColumn<int>("left");
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int height = qRound(screen->geometry().height() * 1440 / screen->logicalDotsPerInch());
    QTest::newRow("absent: centred") << Store{} << -1 << -1;
    QTest::newRow("inside") << Store{{"WindowTop", "1500"}, {"WindowLeft", "750"}} << px(1500)
                            << px(750);
    QTest::newRow("top at the screen height")
        << Store{{"WindowTop", QString::number(height)}} << -1 << -1;
    QTest::newRow("left past the screen") << Store{{"WindowLeft", "999999"}} << -1 << -1;
    QTest::newRow("no number reads 0") << Store{{"WindowTop", "abc"}} << 0 << -1;
    QTest::newRow("leading number") << Store{{"WindowLeft", "300.4px"}} << -1 << px(300.4);
    QTest::newRow("below zero stays centred") << Store{{"WindowTop", "-32000"}} << -1 << -1;
}

void TstMainWindow::position()
{
    QFETCH(Store, store);
    QFETCH(int, top);
    QFETCH(int, left);
    writeStore(store);
    RecordingFeedback feedback;
    const Main main(&feedback); // not shown: the position is start-up's alone
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize free = screen.size() - main.frameGeometry().size();
    QVERIFY(qAbs(main.x() - (left < 0 ? free.width() / 2 : left)) <= (left < 0));
    if (top >= 0)
        QCOMPARE(main.y(), top);
    else // centred, then raised by about a title bar's height
        QVERIFY2(main.y() < free.height() / 2 && main.y() > free.height() / 2 - 50,
                 qPrintable(QString::number(main.y())));
}

void TstMainWindow::storedAtClose_data()
{
    QTest::addColumn<bool>("typeExtension");
    QTest::addColumn<QString>("newExt"); // "NewExtInx/NewExtUser" after close
    QTest::newRow("typed extension stored") << true << "-1/bak";
    QTest::newRow("chosen item keeps the old typed one") << false << "1/old";
}

void TstMainWindow::storedAtClose()
{
    QFETCH(bool, typeExtension);
    QFETCH(QString, newExt);
    const FilesFolder folder(numberedNames(12, "DSC%1.JPG"));
    writeStore({{"LastDir", folder.path()}, {"NewExtUser", "old"}, {"Alpha", "1"}});
    Window w;
    QCOMPARE(listed(*w.main).count("DSC"), 12);
    if (typeExtension) // the window as a person first sees it
        QVERIFY(w.main->grab().save(QCoreApplication::applicationDirPath() + "/main.png"));
    w.main->move(px(3000), px(1500));
    w.main->ExtUsed[2]->click();
    typeOver(w.main->SelSteps, "3");
    if (typeExtension) {
        typeOver(w.main->NewExt, "bak");
    } else {
        w.main->NewExt->setFocus();
        QTest::keyClick(w.main->NewExt, Qt::Key_Down);
    }
    QVERIFY(w.main->close());
    Store stored = readStore();
    QCOMPARE(stored.size(), 18);
    QCOMPARE(stored.take("NewExtInx") + '/' + stored.take("NewExtUser"), newExt);
    QCOMPARE(stored.take("LastDrive"), w.main->DriveList->driveOf(folder.path()));
    QCOMPARE(stored.take("LastDir"), folder.path());
    QCOMPARE(QStringList(stored.values()).join(' '), // the rest, in key order
             "1 1 AAA 0 2 1 0  001 IMG_ 3 *.JPG;*.GIF 3000 1500");
}

void TstMainWindow::closeRequest_data()
{
    QTest::addColumn<RunState>("state");
    QTest::addColumn<bool>("escape"); // Esc instead of the window's close box
    QTest::addColumn<RunState>("after");
    QTest::newRow("idle closes") << RunState::Idle << false << RunState::Idle;
    QTest::newRow("busy refused") << RunState::Busy << false << RunState::Busy;
    QTest::newRow("cancel requested refused")
        << RunState::CancelRequested << false << RunState::CancelRequested;
    QTest::newRow("Esc when idle closes") << RunState::Idle << true << RunState::Idle;
    QTest::newRow("Esc when busy asks the run to stop")
        << RunState::Busy << true << RunState::CancelRequested;
}

void TstMainWindow::closeRequest()
{
    QFETCH(RunState, state);
    QFETCH(bool, escape);
    QFETCH(RunState, after);
    writeStore({{"Prefix", "before"}});
    Window w;
    w.main->FilePrefix->setText("after");
    w.main->setRunState(state);
    if (escape)
        QTest::keyClick(w.main->FileSpecs, Qt::Key_Escape);
    else
        w.main->close();
    const bool closes = state == RunState::Idle;
    QCOMPARE(w.main->isVisible(), !closes);
    QCOMPARE(w.main->runState(), after);
    QCOMPARE(w.feedback.beeps, int(!closes && !escape));
    QCOMPARE(readStore().value("Prefix"), closes ? "after" : "before");
}

void TstMainWindow::storeUnwritable()
{
    writeStore({});
    Window w;
    const QString file = settingsFile().fileName();
    QVERIFY(QFile::remove(file) && QDir().mkdir(file)); // a folder where the file should be
    const bool closed = w.main->close();
    QDir().rmdir(file);
    QVERIFY(closed);
    QCOMPARE(w.feedback.messages.size(), 1);
    QVERIFY(w.feedback.messages[0].startsWith(
        "Pellory - Error|48|Your settings could not be saved, so they will not be restored at "
        "the next start."));
}

void TstMainWindow::controls_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("state"); // "on", "off" (disabled) or "hidden"
    const QString sel = "Selects  files begining at current selected file";
    const auto row = [](const char* name, const QString& caption, const QString& tip,
                        const char* state = "on") {
        QTest::newRow(name) << caption << tip << state;
    };
    row("Label8", "Sort Files &by : ", "Select sorting order");
    row("FileSortOrder",
        "Name (A to Z)|Name (Z to A)|Ext (A to Z)|Ext (Z to A)|"
        "Date (Old to New)|Date (New to Old)",
        "Select sorting order");
    row("Label12", "Name &Format: ", "");
    row("CasesList", "Leave as is|all lower case|ALL UPPER CASE|Normal Formatted", "");
    row("Label10", "Select files &every", sel);
    row("SelSteps", "", sel);
    row("Label11", "positions", sel);
    row("FileList", "", "");
    row("PreviewList", "", "", "hidden");
    row("RenameChk", "Enable Batch &Rename", "Check to enable batch renaming");
    row("Frame2", "", "");
    row("Label7", "Characters to &keep from left : ", "Enter a number", "off");
    row("NumCharKeep", "", "Enter a number", "off");
    row("Label2", "&Prefix : ", "Enter prefix text", "off");
    row("FilePrefix", "", "Enter prefix text", "off");
    row("Label3", "&Starting # : ", "Enter padded numbers", "off");
    row("StartingNumber", "", "Enter padded numbers", "off");
    row("chkTrim", "Trim", "Check to trim zeros", "off");
    row("Label5", "&Increment : ", "Enter increment value", "off");
    row("NumberIncValue", "", "Enter increment value", "off");
    row("chkAlpha", "Alpha", "Check to use characters", "off");
    row("Label4", "&Leading : ", "Enter leading text", "off");
    row("FileLeading", "", "Enter leading text", "off");
    row("Frame1", "Extension", "");
    row("Label6", "New e&xt : ", "Select or type in new file extension");
    row("NewExt", "Keep as is|Remove ext", "Select or type in new file extension");
    row("ExtUsed0", "Use First Occurrence", "Act on first occurrence of file extension");
    row("ExtUsed1", "Use Last Occurrence", "");
    row("ExtUsed2", "Do Not Use File Extension", "");
    row("Label1", "File specs to act &on : ", "Enter file specs (wildcards) to act on");
    row("FileSpecs", "", "Enter file specs (wildcards) to act on");
    row("Label9", "Wild&card Rename : ", "Rename files using wildcards");
    row("WildCardRen", "", "Rename files using wildcards");
    row("PreviewBut", "Previe&w and Check for Errors", "Click to preview", "off");
    row("ApplyBut", "Apply", "Click to apply", "off");
    row("ExitBut", "Exit", "Click to exit");
}

void TstMainWindow::controls()
{
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    QFETCH(QString, state);
    writeStore({});
    Window w;
    const QWidget* control = w.find(QTest::currentDataTag());
    QVERIFY(control);
    QCOMPARE(::caption(control), caption);
    QCOMPARE(control->toolTip(), tip);
    QCOMPARE(control->isVisible() ? control->isEnabled() ? "on" : "off" : "hidden", state);
    QVERIFY(!control->accessibleName().isEmpty() && !control->accessibleName().contains('&'));
}

void TstMainWindow::focusOrder()
{
    writeStore({});
    Window w;
    QStringList byPosition(Main::kTabPositions);
    for (QWidget* child : w.main->findChildren<QWidget*>()) {
        child->setEnabled(true); // so that Tab below visits every control
        if (const QVariant at = child->property("tabPosition"); at.isValid())
            byPosition[at.toInt()] = child->objectName();
    }
    QCOMPARE(byPosition.join(' '),
             "DriveList DirList Label8 FileSortOrder Label10 SelSteps Label11 FileList Label1 "
             "FileSpecs Label9 WildCardRen Label12 CasesList RenameChk Label7 NumCharKeep Label2 "
             "FilePrefix Label3 StartingNumber chkTrim Label5 NumberIncValue chkAlpha Label4 "
             "FileLeading Label6 NewExt ExtUsed0 ExtUsed1 ExtUsed2 PreviewBut ApplyBut ExitBut "
             "Frame2 PreviewList Frame1");
    w.main->PreviewList->show();
    w.main->DriveList->setFocus();
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

void TstMainWindow::captionsFit()
{
    writeStore({});
    Window w;
    const QStyle* style = w.main->style();
    const auto metric = [&](QStyle::PixelMetric m) { return style->pixelMetric(m); };
    QStringList cut;
    for (QWidget* child : w.main->findChildren<QWidget*>()) {
        int needed = child->fontMetrics().horizontalAdvance(caption(child).remove('&'));
        if (qobject_cast<QCheckBox*>(child))
            needed += metric(QStyle::PM_IndicatorWidth) + metric(QStyle::PM_CheckBoxLabelSpacing);
        else if (qobject_cast<QRadioButton*>(child))
            needed += metric(QStyle::PM_ExclusiveIndicatorWidth) +
                      metric(QStyle::PM_RadioButtonLabelSpacing);
        else if (qobject_cast<QPushButton*>(child))
            needed += 2 * metric(QStyle::PM_ButtonMargin);
        else if (!qobject_cast<QLabel*>(child))
            continue;
        if (child->width() < needed)
            cut.append(child->objectName());
    }
    QCOMPARE(cut, QStringList());
    QCOMPARE(w.main->minimumSize(), w.main->maximumSize());
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"

// The window over a real folder: the run buttons' states, the every-N selection, the
// wildcard field with its messages, the specification field, sort choice and drives.

#include "MainFixture.h"

#include "window/DriveSelector.h"
#include "window/FolderSelector.h"
#include "window/NameListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace pellory;
using namespace pellory::testing;

namespace {

void clickRow(NameListView* list, int row, Qt::KeyboardModifiers mods = {})
{
    const QRect at = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, at.center());
}

// Carries out one user step: "rename", "trim", "alpha", "select=K" (rows 0..K-1),
// "extitem=I" (choose item I), "cases=I", or "FIELD=TEXT" typed over the field.
void act(Window& w, const QString& step)
{
    const QString name = step.section('=', 0, 0);
    const QString value = step.section('=', 1);
    const QMap<QString, QAbstractButton*> boxes{
        {"rename", w.main->RenameChk}, {"trim", w.main->chkTrim}, {"alpha", w.main->chkAlpha}};
    if (boxes.contains(name)) {
        boxes[name]->click();
    } else if (name == "select") {
        clickRow(w.main->FileList, 0);
        clickRow(w.main->FileList, value.toInt() - 1, Qt::ShiftModifier);
    } else if (name == "extitem" || name == "cases") {
        QComboBox* box = name == "cases" ? w.main->CasesList : w.main->NewExt;
        box->setFocus();
        for (int i = 0; i < value.toInt(); ++i)
            QTest::keyClick(box, Qt::Key_Down);
    } else {
        typeOver(w.find<QWidget>(qPrintable(name)), value);
    }
}

QString enabledStates(const Main& m, const QStringList& names)
{
    QStringList states;
    for (const QString& name : names)
        states.append(name + '=' + QString::number(m.findChild<QWidget*>(name)->isEnabled()));
    return states.join(' ');
}

} // namespace

class TstMainRules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void runButtons_data();
    void runButtons();
    void everyN_data();
    void everyN();
    void wildcardChecks_data();
    void wildcardChecks();
    void wildcardSwitchesControls();
    void specsApplied_data();
    void specsApplied();
    void sortChoice_data();
    void sortChoice();
    void driveRefused();
};

void TstMainRules::runButtons_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("buttons");
    QTest::newRow("nothing would change") << 3 << QStringList{} << "none";
    QTest::newRow("empty list, remove ext") << 0 << QStringList{"extitem=1"} << "apply+preview";
    QTest::newRow("empty list, typed ext") << 0 << QStringList{"NewExt=bak"} << "apply+preview";
    QTest::newRow("scheme off, case style") << 3 << QStringList{"cases=1"} << "apply+preview";
    QTest::newRow("start 00, 150 files")
        << 150 << QStringList{"rename", "StartingNumber=00"} << "none";
    QTest::newRow("start 00, 150 files, trim")
        << 150 << QStringList{"rename", "StartingNumber=00", "trim"} << "apply+preview";
    QTest::newRow("start 00, 50 of 150 selected")
        << 150 << QStringList{"rename", "StartingNumber=00", "select=50"} << "apply+preview";
    QTest::newRow("alpha counter not tested for fit")
        << 150 << QStringList{"rename", "alpha", "StartingNumber=A"} << "apply+preview";
    QTest::newRow("increment 0") << 3 << QStringList{"rename", "NumberIncValue=0"} << "none";
    QTest::newRow("keep 3, no start, prefix only")
        << 3 << QStringList{"rename", "NumCharKeep=3", "StartingNumber="} << "apply+preview";
    QTest::newRow("no start, no prefix, no leading")
        << 3 << QStringList{"rename", "NumCharKeep=3", "StartingNumber=", "FilePrefix="} << "none";
    QTest::newRow("wildcard pattern: apply only")
        << 3 << QStringList{"cases=1", "FileSpecs=*.JPG", "WildCardRen=*.X"} << "apply";
}

void TstMainRules::runButtons()
{
    QFETCH(int, files);
    QFETCH(QStringList, steps);
    QFETCH(QString, buttons);
    const FilesFolder folder(numberedNames(files));
    writeStore({{"LastDir", folder.path()}});
    Window w;
    QCOMPARE(w.main->FileList->count(), files);
    for (const QString& step : steps)
        act(w, step);
    QCOMPARE(enabledButtons(*w.main), buttons);
    QCOMPARE(w.feedback.messages, QStringList());
}

void TstMainRules::everyN_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("current"); // row clicked before typing; -1 none
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("selected");
    QTest::newRow("2 of 7") << 7 << -1 << "2"
                            << "0|2|4|6 @0";
    QTest::newRow("3 of 10 from item 4") << 10 << 4 << "3"
                                         << "4|7 @4";
    QTest::newRow("1 from item 5 of 8") << 8 << 5 << "1"
                                        << "5|6|7 @5";
    QTest::newRow("0") << 5 << 2 << "0"
                       << " @2";
    QTest::newRow("empty") << 5 << -1 << ""
                           << " @-1";
    QTest::newRow("-2") << 5 << 1 << "-2"
                        << " @1";
    QTest::newRow("X") << 5 << -1 << "X"
                       << " @-1";
    QTest::newRow("2.5 gives 2") << 7 << -1 << "2.5"
                                 << "0|2|4|6 @0";
    QTest::newRow("3.5 gives 4") << 9 << -1 << "3.5"
                                 << "0|4|8 @0";
    QTest::newRow("5 with an empty list") << 0 << -1 << "5"
                                          << " @-1";
}

void TstMainRules::everyN()
{
    QFETCH(int, files);
    QFETCH(int, current);
    QFETCH(QString, steps);
    QFETCH(QString, selected);
    const FilesFolder folder(numberedNames(files));
    writeStore({{"LastDir", folder.path()}});
    Window w;
    if (current >= 0)
        clickRow(w.main->FileList, current);
    typeOver(w.main->SelSteps, steps);
    QCOMPARE(selectedRows(*w.main), selected);
}

void TstMainRules::wildcardChecks_data()
{
    QTest::addColumn<QString>("specs");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focusSelection"); // focused control and its selected text
    QTest::addColumn<QString>("buttons");
    const QString title = "Pellory - Wilcard Error|0|";
    QTest::newRow("several specs")
        << "*.JPG;b*.GIF"
        << title + "File Specs cannot include multiple search specs when using 'Wilcard Rename'"
        << "FileSpecs ;b*.GIF"
        << "none";
    QTest::newRow("no wildcard")
        << "ABC.JPG" << title + "File Specs must include wildcards when using 'Wilcard Rename'"
        << "FileSpecs ABC.JPG"
        << "apply+preview";
    QTest::newRow("one pattern with a wildcard") << "A?C.JPG"
                                                 << ""
                                                 << "WildCardRen "
                                                 << "apply";
}

void TstMainRules::wildcardChecks()
{
    QFETCH(QString, specs);
    QFETCH(QString, message);
    QFETCH(QString, focusSelection);
    QFETCH(QString, buttons);
    const FilesFolder folder({"ABC.JPG"});
    writeStore({{"LastDir", folder.path()}, {"Specs", specs}});
    Window w;
    // Batch rename on and off again gives the wildcard field back, whatever the specs say.
    for (const char* step : {"cases=1", "rename", "rename", "WildCardRen=x"})
        act(w, step);
    QCOMPARE(w.feedback.messages.join('\n'), message);
    const auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QCOMPARE(focused->objectName() + ' ' + focused->selectedText(), focusSelection);
    QCOMPARE(enabledButtons(*w.main), buttons);
}

void TstMainRules::wildcardSwitchesControls()
{
    const FilesFolder folder(numberedNames(5));
    writeStore({{"LastDir", folder.path()}, {"Specs", "*.JPG"}, {"SelSteps", "2"}});
    Window w;
    const QStringList names{"FileSortOrder", "SelSteps", "CasesList", "RenameChk",
                            "FilePrefix",    "NewExt",   "ExtUsed2",  "FileSpecs"};
    act(w, "WildCardRen=F");
    QCOMPARE(selectedRows(*w.main), QString(" @0"));
    QCOMPARE(enabledStates(*w.main, names),
             QString("FileSortOrder=0 SelSteps=0 CasesList=0 RenameChk=0 FilePrefix=0 "
                     "NewExt=0 ExtUsed2=0 FileSpecs=1"));
    QTest::keyClick(w.main->WildCardRen, Qt::Key_Backspace);
    QCOMPARE(selectedRows(*w.main), QString("0|2|4 @0"));
    QCOMPARE(enabledStates(*w.main, names),
             QString("FileSortOrder=1 SelSteps=1 CasesList=1 RenameChk=1 FilePrefix=0 "
                     "NewExt=1 ExtUsed2=1 FileSpecs=1"));
}

void TstMainRules::specsApplied_data()
{
    QTest::addColumn<QString>("typed"); // over the whole field; "" leaves it untouched
    QTest::addColumn<int>("leaveKey");
    QTest::addColumn<QString>("list");
    QTest::newRow("left unchanged: no rebuild") << "" << int(Qt::Key_Tab) << "a.JPG";
    QTest::newRow("Enter applies at once") << "*.png" << int(Qt::Key_Return) << "c.png";
    QTest::newRow("left after a change")
        << "*.JPG;*.NEW" << int(Qt::Key_Tab) << "a.JPG|d.new|e.JPG";
}

void TstMainRules::specsApplied()
{
    QFETCH(QString, typed);
    QFETCH(int, leaveKey);
    QFETCH(QString, list);
    const FilesFolder folder({"a.JPG", "c.png"});
    writeStore({{"LastDir", folder.path()}, {"Specs", "*.JPG"}});
    Window w;
    for (const char* appearsLater : {"/d.new", "/e.JPG"})
        QVERIFY(QFile(folder.path() + appearsLater).open(QIODevice::WriteOnly));
    w.main->FileSpecs->setFocus();
    if (!typed.isEmpty())
        typeOver(w.main->FileSpecs, typed);
    QTest::keyClick(w.main->FileSpecs, Qt::Key(leaveKey));
    QCOMPARE(listed(*w.main), list);
    QVERIFY(!w.main->FileSpecs->hasFocus());
}

void TstMainRules::sortChoice_data()
{
    QTest::addColumn<RunState>("state");
    QTest::addColumn<QString>("selected");
    QTest::newRow("idle: re-sorted, selection dropped") << RunState::Idle << " @-1";
    QTest::newRow("busy: left as it is") << RunState::Busy << "0|2 @0";
}

void TstMainRules::sortChoice()
{
    QFETCH(RunState, state);
    QFETCH(QString, selected);
    const FilesFolder folder(numberedNames(4));
    writeStore({{"LastDir", folder.path()}, {"SelSteps", "2"}});
    Window w;
    w.main->setRunState(state);
    w.main->FileSortOrder->setFocus();
    QTest::keyClick(w.main->FileSortOrder, Qt::Key_End); // "Date (New to Old)"
    QCOMPARE(w.main->FileSortOrder->currentIndex(), 5);
    QCOMPARE(selectedRows(*w.main), selected);
}

void TstMainRules::driveRefused()
{
    const FilesFolder folder({"a.JPG"});
    writeStore({{"LastDir", folder.path()}});
    Window w;
    w.main->DriveList->setVolumes({"/", "/no-such-drive"});
    w.main->DriveList->setCurrentIndex(1); // the user picks the drive that cannot be opened
    QCOMPARE(w.main->DriveList->drive(), QString("/"));
    QCOMPARE(w.main->DirList->path(), folder.path());
    QCOMPARE(listed(*w.main), QString("a.JPG"));
    QCOMPARE(w.feedback.beeps, 1);
}

QTEST_MAIN(TstMainRules)
#include "tst_mainrules.moc"

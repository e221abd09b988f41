#include "MainFixture.h"

#include "window/DriveSelector.h"
#include "window/FolderSelector.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

using namespace pellory;
using namespace pellory::testing;

namespace {

void clickRow(NameListView* list, int row, Qt::KeyboardModifiers mods = {})
{
    const QRect at = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, at.center());
}

// One user step: "rename", "trim", "alpha" click that box; "select=K" selects rows 0..K-1;
// "click=K" clicks row K; "NewExt+=I", "CasesList+=I" press Down I times; "FIELD=TEXT" types
// over the field; "paste=FIELD" presses Ctrl+V in it; "busy" starts a run.
void act(Window& w, const QString& step)
{
    const QString name = step.section('=', 0, 0);
    const QString value = step.section('=', 1);
    const QMap<QString, QAbstractButton*> boxes{
        {"rename", w.main->RenameChk}, {"trim", w.main->chkTrim}, {"alpha", w.main->chkAlpha}};
    if (boxes.contains(name)) {
        boxes[name]->click();
    } else if (name == "click") {
        clickRow(w.main->FileList, value.toInt());
    } else if (name == "select") {
        clickRow(w.main->FileList, 0);
        clickRow(w.main->FileList, value.toInt() - 1, Qt::ShiftModifier);
    } else if (name == "busy") {
        w.main->setRunState(RunState::Busy);
    } else if (name == "paste") {
        w.find(value)->setFocus();
        QTest::keyClick(w.find(value), Qt::Key_V, Qt::ControlModifier);
    } else if (name.endsWith('+')) {
        QWidget* box = w.find(name.chopped(1));
        box->setFocus();
        for (int i = 0; i < value.toInt(); ++i)
            QTest::keyClick(box, Qt::Key_Down);
    } else {
        typeOver(w.find(name), value);
    }
}

// "buttons": the run buttons; "selection": the selected rows; "counter": the start's caption
// and text, trimming, and the numeric and alphabetic start texts; "controls": the
// selected rows and the enabled states of the controls a wildcard pattern switches; a
// field's name: its text and the beeps so far.
QString shownBy(const Window& w, const QString& probe)
{
    const Main& m = *w.main;
    if (probe == "buttons")
        return enabledButtons(m);
    if (probe == "counter")
        return QStringList{m.Label3->text(), m.StartingNumber->text(),
                           m.chkTrim->isEnabled() ? "trim" : "no trim", m.numberText(),
                           m.alphaNumberText()}
            .join('|');
    if (probe == "selection")
        return selectedRows(m);
    if (probe != "controls") {
        const auto* box = w.find<QComboBox>(probe);
        const QString text = box ? box->currentText() : w.find<QLineEdit>(probe)->text();
        return text + " beeps=" + QString::number(w.feedback.beeps);
    }
    QString states;
    for (const char* name : {"FileSortOrder", "SelSteps", "CasesList", "RenameChk", "FilePrefix",
                             "NewExt", "ExtUsed2", "FileSpecs"})
        states += w.find(name)->isEnabled() ? '1' : '0';
    return selectedRows(m) + ' ' + states;
}

} // namespace

class TstMainFields : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void userSteps_data();
    void userSteps();
    void wildcardChecks_data();
    void wildcardChecks();
    void specsApplied_data();
    void specsApplied();
    void driveRefused();
};

void TstMainFields::userSteps_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("steps"); // separated by blanks
    QTest::addColumn<QString>("probe"); // what `expected` shows; see shownBy()
    QTest::addColumn<QString>("expected");
    const QString toWildcard = "FileSpecs=*.JPG SelSteps=2 WildCardRen=F";
    // clang-format off
    // Typed into the real fields: each field's filter, length limit and busy rule.
    QTest::newRow("prefix, all lower case") << 0 << "rename CasesList+=1 FilePrefix=CD" << "FilePrefix" << "cd beeps=0";
    QTest::newRow("leading colon and backslash") << 0 << "rename FileLeading=:\\*" << "FileLeading" << ":\\ beeps=1";
    QTest::newRow("new ext dot and comma") << 0 << "NewExt=.,x" << "NewExt" << ".x beeps=1";
    QTest::newRow("new ext while busy") << 0 << "busy NewExt=x" << "NewExt" << "x beeps=0";
    QTest::newRow("keep: no letter, 2 at most") << 0 << "rename NumCharKeep=a123" << "NumCharKeep" << "12 beeps=1";
    QTest::newRow("increment at most 6") << 0 << "rename NumberIncValue=1234567" << "NumberIncValue" << "123456 beeps=0";
    QTest::newRow("start: no letter, 8 at most") << 0 << "rename StartingNumber=x123456789" << "StartingNumber" << "12345678 beeps=1";
    QTest::newRow("start alpha refuses a digit") << 0 << "rename alpha StartingNumber=7c" << "StartingNumber" << "c beeps=1";
    QTest::newRow("ctrl+A and backspace while busy") << 0 << "rename busy FilePrefix=" << "FilePrefix" << "IMG_ beeps=2";
    QTest::newRow("ctrl+v pastes letters into a digit field") << 0 << "rename NumberIncValue= paste=NumberIncValue" << "NumberIncValue" << "xy beeps=0";
    QTest::newRow("specs letters upper-cased") << 0 << "FileSpecs=*.jpg" << "FileSpecs" << "*.JPG beeps=0";
    QTest::newRow("nothing would change") << 3 << "" << "buttons" << "none";
    QTest::newRow("empty list, remove ext") << 0 << "NewExt+=1" << "buttons" << "apply+preview";
    QTest::newRow("scheme off, a case style") << 3 << "CasesList+=1" << "buttons" << "apply+preview";
    QTest::newRow("start 00, 150 files, trim") << 150 << "rename StartingNumber=00 trim" << "buttons" << "apply+preview";
    QTest::newRow("start 00, 50 of 150 selected") << 150 << "rename StartingNumber=00 select=50" << "buttons" << "apply+preview";
    QTest::newRow("wildcard pattern: apply only") << 3 << "CasesList+=1 FileSpecs=*.JPG WildCardRen=*.X" << "buttons" << "apply";
    QTest::newRow("every 2 of 7") << 7 << "SelSteps=2" << "selection" << "0|2|4|6 @0";
    QTest::newRow("every 3 of 10 from item 4") << 10 << "click=4 SelSteps=3" << "selection" << "4|7 @4";
    QTest::newRow("every 0 deselects only") << 5 << "click=2 SelSteps=0" << "selection" << " @2";
    QTest::newRow("every 5 with an empty list") << 0 << "SelSteps=5" << "selection" << " @-1";
    QTest::newRow("numeric start kept apart") << 3 << "rename StartingNumber=0042" << "counter" << "&Starting # : |0042|trim|0042|AAA";
    QTest::newRow("alphabetic start kept apart") << 3 << "rename StartingNumber=0042 alpha StartingNumber=Qz" << "counter" << "&Starting @ : |Qz|no trim|0042|Qz";
    QTest::newRow("numeric start back") << 3 << "rename StartingNumber=0042 alpha StartingNumber=Qz alpha" << "counter" << "&Starting # : |0042|trim|0042|Qz";
    QTest::newRow("wildcard typed: all but the specs off") << 5 << toWildcard << "controls" << " @0 00000001";
    // The naming fields follow the cleared "Enable Batch Rename"; every-N reselects.
    QTest::newRow("wildcard cleared") << 5 << toWildcard + " WildCardRen=" << "controls" << "0|2|4 @0 11110111";
    // clang-format on
}

void TstMainFields::userSteps()
{
    QFETCH(int, files);
    QFETCH(QString, steps);
    QFETCH(QString, probe);
    QFETCH(QString, expected);
    const FilesFolder folder(numberedNames(files));
    writeStore({{"LastDir", folder.path()}});
    QGuiApplication::clipboard()->setText("xy");
    Window w;
    QCOMPARE(w.main->FileList->count(), files);
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts))
        act(w, step);
    QCOMPARE(shownBy(w, probe), expected);
    QCOMPARE(w.feedback.messages, QStringList());
}

void TstMainFields::wildcardChecks_data()
{
    QTest::addColumn<QString>("specs");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused"); // the focused field and its selected text
    QTest::addColumn<QString>("buttons");
    const QString box = "Pellory - Wilcard Error|0|File Specs ";
    // clang-format off
    QTest::newRow("several specs") << "*.JPG;b*.GIF" << box + "cannot include multiple search specs when using 'Wilcard Rename'" << "FileSpecs ;b*.GIF" << "none";
    QTest::newRow("no wildcard: buttons as they were") << "ABC.JPG" << box + "must include wildcards when using 'Wilcard Rename'" << "FileSpecs ABC.JPG" << "apply+preview";
    QTest::newRow("one pattern with a wildcard") << "A?C.JPG" << "" << "WildCardRen " << "apply";
    // clang-format on
}

void TstMainFields::wildcardChecks()
{
    QFETCH(QString, specs);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    QFETCH(QString, buttons);
    const FilesFolder folder({"ABC.JPG"});
    writeStore({{"LastDir", folder.path()}, {"Specs", specs}});
    Window w;
    // Batch rename on and off again enables the wildcard field, whatever the specs say.
    for (const char* step : {"CasesList+=1", "rename", "rename", "WildCardRen=x"})
        act(w, step);
    QCOMPARE(w.feedback.messages.join('\n'), message);
    const auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QCOMPARE(field->objectName() + ' ' + field->selectedText(), focused);
    QCOMPARE(enabledButtons(*w.main), buttons);
}

void TstMainFields::specsApplied_data()
{
    QTest::addColumn<QString>("typed"); // over the whole field; "" leaves it as it is
    QTest::addColumn<int>("leaveKey");
    QTest::addColumn<QString>("list");
    // clang-format off
    QTest::newRow("left unchanged: no rebuild") << "" << int(Qt::Key_Tab) << "a.JPG";
    QTest::newRow("Enter applies at once") << "*.png" << int(Qt::Key_Return) << "c.png";
    QTest::newRow("left after a change") << "*.JPG;*.NEW" << int(Qt::Key_Tab) << "a.JPG|d.new|e.JPG";
    // clang-format on
}

void TstMainFields::specsApplied()
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

void TstMainFields::driveRefused()
{
    const FilesFolder folder({"a.JPG"});
    writeStore({{"LastDir", folder.path()}});
    Window w;
    w.main->DriveList->setVolumes({"/", "/no-such-drive"});
    w.main->DriveList->setCurrentIndex(1); // as the user picks the drive that cannot be opened
    QCOMPARE(w.main->DriveList->drive() + ' ' + w.main->DirList->path(), "/ " + folder.path());
    QCOMPARE(listed(*w.main), "a.JPG");
    QCOMPARE(w.feedback.beeps, 1);
}

QTEST_MAIN(TstMainFields)
#include "tst_mainfields.moc"

// The window's fields and lists driven as a user drives them: what each field lets through,
// which run buttons and controls a change enables, the every-n-th selection, the counter's
// two starts, the wildcard field's checks, when a changed specification is applied, and a
// drive that cannot be opened.

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

// One user step: "rename", "alpha" click that box; "click=K" clicks row K; "NewExt+=I",
// "CasesList+=I" press Down I times ("FIELD+=0" only focuses it); "FIELD=TEXT" types over the
// field; "paste=FIELD" presses Ctrl+V in it; "key=Tab" presses that key in the focused field;
// "busy" starts a run; "make=NAME" makes a file after the list was read; "drive=ROOT" picks a
// drive.
void act(Window& w, const QString& step)
{
    const QString name = step.section('=', 0, 0);
    const QString value = step.section('=', 1);
    if (name == "rename" || name == "alpha") {
        (name == "rename" ? w.main->naming().RenameChk : w.main->naming().chkAlpha)->click();
    } else if (name == "click") {
        const QRect at = w.main->files().FileList->visualRect(
            w.main->files().FileList->names()->index(value.toInt()));
        QTest::mouseClick(w.main->files().FileList->viewport(), Qt::LeftButton, {}, at.center());
    } else if (name == "busy") {
        w.main->run().setRunState(RunState::Busy);
    } else if (name == "make") {
        QFile(w.main->files().DirList->path() + '/' + value).open(QIODevice::WriteOnly);
    } else if (name == "key") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(QKeySequence(value)[0].key()));
    } else if (name == "drive") { // as the user picks it from the list
        w.main->files().DriveList->setVolumes({"/", value});
        w.main->files().DriveList->setCurrentIndex(1);
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

// "fields": the naming fields' texts and the beeps so far; "focus": the messages, the
// focused field and its selected text, and the run buttons; "list": the names listed, the
// folder, and whether the specification has the focus; "drive": the drive, the folder and
// the names listed, and the beeps so far; "buttons": the run buttons;
// "selection": the selected rows; "counter": the start's caption and text, trimming, and
// the numeric and alphabetic start texts; "controls": the selected rows and the enabled
// states of the controls a wildcard pattern switches.
QString shownBy(const Window& w, const QString& probe)
{
    const Main& m = *w.main;
    if (probe == "fields")
        return QStringList{m.files().FileSpecs->text(),       m.naming().NumCharKeep->text(),
                           m.naming().FilePrefix->text(),     m.naming().StartingNumber->text(),
                           m.naming().NumberIncValue->text(), m.naming().FileLeading->text(),
                           m.naming().NewExt->currentText()}
                   .join('|') +
               " beeps=" + QString::number(w.feedback.beeps);
    if (probe == "focus") {
        const auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return w.feedback.messages.join('\n') + " / " + field->objectName() + ' ' +
               field->selectedText() + " / " + enabledButtons(m);
    }
    if (probe == "list")
        return listed(m) + " / " + m.files().DirList->path() +
               (m.files().FileSpecs->hasFocus() ? " focused" : "");
    if (probe == "drive")
        return m.files().DriveList->drive() + ' ' + m.files().DirList->path() + ' ' + listed(m) +
               " beeps=" + QString::number(w.feedback.beeps);
    if (probe == "buttons")
        return enabledButtons(m);
    if (probe == "selection")
        return selectedRows(*m.files().FileList);
    if (probe == "counter")
        return QStringList{m.naming().Label3->text(), m.naming().StartingNumber->text(),
                           m.naming().chkTrim->isEnabled() ? "trim" : "no trim",
                           m.naming().counterTexts().NumberText,
                           m.naming().counterTexts().AlphaNumberText}
            .join('|');
    QString states;
    for (const char* name : {"FileSortOrder", "SelSteps", "CasesList", "RenameChk", "FilePrefix",
                             "NewExt", "ExtUsed2", "FileSpecs"})
        states += w.find(name)->isEnabled() ? '1' : '0';
    return selectedRows(*m.files().FileList) + ' ' + states;
}

} // namespace

class TstMainFields : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void userSteps_data();
    void userSteps();
};

void TstMainFields::userSteps_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("steps"); // separated by blanks
    QTest::addColumn<QString>("probe"); // what `expected` shows; see shownBy()
    QTest::addColumn<QString>("expected");
    const QString toWildcard = "FileSpecs=*.JPG SelSteps=2 WildCardRen=F";
    const QString toggle = " CasesList+=1 rename rename WildCardRen=x";
    const QString box = "Pellory - Wilcard Error|plain|File Specs ";
    // Typed into the real fields: each field's filter, length limit and busy rule, with the
    // characters either side of each range the filters let through.
    const QString typed =
        "FileSpecs=*.jpg` NumCharKeep=a123 FilePrefix=CÉ@? "
        "StartingNumber=x123456789 NumberIncValue=/1234567: FileLeading=:\\* NewExt=.,x";
    const QString overTyped = "FileSpecs=a NumCharKeep= FilePrefix= StartingNumber= "
                              "NumberIncValue= FileLeading= NewExt=x";
    // clang-format off
    QTest::newRow("typed, all lower case") << 0 << "rename CasesList+=1 " + typed << "fields" << "*.JPG`|12|cÉ@|12345678|123456|:\\|.x beeps=7";
    QTest::newRow("upper case, alphabetic start") << 0 << "rename CasesList+=2 alpha FilePrefix=a?z StartingNumber=7@`éĀbB" << "fields" << "*.JPG;*.GIF|0|AZ|ĀbB|1||Keep as is beeps=5";
    QTest::newRow("busy: only the extension takes keys") << 0 << "rename busy " + overTyped << "fields" << "*.JPG;*.GIF|0|IMG_|001|1||x beeps=13";
    QTest::newRow("ctrl+v pastes letters into a digit field") << 0 << "rename NumberIncValue= paste=NumberIncValue" << "fields" << "*.JPG;*.GIF|0|IMG_|001|xy||Keep as is beeps=0";
    QTest::newRow("nothing would change") << 3 << "" << "buttons" << "none";
    QTest::newRow("scheme off, a case style") << 3 << "CasesList+=1" << "buttons" << "apply+preview";
    QTest::newRow("wildcard pattern: apply only") << 3 << "CasesList+=1 FileSpecs=*.JPG WildCardRen=*.X" << "buttons" << "apply";
    QTest::newRow("every 3 of 10 from item 4") << 10 << "click=4 SelSteps=3" << "selection" << "4|7 @4";
    QTest::newRow("every 0 deselects only") << 5 << "click=2 SelSteps=0" << "selection" << " @2";
    QTest::newRow("numeric start kept apart") << 3 << "rename StartingNumber=0042" << "counter" << "&Starting # : |0042|trim|0042|AAA";
    QTest::newRow("alphabetic start kept apart") << 3 << "rename StartingNumber=0042 alpha StartingNumber=Qz" << "counter" << "&Starting @ : |Qz|no trim|0042|Qz";
    QTest::newRow("numeric start back") << 3 << "rename StartingNumber=0042 alpha StartingNumber=Qz alpha" << "counter" << "&Starting # : |0042|trim|0042|Qz";
    QTest::newRow("wildcard typed: all but the specs off") << 5 << toWildcard << "controls" << " @0 00000001";
    // The naming fields follow the cleared "Enable Batch Rename"; every-N reselects.
    QTest::newRow("wildcard cleared") << 5 << toWildcard + " WildCardRen=" << "controls" << "0|2|4 @0 11110111";
    // Batch rename on and off again enables the wildcard field, whatever the specs say.
    QTest::newRow("wildcard with several specs") << 3 << "FileSpecs=*.JPG;b*.GIF" + toggle << "focus" << box + "cannot include multiple search specs when using 'Wilcard Rename' / FileSpecs ;B*.GIF / none";
    QTest::newRow("wildcard, no wildcard in the specs") << 3 << "FileSpecs=F001.JPG" + toggle << "focus" << box + "must include wildcards when using 'Wilcard Rename' / FileSpecs F001.JPG / apply+preview";
    QTest::newRow("wildcard, one pattern in the specs") << 3 << "FileSpecs=F?01.JPG" + toggle << "focus" << " / WildCardRen  / apply";
    QTest::newRow("specs left unchanged: no rebuild") << 1 << "make=d.JPG FileSpecs+=0 key=Tab" << "list" << "F000.JPG / ~";
    QTest::newRow("specs: Enter applies at once") << 1 << "make=d.png FileSpecs=*.png key=Return" << "list" << "d.png / ~";
    QTest::newRow("specs left after a change") << 1 << "make=d.new FileSpecs=*.JPG;*.new key=Tab" << "list" << "d.new|F000.JPG / ~";
    QTest::newRow("drive that cannot be opened: beeps") << 1 << "drive=/no-such-drive" << "drive" << "/ ~ F000.JPG beeps=1";
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
    QCOMPARE(w.main->files().FileList->count(), files);
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts))
        act(w, step);
    QCOMPARE(shownBy(w, probe).replace(folder.path(), "~"), expected);
    if (probe != "focus")
        QCOMPARE(w.feedback.messages, QStringList());
}

QTEST_MAIN(TstMainFields)
#include "tst_mainfields.moc"

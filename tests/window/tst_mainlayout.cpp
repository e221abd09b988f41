// The window's controls as a user meets them: captions, tool tips and list items, focus
// order and tab positions, access keys, initial states and captions that fit.

#include "MainFixture.h"

#include "window/DriveSelector.h"
#include "window/NameListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

using namespace pellory;
using namespace pellory::testing;

namespace {

QString caption(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(control))
        return frame->title();
    if (auto* box = qobject_cast<const QComboBox*>(control)) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        return items.join('|');
    }
    return {};
}

} // namespace

class TstMainLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        isolateHome();
        writeStore({});
    }
    void texts_data();
    void texts();
    void focusOrder();
    void initialStates_data();
    void initialStates();
    void captionsFit();
    void accessKeys_data();
    void accessKeys();
    void escapePressesExit();
};

void TstMainLayout::texts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption"); // list items joined by "|"
    QTest::addColumn<QString>("tip");
    const QString sel = "Selects  files begining at current selected file";
    const auto row = [](const char* name, const QString& caption, const QString& tip) {
        QTest::newRow(name) << name << caption << tip;
    };
    row("Label8", "Sort Files &by : ", "Select sorting order");
    row("FileSortOrder",
        "Name (A to Z)|Name (Z to A)|Ext (A to Z)|Ext (Z to A)|Date (Old to New)|"
        "Date (New to Old)",
        "Select sorting order");
    row("Label12", "Name &Format: ", "");
    row("CasesList", "Leave as is|all lower case|ALL UPPER CASE|Normal Formatted", "");
    row("Label10", "Select files &every", sel);
    row("SelSteps", "", sel);
    row("Label11", "positions", sel);
    row("RenameChk", "Enable Batch &Rename", "Check to enable batch renaming");
    row("Label7", "Characters to &keep from left : ", "Enter a number");
    row("NumCharKeep", "", "Enter a number");
    row("Label2", "&Prefix : ", "Enter prefix text");
    row("FilePrefix", "", "Enter prefix text");
    row("Label3", "&Starting # : ", "Enter padded numbers");
    row("StartingNumber", "", "Enter padded numbers");
    row("chkTrim", "Trim", "Check to trim zeros");
    row("Label5", "&Increment : ", "Enter increment value");
    row("NumberIncValue", "", "Enter increment value");
    row("chkAlpha", "Alpha", "Check to use characters");
    row("Label4", "&Leading : ", "Enter leading text");
    row("FileLeading", "", "Enter leading text");
    row("Frame1", "Extension", "");
    row("Frame2", "", "");
    row("Label6", "New e&xt : ", "Select or type in new file extension");
    row("NewExt", "Keep as is|Remove ext", "Select or type in new file extension");
    row("ExtUsed0", "Use First Occurrence", "Act on first occurrence of file extension");
    row("ExtUsed1", "Use Last Occurrence", "");
    row("ExtUsed2", "Do Not Use File Extension", "");
    row("Label1", "File specs to act &on : ", "Enter file specs (wildcards) to act on");
    row("FileSpecs", "", "Enter file specs (wildcards) to act on");
    row("Label9", "Wild&card Rename : ", "Rename files using wildcards");
    row("WildCardRen", "", "Rename files using wildcards");
    row("PreviewBut", "Previe&w and Check for Errors", "Click to preview");
    row("ApplyBut", "Apply", "Click to apply");
    row("ExitBut", "Exit", "Click to exit");
}

void TstMainLayout::texts()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    Window w;
    const QWidget* widget = w.find<QWidget>(qPrintable(control));
    QVERIFY(widget);
    QCOMPARE(::caption(widget), caption);
    QCOMPARE(widget->toolTip(), tip);
    QVERIFY(!widget->accessibleName().isEmpty());
    QVERIFY(!widget->accessibleName().contains('&'));
}

void TstMainLayout::focusOrder()
{
    Window w;
    // Everything enabled and shown, so that Tab visits every control that takes focus.
    for (QWidget* child : w.main->findChildren<QWidget*>())
        child->setEnabled(true);
    w.main->PreviewList->show();
    QStringList byPosition(Main::kTabPositions);
    for (QWidget* child : w.main->findChildren<QWidget*>()) {
        const QVariant position = child->property("tabPosition");
        if (position.isValid())
            byPosition[position.toInt()] = child->objectName();
    }
    QCOMPARE(byPosition.join(' '),
             QString("DriveList DirList Label8 FileSortOrder Label10 SelSteps Label11 FileList "
                     "Label1 FileSpecs Label9 WildCardRen Label12 CasesList RenameChk Label7 "
                     "NumCharKeep Label2 FilePrefix Label3 StartingNumber chkTrim Label5 "
                     "NumberIncValue chkAlpha Label4 FileLeading Label6 NewExt ExtUsed0 "
                     "ExtUsed1 ExtUsed2 PreviewBut ApplyBut ExitBut Frame2 PreviewList Frame1"));
    w.main->DriveList->setFocus();
    QStringList visited;
    for (int i = 0; i < 30; ++i) {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited.join(' '),
             QString("DriveList DirList FileSortOrder SelSteps FileList FileSpecs WildCardRen "
                     "CasesList RenameChk NumCharKeep FilePrefix StartingNumber chkTrim "
                     "NumberIncValue chkAlpha FileLeading NewExt ExtUsed1 PreviewBut ApplyBut "
                     "ExitBut PreviewList DriveList DirList FileSortOrder SelSteps FileList "
                     "FileSpecs WildCardRen CasesList"));
}

void TstMainLayout::initialStates_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    for (const char* inside :
         {"Label7", "NumCharKeep", "Label2", "FilePrefix", "Label3", "StartingNumber", "chkTrim",
          "Label5", "NumberIncValue", "chkAlpha", "Label4", "FileLeading"})
        QTest::newRow(inside) << inside << false << true;
    QTest::newRow("PreviewBut") << "PreviewBut" << false << true;
    QTest::newRow("ApplyBut") << "ApplyBut" << false << true;
    QTest::newRow("ExitBut") << "ExitBut" << true << true;
    QTest::newRow("RenameChk") << "RenameChk" << true << true;
    QTest::newRow("PreviewList") << "PreviewList" << true << false;
    QTest::newRow("FileList") << "FileList" << true << true;
    QTest::newRow("NewExt") << "NewExt" << true << true;
    QTest::newRow("ExtUsed2") << "ExtUsed2" << true << true;
}

void TstMainLayout::initialStates()
{
    QFETCH(QString, control);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    Window w;
    const QWidget* widget = w.find<QWidget>(qPrintable(control));
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(widget->isVisible(), visible);
}

void TstMainLayout::captionsFit()
{
    Window w;
    const QStyle* style = w.main->style();
    QStringList cut;
    for (QWidget* child : w.main->findChildren<QWidget*>()) {
        const QString text = caption(child).remove('&');
        int needed = child->fontMetrics().horizontalAdvance(text);
        if (qobject_cast<QCheckBox*>(child))
            needed += style->pixelMetric(QStyle::PM_IndicatorWidth) +
                      style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        else if (qobject_cast<QRadioButton*>(child))
            needed += style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                      style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        else if (qobject_cast<QPushButton*>(child))
            needed += 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
        else if (!qobject_cast<QLabel*>(child))
            continue;
        if (child->width() < needed)
            cut.append(child->objectName() + ' ' + QString::number(child->width()) + '<' +
                       QString::number(needed));
    }
    QCOMPARE(cut, QStringList());
    QVERIFY(w.main->layoutScale() >= 1.0);
    QCOMPARE(w.main->minimumSize(), w.main->maximumSize());
}

void TstMainLayout::accessKeys_data()
{
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("focused");
    QTest::newRow("Alt+B sort order") << 'B' << "FileSortOrder";
    QTest::newRow("Alt+E every-N field") << 'E' << "SelSteps";
    QTest::newRow("Alt+O file specs") << 'O' << "FileSpecs";
    QTest::newRow("Alt+F name format") << 'F' << "CasesList";
    QTest::newRow("Alt+X new extension") << 'X' << "NewExt";
    QTest::newRow("Alt+R batch rename, checked") << 'R' << "RenameChk";
}

void TstMainLayout::accessKeys()
{
    QFETCH(char, key);
    QFETCH(QString, focused);
    Window w;
    w.main->ExitBut->setFocus();
    QTest::keyClick(w.main.get(), Qt::Key(Qt::Key_A + (key - 'A')), Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    // A button's access key presses it as a short animated click.
    QTRY_COMPARE(w.main->RenameChk->isChecked(), key == 'R');
}

void TstMainLayout::escapePressesExit()
{
    Window w;
    w.main->setRunState(RunState::Busy);
    QTest::keyClick(w.main->FileSpecs, Qt::Key_Escape);
    QCOMPARE(w.main->runState(), RunState::CancelRequested);
    QVERIFY(w.main->isVisible());
    w.main->setRunState(RunState::Idle);
    QTest::keyClick(w.main->FileSpecs, Qt::Key_Escape);
    QVERIFY(!w.main->isVisible());
}

QTEST_MAIN(TstMainLayout)
#include "tst_mainlayout.moc"

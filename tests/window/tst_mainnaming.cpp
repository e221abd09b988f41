// The naming fields as typed into: the keystroke filters wired to each field, the counter
// texts behind the two counter fields, the "Alpha" swap and the name-format choice.

#include "MainFixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace pellory;
using namespace pellory::testing;

class TstMainNaming : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        isolateHome();
        writeStore({});
    }
    void typing_data();
    void typing();
    void counterTexts_data();
    void counterTexts();
    void alphaSwap();
    void caseStylePicked_data();
    void caseStylePicked();
};

void TstMainNaming::typing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("setup"); // "lower", "upper", "normal", "alpha", "busy"
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys"); // "\b" Backspace, "\x16" Ctrl+V (pastes "ab1")
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("beeps");
    const auto row = [](const char* name, const char* field, const char* setup, const char* before,
                        const char* keys, const char* after, int beeps) {
        QTest::newRow(name) << field << setup << before << keys << after << beeps;
    };
    row("prefix under lower case", "FilePrefix", "lower", "", "ABc", "abc", 0);
    row("prefix under upper case", "FilePrefix", "upper", "", "abC", "ABC", 0);
    row("prefix under normal formatted", "FilePrefix", "normal", "", "aBc", "aBc", 0);
    row("prefix under leave as is", "FilePrefix", "", "", "aBc", "aBc", 0);
    row("prefix star and question", "FilePrefix", "", "", "a*b?", "ab", 2);
    row("leading star", "FileLeading", "", "", "x*", "x", 1);
    row("leading colon and backslash", "FileLeading", "", "", ":\\", ":\\", 0);
    row("leading under upper case", "FileLeading", "upper", "", "a1", "A1", 0);
    row("new ext dot", "NewExt", "", "", ".bak", ".bak", 0);
    row("new ext separators", "NewExt", "", "", "a*?\\;/,", "a", 6);
    row("new ext while busy", "NewExt", "busy", "", "x", "x", 0);
    row("keep digits only", "NumCharKeep", "", "", "1a", "1", 1);
    row("keep at most 2", "NumCharKeep", "", "", "123", "12", 0);
    row("increment at most 6", "NumberIncValue", "", "", "1234567", "123456", 0);
    row("start at most 8", "StartingNumber", "", "", "123456789", "12345678", 0);
    row("start numeric refuses a letter", "StartingNumber", "", "", "x", "", 1);
    row("start alpha refuses a digit", "StartingNumber", "alpha", "", "7", "", 1);
    row("start alpha letters as typed", "StartingNumber", "alpha", "", "bB", "bB", 0);
    row("backspace passes", "FilePrefix", "", "ab", "\b", "a", 0);
    row("backspace refused while busy", "FilePrefix", "busy", "ab", "\b", "ab", 1);
    row("digit refused while busy", "NumCharKeep", "busy", "", "1", "", 1);
    row("ctrl+v pastes letters into a digit field", "NumCharKeep", "", "", "\x16", "ab", 0);
    row("ctrl+v refused while busy", "NumberIncValue", "busy", "", "\x16", "", 1);
    row("specs letters upper-cased", "FileSpecs", "", "", "*.jpg;a?", "*.JPG;A?", 0);
    row("specs refused while busy", "FileSpecs", "busy", "", "a", "", 1);
}

void TstMainNaming::typing()
{
    QFETCH(QString, field);
    QFETCH(QString, setup);
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(int, beeps);
    Window w;
    w.main->RenameChk->click();
    const QStringList styles{"", "lower", "upper", "normal"};
    w.main->CasesList->setCurrentIndex(std::max(0, int(styles.indexOf(setup))));
    w.main->chkAlpha->setChecked(setup == "alpha");
    QWidget* widget = w.find<QWidget>(qPrintable(field));
    auto* edit = qobject_cast<QLineEdit*>(widget);
    (edit ? edit : w.main->NewExt->lineEdit())->setText(before);
    QGuiApplication::clipboard()->setText("ab1");
    widget->setFocus();
    if (setup == "busy")
        w.main->setRunState(RunState::Busy);
    for (const QChar key : keys) {
        if (key == '\b')
            QTest::keyClick(widget, Qt::Key_Backspace);
        else if (key == '\x16')
            QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
        else
            QTest::keyClick(widget, key.toLatin1());
    }
    QCOMPARE(edit ? edit->text() : w.main->NewExt->currentText(), after);
    QCOMPARE(w.feedback.beeps, beeps);
}

void TstMainNaming::counterTexts_data()
{
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("counters"); // numeric start/increment, alphabetic start/increment
    QTest::newRow("numeric start") << false << "StartingNumber"
                                   << "0015/1/AAA/1";
    QTest::newRow("numeric increment") << false << "NumberIncValue"
                                       << "001/15/AAA/1";
    QTest::newRow("alphabetic start") << true << "StartingNumber"
                                      << "001/1/AAAB/1";
    QTest::newRow("alphabetic increment") << true << "NumberIncValue"
                                          << "001/1/AAA/15";
}

void TstMainNaming::counterTexts()
{
    QFETCH(bool, alpha);
    QFETCH(QString, field);
    QFETCH(QString, counters);
    Window w;
    w.main->RenameChk->click();
    if (alpha)
        w.main->chkAlpha->click();
    auto* edit = w.find<QLineEdit>(qPrintable(field));
    edit->setFocus();
    edit->end(false);
    // Letters pass only the alphabetic start; the other fields take digits.
    QTest::keyClicks(edit, alpha && field == "StartingNumber" ? "B" : "5");
    QCOMPARE(w.main->numberText() + '/' + w.main->incrementText() + '/' +
                 w.main->alphaNumberText() + '/' + w.main->alphaIncrementText(),
             counters);
}

void TstMainNaming::alphaSwap()
{
    Window w;
    const auto state = [&] {
        return w.main->Label3->text() + '|' + w.main->StartingNumber->text() + '|' +
               w.main->NumberIncValue->text() + '|' +
               (w.main->chkTrim->isEnabled() ? "trim" : "no trim");
    };
    w.main->RenameChk->click();
    typeOver(w.main->StartingNumber, "0042");
    w.main->chkAlpha->click();
    QCOMPARE(state(), QString("&Starting @ : |AAA|1|no trim"));
    typeOver(w.main->StartingNumber, "Qz");
    w.main->chkAlpha->click();
    QCOMPARE(state(), QString("&Starting # : |0042|1|trim"));
    w.main->chkAlpha->click();
    QCOMPARE(state(), QString("&Starting @ : |Qz|1|no trim"));
    QCOMPARE(w.main->numberText() + '/' + w.main->alphaNumberText(), QString("0042/Qz"));
}

void TstMainNaming::caseStylePicked_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("fields");
    QTest::newRow("all lower case") << 1 << false << "img_|my lead x1";
    QTest::newRow("all upper case") << 2 << false << "IMG_|MY LEAD X1";
    QTest::newRow("normal formatted") << 3 << false << "Img_|My Lead X1";
    QTest::newRow("while busy only beeps") << 3 << true << "IMG_|my LEAD x1";
}

void TstMainNaming::caseStylePicked()
{
    QFETCH(int, style);
    QFETCH(bool, busy);
    QFETCH(QString, fields);
    Window w;
    w.main->FileLeading->setText("my LEAD x1");
    w.main->setRunState(busy ? RunState::Busy : RunState::Idle);
    w.main->CasesList->setFocus();
    for (int i = 0; i < style; ++i)
        QTest::keyClick(w.main->CasesList, Qt::Key_Down);
    QCOMPARE(w.main->FilePrefix->text() + '|' + w.main->FileLeading->text(), fields);
    QCOMPARE(w.feedback.beeps, busy ? style : 0);
}

QTEST_MAIN(TstMainNaming)
#include "tst_mainnaming.moc"

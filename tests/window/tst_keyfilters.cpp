#include "window/KeyFilters.h"

#include <QTest>

using pellory::KeyVerdict;

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kCtrlV = 22;
constexpr int kSwallowed = 0;

// The columns every filter table shares, after its own inputs.
void verdictColumns()
{
    QTest::addColumn<int>("expectedKey");
    QTest::addColumn<bool>("beep");
}

void checkVerdict(const KeyVerdict& verdict)
{
    QFETCH(int, expectedKey);
    QFETCH(bool, beep);
    QCOMPARE(verdict.key, expectedKey);
    QCOMPARE(verdict.beep, beep);
}

} // namespace

class TestKeyFilters : public QObject
{
    Q_OBJECT

private slots:
    void fileSpecs_data();
    void fileSpecs();
    void textField_data();
    void textField();
    void newExt_data();
    void newExt();
    void digitField_data();
    void digitField();
    void startingNumber_data();
    void startingNumber();
};

void TestKeyFilters::fileSpecs_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("busy");
    verdictColumns();
    QTest::addColumn<bool>("focusFileList");

    QTest::newRow("a upper-cased") << int('a') << false << int('A') << false << false;
    QTest::newRow("z upper-cased") << int('z') << false << int('Z') << false << false;
    QTest::newRow("A stays") << int('A') << false << int('A') << false << false;
    QTest::newRow("backquote before a") << int('`') << false << int('`') << false << false;
    QTest::newRow("brace after z") << int('{') << false << int('{') << false << false;
    QTest::newRow("e acute keeps its case") << 0xE9 << false << 0xE9 << false << false;
    QTest::newRow("semicolon") << int(';') << false << int(';') << false << false;
    QTest::newRow("asterisk") << int('*') << false << int('*') << false << false;
    QTest::newRow("question mark") << int('?') << false << int('?') << false << false;
    QTest::newRow("blank") << int(' ') << false << int(' ') << false << false;
    QTest::newRow("digit") << int('7') << false << int('7') << false << false;
    QTest::newRow("backspace") << kBackspace << false << kBackspace << false << false;
    QTest::newRow("enter moves to the list") << kEnter << false << kSwallowed << false << true;
    QTest::newRow("busy letter") << int('a') << true << kSwallowed << true << false;
    QTest::newRow("busy backspace") << kBackspace << true << kSwallowed << true << false;
    QTest::newRow("busy enter") << kEnter << true << kSwallowed << true << false;
}

void TestKeyFilters::fileSpecs()
{
    QFETCH(int, key);
    QFETCH(bool, busy);
    QFETCH(bool, focusFileList);
    const KeyVerdict verdict = pellory::FileSpecs_KeyPress(key, busy);
    checkVerdict(verdict);
    QCOMPARE(verdict.focusFileList, focusFileList);
}

void TestKeyFilters::textField_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("caseIndex");
    verdictColumns();

    QTest::newRow("asterisk") << int('*') << false << 0 << kSwallowed << true;
    QTest::newRow("question mark") << int('?') << false << 2 << kSwallowed << true;
    QTest::newRow("colon") << int(':') << false << 0 << int(':') << false;
    QTest::newRow("backslash") << int('\\') << false << 0 << int('\\') << false;
    QTest::newRow("lower: A") << int('A') << false << 1 << int('a') << false;
    QTest::newRow("lower: Z") << int('Z') << false << 1 << int('z') << false;
    QTest::newRow("lower: a stays") << int('a') << false << 1 << int('a') << false;
    QTest::newRow("lower: at sign") << int('@') << false << 1 << int('@') << false;
    QTest::newRow("lower: bracket") << int('[') << false << 1 << int('[') << false;
    QTest::newRow("lower: E acute") << 0xC9 << false << 1 << 0xC9 << false;
    QTest::newRow("upper: a") << int('a') << false << 2 << int('A') << false;
    QTest::newRow("upper: z") << int('z') << false << 2 << int('Z') << false;
    QTest::newRow("upper: B stays") << int('B') << false << 2 << int('B') << false;
    QTest::newRow("upper: e acute") << 0xE9 << false << 2 << 0xE9 << false;
    QTest::newRow("leave as is: A") << int('A') << false << 0 << int('A') << false;
    QTest::newRow("normal formatted: a") << int('a') << false << 3 << int('a') << false;
    QTest::newRow("no style: a") << int('a') << false << -1 << int('a') << false;
    QTest::newRow("backspace") << kBackspace << false << 1 << kBackspace << false;
    QTest::newRow("busy letter") << int('a') << true << 2 << kSwallowed << true;
    QTest::newRow("busy backspace") << kBackspace << true << 0 << kSwallowed << true;
}

void TestKeyFilters::textField()
{
    QFETCH(int, key);
    QFETCH(bool, busy);
    QFETCH(int, caseIndex);
    checkVerdict(pellory::textFieldKeyPress(key, busy, caseIndex));
}

void TestKeyFilters::newExt_data()
{
    QTest::addColumn<int>("key");
    verdictColumns();

    for (char refused : QByteArray("*?\\;/,"))
        QTest::addRow("refused %c", refused) << int(refused) << kSwallowed << true;
    QTest::newRow("point") << int('.') << int('.') << false;
    QTest::newRow("letter") << int('b') << int('b') << false;
    QTest::newRow("colon") << int(':') << int(':') << false;
    QTest::newRow("backspace") << kBackspace << kBackspace << false;
}

void TestKeyFilters::newExt()
{
    QFETCH(int, key);
    checkVerdict(pellory::NewExt_KeyPress(key));
}

void TestKeyFilters::digitField_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("busy");
    verdictColumns();

    QTest::newRow("0") << int('0') << false << int('0') << false;
    QTest::newRow("9") << int('9') << false << int('9') << false;
    QTest::newRow("slash before 0") << int('/') << false << kSwallowed << true;
    QTest::newRow("colon after 9") << int(':') << false << kSwallowed << true;
    QTest::newRow("minus") << int('-') << false << kSwallowed << true;
    QTest::newRow("point") << int('.') << false << kSwallowed << true;
    QTest::newRow("letter") << int('a') << false << kSwallowed << true;
    QTest::newRow("blank 32") << 32 << false << kSwallowed << true;
    QTest::newRow("control 31") << 31 << false << 31 << false;
    QTest::newRow("backspace") << kBackspace << false << kBackspace << false;
    QTest::newRow("ctrl+v") << kCtrlV << false << kCtrlV << false;
    QTest::newRow("y diaeresis 255") << 0xFF << false << kSwallowed << true;
    QTest::newRow("256 passes") << 0x100 << false << 0x100 << false;
    QTest::newRow("CJK passes") << 0x4E00 << false << 0x4E00 << false;
    QTest::newRow("busy digit") << int('5') << true << kSwallowed << true;
    QTest::newRow("busy backspace") << kBackspace << true << kSwallowed << true;
}

void TestKeyFilters::digitField()
{
    QFETCH(int, key);
    QFETCH(bool, busy);
    checkVerdict(pellory::digitFieldKeyPress(key, busy));
}

void TestKeyFilters::startingNumber_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("alpha");
    verdictColumns();

    QTest::newRow("numeric: 7") << int('7') << false << false << int('7') << false;
    QTest::newRow("numeric: b") << int('b') << false << false << kSwallowed << true;
    QTest::newRow("numeric: ctrl+v") << kCtrlV << false << false << kCtrlV << false;
    QTest::newRow("numeric: 255") << 0xFF << false << false << kSwallowed << true;
    QTest::newRow("alpha: 7") << int('7') << false << true << kSwallowed << true;
    QTest::newRow("alpha: a") << int('a') << false << true << int('a') << false;
    QTest::newRow("alpha: z") << int('z') << false << true << int('z') << false;
    QTest::newRow("alpha: B as typed") << int('B') << false << true << int('B') << false;
    QTest::newRow("alpha: Z") << int('Z') << false << true << int('Z') << false;
    QTest::newRow("alpha: at sign") << int('@') << false << true << kSwallowed << true;
    QTest::newRow("alpha: bracket") << int('[') << false << true << kSwallowed << true;
    QTest::newRow("alpha: backquote") << int('`') << false << true << kSwallowed << true;
    QTest::newRow("alpha: brace") << int('{') << false << true << kSwallowed << true;
    QTest::newRow("alpha: e acute") << 0xE9 << false << true << kSwallowed << true;
    QTest::newRow("alpha: 256 passes") << 0x100 << false << true << 0x100 << false;
    QTest::newRow("alpha: backspace") << kBackspace << false << true << kBackspace << false;
    QTest::newRow("busy alpha letter") << int('b') << true << true << kSwallowed << true;
    QTest::newRow("busy numeric digit") << int('1') << true << false << kSwallowed << true;
    QTest::newRow("busy backspace") << kBackspace << true << false << kSwallowed << true;
}

void TestKeyFilters::startingNumber()
{
    QFETCH(int, key);
    QFETCH(bool, busy);
    QFETCH(bool, alpha);
    checkVerdict(pellory::StartingNumber_KeyPress(key, busy, alpha));
}

QTEST_APPLESS_MAIN(TestKeyFilters)
#include "tst_keyfilters.moc"

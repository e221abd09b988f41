#include "naming/CaseStyle.h"
#include "naming/Extension.h"
#include "naming/Numbers.h"

#include <QTest>

#include <limits>

using namespace pellory;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

void textRow(const char* name, const QString& text, const QString& expected)
{
    QTest::newRow(name) << text << expected;
}

void numberRow(const char* name, const QString& text, double expected)
{
    QTest::newRow(name) << text << expected;
}

void extRow(const char* name, const QString& text, int mode, const QString& expected)
{
    QTest::newRow(name) << text << mode << expected;
}

void intRow(const char* name, const QString& text, std::optional<qint32> expected)
{
    QTest::newRow(name) << text << expected.has_value() << expected.value_or(0);
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumberReadsPrefix_data();
    void leadingNumberReadsPrefix();
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void parsesWholeInt32_data();
    void parsesWholeInt32();
    void normalFormat_data();
    void normalFormat();
    void fileExt_data();
    void fileExt();
};

void TestRules::leadingNumberReadsPrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    numberRow("fraction", "2.5", 2.5);
    numberRow("blanks inside are skipped", " 1 2", 12);
    numberRow("negative then letter", "-3x", -3);
    numberRow("empty", "", 0);
    numberRow("letter only", "X", 0);
    numberRow("point first", ".5", 0.5);
    numberRow("second point ends it", "1.2.3", 1.2);
    numberRow("sign alone", "-", 0);
    numberRow("sign after digits ends it", "4-1", 4);
    numberRow("no exponent", "1e3", 1);
    numberRow("no hex prefix", "&H10", 0);
    numberRow("tab and blank before sign", "\t -2", -2);
    numberRow("too many digits", QString(400, u'9'), kInfinity);
    numberRow("tiny fraction", "0." + QString(400, u'0') + "1", 0);
}

void TestRules::leadingNumberReadsPrefix()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(leadingNumber(text), expected);
}

void TestRules::roundsHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.5 down to even") << 2.5 << 2.0;
    QTest::newRow("3.5 up to even") << 3.5 << 4.0;
    QTest::newRow("0.5 to zero") << 0.5 << 0.0;
    QTest::newRow("below half") << 2.4999 << 2.0;
    QTest::newRow("above half") << 2.5001 << 3.0;
    QTest::newRow("negative tie") << -2.5 << -2.0;
    QTest::newRow("negative odd tie") << -1.5 << -2.0;
    QTest::newRow("infinity") << kInfinity << kInfinity;
}

void TestRules::roundsHalfToEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(roundHalfEven(value), expected);
}

void TestRules::parsesWholeInt32_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");
    intRow("plain", "001", 1);
    intRow("largest", "2147483647", 2147483647);
    intRow("one past largest", "2147483648", std::nullopt);
    intRow("smallest", "-2147483648", std::numeric_limits<qint32>::min());
    intRow("one below smallest", "-2147483649", std::nullopt);
    intRow("many leading zeros", "0000000000000000000042", 42);
    intRow("many digits", "99999999999999999999999", std::nullopt);
    intRow("plus sign", "+5", 5);
    intRow("surrounding blanks", "  12\t", 12);
    intRow("blank inside", "1 2", std::nullopt);
    intRow("blank after sign", "- 2", std::nullopt);
    intRow("empty", "", std::nullopt);
    intRow("blanks only", "   ", std::nullopt);
    intRow("sign only", "-", std::nullopt);
    intRow("trailing letter", "12a", std::nullopt);
    intRow("fraction", "1.5", std::nullopt);
    intRow("non-ASCII digit", QString::fromUtf8("\u0663"), std::nullopt);
}

void TestRules::parsesWholeInt32()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, expected);
    std::optional<qint32> parsed = parseInt32(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, expected);
}

void TestRules::normalFormat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    textRow("two words", "hello world", "Hello World");
    textRow("underscore separates", "HELLO_WORLD", "Hello_World");
    textRow("apostrophe separates", "o'neil", "O'Neil");
    textRow("long group before digits", "IMG0001", "Img0001");
    textRow("DSC0042", "DSC0042", "Dsc0042");
    textRow("three letters before digit", "abc1", "Abc1");
    textRow("two letters before digit", "ab1", "AB1");
    textRow("mp3 player", "mp3 player", "MP3 Player");
    textRow("mixed two before digit", "aB3", "AB3");
    textRow("letter after digits", "cd12x", "CD12X");
    textRow("digit first", "2nd try", "2Nd Try");
    textRow("trailing blanks kept", "my photo  ", "My Photo  ");
    textRow("empty", "", "");
    textRow("blanks only", "   ", "   ");
    textRow("leading blanks", "  ab cd", "  Ab Cd");
    textRow("accented capital alone", QString::fromUtf8("É"), QString::fromUtf8("É"));
    textRow("sharp s alone", QString::fromUtf8("ß"), QString::fromUtf8("ß"));
    textRow("accent separates words", QString::fromUtf8("xÉy"), QString::fromUtf8("XÉY"));
    textRow("last letter has no next", "aB", "Ab");
}

void TestRules::normalFormat()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(NormalFormat(text), expected);
}

void TestRules::fileExt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    extRow("first occurrence", "photo.2024.jpg", 0, "2024.jpg");
    extRow("last occurrence", "photo.2024.jpg", 1, "jpg");
    extRow("do not use", "photo.2024.jpg", 2, "jpg");
    extRow("no dot", "README", 0, "");
    extRow("trailing dot first", "notes.", 0, "");
    extRow("trailing dot last", "a.b.", 1, "");
    extRow("leading dot", ".profile", 1, "profile");
    extRow("leading dot first", ".profile.bak", 0, "profile.bak");
    extRow("empty name", "", 1, "");
}

void TestRules::fileExt()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(QString, expected);
    QCOMPARE(GetFileExt(text, ExtensionMode(mode)), expected);
}

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"

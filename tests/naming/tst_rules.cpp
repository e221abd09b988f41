#include "naming/CaseStyle.h"
#include "naming/Extension.h"
#include "naming/Numbers.h"

#include <QTest>

#include <limits>

using namespace pellory;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

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
    // clang-format off
    QTest::newRow("blanks inside are skipped") << " 1 2" << 12.0;
    QTest::newRow("negative then letter") << "-3x" << -3.0;
    QTest::newRow("letter only") << "X" << 0.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("sign after digits ends it") << "4-1" << 4.0;
    QTest::newRow("no exponent") << "1e3" << 1.0;
    QTest::newRow("tab and blank before sign") << "\t -2" << -2.0;
    QTest::newRow("too many digits") << QString(400, u'9') << kInfinity;
    // clang-format on
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
    // clang-format off
    QTest::newRow("2.5 down to even") << 2.5 << 2.0;
    QTest::newRow("3.5 up to even") << 3.5 << 4.0;
    QTest::newRow("above half") << 2.5001 << 3.0;
    QTest::newRow("negative odd tie") << -1.5 << -2.0;
    QTest::newRow("infinity") << kInfinity << kInfinity;
    // clang-format on
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
    QTest::addColumn<int>("expected"); // -1: not a number
    // clang-format off
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("one past largest") << "2147483648" << -1;
    QTest::newRow("one below smallest") << "-2147483649" << -1;
    QTest::newRow("many leading zeros") << "0000000000000000000042" << 42;
    QTest::newRow("plus sign") << "+5" << 5;
    QTest::newRow("surrounding blanks") << "  12\t" << 12;
    QTest::newRow("blank inside") << "1 2" << -1;
    QTest::newRow("blank after sign") << "- 2" << -1;
    QTest::newRow("blanks only") << "   " << -1;
    QTest::newRow("sign only") << "-" << -1;
    QTest::newRow("fraction") << "1.5" << -1;
    QTest::newRow("non-ASCII digit") << "\u0663" << -1;
    // clang-format on
}

void TestRules::parsesWholeInt32()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(parseInt32(text).value_or(-1), expected);
}

void TestRules::normalFormat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("underscore separates") << "HELLO_WORLD" << "Hello_World";
    QTest::newRow("apostrophe separates") << "o'neil" << "O'Neil";
    QTest::newRow("three letters before digit") << "abc1" << "Abc1";
    QTest::newRow("two letters before digit 9") << "ab9" << "AB9";
    QTest::newRow("letter after digits") << "cd12x" << "CD12X";
    QTest::newRow("digit first") << "2nd try" << "2Nd Try";
    QTest::newRow("blanks only") << "   " << "   ";
    QTest::newRow("outer blanks kept") << "  ab cd " << "  Ab Cd ";
    QTest::newRow("accented capital alone") << "É" << "É";
    QTest::newRow("sharp s alone") << "ß" << "ß";
    QTest::newRow("accent separates words") << "xÉy" << "XÉY";
    QTest::newRow("last letter has no next") << "aB" << "Ab";
    // clang-format on
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
    // clang-format off
    QTest::newRow("first occurrence") << "photo.2024.jpg" << 0 << "2024.jpg";
    QTest::newRow("last occurrence") << "photo.2024.jpg" << 1 << "jpg";
    QTest::newRow("do not use") << "photo.2024.jpg" << 2 << "jpg";
    QTest::newRow("no dot") << "README" << 0 << "";
    QTest::newRow("trailing dot last") << "a.b." << 1 << "";
    QTest::newRow("leading dot first") << ".profile.bak" << 0 << "profile.bak";
    // clang-format on
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

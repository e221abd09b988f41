#include "naming/CaseStyle.h"
#include "naming/Extension.h"
#include "naming/Numbers.h"

#include <QTest>

using namespace pellory;

// Each rule's answer as text, so that one table holds the number, case and extension rules.
static QString apply(const QString& rule, const QString& text)
{
    if (rule == "leadingNumber")
        return QString::number(leadingNumber(text));
    if (rule == "roundHalfEven")
        return QString::number(roundHalfEven(text.toDouble()));
    if (rule == "parseInt32")
        return parseInt32(text) ? QString::number(*parseInt32(text)) : "none";
    if (rule == "NormalFormat")
        return NormalFormat(text);
    return GetFileExt(text, ExtensionMode(rule.right(1).toInt())); // "GetFileExt" + mode
}

class TestRules : public QObject
{
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
};

void TestRules::rule_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* rule, const char* tag, const QString& text,
                        const QString& expected) {
        QTest::addRow("%s: %s", rule, tag) << QString(rule) << text << expected;
    };
    // clang-format off
    row("leadingNumber", "blanks inside are skipped", " 1 2", "12");
    row("leadingNumber", "negative then letter", "-3x", "-3");
    row("leadingNumber", "letter only", "X", "0");
    row("leadingNumber", "point first", ".5", "0.5");
    row("leadingNumber", "second point ends it", "1.2.3", "1.2");
    row("leadingNumber", "sign after digits ends it", "4-1", "4");
    row("leadingNumber", "no exponent", "1e3", "1");
    row("leadingNumber", "too many digits", QString(400, u'9'), "inf");
    row("roundHalfEven", "2.5 down to even", "2.5", "2");
    row("roundHalfEven", "3.5 up to even", "3.5", "4");
    row("roundHalfEven", "above half", "2.5001", "3");
    row("roundHalfEven", "negative odd tie", "-1.5", "-2");
    row("parseInt32", "largest", "2147483647", "2147483647");
    row("parseInt32", "one past largest", "2147483648", "none");
    row("parseInt32", "one below smallest", "-2147483649", "none");
    row("parseInt32", "plus sign", "+5", "5");
    row("parseInt32", "surrounding blanks", "  12\t", "12");
    row("parseInt32", "blank inside", "1 2", "none");
    row("parseInt32", "sign only", "-", "none");
    row("parseInt32", "non-ASCII digit", "\u0663", "none");
    row("NormalFormat", "underscore separates", "HELLO_WORLD", "Hello_World");
    row("NormalFormat", "apostrophe separates", "o'neil", "O'Neil");
    row("NormalFormat", "three letters before digit", "abc1", "Abc1");
    row("NormalFormat", "two letters before digit 9", "ab9", "AB9");
    row("NormalFormat", "digit first", "2nd try", "2Nd Try");
    row("NormalFormat", "outer blanks kept", "  ab cd ", "  Ab Cd ");
    row("NormalFormat", "blanks only", "   ", "   ");
    row("NormalFormat", "accented capital alone", "É", "É");
    row("NormalFormat", "accent separates words", "xÉy", "XÉY");
    row("NormalFormat", "last letter has no next", "aB", "Ab");
    row("GetFileExt0", "first occurrence", "photo.2024.jpg", "2024.jpg");
    row("GetFileExt1", "last occurrence", "photo.2024.jpg", "jpg");
    row("GetFileExt0", "no dot", "README", "");
    row("GetFileExt0", "leading dot first", ".profile.bak", "profile.bak");
    // clang-format on
}

void TestRules::rule()
{
    QFETCH(QString, rule);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(apply(rule, text), expected);
}

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"

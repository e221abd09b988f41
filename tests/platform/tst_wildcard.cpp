#include "platform/Wildcard.h"

#include <QElapsedTimer>
#include <QTest>

using namespace pellory;

class TestWildcard : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void manyStarsStayFast();
};

void TestWildcard::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    const QString smiley = QString::fromUcs4(U"\U0001F600");
    const auto row = [](const char* tag, const QString& pattern, const QString& name, bool hit) {
        QTest::newRow(tag) << pattern << name << hit;
    };
    // clang-format off
    row("*.JPG not jpeg", "*.JPG", "a.jpeg", false);
    row("IMG??.* two digits", "IMG??.*", "img12.x", true);
    row("IMG??.* three digits", "IMG??.*", "IMG123.jpg", false);
    row("star takes leading dot", "*.hta*", ".htaccess", true);
    row("empty pattern", "", "a", false);
    row("star dot star dotless", "*.*", "README", true);
    row("a star dot star needs dot", "a*.*", "abc", false);
    row("star dot dotless", "*.", "Makefile", true);
    row("star dot dotted", "*.", "a.txt", false);
    row("literal brackets", "[1].jpg", "[1].jpg", true);
    row("backslash not escape", "a\\*", "a\\xyz", true);
    row("question vs surrogate pair", "?.png", smiley + ".png", true);
    row("question vs combining accent", "caf?", "cafe\u0301", false);
    row("fold accented", "*.jpg", "ÉTÉ.JPG", true);
    row("fold outside BMP", QString::fromUcs4(U"\U00010400"), QString::fromUcs4(U"\U00010428"), true);
    row("sharp s is not ss", "straße", "STRASSE", false);
    row("backtrack to last star", "*abc*abd", "abcabcabd", true);
    row("backtrack fails", "*abc*abd", "abcabcabc", false);
    // clang-format on
}

void TestWildcard::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(wildcardMatch(pattern, name), expected);
    const QByteArray utf8 = name.toUtf8();
    if (utf8.size() == name.size()) // all ASCII
        QCOMPARE(WildcardMatcher(pattern).matchesAscii(utf8.toStdString()), expected);
}

void TestWildcard::manyStarsStayFast()
{
    // Going back to the last star only, not trying every split between the stars.
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!wildcardMatch(u"*a*a*a*a*a*a*a*a*a*a*b", QString(50000, u'a')));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_APPLESS_MAIN(TestWildcard)
#include "tst_wildcard.moc"

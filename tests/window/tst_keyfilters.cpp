#include "window/KeyFilters.h"

#include <QTest>

using namespace pellory;

namespace {

// `mode` is the case index for the text filter and the alphabetic switch (0/1) for the
// counter filter; the other filters ignore it.
KeyVerdict press(const QString& filter, int key, bool busy, int mode)
{
    if (filter == u"specs")
        return FileSpecs_KeyPress(key, busy);
    if (filter == u"text")
        return textFieldKeyPress(key, busy, mode);
    if (filter == u"ext")
        return NewExt_KeyPress(key);
    if (filter == u"digit")
        return digitFieldKeyPress(key, busy);
    return StartingNumber_KeyPress(key, busy, mode != 0);
}

// "A" for an inserted character, "#8" for a control code, then "beep" and "focus" as set;
// a swallowed key shows as nothing.
QString describe(const KeyVerdict& v)
{
    const QString key = v.key == 0   ? QString()
                        : v.key < 32 ? '#' + QString::number(v.key)
                                     : QString(QChar(char16_t(v.key)));
    return key + (v.beep ? "beep" : "") + (v.focusFileList ? "focus" : "");
}

} // namespace

class TestKeyFilters : public QObject
{
    Q_OBJECT

private slots:
    void filter_data();
    void filter();
};

void TestKeyFilters::filter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* filter, int key, bool busy, int mode,
                        const QString& expected) {
        QTest::newRow(name) << QString(filter) << key << busy << mode << expected;
    };
    const bool idle = false, busy = true;
    // clang-format off
    row("specs: a upper-cased", "specs", 'a', idle, 0, "A");
    row("specs: backquote before a", "specs", '`', idle, 0, "`");
    row("specs: enter moves to the list", "specs", 13, idle, 0, "focus");
    row("specs: busy letter", "specs", 'a', busy, 0, "beep");
    row("text: asterisk", "text", '*', idle, 0, "beep");
    row("text: question mark", "text", '?', idle, 2, "beep");
    row("text: backslash", "text", '\\', idle, 0, "\\");
    row("text: lower A", "text", 'A', idle, 1, "a");
    row("text: lower at sign", "text", '@', idle, 1, "@");
    row("text: lower E acute", "text", 0xC9, idle, 1, "É");
    row("text: upper a", "text", 'a', idle, 2, "A");
    row("text: normal formatted a", "text", 'a', idle, 3, "a");
    row("text: busy backspace", "text", 8, busy, 0, "beep");
    row("ext: comma", "ext", ',', idle, 0, "beep");
    row("ext: point", "ext", '.', idle, 0, ".");
    row("ext: busy rule absent", "ext", 'x', busy, 0, "x");
    row("digit: 0", "digit", '0', idle, 0, "0");
    row("digit: slash before 0", "digit", '/', idle, 0, "beep");
    row("digit: colon after 9", "digit", ':', idle, 0, "beep");
    row("digit: control 31", "digit", 31, idle, 0, "#31");
    row("digit: ctrl+v", "digit", 22, idle, 0, "#22");
    row("digit: busy backspace", "digit", 8, busy, 0, "beep");
    row("counter: b", "counter", 'b', idle, 0, "beep");
    row("counter alpha: 7", "counter", '7', idle, 1, "beep");
    row("counter alpha: b", "counter", 'b', idle, 1, "b");
    row("counter alpha: B as typed", "counter", 'B', idle, 1, "B");
    row("counter alpha: at sign", "counter", '@', idle, 1, "beep");
    row("counter alpha: backquote", "counter", '`', idle, 1, "beep");
    row("counter alpha: e acute", "counter", 0xE9, idle, 1, "beep");
    row("counter alpha: 256", "counter", 0x100, idle, 1, "Ā");
    row("counter alpha: backspace", "counter", 8, idle, 1, "#8");
    row("counter: busy backspace", "counter", 8, busy, 0, "beep");
    // clang-format on
}

void TestKeyFilters::filter()
{
    QFETCH(QString, filter);
    QFETCH(int, key);
    QFETCH(bool, busy);
    QFETCH(int, mode);
    QFETCH(QString, expected);
    QCOMPARE(describe(press(filter, key, busy, mode)), expected);
}

QTEST_APPLESS_MAIN(TestKeyFilters)
#include "tst_keyfilters.moc"

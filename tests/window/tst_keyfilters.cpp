#include "window/KeyFilters.h"

#include <QTest>

using pellory::KeyVerdict;

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kCtrlV = 22;

// `mode` is the case index for the text filter and the alphabetic switch (0/1) for the
// counter filter; the other filters ignore it.
KeyVerdict press(const QString& filter, int key, bool busy, int mode)
{
    if (filter == u"specs")
        return pellory::FileSpecs_KeyPress(key, busy);
    if (filter == u"text")
        return pellory::textFieldKeyPress(key, busy, mode);
    if (filter == u"ext")
        return pellory::NewExt_KeyPress(key);
    if (filter == u"digit")
        return pellory::digitFieldKeyPress(key, busy);
    if (filter == u"counter")
        return pellory::StartingNumber_KeyPress(key, busy, mode != 0);
    qFatal("unknown filter %s", qPrintable(filter));
}

// "A" for an inserted character, "#8" for a control code, "beep" or "focus" for a
// swallowed key, with "+beep" when an inserted key also beeps (it never should).
QString describe(const KeyVerdict& v)
{
    QString text;
    if (v.key == 0)
        text = v.focusFileList ? QStringLiteral("focus") : QString();
    else if (v.key < 32)
        text = u'#' + QString::number(v.key);
    else
        text = QString(QChar(char16_t(v.key)));
    if (v.beep)
        text += text.isEmpty() ? QStringLiteral("beep") : QStringLiteral("+beep");
    return text.isEmpty() ? QStringLiteral("swallowed") : text;
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

    const bool idle = false;
    const bool busy = true;
    auto row = [](const char* name, const char* filter, int key, bool busy, int mode,
                  const QString& expected) {
        QTest::newRow(name) << QString(filter) << key << busy << mode << expected;
    };
    // clang-format off
    row("specs: a upper-cased", "specs", 'a', idle, 0, "A");
    row("specs: backquote before a", "specs", '`', idle, 0, "`");
    row("specs: e acute keeps its case", "specs", 0xE9, idle, 0, "é");
    row("specs: asterisk", "specs", '*', idle, 0, "*");
    row("specs: backspace", "specs", kBackspace, idle, 0, "#8");
    row("specs: enter moves to the list", "specs", kEnter, idle, 0, "focus");
    row("specs: busy letter", "specs", 'a', busy, 0, "beep");

    row("text: asterisk", "text", '*', idle, 0, "beep");
    row("text: question mark", "text", '?', idle, 2, "beep");
    row("text: colon", "text", ':', idle, 0, ":");
    row("text: backslash", "text", '\\', idle, 0, "\\");
    row("text: lower A", "text", 'A', idle, 1, "a");
    row("text: lower at sign", "text", '@', idle, 1, "@");
    row("text: lower E acute", "text", 0xC9, idle, 1, "É");
    row("text: upper a", "text", 'a', idle, 2, "A");
    row("text: upper e acute", "text", 0xE9, idle, 2, "é");
    row("text: leave as is A", "text", 'A', idle, 0, "A");
    row("text: normal formatted a", "text", 'a', idle, 3, "a");
    row("text: busy backspace", "text", kBackspace, busy, 0, "beep");

    row("ext: comma", "ext", ',', idle, 0, "beep");
    row("ext: backslash", "ext", '\\', idle, 0, "beep");
    row("ext: point", "ext", '.', idle, 0, ".");
    row("ext: backspace", "ext", kBackspace, idle, 0, "#8");

    row("digit: 0", "digit", '0', idle, 0, "0");
    row("digit: slash before 0", "digit", '/', idle, 0, "beep");
    row("digit: colon after 9", "digit", ':', idle, 0, "beep");
    row("digit: control 31", "digit", 31, idle, 0, "#31");
    row("digit: ctrl+v", "digit", kCtrlV, idle, 0, "#22");
    row("digit: 256", "digit", 0x100, idle, 0, "Ā");
    row("digit: busy digit", "digit", '5', busy, 0, "beep");
    row("digit: busy backspace", "digit", kBackspace, busy, 0, "beep");

    row("counter: 7", "counter", '7', idle, 0, "7");
    row("counter: b", "counter", 'b', idle, 0, "beep");
    row("counter: ctrl+v", "counter", kCtrlV, idle, 0, "#22");
    row("counter alpha: 7", "counter", '7', idle, 1, "beep");
    row("counter alpha: a", "counter", 'a', idle, 1, "a");
    row("counter alpha: B as typed", "counter", 'B', idle, 1, "B");
    row("counter alpha: at sign", "counter", '@', idle, 1, "beep");
    row("counter alpha: backquote", "counter", '`', idle, 1, "beep");
    row("counter alpha: e acute", "counter", 0xE9, idle, 1, "beep");
    row("counter alpha: CJK", "counter", 0x4E00, idle, 1, "一");
    row("counter alpha: backspace", "counter", kBackspace, idle, 1, "#8");
    row("counter: busy backspace", "counter", kBackspace, busy, 0, "beep");
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

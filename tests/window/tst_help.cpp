// F1 and the user guide: where the program finds its guide, that F1 hands it to the
// desktop, that the guide explains every control in the window's own words, and that its
// worked examples give the names, selections and wildcard renames the program gives.

#include "MainFixture.h"
#include "catalogue/EveryN.h"
#include "naming/DuplicateCheck.h"
#include "run/WildcardName.h"
#include "window/MainHelp.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QUrl>

using namespace pellory;
using namespace pellory::testing;

namespace {

// The guide found beside the test program, as written; empty when there is none.
const QString& guide()
{
    static const QString html = [] {
        QFile file(findUserGuide(QCoreApplication::applicationDirPath()));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return html;
}

// The captured groups of every match of `pattern` in `text`.
QList<QStringList> matches(const QString& pattern, const QString& text)
{
    QList<QStringList> found;
    const QRegularExpression re(pattern, QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch& match : re.globalMatch(text))
        found.append(match.capturedTexts().mid(1));
    return found;
}

// "a=1;b=x" as rename settings; later pairs win, so a row's settings follow its table's.
RenameSettings toSettings(const QString& pairs)
{
    QMap<QString, QString> map;
    for (const QString& pair : pairs.split(';', Qt::SkipEmptyParts))
        map.insert(pair.section('=', 0, 0), pair.section('=', 1));
    RenameSettings s;
    s.RenameChk = map.value("rename") == "1";
    s.NumCharKeep = map.value("keep", "0");
    s.FilePrefix = map.value("prefix");
    s.FileLeading = map.value("leading");
    s.chkAlpha = map.value("alpha") == "1";
    s.chkTrim = map.value("trim") == "1";
    s.StartingNumber = s.AlphaNumberText = map.value("start");
    s.NumberIncValue = s.AlphaIncrementText = map.value("inc");
    s.ExtUsed = ExtensionMode(map.value("ext", "1").toInt());
    s.NewExtIndex = map.contains("typed") ? -1 : map.value("newext") == "remove" ? 1 : 0;
    s.NewExtText = map.value("typed");
    s.CasesList = map.value("case", "0").toInt();
    return s;
}

// An every-n row's cells: every, of how many, the last clicked; the positions selected,
// counted from 1 as the guide counts them.
QString everyNth(const QStringList& cells)
{
    const qint16 n = selStepsValue(cells[0]);
    const qint32 current = cells[2] == "none" ? -1 : cells[2].toInt() - 1;
    QStringList shown;
    for (qint32 item :
         n < 1 ? std::vector<qint32>{} : everyNthItem(cells[1].toInt(), current, n).items)
        shown.append(QString::number(item + 1));
    return shown.isEmpty() ? QString("none") : shown.join(", ");
}

// Stands in for the desktop's HTML viewer.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

} // namespace

class TstHelp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void lookup_data();
    void lookup();
    void f1OpensGuide();
    void everyControlExplained();
    void examples_data();
    void examples();
};

void TstHelp::lookup_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("guideAt"); // below the temporary root; "/" ends a folder
    QTest::addColumn<bool>("found");
    const QString g = QString("/") + kGuideBelowPrefix;
    // clang-format off
    QTest::newRow("installed in a prefix") << "usr/bin" << "usr" + g << true;
    QTest::newRow("test two folders down") << "build/tests/window" << "build" + g << true;
    QTest::newRow("four folders down") << "b/x/y/z/w" << "b" + g << false;
    QTest::newRow("guide is a folder") << "usr/bin" << "usr" + g + "/" << false;
    // clang-format on
}

void TstHelp::lookup()
{
    QFETCH(QString, programDir);
    QFETCH(QString, guideAt);
    QFETCH(bool, found);
    QTemporaryDir root;
    QDir dir(root.path());
    dir.mkpath(programDir);
    // A guide elsewhere in the tree must not be taken for this program's.
    for (const QString& file : {"other/" + QString(kGuideBelowPrefix), guideAt}) {
        QVERIFY(dir.mkpath(QFileInfo(file).path()));
        if (!file.endsWith('/'))
            QVERIFY(QFile(dir.filePath(file)).open(QIODevice::WriteOnly));
    }
    QCOMPARE(findUserGuide(dir.filePath(programDir)), found ? dir.filePath(guideAt) : QString());
}

void TstHelp::f1OpensGuide()
{
    UrlRecorder viewer;
    QDesktopServices::setUrlHandler("file", &viewer, "open");
    Window window;
    window.find("FileSpecs")->setFocus();
    QTest::keyClick(window.main.get(), Qt::Key_F1);
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(viewer.opened.size(), 1);
    QCOMPARE(viewer.opened.first().toLocalFile(),
             findUserGuide(QCoreApplication::applicationDirPath()));
    QCOMPARE(window.feedback.messages.size() + window.feedback.beeps, 0);
}

// Every caption, list item and tip the window shows at start, as the user reads it.
void TstHelp::everyControlExplained()
{
    const QString text = QString(guide()).remove(QRegularExpression("<[^>]*>")).simplified();
    RecordingFeedback feedback;
    const Main window(&feedback);
    QStringList missing;
    int seen = 0;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        QStringList texts{control->toolTip()};
        if (auto* label = qobject_cast<const QLabel*>(control))
            texts << label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(control))
            texts << button->text();
        // The drive list shows the machine's volumes, not words of the window.
        auto* list = qobject_cast<const QComboBox*>(control);
        for (int item = 0; list && control->objectName() != "DriveList" && item < list->count();
             ++item)
            texts << list->itemText(item);
        for (const QString& shown : texts.replaceInStrings("&", "")) {
            if (shown.simplified().isEmpty())
                continue;
            ++seen;
            if (!text.contains(shown.simplified()))
                missing << control->objectName() + ": " + shown.simplified();
        }
    }
    QVERIFY2(seen >= 40, "too few texts found in the window");
    QCOMPARE(missing.join(" / "), QString());
}

// One row per table of the guide: each row's own settings, then its data cells.
void TstHelp::examples_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QList<QStringList>>("rows");
    QVERIFY2(!guide().isEmpty(), "no guide beside the test program");
    QStringList kinds;
    for (const QStringList& table :
         matches(R"re(<table class="([\w-]+)"(?: data-settings="([^"]*)")?>(.*?)</table>)re",
                 guide())) {
        QList<QStringList> rows;
        for (const QStringList& row :
             matches(R"re(<tr(?: data-settings="([^"]*)")?>(.*?)</tr>)re", table[2])) {
            QStringList cells{row[0]};
            for (const QStringList& cell : matches("<td>(.*?)</td>", row[1]))
                cells.append(cell[0]);
            if (cells.size() > 1) // not a heading
                rows.append(cells);
        }
        kinds << table[0];
        QTest::addRow("table %d, %s", int(kinds.size()), qPrintable(table[0]))
            << table[0] << table[1] << rows;
    }
    for (const char* kind : {"example", "every-n", "wildcard"})
        QVERIFY2(kinds.contains(kind), kind);
}

// Example rows with no settings of their own are one walk with one counter; a row with its
// own settings is a walk of its own. The last cell is what the program must give.
void TstHelp::examples()
{
    QFETCH(QString, kind);
    QFETCH(QString, settings);
    QFETCH(QList<QStringList>, rows);
    QStringList expected, given, walk, walkExpected;
    std::vector<bool> selected;
    for (const QStringList& row : rows) {
        const QStringList cells = row.mid(1);
        if (kind == "example" && row[0].isEmpty()) { // a step of the table's walk
            walk << cells[0];
            selected.push_back(cells.contains("selected"));
            walkExpected << cells.last();
            continue;
        }
        expected << cells.last();
        if (kind == "wildcard")
            given << wildcardNewName(cells[0], cells[1]);
        else if (kind == "every-n")
            given << everyNth(cells);
        else
            given << composeAll(cells.mid(0, 1), {false}, toSettings(settings + ';' + row[0]));
    }
    if (!walk.isEmpty())
        given << composeAll(walk, selected, toSettings(settings));
    QCOMPARE(given.join('\n'), (expected + walkExpected).join('\n'));
}

QTEST_MAIN(TstHelp)
#include "tst_help.moc"

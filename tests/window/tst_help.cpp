// F1 and the user guide: where the program finds its guide, that F1 hands it to the
// desktop, and that the guide explains every control in the window's own words.

#include "GuideReader.h"
#include "MainFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QUrl>

using namespace pellory;
using namespace pellory::testing;

namespace {

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
    void everyControlExplained_data();
    void everyControlExplained();
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
void TstHelp::everyControlExplained_data()
{
    QTest::addColumn<QString>("shown");
    isolateHome();
    Main window;
    QSet<QString> seen;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty())
            continue;
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
        for (const QString& text : texts) {
            const QString shown = QString(text).remove('&').simplified();
            if (!shown.isEmpty() && !seen.contains(shown))
                QTest::addRow("%s %s", qPrintable(control->objectName()), qPrintable(shown))
                    << shown;
            seen.insert(shown);
        }
    }
    QVERIFY2(seen.size() >= 40, "too few texts found in the window");
}

void TstHelp::everyControlExplained()
{
    QFETCH(QString, shown);
    static const Guide guide = readGuide();
    QVERIFY2(guide.error.isEmpty(), qPrintable(guide.error));
    QVERIFY2(guide.text.contains(shown), qPrintable("the guide never mentions " + shown));
}

QTEST_MAIN(TstHelp)
#include "tst_help.moc"

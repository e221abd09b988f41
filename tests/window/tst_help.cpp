// F1 and the user guide: where the program finds its guide, that F1 hands it to the
// desktop, and that the guide explains every control in the window's own words.

#include "GuideReader.h"
#include "MainFixture.h"

#include "window/MainHelp.h"

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

// A caption as the user reads it: no access-key marker, blanks simplified.
QString readable(QString text)
{
    return text.remove('&').simplified();
}

} // namespace

class TstHelp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateHome(); }
    void lookup_data();
    void lookup();
    void guideFromBuildFolder();
    void f1OpensGuide();
    void everyControlExplained_data();
    void everyControlExplained();
};

void TstHelp::lookup_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("guideAt"); // made below the temporary root; "" none
    QTest::addColumn<bool>("guideIsFolder");
    QTest::addColumn<QString>("found"); // below the root; "" none
    const QString guide = kGuideBelowPrefix;
    QTest::newRow("installed in a prefix") << "usr/bin"
                                           << "usr/" + guide << false << "usr/" + guide;
    QTest::newRow("program in a build") << "build/app"
                                        << "build/" + guide << false << "build/" + guide;
    QTest::newRow("test two folders down") << "build/tests/window"
                                           << "build/" + guide << false << "build/" + guide;
    QTest::newRow("nearest prefix wins") << "opt/p/bin"
                                         << "opt/p/" + guide << false << "opt/p/" + guide;
    QTest::newRow("four folders down") << "b/x/y/z/w"
                                       << "b/" + guide << false << "";
    QTest::newRow("no guide") << "usr/bin"
                              << "" << false << "";
    QTest::newRow("guide is a folder") << "usr/bin"
                                       << "usr/" + guide << true << "";
}

void TstHelp::lookup()
{
    QFETCH(QString, programDir);
    QFETCH(QString, guideAt);
    QFETCH(bool, guideIsFolder);
    QFETCH(QString, found);
    QTemporaryDir root;
    QDir(root.path()).mkpath(programDir);
    // A guide elsewhere in the tree must not be taken for this program's.
    QDir(root.path()).mkpath("other/share/doc/pellory");
    QFile(root.filePath("other/" + QString(kGuideBelowPrefix))).open(QIODevice::WriteOnly);
    if (!guideAt.isEmpty()) {
        QDir(root.path()).mkpath(guideIsFolder ? guideAt : QFileInfo(guideAt).path());
        if (!guideIsFolder)
            QVERIFY(QFile(root.filePath(guideAt)).open(QIODevice::WriteOnly));
    }
    const QString result = findUserGuide(root.filePath(programDir));
    QCOMPARE(result,
             found.isEmpty() ? QString() : QFileInfo(root.filePath(found)).absoluteFilePath());
}

void TstHelp::guideFromBuildFolder()
{
    const Guide guide = readGuide();
    QVERIFY2(guide.wellFormed, qPrintable(guide.error));
    QVERIFY(guide.text.contains("Pellory user guide"));
}

void TstHelp::f1OpensGuide()
{
    UrlRecorder viewer;
    QDesktopServices::setUrlHandler("file", &viewer, "open");
    Window window;
    window.find<QWidget>("FileSpecs")->setFocus();
    QTest::keyClick(window.main.get(), Qt::Key_F1);
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(viewer.opened.size(), 1);
    QCOMPARE(viewer.opened.first().toLocalFile(),
             findUserGuide(QCoreApplication::applicationDirPath()));
    QCOMPARE(window.feedback.messages.join('\n'), QString());
    QCOMPARE(window.feedback.beeps, 0);
}

// Every caption, list item and tip the window shows at start.
void TstHelp::everyControlExplained_data()
{
    QTest::addColumn<QString>("shown");
    isolateHome();
    Main window;
    QSet<QString> seen;
    auto add = [&](const QObject* control, const char* what, const QString& text) {
        const QString shown = readable(text);
        if (shown.isEmpty() || seen.contains(shown))
            return;
        seen.insert(shown);
        QTest::addRow("%s %s %s", qPrintable(control->objectName()), what, qPrintable(shown))
            << shown;
    };
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty())
            continue;
        if (auto* label = qobject_cast<const QLabel*>(control))
            add(control, "caption", label->text());
        if (auto* button = qobject_cast<const QAbstractButton*>(control))
            add(control, "caption", button->text());
        // The drive list shows the machine's volumes, not words of the window.
        auto* list = qobject_cast<const QComboBox*>(control);
        if (list && control->objectName() != "DriveList") {
            for (int item = 0; item < list->count(); ++item)
                add(control, "item", list->itemText(item));
        }
        add(control, "tip", control->toolTip());
    }
    if (seen.size() < 40)
        QFAIL(qPrintable(QString("only %1 texts found in the window").arg(seen.size())));
}

void TstHelp::everyControlExplained()
{
    QFETCH(QString, shown);
    static const Guide guide = readGuide();
    QVERIFY2(guide.text.contains(shown), qPrintable("the guide never mentions " + shown));
}

QTEST_MAIN(TstHelp)
#include "tst_help.moc"

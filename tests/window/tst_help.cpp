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
    QTest::addColumn<QString>("guideAt"); // below the temporary root, "" none, "/" ending a folder
    QTest::addColumn<QString>("found");   // below the root; "" none
    const QString g = kGuideBelowPrefix;
    QTest::newRow("installed in a prefix") << "usr/bin"
                                           << "usr/" + g << "usr/" + g;
    QTest::newRow("test two folders down") << "build/tests/window"
                                           << "build/" + g << "build/" + g;
    QTest::newRow("four folders down") << "b/x/y/z/w"
                                       << "b/" + g << "";
    QTest::newRow("no guide") << "usr/bin"
                              << ""
                              << "";
    QTest::newRow("guide is a folder") << "usr/bin"
                                       << "usr/" + g + "/"
                                       << "";
}

void TstHelp::lookup()
{
    QFETCH(QString, programDir);
    QFETCH(QString, guideAt);
    QFETCH(QString, found);
    QTemporaryDir root;
    QDir(root.path()).mkpath(programDir);
    // A guide elsewhere in the tree must not be taken for this program's.
    QDir(root.path()).mkpath("other/share/doc/pellory");
    QFile(root.filePath("other/" + QString(kGuideBelowPrefix))).open(QIODevice::WriteOnly);
    if (guideAt.endsWith('/'))
        QDir(root.path()).mkpath(guideAt);
    else if (!guideAt.isEmpty())
        QVERIFY(QDir(root.path()).mkpath(QFileInfo(guideAt).path()) &&
                QFile(root.filePath(guideAt)).open(QIODevice::WriteOnly));
    QCOMPARE(findUserGuide(root.filePath(programDir)),
             found.isEmpty() ? QString() : QFileInfo(root.filePath(found)).absoluteFilePath());
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
    QCOMPARE(window.feedback.messages.join('\n') + QString::number(window.feedback.beeps),
             QString("0"));
}

// Every caption, list item and tip the window shows at start, as the user reads it.
void TstHelp::everyControlExplained_data()
{
    QTest::addColumn<QString>("shown");
    isolateHome();
    Main window;
    QSet<QString> seen;
    auto add = [&](const QObject* control, const QString& text) {
        const QString shown = QString(text).remove('&').simplified();
        if (!shown.isEmpty() && !seen.contains(shown))
            QTest::addRow("%s %s", qPrintable(control->objectName()), qPrintable(shown)) << shown;
        seen.insert(shown);
    };
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty())
            continue;
        if (auto* label = qobject_cast<const QLabel*>(control))
            add(control, label->text());
        if (auto* button = qobject_cast<const QAbstractButton*>(control))
            add(control, button->text());
        // The drive list shows the machine's volumes, not words of the window.
        auto* list = qobject_cast<const QComboBox*>(control);
        for (int item = 0; list && control->objectName() != "DriveList" && item < list->count();
             ++item)
            add(control, list->itemText(item));
        add(control, control->toolTip());
    }
    if (seen.size() < 40)
        QFAIL(qPrintable(QString("only %1 texts found in the window").arg(seen.size())));
}

void TstHelp::everyControlExplained()
{
    QFETCH(QString, shown);
    static const Guide guide = readGuide();
    QVERIFY2(guide.wellFormed, qPrintable(guide.error));
    QVERIFY2(guide.text.contains(shown), qPrintable("the guide never mentions " + shown));
}

QTEST_MAIN(TstHelp)
#include "tst_help.moc"

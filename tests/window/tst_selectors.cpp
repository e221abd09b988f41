#include "window/DriveSelector.h"
#include "window/FolderSelector.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace pellory;

namespace {

void makeTree(const QString& root, const QStringList& folders, const QStringList& files)
{
    for (const QString& folder : folders)
        QVERIFY(QDir(root).mkpath(folder));
    for (const QString& file : files) {
        if (file.contains('>')) {
            const QStringList parts = file.split('>');
            QVERIFY(QFile::link(root + '/' + parts[1], root + '/' + parts[0]));
            continue;
        }
        QFile out(root + '/' + file);
        QVERIFY(out.open(QIODevice::WriteOnly));
    }
}

int levelOf(const QListWidgetItem* item)
{
    return item->data(FolderSelector::LevelRole).toInt();
}

// The items below `base` (the temporary folder's own item) as "name@level" with levels
// counted from it, joined with "|", and the current item marked with "*".
QString itemsBelow(const FolderSelector& selector, const QString& base)
{
    const int baseLevel = int(QDir::cleanPath(base).count('/'));
    QStringList shown;
    for (int row = 0; row < selector.count(); ++row) {
        const QListWidgetItem* item = selector.item(row);
        if (levelOf(item) <= baseLevel)
            continue;
        const QString mark = item == selector.currentItem() ? "*" : "";
        shown << mark + item->text() + '@' + QString::number(levelOf(item) - baseLevel);
    }
    return shown.join('|');
}

// Moves the highlight with the arrow keys, as a user would, onto the item named `name`.
void moveHighlightTo(FolderSelector& selector, const QString& name)
{
    const int target = selector.row(selector.findItems(name, Qt::MatchExactly).value(0));
    for (int i = 0; i < 20 && selector.currentRow() != target; ++i)
        QTest::keyClick(&selector, selector.currentRow() < target ? Qt::Key_Down : Qt::Key_Up);
}

} // namespace

class TestSelectors : public QObject
{
    Q_OBJECT
private slots:
    void setPath_data();
    void setPath();
    void folderNavigation_data();
    void folderNavigation();
    void folderNotValidUtf8();
    void driveOf_data();
    void driveOf();
    void folderMemory();
    void driveChanges_data();
    void driveChanges();
    void mountedVolumesAreRealDisks();
};

void TestSelectors::setPath_data()
{
    // From folder "a", setPath(path); the handler logs the items it sees.
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("items"); // shown at the end, and in the handler when it ran
    const QString unchanged = "*a@1|b@2|b2@2";
    // clang-format off
    QTest::newRow("nested, hidden and mixed case") << "a/b" << true << 1 << "a@1|*b@2|.hidden@3|c@3|D@3";
    QTest::newRow("link to folder listed, link to file not") << "" << true << 1 << "a@1|l1@1|locked@1|t@1";
    QTest::newRow("the same folder, spelt otherwise") << "a/b/../" << true << 0 << unchanged;
    QTest::newRow("missing folder") << "missing" << false << 0 << unchanged;
    QTest::newRow("unreadable folder") << "locked" << false << 0 << unchanged;
    // clang-format on
}

void TestSelectors::setPath()
{
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    QFETCH(int, changes);
    QFETCH(QString, items);
    if (path == "locked" && ::geteuid() == 0)
        QSKIP("the super-user opens every folder");
    QTemporaryDir dir;
    makeTree(dir.path(), {"a/b/c", "a/b/.hidden", "a/b/D", "a/b2", "locked", "t"},
             {"f.txt", "l1>t", "l2>f.txt"});
    QVERIFY(QFile::setPermissions(dir.path() + "/locked", QFileDevice::WriteOwner));
    FolderSelector selector;
    QVERIFY(selector.setPath(dir.path() + "/a"));
    QStringList log;
    connect(&selector, &FolderSelector::pathChanged, this,
            [&] { log << itemsBelow(selector, dir.path()); });

    QCOMPARE(selector.setPath(dir.path() + '/' + path), accepted);
    QCOMPARE(log.size(), changes); // raised once, before setPath returned
    QCOMPARE(itemsBelow(selector, dir.path()), items);
    QCOMPARE(log.value(0, items), items);
    QCOMPARE(selector.item(0)->text(), QString("/"));
    QCOMPARE(selector.path(), QDir::cleanPath(dir.path() + '/' + (accepted ? path : "a")));
}

void TestSelectors::folderNavigation_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("gesture"); // a key, "double-click", or none
    QTest::addColumn<QString>("target");  // the item highlighted or double-clicked
    QTest::addColumn<QString>("landing");
    QTest::addColumn<int>("changes");
    // clang-format off
    QTest::newRow("Return opens a subfolder") << "a" << "Return" << "b" << "a/b" << 1;
    QTest::newRow("Enter opens an ancestor") << "a/b" << "Enter" << "a" << "a" << 1;
    QTest::newRow("Enter on the current folder") << "a/b" << "Enter" << "b" << "a/b" << 0;
    QTest::newRow("Backspace goes up") << "a/b" << "Backspace" << "" << "a" << 1;
    QTest::newRow("double-click opens") << "a" << "double-click" << "b" << "a/b" << 1;
    QTest::newRow("arrows only move the highlight") << "a" << "" << "b2" << "a" << 0;
    // clang-format on
}

void TestSelectors::folderNavigation()
{
    QFETCH(QString, start);
    QFETCH(QString, gesture);
    QFETCH(QString, target);
    QFETCH(QString, landing);
    QFETCH(int, changes);
    QTemporaryDir dir;
    makeTree(dir.path(), {"a/b/c", "a/b2"}, {});
    FolderSelector selector;
    selector.resize(300, 400);
    selector.show();
    QVERIFY(selector.setPath(dir.path() + '/' + start));
    QSignalSpy spy(&selector, &FolderSelector::pathChanged);

    if (!target.isEmpty())
        moveHighlightTo(selector, target);
    if (gesture == "double-click") {
        const QRect rect = selector.visualItemRect(selector.currentItem());
        // A double-click reaches the widget as a click followed by a double-click event.
        QTest::mouseClick(selector.viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(selector.viewport(), Qt::LeftButton, {}, rect.center());
    } else if (!gesture.isEmpty()) {
        QTest::keyClick(&selector, Qt::Key(QKeySequence(gesture)[0].key()));
    }
    QCOMPARE(selector.path(), dir.path() + '/' + landing);
    QCOMPARE(spy.count(), changes);
}

void TestSelectors::folderNotValidUtf8()
{
    QTemporaryDir dir;
    const QByteArray odd = QFile::encodeName(dir.path()) + "/caf\xe9";
    QVERIFY(::mkdir(odd.constData(), 0755) == 0 && ::mkdir(odd + "/inner", 0755) == 0);
    const auto removeOdd = qScopeGuard([&] { ::rmdir(odd + "/inner"), ::rmdir(odd); });
    FolderSelector selector;
    QVERIFY(selector.setPath(dir.path()));
    QCOMPARE(itemsBelow(selector, dir.path()), QString("caf\uFFFD@1"));
    QStringList visited;
    for (Qt::Key key :
         {Qt::Key_Down, Qt::Key_Enter, Qt::Key_Down, Qt::Key_Enter, Qt::Key_Backspace}) {
        QTest::keyClick(&selector, key);
        visited << "~" + QString::fromLatin1(
                             selector.rawPath().mid(dir.path().size()).toPercentEncoding("/"));
    }
    QCOMPARE(visited.join(' '), "~ ~/caf%E9 ~/caf%E9 ~/caf%E9/inner ~/caf%E9");
}

void TestSelectors::driveOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");
    // clang-format off
    QTest::newRow("deepest root wins") << "/media/usb/photos" << "/media/usb";
    QTest::newRow("root itself") << "/media/usb2" << "/media/usb2";
    QTest::newRow("name that only starts alike") << "/media/usbx" << "/";
    QTest::newRow("unclean path") << "/home/../media/usb/a" << "/media/usb";
    QTest::newRow("relative path") << "home" << "";
    // clang-format on
}

void TestSelectors::driveOf()
{
    QFETCH(QString, path);
    QFETCH(QString, drive);
    DriveSelector selector;
    selector.setVolumes({"/", "/home", "/media/usb", "/media/usb2"});
    QCOMPARE(selector.driveOf(path), drive);
    selector.setVolumes({"/media/usb"});
    QCOMPARE(selector.driveOf("/etc"), QString()); // no volume holds it
}

void TestSelectors::folderMemory()
{
    DriveSelector selector;
    selector.setVolumes({"/", "/media/usb", "/media/usb2"});
    for (const char* path : {"/media/usb/photos", "/media/usb2/x", "/tmp/y/", "/media/usb/z"})
        selector.rememberFolder(path);
    const QStringList remembered{selector.folderFor("/media/usb"),
                                 selector.folderFor("/media/usb2"), selector.folderFor("/"),
                                 selector.folderFor("/never/visited")};
    QCOMPARE(remembered.join('|'), QString("/media/usb/z|/media/usb2/x|/tmp/y|/never/visited"));
}

void TestSelectors::driveChanges_data()
{
    // Steps on volumes "/", "/a", "/b": "set X" from code, "key K" as a user,
    // "volumes X,Y" to replace the list. When `refused` is the new drive, the handler sets
    // the previous one back from inside the event, as the window does for a drive that
    // fails to open.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QString>("events");
    // clang-format off
    QTest::newRow("from code, once per change") << QStringList{"set /a", "set /a/sub", "set relative", "set /b", "set /etc"} << "" << "/a|set relative refused|/b|/";
    QTest::newRow("by the user") << QStringList{"set /a", "key Down", "key Down", "key Home"} << "" << "/a|/b|/";
    QTest::newRow("new volume list keeps or drops the drive") << QStringList{"set /a", "volumes /,/a", "volumes /b"} << "" << "/a|";
    QTest::newRow("set back inside the event") << QStringList{"set /a", "set /b"} << "/b" << "/a|/b|/a";
    // clang-format on
}

void TestSelectors::driveChanges()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, refused);
    QFETCH(QString, events);
    DriveSelector selector;
    selector.setVolumes({"/", "/a", "/b"});
    selector.show();
    QStringList log;
    QString previous;
    connect(&selector, &DriveSelector::driveChanged, this, [&] {
        log << selector.drive();
        if (selector.drive() == refused)
            selector.setDrive(previous);
        previous = selector.drive();
    });
    for (const QString& step : steps) {
        const QString verb = step.section(' ', 0, 0), arg = step.section(' ', 1);
        if (verb == "set" && !selector.setDrive(arg))
            log << step + " refused";
        else if (verb == "key")
            QTest::keyClick(&selector, Qt::Key(QKeySequence(arg)[0].key()));
        else if (verb == "volumes")
            selector.setVolumes(arg.split(','));
    }
    QCOMPARE(log.join('|'), events);
    QCOMPARE(selector.currentText(), selector.drive());
}

void TestSelectors::mountedVolumesAreRealDisks()
{
    const QStringList roots = DriveSelector::mountedVolumes();
    QVERIFY(roots.contains("/"));
    QVERIFY(std::is_sorted(roots.begin(), roots.end()));
    for (const char* plumbing : {"/proc", "/sys", "/dev/pts", "/sys/fs/cgroup"})
        QVERIFY2(!roots.contains(QString(plumbing)), plumbing);
}

QTEST_MAIN(TestSelectors)
#include "tst_selectors.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The drive and folder selectors: the folder list as the user moves through it, hidden
// folders, names that are not valid text, which drive holds a path and the folder
// remembered per drive.

#include "window/DriveSelector.h"
#include "window/FolderSelector.h"

#include "support/FoldingMount.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace pellory;

namespace {

// The items below `base` (the temporary folder's own item) as "name@level" with levels
// counted from it, joined with "|", and the current item marked with "*".
QString itemsBelow(const FolderSelector& selector, const QString& base)
{
    const int baseLevel = int(QDir::cleanPath(base).count('/'));
    QStringList shown;
    for (int row = 0; row < selector.count(); ++row) {
        const QListWidgetItem* item = selector.item(row);
        const int level = item->data(FolderSelector::LevelRole).toInt() - baseLevel;
        if (level > 0)
            shown << (item == selector.currentItem() ? "*" : "") + item->text() + '@' +
                         QString::number(level);
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
    void folderSteps_data();
    void folderSteps();
    void drives();
};

void TestSelectors::folderSteps_data()
{
    // From folder "a": "set PATH" from code; "Enter X", "Return X", "double-click X" or
    // "arrows X" move the highlight onto item X with the arrow keys, then do as they say;
    // "Backspace"; "hidden" checks or unchecks "Show Hidden Folders".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("outcome"); // refused steps, then the items at the end
    const QString inA = "*a@1|b@2|b2@2", inB = "a@1|*b@2|c@3|D@3";
    // clang-format off
    QTest::newRow("nested and mixed case, hidden not listed") << QStringList{"set a/b"} << 1 << inB;
    QTest::newRow("hidden listed when checked") << QStringList{"hidden", "set a/b"} << 1 << "a@1|*b@2|.hidden@3|c@3|D@3";
    QTest::newRow("hidden current folder shown") << QStringList{"set a/b/.hidden"} << 1 << "a@1|b@2|*.hidden@3";
    QTest::newRow("link to folder listed, link to file not") << QStringList{"set ."} << 1 << "a@1|caf\uFFFD@1|l1@1|locked@1|t@1";
    QTest::newRow("name not valid text opens") << QStringList{"set .", "Return caf\uFFFD", "Return inner", "Backspace"} << 4 << "*caf\uFFFD@1|inner@2";
    QTest::newRow("the same folder, spelt otherwise") << QStringList{"set a/b/../"} << 0 << inA;
    QTest::newRow("missing folder") << QStringList{"set missing"} << 0 << "set missing refused 1|" + inA;
    QTest::newRow("unreadable folder") << QStringList{"set locked"} << 0 << "set locked refused 1|" + inA;
    QTest::newRow("a file") << QStringList{"set f.txt"} << 0 << "set f.txt refused 2|" + inA;
    QTest::newRow("mount that stopped answering") << QStringList{"set hung"} << 0 << "set hung refused 3|" + inA;
    QTest::newRow("Return opens a subfolder") << QStringList{"Return b"} << 1 << inB;
    QTest::newRow("Enter opens an ancestor") << QStringList{"set a/b", "Enter a"} << 2 << inA;
    QTest::newRow("Enter on the current folder") << QStringList{"Enter a"} << 0 << inA;
    QTest::newRow("Backspace goes up") << QStringList{"set a/b", "Backspace"} << 2 << inA;
    QTest::newRow("double-click opens") << QStringList{"double-click b"} << 1 << inB;
    QTest::newRow("arrows only move the highlight") << QStringList{"arrows b2"} << 0 << "a@1|b@2|*b2@2";
    // clang-format on
}

void TestSelectors::folderSteps()
{
    QFETCH(QStringList, steps);
    QFETCH(int, changes);
    QFETCH(QString, outcome);
    if (steps.contains("set locked") && ::geteuid() == 0)
        QSKIP("the super-user opens every folder");
    std::optional<testing::FoldingMount> hung;
    if (steps.contains("set hung")) {
        hung.emplace(testing::MountKind::ExfatFuse);
        if (hung->path().isEmpty())
            QSKIP(qPrintable(hung->skipReason()));
    }
    QTemporaryDir dir;
    for (const char* folder : {"a/b/c", "a/b/.hidden", "a/b/D", "a/b2", "locked", "t"})
        QVERIFY(QDir(dir.path()).mkpath(folder));
    QVERIFY(QFile(dir.filePath("f.txt")).open(QIODevice::WriteOnly));
    QVERIFY(QFile::link("t", dir.filePath("l1")) && QFile::link("f.txt", dir.filePath("l2")));
    QVERIFY(QFile::setPermissions(dir.path() + "/locked", QFileDevice::WriteOwner));
    const QByteArray odd = QFile::encodeName(dir.path()) + "/caf\xe9"; // not valid UTF-8
    QVERIFY(::mkdir(odd.constData(), 0755) == 0 && ::mkdir(odd + "/inner", 0755) == 0);
    const auto removeOdd = qScopeGuard([&] { ::rmdir(odd + "/inner"), ::rmdir(odd); });
    if (hung) // a server that stops answering once the mount is in use
        QVERIFY(QFile::link(hung->path(), dir.filePath("hung")) && hung->stop(true));
    FolderSelector selector;
    selector.resize(300, 400);
    selector.show();
    QVERIFY(selector.setPath(dir.path() + "/a"));
    QStringList seen, shown;
    connect(&selector, &FolderSelector::pathChanged, this,
            [&] { seen << itemsBelow(selector, dir.path()); });

    for (const QString& step : steps) {
        const QString verb = step.section(' ', 0, 0), target = step.section(' ', 1);
        if (verb == "set" && !selector.setPath(dir.path() + '/' + target))
            shown << step + " refused " + QString::number(int(selector.refusal()));
        for (QAction* action : selector.actions()) { // its context menu's entries
            if (verb == "hidden" && action->text() == "Show Hidden Folders")
                action->trigger();
        }
        if (verb == "set" || verb == "hidden")
            continue;
        if (verb != "Backspace")
            moveHighlightTo(selector, target);
        const QPoint at = selector.visualItemRect(selector.currentItem()).center();
        if (verb == "double-click") { // reaches the widget as a click, then a double-click
            QTest::mouseClick(selector.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(selector.viewport(), Qt::LeftButton, {}, at);
        } else if (verb != "arrows") {
            QTest::keyClick(&selector, Qt::Key(QKeySequence(verb)[0].key()));
        }
    }
    if (hung) // the folder's removal looks into the mount through the link
        QVERIFY(hung->stop(false));
    shown << itemsBelow(selector, dir.path());
    QCOMPARE(shown.join('|'), outcome);
    QCOMPARE(seen.size(), changes); // once per change, before setPath returned
    QCOMPARE(seen.value(changes - 1, shown.last()), shown.last());
    QCOMPARE(selector.item(0)->text(), QString("/"));
}

void TestSelectors::drives()
{
    DriveSelector selector;
    selector.setVolumes({"/", "/home", "/media/usb", "/media/usb2"});
    QStringList drives; // the deepest root wins; a name that only starts alike does not
    for (const char* path : {"/media/usb/photos", "/media/usbx", "relative"})
        drives << selector.driveOf(path);
    QCOMPARE(drives.join('|'), QString("/media/usb|/|"));
    for (const char* path : {"/media/usb/photos", "/media/usb2/x", "/tmp/y/", "/media/usb/z"})
        selector.rememberFolder(path);
    const QStringList remembered{selector.folderFor("/media/usb"),
                                 selector.folderFor("/media/usb2"), selector.folderFor("/"),
                                 selector.folderFor("/never/visited")};
    QCOMPARE(remembered.join('|'), QString("/media/usb/z|/media/usb2/x|/tmp/y|/never/visited"));
    // One Change per change: a path picks the drive that holds it. A drive that cannot be
    // opened is set back by the window (tst_window).
    QStringList log;
    connect(&selector, &DriveSelector::driveChanged, this, [&] { log << selector.drive(); });
    for (const char* drive : {"/media/usb", "/media/usb/sub", "relative", "/etc"}) {
        if (!selector.setDrive(drive))
            log << QString(drive) + " refused";
    }
    QCOMPARE(log.join('|'), "/media/usb|relative refused|/");
    QCOMPARE(selector.currentText(), selector.drive());
    selector.setVolumes({"/media/usb"});
    QCOMPARE(selector.driveOf("/etc"), QString()); // no volume holds it
}

QTEST_MAIN(TestSelectors)
#include "tst_selectors.moc"

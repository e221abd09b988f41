// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The operating-system seams on real folders: which names a specification matches, what the
// scan reports of them, file times, the drives of a mount table, renames in place that
// never replace an entry, also where the file system folds case, and the folder's watch.

#include "platform/DirectoryScan.h"
#include "platform/FileTime.h"
#include "platform/FolderWatch.h"
#include "platform/Rename.h"
#include "platform/Volumes.h"
#include "platform/Wildcard.h"

#include "support/Files.h"
#include "support/FoldingMount.h"
#include "support/StepRecorder.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <limits>

using namespace pellory;
using namespace pellory::testing;

namespace {

// A new folder holding `file` in the place of `folder`, as a user may make between renames.
bool replaceFolder(const QString& folder, const QByteArray& file)
{
    const QByteArray path = QFile::encodeName(folder);
    return ::rename(path.constData(), (path + "-old").constData()) == 0 &&
           ::mkdir(path.constData(), 0755) == 0 && makeEntry(folder, file);
}

// What lookAtFolder() found, in 50 ms; `slow`: the folder answers only after 300 ms.
QByteArray firstLook(const QByteArray& folder, bool slow)
{
    // Limits far apart, so that a loaded machine neither starves an answering look nor lets
    // a hanging one in.
    const auto hang = [](const QByteArray& path) {
        QThread::msleep(2000);
        return lookAtFolderNow(path);
    };
    PickedFolder look = lookAtFolder(folder, slow ? 100 : 20000, slow ? +hang : lookAtFolderNow);
    if (!look.answered || !look.isFolder)
        return !look.answered ? "no answer" : "file";
    // All of its entries, read in the same pass, as a scan that follows takes them.
    QByteArrayList files;
    for (const FolderListing::Entry& entry : look.files->entries()) {
        const std::string_view name = look.files->name(entry);
        if (entry.inode !=
            entryInode(folder + '/' + QByteArray(name.data(), qsizetype(name.size()))))
            return "inode of " + QByteArray(name.data(), qsizetype(name.size()));
        files << QByteArray(name.data(), qsizetype(name.size()));
    }
    std::sort(look.subfolders.begin(), look.subfolders.end());
    std::sort(files.begin(), files.end());
    return look.subfolders.join('|') + " / " + files.join('|');
}

const char* const mountNames[] = {"exfat-fuse", "fusefat", "vfat"}; // by MountKind

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        setFirstRenameRoute(RenameRoute::NoReplaceFlag);
        setAfterReservingHook({});
    }

    void scan_data()
    {
        QTest::addColumn<QByteArrayList>("setup");
        QTest::addColumn<QString>("spec");
        QTest::addColumn<QByteArray>("expected"); // the names' bytes sorted, or "failed"
        QTest::addColumn<QByteArray>("in");       // the subfolder scanned; "": the folder
        const auto row = [](const char* tag, const QByteArrayList& setup, const char* spec,
                            const char* expected, const char* in = "") {
            QTest::newRow(tag) << setup << QString::fromUtf8(spec) << QByteArray(expected)
                               << QByteArray(in);
        };
        const QByteArrayList photos{"a.jpg", "b.GIF", "d.jpg/", ".hidden.jpg", "SUB/", "SUB/a.JPG"};
        const QByteArray aaa(250, 'a');
        // clang-format off
        row("IMG??.* two characters, case folded", {"img12.x", "IMG1.jpg", "IMG123.jpg"}, "IMG??.*", "img12.x");
        row("*.JPG not jpeg", {"a.jpeg", "a.jpg.bak", "x.y.jpg"}, "*.JPG", "x.y.jpg");
        row("empty pattern", photos, "", "failed");
        row("star dot star, dotless too", {"README", "a.b"}, "*.*", "README|a.b");
        row("a star dot star needs dot", {"abc", "ab.c"}, "a*.*", "ab.c");
        row("star dot: only dotless", {"Makefile", "a.txt", "\xc3\xa9.txt", "\xc3\x9c"}, "*.", "Makefile|\xc3\x9c");
        row("question vs surrogate pair", {"\xf0\x9f\x98\x80.png", "ab.png"}, "?.png", "\xf0\x9f\x98\x80.png");
        row("fold accented", {"\xc3\x89T\xc3\x89.JPG"}, "*.jpg", "\xc3\x89T\xc3\x89.JPG");
        row("fold outside BMP", {"\xf0\x90\x90\xa8"}, "\xf0\x90\x90\x80", "\xf0\x90\x90\xa8");
        row("backtrack to last star", {"abcabcabd"}, "*abc*abd", "abcabcabd");
        // Going back to the last star only: trying every split between the stars never ends.
        row("many stars, long name", {aaa}, "*a*a*a*a*a*a*a*a*a*a*b", "");
        row("folder not listed, hidden file is", photos, "*.JPG", ".hidden.jpg|a.jpg");
        row("link to folder not listed", {"sub/", "tosub>sub", "x"}, "*", "x");
        row("links to files listed", {"a", "b>a", "gone>nowhere", "loop>loop"}, "*", "a|b|gone|loop");
        row("untimed: links to files listed, folders not", {"a", "b>a", "c", "gone>nowhere", "sub/", "tosub>sub"}, "untimed *", "a|b|c|gone");
        row("Latin-1 bytes kept", {"caf\xE9 \xFF.txt", "cafe.txt"}, "caf? ?.TXT", "caf\xE9 \xFF.txt");
        // The list shows one folder; a pattern reaching into another lists nothing of it.
        row("spec with folder part", photos, "SUB/*.JPG", "failed");
        row("spec reaching the parent", photos, "../*.jpg", "failed", "SUB");
        row("missing folder", photos, "*", "failed", "NOPE");
        row("folder not valid UTF-8", {"caf\xe9/", "caf\xe9/a.txt", "caf\xe9/b.jpg", "c.txt"}, "*.txt", "a.txt", "caf\xe9");
        // "look": the first look at a folder the user picks; "look slow": one that hangs.
        row("first look lists subfolders, hidden too", {".h/", "b/", "a.txt", "a/", "ln>b", "gone>nowhere"}, "look", ".h|a|b|ln / .h|a|a.txt|b|gone|ln");
        row("first look at a file", {"a.txt"}, "look", "file", "a.txt");
        row("first look, no answer in time", {"b/"}, "look slow", "no answer");
        // clang-format on
    }
    void scan()
    {
        QFETCH(QByteArrayList, setup);
        QFETCH(QString, spec);
        QFETCH(QByteArray, expected);
        QFETCH(QByteArray, in);
        QTemporaryDir dir;
        const auto emptyFolder = qScopeGuard([&] { removeInside(QFile::encodeName(dir.path())); });
        for (const QByteArray& line : setup)
            QVERIFY2(makeEntry(dir.path(), line), line.constData());
        std::vector<DirEntry> entries(1, DirEntry{"kept", "kept", 0}); // found files are appended
        const QByteArray folder = QFile::encodeName(dir.path()) + (in.isEmpty() ? "" : '/' + in);
        if (spec.startsWith("look")) {
            QCOMPARE(firstLook(folder, spec == "look slow"), expected);
            return;
        }
        // "untimed": each file's time is not asked for, so most files are not stat'ed.
        const bool untimed = spec.startsWith("untimed ");
        const auto append = [&](DirEntry&& entry) { entries.push_back(std::move(entry)); };
        const std::shared_ptr<const FolderListing> listing = listFolder(folder);
        const bool opened = listing && forEachMatchingFile(
                                           *listing, untimed ? spec.mid(8) : spec, append, [] {},
                                           untimed ? EntryTime::WithoutTime : EntryTime::WithTime);
        QByteArrayList names;
        for (std::size_t i = 1; i < entries.size(); ++i) {
            QCOMPARE(entries[i].name, QFile::decodeName(entries[i].rawName));
            QCOMPARE(entries[i].inode, entryInode(folder + '/' + entries[i].rawName));
            names << entries[i].rawName;
        }
        std::sort(names.begin(), names.end());
        QCOMPARE(opened ? names.join('|') : "failed", expected);
        QCOMPARE(entries.front().name, QString("kept"));
    }

    void writeTime_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("nanoseconds");
        QTest::addColumn<quint64>("ticks"); // of 100 ns since 1601
        constexpr quint64 at1970 = 116444736000000000ULL,
                          most = std::numeric_limits<quint64>::max();
        constexpr qint64 from1601 = -11644473600LL;
        // clang-format off
        QTest::newRow("nanoseconds cut to ticks") << qint64(1700000000) << qint64(123456789) << at1970 + 17000000000000000 + 1234567;
        QTest::newRow("before 1970") << qint64(-86400) << qint64(500) << at1970 - 864000000000 + 5;
        QTest::newRow("before 1601 clamps") << from1601 - 1 << qint64(999999999) << quint64(0);
        QTest::newRow("largest that fits") << from1601 + 1844674407370 << qint64(955161400) << most - 1;
        QTest::newRow("far future saturates") << std::numeric_limits<qint64>::max() << qint64(0) << most;
        // clang-format on
    }
    void writeTime()
    {
        QFETCH(qint64, seconds);
        QFETCH(qint64, nanoseconds);
        QFETCH(quint64, ticks);
        QCOMPARE(fileTimeFromTimespec({time_t(seconds), long(nanoseconds)}), ticks);
    }

    void volumes_data()
    {
        QTest::addColumn<QByteArrayList>("mounts"); // "mount-point type source" per line
        QTest::addColumn<QString>("roots");
        // clang-format off
        QTest::newRow("disks kept, plumbing and loop images not") << QByteArrayList{"/ ext4 /dev/vda", "/proc proc proc", "/run tmpfs tmpfs", "/snap/core squashfs /dev/loop3", "/media/usb vfat /dev/sdb1"} << "/|/media/usb";
        QTest::newRow("network and FUSE disks") << QByteArrayList{"/net nfs4 srv:/export", "/smb cifs //srv/share", "/ssh fuse.sshfs me@host:", "/gvfs fuse.gvfsd-fuse gvfsd-fuse", "/ntfs fuseblk /dev/sdc1"} << "/|/net|/ntfs|/smb|/ssh";
        QTest::newRow("escapes decoded") << QByteArrayList{"/media/My\\040Disk\\134x ext4 /dev/sdd1"} << "/|/media/My Disk\\x";
        QTest::newRow("sorted, mounted twice listed once") << QByteArrayList{"/b ext4 /dev/sda2", "/a ext4 /dev/sda3", "/b ext4 /dev/sda4"} << "/|/a|/b";
        // clang-format on
    }
    // From the text of the mount table alone, whose lines may carry optional fields before
    // the "-".
    void volumes()
    {
        QFETCH(QByteArrayList, mounts);
        QFETCH(QString, roots);
        QByteArray table;
        for (const QByteArray& m : mounts) {
            const QByteArrayList f = m.split(' ');
            table +=
                "36 25 8:1 / " + f[0] + " rw shared:1 master:2 - " + f[1] + ' ' + f[2] + " rw\n";
        }
        QCOMPARE(volumesInMountTable(table).join(u'|'), roots);
    }

    void rename_data()
    {
        QTest::addColumn<int>("mount"); // a MountKind, or -1 for a temporary folder
        QTest::addColumn<QByteArray>("files");
        QTest::addColumn<QByteArray>("steps"); // "old>new", "+file": the folder replaced, "@sub":
                                               // the renames from here on in its subfolder sub,
                                               // "!file": another program renames file onto a
                                               // name we reserved, "~text": writes text into it
                                               // (check-then-rename alone)
        QTest::addColumn<int>("error");        // of the last step; the others succeed
        QTest::addColumn<QString>("description"); // the system's own text when empty
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QByteArray>("observed"); // the steps on disk told (StepRecorder)
        QTest::addColumn<int>("refuseAt");        // the step told that the observer refuses
        const auto row = [](const char* tag, int mount, const char* files, const QByteArray& steps,
                            int error, const char* description, const QByteArray& after,
                            const QByteArray& observed, int refuseAt = 0) {
            QTest::addRow("%s%s", mount < 0 ? "" : mountNames[mount], tag)
                << mount << QByteArray(files) << steps << error << QString(description)
                << QByteArray(after) << observed << refuseAt;
        };
        const QByteArray x255(255, 'x');
        // clang-format off
        row("refused: empty", -1, "a.txt", "a.txt>", EINVAL, "The new name may not be empty", "a.txt=a.txt", "");
        row("refused: dot dot", -1, "a.txt", "a.txt>..", EINVAL, "The new name may not be \"..\"", "a.txt=a.txt", "");
        row("refused: slash", -1, "a.txt", "a.txt>sub/a.txt", EINVAL, "The new name may not contain \"/\"", "a.txt=a.txt", "");
        row("refused: NUL", -1, "a.txt", QByteArray("a.txt>a\0b", 9), EINVAL, "The new name may not contain a NUL character", "a.txt=a.txt", "");
        row("refused: old name with a folder", -1, "a.txt", "./a.txt>b.txt", EINVAL, "The old name is not a name in the folder", "a.txt=a.txt", "");
        row("renamed", -1, "a.txt|b.txt", "a.txt>c.txt", 0, "", "b.txt=b.txt|c.txt=a.txt", "a.txt>c.txt");
        row("target exists", -1, "a.txt|b.txt", "a.txt>b.txt", EEXIST, "", "a.txt=a.txt|b.txt=b.txt", "a.txt>b.txt!");
        row("vanished", -1, "b.txt", "a.txt>c.txt", ENOENT, "", "b.txt=b.txt", "a.txt>c.txt!");
        row("target appears between", -1, "a.txt|x", "!x|a.txt>b.txt", EEXIST, "", "a.txt=a.txt|b.txt=x", "a.txt>b.txt!");
        row("reserved name written between", -1, "a.txt", "~x|a.txt>b.txt", EEXIST, "", "a.txt=a.txt|b.txt=x", "a.txt>b.txt!");
        row("raw bytes old name", -1, "\xff\xfe.jpg", "\xff\xfe.jpg>ok.jpg", 0, "", "ok.jpg=\xff\xfe.jpg", "\xff\xfe.jpg>ok.jpg");
        row("255-byte name", -1, "a.txt", "a.txt>" + x255, 0, "", x255 + "=a.txt", "a.txt>" + x255);
        row("refused: 128 characters, 256 bytes", -1, "a.txt", "a.txt>" + QByteArray("\xc3\xa9").repeated(128), ENAMETOOLONG, "The new name may not be longer than 255 bytes", "a.txt=a.txt", "");
        row("own name", -1, "a.txt", "a.txt>a.txt", 0, "", "a.txt=a.txt", "");
        row("own name as read back", -1, "\xff.jpg", "\xff.jpg>\xff.jpg", 0, "", "\xff.jpg=\xff.jpg", "");
        // Two links that differ only in case are two names on a case-sensitive file system.
        row("hard links differing only in case", -1, "a|A:a", "a>A", EEXIST, "", "A=a|a=a", "a>A!");
        row("folder replaced under the open handle", -1, "a", "a>b|+c|c>d", 0, "", "d=c", "a>b|c>d!|c>d");
        row("folder not valid UTF-8", -1, "caf\xe9/|caf\xe9/a", "@caf\xe9|a>b", 0, "", "caf\xe9/b=caf\xe9/a", "a>b");
        // A history that cannot be written refuses the step, and the file keeps its name.
        row("observer refuses", -1, "a.txt", "a.txt>b.txt", ECANCELED, "refused", "a.txt=a.txt", "a.txt>b.txt?", 1);
        // FUSE mounts of FAT and exFAT give each spelling of a name its own inode number, so
        // the same file can only be told from a second entry by the folder's listing. A
        // change of case there goes through a temporary name, and every step is told first.
        for (const int m : {int(MountKind::ExfatFuse), int(MountKind::FatFuse), int(MountKind::FatKernel)}) {
            row(": batch to lower case", m, "IMG_0001.JPG|Holiday Photo.JPEG", "IMG_0001.JPG>img_0001.jpg|Holiday Photo.JPEG>holiday photo.jpeg", 0, "", "holiday photo.jpeg=Holiday Photo.JPEG|img_0001.jpg=IMG_0001.JPG",
                "IMG_0001.JPG>img_0001.jpg!|IMG_0001.JPG>T|T>img_0001.jpg|Holiday Photo.JPEG>holiday photo.jpeg!|Holiday Photo.JPEG>T|T>holiday photo.jpeg");
            row(": other file's name", m, "a.txt|b.txt", "a.txt>B.TXT", EEXIST, "", "a.txt=a.txt|b.txt=b.txt", "a.txt>B.TXT!");
            row(": step from the temporary name refused, step back", m, "a.txt", "a.txt>A.TXT", ECANCELED, "refused", "a.txt=a.txt", "a.txt>A.TXT!|a.txt>T|T>A.TXT?|T>a.txt", 3);
        }
        // clang-format on
    }
    // Through the renamer a batch uses, and on a temporary folder through each route a
    // rename can take: the no-replace flag, and the fallbacks of file systems without the
    // flag or without hard links.
    void rename()
    {
        QFETCH(int, mount);
        QFETCH(QByteArray, files);
        QFETCH(QByteArray, steps);
        QFETCH(int, error);
        QFETCH(QString, description);
        QFETCH(QByteArray, after);
        QFETCH(QByteArray, observed);
        QFETCH(int, refuseAt);
        for (const RenameRoute route : {RenameRoute::NoReplaceFlag, RenameRoute::LinkThenUnlink,
                                        RenameRoute::CheckThenRename}) {
            if ((steps.startsWith('!') || steps.startsWith('~')) &&
                route != RenameRoute::CheckThenRename)
                continue; // only that route leaves a moment between the look and the rename
            QTemporaryDir dir;
            const auto emptyFolder =
                qScopeGuard([&] { removeInside(QFile::encodeName(dir.path())); });
            std::unique_ptr<FoldingMount> disk;
            if (mount >= 0)
                disk = std::make_unique<FoldingMount>(MountKind(mount));
            if (disk && disk->path().isEmpty())
                QSKIP(qPrintable(disk->skipReason()));
            const QString folder = disk ? disk->path() : dir.filePath("f");
            QByteArray at = QFile::encodeName(folder);
            QVERIFY(disk || QDir().mkdir(folder));
            for (const QByteArray& file : files.split('|'))
                QVERIFY(makeEntry(folder, file));
            QVERIFY(!disk || folderFoldsCase(at));
            setFirstRenameRoute(route);
            SystemRenamer renamer;
            StepRecorder observer;
            observer.refuseAt = refuseAt;
            RenameOutcome r{true, 0, {}};
            for (const QByteArray& step : steps.split('|')) {
                QVERIFY2(r.ok, qPrintable(r.description));
                if (step.startsWith('+'))
                    QVERIFY(replaceFolder(folder, step.mid(1)));
                else if (step.startsWith('@'))
                    at += '/' + step.mid(1);
                else if (step.startsWith('!'))
                    setAfterReservingHook([intruder = step.mid(1)](int dir, const char* name) {
                        ::renameat(dir, intruder.constData(), dir, name);
                    });
                else if (step.startsWith('~')) // written without O_EXCL, as a shell's ">>"
                    setAfterReservingHook([text = step.mid(1)](int dir, const char* name) {
                        const int fd = ::openat(dir, name, O_WRONLY | O_APPEND | O_CLOEXEC);
                        QVERIFY(fd >= 0 &&
                                ::write(fd, text.constData(), size_t(text.size())) == text.size());
                        ::close(fd);
                    });
                else {
                    const QByteArray oldRaw = step.split('>')[0];
                    const QString newName = QString::fromUtf8(step.split('>')[1]);
                    r = renamer.rename(at, oldRaw, newName, &observer);
                }
            }
            QCOMPARE(r.error, error);
            QCOMPARE(r.ok, error == 0);
            QCOMPARE(r.description, error && description.isEmpty() ? strerror(error) : description);
            QCOMPARE(listing(folder), after);
            QCOMPARE(observer.joined(), observed);
            if (disk)
                break; // the mounts run the route their file system takes
        }
    }

    // Steps on a folder holding "a": "ready=folder" or "ready=gone" sets a watch up ahead
    // (of a folder that is not there), "adopt" hands it to the window's watch, "watch" has
    // that watch set itself up, "pause" narrows it for a run; "make=NAME", "ren=A>B" change
    // the folder. `told`: whether the window's watch tells of a change afterwards.
    void watch_data()
    {
        QTest::addColumn<QByteArrayList>("steps");
        QTest::addColumn<bool>("told");
        const auto row = [](const char* name, const QByteArray& steps, bool told) {
            QTest::newRow(name) << steps.split(' ') << told;
        };
        // clang-format off
        row("made after the watch", "watch make=b", true);
        row("nothing made", "watch", false);
        row("paused: renames not told", "watch pause ren=a>c", false);
        row("paused: a file made is told", "watch pause make=b", true);
        row("watched again: what came before is dropped", "watch make=b watch", false);
        row("watched again after a pause: renames told", "watch pause watch ren=a>c", true);
        // clang-format on
    }

    void watch()
    {
        QFETCH(QByteArrayList, steps);
        QFETCH(bool, told);
        QTemporaryDir root;
        QVERIFY(makeEntry(root.path(), "a"));
        const QByteArray folder = QFile::encodeName(root.path());
        FolderWatch watch;
        int changes = 0;
        connect(&watch, &FolderWatch::changed, this, [&changes] { ++changes; });
        for (const QByteArray& step : steps) {
            const QByteArray value = step.mid(step.indexOf('=') + 1);
            if (step == "watch")
                watch.watch(folder);
            else if (step == "pause")
                watch.pause();
            else if (step.startsWith("make="))
                QVERIFY(makeEntry(root.path(), value));
            else if (step.startsWith("ren="))
                QCOMPARE(::rename((folder + '/' + value.split('>')[0]).constData(),
                                  (folder + '/' + value.split('>')[1]).constData()),
                         0);
        }
        if (told)
            QTRY_VERIFY_WITH_TIMEOUT(changes > 0, 5000);
        else
            QTest::qWait(200); // notices are read at once; none may come
        QCOMPARE(changes > 0, told);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"

#include "platform/Rename.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace pellory;

Q_DECLARE_METATYPE(RenameRoute)

namespace {

// Every file holds its own first name, so that a listing shows whether contents moved
// with their names.
void makeFile(const QString& folder, const QByteArray& name)
{
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    QVERIFY2(fd >= 0, path.constData());
    QCOMPARE(::write(fd, name.constData(), size_t(name.size())), ssize_t(name.size()));
    ::close(fd);
}

// "name=contents" of every entry, sorted by bytes and joined with "|".
QByteArray listing(const QString& folder)
{
    QByteArrayList entries;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    while (const dirent* e = dir ? ::readdir(dir) : nullptr) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        QFile file(QFile::decodeName(QFile::encodeName(folder) + '/' + name));
        entries << name + '=' + (file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    if (dir)
        ::closedir(dir);
    std::sort(entries.begin(), entries.end());
    return entries.join('|');
}

bool run(const QString& program, const QStringList& args, QString& why)
{
    QProcess p;
    p.start(program, args);
    if (p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    why = p.error() == QProcess::FailedToStart ? program + QStringLiteral(" not found")
                                               : QString::fromLocal8Bit(p.readAllStandardError());
    return false;
}

} // namespace

class tst_Rename : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setFirstRenameRoute(RenameRoute::NoReplaceFlag); }
    void refusedNames_data();
    void refusedNames();
    void onDisk_data();
    void onDisk();
    void hardLinksDifferingOnlyInCase();
    void readOnlyMount();
    void permissionDenied();
    void caseOnlyOnFoldingMount();
};

void tst_Rename::refusedNames_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("description");
    QTest::newRow("empty") << ""
                           << "The new name may not be empty";
    QTest::newRow("dot") << "."
                         << "The new name may not be \".\"";
    QTest::newRow("dot dot") << ".."
                             << "The new name may not be \"..\"";
    QTest::newRow("slash") << "sub/a.txt"
                           << "The new name may not contain \"/\"";
    QTest::newRow("NUL") << QString("a") + QChar(0) + "b"
                         << "The new name may not contain a NUL character";
}

void tst_Rename::refusedNames()
{
    QFETCH(QString, newName);
    QFETCH(QString, description);
    QTemporaryDir dir;
    makeFile(dir.path(), "a.txt");
    const RenameOutcome r = renameInPlace(dir.path(), "a.txt", newName);
    QCOMPARE(r.ok, false);
    QCOMPARE(r.error, EINVAL);
    QCOMPARE(r.description, description);
    QCOMPARE(listing(dir.path()), QByteArray("a.txt=a.txt"));
}

void tst_Rename::onDisk_data()
{
    QTest::addColumn<RenameRoute>("route");
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArray>("oldRaw");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArray>("after");
    const QString longName = QString(300, u'x');
    const struct
    {
        const char* name;
        RenameRoute route;
    } routes[] = {{"flag", RenameRoute::NoReplaceFlag},
                  {"link", RenameRoute::LinkThenUnlink},
                  {"check", RenameRoute::CheckThenRename}};
    for (const auto& r : routes) {
        auto row = [&](const char* what) -> QTestData& {
            return QTest::addRow("%s: %s", r.name, what) << r.route;
        };
        row("renamed") << QByteArrayList{"a.txt", "b.txt"} << QByteArray("a.txt") << "c.txt" << 0
                       << QByteArray("b.txt=b.txt|c.txt=a.txt");
        row("target exists") << QByteArrayList{"a.txt", "b.txt"} << QByteArray("a.txt") << "b.txt"
                             << EEXIST << QByteArray("a.txt=a.txt|b.txt=b.txt");
        row("vanished") << QByteArrayList{"b.txt"} << QByteArray("a.txt") << "c.txt" << ENOENT
                        << QByteArray("b.txt=b.txt");
        row("raw bytes old name") << QByteArrayList{"\xff\xfe.jpg"} << QByteArray("\xff\xfe.jpg")
                                  << "ok.jpg" << 0 << QByteArray("ok.jpg=\xff\xfe.jpg");
        row("300-byte name") << QByteArrayList{"a.txt"} << QByteArray("a.txt") << longName
                             << ENAMETOOLONG << QByteArray("a.txt=a.txt");
        row("same name") << QByteArrayList{"a.txt"} << QByteArray("a.txt") << "a.txt" << 0
                         << QByteArray("a.txt=a.txt");
    }
}

void tst_Rename::onDisk()
{
    QFETCH(RenameRoute, route);
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArray, oldRaw);
    QFETCH(QString, newName);
    QFETCH(int, error);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    for (const QByteArray& f : files)
        makeFile(dir.path(), f);
    setFirstRenameRoute(route);
    const RenameOutcome r = renameInPlace(dir.path(), oldRaw, newName);
    QCOMPARE(r.error, error);
    QCOMPARE(r.ok, error == 0);
    QCOMPARE(r.description, error ? QString::fromLocal8Bit(strerror(error)) : QString());
    QCOMPARE(listing(dir.path()), after);
}

// Two links that differ only in case are two names on a case-sensitive file system: the
// detour through a temporary name must end where it began.
void tst_Rename::hardLinksDifferingOnlyInCase()
{
    QTemporaryDir dir;
    makeFile(dir.path(), "a");
    QCOMPARE(::link(QFile::encodeName(dir.filePath("a")), QFile::encodeName(dir.filePath("A"))), 0);
    const RenameOutcome r = renameInPlace(dir.path(), "a", "A");
    QCOMPARE(r.error, EEXIST);
    QCOMPARE(listing(dir.path()), QByteArray("A=a|a=a"));
}

void tst_Rename::readOnlyMount()
{
    QTemporaryDir dir;
    const QByteArray mnt = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mnt.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP(qPrintable("cannot mount a tmpfs here: " + QString::fromLocal8Bit(strerror(errno))));
    makeFile(dir.path(), "a.txt");
    const bool ro =
        ::mount(nullptr, mnt.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    const RenameOutcome r = renameInPlace(dir.path(), "a.txt", "b.txt");
    const QByteArray after = listing(dir.path());
    ::umount2(mnt.constData(), MNT_DETACH);
    QVERIFY(ro);
    QCOMPARE(r.error, EROFS);
    QCOMPARE(after, QByteArray("a.txt=a.txt"));
}

// Root passes every permission check, so the check is made as another user: the file
// system identity of this thread alone changes, and changes back.
void tst_Rename::permissionDenied()
{
    if (::geteuid() != 0)
        QSKIP("needs root to take on another user's file system identity");
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadOther | QFile::ExeOther));
    makeFile(dir.path(), "a.txt");
    ::setfsuid(65534);
    const RenameOutcome r = renameInPlace(dir.path(), "a.txt", "b.txt");
    ::setfsuid(0);
    QCOMPARE(r.error, EACCES);
    QCOMPARE(r.description, QString::fromLocal8Bit(strerror(EACCES)));
    QCOMPARE(listing(dir.path()), QByteArray("a.txt=a.txt"));
}

void tst_Rename::caseOnlyOnFoldingMount()
{
    QTemporaryDir dir;
    const QString image = dir.filePath("fat.img"), mnt = dir.filePath("mnt");
    QVERIFY(QDir(dir.path()).mkdir("mnt"));
    QFile img(image);
    QVERIFY(img.open(QIODevice::WriteOnly) && img.resize(4 << 20));
    img.close();
    QString why;
    if (::geteuid() != 0)
        QSKIP("mounting a FAT image needs root");
    if (!run("mkfs.vfat", {image}, why) || !run("mount", {"-o", "loop", image, mnt}, why))
        QSKIP(qPrintable("no FAT mount here: " + why.trimmed()));
    makeFile(mnt, "IMG_0001.JPG");
    const bool folds = folderFoldsCase(mnt);
    const RenameOutcome r = renameInPlace(mnt, "IMG_0001.JPG", "img_0001.jpg");
    const QByteArray after = listing(mnt);
    run("umount", {mnt}, why);
    QVERIFY(folds);
    QVERIFY2(r.ok, qPrintable(r.description));
    QCOMPARE(after, QByteArray("img_0001.jpg=IMG_0001.JPG"));
}

QTEST_GUILESS_MAIN(tst_Rename)
#include "tst_rename.moc"

#include "platform/Rename.h"

#include "FoldingMount.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
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
Q_DECLARE_METATYPE(pellory::test::FuseKind)

namespace {

// Every file holds its own first name, so that a listing shows whether contents moved
// with their names. Names are raw bytes, "|" between them.
void makeFiles(const QString& folder, const QByteArray& names)
{
    for (const QByteArray& name : names.split('|')) {
        const QByteArray path = QFile::encodeName(folder) + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY2(fd >= 0 && ::write(fd, name.constData(), size_t(name.size())) == name.size(),
                 path.constData());
        ::close(fd);
    }
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
        // By the bytes: QFile cannot open a name that is not valid UTF-8.
        const int fd = ::open((QFile::encodeName(folder) + '/' + name).constData(), O_RDONLY);
        char buffer[512];
        const ssize_t n = fd >= 0 ? ::read(fd, buffer, sizeof buffer) : -1;
        entries << name + '=' + (n >= 0 ? QByteArray(buffer, n) : QByteArray("?"));
        if (fd >= 0)
            ::close(fd);
    }
    if (dir)
        ::closedir(dir);
    std::sort(entries.begin(), entries.end());
    return entries.join('|');
}

// QTemporaryDir cannot remove names that are not valid UTF-8.
void unlinkAll(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    DIR* dir = ::opendir(path.constData());
    while (const dirent* e = dir ? ::readdir(dir) : nullptr)
        ::unlink((path + '/' + e->d_name).constData());
    if (dir)
        ::closedir(dir);
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
    void rename_data();
    void rename();
    void hardLinksDifferingOnlyInCase();
    void readOnlyMount();
    void permissionDenied();
    void caseOnlyOnFoldingMount();
    void caseOnlyOnFuseMount_data();
    void caseOnlyOnFuseMount();
};

void tst_Rename::rename_data()
{
    QTest::addColumn<RenameRoute>("route");
    QTest::addColumn<QByteArray>("files");
    QTest::addColumn<QByteArray>("oldRaw");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("description"); // the system's own text when empty
    QTest::addColumn<QByteArray>("after");
    const QString nul = QString("a") + QChar(0) + "b", longName(300, u'x');
    const struct
    {
        const char* tag;
        const char* oldRaw;
        QString newName;
        const char* description;
    } refusals[] = {
        {"empty", "a.txt", "", "The new name may not be empty"},
        {"dot", "a.txt", ".", "The new name may not be \".\""},
        {"dot dot", "a.txt", "..", "The new name may not be \"..\""},
        {"slash", "a.txt", "sub/a.txt", "The new name may not contain \"/\""},
        {"NUL", "a.txt", nul, "The new name may not contain a NUL character"},
        {"old name with a folder", "./a.txt", "b.txt", "The old name is not a name in the folder"}};
    for (const auto& r : refusals)
        QTest::addRow("refused: %s", r.tag)
            << RenameRoute::NoReplaceFlag << QByteArray("a.txt") << QByteArray(r.oldRaw)
            << r.newName << EINVAL << r.description << QByteArray("a.txt=a.txt");
    const struct
    {
        const char* tag;
        const char* files;
        const char* oldRaw;
        QString newName;
        int error;
        const char* after;
    } cases[] = {
        {"renamed", "a.txt|b.txt", "a.txt", "c.txt", 0, "b.txt=b.txt|c.txt=a.txt"},
        {"target exists", "a.txt|b.txt", "a.txt", "b.txt", EEXIST, "a.txt=a.txt|b.txt=b.txt"},
        {"vanished", "b.txt", "a.txt", "c.txt", ENOENT, "b.txt=b.txt"},
        {"raw bytes old name", "\xff\xfe.jpg", "\xff\xfe.jpg", "ok.jpg", 0, "ok.jpg=\xff\xfe.jpg"},
        {"300-byte name", "a.txt", "a.txt", longName, ENAMETOOLONG, "a.txt=a.txt"},
        {"own name", "a.txt", "a.txt", "a.txt", 0, "a.txt=a.txt"},
        {"own name as read back", "\xff.jpg", "\xff.jpg", QString::fromUtf8("\xff.jpg"), 0,
         "\xff.jpg=\xff.jpg"}};
    const std::pair<const char*, RenameRoute> routes[] = {{"flag", RenameRoute::NoReplaceFlag},
                                                          {"link", RenameRoute::LinkThenUnlink},
                                                          {"check", RenameRoute::CheckThenRename}};
    for (const auto& [routeName, route] : routes)
        for (const auto& c : cases)
            QTest::addRow("%s: %s", routeName, c.tag)
                << route << QByteArray(c.files) << QByteArray(c.oldRaw) << c.newName << c.error
                << QString() << QByteArray(c.after);
}

void tst_Rename::rename()
{
    QFETCH(RenameRoute, route);
    QFETCH(QByteArray, files);
    QFETCH(QByteArray, oldRaw);
    QFETCH(QString, newName);
    QFETCH(int, error);
    QFETCH(QString, description);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    makeFiles(dir.path(), files);
    const auto emptyFolder = qScopeGuard([&] { unlinkAll(dir.path()); });
    setFirstRenameRoute(route);
    const RenameOutcome r = renameInPlace(dir.path(), oldRaw, newName);
    QCOMPARE(r.error, error);
    QCOMPARE(r.ok, error == 0);
    if (description.isEmpty() && error)
        description = QString::fromLocal8Bit(strerror(error));
    QCOMPARE(r.description, description);
    QCOMPARE(listing(dir.path()), after);
}

// Two links that differ only in case are two names on a case-sensitive file system: the
// detour through a temporary name must end where it began.
void tst_Rename::hardLinksDifferingOnlyInCase()
{
    QTemporaryDir dir;
    makeFiles(dir.path(), "a");
    QCOMPARE(::link(QFile::encodeName(dir.filePath("a")), QFile::encodeName(dir.filePath("A"))), 0);
    QCOMPARE(renameInPlace(dir.path(), "a", "A").error, EEXIST);
    QCOMPARE(listing(dir.path()), QByteArray("A=a|a=a"));
}

void tst_Rename::readOnlyMount()
{
    QTemporaryDir dir;
    const QByteArray mnt = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mnt.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP(qPrintable("cannot mount a tmpfs here: " + QString::fromLocal8Bit(strerror(errno))));
    makeFiles(dir.path(), "a.txt");
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
    makeFiles(dir.path(), "a.txt");
    ::setfsuid(65534);
    const RenameOutcome r = renameInPlace(dir.path(), "a.txt", "b.txt");
    ::setfsuid(0);
    QCOMPARE(r.error, EACCES);
    QCOMPARE(listing(dir.path()), QByteArray("a.txt=a.txt"));
}

void tst_Rename::caseOnlyOnFoldingMount()
{
    if (::geteuid() != 0)
        QSKIP("mounting a FAT image needs root");
    QTemporaryDir dir;
    const QString image = dir.filePath("fat.img"), mnt = dir.filePath("mnt");
    QFile img(image);
    QVERIFY(QDir(dir.path()).mkdir("mnt") && img.open(QIODevice::WriteOnly) && img.resize(4 << 20));
    img.close();
    QString why;
    if (!run("mkfs.vfat", {image}, why) || !run("mount", {"-o", "loop", image, mnt}, why))
        QSKIP(qPrintable("no FAT mount here: " + why.trimmed()));
    makeFiles(mnt, "IMG_0001.JPG");
    const bool folds = folderFoldsCase(mnt);
    const RenameOutcome r = renameInPlace(mnt, "IMG_0001.JPG", "img_0001.jpg");
    const QByteArray after = listing(mnt);
    run("umount", {mnt}, why);
    QVERIFY(folds);
    QVERIFY2(r.ok, qPrintable(r.description));
    QCOMPARE(after, QByteArray("img_0001.jpg=IMG_0001.JPG"));
}

// FUSE mounts of FAT and exFAT give each spelling of a name its own inode number, so the
// same file can only be told from a second entry by the folder's listing.
void tst_Rename::caseOnlyOnFuseMount_data()
{
    QTest::addColumn<test::FuseKind>("kind");
    QTest::addColumn<QByteArray>("files");
    QTest::addColumn<QByteArray>("renames"); // "old>new" pairs, "|" between them
    QTest::addColumn<int>("error");          // of the last rename
    QTest::addColumn<QByteArray>("after");
    const struct
    {
        const char* tag;
        const char* files;
        const char* renames;
        int error;
        const char* after;
    } cases[] = {
        {"one file to lower case", "IMG_0001.JPG", "IMG_0001.JPG>img_0001.jpg", 0,
         "img_0001.jpg=IMG_0001.JPG"},
        {"all lower case batch", "IMG_0001.JPG|IMG_0002.JPG|Holiday Photo.JPEG",
         "IMG_0001.JPG>img_0001.jpg|IMG_0002.JPG>img_0002.jpg|Holiday Photo.JPEG>holiday "
         "photo.jpeg",
         0,
         "holiday photo.jpeg=Holiday "
         "Photo.JPEG|img_0001.jpg=IMG_0001.JPG|img_0002.jpg=IMG_0002.JPG"},
        {"extension only", "a.TXT", "a.TXT>a.txt", 0, "a.txt=a.TXT"},
        {"other file's name", "a.txt|b.txt", "a.txt>B.TXT", EEXIST, "a.txt=a.txt|b.txt=b.txt"},
        {"new name", "a.txt", "a.txt>c.txt", 0, "c.txt=a.txt"}};
    const std::pair<const char*, test::FuseKind> kinds[] = {
        {"exfat-fuse", test::FuseKind::ExfatThroughLoop}, {"fusefat", test::FuseKind::FatImage}};
    for (const auto& [kindName, kind] : kinds)
        for (const auto& c : cases)
            QTest::addRow("%s: %s", kindName, c.tag)
                << kind << QByteArray(c.files) << QByteArray(c.renames) << c.error
                << QByteArray(c.after);
}

void tst_Rename::caseOnlyOnFuseMount()
{
    QFETCH(test::FuseKind, kind);
    QFETCH(QByteArray, files);
    QFETCH(QByteArray, renames);
    QFETCH(int, error);
    QFETCH(QByteArray, after);
    if (::geteuid() != 0)
        QSKIP("mounting an image needs root");
    const test::FoldingMount mount(kind);
    if (mount.path().isEmpty())
        QSKIP(qPrintable(mount.skipReason()));
    makeFiles(mount.path(), files);
    QVERIFY(folderFoldsCase(mount.path()));
    // A batch goes through the renamer that keeps the folder open; a lone rename does not.
    SystemRenamer renamer;
    const QByteArrayList pairs = renames.split('|');
    RenameOutcome r;
    for (const QByteArray& pair : pairs) {
        const QByteArrayList oldNew = pair.split('>');
        const QString newName = QString::fromUtf8(oldNew[1]);
        r = pairs.size() == 1 ? renameInPlace(mount.path(), oldNew[0], newName)
                              : renamer.rename(mount.path(), oldNew[0], newName);
        QVERIFY2(r.ok || r.error == error, qPrintable(r.description));
    }
    QCOMPARE(r.error, error);
    QCOMPARE(listing(mount.path()), after);
}

QTEST_GUILESS_MAIN(tst_Rename)
#include "tst_rename.moc"

// Renames in place on real files, never replacing an entry: every route a rename can take,
// and names that differ only in case, also where the file system folds case.

#include "platform/Rename.h"

#include "support/FoldingMount.h"
#include "support/RandomFolder.h"

#include <QScopeGuard>
#include <QTest>

#include <cerrno>

using namespace pellory;
using namespace pellory::testing;

Q_DECLARE_METATYPE(pellory::testing::MountKind)

namespace {

// Every file holds its own first name, so that a listing shows whether contents moved
// with their names. Names are raw bytes, "|" between them.
void makeFiles(const QString& folder, const QByteArray& names)
{
    for (const QByteArray& name : names.split('|'))
        QVERIFY(makeFile(QFile::encodeName(folder) + '/' + name, name));
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
    void caseOnlyOnFoldingMount_data();
    void caseOnlyOnFoldingMount();
};

void tst_Rename::rename_data()
{
    QTest::addColumn<QByteArray>("files");
    QTest::addColumn<QByteArray>("oldRaw");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("description"); // the system's own text when empty
    QTest::addColumn<QByteArray>("after");
    const auto row = [](const char* tag, const char* files, const char* old, const QString& to,
                        int error, const char* description, const char* after) {
        QTest::newRow(tag) << QByteArray(files) << QByteArray(old) << to << error
                           << QString(description) << QByteArray(after);
    };
    // clang-format off
    row("refused: empty", "a.txt", "a.txt", "", EINVAL, "The new name may not be empty", "a.txt=a.txt");
    row("refused: dot dot", "a.txt", "a.txt", "..", EINVAL, "The new name may not be \"..\"", "a.txt=a.txt");
    row("refused: slash", "a.txt", "a.txt", "sub/a.txt", EINVAL, "The new name may not contain \"/\"", "a.txt=a.txt");
    row("refused: NUL", "a.txt", "a.txt", QString("a") + QChar(0) + "b", EINVAL, "The new name may not contain a NUL character", "a.txt=a.txt");
    row("refused: old name with a folder", "a.txt", "./a.txt", "b.txt", EINVAL, "The old name is not a name in the folder", "a.txt=a.txt");
    row("renamed", "a.txt|b.txt", "a.txt", "c.txt", 0, "", "b.txt=b.txt|c.txt=a.txt");
    row("target exists", "a.txt|b.txt", "a.txt", "b.txt", EEXIST, "", "a.txt=a.txt|b.txt=b.txt");
    row("vanished", "b.txt", "a.txt", "c.txt", ENOENT, "", "b.txt=b.txt");
    row("raw bytes old name", "\xff\xfe.jpg", "\xff\xfe.jpg", "ok.jpg", 0, "", "ok.jpg=\xff\xfe.jpg");
    row("300-byte name", "a.txt", "a.txt", QString(300, u'x'), ENAMETOOLONG, "", "a.txt=a.txt");
    row("own name", "a.txt", "a.txt", "a.txt", 0, "", "a.txt=a.txt");
    row("own name as read back", "\xff.jpg", "\xff.jpg", QString::fromUtf8("\xff.jpg"), 0, "", "\xff.jpg=\xff.jpg");
    // clang-format on
}

// Every row through each route a rename can take: the no-replace flag, and the fallbacks
// of file systems without the flag or without hard links.
void tst_Rename::rename()
{
    QFETCH(QByteArray, files);
    QFETCH(QByteArray, oldRaw);
    QFETCH(QString, newName);
    QFETCH(int, error);
    QFETCH(QString, description);
    QFETCH(QByteArray, after);
    for (const RenameRoute route :
         {RenameRoute::NoReplaceFlag, RenameRoute::LinkThenUnlink, RenameRoute::CheckThenRename}) {
        QTemporaryDir dir;
        makeFiles(dir.path(), files);
        const auto emptyFolder = qScopeGuard([&] { removeInside(QFile::encodeName(dir.path())); });
        setFirstRenameRoute(route);
        const RenameOutcome r = renameInPlace(dir.path(), oldRaw, newName);
        QCOMPARE(r.error, error);
        QCOMPARE(r.ok, error == 0);
        QCOMPARE(r.description, error && description.isEmpty() ? strerror(error) : description);
        QCOMPARE(listing(dir.path()), after);
    }
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

// FUSE mounts of FAT and exFAT give each spelling of a name its own inode number, so the
// same file can only be told from a second entry by the folder's listing. A batch goes
// through the renamer that keeps the folder open; a lone rename does not.
void tst_Rename::caseOnlyOnFoldingMount_data()
{
    QTest::addColumn<testing::MountKind>("kind");
    QTest::addColumn<QByteArray>("files");
    QTest::addColumn<QByteArray>("renames"); // "old>new" pairs, "|" between them
    QTest::addColumn<int>("error");          // of the last rename
    QTest::addColumn<QByteArray>("after");
    const std::pair<const char*, testing::MountKind> kinds[] = {
        {"exfat-fuse", testing::MountKind::ExfatFuse},
        {"fusefat", testing::MountKind::FatFuse},
        {"vfat", testing::MountKind::FatKernel}};
    // clang-format off
    for (const auto& [name, kind] : kinds) {
        QTest::addRow("%s: one file to lower case", name) << kind << QByteArray("IMG_0001.JPG") << QByteArray("IMG_0001.JPG>img_0001.jpg") << 0 << QByteArray("img_0001.jpg=IMG_0001.JPG");
        QTest::addRow("%s: batch to lower case", name) << kind << QByteArray("IMG_0001.JPG|Holiday Photo.JPEG") << QByteArray("IMG_0001.JPG>img_0001.jpg|Holiday Photo.JPEG>holiday photo.jpeg") << 0 << QByteArray("holiday photo.jpeg=Holiday Photo.JPEG|img_0001.jpg=IMG_0001.JPG");
        QTest::addRow("%s: other file's name", name) << kind << QByteArray("a.txt|b.txt") << QByteArray("a.txt>B.TXT") << EEXIST << QByteArray("a.txt=a.txt|b.txt=b.txt");
    }
    // clang-format on
}

void tst_Rename::caseOnlyOnFoldingMount()
{
    QFETCH(testing::MountKind, kind);
    QFETCH(QByteArray, files);
    QFETCH(QByteArray, renames);
    QFETCH(int, error);
    QFETCH(QByteArray, after);
    const testing::FoldingMount mount(kind);
    if (mount.path().isEmpty())
        QSKIP(qPrintable(mount.skipReason()));
    makeFiles(mount.path(), files);
    QVERIFY(folderFoldsCase(mount.path()));
    SystemRenamer renamer;
    const QByteArrayList pairs = renames.split('|');
    RenameOutcome r;
    for (const QByteArray& pair : pairs) {
        const QString newName = QString::fromUtf8(pair.split('>')[1]);
        const QByteArray oldRaw = pair.split('>')[0];
        r = pairs.size() == 1 ? renameInPlace(mount.path(), oldRaw, newName)
                              : renamer.rename(mount.path(), oldRaw, newName);
    }
    QCOMPARE(r.error, error);
    QCOMPARE(listing(mount.path()), after);
}

QTEST_GUILESS_MAIN(tst_Rename)
#include "tst_rename.moc"

#pragma once
// A small FAT or exFAT image mounted through FUSE in a temporary folder, for tests of
// renames on a file system that folds case. Needs root; when the machine cannot mount,
// skipReason() says why and path() is empty. Unmounts and detaches on destruction.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace pellory::test {

enum class FuseKind
{
    ExfatThroughLoop, // exfat-fuse on a loop device
    FatImage,         // fusefat on the image file itself
};

class FoldingMount
{
public:
    explicit FoldingMount(FuseKind kind)
    {
        m_mnt = m_dir.filePath("mnt");
        const QString image = m_dir.filePath("disk.img");
        QFile img(image);
        if (!QDir(m_dir.path()).mkdir("mnt") || !img.open(QIODevice::WriteOnly) ||
            !img.resize(16 << 20)) {
            m_why = "cannot make the image";
            return;
        }
        img.close();
        bool ok = false;
        if (kind == FuseKind::ExfatThroughLoop) {
            ok = run("mkfs.exfat", {image}) && run("losetup", {"-f", "--show", image}, &m_loop) &&
                 run("mount.exfat-fuse", {m_loop, m_mnt});
        } else {
            ok = run("mkfs.vfat", {image}) && run("fusefat", {"-o", "rw+", image, m_mnt});
        }
        m_mounted = ok;
        if (!ok)
            m_why = QStringLiteral("no FUSE mount here: ") + m_why;
    }

    ~FoldingMount()
    {
        // The daemon may still be busy with the last write, and a renamer may hold the
        // folder open until its event loop lets it go.
        if (m_mounted)
            for (int attempt = 0; attempt < 40 && !run("umount", {m_mnt}); ++attempt) {
                QCoreApplication::processEvents();
                QThread::msleep(50);
            }
        if (!m_loop.isEmpty())
            run("losetup", {"-d", m_loop});
    }

    FoldingMount(const FoldingMount&) = delete;
    FoldingMount& operator=(const FoldingMount&) = delete;

    QString path() const { return m_mounted ? m_mnt : QString(); }
    QString skipReason() const { return m_why; }

private:
    bool run(const QString& program, const QStringList& args, QString* out = nullptr)
    {
        QProcess p;
        p.start(program, args);
        if (p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) {
            if (out)
                *out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
            return true;
        }
        m_why = p.error() == QProcess::FailedToStart
                    ? program + QStringLiteral(" not found")
                    : program + ": " + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return false;
    }

    QTemporaryDir m_dir;
    QString m_mnt, m_loop, m_why;
    bool m_mounted = false;
};

} // namespace pellory::test

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// A small FAT or exFAT image mounted in a temporary folder, for tests of renames on a file
// system that folds case. Needs root; when the machine cannot mount, skipReason() says why
// and path() is empty. Unmounts and detaches on destruction.

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace pellory::testing {

enum class MountKind
{
    ExfatFuse, // exfat-fuse on a loop device
    FatFuse,   // fusefat on the image file itself
    FatKernel, // the kernel's vfat on a loop device
};

class FoldingMount
{
public:
    explicit FoldingMount(MountKind kind)
    {
        const QString image = m_dir.filePath("disk.img"), mnt = m_dir.filePath("mnt");
        QFile img(image);
        if (!QDir().mkdir(mnt) || !img.open(QIODevice::WriteOnly) || !img.resize(16 << 20))
            return;
        img.close();
        if (kind == MountKind::ExfatFuse)
            m_mounted = run("mkfs.exfat", {image}) &&
                        run("losetup", {"-f", "--show", image}, &m_loop) &&
                        run("mount.exfat-fuse", {m_loop, mnt});
        else
            m_mounted = run("mkfs.vfat", {image}) &&
                        (kind == MountKind::FatFuse ? run("fusefat", {"-o", "rw+", image, mnt})
                                                    : run("mount", {"-o", "loop", image, mnt}));
    }

    ~FoldingMount()
    {
        if (m_stopped)
            stop(false);
        // The daemon may still be busy with the last write, and a renamer may hold the
        // folder open until its event loop lets it go.
        for (int attempt = 0; m_mounted && attempt < 40 && !run("umount", {path()}); ++attempt) {
            QCoreApplication::processEvents();
            QThread::msleep(50);
        }
        if (!m_loop.isEmpty())
            run("losetup", {"-d", m_loop});
    }

    QString path() const { return m_mounted ? m_dir.filePath("mnt") : QString(); }

    // Stops (or resumes) the mount's FUSE server, so that every look into the mount waits,
    // as on a mount whose server hangs. False when no process serves this mount.
    bool stop(bool stopped)
    {
        const QByteArray mnt = QFile::encodeName(path());
        for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile cmdline("/proc/" + pid + "/cmdline");
            if (!mnt.isEmpty() && cmdline.open(QIODevice::ReadOnly) &&
                cmdline.readAll().split('\0').contains(mnt)) {
                m_stopped = stopped;
                return ::kill(pid.toInt(), stopped ? SIGSTOP : SIGCONT) == 0;
            }
        }
        return false;
    }
    QString skipReason() const { return "no such mount here: " + m_why; }

private:
    bool run(const QString& program, const QStringList& args, QString* out = nullptr)
    {
        QProcess p;
        p.start(program, args);
        const bool ok =
            p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (ok && out)
            *out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        if (!ok)
            m_why = p.error() == QProcess::FailedToStart
                        ? program + " not found"
                        : QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return ok;
    }

    QTemporaryDir m_dir;
    QString m_loop, m_why = "cannot make the image";
    bool m_mounted = false;
    bool m_stopped = false;
};

} // namespace pellory::testing

#pragma once
// A temporary folder for tests that touch the disk: makes files, folders and links by
// their exact bytes, sets modification times, and reads back what is there. Removed with
// everything in it when the object goes.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <ctime>

namespace pellory::test {

class TempFolder
{
public:
    TempFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }

    // Names are relative to the folder and may hold "/" for a subfolder that exists.
    // Each returns false (and says why with qWarning) when the system call fails.
    bool addFile(const QByteArray& name, const QByteArray& contents = {});
    bool addFolder(const QByteArray& name);
    bool addSymlink(const QByteArray& name, const QByteArray& target);
    bool setWriteTime(const QByteArray& name, timespec time);

    // Every entry of the folder (not of subfolders) except "." and "..", sorted by
    // bytes and joined with "|", so that a test compares the whole folder at once.
    QByteArray listing(const QByteArray& subfolder = {}) const;
    QByteArray contents(const QByteArray& name) const;

private:
    QByteArray absolute(const QByteArray& name) const;

    QTemporaryDir m_dir;
};

} // namespace pellory::test

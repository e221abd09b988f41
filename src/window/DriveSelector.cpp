#include "window/DriveSelector.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace pellory {

namespace {

// File systems that hold a user's files without living on a local block device: network
// shares and FUSE mounts of a disk. Everything else without a /dev/ device (proc, sysfs,
// cgroup, tmpfs, overlay layers of containers) is the system's plumbing, not a drive.
bool isNetworkOrFuseDisk(const QByteArray& type)
{
    static const QByteArray kinds[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuseblk"};
    return std::find(std::begin(kinds), std::end(kinds), type) != std::end(kinds) ||
           type.startsWith("fuse.sshfs");
}

bool isRealVolume(const QStorageInfo& volume)
{
    if (!volume.isValid() || !volume.isReady())
        return false;
    const QByteArray device = volume.device();
    // Loop devices are mostly read-only package images (snaps), never a user's drive.
    if (device.startsWith("/dev/") && !device.startsWith("/dev/loop"))
        return true;
    return isNetworkOrFuseDisk(volume.fileSystemType());
}

bool holds(const QString& root, const QString& path)
{
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || (path.startsWith(root) && path.at(root.size()) == QLatin1Char('/'));
}

} // namespace

DriveSelector::DriveSelector(QWidget* parent) : QComboBox(parent)
{
    // currentIndexChanged carries both the user's choice and setDrive(), so the Change
    // event is raised from one place, once per change.
    connect(this, &QComboBox::currentIndexChanged, this, &DriveSelector::noteCurrentDrive);
}

QStringList DriveSelector::mountedVolumes()
{
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (isRealVolume(volume) && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    std::sort(roots.begin(), roots.end());
    return roots;
}

void DriveSelector::setVolumes(const QStringList& roots)
{
    const QString previous = m_drive;
    {
        const QSignalBlocker blocker(this);
        clear();
        for (const QString& root : roots)
            addItem(root, root);
        setCurrentIndex(previous.isEmpty() ? -1 : findData(previous));
    }
    noteCurrentDrive();
}

QString DriveSelector::drive() const
{
    return currentIndex() < 0 ? QString() : currentData().toString();
}

bool DriveSelector::setDrive(const QString& root)
{
    const QString volume = driveOf(root);
    if (volume.isEmpty())
        return false;
    setCurrentIndex(findData(volume));
    return true;
}

QString DriveSelector::driveOf(const QString& path) const
{
    const QString clean = QDir::cleanPath(path);
    QString best;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (root.size() > best.size() && holds(root, clean))
            best = root;
    }
    return best;
}

QString DriveSelector::folderFor(const QString& root) const
{
    return m_lastFolder.value(root, root);
}

void DriveSelector::rememberFolder(const QString& path)
{
    const QString volume = driveOf(path);
    if (!volume.isEmpty())
        m_lastFolder.insert(volume, QDir::cleanPath(path));
}

void DriveSelector::noteCurrentDrive()
{
    const QString now = drive();
    if (now == m_drive)
        return;
    m_drive = now;
    emit driveChanged();
}

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/DriveSelector.h"

#include "platform/Volumes.h"

#include <QDir>

namespace pellory {

namespace {

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
    return pellory::mountedVolumes();
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

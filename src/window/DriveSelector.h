// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The drive selector: the mounted volumes (real file systems only), shown by their root
// path, with one current drive. Each drive remembers the last folder visited on it.

#include <QComboBox>
#include <QHash>
#include <QStringList>

namespace pellory {

class DriveSelector : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveSelector(QWidget* parent = nullptr);

    // Replaces the list of volumes (root paths). The window calls it once with the mounted
    // volumes; tests give their own, a root that cannot be opened among them. The current
    // drive stays when it is still listed, else there is none (raising driveChanged()).
    void setVolumes(const QStringList& roots);
    // The volumes of the system's mount table that hold users' files, sorted by root path
    // (see platform/Volumes.h); no mount is asked anything, so a hung one cannot hold up
    // the window.
    static QStringList mountedVolumes();

    QString drive() const; // root path of the current drive, "" when none
    // Makes `root` (or the volume that holds it) current. Raises driveChanged() before it
    // returns when the drive changes. False when no listed volume holds it.
    bool setDrive(const QString& root);
    // The listed volume that holds `path` (the longest matching root).
    QString driveOf(const QString& path) const;

    // The folder to open when `root` is chosen: the last one remembered for it, else root.
    QString folderFor(const QString& root) const;
    void rememberFolder(const QString& path);

signals:
    void driveChanged(); // the Change event: by the user or from code, synchronously

private:
    void noteCurrentDrive(); // raises driveChanged() when drive() differs from the last seen

    QHash<QString, QString> m_lastFolder;
    QString m_drive; // the drive last announced, so that each change is raised once
};

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The folder of camera photos the capture-time rows work on: real JPEGs with the metadata a
// camera writes (EXIF with the capture time, its sub-seconds and offset, a maker note of a
// few KB, a thumbnail), named DSC00001.JPG ..., whose capture times follow neither their
// names nor their write times, as in a folder merged from two cameras and copied about.

#include <QString>
#include <QStringList>

namespace pellory::bench {

// The places of file `number` (1..count) among the folder's files by capture time and by
// write time, each 0..count-1: two shuffles of the names that differ from each other.
int captureRank(int number, int count);
int writeRank(int number, int count);

// The folder's names in rising capture time, and in rising write time.
QStringList namesByCapture(int count);
QStringList namesByWriteTime(int count);

// Makes `folder` with `count` photos: one is tagged with libexiv2, every other is a copy of
// it with its capture time written in. Empty when done, else what failed.
QString makeCameraFolder(const QString& folder, int count);

} // namespace pellory::bench

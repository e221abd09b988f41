// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// One pass of the window benchmark in this process: Pellory's window is started on a
// folder of camera files and driven as a user drives it, step by step, through start-up,
// a rebuild, the sort orders, a selection, the live new names, preview, apply, a wildcard
// rename and its undo. Each step prints one line (see StepLine) with its time, longest
// event-loop wait and the process's peak memory, and whether it did what it should.

#include <QString>
#include <QStringList>

namespace pellory::bench {

// One printed step: "step<TAB>name<TAB>ms<TAB>wait ms<TAB>peak kB<TAB>floor ms<TAB>ok<TAB>note".
// A floor below 0 means the step has none measured in this process.
struct StepLine
{
    QString name;
    double ms = 0;
    double waitMs = 0;
    qint64 peakKb = 0;
    double floorMs = -1;
    bool ok = true;
    QString note;

    QString format() const;
    static bool parse(const QString& line, StepLine& out);
};

// The camera name of file `number` of a folder of `count` files: "DSC00001.JPG".
QString cameraName(const QString& prefix, int number, int count);

// Runs every step on `folder` (holding `count` camera files named by cameraName("DSC"))
// with `emptyFolder` as the place to move away to. Returns 0 when every step did its work.
int runWindowSteps(const QString& folder, const QString& emptyFolder, int count);

// The capture-time steps on `folder`, holding `count` photos made by makeCameraFolder: the
// window started on it, a Date sort, and the files ordered by capture time, first read
// and then again from what the first read kept. Returns 0 when every step did its work.
int runCameraSteps(const QString& folder, int count);

} // namespace pellory::bench

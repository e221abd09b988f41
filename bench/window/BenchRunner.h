// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The whole benchmark: on each place (a tmpfs folder, a disk folder) and at each size it
// makes a folder of camera files, and in every run times the floors (the bare rename loop
// and the bare scan), the peers doing the same renames (perl rename, mmv) and one fresh
// Pellory process driven through all its steps; then the sort orders on record
// arrangements a camera folder never has (SortShapes.cpp). Where the size asks for it, also
// on a folder of camera photos (CameraFolder.h): the floor that reads every file's head,
// the peers reading the capture times (exiftool, exiv2) and one fresh Pellory process
// ordering the files by capture time. Then prints the table.

#include "WindowSteps.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

namespace pellory::bench {

struct Place
{
    QString label; // "tmpfs", "disk"
    QString root;  // a folder the benchmark may fill and empty
    double applyTarget = 1.5;
};

struct Size
{
    int count = 0;
    int runs = 5;
    bool targets = true; // false: past the limit, reported only
    bool camera = false; // the capture-time rows too
};

struct BenchOptions
{
    QList<Place> places;
    QList<Size> sizes;
    bool peers = true;
    bool window = true; // the renames, the window's steps and the sort orders
    bool camera = true; // the capture-time rows, at the sizes that ask for them
    QString floorTool;  // pellory_bench_floor
    QString self;       // this program, run once per pass with "steps"
};

// Everything measured at one place and size, over all runs.
struct Samples
{
    Place place;
    Size size;
    std::vector<double> renameFloor;
    std::vector<double> scanFloor;
    std::vector<double> perlRename;
    std::vector<double> mmv;
    std::vector<double> readFloor; // the first 64 KB of every photo
    std::vector<double> exiftool;
    std::vector<double> exiv2;
    QStringList stepOrder;
    QMap<QString, std::vector<StepLine>> steps;
    QStringList failures;

    void add(const StepLine& line);
};

// Runs it all; 0 when every step of every run did its work (targets aside).
int runBench(const BenchOptions& options);

// SortShapes.cpp: every sort order on each arrangement, `size.runs` times.
Samples sortShapes(const Size& size);

// BenchReport.cpp
double median(std::vector<double> values);
// Prints the table of all samples; returns the number of rows that missed a target.
int printReport(const QList<Samples>& all);

// How the table judges the first row named `step` (or "step vs peer") of `samples`: its ratio to
// its floor or peer (for the memory row, to its limit) and its verdict: "PASS", "FAIL", "FAILED" (a
// run did not do its work), "-" (reported only) or "" (a floor).
struct Judgement
{
    double ratio = 0;
    QString verdict;
};
Judgement judgeStep(const Samples& samples, const QString& step);

} // namespace pellory::bench

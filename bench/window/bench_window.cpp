// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

// The window benchmark's driver. "bench" runs the whole benchmark and prints its table;
// "smoke" runs it once on a small folder without peers or targets, so that it cannot rot;
// "steps" is one pass of the real window, started by the other two in a fresh process, and
// "camera-steps" the same on a folder of photos. "--only window" leaves out the photos'
// rows, "--only camera" runs them alone.
//
//   pellory_bench_window bench [--tmpfs DIR] [--disk DIR] [--runs N] [--big-runs N]
//                              [--count N] [--big-count N] [--no-peers]
//                              [--only window|camera]
//   pellory_bench_window smoke
//   pellory_bench_window steps FOLDER EMPTY_FOLDER COUNT
//   pellory_bench_window camera-steps FOLDER COUNT

#include "BenchRunner.h"
#include "WindowSteps.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace pellory::bench;

namespace {

BenchOptions baseOptions()
{
    BenchOptions options;
    const QString here = QCoreApplication::applicationDirPath();
    options.floorTool = here + QStringLiteral("/pellory_bench_floor");
    options.self = QCoreApplication::applicationFilePath();
    return options;
}

int bench(const QStringList& args)
{
    BenchOptions options = baseOptions();
    QString tmpfs =
        QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QString();
    QString disk = QStringLiteral("/var/tmp");
    Size limit{32767, 5, true, true};
    Size past{100000, 3, false, false};
    for (int i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--no-peers")) {
            options.peers = false;
            continue;
        }
        if (i + 1 >= args.size())
            return std::fprintf(stderr, "%s needs a value\n", qPrintable(option)), 2;
        const QString& value = args[++i];
        if (option == QLatin1String("--tmpfs"))
            tmpfs = value;
        else if (option == QLatin1String("--disk"))
            disk = value;
        else if (option == QLatin1String("--runs"))
            limit.runs = value.toInt();
        else if (option == QLatin1String("--big-runs"))
            past.runs = value.toInt();
        else if (option == QLatin1String("--count"))
            limit.count = value.toInt();
        else if (option == QLatin1String("--big-count"))
            past.count = value.toInt();
        else if (option == QLatin1String("--only") &&
                 (value == QLatin1String("window") || value == QLatin1String("camera"))) {
            options.window = value == QLatin1String("window");
            options.camera = value == QLatin1String("camera");
        } else
            return std::fprintf(stderr, "unknown option %s\n", qPrintable(option)), 2;
    }
    if (!tmpfs.isEmpty())
        options.places.append({QStringLiteral("tmpfs"), tmpfs, 1.5});
    if (!disk.isEmpty())
        options.places.append({QStringLiteral("disk"), disk, 1.5});
    if (limit.runs > 0)
        options.sizes.append(limit);
    if (past.runs > 0 && past.count > 0)
        options.sizes.append(past);
    return runBench(options);
}

int smoke()
{
    QTemporaryDir root;
    if (!root.isValid())
        return std::fprintf(stderr, "no temporary folder\n"), 1;
    BenchOptions options = baseOptions();
    options.peers = false;
    options.places.append({QStringLiteral("temporary folder"), root.path(), 0});
    options.sizes.append({1000, 1, false, true});
    return runBench(options);
}

} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("steps") && argc == 5) {
        QApplication app(argc, argv);
        return runWindowSteps(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                              QString::fromLocal8Bit(argv[4]).toInt());
    }
    if (mode == QLatin1String("camera-steps") && argc == 4) {
        QApplication app(argc, argv);
        return runCameraSteps(QString::fromLocal8Bit(argv[2]),
                              QString::fromLocal8Bit(argv[3]).toInt());
    }
    QCoreApplication app(argc, argv);
    if (mode == QLatin1String("bench"))
        return bench(app.arguments().mid(1));
    if (mode == QLatin1String("smoke"))
        return smoke();
    std::fprintf(stderr, "usage: pellory_bench_window bench [options] | smoke | steps FOLDER "
                         "EMPTY_FOLDER COUNT | camera-steps FOLDER COUNT\n");
    return 2;
}

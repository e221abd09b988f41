// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

#include "BenchRunner.h"

#include "CameraFolder.h"
#include "Probe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <cstdio>

namespace pellory::bench {

namespace {

struct Outcome
{
    bool ok = false;
    double ms = 0;
    QString output;
    QString error; // when not ok: the program and what it wrote to standard error
};

Outcome runProcess(const QString& program, const QStringList& args, const QString& workDir = {},
                   const QByteArray& input = {}, const QProcessEnvironment& env = {})
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    process.start();
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(-1);
    Outcome outcome;
    outcome.ms = double(clock.nsecsElapsed()) / 1e6;
    outcome.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    outcome.ok =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!outcome.ok)
        outcome.error =
            QStringLiteral("%1 failed: %2").arg(QFileInfo(program).fileName(), errors.left(300));
    return outcome;
}

class PlaceRun
{
public:
    PlaceRun(const BenchOptions& options, Samples& samples)
        : m_options(options), m_samples(samples),
          // The process in the name: two benchmarks run at once (from two checkouts) must not
          // rename each other's files.
          m_base(samples.place.root + QStringLiteral("/pellory-bench-%1-%2")
                                          .arg(QCoreApplication::applicationPid())
                                          .arg(samples.size.count)),
          m_folder(m_base + QStringLiteral("/files")), m_empty(m_base + QStringLiteral("/empty")),
          m_photos(m_base + QStringLiteral("/photos"))
    {}

    void run()
    {
        QDir(m_base).removeRecursively();
        QDir().mkpath(m_empty);
        const bool camera = m_options.camera && m_samples.size.camera && makePhotos();
        if (m_options.window && !makeFolder())
            return;
        for (int run = 1; run <= m_samples.size.runs; ++run) {
            std::fprintf(stderr, "%s, %d files: run %d of %d\n", qPrintable(m_samples.place.label),
                         m_samples.size.count, run, m_samples.size.runs);
            if (m_options.window) {
                floors();
                if (m_options.peers)
                    peers();
                window();
            }
            if (camera) {
                settleWrites(m_photos);
                double ms = 0;
                if (floorTool({QStringLiteral("read"), m_photos}, &ms))
                    m_samples.readFloor.push_back(ms);
                if (m_options.peers)
                    cameraPeers(run == 1);
                pass(m_photos, {QStringLiteral("camera-steps"), m_photos, count()});
            }
        }
        QDir(m_base).removeRecursively();
    }

private:
    QString count() const { return QString::number(m_samples.size.count); }

    bool fail(const QString& what)
    {
        m_samples.failures.append(what.simplified());
        return false;
    }

    // The time the floor tool printed for its loop alone.
    bool floorTool(const QStringList& args, double* ms = nullptr)
    {
        const Outcome outcome = runProcess(m_options.floorTool, args);
        if (!outcome.ok)
            return fail(outcome.error);
        if (ms)
            *ms = outcome.output.section(QLatin1Char(' '), 0, 0).toDouble();
        return true;
    }

    bool makeFolder()
    {
        QDir(m_folder).removeRecursively();
        return floorTool({QStringLiteral("make"), m_folder, count()});
    }

    // Puts every name back to DSC...; a folder left in a state it cannot undo is made anew.
    void restore(const QString& from)
    {
        if (!floorTool({QStringLiteral("rename"), m_folder, count(), from, QStringLiteral("DSC")}))
            makeFolder();
    }

    void floors()
    {
        double ms = 0;
        settleWrites(m_folder);
        if (floorTool({QStringLiteral("scan"), m_folder}, &ms))
            m_samples.scanFloor.push_back(ms);
        const QString img = QStringLiteral("IMG_");
        settleWrites(m_folder);
        if (floorTool({QStringLiteral("rename"), m_folder, count(), QStringLiteral("DSC"), img},
                      &ms))
            m_samples.renameFloor.push_back(ms);
        restore(img);
    }

    void peer(const QString& program, const QStringList& args, const QByteArray& input,
              std::vector<double>& times)
    {
        settleWrites(m_folder);
        const Outcome outcome = runProcess(program, args, m_folder, input);
        if (!outcome.ok)
            fail(outcome.error);
        // The way back renames every expected name, so it also checks the peer's work.
        if (floorTool({QStringLiteral("rename"), m_folder, count(), QStringLiteral("IMG_"),
                       QStringLiteral("DSC")}))
            times.push_back(outcome.ms);
        else
            makeFolder();
    }

    void peers()
    {
        // Too many names for one command line at 100000 files: perl rename reads them.
        QByteArray names;
        for (int k = 1; k <= m_samples.size.count; ++k)
            names += cameraName(QStringLiteral("DSC"), k, m_samples.size.count).toLatin1() + '\n';
        peer(QStringLiteral("rename"), {QStringLiteral("s/^DSC/IMG_/")}, names,
             m_samples.perlRename);
        peer(QStringLiteral("mmv"), {QStringLiteral("DSC*.JPG"), QStringLiteral("IMG_#1.JPG")}, {},
             m_samples.mmv);
    }

    bool makePhotos()
    {
        QElapsedTimer clock;
        clock.start();
        const QString error = makeCameraFolder(m_photos, m_samples.size.count);
        if (!error.isEmpty())
            return fail(error);
        std::fprintf(stderr, "%s, %d photos made in %.1f s\n", qPrintable(m_samples.place.label),
                     m_samples.size.count, double(clock.elapsed()) / 1000);
        return true;
    }

    // A peer's output holds one line naming the tag for every photo it read.
    void cameraPeer(const QString& program, const QList<QStringList>& commands, const QString& tag,
                    std::vector<double>& times)
    {
        settleWrites(m_photos);
        double ms = 0;
        qsizetype found = 0;
        for (const QStringList& args : commands) {
            const Outcome outcome = runProcess(program, args, m_photos);
            if (!outcome.ok) {
                fail(outcome.error);
                return;
            }
            ms += outcome.ms;
            found += outcome.output.count(tag);
        }
        if (found != m_samples.size.count) {
            fail(QStringLiteral("%1 read %2 capture times of %3")
                     .arg(program)
                     .arg(found)
                     .arg(count()));
            return;
        }
        times.push_back(ms);
    }

    // exiftool, a hundred times and more behind what the goal asks of Pellory, runs in the
    // first run only: its spread cannot move a verdict, and its minutes would double the run.
    void cameraPeers(bool first)
    {
        if (first)
            cameraPeer(QStringLiteral("exiftool"),
                       {{QStringLiteral("-fast2"), QStringLiteral("-DateTimeOriginal"), m_photos}},
                       QStringLiteral("Date/Time Original"), m_samples.exiftool);
        // The names in batches that fit a command line, one process each.
        const QString key = QStringLiteral("Exif.Photo.DateTimeOriginal");
        QList<QStringList> batches;
        for (int k = 1; k <= m_samples.size.count; ++k) {
            if ((k - 1) % 4096 == 0)
                batches.append(
                    {QStringLiteral("-K"), key, QStringLiteral("-pa"), QStringLiteral("pr")});
            batches.last().append(cameraName(QStringLiteral("DSC"), k, m_samples.size.count));
        }
        cameraPeer(QStringLiteral("exiv2"), batches, key, m_samples.exiv2);
    }

    void window()
    {
        pass(m_folder, {QStringLiteral("steps"), m_folder, m_empty, count()});
        restore(QStringLiteral("IMG_")); // as the undo left it
    }

    // One fresh window process on `folder`, run by this program with `args`.
    void pass(const QString& folder, const QStringList& args)
    {
        settleWrites(folder);
        const QString config = m_base + QStringLiteral("/config");
        QDir(config).removeRecursively();
        {
            QSettings ini(config + QStringLiteral("/Pellory/Pellory.ini"), QSettings::IniFormat);
            ini.setValue(QStringLiteral("Settings/LastDir"), folder);
            ini.setValue(QStringLiteral("Settings/Specs"), QStringLiteral("*.JPG"));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.insert(QStringLiteral("XDG_STATE_HOME"), config);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        const Outcome outcome = runProcess(m_options.self, args, {}, {}, env);
        // The pass prints step lines only: one it cannot read could hide a failed step.
        for (const QString& text : outcome.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            StepLine line;
            if (StepLine::parse(text, line))
                m_samples.add(line);
            else
                fail(QStringLiteral("unreadable step line: ") + text);
        }
        if (!outcome.ok)
            fail(QStringLiteral("the window pass: ") + outcome.error);
    }

    const BenchOptions& m_options;
    Samples& m_samples;
    QString m_base;
    QString m_folder;
    QString m_empty;
    QString m_photos;
};

} // namespace

void Samples::add(const StepLine& line)
{
    if (!steps.contains(line.name))
        stepOrder.append(line.name);
    if (!line.ok)
        failures.append(line.name + QStringLiteral(": ") + line.note);
    steps[line.name].push_back(line);
}

int runBench(const BenchOptions& options)
{
    QList<Samples> all;
    for (const Size& size : options.sizes) {
        if (!options.window && !(options.camera && size.camera))
            continue;
        for (const Place& place : options.places) {
            Samples samples;
            samples.place = place;
            samples.size = size;
            PlaceRun(options, samples).run();
            all.append(samples);
        }
        if (!options.window)
            continue;
        std::fprintf(stderr, "sort orders, %d records\n", size.count);
        all.append(sortShapes(size));
    }
    printReport(all);
    for (const Samples& samples : all) {
        if (!samples.failures.isEmpty())
            return 1;
    }
    return 0;
}

} // namespace pellory::bench

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

#include "BenchRunner.h"

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
          m_folder(m_base + QStringLiteral("/files")), m_empty(m_base + QStringLiteral("/empty"))
    {}

    void run()
    {
        QDir(m_base).removeRecursively();
        QDir().mkpath(m_empty);
        if (!makeFolder())
            return;
        for (int run = 1; run <= m_samples.size.runs; ++run) {
            std::fprintf(stderr, "%s, %d files: run %d of %d\n", qPrintable(m_samples.place.label),
                         m_samples.size.count, run, m_samples.size.runs);
            floors();
            if (m_options.peers)
                peers();
            window();
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

    void window()
    {
        settleWrites(m_folder);
        const QString config = m_base + QStringLiteral("/config");
        QDir(config).removeRecursively();
        {
            QSettings ini(config + QStringLiteral("/Pellory/Pellory.ini"), QSettings::IniFormat);
            ini.setValue(QStringLiteral("Settings/LastDir"), m_folder);
            ini.setValue(QStringLiteral("Settings/Specs"), QStringLiteral("*.JPG"));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.insert(QStringLiteral("XDG_STATE_HOME"), config);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        const Outcome outcome = runProcess(
            m_options.self, {QStringLiteral("steps"), m_folder, m_empty, count()}, {}, {}, env);
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
        restore(QStringLiteral("IMG_")); // as the undo left it
    }

    const BenchOptions& m_options;
    Samples& m_samples;
    QString m_base;
    QString m_folder;
    QString m_empty;
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
        for (const Place& place : options.places) {
            Samples samples;
            samples.place = place;
            samples.size = size;
            PlaceRun(options, samples).run();
            all.append(samples);
        }
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

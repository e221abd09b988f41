// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

// The table of the window benchmark: one row per step with its median, the floor or peer
// it is held against, the ratio and its target; the longest event-loop wait and the peak
// memory beside it; the worst ratio against its target last.

#include "BenchRunner.h"

#include <algorithm>
#include <cstdio>

namespace pellory::bench {

namespace {

// The steps that yield to the event loop once per file must never keep it waiting longer.
constexpr double kWaitLimitMs = 50;
constexpr double kPeakLimitMb = 60;

struct Row
{
    QString step;
    double ms = 0;
    QString base; // the floor or peer, "" for none
    double baseMs = 0;
    double target = 0; // the largest ratio allowed; 0 for none
    bool yielding = false;
    bool waitLimited = false; // a step that yields per file, held to kWaitLimitMs
    double waitMs = -1;
    double peakMb = -1;
    QStringList failed; // notes of runs that did not do their work
};

Row makeRow(const QString& step, double ms, const QString& base = {}, double baseMs = 0,
            double target = 0)
{
    Row row;
    row.step = step;
    row.ms = ms;
    row.base = base;
    row.baseMs = baseMs;
    row.target = target;
    return row;
}

// At least this many times faster than exiftool reading the same capture times.
constexpr double kExiftoolFactor = 20;
// The most the reading and the capture times kept may add to the window's peak memory.
constexpr double kTakenMemoryMb = 8;

bool isFirstTakenPick(const QString& step)
{
    return step.startsWith(QLatin1String("camera: Taken")) &&
           !step.endsWith(QLatin1String(" again"));
}

struct Rule
{
    QString base;
    double target;
    bool yielding;
};

// How a step is judged: what it is held against, the ratio allowed, whether it yields.
Rule ruleFor(const QString& step, const Place& place)
{
    const QString rename = QStringLiteral("rename loop"), scan = QStringLiteral("scan");
    // Ordering by capture time: the first pick reads every photo while the window waits on
    // the event loop; the second comes from what the first kept, as cheap as a Date sort.
    if (isFirstTakenPick(step))
        return {QStringLiteral("read floor"), 2, true};
    if (step.startsWith(QLatin1String("camera: Taken")))
        return {QStringLiteral("Date sort"), 1.0, false};
    if (step.startsWith(QLatin1String("camera: ")))
        return {QString(), 0, false};
    if (step.startsWith(QLatin1String("sort ")))
        return {QStringLiteral("std::sort"), 20, false};
    if (step.startsWith(QLatin1String("select")))
        return {QStringLiteral("QItemSelection"), 2, false};
    if (step.startsWith(QLatin1String("preview")))
        return {rename, 1.0, true};
    if (step == QLatin1String("apply: renames"))
        return {rename, place.applyTarget, true};
    if (step == QLatin1String("wildcard rename: renames") || step == QLatin1String("undo: renames"))
        return {rename, 1.8, true};
    if (step.startsWith(QLatin1String("live names")))
        return {QString(), 0, true}; // the time includes the pause after the key
    if (step.startsWith(QLatin1String("start-up")))
        return {scan, 2, false};
    return {scan, 2, false}; // the rebuilds
}

double medianOf(const std::vector<StepLine>& lines, double StepLine::*field)
{
    std::vector<double> values;
    for (const StepLine& line : lines)
        values.push_back(line.*field);
    return median(values);
}

void addStepRows(const Samples& s, std::vector<Row>& rows)
{
    for (const QString& step : s.stepOrder) {
        const std::vector<StepLine>& lines = s.steps[step];
        const Rule rule = ruleFor(step, s.place);
        Row row = makeRow(step, medianOf(lines, &StepLine::ms), rule.base);
        row.baseMs = rule.base == QLatin1String("scan")          ? median(s.scanFloor)
                     : rule.base == QLatin1String("rename loop") ? median(s.renameFloor)
                     : rule.base == QLatin1String("read floor")
                         ? median(s.readFloor)
                         : medianOf(lines, &StepLine::floorMs);
        row.target = s.size.targets ? rule.target : 0;
        row.yielding = rule.yielding;
        row.waitLimited = rule.yielding && s.size.targets;
        row.waitMs = 0;
        for (const StepLine& line : lines) {
            row.waitMs = std::max(row.waitMs, line.waitMs);
            if (line.peakKb > 0) // 0: not measured (the sort orders in memory)
                row.peakMb = std::max(row.peakMb, double(line.peakKb) / 1024);
            if (!line.ok)
                row.failed.append(line.note);
        }
        rows.push_back(row);
        if (step == QLatin1String("apply: renames")) {
            // Ahead of every peer doing the same renames.
            const double target = s.size.targets ? 1.0 : 0;
            if (!s.perlRename.empty())
                rows.push_back(makeRow(step, row.ms, "perl rename", median(s.perlRename), target));
            if (!s.mmv.empty())
                rows.push_back(makeRow(step, row.ms, "mmv", median(s.mmv), target));
        }
        if (isFirstTakenPick(step)) {
            if (!s.exiftool.empty())
                rows.push_back(makeRow(step, row.ms, "exiftool", median(s.exiftool),
                                       s.size.targets ? 1 / kExiftoolFactor : 0));
            if (!s.exiv2.empty())
                rows.push_back(makeRow(step, row.ms, "exiv2", median(s.exiv2)));
        }
    }
}

// What the first pick of the capture order adds to the window's peak: the peak after it
// less the peak after the Date sort before it, the worst run.
void addTakenMemoryRow(const Samples& s, std::vector<Row>& rows)
{
    const QString* first = nullptr;
    const QString* date = nullptr;
    for (const QString& step : s.stepOrder) {
        if (isFirstTakenPick(step))
            first = &step;
        else if (step.startsWith(QLatin1String("camera: sort Date")))
            date = &step;
    }
    if (!first || !date)
        return;
    const std::vector<StepLine>& after = s.steps[*first];
    const std::vector<StepLine>& before = s.steps[*date];
    double rise = 0;
    for (size_t run = 0; run < after.size() && run < before.size(); ++run)
        rise = std::max(rise, double(after[run].peakKb - before[run].peakKb) / 1024);
    Row row = makeRow(QStringLiteral("peak memory rise, capture times (MB)"), rise);
    row.target = s.size.targets ? kTakenMemoryMb : 0;
    rows.push_back(row);
}

std::vector<Row> rowsOf(const Samples& s)
{
    std::vector<Row> rows;
    if (!s.renameFloor.empty())
        rows.push_back(makeRow(QStringLiteral("floor: renameat2 loop"), median(s.renameFloor)));
    if (!s.scanFloor.empty())
        rows.push_back(makeRow(QStringLiteral("floor: readdir + fstatat"), median(s.scanFloor)));
    if (!s.perlRename.empty())
        rows.push_back(makeRow(QStringLiteral("peer: perl rename"), median(s.perlRename),
                               "rename loop", median(s.renameFloor)));
    if (!s.mmv.empty())
        rows.push_back(makeRow(QStringLiteral("peer: mmv"), median(s.mmv), "rename loop",
                               median(s.renameFloor)));
    if (!s.readFloor.empty())
        rows.push_back(
            makeRow(QStringLiteral("floor: open + read 64 KB of each photo"), median(s.readFloor)));
    if (!s.exiftool.empty())
        rows.push_back(makeRow(QStringLiteral("peer: exiftool -fast2"), median(s.exiftool),
                               "read floor", median(s.readFloor)));
    if (!s.exiv2.empty())
        rows.push_back(makeRow(QStringLiteral("peer: exiv2"), median(s.exiv2), "read floor",
                               median(s.readFloor)));
    addStepRows(s, rows);
    addTakenMemoryRow(s, rows);
    double peak = 0;
    for (const Row& row : rows)
        peak = std::max(peak, row.peakMb);
    if (peak <= 0) // no step measured it
        return rows;
    Row memory = makeRow(QStringLiteral("peak memory (MB)"), peak);
    memory.target = s.size.targets ? kPeakLimitMb : 0;
    rows.push_back(memory);
    return rows;
}

bool isMemory(const Row& row)
{
    return row.step.startsWith(QLatin1String("peak memory"));
}

double ratioOf(const Row& row)
{
    if (isMemory(row))
        return row.ms / row.target;
    return row.baseMs > 0 ? row.ms / row.baseMs : 0;
}

// How much of its target a row takes: 1 is exactly at the target.
double shareOfTarget(const Row& row)
{
    return isMemory(row) ? row.ms / row.target : ratioOf(row) / row.target;
}

QString verdictOf(const Row& row)
{
    if (!row.failed.isEmpty())
        return QStringLiteral("FAILED");
    if (row.target <= 0 && !row.waitLimited)
        return row.base.isEmpty() && !isMemory(row) ? QString() : QStringLiteral("-");
    const bool waitOk = !row.waitLimited || row.waitMs <= kWaitLimitMs;
    const bool ratioOk =
        row.target <= 0 || (isMemory(row) ? row.ms <= row.target : ratioOf(row) <= row.target);
    return waitOk && ratioOk ? QStringLiteral("PASS") : QStringLiteral("FAIL");
}

QString targetText(const Row& row)
{
    if (isMemory(row))
        return row.target > 0 ? QStringLiteral("<= %1 MB").arg(row.target) : QString();
    QStringList parts;
    if (row.target > 0)
        parts.append(QStringLiteral("<= %1x").arg(row.target, 0, 'f', row.target < 0.1 ? 2 : 1));
    if (row.waitLimited)
        parts.append(QStringLiteral("wait <= %1").arg(kWaitLimitMs));
    return parts.join(QStringLiteral(", "));
}

void printRow(const Row& row)
{
    const QString median = QString::number(row.ms, 'f', 1);
    const QString base = row.base.isEmpty()
                             ? QString()
                             : QStringLiteral("%1 %2").arg(row.base).arg(row.baseMs, 0, 'f', 1);
    const QString ratio =
        row.base.isEmpty() ? QString() : QStringLiteral("%1x").arg(ratioOf(row), 0, 'f', 2);
    const QString wait = row.waitMs < 0 ? QString() : QString::number(row.waitMs, 'f', 1);
    const QString peak = row.peakMb < 0 ? QString() : QString::number(row.peakMb, 'f', 0);
    std::printf("| %-38s | %9s | %-22s | %7s | %-20s | %-6s | %8s | %5s |\n", qPrintable(row.step),
                qPrintable(median), qPrintable(base), qPrintable(ratio),
                qPrintable(targetText(row)), qPrintable(verdictOf(row)), qPrintable(wait),
                qPrintable(peak));
}

} // namespace

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Judgement judgeStep(const Samples& samples, const QString& step)
{
    for (const Row& row : rowsOf(samples)) {
        if (row.step == step || row.step + QStringLiteral(" vs ") + row.base == step)
            return {ratioOf(row), verdictOf(row)};
    }
    return {0, QStringLiteral("no such row")};
}

int printReport(const QList<Samples>& all)
{
    int misses = 0;
    const Row* worst = nullptr;
    QString worstPlace;
    std::vector<std::vector<Row>> kept; // rows outlive the loop for the closing line
    kept.reserve(all.size());
    for (const Samples& s : all) {
        const QString where =
            s.place.root.isEmpty() ? s.place.label : s.place.label + " (" + s.place.root + ")";
        std::printf("\n%s, %d files, %d runs%s\n\n", qPrintable(where), s.size.count, s.size.runs,
                    s.size.targets ? "" : ": past the limit, reported only");
        std::printf("| %-38s | %9s | %-22s | %7s | %-20s | %-6s | %8s | %5s |\n", "step",
                    "median ms", "floor / peer ms", "ratio", "target", "result", "wait ms", "MB");
        std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|\n", QByteArray(40, '-').constData(),
                    QByteArray(11, '-').constData(), QByteArray(24, '-').constData(),
                    QByteArray(9, '-').constData(), QByteArray(22, '-').constData(),
                    QByteArray(8, '-').constData(), QByteArray(10, '-').constData(),
                    QByteArray(7, '-').constData());
        kept.push_back(rowsOf(s));
        for (const Row& row : kept.back()) {
            printRow(row);
            const QString verdict = verdictOf(row);
            misses += verdict == QLatin1String("FAIL") || verdict == QLatin1String("FAILED");
            if (row.target > 0 && (!worst || shareOfTarget(row) > shareOfTarget(*worst))) {
                worst = &row;
                worstPlace = s.place.label;
            }
        }
        for (const QString& failure : s.failures)
            std::printf("  failed: %s\n", qPrintable(failure));
    }
    std::printf("\n%d row(s) missed a target.\n", misses);
    if (worst)
        std::printf("worst ratio against its target: %s, %s%s: %.2f%s against %s\n",
                    qPrintable(worstPlace), qPrintable(worst->step),
                    worst->base.isEmpty() ? "" : qPrintable(" vs " + worst->base), ratioOf(*worst),
                    isMemory(*worst) ? " of the limit" : "x", qPrintable(targetText(*worst)));
    else
        std::printf("worst ratio against its target: no targets in this run\n");
    std::fflush(stdout);
    return misses;
}

} // namespace pellory::bench

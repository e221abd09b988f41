#include "BenchTable.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace pellory::bench {

double medianMs(int repetitions, const std::function<void()>& prepare,
                const std::function<void()>& work)
{
    std::vector<double> times;
    for (int r = 0; r < repetitions; ++r) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void BenchTable::add(const QString& row, double ms, double baselineMs, double target)
{
    m_rows.push_back({row, ms, baselineMs, target});
    std::printf("  measured %s\n", qPrintable(row));
    std::fflush(stdout);
}

void BenchTable::print() const
{
    std::printf("\n%-34s %10s %12s %8s %7s  %s\n", "operation (32767 files)", "ms", "baseline ms",
                "ratio", "target", "result");
    for (const Row& row : m_rows) {
        const double ratio = row.ms / std::max(row.baselineMs, 1e-6);
        std::printf("%-34s %10.2f %12.2f %8.2f %6.0fx  %s\n", qPrintable(row.name), row.ms,
                    row.baselineMs, ratio, row.target, ratio <= row.target ? "PASS" : "FAIL");
    }
}

bool BenchTable::allPassed() const
{
    return std::all_of(m_rows.begin(), m_rows.end(), [](const Row& row) {
        return row.ms <= row.target * std::max(row.baselineMs, 1e-6);
    });
}

} // namespace pellory::bench

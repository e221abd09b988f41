#pragma once
// Timing and the result table of the foundation benchmark: each row is an operation at
// the design limit, its time, the time of a plain baseline doing the same work in the
// same run, and whether the ratio stays within its target.

#include <QString>

#include <functional>
#include <vector>

namespace pellory::bench {

// 32767 files: the most the file list can hold.
inline constexpr int kDesignLimit = 32767;

// Median wall time in milliseconds of `repetitions` runs of `work`; `prepare` runs
// before each, untimed.
double medianMs(int repetitions, const std::function<void()>& prepare,
                const std::function<void()>& work);

class BenchTable
{
public:
    void add(const QString& row, double ms, double baselineMs, double target);
    void print() const;
    bool allPassed() const;

private:
    struct Row
    {
        QString name;
        double ms;
        double baselineMs;
        double target;
    };
    std::vector<Row> m_rows;
};

void benchSorts(BenchTable& table);
void benchDuplicateCheck(BenchTable& table);
void benchScan(BenchTable& table);

} // namespace pellory::bench

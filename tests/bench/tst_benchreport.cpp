// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

// The bench's judgement and its event-loop probe, which its smoke run cannot check (it has
// no targets): a table that passes a slow step, or a probe that misses a blocked loop,
// would hide the very stalls the bench is there to find. The probe is held to lower bounds
// only, which a loaded machine cannot break.

#include "BenchRunner.h"
#include "Probe.h"

#include <QElapsedTimer>
#include <QTest>

using namespace pellory::bench;

Q_DECLARE_METATYPE(pellory::bench::Samples)

namespace {

StepLine step(const QString& name, double ms, double waitMs, double floorMs = -1, bool ok = true)
{
    return {name, ms, waitMs, 40 * 1024, floorMs, ok, {}};
}

// One place and size, the rename floor at 100 ms, the scan floor at 50 ms, perl at 250 ms,
// the photos' read floor at 40 ms, exiftool at 4000 ms.
Samples samplesWith(const QList<StepLine>& lines, double applyTarget = 1.5, bool targets = true)
{
    Samples s;
    s.place = {"tmpfs", "/dev/shm", applyTarget};
    s.size = {32767, 1, targets};
    s.renameFloor = {100};
    s.scanFloor = {50};
    s.perlRename = {250};
    s.readFloor = {40};
    s.exiftool = {4000};
    for (const StepLine& line : lines)
        s.add(line);
    return s;
}

} // namespace

class TestBenchReport : public QObject
{
    Q_OBJECT
private slots:
    void judgement_data();
    void judgement();
    void probeSeesBlockedLoop();
};

void TestBenchReport::judgement_data()
{
    QTest::addColumn<Samples>("samples");
    QTest::addColumn<QString>("row");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("verdict");
    const QString apply = "apply: renames", sort = "sort Name (A to Z) again",
                  wildcard = "wildcard rename: renames", rebuild = "apply: closing rebuild",
                  undo = "undo: renames", taken = "camera: Taken (Old to New)",
                  date = "camera: sort Date (Old to New)";
    const StepLine dateAt40Mb{date, 5, 1, 40 * 1024, -1, true, {}};
    // clang-format off
    QTest::newRow("apply within the tmpfs target") << samplesWith({step(apply, 140, 5)}) << apply << 1.4 << "PASS";
    QTest::newRow("apply over its target") << samplesWith({step(apply, 160, 5)}) << apply << 1.6 << "FAIL";
    QTest::newRow("apply fast but the loop waited too long") << samplesWith({step(apply, 100, 60)}) << apply << 1.0 << "FAIL";
    QTest::newRow("median of the runs, not the worst") << samplesWith({step(apply, 100, 5), step(apply, 900, 5), step(apply, 120, 5), step(apply, 140, 5)}) << apply << 1.3 << "PASS";
    QTest::newRow("past the limit: reported, not judged") << samplesWith({step(apply, 500, 600)}, 1.5, false) << apply << 5.0 << "-";
    QTest::newRow("sort within 20x std::sort, its wait not judged") << samplesWith({step(sort, 19, 60, 1)}) << sort << 19.0 << "PASS";
    QTest::newRow("a run that did not do its work") << samplesWith({step(apply, 50, 5, -1, false)}) << apply << 0.5 << "FAILED";
    QTest::newRow("wildcard rename within 1.8x, its wait judged") << samplesWith({step(wildcard, 170, 60)}) << wildcard << 1.7 << "FAIL";
    QTest::newRow("undo held to 1.8x the loop") << samplesWith({step(undo, 190, 5)}) << undo << 1.9 << "FAIL";
    QTest::newRow("rebuild held against the scan") << samplesWith({step(rebuild, 110, 100)}) << rebuild << 2.2 << "FAIL";
    QTest::newRow("peer against the floor: reported only") << samplesWith({}) << "peer: perl rename" << 2.5 << "-";
    QTest::newRow("the floor itself") << samplesWith({}) << "floor: renameat2 loop" << 0.0 << "";
    QTest::newRow("capture order within 2x the read floor") << samplesWith({step(taken, 70, 5)}) << taken << 1.75 << "PASS";
    QTest::newRow("capture order fast but the loop waited too long") << samplesWith({step(taken, 30, 60)}) << taken << 0.75 << "FAIL";
    QTest::newRow("capture order not 20x ahead of exiftool") << samplesWith({step(taken, 210, 5)}) << taken + " vs exiftool" << 0.0525 << "FAIL";
    QTest::newRow("capture order again dearer than a Date sort") << samplesWith({step(taken + " again", 12, 1, 10)}) << taken + " again" << 1.2 << "FAIL";
    QTest::newRow("capture times add 9 MB to the peak") << samplesWith({dateAt40Mb, {taken, 50, 5, 49 * 1024, -1, true, {}}}) << "peak memory rise, capture times (MB)" << 9.0 / 8 << "FAIL";
    QTest::newRow("memory within the limit") << samplesWith({step(apply, 100, 5)}) << "peak memory (MB)" << 40.0 / 60 << "PASS";
    // clang-format on
}

void TestBenchReport::judgement()
{
    QFETCH(Samples, samples);
    QFETCH(QString, row);
    QFETCH(double, ratio);
    QFETCH(QString, verdict);
    const Judgement judged = judgeStep(samples, row);
    QCOMPARE(judged.verdict, verdict);
    QVERIFY2(qAbs(judged.ratio - ratio) < 1e-9, qPrintable(QString::number(judged.ratio)));
}

// A yielding part, then a stretch of 100 ms without the loop: the split falls before the
// stretch, and the stretch shows as a wait of at least itself less the timer's interval.
void TestBenchReport::probeSeesBlockedLoop()
{
    StepProbe probe;
    probe.start();
    for (int k = 0; k < 5; ++k)
        QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100)
        ;
    const StepProbe::Part first = probe.splitAtLastWake();
    QVERIFY2(first.ms > 0 && probe.elapsedMs() - first.ms >= 100,
             qPrintable(QString::number(first.ms)));
    QVERIFY2(probe.longestWaitMs() >= 90, qPrintable(QString::number(probe.longestWaitMs())));
}

QTEST_GUILESS_MAIN(TestBenchReport)
#include "tst_benchreport.moc"

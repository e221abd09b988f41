// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The undo history: runs written and read back for any bytes, damaged and foreign files
// read without harm, the choice of the run to undo, the undo on real folders (names taken,
// gone, carried by another file, already back, parked under a temporary name, a folder
// moved), and runs and undos killed with SIGKILL at a random file, alone, beside a second
// writer, and in the middle of a file's companions. The killed writers are this binary
// started again with --child.

#include "catalogue/Catalogue.h"
#include "platform/Rename.h"
#include "run/RunHistory.h"
#include "run/RunLoops.h"
#include "run/SchemeWalk.h"
#include "run/Undo.h"
#include "support/Files.h"
#include "support/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace pellory;
using namespace pellory::testing;

namespace {

QByteArray fileName(int i)
{
    return "file" + QByteArray::number(i).rightJustified(4, '0') + ".txt";
}

quint64 inodeOf(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 ? st.st_ino : 0;
}

// Renames every file of the folder one place on, the first through a temporary name,
// recording each rename first and pausing around it.
bool rotate(const QByteArray& folder, int count, int delayMs)
{
    RunRecorder recorder;
    recorder.begin(RunKind::Scheme, folder, count);
    std::vector<std::pair<QByteArray, QByteArray>> steps{{fileName(0), ".pellory-1f.tmp"}};
    for (int i = 1; i < count; ++i)
        steps.push_back({fileName(i), fileName(i - 1)});
    steps.push_back({".pellory-1f.tmp", fileName(count - 1)});
    SystemRenamer renamer;
    for (const auto& [from, to] : steps) {
        if (!recorder.record(from, to, inodeOf(folder + '/' + from)))
            return false;
        QThread::msleep(ulong(delayMs) / 2); // a kill now leaves a record never carried out
        if (!renamer.renameRaw(folder, from, to).ok)
            return false;
        QThread::msleep(ulong(delayMs) / 2);
    }
    recorder.finish();
    return true;
}

// The four files of one camera shot: the picture, its RAW and both kinds of sidecar.
QByteArrayList cameraSet(int i)
{
    const QByteArray stem = "IMG_" + QByteArray::number(i).rightJustified(4, '0');
    return {stem + ".JPG", stem + ".CR2", stem + ".xmp", stem + ".JPG.xmp"};
}

// The system's renamer, pausing around every rename when asked to, and failing the n-th
// (counted from 1) as a permission problem, told to the observer as a step that failed.
struct TestRenamer : FileRenamer
{
    int delayMs = 0, failAt = 0, calls = 0;
    SystemRenamer system;
    RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRaw, const QString& newName,
                         RenameObserver* observer) override
    {
        return renameRaw(folder, oldRaw, QFile::encodeName(newName), observer);
    }
    RenameOutcome renameRaw(const QByteArray& folder, const QByteArray& oldRaw,
                            const QByteArray& newRaw, RenameObserver* observer) override
    {
        if (++calls == failAt) {
            if (observer && observer->beforeStep(oldRaw, newRaw, {}, {}))
                observer->stepFailed();
            return {false, EACCES, QStringLiteral("Permission denied")};
        }
        QThread::msleep(ulong(delayMs) / 2);
        const RenameOutcome outcome = system.renameRaw(folder, oldRaw, newRaw, observer);
        QThread::msleep(ulong(delayMs) / 2);
        return outcome;
    }
};

// The walk of every picture of `folder`, in name order, with its companions, by `settings`.
SchemeWalk walkOf(const QByteArray& folder, const QString& settings)
{
    auto catalogue = std::make_shared<Catalogue>();
    rebuildCatalogue(*catalogue, folder, "*.JPG", ExtensionMode::UseLastOccurrence);
    std::sort(catalogue->FileRecords.begin(), catalogue->FileRecords.end(),
              [](const FileRecord& a, const FileRecord& b) { return a.RawName < b.RawName; });
    return {catalogue, {}, settingsFrom(settings), listFolder(folder)};
}

// Renames the pictures of `folder` with their companions as the window's run does: the plan
// written first, each rename recorded as it is made; `stopAfter` files, when positive, Exit
// is asked. "renamed/taking part", " stopped" or " failed at old>new: why", then ", plan "
// and the renames planned.
QString walkFolder(const QByteArray& folder, const QString& settings, TestRenamer& renamer,
                   int stopAfter = 0)
{
    SchemeWalk walk = walkOf(folder, settings);
    const RenamePlan plan = planOf(walk, {});
    WalkResult result;
    result.takingPart = int(walk.renameSetSize());
    RunRecorder recorder;
    recorder.begin(RunKind::Scheme, folder, result.takingPart, plan);
    int files = 0;
    const std::optional<RenameFailure> failure = walkRenames(
        walk, folder, renamer, &recorder, {{}, [&] { return ++files == stopAfter; }}, result);
    recorder.finish();
    return QString::number(result.renamed) + '/' + QString::number(result.takingPart) +
           (result.stopped ? " stopped" : "") +
           (failure ? " failed at " + failure->oldName + '>' + failure->newName + ": " +
                          failure->description
                    : QString()) +
           ", plan " + QString::number(plan.size());
}

// Undoes a run as the window does (a run partly undone, for its files left), pausing after
// every file when asked to; `afterEach` runs after every file, given its number from 1, and
// true from it asks the undo to stop. The skipped files, one a line, then "stopped at N of
// M" when it stopped.
QString undo(const RunRecord& run, int delayMs = 0, const std::function<bool(int)>& afterEach = {})
{
    UndoPlan plan =
        run.leftBy.isEmpty() ? planUndo(run) : planRetry(readRun(run.id), readRun(run.leftBy));
    if (!plan.refusal.isEmpty())
        return plan.refusal;
    RunRecorder recorder;
    if (!recorder.beginUndo(plan.runId, plan.folder, plan.files(), false, plan.asPlan()))
        return recorder.error();
    Undoer undoer(std::move(plan), recorder, currentRenamer());
    int files = 0;
    const bool stopped = undoSteps(undoer, {{}, [&] {
                                                QThread::msleep(ulong(delayMs));
                                                return afterEach && afterEach(++files);
                                            }});
    recorder.finish();
    QStringList lines = undoer.outcome().skipped;
    if (stopped)
        lines << QString("stopped at %1 of %2").arg(undoer.done()).arg(undoer.total());
    return lines.join('\n');
}

// "scheme f 3/40 E: a>b c>d", with " damaged", " newer", " undone" when they apply.
QString summary(const RunRecord& run)
{
    static const char* kinds[] = {"scheme", "wildcard", "undo"};
    static const char* states[] = {"E", "running", "interrupted", "dismissed"};
    QStringList pairs;
    for (const RenameRecord& r : run.renames)
        pairs << QString::fromUtf8(r.oldRaw + '>' + r.newRaw);
    return QString(kinds[int(run.kind)]) + ' ' +
           QFileInfo(QFile::decodeName(run.folder)).fileName() + ' ' +
           QString::number(run.fileCount) + '/' + QString::number(run.plannedFiles) + ' ' +
           states[int(run.state)] + ": " + pairs.join(' ') + (run.damaged ? " damaged" : "") +
           (run.newer ? " newer" : "") + (run.undone ? " undone" : "");
}

// A folder layered over one on another file system, as a container's is: a file changed in
// it is copied up, and from then on the folder lists the inode of the copy while a lookup
// gives the one it had below. Needs root; path() is empty where it cannot mount.
class Overlay
{
public:
    Overlay() : m_below(QDir::tempPath() == "/dev/shm" ? "/tmp/below" : "/dev/shm/below") {}
    ~Overlay()
    {
        if (!m_mounted.isEmpty())
            ::umount2(m_mounted.constData(), MNT_DETACH);
    }
    QString below() const { return m_below.path(); }
    bool mount()
    {
        const QString top = m_top.path();
        const QByteArray options = "lowerdir=" + QFile::encodeName(below()) +
                                   ",upperdir=" + QFile::encodeName(top) +
                                   "/upper,workdir=" + QFile::encodeName(top) + "/work";
        const QByteArray mnt = QFile::encodeName(top) + "/mnt";
        if (QDir(top).mkdir("upper") && QDir(top).mkdir("work") && QDir(top).mkdir("mnt") &&
            ::mount("overlay", mnt.constData(), "overlay", 0, options.constData()) == 0)
            m_mounted = mnt;
        return !m_mounted.isEmpty();
    }
    QString path() const { return QFile::decodeName(m_mounted); }

private:
    QTemporaryDir m_below, m_top;
    QByteArray m_mounted;
};

} // namespace

class tst_RunHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { QDir(historyFolder()).removeRecursively(); }
    void recorded_data();
    void recorded();
    void parsed_data();
    void parsed();
    void walked_data();
    void walked();
    void undoOnDisk_data();
    void undoOnDisk();
    void historyPlace_data();
    void historyPlace();
    void fullDisk_data();
    void fullDisk();
    void killed_data();
    void killed();
};

void tst_RunHistory::recorded_data()
{
    // Runs, oldest first, ";" between them: "kind folder renames" with renames "old>new"
    // ("!" after one: it failed), then "undo N" for an undo of the N-th run that finished.
    // A folder "~/name" is made in a temporary folder; "~/link" leads to "~/real". "future":
    // the last run was recorded while the clock was a day ahead.
    QTest::addColumn<QString>("runs");
    QTest::addColumn<QString>("history"); // summaries, newest first, "|" between them
    QTest::addColumn<QString>("choices"); // the run to undo, then the undo back to the oldest
    // clang-format off
    QTest::newRow("bytes survive") << "scheme /tmp/x%20y 5%.jpg>%20\nR\tb\n c>E\n" << "scheme x%20y 2/2 E: 5%.jpg>%20\nR\tb\n c>E\n" << "0 0";
    QTest::newRow("a run renaming nothing leaves none") << "scheme /f a>b!;wildcard /f" << "" << "- -";
    QTest::newRow("failure in the middle") << "scheme /f a>b c>d! e>f" << "scheme f 2/3 E: a>b e>f" << "0 0";
    QTest::newRow("a record longer than a megabyte") << "scheme /f a>b*140000 c>d" << "scheme f 140001/140001 E: a>b a>b a>b a>b a>b" << "0 0";
    QTest::newRow("newest first, undo by folder") << "scheme /f a>b;wildcard /g c>d;scheme /f b>c" << "scheme f 1/1 E: b>c|wildcard g 1/1 E: c>d|scheme f 1/1 E: a>b" << "0 0,2";
    QTest::newRow("undo back through a link to the folder") << "scheme ~/real a>b;scheme ~/link b>c;scheme ~/other c>d" << "scheme other 1/1 E: c>d|scheme link 1/1 E: b>c|scheme real 1/1 E: a>b" << "0 1,2";
    QTest::newRow("a run stamped ahead by the clock") << "scheme /f a>b;future;scheme /f b>c" << "scheme f 1/1 E: b>c|scheme f 1/1 E: a>b" << "0 0,1";
    QTest::newRow("the undo of a run stamped ahead") << "scheme /f a>b;future;undo 0" << "undo f 1/1 E: b>a|scheme f 1/1 E: a>b undone" << "- -";
    QTest::newRow("an undone run is passed over") << "scheme /f a>b;scheme /f b>c;undo 1" << "undo f 1/1 E: c>b|scheme f 1/1 E: b>c undone|scheme f 1/1 E: a>b" << "2 2";
    // clang-format on
}

void tst_RunHistory::recorded()
{
    QFETCH(QString, runs);
    QFETCH(QString, history);
    QFETCH(QString, choices);
    std::vector<QString> ids; // of the runs recorded so far, oldest first
    QTemporaryDir made;
    QVERIFY(QDir(made.path()).mkdir("real") && QDir(made.path()).mkdir("other") &&
            QFile::link(made.filePath("real"), made.filePath("link")));
    for (QString run : runs.split(';')) {
        run.replace("~", made.path());
        if (run == "future") { // its stamps, in the file and in its name, a day ahead
            const auto ahead = [](QString text) {
                const QRegularExpressionMatch ms = QRegularExpression("\\d{13}").match(text);
                return text.replace(ms.capturedStart(), 13,
                                    QString::number(ms.captured().toLongLong() + 86400000));
            };
            QFile file(historyFolder() + '/' + ids.back());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = ahead(QString::fromUtf8(file.readAll()));
            file.close();
            QVERIFY(file.remove());
            ids.back() = ahead(ids.back());
            QFile later(historyFolder() + '/' + ids.back());
            QVERIFY(later.open(QIODevice::WriteOnly) && later.write(text.toUtf8()) > 0);
            continue;
        }
        RunRecorder recorder;
        QStringList words = run.split(' ', Qt::SkipEmptyParts);
        const QString kind = words.takeFirst();
        if (kind == "undo") {
            const RunRecord target = readRun(ids.at(words.first().toInt()));
            QVERIFY(recorder.beginUndo(target.id, target.folder, 1));
            QVERIFY(recorder.record(target.renames[0].newRaw, target.renames[0].oldRaw, 0));
        } else {
            const QByteArray folder = words.takeFirst().toUtf8();
            // "a>b*3": the rename recorded three times, for a record of some length
            const auto times = [](const QString& pair) { return pair.section('*', 1).toInt(); };
            int planned = 0;
            for (const QString& pair : words)
                planned += pair.contains('*') ? times(pair) : 1;
            recorder.begin(kind == "scheme" ? RunKind::Scheme : RunKind::Wildcard, folder, planned);
            for (const QString& pair : words) {
                for (int n = pair.contains('*') ? times(pair) : 1; n > 0; --n)
                    QVERIFY(recorder.record(
                        pair.section('>', 0, 0).toUtf8(),
                        pair.section('>', 1).section('*', 0, 0).remove('!').toUtf8(), 7));
                if (pair.endsWith('!'))
                    recorder.renameFailed();
            }
        }
        recorder.finish();
        QThread::msleep(2); // runs apart in time, so that their order is their start's
        const RunHistory now = RunHistory::read();
        if (!now.runs().empty() && (ids.empty() || ids.back() != now.runs().front().id))
            ids.push_back(now.runs().front().id);
    }
    const RunHistory read = RunHistory::read();
    QStringList shown;
    for (const RunRecord& run : read.runs())
        shown << summary(run);
    QCOMPARE(shown.join('|'), history);
    const auto position = [&](const RunRecord* run) {
        return QString::number(run ? &*run - &read.runs().front() : -1).replace("-1", "-");
    };
    QStringList backTo;
    for (const RunRecord* run : read.undoBackTo(read.runs().empty() ? "" : read.runs().back().id))
        backTo << position(run);
    QCOMPARE(position(read.newestToUndo()) + ' ' + (backTo.isEmpty() ? "-" : backTo.join(',')),
             choices);
}

void tst_RunHistory::parsed_data()
{
    // "@" stands for the head of a run in /f, "~" for a 0, "|" starts the file of the same
    // process's next run in the same millisecond, "^" the head of an undo of the first run.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    const char* rows[][3] = {
        {"finished", "@R a b 1\nX\nR c d 2\nE 1\n", "scheme f 1/4 E: c>d"},
        {"killed between records", "@R a b 1\nR c d 2\n", "scheme f 2/4 interrupted: a>b c>d"},
        {"last line cut short", "@R a b 1\nR c", "scheme f 1/4 interrupted: a>b"},
        {"torn by a kill", "@R a b 1\nR c ~~~~", "scheme f 1/4 interrupted: a>b"},
        {"dismissed", "@R a b 1\nA 1\n", "scheme f 1/4 dismissed: a>b"},
        {"unknown line", "@R a b 1\nQ\nR c d 2\nE 2\n", "scheme f 1/4 E: a>b damaged"},
        {"escape not as written", "@R a b 1\nR %63 d 2\n", "scheme f 1/4 interrupted: a>b damaged"},
        {"escape not hex", "@R a%zz b 1\n", "scheme f 0/4 interrupted:  damaged"},
        {"escape as written", "@R a%2Ab c 1\nE 1\n", "scheme f 1/4 E: a*b>c"},
        {"byte not escaped", "@R a b 1\nR c*d e 2\n", "scheme f 1/4 interrupted: a>b damaged"},
        {"inode not a number", "@R a b x\n", "scheme f 0/4 interrupted:  damaged"},
        {"no head", "R a b 1\nE 1\n", "scheme  0/0 E:  damaged"},
        {"newer version", "pellory-run 4\nK scheme\n", "scheme  0/0 E:  newer"},
        {"two steps, one file", "@R a .pellory-0a.tmp 1\nR .pellory-0a.tmp A 1\nE 1\n",
         "scheme f 1/4 E: a>.pellory-0a.tmp .pellory-0a.tmp>A"},
        {"killed between two steps", "@R b b 2\nR a .pellory-0a.tmp 1\n",
         "scheme f 1/4 interrupted: b>b a>.pellory-0a.tmp"},
        {"run and its undo in one millisecond", "@R a b 1\nE 1\n|^R b a 1\nE 1\n",
         "undo f 1/4 E: b>a|scheme f 1/4 E: a>b undone"},
        {"eleven runs in one millisecond",
         "@R a b 1\nE 1\n|@R b c 1\nE 1\n|@R c d 1\nE 1\n|@R d e 1\nE 1\n|@R e f 1\nE 1\n|@R f g "
         "1\nE 1\n|@R g h 1\nE 1\n|@R h i 1\nE 1\n|@R i j 1\nE 1\n|@R j k 1\nE 1\n|@R k l 1\nE 1\n",
         "scheme f 1/4 E: k>l|scheme f 1/4 E: j>k|scheme f 1/4 E: i>j|scheme f 1/4 E: h>i|scheme f "
         "1/4 E: g>h|scheme f 1/4 E: f>g|scheme f 1/4 E: e>f|scheme f 1/4 E: d>e|scheme f 1/4 E: "
         "c>d|scheme f 1/4 E: b>c|scheme f 1/4 E: a>b"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0])
            << QByteArray(r[1])
                   .replace("@", "pellory-run 2\nK scheme\nT 5\nF /f 1 2\nN 4\n")
                   .replace("^",
                            "pellory-run 2\nK undo\nT 5\nF /f 1 2\nN 4\nU 0000000000001-1.run\n")
                   .replace('~', '\0')
            << QString(r[2]);
}

void tst_RunHistory::parsed()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    // Written as a run's file, as a crash or another program would leave it, and read back.
    QVERIFY(QDir().mkpath(historyFolder()));
    const QList<QByteArray> files = text.split('|');
    for (qsizetype n = 0; n < files.size(); ++n) {
        QFile file(historyFolder() + "/0000000000001-1" + (n ? "-" + QString::number(n) : "") +
                   ".run");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(files[n]) == files[n].size());
    }
    const RunHistory history = RunHistory::read();
    QStringList shown;
    for (const RunRecord& run : history.runs())
        shown << summary(run);
    QCOMPARE(shown.join('|'), expected);
}

void tst_RunHistory::walked_data()
{
    QTest::addColumn<QString>("files");   // made in an empty folder, each holding its name
    QTest::addColumn<int>("failAt");      // the rename that fails, from 1; -N: Exit after N files
    QTest::addColumn<QString>("result");  // as walkFolder gives it
    QTest::addColumn<QString>("history"); // the run as the history sums it up
    QTest::addColumn<QString>("after");   // the listing after the run
    QTest::addColumn<QString>("preview"); // the names a preview lists, Exit asked as in the run
    // clang-format off
    QTest::newRow("Exit after the first file") << "a.JPG b.JPG c.JPG" << -1 << "1/3 stopped, plan 3" << "scheme f 1/3 E: a.JPG>T001.JPG" << "T001.JPG=a.JPG|b.JPG=b.JPG|c.JPG=c.JPG" << "T001.JPG<a.JPG";
    QTest::newRow("Exit after the last file stops nothing") << "a.JPG b.JPG" << -2 << "2/2, plan 2" << "scheme f 2/2 E: a.JPG>T001.JPG b.JPG>T002.JPG" << "T001.JPG=a.JPG|T002.JPG=b.JPG" << "T001.JPG<a.JPG T002.JPG<b.JPG";
    QTest::newRow("companions follow, not counted") << "a.JPG a.xmp b.JPG" << 0 << "2/2, plan 3" << "scheme f 3/2 E: a.JPG>T001.JPG a.xmp>T001.xmp b.JPG>T002.JPG" << "T001.JPG=a.JPG|T001.xmp=a.xmp|T002.JPG=b.JPG" << "T001.JPG<a.JPG T001.xmp<a.xmp T002.JPG<b.JPG";
    QTest::newRow("a companion that cannot follow stops the run") << "a.JPG a.xmp b.JPG b.xmp" << 2 << "1/2 failed at a.xmp>T001.xmp: Permission denied, plan 4" << "scheme f 1/2 E: a.JPG>T001.JPG" << "T001.JPG=a.JPG|a.xmp=a.xmp|b.JPG=b.JPG|b.xmp=b.xmp" << "T001.JPG<a.JPG T001.xmp<a.xmp T002.JPG<b.JPG T002.xmp<b.xmp";
    // clang-format on
}

void tst_RunHistory::walked()
{
    QFETCH(QString, files);
    QFETCH(int, failAt);
    QFETCH(QString, result);
    QFETCH(QString, history);
    QFETCH(QString, after);
    QFETCH(QString, preview);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("f"));
    const QByteArray folder = QFile::encodeName(dir.filePath("f"));
    for (const QString& name : files.split(' '))
        QVERIFY(makeFile(folder + '/' + name.toUtf8(), name.toUtf8()));
    SchemeWalk previewed = walkOf(folder, "batch prefix=T");
    QStringList rows;
    int listed = 0;
    const auto append = [&](const QStringList& names, const QStringList& olds,
                            const std::vector<qint32>&) {
        for (qsizetype i = 0; i < names.size(); ++i)
            rows << names[i] + '<' + olds[i];
    };
    fillPreview(previewed, 0, append, {{}, [&] { return ++listed == -failAt; }});
    QCOMPARE(rows.join(' '), preview);
    TestRenamer renamer;
    renamer.failAt = std::max(failAt, 0);
    QCOMPARE(walkFolder(folder, "batch prefix=T", renamer, -failAt), result);
    QCOMPARE(summary(RunHistory::read().runs().front()), history);
    QCOMPARE(QString::fromUtf8(listing(dir.filePath("f"))), after);
}

void tst_RunHistory::undoOnDisk_data()
{
    QTest::addColumn<QString>("run");   // "old>new ...", in the order done
    QTest::addColumn<QString>("after"); // then: "+name" made anew, "0name" made empty, "-name"
                                        // deleted, "a>b" renamed by hand, "moved" the folder
                                        // moved away; after "|": once the undo has put its
                                        // first file back; "layered": the folder is an overlay
                                        // and every file in it was copied up; "lost:N": the
                                        // last N records never reached the disk (a power cut),
                                        // "plan:a>b,..": renames planned and never made
    QTest::addColumn<int>("parked");    // -1: the run finished; else the files its writer, dying,
                                        // left parked that the next start puts back
    QTest::addColumn<QString>("expected"); // the listing after the undo
    QTest::addColumn<QString>("skipped");
    // clang-format off
    QTest::newRow("all back") << "a>A b>B c>C" << "" << -1 << "a=a|b=b|c=c" << "";
    QTest::newRow("new name gone") << "a>A b>B c>C" << "-B" << -1 << "a=a|c=c" << "B -> b: the file is gone";
    QTest::newRow("old name taken") << "a>A b>B c>C" << "+b" << -1 << "B=b|a=a|b=new|c=c" << "B -> b: the old name is taken";
    QTest::newRow("another file took the name") << "a>A b>B" << "B>held +B" << -1 << "B=new|a=a|held=b" << "B -> b: another file has this name now";
    QTest::newRow("rotation via a temporary") << "a>.pellory-7.tmp b>a .pellory-7.tmp>b" << "" << -1 << "a=a|b=b" << "";
    QTest::newRow("killed while parked") << "a>A b>.pellory-7.tmp" << "" << 1 << "a=a|b=b" << "";
    QTest::newRow("killed after reserving a temporary name") << "a>A b>.pellory-7.tmp" << ".pellory-7.tmp>b 0.pellory-7.tmp" << 1 << "a=a|b=b" << "";
    QTest::newRow("killed after reserving the new name") << "a>A b>.pellory-7.tmp .pellory-7.tmp>B" << "B>.pellory-7.tmp 0B" << 1 << "a=a|b=b" << "";
    QTest::newRow("in-flight rename, killed") << "a>A b>B d>D" << "D>d" << 0 << "a=a|b=b|d=d" << "";
    QTest::newRow("already back after an undo cut short") << "a>A b>B c>C" << "C>c B>b" << -1 << "a=a|b=b|c=c" << "";
    QTest::newRow("old name not valid text") << "caf~>CAFE b>B" << "" << -1 << "b=b|caf~=caf~" << "";
    QTest::newRow("folder moved") << "a>A" << "moved" << -1 << "" << "moved";
    QTest::newRow("put back by hand during the undo") << "a>A b>B c>C" << "| A>a" << -1 << "a=a|b=b|c=c" << "";
    QTest::newRow("old name taken during the undo") << "a>A b>B c>C" << "| +a" << -1 << "A=a|a=new|b=b|c=c" << "A -> a: the old name is taken";
    QTest::newRow("gone during the undo") << "a>A b>B c>C" << "| -A" << -1 << "b=b|c=c" << "A -> a: the file is gone";
    QTest::newRow("power cut: the last records lost") << "a>A b>B c>C" << "lost:2" << 0 << "a=a|b=b|c=c" << "";
    QTest::newRow("power cut: no record on the disk") << "a>.pellory-7.tmp b>a .pellory-7.tmp>b c>C" << "lost:4" << 0 << "a=a|b=b|c=c" << "";
    QTest::newRow("power cut: planned renames not made") << "a>A" << "plan:b>B,c>C lost:1" << 0 << "a=a|b=b|c=c" << "";
    QTest::newRow("power cut: a planned name taken by another file") << "a>A" << "plan:b>B lost:1 +B" << 0 << "B=new|a=a|b=b" << "";
    QTest::newRow("layered folder") << "a>A b>B c>C" << "layered" << -1 << "a=a|b=b|c=c" << "";
    // "stop": Exit after the first file; the undo is then tried again for the files left.
    QTest::newRow("Exit during the undo, then again") << "a>A b>B c>C" << "| stop" << -1 << "a=a|b=b|c=c" << "stopped at 1 of 3";
    QTest::newRow("Exit after the last file stops nothing") << "a>A" << "| stop" << -1 << "a=a" << "";
    // clang-format on
}

void tst_RunHistory::undoOnDisk()
{
    QFETCH(QString, run);
    QFETCH(QString, after);
    QFETCH(int, parked);
    QFETCH(QString, expected);
    QFETCH(QString, skipped);
    QTemporaryDir dir;
    Overlay overlay;
    const bool layered = after == "layered";
    const QString path = layered ? overlay.below() : dir.path();
    const auto emptyFolder = qScopeGuard([&] { removeInside(QFile::encodeName(dir.path())); });
    QByteArray folder = QFile::encodeName(path);
    // Lay out the folder as the run left it, each file holding its first name; "~" stands
    // for a byte that is not valid UTF-8.
    Listing onDisk;
    QList<std::pair<QByteArray, QByteArray>> renames;
    QByteArrayList moved; // each rename's file, by its first name
    for (const QString& step : run.split(' ')) {
        const QByteArray from = step.section('>', 0, 0).toUtf8().replace('~', '\xe9');
        const QByteArray to = step.section('>', 1, 1).toUtf8().replace('~', '\xe9');
        renames.append({from, to});
        moved.append(onDisk.contains(from) ? onDisk.take(from) : from);
        onDisk.insert(to, moved.back());
    }
    for (auto it = onDisk.begin(); it != onDisk.end(); ++it)
        QVERIFY(makeFile(folder + '/' + it.key(), it.value()));
    if (layered) {
        if (!overlay.mount())
            QSKIP("no overlay mount here");
        folder = QFile::encodeName(overlay.path());
        for (auto it = onDisk.begin(); it != onDisk.end(); ++it)
            QVERIFY(::chmod((folder + '/' + it.key()).constData(), 0640) == 0);
    }
    QStringList changes = after.split(' ', Qt::SkipEmptyParts);
    const bool stop = changes.removeAll("stop") > 0;
    const QString lost = changes.filter(QRegularExpression("^lost:")).value(0);
    const QString unmade = changes.filter(QRegularExpression("^plan:")).value(0);
    changes.removeAll(lost);
    changes.removeAll(unmade);
    {
        RenamePlan plan;
        for (qsizetype i = 0; i < renames.size(); ++i)
            plan.push_back({renames[i].first, renames[i].second,
                            inodeOf(folder + '/' + onDisk.key(moved[i]))});
        for (const QString& pair : unmade.mid(5).split(',', Qt::SkipEmptyParts)) {
            const QByteArray from = pair.section('>', 0, 0).toUtf8();
            QVERIFY(makeFile(folder + '/' + from, from));
            plan.push_back({from, pair.section('>', 1).toUtf8(), inodeOf(folder + '/' + from)});
        }
        RunRecorder recorder;
        recorder.begin(RunKind::Scheme, folder, int(plan.size()), plan);
        for (qsizetype i = 0; i < renames.size() - lost.mid(5).toInt(); ++i)
            QVERIFY(recorder.record(plan[i].oldRaw, plan[i].newRaw, plan[i].inode));
        if (parked < 0)
            recorder.finish(); // else the writer dies: its file stays as it was
    }
    {
        const RunHistory history = RunHistory::read(); // the run to undo, whatever it lost
        QVERIFY(history.newestToUndo() && history.newestToUndo()->id == history.runs().front().id);
    }
    const RunRecord recorded = readRun(RunHistory::read().runs().front().id);
    const auto apply = [&](const QString& change) {
        const QByteArray name = folder + '/' + change.mid(1).toUtf8();
        if (change == "moved")
            QVERIFY(QDir().rename(dir.path(), dir.path() + ".moved") && QDir().mkdir(dir.path()));
        else if (change.startsWith('+') || change.startsWith('0'))
            QVERIFY(makeFile(name, change.startsWith('+') ? "new" : ""));
        else if (change.startsWith('-'))
            QVERIFY(::unlink(name.constData()) == 0);
        else if (change != "layered")
            QVERIFY(::rename((folder + '/' + change.section('>', 0, 0).toUtf8()).constData(),
                             (folder + '/' + change.section('>', 1).toUtf8()).constData()) == 0);
    };
    const qsizetype during = changes.contains("|") ? changes.indexOf("|") : changes.size();
    for (const QString& before : changes.first(during))
        apply(before);
    const auto removeMoved = qScopeGuard([&] { QDir(dir.path() + ".moved").removeRecursively(); });
    if (parked >= 0) {
        QCOMPARE(putBackParked(recorded, currentRenamer()), parked);
        const RunHistory history = RunHistory::read();
        const RunRecord* next = history.newestToUndo(); // not undone by that
        QVERIFY(next && next->id == recorded.id);
    }
    QString outcome = undo(recorded, 0, [&](int file) {
        if (file == 1) {
            for (const QString& later : changes.sliced(std::min(during + 1, changes.size())))
                apply(later);
        }
        return stop;
    });
    if (stop && RunHistory::read().newestToUndo())
        outcome += undo(*RunHistory::read().newestToUndo());
    QCOMPARE(QString::fromUtf8(listing(QFile::decodeName(folder)).replace('\xe9', '~')), expected);
    if (skipped == "moved")
        QVERIFY2(outcome.contains("has been moved or replaced"), qPrintable(outcome));
    else
        QCOMPARE(outcome, skipped);
}

void tst_RunHistory::historyPlace_data()
{
    QTest::addColumn<QString>("found");    // what the history's path holds before the first run
    QTest::addColumn<QString>("expected"); // the folder's mode once a run is recorded, or why not
    const QString refused = "The undo history could not be written: ";
    QTest::newRow("nothing: made for the user alone") << ""
                                                      << "700";
    QTest::newRow("a link to a folder")
        << "link"
        << refused +
               "~/Pellory/history is a link, not a folder. Pellory writes its history only into a "
               "folder of its own: remove the link, and Pellory makes the folder anew.";
    QTest::newRow("a file") << "file"
                            << refused + "~/Pellory/history is a file, not a folder. Move the file "
                                         "away or delete it, and Pellory makes the folder anew.";
    QTest::newRow("another user's folder")
        << "other"
        << refused + "the folder ~/Pellory/history belongs to another user. Remove it, and Pellory "
                     "makes it anew as yours.";
}

void tst_RunHistory::historyPlace()
{
    QFETCH(QString, found);
    QFETCH(QString, expected);
    if (found == "other" && ::geteuid() != 0)
        QSKIP("only the super-user gives a folder to another user");
    QTemporaryDir state;
    const QByteArray was = qgetenv("XDG_STATE_HOME");
    const auto restore = qScopeGuard([&] { qputenv("XDG_STATE_HOME", was); });
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    const QByteArray history = QFile::encodeName(historyFolder());
    QVERIFY(QDir().mkpath(state.path() + "/Pellory") && QDir().mkpath(state.path() + "/elsewhere"));
    if (found == "link")
        QVERIFY(QFile::link(state.path() + "/elsewhere", historyFolder()));
    else if (found == "file")
        QVERIFY(makeFile(history, "notes"));
    else if (found == "other")
        QVERIFY(::mkdir(history.constData(), 0755) == 0 &&
                ::chown(history.constData(), 65534, 65534) == 0);
    RunRecorder recorder;
    recorder.begin(RunKind::Scheme, "/f", 1);
    struct stat st;
    const QString result = recorder.record("a", "b", 1) && ::stat(history.constData(), &st) == 0
                               ? QString::number(st.st_mode & 0777, 8)
                               : recorder.refusal();
    recorder.finish();
    QCOMPARE(QString(result).replace(state.path(), "~"), expected);
}

void tst_RunHistory::fullDisk_data()
{
    QTest::addColumn<int>("left");         // KB left free on the history's disk, once a run of 5
                                           // files in /f is recorded
    QTest::addColumn<QString>("then");     // "run": a run in /g records until the disk is full;
                                           // "undo": the undo of the run of 5 files begins
    QTest::addColumn<QString>("expected"); // the newest run, or how the undo began
    QTest::newRow("a run stopped by the full disk is closed") << 100 << "run"
                                                              << "g E stopped";
    QTest::newRow("the undo of a small run on a nearly full disk") << 24 << "undo"
                                                                   << "begun";
    QTest::newRow("the undo on a full disk says what to free")
        << 0 << "undo"
        << "The undo history could not be written: the disk that holds ~/Pellory/history is full: "
           "the history needs 4 KB more there. Free that much on that disk (empty the trash, for "
           "one) and try again.";
}

void tst_RunHistory::fullDisk()
{
    QFETCH(int, left);
    QFETCH(QString, then);
    QFETCH(QString, expected);
    QTemporaryDir state;
    const QByteArray disk = QFile::encodeName(state.path());
    if (::mount("tmpfs", disk.constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("no small disk to fill here (mounting takes the super-user)");
    const QByteArray was = qgetenv("XDG_STATE_HOME");
    const auto restore = qScopeGuard([&] {
        ::umount2(disk.constData(), MNT_DETACH);
        qputenv("XDG_STATE_HOME", was);
    });
    qputenv("XDG_STATE_HOME", disk);
    RunRecorder first;
    first.begin(RunKind::Scheme, "/f", 5);
    RenamePlan back;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        QVERIFY(first.record(name, QByteArray(name).toUpper(), 1));
        back.push_back({QByteArray(name).toUpper(), name, 1});
    }
    first.finish();
    const QString id = RunHistory::read().runs().front().id;
    struct statvfs fs;
    QVERIFY(::statvfs(disk.constData(), &fs) == 0);
    const int fill = ::open(disk + "/fill", O_WRONLY | O_CREAT, 0600);
    QVERIFY(fill >= 0 &&
            ::posix_fallocate(fill, 0, off_t(fs.f_bavail * fs.f_bsize) - left * 1024) == 0);
    ::close(fill);
    RunRecorder recorder;
    QString result;
    if (then == "run") {
        // Records as short as the end line, so that only the room kept back for it lets
        // the run be closed.
        recorder.begin(RunKind::Scheme, "/g", 20000);
        int done = 0;
        while (done < 20000 && recorder.record("a", "b", 1))
            ++done;
        recorder.finish();
        static const char* states[] = {"E", "running", "interrupted", "dismissed"};
        const RunRecord newest = RunHistory::read().runs().front();
        result = QFileInfo(QFile::decodeName(newest.folder)).fileName() + ' ' +
                 states[int(newest.state)] + (done < 20000 ? " stopped" : "");
    } else {
        result = recorder.beginUndo(id, "/f", 5, false, back) ? "begun" : recorder.refusal();
        recorder.finish();
    }
    QCOMPARE(result.replace(state.path(), "~"), expected);
}

void tst_RunHistory::killed_data()
{
    QTest::addColumn<int>("writers");     // runs at once in their own folders; the first is killed
    QTest::addColumn<bool>("undoKilled"); // the run finishes, and its undo is killed instead
    QTest::addColumn<bool>("sets");       // pictures renamed with their RAW and sidecars
    QTest::newRow("run killed") << 1 << false << false;
    QTest::newRow("undo killed") << 1 << true << false;
    QTest::newRow("two windows, one killed") << 2 << false << false;
    QTest::newRow("run with companions killed") << 1 << false << true;
}

void tst_RunHistory::killed()
{
    QFETCH(int, writers);
    QFETCH(bool, undoKilled);
    QFETCH(bool, sets);
    constexpr int kFiles = 60, kDelayMs = 4;
    QRandomGenerator rng(20261205);
    for (int round = 0; round < 4; ++round) {
        init();
        std::vector<std::unique_ptr<QTemporaryDir>> dirs;
        std::vector<std::unique_ptr<QProcess>> children;
        for (int w = 0; w < writers; ++w) {
            dirs.push_back(std::make_unique<QTemporaryDir>());
            for (int i = 0; i < kFiles; ++i) {
                const QByteArrayList names = sets ? cameraSet(i / 4) : QByteArrayList{fileName(i)};
                const QByteArray name = names[i % names.size()];
                QVERIFY(makeFile(QFile::encodeName(dirs[w]->path()) + '/' + name, name));
            }
        }
        QByteArrayList before;
        for (const auto& d : dirs)
            before << listing(d->path());
        if (undoKilled)
            QVERIFY(rotate(QFile::encodeName(dirs[0]->path()), kFiles, 0));
        for (int w = 0; w < writers; ++w) {
            children.push_back(std::make_unique<QProcess>());
            const QString what = undoKilled ? RunHistory::read().runs().front().id
                                 : sets     ? "sets"
                                            : "run";
            children[w]->start(QCoreApplication::applicationFilePath(),
                               {"--child", what, dirs[w]->path(), QString::number(kFiles)});
            QVERIFY(children[w]->waitForStarted());
        }
        // A process starts slowly on a busy machine: each child waits for its go, so that
        // none is done before the others run; then wait for their first records and kill
        // the first child somewhere in the first half of its work.
        for (const auto& child : children)
            QVERIFY(child->write("g") == 1 && child->waitForBytesWritten());
        QTRY_VERIFY_WITH_TIMEOUT(RunHistory::read().runs().size() >= size_t(writers + undoKilled),
                                 60000);
        QTest::qWait(rng.bounded(kFiles * kDelayMs / 2));
        children[0]->kill();
        for (const auto& child : children)
            QVERIFY(child->waitForFinished());
        QCOMPARE(children[0]->exitStatus(), QProcess::CrashExit);
        // Every writer's run is in the history, the killed one reported as interrupted; its
        // undo (of the run, or again of the run whose undo was killed) gives every name back.
        const RunHistory history = RunHistory::read();
        QCOMPARE(history.runs().size(), size_t(writers + undoKilled));
        const RunRecord* cut = history.interrupted();
        QVERIFY(cut && QFile::decodeName(cut->folder) == dirs[0]->path());
        const RunRecord target = readRun(undoKilled ? cut->undoes : cut->id);
        if (sets) // the plan names every file of every set, so the undo knows them all
            QCOMPARE(target.plan.size(), size_t(kFiles));
        putBackParked(readRun(cut->id), currentRenamer());
        const RunHistory parkedBack = RunHistory::read();
        QVERIFY(parkedBack.interrupted() && parkedBack.interrupted()->id == cut->id);
        QCOMPARE(undo(target), QString());
        QCOMPARE(listing(dirs[0]->path()), before[0]);
        QVERIFY(!RunHistory::read().interrupted()); // nothing left to report at the next start
        for (int w = 1; w < writers; ++w) {
            const RunHistory left = RunHistory::read();
            QVERIFY(left.newestToUndo());
            QCOMPARE(undo(readRun(left.newestToUndo()->id)), QString());
            QCOMPARE(listing(dirs[w]->path()), before[w]);
        }
    }
}

int main(int argc, char** argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--child") == 0) {
        const QByteArray folder = argv[3];
        if (std::getchar() != 'g')
            return 2;
        if (qstrcmp(argv[2], "run") == 0)
            return rotate(folder, atoi(argv[4]), 4) ? 0 : 1;
        if (qstrcmp(argv[2], "sets") == 0) { // the plan, written first, shows it early
            TestRenamer renamer;
            renamer.delayMs = 8;
            const QString result = walkFolder(folder, "batch prefix=Trip_", renamer);
            return result == "15/15, plan 60" ? 0 : 1;
        }
        return undo(readRun(QString::fromLocal8Bit(argv[2])), 4).isEmpty() ? 0 : 1;
    }
    QCoreApplication app(argc, argv);
    tst_RunHistory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_runhistory.moc"

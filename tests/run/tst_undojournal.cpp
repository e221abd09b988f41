// The journal's records for any bytes, the reading of a journal a crash cut short, the undo
// on real folders (names taken or gone meanwhile, a rotation through a temporary name) and a
// run killed with SIGKILL at a random file, then undone. The killed run is this binary
// started again with --journal-child.

#include "../window/RandomFolder.h"
#include "platform/Rename.h"
#include "run/UndoJournal.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace pellory;
using namespace pellory::testing;

namespace {

void makeFile(const QString& folder, const QByteArray& raw, const QByteArray& contents)
{
    QFile file(QFile::decodeName(QFile::encodeName(folder) + '/' + raw));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(contents) < 0)
        qFatal("cannot create %s", raw.constData());
}

QByteArray rotationName(int i)
{
    return "file" + QByteArray::number(i).rightJustified(4, '0') + ".txt";
}

// The child: rotates every name of the folder one place on (the first goes through a
// temporary name), journalling each rename and pausing after it, until it is killed.
int journalChild(const QString& folder, int count, int delayMs)
{
    RunJournal journal(journalFolder());
    journal.begin();
    SystemRenamer renamer;
    const auto rename = [&](const QByteArray& from, const QByteArray& to) {
        if (!journal.record(folder, from, to))
            return false;
        QThread::msleep(ulong(delayMs) / 2); // a kill now leaves a record whose rename never ran
        const bool ok = renamer.rename(folder, from, QString::fromLatin1(to)).ok;
        QThread::msleep(ulong(delayMs) / 2);
        return ok;
    };
    if (!rename(rotationName(0), "rotation.tmp"))
        return 1;
    for (int i = 1; i < count; ++i)
        if (!rename(rotationName(i), rotationName(i - 1)))
            return 1;
    if (!rename("rotation.tmp", rotationName(count - 1)))
        return 1;
    journal.finish();
    return 0;
}

} // namespace

class tst_UndoJournal : public QObject
{
    Q_OBJECT

private slots:
    void init() { forgetLastRun(journalFolder()); }
    void recordsKeepBytes_data();
    void recordsKeepBytes();
    void readsJournal_data();
    void readsJournal();
    void finishedJournalHoldsItsRecords();
    void undoOnDisk_data();
    void undoOnDisk();
    void killedRunIsUndone();
};

void tst_UndoJournal::recordsKeepBytes_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("oldRaw");
    QTest::addColumn<QByteArray>("newRaw");
    const QString accented = QString::fromUtf8("/tmp/\xc3\x89t\xc3\xa9 1");
    QTest::newRow("blanks, percent") << "/tmp/x y" << QByteArray("5% .jpg") << QByteArray(" %20 ");
    QTest::newRow("line break") << "/tmp/a" << QByteArray("a\nR b c\n") << QByteArray("E\n");
    QTest::newRow("invalid utf-8") << accented << QByteArray("\xff\xfe.jpg") << QByteArray("\xc3(");
}

void tst_UndoJournal::recordsKeepBytes()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, oldRaw);
    QFETCH(QByteArray, newRaw);
    const JournalEntry entry{folder, oldRaw, newRaw};
    const QByteArray record = journalRecord(entry);
    QCOMPARE(record.count('\n'), 1);
    const JournalRun run = parseJournal("pellory-journal 1\n" + record);
    QCOMPARE(run.renames.size(), size_t(1));
    QVERIFY(run.renames.front() == entry);
}

void tst_UndoJournal::readsJournal_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected"); // old>new|...  then " finished" or " interrupted"
    const char* rows[][3] = {
        {"finished", "@R /f a b\nR /f c d\nE\n", "a>b|c>d finished"},
        {"killed between records", "@R /f a b\nR /f c d\n", "a>b|c>d interrupted"},
        {"last line cut short", "@R /f a b\nR /f c", "a>b interrupted"},
        {"failed rename taken back", "@R /f a b\nR /f c d\nX\nE\n", "a>b finished"},
        {"unknown line stops", "@R /f a b\nQ\nR /f c d\nE\n", "a>b interrupted"},
        {"no header", "R /f a b\nE\n", " interrupted"},
        {"record torn by a kill", "@R /f a b\nR /f ~~ d\nR /f c d\n~~~~", "a>b interrupted"}};
    for (const auto& r : rows) // @ stands for the header line, ~ for a zero byte
        QTest::newRow(r[0])
            << QByteArray(r[1]).replace("@", "pellory-journal 1\n").replace('~', '\0')
            << QString(r[2]);
}

void tst_UndoJournal::readsJournal()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    const JournalRun run = parseJournal(text);
    QStringList renames;
    for (const JournalEntry& e : run.renames)
        renames.append(QString::fromUtf8(e.oldRaw + '>' + e.newRaw));
    QCOMPARE(renames.join('|') + (run.finished ? " finished" : " interrupted"), expected);
}

void tst_UndoJournal::finishedJournalHoldsItsRecords()
{
    RunJournal journal(journalFolder());
    journal.begin();
    QByteArray expected = "pellory-journal 1\n";
    for (const QByteArray name : {"a", "b", "c"}) {
        QVERIFY(journal.record("/f", name, "n" + name));
        expected += journalRecord({"/f", name, "n" + name});
    }
    journal.renameFailed();
    journal.finish();
    QFile file(journalFolder() + "/last-run.journal");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected + "X\nE\n");
}

void tst_UndoJournal::undoOnDisk_data()
{
    QTest::addColumn<QString>("run");   // "old>new ...", in the order done
    QTest::addColumn<QString>("after"); // then on disk: "+name" made anew, "-name" deleted
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QString>("expected"); // "name:contents|..." after the undo
    QTest::addColumn<int>("skipped");
    const struct
    {
        const char *tag, *run, *after;
        bool finished;
        const char* expected;
        int skipped;
    } rows[] = {{"all back", "a>A b>B c>C", "", true, "a:a|b:b|c:c", 0},
                {"new name gone", "a>A b>B c>C", "-B", true, "a:a|c:c", 1},
                {"old name taken", "a>A b>B c>C", "+b", true, "B:b|a:a|b:new|c:c", 1},
                {"rotation via a temporary", "a>t b>a c>b t>c", "", true, "a:a|b:b|c:c", 0},
                {"in-flight rename, killed", "a>A b>B d>D", "-D +d", false, "a:a|b:b|d:new", 0},
                {"last rename, finished", "a>A d>D", "-D +d", true, "a:a|d:new", 1},
                {"old name not valid text", "caf~>CAFE b>B", "", true, "b:b|caf~:caf~", 0}};
    for (const auto& r : rows)
        QTest::newRow(r.tag) << QString(r.run) << QString(r.after) << r.finished
                             << QString(r.expected) << r.skipped;
}

void tst_UndoJournal::undoOnDisk()
{
    QFETCH(QString, run);
    QFETCH(QString, after);
    QFETCH(bool, finished);
    QFETCH(QString, expected);
    QFETCH(int, skipped);
    QTemporaryDir dir;
    JournalRun journal;
    journal.finished = finished;
    // Lay out the folder as the run left it: each file holds its first name as contents.
    Listing onDisk;
    for (const QString& step : run.split(' ')) {
        // ~ stands for a byte that is not valid UTF-8.
        const QByteArray from = step.section('>', 0, 0).toUtf8().replace('~', '\xe9');
        const QByteArray to = step.section('>', 1, 1).toUtf8().replace('~', '\xe9');
        journal.renames.push_back({dir.path(), from, to});
        onDisk.insert(to, onDisk.contains(from) ? onDisk.take(from) : from);
    }
    for (const QString& change : after.split(' ', Qt::SkipEmptyParts)) {
        if (change.startsWith('+'))
            onDisk.insert(change.mid(1).toUtf8(), "new");
        else
            onDisk.remove(change.mid(1).toUtf8());
    }
    for (auto it = onDisk.begin(); it != onDisk.end(); ++it)
        makeFile(dir.path(), it.key(), it.value());

    const std::vector<JournalEntry> steps = undoSteps(journal);
    const UndoOutcome outcome = undoRun(steps, currentRenamer());

    const Listing now = listFolder(dir.path());
    QByteArrayList shown;
    for (auto it = now.begin(); it != now.end(); ++it)
        shown.append(it.key() + ':' + it.value());
    QCOMPARE(QString::fromUtf8(shown.join('|').replace('\xe9', '~')), expected);
    QCOMPARE(contentsOf(now), contentsOf(onDisk)); // nothing lost, nothing overwritten
    QCOMPARE(outcome.skipped.size(), skipped);
    QCOMPARE(outcome.restored, int(steps.size()) - skipped);
}

void tst_UndoJournal::killedRunIsUndone()
{
    constexpr int kFiles = 60;
    constexpr int kDelayMs = 4;
    QRandomGenerator rng(20261205);
    for (int round = 0; round < 6; ++round) {
        forgetLastRun(journalFolder());
        QTemporaryDir dir;
        for (int i = 0; i < kFiles; ++i)
            makeFile(dir.path(), rotationName(i), rotationName(i));
        const Listing before = listFolder(dir.path());
        QProcess child;
        child.start(
            QCoreApplication::applicationFilePath(),
            {"--journal-child", dir.path(), QString::number(kFiles), QString::number(kDelayMs)});
        QVERIFY(child.waitForStarted());
        // Wait for the first record, as starting a process takes long on a busy machine, then
        // kill the child somewhere in the first half of its run.
        QTRY_VERIFY_WITH_TIMEOUT(readLastRun(journalFolder()).has_value(), 10000);
        QTest::qWait(rng.bounded(kFiles * kDelayMs / 2));
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const std::optional<JournalRun> run = readLastRun(journalFolder());
        QVERIFY(run && !run->finished);
        const UndoOutcome outcome = undoRun(undoSteps(*run), currentRenamer());
        QVERIFY2(outcome.skipped.isEmpty(), qPrintable(outcome.skipped.join('\n')));
        QCOMPARE(listFolder(dir.path()), before);
    }
}

int main(int argc, char** argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--journal-child") == 0)
        return journalChild(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    QCoreApplication app(argc, argv);
    tst_UndoJournal test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_undojournal.moc"

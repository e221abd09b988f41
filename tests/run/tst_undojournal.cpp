// The journal's records for any bytes, the reading of a journal a crash cut short, the undo
// on real folders (names taken or gone meanwhile, a rotation through a temporary name) and a
// run killed with SIGKILL at a random file, then undone. The killed run is this binary
// started again with --journal-child.

#include "platform/Rename.h"
#include "run/UndoJournal.h"
#include "support/RandomFolder.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

using namespace pellory;
using namespace pellory::testing;

namespace {

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
    std::vector<std::pair<QByteArray, QByteArray>> steps{{rotationName(0), "rotation.tmp"}};
    for (int i = 1; i < count; ++i)
        steps.push_back({rotationName(i), rotationName(i - 1)});
    steps.push_back({"rotation.tmp", rotationName(count - 1)});
    for (const auto& [from, to] : steps) {
        if (!journal.record(folder, from, to))
            return 1;
        QThread::msleep(ulong(delayMs) / 2); // a kill now leaves a record whose rename never ran
        if (!renamer.rename(folder, from, QString::fromLatin1(to)).ok)
            return 1;
        QThread::msleep(ulong(delayMs) / 2);
    }
    journal.finish();
    return 0;
}

} // namespace

class tst_UndoJournal : public QObject
{
    Q_OBJECT

private slots:
    void init() { forgetLastRun(journalFolder()); }
    void journalKeepsBytes();
    void readsJournal_data();
    void readsJournal();
    void undoOnDisk_data();
    void undoOnDisk();
    void killedRunIsUndone();
};

// Records written and read back keep any bytes of the folder and both names, one record a
// line whatever the names hold; a rename taken back after its record leaves the run.
void tst_UndoJournal::journalKeepsBytes()
{
    const std::vector<JournalEntry> entries{
        {"/tmp/x y", "5% .jpg", " %20 "},
        {"/tmp/a", "a\nR b c\n", "E\n"},
        {QString::fromUtf8("/tmp/\xc3\x89t\xc3\xa9 1"), "\xff\xfe.jpg", "\xc3("}};
    RunJournal journal(journalFolder());
    journal.begin();
    for (const JournalEntry& e : entries)
        QVERIFY(journal.record(e.folder, e.oldRaw, e.newRaw));
    QVERIFY(journal.record("/tmp/a", "b", "c"));
    journal.renameFailed();
    journal.finish();
    const std::optional<JournalRun> run = readLastRun(journalFolder());
    QVERIFY(run && run->finished);
    QVERIFY(run->renames == entries);
}

void tst_UndoJournal::readsJournal_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected"); // old>new|...  then " finished" or " interrupted"
    const char* rows[][3] = {
        {"killed between records", "@R /f a b\nR /f c d\n", "a>b|c>d interrupted"},
        {"last line cut short", "@R /f a b\nR /f c", "a>b interrupted"},
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

void tst_UndoJournal::undoOnDisk_data()
{
    QTest::addColumn<QString>("run");   // "old>new ...", in the order done
    QTest::addColumn<QString>("after"); // then on disk: "+name" made anew, "-name" deleted
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QString>("expected"); // "name:contents|..." after the undo
    QTest::addColumn<int>("skipped");
    // clang-format off
    QTest::newRow("all back") << "a>A b>B c>C" << "" << true << "a:a|b:b|c:c" << 0;
    QTest::newRow("new name gone") << "a>A b>B c>C" << "-B" << true << "a:a|c:c" << 1;
    QTest::newRow("old name taken") << "a>A b>B c>C" << "+b" << true << "B:b|a:a|b:new|c:c" << 1;
    QTest::newRow("rotation via a temporary") << "a>t b>a c>b t>c" << "" << true << "a:a|b:b|c:c" << 0;
    QTest::newRow("in-flight rename, killed") << "a>A b>B d>D" << "-D +d" << false << "a:a|b:b|d:new" << 0;
    QTest::newRow("last rename, finished") << "a>A d>D" << "-D +d" << true << "a:a|d:new" << 1;
    QTest::newRow("old name not valid text") << "caf~>CAFE b>B" << "" << true << "b:b|caf~:caf~" << 0;
    // clang-format on
}

void tst_UndoJournal::undoOnDisk()
{
    QFETCH(QString, run);
    QFETCH(QString, after);
    QFETCH(bool, finished);
    QFETCH(QString, expected);
    QFETCH(int, skipped);
    QTemporaryDir dir;
    const auto emptyFolder = qScopeGuard([&] { removeInside(QFile::encodeName(dir.path())); });
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
        QVERIFY(makeFile(QFile::encodeName(dir.path()) + '/' + it.key(), it.value()));

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
            QVERIFY(
                makeFile(QFile::encodeName(dir.path()) + '/' + rotationName(i), rotationName(i)));
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

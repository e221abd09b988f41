// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/RunHistory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <charconv>
#include <tuple>
#include <vector>

namespace pellory {

namespace {

const QByteArray kHeader = "pellory-run 3";
constexpr quint64 kVersion = 3;
constexpr quint64 kOldestVersion = 2; // read as this version: it has none of the newer lines
constexpr char kSuffix[] = ".run";
// Enough of a file to show a run's head and first renames without reading a long run whole.
constexpr qsizetype kSummaryBytes = 16 * 1024;
constexpr int kRunsKept = 100;
constexpr qint64 kDaysKept = 30;

const char* const kKinds[] = {"scheme", "wildcard", "undo"};

bool isUnreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Appends `field` to `out` with all but the unreserved bytes (and "/" in a folder)
// percent-escaped, as QByteArray::toPercentEncoding writes them. A record is written once
// per rename, into a buffer that keeps its room from one record to the next.
void appendEscaped(QByteArray& out, QByteArrayView field, bool keepSlash = false)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const qsizetype start = out.size();
    out.resize(start + 3 * field.size()); // room for every byte escaped
    char* to = out.data() + start;
    for (const char c : field) {
        if (isUnreserved(c) || (keepSlash && c == '/')) {
            *to++ = c;
        } else {
            *to++ = '%';
            *to++ = kHex[uchar(c) >> 4];
            *to++ = kHex[uchar(c) & 15];
        }
    }
    out.resize(to - out.constData()); // keeps the room for the next record
}

qsizetype escapedSize(QByteArrayView field)
{
    return field.size() +
           2 * std::count_if(field.begin(), field.end(), [](char c) { return !isUnreserved(c); });
}

// The bytes a run with this plan records: its head, the plan, and a record per rename, each
// as long as its planned line. Its file reserves as much at once, so that a small run asks
// the disk for little room, and a big one does not grow its file again and again.
qsizetype expectedSize(const QByteArray& folder, const RenamePlan& plan)
{
    constexpr qsizetype kLine = 2 + 1 + 1 + 20 + 1; // tag, spaces, an inode, the newline
    qsizetype size = 256 + 3 * folder.size();
    for (const RenameRecord& r : plan)
        size += 2 * (escapedSize(r.oldRaw) + escapedSize(r.newRaw) + kLine);
    return size;
}

QByteArray escaped(QByteArrayView field, bool keepSlash = false)
{
    QByteArray out;
    out.reserve(field.size());
    appendEscaped(out, field, keepSlash);
    return out;
}

// The bytes a field stands for, only when the field is exactly what escaped() writes for
// them: a record that reads any other way is damaged, and is never acted on.
bool unescaped(QByteArrayView field, QByteArray& out, bool keepSlash = false)
{
    // Most names carry no escape: then the field is exact when every byte is one that
    // escaped() keeps, and it needs no decoding. A run is read whole for its undo.
    if (!field.contains('%')) {
        out = field.toByteArray();
        return !field.isEmpty() && std::all_of(field.begin(), field.end(), [=](char c) {
            return isUnreserved(c) || (keepSlash && c == '/');
        });
    }
    out = QByteArray::fromPercentEncoding(field.toByteArray());
    return escaped(out, keepSlash) == field;
}

bool number(QByteArrayView text, quint64& out)
{
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, out);
    return !text.isEmpty() && error == std::errc() && at == end;
}

// The complete lines of a run's text, read one after the other as views of it: a run holds
// a line per file, which copies, or even a list of views, would hold twice. The text after
// the last newline is not a line.
class Lines
{
public:
    explicit Lines(QByteArrayView text) : m_text(text) { m_end = m_text.indexOf('\n'); }
    bool atEnd() const { return m_end < 0; }
    QByteArrayView line() const { return m_text.sliced(m_at, m_end - m_at); }
    void next()
    {
        m_at = m_end + 1;
        m_end = m_text.indexOf('\n', m_at);
    }

private:
    QByteArrayView m_text;
    qsizetype m_at = 0;
    qsizetype m_end = -1;
};

// The head after the version's line.
bool parseHead(Lines& lines, RunRecord& run)
{
    lines.next();
    const auto field = [&](char tag, int count) -> QByteArrayList {
        if (lines.atEnd() || !lines.line().startsWith(tag) || lines.line().size() < 2 ||
            lines.line()[1] != ' ')
            return {};
        QByteArrayList f = lines.line().sliced(2).toByteArray().split(' ');
        if (f.size() != count)
            return {};
        lines.next();
        return f;
    };
    const QByteArrayList kind = field('K', 1);
    const QByteArrayList time = field('T', 1);
    const QByteArrayList folder = field('F', 3);
    const QByteArrayList planned = field('N', 1);
    quint64 started = 0, files = 0;
    const char* const* found = kind.isEmpty()
                                   ? std::end(kKinds)
                                   : std::find(std::begin(kKinds), std::end(kKinds), kind[0]);
    if (found == std::end(kKinds) || time.isEmpty() || !number(time[0], started) ||
        folder.isEmpty() || !unescaped(folder[0], run.folder, true) ||
        !number(folder[1], run.folderDevice) || !number(folder[2], run.folderInode) ||
        planned.isEmpty() || !number(planned[0], files))
        return false;
    run.kind = RunKind(found - std::begin(kKinds));
    run.startedMs = qint64(started);
    run.plannedFiles = int(std::min<quint64>(files, INT_MAX));
    if (run.kind != RunKind::Undo)
        return true;
    QByteArrayList target = field('U', 2);
    if (target.isEmpty())
        target = field('U', 1);
    QByteArray id;
    if (target.isEmpty() || !unescaped(target[0], id) ||
        (target.size() == 2 && target[1] != "parked"))
        return false;
    run.undoes = QFile::decodeName(id);
    run.undoesParked = target.size() == 2;
    return true;
}

// "old new inode": read from views of the line, since a run holds one per file.
bool parseNames(QByteArrayView fields, RenameRecord& r)
{
    const qsizetype a = fields.indexOf(' ');
    const qsizetype b = a < 0 ? -1 : fields.indexOf(' ', a + 1);
    // Fewer than three fields; a fourth makes the inode no number.
    return b >= 0 && unescaped(fields.first(a), r.oldRaw) &&
           unescaped(fields.sliced(a + 1, b - a - 1), r.newRaw) &&
           number(fields.sliced(b + 1), r.inode);
}

// "P old new inode": the plan comes before the first rename.
bool parsePlanned(QByteArrayView fields, RunRecord& run, bool keepAll)
{
    RenameRecord r;
    if (run.renameCount > 0 || !parseNames(fields, r))
        return false;
    if (keepAll || run.planCount < RunHistory::kRenamesShown)
        run.plan.push_back(std::move(r));
    ++run.planCount;
    return true;
}

// "F folder device inode" among the records: the folder the renames from here on are in.
bool parseFolder(QByteArrayView fields, RunRecord& run)
{
    const QByteArrayList f = fields.toByteArray().split(' ');
    QByteArray folder;
    return f.size() == 3 && unescaped(f[0], folder, true) && folder == run.folder &&
           number(f[1], run.folderDevice) && number(f[2], run.folderInode);
}

bool parseRename(QByteArrayView fields, RunRecord& run, bool keepAll)
{
    RenameRecord r;
    if (!parseNames(fields, r))
        return false;
    run.lastCounted = !isTemporaryName(r.newRaw);
    run.fileCount += run.lastCounted;
    if (keepAll || run.renameCount < RunHistory::kRenamesShown)
        run.renames.push_back(std::move(r));
    ++run.renameCount;
    return true;
}

// "E files [left]" or "A files": how the run ended; false when the line is neither.
bool parseEndLine(const QByteArrayList& f, RunRecord& run, quint64& files)
{
    quint64 left = 0;
    if (f.size() < 2 || f.size() > 3 || (f[0] != "E" && f[0] != "A") ||
        (f[0] == "A" && f.size() == 3) || !number(f[1], files) ||
        (f.size() == 3 && !number(f[2], left)))
        return false;
    run.state = f[0] == "E" ? RunRecord::State::Finished : RunRecord::State::Dismissed;
    run.filesLeft = int(std::min<quint64>(left, INT_MAX));
    run.endCount = int(std::min<quint64>(files, INT_MAX));
    return true;
}

// One record line; false when it is not one that reads exactly. `keepPlan`: every planned
// rename is kept, not only the first few.
bool parseRecord(QByteArrayView line, RunRecord& run, bool keepAll, bool keepPlan)
{
    if (line.startsWith("S ") && run.kind == RunKind::Undo) {
        RenameRecord step;
        if (!parseNames(line.sliced(2), step))
            return false;
        if (keepAll)
            run.leftSteps.push_back(std::move(step));
        return true;
    }
    if (line.startsWith("R "))
        return parseRename(line.sliced(2), run, keepAll);
    if (line.startsWith("P "))
        return parsePlanned(line.sliced(2), run, keepPlan);
    if (line.startsWith("F "))
        return parseFolder(line.sliced(2), run);
    const QByteArrayList f = line.toByteArray().split(' ');
    quint64 count = 0;
    if (line == "X" && run.renameCount > 0) {
        if (qsizetype(run.renames.size()) == run.renameCount)
            run.renames.pop_back();
        --run.renameCount;
        run.fileCount -= run.lastCounted;
        run.lastCounted = false;
    } else if (!parseEndLine(f, run, count)) {
        return false;
    }
    return true;
}

// How a run ends, from the last line of its text: "E n [left]" or "A n" give the state and,
// where the records were not all read, the count of files; anything else leaves the run as
// its head showed it.
void parseEnd(const QByteArray& tail, RunRecord& run, bool counted)
{
    if (!tail.endsWith('\n'))
        return;
    const QByteArray last = tail.left(tail.size() - 1).split('\n').last();
    quint64 count = 0;
    if (!parseEndLine(last.split(' '), run, count))
        return;
    if (!counted)
        run.fileCount = run.endCount;
    // A damaged run that says it renamed stays in reach of an undo, which then says what
    // its record proves.
    run.renameCount = std::max(run.renameCount, run.endCount);
}

QString inFolder(const QString& folder, const QString& name)
{
    return folder + u'/' + name;
}

// A run's name: "s", its sequence number in the history and the millisecond it started
// ("s000000000042-1733456789123.run"). Older versions named a run by that millisecond, the
// process and a counter ("1733456789123-4242-1.run").
constexpr QChar kNumbered = u's';

QStringList partsOf(const QString& id)
{
    return id.chopped(qsizetype(sizeof kSuffix - 1)).split(u'-');
}

qint64 sequenceOf(const QString& id)
{
    return id.startsWith(kNumbered) ? partsOf(id).value(0).mid(1).toLongLong() : 0;
}

qint64 startOf(const QString& id)
{
    return id.startsWith(kNumbered) ? partsOf(id).value(1).toLongLong() : id.left(13).toLongLong();
}

// Whether run `a` was recorded before run `b`, as their names tell: by the sequence, never
// by a clock that may have been set back since. Runs named by their start alone come first,
// by the millisecond, the process and the counter ("-1" after none).
bool startedBefore(const QString& a, const QString& b)
{
    const auto key = [](const QString& id) {
        const QStringList parts = partsOf(id);
        if (id.startsWith(kNumbered))
            return std::tuple(1, sequenceOf(id), qint64(0), 0);
        return std::tuple(0, startOf(id), parts.value(1).toLongLong(), parts.value(2).toInt());
    };
    return key(a) < key(b);
}

// Drops the oldest runs once there are more than the history keeps and they are old enough,
// never a run that a live process is writing.
void prune(const QString& folder, QStringList ids)
{
    if (ids.size() <= kRunsKept)
        return;
    std::sort(ids.begin(), ids.end(), startedBefore);
    const qint64 oldest = QDateTime::currentMSecsSinceEpoch() - kDaysKept * 24 * 3600 * 1000;
    for (qsizetype i = 0; i < ids.size() - kRunsKept && startOf(ids[i]) < oldest; ++i) {
        const QString path = inFolder(folder, ids[i]);
        if (!readJournalFile(path, 0).locked)
            removeJournal(path);
    }
}

// Whether a live process is undoing `target` now.
bool undoUnderWay(const QString& folder, const QString& target)
{
    for (const QString& id : journalFileNames(folder, kSuffix)) {
        const JournalFileText t = readJournalFile(inFolder(folder, id), kSummaryBytes);
        if (t.locked && parseRun(t.text, false).undoes == target)
            return true;
    }
    return false;
}

} // namespace

QString historyFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) // the base directory standard ignores a relative path
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Pellory/history");
}

RunRecord parseRun(const QByteArray& text, bool whole, const QByteArray& tail)
{
    RunRecord run;
    // The text after the last newline is a record cut short by a kill (or, for a part of a
    // file, by the reading), or nothing.
    Lines lines(text);
    const QByteArrayView first = lines.atEnd() ? QByteArrayView(text) : lines.line();
    quint64 version = 0;
    const bool known = first.startsWith("pellory-run ") && number(first.sliced(12), version) &&
                       version >= kOldestVersion;
    if (known && version > kVersion) {
        run.newer = true;
        return run;
    }
    if (lines.atEnd() || !known || !parseHead(lines, run)) {
        run.damaged = true;
        return run;
    }
    run.state = RunRecord::State::Interrupted;
    if (whole) { // the rename records, not the plan's lines before them
        qsizetype renames = 0;
        for (Lines rest = lines; !rest.atEnd(); rest.next())
            if (rest.line().startsWith("R "))
                ++renames;
        run.renames.reserve(size_t(renames));
    }
    // A run whose last line ends it has its renames in its records: its plan is kept as a
    // summary keeps it, the undo has no use for the rest.
    const qsizetype lastLine = text.lastIndexOf('\n', text.size() - 2) + 1;
    RunRecord ending;
    quint64 endCount = 0;
    const bool ended =
        text.endsWith('\n') &&
        parseEndLine(text.sliced(lastLine).chopped(1).split(' '), ending, endCount) &&
        ending.state == RunRecord::State::Finished;
    for (; !lines.atEnd(); lines.next()) {
        if (!parseRecord(lines.line(), run, whole, whole && !ended)) {
            run.damaged = true;
            break;
        }
    }
    // A damaged run, or the beginning of a long one, ends as its last line says.
    if (run.state == RunRecord::State::Interrupted)
        parseEnd(whole ? text : tail, run, whole);
    // An end line that counts otherwise than the records it ends is not to be trusted.
    else if (whole && run.endCount != run.fileCount)
        run.damaged = true;
    return run;
}

RunRecorder::RunRecorder(QString folder, JournalSync sync)
    : m_folder(std::move(folder)), m_sync(sync)
{}

void RunRecorder::begin(RunKind kind, const QByteArray& folder, int plannedFiles,
                        const RenamePlan& plan)
{
    m_file.close();
    m_inRun = true;
    m_kind = kind;
    m_runFolder = folder;
    m_folderIdentity = identityOfPath(folder);
    m_planned = plannedFiles;
    m_undoes.clear();
    m_parkedOnly = false;
    m_done = 0;
    m_files = 0;
    m_left = 0;
    m_lastCounted = false;
    m_openFailed = false;
    m_error.clear();
    if (plan.empty() || kind == RunKind::Undo)
        return;
    if (!folderReady()) {
        m_openFailed = true;
        return;
    }
    const HistoryLock lock(m_folder);
    m_openFailed = !open(expectedSize(folder, plan)) || !writePlan(plan);
}

bool RunRecorder::beginUndo(const QString& target, const QByteArray& folder, int plannedFiles,
                            bool parkedOnly, const RenamePlan& plan)
{
    begin(RunKind::Undo, folder, plannedFiles);
    m_undoes = target;
    m_parkedOnly = parkedOnly;
    if (!folderReady())
        return false;
    const HistoryLock lock(m_folder);
    if (undoUnderWay(m_folder, target)) {
        m_error = QCoreApplication::translate("RunHistory",
                                              "Another Pellory window is undoing this run now.");
        return false;
    }
    return open(expectedSize(folder, plan)) && (plan.empty() || writePlan(plan));
}

bool RunRecorder::folderReady()
{
    m_error = prepareJournalFolder(m_folder);
    return m_error.isEmpty();
}

bool RunRecorder::writePlan(const RenamePlan& plan)
{
    for (const RenameRecord& r : plan) {
        appendRecord('P', r.oldRaw, r.newRaw, r.inode);
        if (!m_file.append(m_line)) {
            m_file.discard();
            return false;
        }
    }
    if (m_sync == JournalSync::None || m_file.syncNow())
        return true;
    m_file.discard();
    return false;
}

QByteArray RunRecorder::folderLine() const
{
    return "F " + escaped(m_runFolder, true) + ' ' + QByteArray::number(m_folderIdentity.device) +
           ' ' + QByteArray::number(m_folderIdentity.inode) + '\n';
}

QByteArray RunRecorder::head() const
{
    QByteArray text = kHeader + "\nK " + kKinds[int(m_kind)] + "\nT " +
                      QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '\n' +
                      folderLine() + "N " + QByteArray::number(m_planned) + '\n';
    if (m_kind == RunKind::Undo)
        text += "U " + escaped(QFile::encodeName(m_undoes)) + (m_parkedOnly ? " parked\n" : "\n");
    return text;
}

bool RunRecorder::open(qsizetype expected)
{
    // Numbered one past the newest run, under the history's lock: the newest run is never
    // pruned, so a number is never given twice while a run that carries it is kept.
    const QStringList ids = journalFileNames(m_folder, kSuffix);
    qint64 newest = 0;
    for (const QString& id : ids)
        newest = std::max(newest, sequenceOf(id));
    prune(m_folder, ids);
    const QString start =
        QString::number(QDateTime::currentMSecsSinceEpoch()).rightJustified(13, u'0');
    for (qint64 n = newest + 1; n < newest + 100; ++n) {
        const QString id =
            kNumbered + QString::number(n).rightJustified(12, u'0') + u'-' + start + kSuffix;
        if (m_file.create(inFolder(m_folder, id), m_sync, expected))
            return m_file.append(head()) || (m_file.discard(), false);
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void RunRecorder::appendRecord(char tag, QByteArrayView oldRaw, QByteArrayView newRaw,
                               quint64 inode)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, inode).ptr;
    m_line.resize(0); // keeps its room, where clear() would free it
    m_line.append(tag).append(' ');
    appendEscaped(m_line, oldRaw);
    m_line.append(' ');
    appendEscaped(m_line, newRaw);
    m_line.append(' ').append(digits, end - digits).append('\n');
}

bool RunRecorder::record(QByteArrayView oldRaw, QByteArrayView newRaw, quint64 inode)
{
    if (!m_inRun)
        return true;
    if (!m_file.isOpen()) {
        if (m_openFailed || !folderReady())
            return false;
        const HistoryLock lock(m_folder);
        if (!open())
            return false;
    }
    appendRecord('R', oldRaw, newRaw, inode);
    if (!m_file.append(m_line))
        return false;
    ++m_done;
    m_lastCounted = !isTemporaryName(newRaw);
    m_files += m_lastCounted;
    return true;
}

bool RunRecorder::beforeStep(QByteArrayView from, QByteArrayView to, const FileIdentity& file,
                             const FileIdentity& folder)
{
    // The folder the path leads to now may not be the one the run began in: the records
    // name the folder the renames are made in.
    if (m_inRun && folder.inode != 0 && !(folder == m_folderIdentity)) {
        m_folderIdentity = folder;
        if (m_file.isOpen() && !m_file.append(folderLine()))
            return false;
    }
    return record(from, to, file.inode);
}

QString RunRecorder::refusal() const
{
    return QCoreApplication::translate("RunHistory", "The undo history could not be written: ") +
           error();
}

void RunRecorder::renameFailed()
{
    if (m_file.isOpen() && m_file.append("X\n")) {
        --m_done;
        m_files -= m_lastCounted;
        m_lastCounted = false;
    }
}

void RunRecorder::leave(QByteArrayView from, QByteArrayView to, quint64 inode)
{
    if (!m_file.isOpen())
        return;
    appendRecord('S', from, to, inode);
    if (m_file.append(m_line))
        m_left += !isTemporaryName(to);
}

void RunRecorder::finish()
{
    m_inRun = false;
    if (!m_file.isOpen())
        return;
    if (m_done == 0 && m_left == 0)
        m_file.discard();
    else // a run stopped by a full disk is closed too: the end line has room kept for it
        m_file.appendLast("E " + QByteArray::number(m_files) +
                          (m_left > 0 ? ' ' + QByteArray::number(m_left) : QByteArray()) + '\n');
    m_file.close();
}

RunHistory RunHistory::read(const QString& folder, Reach reach)
{
    RunHistory history;
    QStringList ids = journalFileNames(folder, kSuffix);
    std::sort(ids.begin(), ids.end(),
              [](const QString& a, const QString& b) { return startedBefore(b, a); });
    // The newest finished undo of a run tells what is left of it: nothing (undone), or the
    // files it could not put back, kept in its own file for the next try.
    struct Verdict
    {
        QString undo;
        int left = 0;
    };
    QHash<QString, Verdict> verdicts;
    for (const QString& id : ids) {
        JournalFileText t = readJournalFile(inFolder(folder, id), kSummaryBytes);
        if (!t.ok)
            continue; // not a regular file, or gone meanwhile
        RunRecord run = parseRun(t.text, t.whole, t.tail);
        if (run.state == RunRecord::State::Interrupted && !t.whole) {
            t = readJournalFile(inFolder(folder, id)); // the count of an unfinished run
            run = parseRun(t.text);
        }
        run.renames.resize(std::min<size_t>(run.renames.size(), kRenamesShown));
        // A long plan fills the part read of a run: its first renames are the plan's.
        if (run.renames.empty())
            run.renames.assign(
                run.plan.begin(),
                run.plan.begin() +
                    std::clamp<qsizetype>(run.fileCount, 0, qsizetype(run.plan.size())));
        run.plan.resize(std::min<size_t>(run.plan.size(), kRenamesShown));
        run.id = id;
        if (t.locked && run.state == RunRecord::State::Interrupted)
            run.state = RunRecord::State::Running;
        if (run.kind == RunKind::Undo && run.state == RunRecord::State::Finished &&
            !run.undoesParked && !verdicts.contains(run.undoes))
            verdicts.insert(run.undoes, {run.id, run.filesLeft});
        if (run.kind != RunKind::Undo)
            run.filesLeft = 0;
        if (const auto verdict = verdicts.constFind(run.id); verdict != verdicts.cend()) {
            // its undo, newer, is read already
            run.undone = verdict->left == 0;
            run.filesLeft = verdict->left;
            run.leftBy = verdict->left > 0 ? verdict->undo : QString();
        }
        history.m_runs.push_back(std::move(run));
        if (reach == Reach::NewestToUndo && history.undoable(history.m_runs.back()))
            break;
    }
    return history;
}

bool RunHistory::undoable(const RunRecord& run) const
{
    // A run cut short by a power cut may have renamed files whose records were lost: its
    // plan tells which to look for.
    const bool mayHaveRenamed =
        run.renameCount > 0 || (run.planCount > 0 && run.state != RunRecord::State::Finished);
    return run.kind != RunKind::Undo && !run.undone && !run.newer && mayHaveRenamed &&
           run.state != RunRecord::State::Running;
}

const RunRecord* RunHistory::newestToUndo() const
{
    for (const RunRecord& run : m_runs)
        if (undoable(run))
            return &run;
    return nullptr;
}

std::vector<const RunRecord*> RunHistory::undoBackTo(const QString& id) const
{
    std::vector<const RunRecord*> runs;
    const auto chosen = std::find_if(m_runs.begin(), m_runs.end(),
                                     [&](const RunRecord& run) { return run.id == id; });
    if (chosen == m_runs.end() || !undoable(*chosen))
        return runs;
    // One folder may be reached by many paths (a link, a mount seen twice): the runs in it
    // are told by its identity, and by its path only where a record holds none.
    const auto sameFolder = [&](const RunRecord& run) {
        if (run.folderInode != 0 && chosen->folderInode != 0)
            return run.folderDevice == chosen->folderDevice &&
                   run.folderInode == chosen->folderInode;
        return run.folder == chosen->folder;
    };
    for (auto run = m_runs.begin(); run <= chosen; ++run)
        if (sameFolder(*run) && undoable(*run))
            runs.push_back(&*run);
    return runs;
}

const RunRecord* RunHistory::interrupted() const
{
    // An undo that died is finished by undoing its run again; once that run is undone,
    // nothing of the undo is left to report.
    const auto finished = [this](const RunRecord& undo) {
        return undo.kind == RunKind::Undo &&
               std::any_of(m_runs.begin(), m_runs.end(), [&](const RunRecord& run) {
                   return run.id == undo.undoes && run.undone;
               });
    };
    for (const RunRecord& run : m_runs)
        if (run.state == RunRecord::State::Interrupted && !run.undone && !run.newer &&
            !finished(run))
            return &run;
    return nullptr;
}

RunRecord readRun(const QString& id, const QString& folder)
{
    const JournalFileText t = readJournalFile(inFolder(folder, id));
    RunRecord run = t.ok ? parseRun(t.text) : RunRecord{};
    run.damaged = run.damaged || !t.ok;
    run.id = id;
    if (t.locked && run.state == RunRecord::State::Interrupted)
        run.state = RunRecord::State::Running;
    return run;
}

bool dismissRun(const QString& id, const QString& folder)
{
    const RunRecord run = readRun(id, folder);
    return run.state == RunRecord::State::Interrupted &&
           appendToJournalFile(inFolder(folder, id),
                               "A " + QByteArray::number(run.fileCount) + '\n');
}

} // namespace pellory

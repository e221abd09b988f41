#include "run/UndoJournal.h"

#include "platform/Rename.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>

namespace pellory {

namespace {

const QByteArray kHeader = "pellory-journal 1\n";
constexpr char kInProgress[] = "run-in-progress.journal";
constexpr char kLastRun[] = "last-run.journal";

bool isUnreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Percent-escapes all but the unreserved bytes (and "/" in a folder). Most names need no
// escape, and are then taken as they are, since the record is written once per rename.
QByteArray escaped(const QByteArray& field, bool keepSlash = false)
{
    for (const char c : field)
        if (!isUnreserved(c) && !(keepSlash && c == '/'))
            return field.toPercentEncoding(keepSlash ? "/" : "");
    return field;
}

QString inFolder(const QString& folder, const char* name)
{
    return folder + u'/' + QLatin1String(name);
}

std::optional<JournalRun> readJournal(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    JournalRun run = parseJournal(file.readAll());
    run.path = path;
    return run;
}

QString why(const RenameOutcome& outcome)
{
    if (outcome.error == ENOENT)
        return QStringLiteral("the file is gone");
    if (outcome.error == EEXIST)
        return QStringLiteral("the old name is taken");
    return outcome.description;
}

} // namespace

QString journalFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) // the base directory standard ignores a relative path
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Pellory");
}

JournalRun parseJournal(const QByteArray& text)
{
    JournalRun run;
    if (!text.startsWith(kHeader))
        return run;
    const QByteArrayList lines = text.mid(kHeader.size()).split('\n');
    // The text after the last newline is a record the crash cut short, or nothing.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].contains('\0'))
            break; // a record a kill cut short while it was copied in
        const QByteArrayList f = lines[i].split(' ');
        if (f.size() == 4 && f[0] == "R")
            run.renames.push_back({QFile::decodeName(QByteArray::fromPercentEncoding(f[1])),
                                   QByteArray::fromPercentEncoding(f[2]),
                                   QByteArray::fromPercentEncoding(f[3])});
        else if (f.size() == 1 && f[0] == "X" && !run.renames.empty())
            run.renames.pop_back();
        else if (f.size() == 1 && f[0] == "E")
            run.finished = true;
        else
            break;
    }
    return run;
}

RunJournal::RunJournal(QString folder, JournalSync sync) : m_folder(std::move(folder)), m_sync(sync)
{}

void RunJournal::begin()
{
    m_file.close();
    m_inRun = true;
}

bool RunJournal::record(const QString& folder, const QByteArray& oldRaw, const QByteArray& newRaw)
{
    if (m_inRun && !m_file.isOpen()) {
        // The first rename of a run: the last run's journal makes way for this one's.
        removeJournal(inFolder(m_folder, kInProgress));
        if (!QDir().mkpath(m_folder) || !m_file.create(inFolder(m_folder, kInProgress), m_sync) ||
            !m_file.append(kHeader))
            return false;
        removeJournal(inFolder(m_folder, kLastRun));
    }
    if (!m_file.isOpen())
        return true; // renames outside a run (an undo) are not journalled
    if (folder != m_lastFolder) {
        m_lastFolder = folder;
        m_lastFolderField = escaped(QFile::encodeName(folder), true);
    }
    return m_file.append(
        {"R ", m_lastFolderField, " ", escaped(oldRaw), " ", escaped(newRaw), "\n"});
}

void RunJournal::renameFailed()
{
    m_file.append("X\n");
}

void RunJournal::finish()
{
    m_inRun = false;
    if (!m_file.isOpen())
        return;
    m_file.append("E\n");
    m_file.close();
    ::rename(QFile::encodeName(inFolder(m_folder, kInProgress)).constData(),
             QFile::encodeName(inFolder(m_folder, kLastRun)).constData());
}

std::optional<JournalRun> readLastRun(const QString& folder)
{
    if (auto interrupted = readJournal(inFolder(folder, kInProgress)))
        return interrupted;
    return readJournal(inFolder(folder, kLastRun));
}

void forgetLastRun(const QString& folder)
{
    removeJournal(inFolder(folder, kInProgress));
    removeJournal(inFolder(folder, kLastRun));
}

std::vector<JournalEntry> undoSteps(const JournalRun& run)
{
    std::vector<JournalEntry> steps(run.renames.rbegin(), run.renames.rend());
    if (!run.finished && !steps.empty()) {
        const JournalEntry& last = steps.front();
        const FolderLookup lookup(last.folder);
        if (!lookup.contains(last.newRaw) && lookup.contains(last.oldRaw))
            steps.erase(steps.begin()); // the program died before this rename was done
    }
    return steps;
}

UndoOutcome undoRun(const std::vector<JournalEntry>& steps, FileRenamer& renamer)
{
    UndoOutcome outcome;
    for (const JournalEntry& step : steps) {
        const QString line = QFile::decodeName(step.newRaw) + QStringLiteral(" -> ") +
                             QFile::decodeName(step.oldRaw);
        // The old name's exact bytes, which need not be valid text.
        const RenameOutcome done = renamer.renameRaw(step.folder, step.newRaw, step.oldRaw);
        if (done.ok)
            ++outcome.restored;
        else
            outcome.skipped.append(line + QStringLiteral(": ") + why(done));
    }
    return outcome;
}

} // namespace pellory

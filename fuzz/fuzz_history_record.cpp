// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Any bytes as a run's record: reading never fails on them, whole or as a beginning and an
// end. Renames of names made of the same bytes, written as a run writes them and read back,
// come back exactly; and the record cut at any byte, as a kill or a power cut leaves it,
// reads as the plan and a beginning of the renames, never as a rename that was not made.

#include "run/RunHistory.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using pellory::RenamePlan;
using pellory::RenameRecord;

// The history folder the writer accepts: the user's own, readable by no one else.
QString historyPlace()
{
    static const QString folder = [] {
        const QString path = QStringLiteral("/tmp/pellory-fuzz-history-%1").arg(::getpid());
        QDir().mkpath(path);
        ::chmod(QFile::encodeName(path).constData(), 0700);
        return path;
    }();
    return folder;
}

// Pairs of names from the bytes: lines, without the bytes a name cannot hold.
RenamePlan planFrom(const QByteArray& bytes)
{
    RenamePlan plan;
    QByteArray from;
    quint64 inode = 1;
    for (QByteArray name : bytes.split('\n')) {
        name.replace('/', '_').replace('\0', '_');
        if (name.isEmpty() || name == "." || name == "..")
            continue;
        if (from.isEmpty()) {
            from = name;
            continue;
        }
        plan.push_back({from, name, inode++});
        from.clear();
        if (plan.size() == 64)
            break;
    }
    return plan;
}

bool sameRenames(const std::vector<RenameRecord>& read, const RenamePlan& plan, size_t count)
{
    if (read.size() != count)
        return false;
    for (size_t i = 0; i < count; ++i) {
        if (!(read[i] == plan[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype half = bytes.size() / 2;
    (void)pellory::parseRun(bytes);
    (void)pellory::parseRun(bytes.left(half), false, bytes.mid(half));

    const RenamePlan plan = planFrom(bytes);
    if (plan.empty())
        return 0;
    const QString folder = historyPlace();
    {
        pellory::RunRecorder recorder(folder);
        recorder.begin(pellory::RunKind::Scheme, QFile::encodeName(folder), int(plan.size()), plan);
        for (const RenameRecord& step : plan) {
            if (!recorder.record(step.oldRaw, step.newRaw, step.inode))
                std::abort();
        }
        recorder.finish();
    }
    const QStringList runs = QDir(folder).entryList(QDir::Files);
    if (runs.size() != 1)
        std::abort();
    // A finished run has every rename in its records; of its plan it keeps the count and
    // the first few, as its summary shows them.
    const pellory::RunRecord run = pellory::readRun(runs.front(), folder);
    const size_t shown = std::min(plan.size(), size_t(pellory::RunHistory::kRenamesShown));
    if (run.damaged || size_t(run.planCount) != plan.size() ||
        !sameRenames(run.plan, plan, shown) || !sameRenames(run.renames, plan, plan.size()))
        std::abort();

    QFile file(folder + u'/' + runs.front());
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray text = file.readAll();
    file.close();
    QFile::remove(file.fileName());
    // Cut where the input's first byte says, anywhere in the record.
    const QByteArray cut = text.left(qsizetype(data[0]) * text.size() / 255);
    const pellory::RunRecord partial = pellory::parseRun(cut);
    if (partial.renames.size() > plan.size() ||
        !sameRenames(partial.renames, plan, partial.renames.size()))
        std::abort();
    return 0;
}

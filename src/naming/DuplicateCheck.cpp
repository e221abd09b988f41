// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "naming/DuplicateCheck.h"

#include "naming/Compose.h"
#include "naming/RenameSet.h"
#include "platform/Rename.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace pellory {

namespace {

QDateTime dateOf(const QList<QDateTime>& dates, qsizetype i)
{
    return i < dates.size() ? dates[i] : QDateTime();
}

bool isSelected(const std::vector<bool>& selected, qsizetype i)
{
    return i < qsizetype(selected.size()) && selected[i];
}

// Counted once per walk: the selection cannot change while the walk runs.
int countSelected(const std::vector<bool>& selected, qsizetype itemCount)
{
    auto end = selected.begin() + std::min(itemCount, qsizetype(selected.size()));
    return int(std::count(selected.begin(), end, true));
}

} // namespace

QStringList composeAll(const QStringList& names, const QList<QDateTime>& dates,
                       const std::vector<bool>& selected, const RenameSettings& settings)
{
    std::optional<NameCounter> counter;
    if (settings.RenameChk)
        counter.emplace(settings);
    const int selectedCount = countSelected(selected, names.size());
    QStringList result;
    result.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        bool member = IsInRenameSet(isSelected(selected, i), selectedCount);
        result << (member ? ComposeNewName(names[i], settings, counter ? &*counter : nullptr,
                                           dateOf(dates, i))
                          : names[i]);
    }
    return result;
}

QStringList composeAll(const QStringList& names, const QList<QDateTime>& dates,
                       const std::vector<bool>& selected, const RenameSettings& settings,
                       const CompanionNames& companions, QStringList* olds)
{
    const QStringList composed = composeAll(names, dates, selected, settings);
    QStringList result;
    for (qsizetype i = 0; i < names.size(); ++i) {
        *olds << names[i];
        result << composed[i];
        if (size_t(i) >= companions.of.size())
            continue;
        for (const QString& companion : companions.of[size_t(i)]) {
            *olds << companion;
            result << companionNewName(companion, names[i], composed[i]);
        }
    }
    *olds << companions.staying;
    return result << companions.staying;
}

ClashFinder::ClashFinder(qsizetype files, bool carried) : m_toCarry(carried ? files : 0)
{
    m_firstGiven.reserve(files);
    if (!carried)
        return;
    m_carried.resize(size_t(files));
    m_nextCarrier.resize(size_t(files), -1);
    m_carrier.reserve(files);
}

// Both hashes hold a file one past its index, so that the 0 a lookup inserts or returns for
// a new key reads as no file.
void ClashFinder::carry(QString key)
{
    const qsizetype file = --m_toCarry;
    qsizetype& first = m_carrier[key];
    m_nextCarrier[size_t(file)] = first - 1;
    first = file + 1;
    m_carried[size_t(file)] = std::move(key);
}

const Clash* ClashFinder::give(const QString& key)
{
    const qsizetype file = m_given++;
    if (!m_carried.empty()) // a file is never compared with its own name before the run
        *m_carrier.find(m_carried[size_t(file)]) = m_nextCarrier[size_t(file)] + 1;
    qsizetype& first = m_firstGiven[key];
    if (first > 0) {
        m_clashes.push_back({file, Clash::Kind::GivenBefore, first - 1});
        return &m_clashes.back();
    }
    first = file + 1;
    const qsizetype carrier = m_carrier.value(key) - 1; // none when nothing is carried
    if (carrier < 0)
        return nullptr;
    m_clashes.push_back({file, Clash::Kind::CarriedLater, carrier});
    return &m_clashes.back();
}

QStringList duplicateClashes(const QStringList& names, const QList<QDateTime>& dates,
                             const std::vector<bool>& selected, const RenameSettings& settings,
                             int limit, const CompanionNames* companions)
{
    // With companions, the run's every file in the order it renames them.
    QStringList all;
    const QStringList composed =
        companions ? composeAll(names, dates, selected, settings, *companions, &all)
                   : composeAll(names, dates, selected, settings);
    if (!companions)
        all = names;
    ClashFinder finder(all.size(), true);
    for (qsizetype i = all.size(); i-- > 0;)
        finder.carry(all[i].toUpper());
    QSet<QString> reported;
    QStringList clashes;
    for (qsizetype i = 0; i < all.size() && clashes.size() < limit; ++i) {
        const QString key = composed[i].toUpper();
        const Clash* clash = finder.give(key);
        if (clash && !reported.contains(key)) {
            const qsizetype other = clash->other;
            clashes << QCoreApplication::translate("DuplicateCheck", "%1: %2 and %3")
                           .arg(composed[i], all[std::min(i, other)], all[std::max(i, other)]);
            reported.insert(key);
        }
    }
    return clashes;
}

namespace {

// One pass over the walk; names that cannot be used are looked for only when asked, since
// the duplicate check alone goes on past them.
NameProblem checkNames(const QStringList& names, const QList<QDateTime>& dates,
                       const std::vector<bool>& selected, const RenameSettings& settings,
                       const std::function<void()>& yield, bool findUnusable,
                       const CompanionNames* companions)
{
    // Every file the run renames or keeps, in its order: each item, then its companions; the
    // folder's other files after all of them, carrying their names throughout.
    const std::vector<QStringList> noCompanions;
    const std::vector<QStringList>& companionsOf = companions ? companions->of : noCompanions;
    const QStringList noStaying;
    const QStringList& staying = companions ? companions->staying : noStaying;
    qsizetype files = names.size() + staying.size();
    for (const QStringList& those : companionsOf)
        files += those.size();
    ClashFinder clashes(files, true);
    for (qsizetype i = staying.size(); i-- > 0;)
        clashes.carry(staying[i].toUpper());
    for (qsizetype i = names.size(); i-- > 0;) {
        if (size_t(i) < companionsOf.size()) {
            const QStringList& those = companionsOf[size_t(i)];
            for (qsizetype k = those.size(); k-- > 0;)
                clashes.carry(those[k].toUpper());
        }
        clashes.carry(names[i].toUpper());
    }
    std::optional<NameCounter> counter;
    if (settings.RenameChk)
        counter.emplace(settings);
    const int selectedCount = countSelected(selected, names.size());

    // A clash is found as the second name is given, so that no pass over the whole list
    // runs after the last yield.
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString composed = names[i];
        if (IsInRenameSet(isSelected(selected, i), selectedCount)) {
            composed =
                ComposeNewName(names[i], settings, counter ? &*counter : nullptr, dateOf(dates, i));
            const QString reason =
                findUnusable && composed != names[i] ? invalidNameReason(composed) : QString();
            if (!reason.isEmpty())
                return {NameProblem::Kind::Unusable, i, names[i], composed, reason};
            if (clashes.give(composed.toUpper()))
                return {NameProblem::Kind::Duplicate, i, names[i], {}, {}};
        } else if (clashes.give(clashes.carried(clashes.given()))) {
            return {NameProblem::Kind::Duplicate, i, names[i], {}, {}};
        }
        // Each companion is renamed right after its file and checked as a file is.
        const QStringList& those =
            size_t(i) < companionsOf.size() ? companionsOf[size_t(i)] : QStringList();
        for (const QString& companion : those) {
            const QString given = companionNewName(companion, names[i], composed);
            const QString reason =
                findUnusable && given != companion ? invalidNameReason(given) : QString();
            if (!reason.isEmpty())
                return {NameProblem::Kind::Unusable, i, companion, given, reason};
            if (clashes.give(given.toUpper()))
                return {NameProblem::Kind::Duplicate, i, companion, {}, {}};
        }
        if (yield)
            yield();
    }
    return {};
}

} // namespace

bool WouldProduceDuplicates(const QStringList& names, const QList<QDateTime>& dates,
                            const std::vector<bool>& selected, const RenameSettings& settings,
                            const std::function<void()>& yield, const CompanionNames* companions)
{
    return checkNames(names, dates, selected, settings, yield, false, companions).kind ==
           NameProblem::Kind::Duplicate;
}

NameProblem firstNameProblem(const QStringList& names, const QList<QDateTime>& dates,
                             const std::vector<bool>& selected, const RenameSettings& settings,
                             const std::function<void()>& yield, const CompanionNames* companions)
{
    return checkNames(names, dates, selected, settings, yield, true, companions);
}

} // namespace pellory

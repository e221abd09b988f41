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

// Upper-cased current names, counted, so that "does an item further down still carry
// this name?" is one lookup instead of a pass over the rest of the list.
class PendingNames
{
public:
    explicit PendingNames(qsizetype expected) { m_counts.reserve(expected); }
    void add(const QString& upper) { ++m_counts[upper]; }
    void remove(const QString& upper)
    {
        auto it = m_counts.find(upper);
        if (it != m_counts.end() && --it.value() == 0)
            m_counts.erase(it);
    }
    bool contains(const QString& upper) const { return m_counts.contains(upper); }

private:
    QHash<QString, int> m_counts;
};

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
    QHash<QString, qsizetype> lastCarrying; // an upper-cased current name, its last item
    for (qsizetype i = 0; i < all.size(); ++i)
        lastCarrying.insert(all[i].toUpper(), i);
    QHash<QString, qsizetype> firstGiven; // an upper-cased new name, the first item given it
    QSet<QString> reported;
    QStringList clashes;
    for (qsizetype i = 0; i < all.size() && clashes.size() < limit; ++i) {
        const QString key = composed[i].toUpper();
        const qsizetype carrier = lastCarrying.value(key, -1);
        const qsizetype other = firstGiven.contains(key) ? firstGiven.value(key)
                                : carrier > i            ? carrier
                                                         : -1;
        if (other >= 0 && !reported.contains(key)) {
            clashes << QCoreApplication::translate("DuplicateCheck", "%1: %2 and %3")
                           .arg(composed[i], all[std::min(i, other)], all[std::max(i, other)]);
            reported.insert(key);
        }
        firstGiven.insert(key, std::min(i, firstGiven.value(key, i)));
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
    QStringList current;
    current.reserve(names.size());
    PendingNames pending(names.size());
    for (const QString& name : names) {
        current << name.toUpper();
        pending.add(current.back());
    }
    // A companion carries its name until its file is renamed; the folder's other files keep
    // theirs throughout.
    const std::vector<QStringList> noCompanions;
    const std::vector<QStringList>& companionsOf = companions ? companions->of : noCompanions;
    for (const QStringList& those : companionsOf) {
        for (const QString& companion : those)
            pending.add(companion.toUpper());
    }
    if (companions) {
        for (const QString& name : companions->staying)
            pending.add(name.toUpper());
    }
    std::optional<NameCounter> counter;
    if (settings.RenameChk)
        counter.emplace(settings);
    const int selectedCount = countSelected(selected, names.size());

    // Two equal new names are found as the second one is made, so that no pass over the
    // whole list runs after the last yield.
    QSet<QString> newNames;
    newNames.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        pending.remove(current[i]); // an item is never compared with its own old name
        QString newName = current[i];
        QString composed = names[i];
        if (IsInRenameSet(isSelected(selected, i), selectedCount)) {
            composed =
                ComposeNewName(names[i], settings, counter ? &*counter : nullptr, dateOf(dates, i));
            const QString reason =
                findUnusable && composed != names[i] ? invalidNameReason(composed) : QString();
            if (!reason.isEmpty())
                return {NameProblem::Kind::Unusable, i, names[i], composed, reason};
            newName = composed.toUpper();
        }
        // The second test: it would take the name of a file not yet renamed.
        if (newNames.contains(newName) || pending.contains(newName))
            return {NameProblem::Kind::Duplicate, i, names[i], {}, {}};
        newNames.insert(std::move(newName));
        // Each companion is renamed right after its file and checked as a file is.
        const QStringList& those =
            size_t(i) < companionsOf.size() ? companionsOf[size_t(i)] : QStringList();
        for (const QString& companion : those) {
            const QString upper = companion.toUpper();
            pending.remove(upper);
            const QString given = companionNewName(companion, names[i], composed);
            const QString reason =
                findUnusable && given != companion ? invalidNameReason(given) : QString();
            if (!reason.isEmpty())
                return {NameProblem::Kind::Unusable, i, companion, given, reason};
            const QString key = given.toUpper();
            if (newNames.contains(key) || pending.contains(key))
                return {NameProblem::Kind::Duplicate, i, companion, {}, {}};
            newNames.insert(key);
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

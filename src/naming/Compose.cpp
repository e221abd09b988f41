// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "naming/Compose.h"

#include "naming/CaseStyle.h"
#include "naming/Extension.h"
#include "naming/Numbers.h"

#include <QStringBuilder>

#include <limits>

namespace pellory {

namespace {

// The count typed into "characters to keep", as a whole number of characters; 0 keeps
// nothing.
qsizetype keptCharacterCount(const QString& typed)
{
    double count = leadingNumber(typed);
    if (!(count > 0))
        return 0;
    double rounded = roundHalfEven(count);
    constexpr double most = std::numeric_limits<qint32>::max();
    return qsizetype(rounded > most ? most : rounded);
}

} // namespace

bool namesUseDate(const RenameSettings& settings)
{
    return settings.RenameChk && settings.DateFormat > int(DateForm::None) &&
           settings.DateFormat <= int(DateForm::WithSeconds);
}

QString dateText(const QDateTime& date, int format)
{
    // A camera's wall clock in the hour a change to summer time skips makes no valid local
    // moment, but its day and time are still what the photo shows.
    const QDate day = date.date();
    if (!day.isValid())
        return {};
    const QTime time = date.time();
    switch (DateForm(format)) {
    case DateForm::None:
        break;
    case DateForm::Dashed:
        return QString::asprintf("%04d-%02d-%02d", day.year(), day.month(), day.day());
    case DateForm::Compact:
        return QString::asprintf("%04d%02d%02d", day.year(), day.month(), day.day());
    case DateForm::WithSeconds:
        return QString::asprintf("%04d-%02d-%02d_%02d-%02d-%02d", day.year(), day.month(),
                                 day.day(), time.hour(), time.minute(), time.second());
    }
    return {};
}

QString ComposeNewName(const QString& oldName, const RenameSettings& settings, NameCounter* counter,
                       const QDateTime& date)
{
    // The parts are views into the old name, copied only where a rule changes them: this
    // runs once per file of a run, and most runs keep both parts as they stand.
    const QStringView oldExt = fileExtView(oldName, settings.ExtUsed);
    QStringView base =
        oldExt.isEmpty() ? QStringView(oldName) : QStringView(oldName).chopped(oldExt.size() + 1);
    QStringView ext = oldExt;
    QString changedExt;
    if (settings.NewExtIndex == 1 || settings.NewExtIndex == -1) {
        const QString typed = settings.NewExtIndex == 1 ? QString() : settings.NewExtText;
        changedExt = ApplyNewExt(typed, oldExt.toString(), settings.ExtUsed);
        ext = changedExt;
    }
    // The case style acts on the old name's characters and its extension only; prefix,
    // counter and leading text are used as they stand.
    QString casedBase;
    if (CaseStyle(settings.CasesList) != CaseStyle::LeaveAsIs) {
        casedBase = applyCaseStyle(base.toString(), settings.CasesList);
        changedExt = applyCaseStyle(ext.toString(), extensionStyle(settings.CasesList));
        base = casedBase;
        ext = changedExt;
    }
    const QStringView dot = ext.isEmpty() ? QStringView() : QStringView(u".");
    if (!settings.RenameChk)
        return base % dot % ext;

    const QString counterText = counter ? counter->next() : QString();
    const QString day = dateText(date, settings.DateFormat);
    const QStringView dayEnd = day.isEmpty() ? QStringView() : QStringView(u"_");
    return base.left(keptCharacterCount(settings.NumCharKeep)) % settings.FilePrefix % day %
           dayEnd % counterText % settings.FileLeading % dot % ext;
}

} // namespace pellory

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

// The case style acts on the old name's characters and its extension only; prefix,
// counter and leading text are used as they stand.
void applyCaseStyle(int caseIndex, QString& base, QString& ext)
{
    switch (CaseStyle(caseIndex)) {
    case CaseStyle::AllLower:
        base = base.toLower();
        ext = ext.toLower();
        break;
    case CaseStyle::AllUpper:
        base = base.toUpper();
        ext = ext.toUpper();
        break;
    case CaseStyle::NormalFormatted:
        base = NormalFormat(base);
        ext = ext.toLower();
        break;
    case CaseStyle::LeaveAsIs:
        break;
    }
}

} // namespace

QString ComposeNewName(const QString& oldName, const RenameSettings& settings, NameCounter* counter)
{
    QString ext = GetFileExt(oldName, settings.ExtUsed);
    QString base = ext.isEmpty() ? oldName : oldName.chopped(ext.size() + 1);
    if (settings.NewExtIndex == 1)
        ext = ApplyNewExt(QString(), ext, settings.ExtUsed);
    else if (settings.NewExtIndex == -1)
        ext = ApplyNewExt(settings.NewExtText, ext, settings.ExtUsed);
    const QStringView dot = ext.isEmpty() ? QStringView() : QStringView(u".");
    applyCaseStyle(settings.CasesList, base, ext);
    if (!settings.RenameChk)
        return base % dot % ext;

    // Built in one allocation: this runs once per file of a run.
    const QString counterText = counter ? counter->next() : QString();
    return QStringView(base).left(keptCharacterCount(settings.NumCharKeep)) % settings.FilePrefix %
           counterText % settings.FileLeading % dot % ext;
}

} // namespace pellory

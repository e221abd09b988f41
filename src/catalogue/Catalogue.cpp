// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/Catalogue.h"

#include "platform/DirectoryScan.h"

#include <QFile>

namespace pellory {

QStringList distinctFileSpecs(const QString& specsText)
{
    QStringList specs;
    qsizetype start = 0;
    // The body runs at least once, so an empty text still yields the empty specification,
    // and a trailing ";" adds nothing because the loop ends when start passes the text.
    do {
        qsizetype separator = specsText.indexOf(QLatin1Char(';'), start);
        if (separator < 0)
            separator = specsText.size();
        const QString spec = specsText.mid(start, separator - start);
        if (!specs.contains(spec, Qt::CaseSensitive))
            specs.append(spec);
        start = separator + 1;
    } while (start < specsText.size());
    return specs;
}

void ScanFolder(Catalogue& catalogue, const QByteArray& folder, const QString& spec,
                ExtensionMode mode)
{
    if (spec.isEmpty())
        return; // a pattern that names only the folder matches nothing
    // Each entry becomes a record as it is read: a rebuild fills the records' storage of
    // the last listing again, with no second list of the folder in between. Files of a
    // folder mostly share one extension: its key is made once and shared while it repeats.
    QString lastExt;
    QString lastExtKey;
    forEachMatchingFile(folder, spec, [&](DirEntry&& entry) {
        FileRecord& record = catalogue.FileRecords.emplace_back();
        record.NameKey = entry.name.toUpper();
        const QStringView ext = fileExtView(entry.name, mode);
        if (ext != lastExt) {
            lastExt = ext.toString();
            lastExtKey = lastExt.toUpper();
        }
        record.ExtKey = lastExtKey;
        record.WriteTime = entry.writeTime;
        record.Inode = entry.inode;
        record.RawName = std::move(entry.rawName);
        record.FileName = std::move(entry.name);
    });
}

void rebuildCatalogue(Catalogue& catalogue, const QByteArray& folder, const QString& specsText,
                      ExtensionMode mode)
{
    catalogue.clear();
    for (const QString& spec : distinctFileSpecs(specsText))
        ScanFolder(catalogue, folder, spec, mode);
}

void rebuildCatalogue(Catalogue& catalogue, const QString& folder, const QString& specsText,
                      ExtensionMode mode)
{
    rebuildCatalogue(catalogue, QFile::encodeName(folder), specsText, mode);
}

} // namespace pellory

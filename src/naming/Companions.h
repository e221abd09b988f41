// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Companion files: the RAW, JPEG and sidecar files of the same folder that belong to a
// listed file by name and take its new name with their own extension. Works on names
// only; which names are files, and which the list holds, the caller knows.
//
// A name's stem is the text before its last "."; a name without one is all stem. The
// companions of a listed file are the names whose stem is its stem and whose extension
// (any letter case) is a RAW one, JPG, JPEG or HEIC when the listed file is itself a RAW,
// XMP, THM or AAE; and the name that is its whole name plus an XMP extension.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace pellory {

// True for the extensions (without the dot, any letter case) of camera RAW files.
bool isRawExtension(QStringView ext);

// Hands out the companions of listed files among the names of a folder that the list does
// not hold. A name goes to the first listed file that claims it, so that no file is renamed
// twice.
class CompanionFinder
{
public:
    explicit CompanionFinder(QStringList unlisted);
    const QStringList& unlisted() const { return m_unlisted; }
    // The positions in unlisted() of the companions of `name` that no earlier call took, in
    // the order of their names (ordinal).
    QList<qsizetype> claim(const QString& name);

private:
    QStringList m_unlisted;
    QMultiHash<QString, qsizetype> m_byStem; // upper-cased stem, position
    std::vector<bool> m_claimed;
};

// The new name of `companion` when its file `name` is renamed to `newName`: the new stem
// and the companion's own extension as it is; a sidecar of the whole name
// ("IMG_1.JPG.xmp") takes the whole new name ("Trip_001.jpeg.xmp").
QString companionNewName(const QString& companion, const QString& name, const QString& newName);

// What the duplicate check needs to know of a folder's companions.
struct CompanionNames
{
    // One entry per listed item (possibly fewer): the companions it renames, in order.
    std::vector<QStringList> of;
    // The folder's other entries, which keep their names through the run.
    QStringList staying;
};

// The companions of every item of the rename set, claimed in list order among `unlisted`,
// and the unlisted names left over. `selected` as the duplicate check takes it.
CompanionNames findCompanionNames(const QStringList& names, const std::vector<bool>& selected,
                                  const QStringList& unlisted);

} // namespace pellory

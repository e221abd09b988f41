// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "naming/Extension.h"

namespace pellory {

QStringView fileExtView(QStringView name, ExtensionMode mode)
{
    qsizetype dot =
        mode == ExtensionMode::UseFirstOccurrence ? name.indexOf(u'.') : name.lastIndexOf(u'.');
    if (dot < 0 || dot + 1 >= name.size())
        return {};
    return name.sliced(dot + 1);
}

QString ApplyNewExt(const QString& newText, const QString& ext, ExtensionMode mode)
{
    switch (mode) {
    case ExtensionMode::UseFirstOccurrence: {
        // Only the first component of "tar.gz" is the one acted on. Removing it drops
        // that component with its dot, so no empty component ("archive..gz") is left;
        // a single-part extension is simply replaced.
        qsizetype dot = ext.indexOf(u'.');
        if (dot < 0)
            return newText;
        return newText.isEmpty() ? ext.mid(dot + 1) : newText + ext.mid(dot);
    }
    case ExtensionMode::DoNotUseExtension:
        return ext + newText;
    case ExtensionMode::UseLastOccurrence:
        break;
    }
    return newText;
}

} // namespace pellory

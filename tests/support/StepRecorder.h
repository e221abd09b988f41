// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// An observer of a renamer's steps on disk that writes them down, as the undo history
// would: "from>to" each, "!" after one that failed, "?" after one it refused. Refuses the
// n-th step it is told of, when asked, as a history that cannot be written does.

#include "platform/Rename.h"
#include "support/Files.h"

#include <QByteArrayList>

namespace pellory::testing {

struct StepRecorder : RenameObserver
{
    QByteArrayList steps;
    int refuseAt = 0; // counted from 1; 0: none

    bool beforeStep(QByteArrayView from, QByteArrayView to, const FileIdentity&,
                    const FileIdentity&) override
    {
        steps << from.toByteArray() + '>' + to.toByteArray();
        if (steps.size() != refuseAt)
            return true;
        steps.last() += '?';
        return false;
    }
    void stepFailed() override { steps.last() += '!'; }
    QString refusal() const override { return QStringLiteral("refused"); }
    // Our temporary names shown as "T".
    QByteArray joined() const { return withoutTemporaryNames(steps.join('|')); }
};

} // namespace pellory::testing

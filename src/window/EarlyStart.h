// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The folder the window opens with, looked at, read, stat'ed and watched on a thread of its
// own while the controls are made: the folder selector takes the look, the file list the facts
// for its records, each only where it asks for the same folder (and the list the same
// specifications) during the start. A hung mount keeps the thread, not the window: the
// look is waited for with the selector's usual limit.

#include "catalogue/Catalogue.h"
#include "platform/DirectoryScan.h"
#include "platform/FolderWatch.h"

#include <QByteArray>
#include <QString>

#include <future>
#include <memory>

namespace pellory {

struct EarlyStart
{
    QByteArray folder; // made absolute and clean, as the folder selector keeps it
    QString specs;
    std::future<FolderLook> look;
    // Null when the folder was not read; handed over with its matches, its stats to come.
    std::future<std::shared_ptr<const FolderFacts>> facts;
    std::future<ReadyWatch> watch; // set up once the facts are in, beside their records

    // Starts the work; nothing starts for an empty folder.
    static EarlyStart begin(const QByteArray& folder, const QString& specs);
};

} // namespace pellory

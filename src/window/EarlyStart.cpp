// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/EarlyStart.h"

#include "window/FolderSelector.h"

#include <system_error>
#include <thread>

namespace pellory {

namespace {

void lookAndRead(const QByteArray& folder, const QString& specs, std::promise<FolderLook>& look,
                 std::promise<std::shared_ptr<const FolderFacts>>& facts,
                 std::promise<ReadyWatch>& watch)
{
    FolderLook seen = lookAtFolderNow(folder);
    std::shared_ptr<const FolderListing> files = seen.files;
    look.set_value(std::move(seen));
    std::shared_ptr<FolderFacts> read;
    if (files)
        read = std::make_shared<FolderFacts>(matchFolderFacts(folder, specs, files));
    const bool wasRead = read != nullptr;
    // Handed over before the stats: the window makes the records as they come in.
    facts.set_value(read);
    if (read)
        statFolderFacts(*read);
    // After the stats, not beside them: the system's walk over the entries slows every
    // stat that runs at the same time.
    watch.set_value(wasRead ? ReadyWatch::setUp(folder) : ReadyWatch());
}

} // namespace

EarlyStart EarlyStart::begin(const QByteArray& folder, const QString& specs)
{
    EarlyStart early;
    if (folder.isEmpty())
        return early;
    early.folder = FolderSelector::cleanPath(folder);
    early.specs = specs;
    std::promise<FolderLook> look;
    std::promise<std::shared_ptr<const FolderFacts>> facts;
    std::promise<ReadyWatch> watch;
    early.look = look.get_future();
    early.facts = facts.get_future();
    early.watch = watch.get_future();
    try {
        // The thread owns its copies and the promises, so it may outlive the window's start.
        std::thread([folder = early.folder, specs, look = std::move(look), facts = std::move(facts),
                     watch = std::move(watch)]() mutable {
            lookAndRead(folder, specs, look, facts, watch);
        }).detach();
    } catch (const std::system_error&) {
        return {}; // no thread to be had: the start reads the folder as it always does
    }
    return early;
}

} // namespace pellory

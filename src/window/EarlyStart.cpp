// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/EarlyStart.h"

#include "window/FolderSelector.h"

#include <system_error>
#include <thread>

namespace pellory {

namespace {

void lookAndList(const QByteArray& folder, const QString& specs, ExtensionMode mode,
                 std::promise<FolderLook>& look, std::promise<std::shared_ptr<Catalogue>>& list)
{
    FolderLook seen = lookAtFolderNow(folder);
    std::shared_ptr<const FolderListing> files = seen.files;
    look.set_value(std::move(seen));
    std::shared_ptr<Catalogue> catalogue;
    if (files) {
        catalogue = std::make_shared<Catalogue>();
        rebuildCatalogue(*catalogue, folder, specs, mode, std::move(files));
    }
    list.set_value(std::move(catalogue));
}

} // namespace

EarlyStart EarlyStart::begin(const QByteArray& folder, const QString& specs, ExtensionMode mode)
{
    EarlyStart early;
    if (folder.isEmpty())
        return early;
    early.folder = FolderSelector::cleanPath(folder);
    early.specs = specs;
    early.mode = mode;
    std::promise<FolderLook> look;
    std::promise<std::shared_ptr<Catalogue>> list;
    early.look = look.get_future();
    early.catalogue = list.get_future();
    try {
        // The thread owns its copies and the promises, so it may outlive the window's start.
        std::thread([folder = early.folder, specs, mode, look = std::move(look),
                     list = std::move(list)]() mutable {
            lookAndList(folder, specs, mode, look, list);
        }).detach();
    } catch (const std::system_error&) {
        return {}; // no thread to be had: the start reads the folder as it always does
    }
    return early;
}

} // namespace pellory

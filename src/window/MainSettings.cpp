// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The stored settings at start and at close: the window takes its place and size and
// whether a folder named at start replaces the stored one; each pane restores and gives
// its own keys, in the order of the store's table.

#include "settings/StoredSettings.h"
#include "window/FilePane.h"
#include "window/Main.h"
#include "window/NamingPanel.h"

#include <QDebug>

#include <cmath>

namespace pellory {

void Main::restoreSetting(SettingKey key, const QString& text)
{
    switch (key) {
    case SettingKey::WindowTop:
    case SettingKey::WindowLeft:
    case SettingKey::WindowWidth:
    case SettingKey::WindowHeight:
        return; // placed before everything else (MainPlacement.cpp)
    case SettingKey::LastDrive:
        // The folder named at start opens in place of the stored drive and folder, with the
        // specifications already restored.
        if ((m_startFolderOpened = openStartFolder()))
            return;
        break;
    case SettingKey::LastDir:
        if (m_startFolderOpened)
            return;
        break;
    default:
        break; // each pane takes its own keys
    }
    m_files->restoreSetting(key, text);
    m_naming->restoreSetting(key, text);
}

bool Main::openStartFolder()
{
    if (m_startFolder.isEmpty())
        return false;
    const QString refusal = m_files->openFolder(m_startFolder);
    if (!refusal.isEmpty()) // no window shows yet: said where Pellory was started
        qWarning().noquote() << "pellory:" << refusal;
    return refusal.isEmpty();
}

std::optional<QString> Main::settingToStore(SettingKey key) const
{
    const auto twips = [](int pixels, Qt::Orientation along) {
        return coordinateText(float(std::lround(pixels * twipsPerPixel(along))));
    };
    switch (key) {
    case SettingKey::WindowTop:
        return twips(y(), Qt::Vertical);
    case SettingKey::WindowLeft:
        return twips(x(), Qt::Horizontal);
    case SettingKey::WindowWidth:
        return twips(width(), Qt::Horizontal);
    case SettingKey::WindowHeight:
        return twips(height(), Qt::Vertical);
    default:
        break; // each pane gives its own keys
    }
    if (std::optional<QString> text = m_files->settingToStore(key))
        return text;
    return m_naming->settingToStore(key);
}

} // namespace pellory

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The per-user settings store: one table gives every stored key its name and default, and
// the store reads and writes their values as text. Knows nothing of widgets; the window
// applies the values.

#include "settings/IniFile.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

namespace pellory {

enum class SettingKey
{
    WindowTop,
    WindowLeft,
    WindowWidth,
    WindowHeight,
    HiddenFolders, // stored as "ShowHiddenFolders"
    Specs,
    LastDrive,
    LastDir,
    Cases,
    Keep,
    Prefix,
    Number,
    Increment,
    AlphaNumber,
    AlphaIncrement,
    Alpha,
    Leading,
    FileExt,
    NewExtInx,
    NewExtUser,
    SelSteps,
    TakenColumn,
    DateFormat,
    Companions,
};
inline constexpr std::size_t kSettingCount = 24;

// A key as the store names it, and the value it has while the store lacks it.
struct SettingEntry
{
    SettingKey key;
    const char* name; // in the store
    const char* defaultValue;
};

// Every key, in the order of SettingKey.
inline constexpr std::array<SettingEntry, kSettingCount> kSettings{{
    {SettingKey::WindowTop, "WindowTop", ""},
    {SettingKey::WindowLeft, "WindowLeft", ""},
    {SettingKey::WindowWidth, "WindowWidth", ""},   // the inside, so a frame of another size
    {SettingKey::WindowHeight, "WindowHeight", ""}, // cannot make it creep from start to start
    {SettingKey::HiddenFolders, "ShowHiddenFolders", "0"}, // the folder tree's menu check
    {SettingKey::Specs, "Specs", "*.JPG;*.GIF"},
    {SettingKey::LastDrive, "LastDrive", ""},
    {SettingKey::LastDir, "LastDir", ""},
    {SettingKey::Cases, "Cases", "0"},
    {SettingKey::Keep, "Keep", "0"},
    {SettingKey::Prefix, "Prefix", "IMG_"},
    {SettingKey::Number, "Number", "001"},
    {SettingKey::Increment, "Increment", "1"},
    {SettingKey::AlphaNumber, "AlphaNumber", "AAA"},
    {SettingKey::AlphaIncrement, "AlphaIncrement", "1"},
    {SettingKey::Alpha, "Alpha", "0"},
    {SettingKey::Leading, "Leading", ""},
    {SettingKey::FileExt, "FileExt", "1"}, // "Use Last Occurrence"
    {SettingKey::NewExtInx, "NewExtInx", "0"},
    {SettingKey::NewExtUser, "NewExtUser", ""},
    {SettingKey::SelSteps, "SelSteps", ""},
    {SettingKey::TakenColumn, "TakenColumn", "0"}, // the file list's header menu check
    {SettingKey::DateFormat, "DateFormat", "0"},   // "(none)"
    {SettingKey::Companions, "Companions", "0"},
}};

constexpr const SettingEntry& entryOf(SettingKey key)
{
    return kSettings[std::size_t(key)];
}

// The order of restoring at start. The window's place and size come first, then whether the
// folder tree lists hidden folders, before it lists any; the specifications go in before
// the drive and folder, whose handlers build the list with them; the numeric counter pair
// goes in while the alphabetic switch is still off.
inline constexpr std::array<SettingKey, kSettingCount> kRestoreOrder{
    SettingKey::WindowTop,    SettingKey::WindowLeft,    SettingKey::WindowWidth,
    SettingKey::WindowHeight, SettingKey::HiddenFolders, SettingKey::Specs,
    SettingKey::LastDrive,    SettingKey::LastDir,       SettingKey::Cases,
    SettingKey::Keep,         SettingKey::Prefix,        SettingKey::Number,
    SettingKey::Increment,    SettingKey::AlphaNumber,   SettingKey::AlphaIncrement,
    SettingKey::Alpha,        SettingKey::Leading,       SettingKey::FileExt,
    SettingKey::NewExtInx,    SettingKey::NewExtUser,    SettingKey::SelSteps,
    SettingKey::TakenColumn,  SettingKey::DateFormat,    SettingKey::Companions};

// The order of storing at close.
inline constexpr std::array<SettingKey, kSettingCount> kStoreOrder{
    SettingKey::WindowTop,    SettingKey::WindowLeft,    SettingKey::WindowWidth,
    SettingKey::WindowHeight, SettingKey::HiddenFolders, SettingKey::LastDrive,
    SettingKey::LastDir,      SettingKey::Specs,         SettingKey::Cases,
    SettingKey::Keep,         SettingKey::Prefix,        SettingKey::Number,
    SettingKey::Increment,    SettingKey::AlphaNumber,   SettingKey::AlphaIncrement,
    SettingKey::Alpha,        SettingKey::Leading,       SettingKey::FileExt,
    SettingKey::NewExtInx,    SettingKey::NewExtUser,    SettingKey::SelSteps,
    SettingKey::TakenColumn,  SettingKey::DateFormat,    SettingKey::Companions};

// Each order names every key once, and the table holds each key at its own place.
constexpr bool namesEveryKeyOnce(const std::array<SettingKey, kSettingCount>& order)
{
    std::array<bool, kSettingCount> seen{};
    for (SettingKey key : order) {
        if (std::size_t(key) >= kSettingCount || seen[std::size_t(key)])
            return false;
        seen[std::size_t(key)] = true;
    }
    return true;
}
constexpr bool tableInKeyOrder()
{
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (std::size_t(kSettings[i].key) != i)
            return false;
    }
    return true;
}
static_assert(tableInKeyOrder() && namesEveryKeyOnce(kRestoreOrder) &&
              namesEveryKeyOnce(kStoreOrder));

class StoredSettings
{
public:
    // Reads $XDG_CONFIG_HOME/Pellory/Pellory.ini, group "Settings". A missing, unreadable
    // or damaged file gives an empty store; it never fails and never creates the file.
    StoredSettings();

    // The stored text, or the key's default when the key is absent.
    QString value(SettingKey key) const;
    void setValue(SettingKey key, const QString& text);
    // Writes the file; false (with the reason) when it could not be written.
    bool flush(QString* error = nullptr);

private:
    QString m_path;
    IniFile m_file;
};

// "Cases", "Alpha", "FileExt", "NewExtInx": the text as a 16-bit integer (a fraction
// rounds half to even); nothing when it is not a number or out of range.
std::optional<qint16> storedIndex(const QString& text);
// The index that stored text names when it is from `first` to `last`; nothing otherwise.
std::optional<int> storedIndexIn(const QString& text, int first, int last);

// "WindowTop", "WindowLeft", "WindowWidth", "WindowHeight": the leading decimal number, 0
// when there is none; nothing only when it does not fit a 32-bit float.
std::optional<float> storedCoordinate(const QString& text);

// A twip coordinate as stored: decimal text of a whole number, no leading blank.
QString coordinateText(float twips);

// "LastDir": a folder's path as stored. A path that is valid text is stored as that text,
// so that a person can read and change it; any other path as a file URL that keeps every
// byte, all but letters, digits, "-._~" and "/" percent-escaped ("file:///media/caf%E9"),
// since the text of such a path reads back as other bytes, another folder's.
QString storedFolderText(const QByteArray& path);
// The path that stored text names: a file URL's bytes, or any other text's, as earlier
// versions stored every path.
QByteArray storedFolder(const QString& text);

} // namespace pellory

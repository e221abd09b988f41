#pragma once
// The per-user settings store: the key table with each key's default, and reading and
// writing text values. Knows nothing of widgets; the window applies the values.

#include <QString>
#include <QtGlobal>

#include <array>
#include <memory>
#include <optional>

class QSettings;

namespace pellory {

struct SettingKey
{
    const char* name;
    const char* defaultValue;
};

// The 18 keys in the order they are restored: the window position first, then the rest.
extern const std::array<SettingKey, 18> kRestoreOrder;
// The same keys in the order they are stored at close.
extern const std::array<SettingKey, 18> kStoreOrder;

class StoredSettings
{
public:
    // Opens $XDG_CONFIG_HOME/Pellory/Pellory.ini, group "Settings". A missing, unreadable
    // or corrupt file gives an empty store; it never fails.
    StoredSettings();
    ~StoredSettings();

    // The stored text, or the key's default when the key is absent.
    QString value(const char* key) const;
    bool contains(const char* key) const;
    void setValue(const char* key, const QString& text);
    // Writes the file; false (with the reason) when it could not be written.
    bool flush(QString* error = nullptr);

private:
    std::unique_ptr<QSettings> m_settings;
};

// "Cases", "Alpha", "FileExt", "NewExtInx": the text as a 16-bit integer (a fraction
// rounds half to even); nothing when it is not a number or out of range.
std::optional<qint16> storedIndex(const QString& text);

// "WindowTop", "WindowLeft": the leading decimal number, 0 when there is none; nothing
// only when it does not fit a 32-bit float.
std::optional<float> storedCoordinate(const QString& text);

// A twip coordinate as stored: decimal text of a whole number, no leading blank.
QString coordinateText(float twips);

} // namespace pellory

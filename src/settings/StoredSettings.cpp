#include "settings/StoredSettings.h"

#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QStringList>

#include <cfloat>
#include <cmath>

namespace pellory {

namespace {

constexpr SettingKey kWindowTop{"WindowTop", ""};
constexpr SettingKey kWindowLeft{"WindowLeft", ""};
constexpr SettingKey kSpecs{"Specs", "*.JPG;*.GIF"};
constexpr SettingKey kLastDrive{"LastDrive", ""};
constexpr SettingKey kLastDir{"LastDir", ""};
constexpr SettingKey kCases{"Cases", "0"};
constexpr SettingKey kKeep{"Keep", "0"};
constexpr SettingKey kPrefix{"Prefix", "IMG_"};
constexpr SettingKey kNumber{"Number", "001"};
constexpr SettingKey kIncrement{"Increment", "1"};
constexpr SettingKey kAlphaNumber{"AlphaNumber", "AAA"};
constexpr SettingKey kAlphaIncrement{"AlphaIncrement", "1"};
constexpr SettingKey kAlpha{"Alpha", "0"};
constexpr SettingKey kLeading{"Leading", ""};
constexpr SettingKey kFileExt{"FileExt", "1"}; // "Use Last Occurrence"
constexpr SettingKey kNewExtInx{"NewExtInx", "0"};
constexpr SettingKey kNewExtUser{"NewExtUser", ""};
constexpr SettingKey kSelSteps{"SelSteps", ""};

const QString kApplication = QStringLiteral("Pellory");
const QString kSection = QStringLiteral("Settings");

} // namespace

// The specifications go in before the drive and folder, whose handlers build the list
// with them; the numeric counter pair goes in while the alphabetic switch is still off.
const std::array<SettingKey, 18> kRestoreOrder{
    kWindowTop, kWindowLeft, kSpecs,   kLastDrive, kLastDir,     kCases,
    kKeep,      kPrefix,     kNumber,  kIncrement, kAlphaNumber, kAlphaIncrement,
    kAlpha,     kLeading,    kFileExt, kNewExtInx, kNewExtUser,  kSelSteps};

const std::array<SettingKey, 18> kStoreOrder{
    kWindowTop, kWindowLeft, kLastDrive, kLastDir,   kSpecs,       kCases,
    kKeep,      kPrefix,     kNumber,    kIncrement, kAlphaNumber, kAlphaIncrement,
    kAlpha,     kLeading,    kFileExt,   kNewExtInx, kNewExtUser,  kSelSteps};

namespace {

QString defaultFor(const char* key)
{
    for (const SettingKey& k : kRestoreOrder) {
        if (qstrcmp(k.name, key) == 0)
            return QString::fromLatin1(k.defaultValue);
    }
    return {};
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// Appends the character a backslash escape at text[i] stands for; returns the index of
// the escape's last character. The escapes are those the INI writer uses.
qsizetype unescapeAt(QStringView text, qsizetype i, QString& out)
{
    if (i + 1 >= text.size())
        return i; // a lone backslash at the end is dropped
    const QChar c = text[++i];
    static const QString from = QStringLiteral("abfnrtv");
    static const QString to = QStringLiteral("\a\b\f\n\r\t\v");
    if (const qsizetype at = from.indexOf(c); at >= 0) {
        out += to[at];
    } else if (c == u'x') {
        qsizetype end = i + 1;
        while (end < text.size() && end < i + 5 && isHexDigit(text[end]))
            ++end;
        if (end == i + 1)
            out += c; // "\x" without digits is a plain "x"
        else
            out += QChar(text.mid(i + 1, end - i - 1).toUShort(nullptr, 16));
        return end - 1;
    } else {
        out += c; // \\, \", \', \? and anything unknown stand for themselves
    }
    return i;
}

// A value line's text after "=": quoted parts unquoted, commas kept with their blanks,
// blanks outside quotes at either end dropped, an unquoted ";" starting a comment.
QString decodeWritten(QStringView raw)
{
    QString out;
    qsizetype keep = 0; // length up to the last character that is not an outer blank
    bool quoted = false;
    bool started = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'"') {
            quoted = !quoted;
            started = true;
            keep = out.size();
            continue;
        }
        if (!quoted && c == u';')
            break;
        if (!quoted && c.isSpace() && !started)
            continue;
        started = true;
        if (c == u'\\')
            i = unescapeAt(raw, i, out);
        else
            out += c;
        if (quoted || !c.isSpace())
            keep = out.size();
    }
    out.truncate(keep);
    return out;
}

// The value of `key` in `section` as the file holds it, the last one when the key is
// written twice (the INI parser also keeps the last), or nothing when it is not there.
std::optional<QString> writtenIniText(const QString& path, QStringView section, QStringView key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString content = QString::fromUtf8(file.readAll());
    std::optional<QString> found;
    bool inSection = false;
    for (QStringView line : QStringView(content).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inSection = line.endsWith(u']') && line.sliced(1, line.size() - 2) == section;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inSection && equals > 0 && line.first(equals).trimmed() == key)
            found = decodeWritten(line.sliced(equals + 1));
    }
    return found;
}

} // namespace

StoredSettings::StoredSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             kApplication, kApplication))
{
    // Per user only: no organisation-wide or system-wide file may lend a value.
    m_settings->setFallbacksEnabled(false);
    m_settings->beginGroup(kSection);
}

StoredSettings::~StoredSettings() = default;

QString StoredSettings::value(const char* key) const
{
    const QVariant stored = m_settings->value(QLatin1String(key));
    if (!stored.isValid())
        return defaultFor(key);
    if (stored.typeId() == QMetaType::QString)
        return stored.toString();
    // The INI parser turns an unquoted "," into a list and "@Type(...)" into other types;
    // the user meant the text as written.
    if (const auto written =
            writtenIniText(m_settings->fileName(), kSection, QString::fromLatin1(key)))
        return *written;
    return stored.toStringList().join(QLatin1String(", "));
}

bool StoredSettings::contains(const char* key) const
{
    return m_settings->contains(QLatin1String(key));
}

void StoredSettings::setValue(const char* key, const QString& text)
{
    m_settings->setValue(QLatin1String(key), text);
}

bool StoredSettings::flush(QString* error)
{
    m_settings->sync();
    // A FormatError only says the old file was not clean INI; the write still happened.
    if (m_settings->status() != QSettings::AccessError)
        return true;
    if (error)
        *error =
            QStringLiteral("The settings could not be written to %1.").arg(m_settings->fileName());
    return false;
}

std::optional<qint16> storedIndex(const QString& text)
{
    bool ok = false;
    // The user's locale decides the decimal and group separators of a hand-edited value.
    const double number = QLocale().toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double rounded = std::nearbyint(number); // ties to even in the default mode
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

std::optional<float> storedCoordinate(const QString& text)
{
    qsizetype i = 0;
    const auto skipDigits = [&] {
        qsizetype from = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        return i > from;
    };
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = skipDigits();
    if (i < text.size() && text[i] == u'.') {
        ++i;
        digits = skipDigits() || digits;
    }
    if (!digits)
        return 0.0f; // no leading number: that edge goes to the screen's edge
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype mark = i++;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (!skipDigits())
            i = mark; // "12e" or "12e+" is the number 12 followed by text
    }
    bool ok = false;
    const double number = text.mid(start, i - start).toDouble(&ok);
    if (!ok && number == 0.0)
        return 0.0f; // too small to tell from 0
    if (!std::isfinite(number) || std::abs(number) > double(FLT_MAX))
        return std::nullopt;
    return static_cast<float>(number);
}

QString coordinateText(float twips)
{
    if (!std::isfinite(twips))
        return QStringLiteral("0");
    const double whole = std::nearbyint(double(twips));
    if (whole == 0.0)
        return QStringLiteral("0"); // never "-0"
    return QString::number(whole, 'f', 0);
}

} // namespace pellory

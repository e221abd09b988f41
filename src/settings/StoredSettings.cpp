// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "settings/StoredSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>

#include <cfloat>
#include <cmath>

namespace pellory {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kFileUrl = QStringLiteral("file://");

// Where QSettings keeps organisation "Pellory", application "Pellory", per user.
QString settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Pellory/Pellory.ini");
}

} // namespace

StoredSettings::StoredSettings() : m_path(settingsPath())
{
    m_file.read(m_path);
}

QString StoredSettings::value(SettingKey key) const
{
    const SettingEntry& entry = entryOf(key);
    return m_file.value(kSection, QLatin1String(entry.name))
        .value_or(QString::fromLatin1(entry.defaultValue));
}

void StoredSettings::setValue(SettingKey key, const QString& text)
{
    m_file.setValue(kSection, QLatin1String(entryOf(key).name), text);
}

bool StoredSettings::flush(QString* error)
{
    if (m_file.write(m_path))
        return true;
    if (error)
        *error = QCoreApplication::translate("StoredSettings",
                                             "The settings could not be written to %1.")
                     .arg(m_path);
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

std::optional<int> storedIndexIn(const QString& text, int first, int last)
{
    const std::optional<qint16> value = storedIndex(text);
    if (!value || *value < first || *value > last)
        return std::nullopt;
    return *value;
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

QString storedFolderText(const QByteArray& path)
{
    QString text = QFile::decodeName(path);
    if (QFile::encodeName(text) == path)
        return text; // a stored path is absolute: it never reads as a URL
    return kFileUrl + QString::fromLatin1(path.toPercentEncoding("/"));
}

QByteArray storedFolder(const QString& text)
{
    if (!text.startsWith(kFileUrl))
        return QFile::encodeName(text);
    // A URL written by hand may hold a character as itself: it stands for its bytes.
    return QByteArray::fromPercentEncoding(text.sliced(kFileUrl.size()).toUtf8());
}

} // namespace pellory

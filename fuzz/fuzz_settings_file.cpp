// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Any bytes as a settings file: reading never fails on them, and what was read survives
// being written and read again. The same bytes as a value, set and written, read back as
// the same text.

#include "settings/IniFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <unistd.h>

namespace {

const QString kSection = QStringLiteral("Settings");
const char* const kKeys[] = {"LastDir", "Specs", "Prefix", "Number", "WindowLeft"};

QString scratch(const char* name)
{
    return QStringLiteral("/tmp/pellory-fuzz-%1-%2.ini").arg(::getpid()).arg(QLatin1String(name));
}

bool put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString in = scratch("in"), out = scratch("out");
    if (!put(in, bytes))
        std::abort();
    pellory::IniFile read;
    read.read(in);
    const QString text = QString::fromUtf8(bytes);
    pellory::IniFile written = read;
    written.setValue(kSection, QStringLiteral("Leading"), text);
    if (!written.write(out))
        std::abort();
    pellory::IniFile again;
    if (!again.read(out))
        std::abort();
    for (const char* key : kKeys) {
        if (again.value(kSection, QLatin1String(key)) != read.value(kSection, QLatin1String(key)))
            std::abort();
    }
    if (again.value(kSection, QStringLiteral("Leading")) != text)
        std::abort();
    return 0;
}

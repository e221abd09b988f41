// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

// The one line a step of the window pass prints, and the camera names the bench works on.

#include "WindowSteps.h"

namespace pellory::bench {

QString cameraName(const QString& prefix, int number, int count)
{
    const int digits = count > 99999 ? 6 : 5;
    return prefix + QStringLiteral("%1.JPG").arg(number, digits, 10, QLatin1Char('0'));
}

QString StepLine::format() const
{
    return QStringLiteral("step\t%1\t%2\t%3\t%4\t%5\t%6\t%7")
        .arg(name)
        .arg(ms, 0, 'f', 3)
        .arg(waitMs, 0, 'f', 3)
        .arg(peakKb)
        .arg(floorMs, 0, 'f', 3)
        .arg(ok ? 1 : 0)
        .arg(note.simplified());
}

bool StepLine::parse(const QString& line, StepLine& out)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != 8 || fields[0] != QLatin1String("step"))
        return false;
    out.name = fields[1];
    out.ms = fields[2].toDouble();
    out.waitMs = fields[3].toDouble();
    out.peakKb = fields[4].toLongLong();
    out.floorMs = fields[5].toDouble();
    out.ok = fields[6] == QLatin1String("1");
    out.note = fields[7];
    return true;
}

} // namespace pellory::bench

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/Feedback.h"

#include <QApplication>
#include <QMessageBox>

namespace pellory {

void Feedback::beep()
{
    QApplication::beep();
}

void Feedback::message(const QString& text, const QString& title, Style style,
                       const QString& details)
{
    const QMessageBox::Icon icon =
        style == Style::Warning ? QMessageBox::Warning : QMessageBox::NoIcon;
    // Messages break their lines with carriage returns alone, which a Qt label does not
    // break at; only the text shown is converted.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(icon, title, shown, QMessageBox::Ok, QApplication::activeWindow());
    box.setInformativeText(details);
    box.exec();
}

bool Feedback::question(const QString& text, const QString& title)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return QMessageBox::question(QApplication::activeWindow(), title, shown,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

BusyPointer::BusyPointer()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer()
{
    QApplication::restoreOverrideCursor();
}

} // namespace pellory

#include "window/Feedback.h"

#include <QApplication>
#include <QMessageBox>

namespace pellory {

void Feedback::beep()
{
    QApplication::beep();
}

void Feedback::message(const QString& text, const QString& title, int style)
{
    const QMessageBox::Icon icon = style == kWarning ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
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

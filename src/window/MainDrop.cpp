// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// A folder dropped on the window opens, whatever control it lands on: a file manager's drag
// carries the folder as a URL, which a text field would otherwise take in as text. A file
// dropped means its folder.

#include "window/FilePane.h"
#include "window/Main.h"
#include "window/RunController.h"
#include "window/StatusLine.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace pellory {

namespace {

// The dragged path's exact bytes: a name that is not valid text travels percent-encoded.
QByteArray droppedPath(const QMimeData* data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    return QByteArray::fromPercentEncoding(urls.first().path(QUrl::FullyEncoded).toLatin1());
}

} // namespace

bool Main::takeDrop(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* over = qobject_cast<QWidget*>(watched);
    auto* drop = static_cast<QDropEvent*>(event);
    const QByteArray path = droppedPath(drop->mimeData());
    if (!over || over->window() != this || path.isEmpty())
        return false;
    // Refused, and the drag shows it, while a run is under way or in preview mode.
    const RunController::IfBusy answer =
        type == QEvent::Drop ? RunController::IfBusy::Beep : RunController::IfBusy::Ignore;
    if (!m_files->mayChangeFolder(answer)) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        if (const QString why = m_files->openFolder(path); !why.isEmpty())
            m_status->showNote(why);
    }
    return true;
}

} // namespace pellory

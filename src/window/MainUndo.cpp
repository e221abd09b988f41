// Undo of the last run from the keyboard and from the file list's context menu; the run
// controller does the undo itself.

#include "window/Main.h"
#include "window/NameListView.h"
#include "window/RunController.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>

namespace pellory {

QShortcut* Main::createUndoShortcut()
{
    auto* shortcut = new QShortcut(QKeySequence(kUndoLastRunKey), this);
    connect(shortcut, &QShortcut::activated, this, &Main::undoLastRun);
    return shortcut;
}

void Main::contextMenuEvent(QContextMenuEvent* event)
{
    QWidget* target = childAt(event->pos());
    if (!FileList || !target || !(target == FileList || FileList->isAncestorOf(target))) {
        event->ignore();
        return;
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* undo = menu->addAction(QStringLiteral("&Undo Last Rename"), this, &Main::undoLastRun);
    undo->setShortcut(QKeySequence(kUndoLastRunKey));
    undo->setEnabled(m_run->mayAct(RunController::IfBusy::Ignore) && !m_run->previewMode());
    menu->popup(event->globalPos());
    event->accept();
}

void Main::undoLastRun()
{
    m_run->undoLastRun([this] { DirList_Change(); });
}

} // namespace pellory

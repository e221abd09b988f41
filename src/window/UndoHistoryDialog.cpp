// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/UndoHistoryDialog.h"

#include "run/RunHistory.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace pellory {

namespace {

constexpr int kIdRole = Qt::UserRole;

QString stateOf(const RunRecord& run)
{
    if (run.newer)
        return UndoHistoryDialog::tr("recorded by a newer Pellory");
    QStringList state;
    if (run.kind == RunKind::Undo)
        state << (run.undoesParked ? UndoHistoryDialog::tr("put back parked files")
                                   : UndoHistoryDialog::tr("undo"));
    if (run.undone)
        state << UndoHistoryDialog::tr("undone");
    else if (run.kind != RunKind::Undo && run.filesLeft > 0)
        state << (run.filesLeft == 1
                      ? UndoHistoryDialog::tr("partly undone (1 file left)")
                      : UndoHistoryDialog::tr("partly undone (%1 files left)").arg(run.filesLeft));
    if (run.state == RunRecord::State::Running)
        state << UndoHistoryDialog::tr("under way");
    else if (run.state != RunRecord::State::Finished)
        state << UndoHistoryDialog::tr("interrupted");
    if (run.damaged)
        state << UndoHistoryDialog::tr("damaged");
    return state.join(QStringLiteral(", "));
}

QString pairsOf(const RunRecord& run)
{
    QStringList pairs;
    for (const RenameRecord& r : run.renames)
        pairs << QFile::decodeName(r.oldRaw) + QStringLiteral(" -> ") + QFile::decodeName(r.newRaw);
    if (run.renameCount > int(run.renames.size()))
        pairs << QStringLiteral("...");
    return pairs.join(QStringLiteral(", "));
}

} // namespace

UndoHistoryDialog::UndoHistoryDialog(const RunHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history), m_runs(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("UndoHistory"));
    setWindowTitle(tr("Pellory - Undo History"));
    m_runs->setObjectName(QStringLiteral("UndoHistoryRuns"));
    m_runs->setAccessibleName(tr("Runs, newest first"));
    m_runs->setRootIsDecorated(false);
    m_runs->setUniformRowHeights(true);
    m_runs->setHeaderLabels({tr("When"), tr("Folder"), tr("Files"), tr("Renames"), tr("State")});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_undo = buttons->addButton(tr("&Undo Back to This Run"), QDialogButtonBox::AcceptRole);
    m_open = buttons->addButton(tr("&Open Folder"), QDialogButtonBox::ActionRole);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_runs);
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_open, &QPushButton::clicked, this, &UndoHistoryDialog::openFolder);
    connect(m_runs, &QTreeWidget::currentItemChanged, this, &UndoHistoryDialog::followSelection);
    fill(history);
    resize(760, 360);
}

void UndoHistoryDialog::fill(const RunHistory& history)
{
    for (const RunRecord& run : history.runs()) {
        auto* item = new QTreeWidgetItem(m_runs);
        item->setData(0, kIdRole, run.id);
        item->setText(0, QLocale().toString(QDateTime::fromMSecsSinceEpoch(run.startedMs),
                                            QLocale::ShortFormat));
        item->setText(1, QFile::decodeName(run.folder));
        item->setText(2, QString::number(run.fileCount));
        item->setText(3, pairsOf(run));
        item->setText(4, stateOf(run));
    }
    m_runs->header()->resizeSections(QHeaderView::ResizeToContents);
    m_runs->setCurrentItem(m_runs->topLevelItem(0));
    followSelection();
}

QString UndoHistoryDialog::chosenRun() const
{
    const QTreeWidgetItem* item = m_runs->currentItem();
    return item ? item->data(0, kIdRole).toString() : QString();
}

void UndoHistoryDialog::followSelection()
{
    m_undo->setEnabled(!m_history.undoBackTo(chosenRun()).empty());
    m_open->setEnabled(m_runs->currentItem() != nullptr);
}

void UndoHistoryDialog::openFolder()
{
    if (const QTreeWidgetItem* item = m_runs->currentItem())
        QDesktopServices::openUrl(QUrl::fromLocalFile(item->text(1)));
}

} // namespace pellory

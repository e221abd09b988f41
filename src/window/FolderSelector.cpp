// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/FolderSelector.h"

#include "platform/DirectoryScan.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace pellory {

namespace {

// Draws each item indented by its depth, so that the flat list reads as a folder tree.
class TreeIndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + indent(option, index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(option, index), 0);
    }

private:
    static int indent(const QStyleOptionViewItem& option, const QModelIndex& index)
    {
        return index.data(FolderSelector::LevelRole).toInt() *
               option.fontMetrics.averageCharWidth() * 2;
    }
};

// The path made absolute, without "." or ".." components, repeated or trailing "/".
// Works on bytes so that folder names that are not valid UTF-8 survive unchanged.
QByteArray absoluteCleanPath(const QByteArray& path)
{
    QByteArray full = path;
    if (!full.startsWith('/'))
        full = QFile::encodeName(QDir::currentPath()) + '/' + full;
    QList<QByteArray> parts;
    for (const QByteArray& part : full.split('/')) {
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (!part.isEmpty() && part != ".") {
            parts.append(part);
        }
    }
    QByteArray clean;
    for (const QByteArray& part : parts)
        clean += '/' + part;
    return clean.isEmpty() ? QByteArray("/") : clean;
}

QByteArray joinPath(const QByteArray& folder, const QByteArray& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// Sorted by name with letter case ignored; names alike but for case by their bytes.
void sortFolderNames(QList<QByteArray>& names)
{
    std::sort(names.begin(), names.end(), [](const QByteArray& a, const QByteArray& b) {
        const QString left = QFile::decodeName(a), right = QFile::decodeName(b);
        const int folded = left.compare(right, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

} // namespace

FolderSelector::FolderSelector(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new TreeIndentDelegate(this));
    connect(this, &QListWidget::itemDoubleClicked, this, &FolderSelector::openItem);
    m_showHidden = new QAction(tr("Show Hidden Folders"), this);
    m_showHidden->setCheckable(true);
    connect(m_showHidden, &QAction::toggled, this, &FolderSelector::fill);
    addAction(m_showHidden);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString FolderSelector::path() const
{
    return m_path;
}

bool FolderSelector::setPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    return setRawPath(QFile::encodeName(path));
}

bool FolderSelector::setRawPath(const QByteArray& path)
{
    const QByteArray clean = absoluteCleanPath(path);
    PickedFolder look = this->look(clean);
    m_refusal = !look.answered                  ? Refusal::NoAnswer
                : look.exists && !look.isFolder ? Refusal::AFile
                : !look.listed                  ? Refusal::NotAFolder
                                                : Refusal::None;
    if (m_refusal != Refusal::None)
        return false;
    if (clean == m_rawPath)
        return true;
    m_rawPath = clean;
    m_path = QFile::decodeName(clean);
    keepListing(std::move(look.files));
    m_subfolders = std::move(look.subfolders);
    sortFolderNames(m_subfolders);
    fill();
    emit pathChanged();
    return true;
}

bool FolderSelector::reread()
{
    PickedFolder look = this->look(m_rawPath);
    if (!look.listed)
        return false;
    keepListing(std::move(look.files));
    sortFolderNames(look.subfolders);
    if (look.subfolders != m_subfolders) {
        m_subfolders = std::move(look.subfolders);
        fill();
    }
    return true;
}

PickedFolder FolderSelector::look(const QByteArray& path)
{
    return lookAtFolder(path, kAnswerMs);
}

QByteArray FolderSelector::cleanPath(const QByteArray& path)
{
    return absoluteCleanPath(path);
}

void FolderSelector::keepListing(std::shared_ptr<const FolderListing> listing)
{
    // Kept only for the change this look raises: a later scan reads the folder as it is then.
    if (!m_listing && listing)
        QTimer::singleShot(0, this, [this] { m_listing.reset(); });
    m_listing = std::move(listing);
}

std::shared_ptr<const FolderListing> FolderSelector::takeListing()
{
    return std::exchange(m_listing, nullptr);
}

bool FolderSelector::showsHidden() const
{
    return m_showHidden->isChecked();
}

void FolderSelector::setShowHidden(bool shown)
{
    m_showHidden->setChecked(shown);
}

void FolderSelector::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openItem(currentItem());
        event->accept();
        return;
    case Qt::Key_Backspace:
        if (m_rawPath.size() > 1 && !setRawPath(m_rawPath + "/.."))
            QApplication::beep();
        event->accept();
        return;
    default:
        QListWidget::keyPressEvent(event);
    }
}

void FolderSelector::openItem(QListWidgetItem* item)
{
    if (item && !setRawPath(item->data(RawPathRole).toByteArray()))
        QApplication::beep();
}

void FolderSelector::fill()
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto add = [this](const QIcon& icon, const QByteArray& name, const QByteArray& raw,
                            int level) {
        auto* item = new QListWidgetItem(icon, QFile::decodeName(name), this);
        item->setData(RawPathRole, raw);
        item->setData(LevelRole, level);
        return item;
    };
    clear();
    add(open, "/", "/", 0);
    QByteArray ancestor;
    int level = 0;
    for (const QByteArray& part : m_rawPath.split('/')) {
        if (part.isEmpty())
            continue;
        ancestor += '/' + part;
        add(open, part, ancestor, ++level);
    }
    setCurrentItem(item(level));
    for (const QByteArray& name : m_subfolders) {
        if (showsHidden() || !name.startsWith('.'))
            add(closed, name, joinPath(m_rawPath, name), level + 1);
    }
    scrollToItem(currentItem());
}

} // namespace pellory

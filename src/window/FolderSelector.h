// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The folder selector: the ancestors of the current path and its subfolders, in the
// manner of a folder tree. Opening an item makes it the current path. Setting the path
// from code raises pathChanged() before the assignment returns. Hidden subfolders (names
// starting with ".") are listed only when "Show Hidden Folders" is checked in its context
// menu; the current folder and its ancestors always are. Paths are kept as the bytes on
// disk too, so that a folder whose name is not valid UTF-8 shows (decoded with replacement
// characters) and still opens. A folder is first looked at on a thread of its own, so that a
// hung mount costs a refusal after kAnswerMs, not the window.

#include "platform/DirectoryScan.h"

#include <QByteArray>
#include <QList>
#include <QListWidget>

#include <memory>

class QAction;

namespace pellory {

class FolderSelector : public QListWidget
{
    Q_OBJECT
public:
    // Item data: the item's folder as the exact bytes on disk, and its depth ("/" is 0).
    static constexpr int RawPathRole = Qt::UserRole;
    static constexpr int LevelRole = Qt::UserRole + 1;

    // How long a folder may take to answer its first look.
    static constexpr int kAnswerMs = 3000;

    explicit FolderSelector(QWidget* parent = nullptr);

    QString path() const;
    // The same path as the exact bytes on disk: the folder a scan and a run work in, which
    // need not be valid text.
    const QByteArray& rawPath() const { return m_rawPath; }
    // Opens `path` (made absolute and clean). False, changing nothing, when it is not a
    // folder that can be read; refusal() then says why. Raises pathChanged() when the path
    // changes.
    bool setPath(const QString& path);
    bool setRawPath(const QByteArray& path);
    enum class Refusal
    {
        None,
        NotAFolder, // nothing there, or a folder that cannot be read
        AFile,      // something that is not a folder
        NoAnswer,   // nothing came back within kAnswerMs
    };
    Refusal refusal() const { return m_refusal; }
    // Lists the current folder's subfolders anew, for a folder changed on disk. False,
    // leaving the items as they were, when the folder cannot be read now.
    bool reread();

    // The reading of the folder's entries that the last look made, for the scan that follows
    // the change it raised; nothing once the event that looked is over, or once taken.
    std::shared_ptr<const FolderListing> takeListing();
    // `path` made absolute, without "." or ".." components, repeated or trailing "/", as
    // rawPath() keeps it.
    static QByteArray cleanPath(const QByteArray& path);

    bool showsHidden() const;
    void setShowHidden(bool shown); // as the menu's check does

signals:
    void pathChanged(); // the Change event: by the user or from code, synchronously

protected:
    void keyPressEvent(QKeyEvent* event) override; // Enter opens, Backspace goes up

private:
    void openItem(QListWidgetItem* item);
    void fill(); // the items for m_rawPath and m_subfolders, the current folder highlighted
    PickedFolder look(const QByteArray& path);
    void keepListing(std::shared_ptr<const FolderListing> listing);
    QString m_path;
    QByteArray m_rawPath;
    QList<QByteArray> m_subfolders;
    Refusal m_refusal = Refusal::None;
    QAction* m_showHidden;
    std::shared_ptr<const FolderListing> m_listing;
};

} // namespace pellory

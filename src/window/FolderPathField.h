// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The path field above the folder tree: it shows the current folder, and the user types a
// folder into it, with the subfolders of what is typed offered as completions. Pressing
// Enter asks for the typed folder (the file pane opens it); the field opens nothing itself.

#include <QByteArray>
#include <QLineEdit>

class QStringListModel;

namespace pellory {

class FolderPathField : public QLineEdit
{
    Q_OBJECT
public:
    // A folder that does not list its subfolders within this long offers none: completion
    // is a help, and a hung mount must not hold up typing.
    static constexpr int kOfferMs = 300;

    explicit FolderPathField(QWidget* parent = nullptr);

    // Shows `folder` (exact bytes) as the current folder; the folder shown, read again,
    // leaves a path the user is typing.
    void showFolder(const QByteArray& folder);
    // The path typed, as bytes: "~" is the home folder, and a relative path is taken from
    // the folder shown. The folder shown itself, while its text is untouched, even when
    // its name is not valid text.
    QByteArray typedPath() const;

private:
    void offerSubfolders(const QString& text);

    QStringListModel* m_offered;
    QByteArray m_offeredFor; // the folder read, and a dot when hidden folders are offered
    QByteArray m_shown;
};

} // namespace pellory

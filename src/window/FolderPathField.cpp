// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/FolderPathField.h"

#include "platform/DirectoryScan.h"

#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QStringListModel>

namespace pellory {

namespace {

// "~" and "~/..." name the home folder, as in a shell.
QString withHome(const QString& text)
{
    if (text == u"~" || text.startsWith(u"~/"))
        return QDir::homePath() + text.mid(1);
    return text;
}

} // namespace

FolderPathField::FolderPathField(QWidget* parent)
    : QLineEdit(parent), m_offered(new QStringListModel(this))
{
    setCompleter(new QCompleter(m_offered, this));
    connect(this, &QLineEdit::textEdited, this, &FolderPathField::offerSubfolders);
}

void FolderPathField::showFolder(const QByteArray& folder)
{
    // The folder read again, as when another program changes it, leaves a path being typed.
    if (folder == m_shown && isModified())
        return;
    m_shown = folder;
    setText(QFile::decodeName(folder));
}

QByteArray FolderPathField::typedPath() const
{
    if (text() == QFile::decodeName(m_shown))
        return m_shown;
    const QByteArray typed = QFile::encodeName(withHome(text()));
    return typed.startsWith('/') ? typed : m_shown + '/' + typed;
}

void FolderPathField::offerSubfolders(const QString& text)
{
    // The subfolders of the folder typed up to the last "/", as the text would read with
    // each; hidden ones once the name typed starts with a dot. A relative path is read from
    // the folder shown, so that folder is part of what was offered.
    const QString folderPart = text.left(text.lastIndexOf(u'/') + 1);
    const bool hidden = text.mid(folderPart.size()).startsWith(u'.');
    QByteArray folder = QFile::encodeName(withHome(folderPart));
    if (!folder.startsWith('/'))
        folder = m_shown + '/' + folder;
    const QByteArray key = folder + (hidden ? "/." : "/");
    if (key == m_offeredFor)
        return;
    m_offeredFor = key;
    QStringList offers;
    for (const QByteArray& name : lookAtFolder(folder, kOfferMs).subfolders) {
        if (name.startsWith('.') == hidden)
            offers << folderPart + QFile::decodeName(name) + u'/';
    }
    offers.sort(Qt::CaseInsensitive);
    m_offered->setStringList(offers);
}

} // namespace pellory

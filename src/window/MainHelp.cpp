// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// F1 opens the user guide in whatever the desktop uses for HTML files. The window has
// no control for it; when nothing can open the guide, or it is missing, a message says
// where it is, so that the user can open it by hand.

#include "window/MainHelp.h"
#include "window/Feedback.h"
#include "window/Main.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace pellory {

namespace {

// Installed: <prefix>/bin; a build: <build>/app, a test: <build>/tests/<module>.
constexpr int kAncestorsSearched = 3;

} // namespace

QString findUserGuide(const QString& programDir)
{
    QDir dir(programDir);
    for (int level = 0; level < kAncestorsSearched; ++level) {
        if (!dir.cdUp())
            break;
        const QFileInfo guide(dir.filePath(QString::fromLatin1(kGuideBelowPrefix)));
        if (guide.isFile())
            return guide.absoluteFilePath();
    }
    return {};
}

QString expectedUserGuide(const QString& programDir)
{
    return QDir::cleanPath(programDir + QStringLiteral("/../") +
                           QString::fromLatin1(kGuideBelowPrefix));
}

void Main::showHelp()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString guide = findUserGuide(programDir);
    if (guide.isEmpty()) {
        m_feedback->message(tr("The Pellory guide is not installed. It belongs in") + u'\n' +
                                expectedUserGuide(programDir),
                            QStringLiteral("Pellory"), Feedback::Style::Plain);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(guide)))
        m_feedback->message(tr("No program could open the Pellory guide. Open it in a web "
                               "browser:") +
                                u'\n' + guide,
                            QStringLiteral("Pellory"), Feedback::Style::Plain);
}

} // namespace pellory

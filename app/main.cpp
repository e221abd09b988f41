// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

#include "window/Main.h"
#include "window/Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

// The texts are made in the user's language when the translations are installed by then.
void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Renames many files of a folder at once, with a counter and a prefix or with a "
                "wildcard pattern."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QCoreApplication::translate("main", "folder"),
        QCoreApplication::translate(
            "main", "The folder to open in place of the last one; a file opens its folder."),
        QCoreApplication::translate("main", "[FOLDER]"));
}

// Help and the version want no window, nor the display it needs: they must answer in a
// terminal without one, so they are read before the window's application is made.
void answerWithoutWindow(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments))
        return; // Qt's own options among them: the window's application reads them
    const bool tooMany = parser.positionalArguments().size() > 1;
    if (!tooMany && !(parser.isSet("help") || parser.isSet("help-all") || parser.isSet("version")))
        return; // a window wanted
    QCoreApplication text(argc, argv);
    pellory::installTranslations();
    if (tooMany) {
        const QString said = QCoreApplication::translate("main", "pellory: one folder at a time");
        std::fprintf(stderr, "%s\n", qPrintable(said));
        std::exit(1);
    }
    QCommandLineParser shown; // its texts made now, in the user's language
    describe(shown);
    shown.process(text); // prints what was asked for and ends the program
}

// The argument as its exact bytes: a folder name that is not valid text does not survive
// being decoded.
QByteArray rawArgument(int argc, char* argv[], const QString& decoded)
{
    for (int i = argc - 1; i > 0; --i) {
        if (QFile::decodeName(argv[i]) == decoded)
            return argv[i];
    }
    return QFile::encodeName(decoded);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setOrganizationName("Pellory");
    QCoreApplication::setApplicationName("Pellory");
    QCoreApplication::setApplicationVersion(PELLORY_VERSION);
    answerWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    // Wayland compositors match the window to the desktop entry, and so to its icon, by it.
    QApplication::setDesktopFileName("io.github.pellory.Pellory");
    pellory::installTranslations(); // before any text is made
    QCommandLineParser parser;
    describe(parser);
    parser.process(app); // Qt's own options are taken out by now
    const QStringList named = parser.positionalArguments();
    // Loads the window and restores the stored settings; the folder named opens in place of
    // the stored one.
    pellory::Main window(nullptr,
                         named.isEmpty() ? QByteArray() : rawArgument(argc, argv, named[0]));
    window.show();
    return app.exec();
}

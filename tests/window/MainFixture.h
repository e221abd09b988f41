#pragma once
// Shared by the window's tests: a recording Feedback, the stored settings written and read
// back, real folders of files that hold their own names, the shown window, and lists read
// back as strings.

#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/RunController.h"

#include <QApplication>
#include <QFile>
#include <QMap>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace pellory::testing {

class RecordingFeedback : public Feedback
{
public:
    int beeps = 0;
    QStringList messages;      // "title|style|text"
    QList<bool> busyAtMessage; // whether the hourglass showed with each message
    QStringList questions;     // "title|text"
    bool answer = true;
    void beep() override { ++beeps; }
    void message(const QString& text, const QString& title, Style style) override
    {
        messages.append(title + (style == Style::Warning ? "|warning|" : "|plain|") + text);
        busyAtMessage.append(QApplication::overrideCursor() != nullptr);
    }
    bool question(const QString& text, const QString& title) override
    {
        questions.append(title + '|' + text);
        return answer;
    }
};

using Store = QMap<QString, QString>;

inline QSettings& settingsFile()
{
    static QSettings file(QSettings::IniFormat, QSettings::UserScope, "Pellory", "Pellory");
    file.sync(); // take in what the window wrote through its own instance
    return file;
}

// Replaces the whole store by `values`; keys not given are absent.
inline void writeStore(const Store& values)
{
    QSettings& file = settingsFile();
    file.clear();
    for (auto it = values.begin(); it != values.end(); ++it)
        file.setValue("Settings/" + it.key(), it.value());
    file.sync();
}

inline Store readStore()
{
    QSettings& file = settingsFile();
    Store values;
    file.beginGroup("Settings");
    for (const QString& key : file.childKeys())
        values.insert(key, file.value(key).toString());
    file.endGroup();
    return values;
}

// A fresh empty home folder, so that a start without a stored folder lists nothing real.
inline void isolateHome()
{
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
}

// A temporary folder of files that hold their own first names, so that a listing of names
// and contents shows where each file went.
struct FilesFolder
{
    QTemporaryDir dir;
    explicit FilesFolder(const QStringList& names)
    {
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(name.toUtf8()) < 0)
                qFatal("cannot create %s", qPrintable(name));
        }
    }
    QString path() const { return dir.path(); }
};

inline QStringList numberedNames(int count, const char* pattern = "F%1.JPG")
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QString(pattern).arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

// The window with a recording feedback, shown and active so that focus and keys work.
struct Window
{
    RecordingFeedback feedback;
    std::unique_ptr<Main> main = std::make_unique<Main>(&feedback);
    Window()
    {
        main->show();
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main.get()))
            qWarning("the window did not become active");
    }
    template <typename T = QWidget> T* find(const QString& name) const
    {
        return main->findChild<T*>(name);
    }
};

// Replaces the text of a field or editable box by typing `text` over all of it; any
// character, as a keyboard layout gives it (keyClicks() types Latin-1 only).
inline void typeOver(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Ctrl+Alt+Z, the undo of the last run, pressed where the focus is.
inline void pressUndo(QWidget* focused)
{
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
}

inline QString listed(const Main& main)
{
    return main.files().FileList->names()->names().join('|');
}

// "0|2|4 @0": the selected rows, then the current row.
inline QString selectedRows(const NameListView& list)
{
    QStringList rows;
    for (int row = 0; row < list.count(); ++row) {
        if (list.isRowSelected(row))
            rows.append(QString::number(row));
    }
    return rows.join('|') + " @" + QString::number(list.currentRow());
}

inline QString enabledButtons(const Main& main)
{
    const bool apply = main.buttons().ApplyBut->isEnabled();
    const bool preview = main.buttons().PreviewBut->isEnabled();
    return apply && preview ? "apply+preview" : apply ? "apply" : preview ? "preview" : "none";
}

} // namespace pellory::testing

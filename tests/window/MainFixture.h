#pragma once
// Shared by the window's tests: a recording Feedback, the stored settings written and read
// back as a test sets them, real folders of named files, and lists read back as strings.

#include "window/Feedback.h"
#include "window/Main.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace pellory::testing {

class RecordingFeedback : public Feedback
{
public:
    int beeps = 0;
    QStringList messages; // "title|style|text"
    void beep() override { ++beeps; }
    void message(const QString& text, const QString& title, int style) override
    {
        messages.append(title + '|' + QString::number(style) + '|' + text);
    }
};

using Store = QMap<QString, QString>;

// Replaces the whole store by `values` (absent keys stay absent).
void writeStore(const Store& values);
Store readStore();

// Points the home folder at a fresh empty folder, so that a start without a stored folder
// lists nothing from the real home.
void isolateHome();

// A temporary folder holding empty files with the given names.
class FilesFolder
{
public:
    explicit FilesFolder(const QStringList& names);
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
QStringList numberedNames(int count, const QString& pattern = QStringLiteral("F%1.JPG"));

// The window with its own recording feedback, shown and active, so focus and keys work.
struct Window
{
    RecordingFeedback feedback;
    std::unique_ptr<Main> main;
    Window();
    template <typename T> T* find(const char* name) const
    {
        return main->findChild<T*>(QLatin1String(name));
    }
};

// Replaces the text of a field (or an editable box) by typing `text` over all of it.
void typeOver(QWidget* field, const QString& text);

QString listed(const Main& main);         // FileList items joined by "|"
QString selectedRows(const Main& main);   // "0|2|4" then " @current"
QString enabledButtons(const Main& main); // "apply+preview", "apply", "preview" or "none"

} // namespace pellory::testing

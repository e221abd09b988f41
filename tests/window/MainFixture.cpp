#include "MainFixture.h"

#include "window/NameListView.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace pellory::testing {

namespace {

QSettings& settingsFile()
{
    static QSettings file(QSettings::IniFormat, QSettings::UserScope, "Pellory", "Pellory");
    return file;
}

} // namespace

void writeStore(const Store& values)
{
    QSettings& file = settingsFile();
    file.clear();
    file.beginGroup("Settings");
    for (auto it = values.begin(); it != values.end(); ++it)
        file.setValue(it.key(), it.value());
    file.endGroup();
    file.sync();
}

Store readStore()
{
    QSettings& file = settingsFile();
    file.sync();
    Store values;
    file.beginGroup("Settings");
    for (const QString& key : file.childKeys())
        values.insert(key, file.value(key).toString());
    file.endGroup();
    return values;
}

void isolateHome()
{
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
}

FilesFolder::FilesFolder(const QStringList& names)
{
    for (const QString& name : names) {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }
}

QStringList numberedNames(int count, const QString& pattern)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(pattern.arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

Window::Window() : main(std::make_unique<Main>(&feedback))
{
    main->show();
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main.get()))
        qWarning("the window did not become active");
}

void typeOver(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

QString listed(const Main& main)
{
    return main.FileList->names()->names().join('|');
}

QString selectedRows(const Main& main)
{
    QStringList rows;
    for (int row = 0; row < main.FileList->count(); ++row) {
        if (main.FileList->isRowSelected(row))
            rows.append(QString::number(row));
    }
    return rows.join('|') + " @" + QString::number(main.FileList->currentRow());
}

QString enabledButtons(const Main& main)
{
    const bool apply = main.ApplyBut->isEnabled();
    const bool preview = main.PreviewBut->isEnabled();
    if (apply && preview)
        return "apply+preview";
    return apply ? "apply" : preview ? "preview" : "none";
}

} // namespace pellory::testing

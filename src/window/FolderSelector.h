#pragma once
// The folder selector: the ancestors of the current path and its subfolders, in the
// manner of a folder tree. Opening an item makes it the current path. Setting the path
// from code raises pathChanged() before the assignment returns.

#include <QListWidget>

namespace pellory {

class FolderSelector : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderSelector(QWidget* parent = nullptr);

    QString path() const;
    // Opens `path` (made absolute and clean). False, changing nothing, when it is not a
    // folder that can be read. Raises pathChanged() when the path changes.
    bool setPath(const QString& path);

signals:
    void pathChanged(); // the Change event: by the user or from code, synchronously

protected:
    void keyPressEvent(QKeyEvent* event) override; // Enter opens, Backspace goes up

private:
    void openItem(QListWidgetItem* item);
    void fill();
    QString m_path;
};

} // namespace pellory

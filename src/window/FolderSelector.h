#pragma once
// The folder selector: the ancestors of the current path and its subfolders, in the
// manner of a folder tree. Opening an item makes it the current path. Setting the path
// from code raises pathChanged() before the assignment returns. Hidden folders are listed
// like any other. Paths are kept as the bytes on disk too, so that a folder whose name is
// not valid UTF-8 shows (decoded with replacement characters) and still opens.

#include <QByteArray>
#include <QList>
#include <QListWidget>

namespace pellory {

class FolderSelector : public QListWidget
{
    Q_OBJECT
public:
    // Item data: the item's folder as the exact bytes on disk, and its depth ("/" is 0).
    static constexpr int RawPathRole = Qt::UserRole;
    static constexpr int LevelRole = Qt::UserRole + 1;

    explicit FolderSelector(QWidget* parent = nullptr);

    QString path() const;
    // The same path as the exact bytes on disk: the folder a scan and a run work in, which
    // need not be valid text.
    const QByteArray& rawPath() const { return m_rawPath; }
    bool setRawPath(const QByteArray& path);
    // Opens `path` (made absolute and clean). False, changing nothing, when it is not a
    // folder that can be read, or does not answer within kAnswerMs (a mount whose server has
    // stopped). Raises pathChanged() when the path changes.
    bool setPath(const QString& path);
    static constexpr int kAnswerMs = 2000;

signals:
    void pathChanged(); // the Change event: by the user or from code, synchronously

protected:
    void keyPressEvent(QKeyEvent* event) override; // Enter opens, Backspace goes up

private:
    void openItem(QListWidgetItem* item);
    void fill(); // the items for m_rawPath and m_subfolders, the current folder highlighted
    QString m_path;
    QByteArray m_rawPath;
    QList<QByteArray> m_subfolders;
};

} // namespace pellory

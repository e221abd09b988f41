// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The window driven as a user drives it, on real temporary folders: what start-up restores
// and close stores, where the window starts and how it grows, what each field lets
// through, which controls a change enables, the every-N selection, Apply and Preview with
// where a run stops and what it says, the undo of the last run, folders opened from the
// command line, a drop or the path field, the list following the disk, F1, the focus order,
// the access keys and what a screen reader announces. Each row starts a window on a folder of
// its own, takes its steps and compares what its probes read, one answer each; a test
// function for each area.

#include "MainFixture.h"
#include "platform/Rename.h"
#include "run/RunHistory.h"
#include "support/CameraFiles.h"
#include "support/Files.h"
#include "support/FoldingMount.h"
#include "window/DriveSelector.h"
#include "window/FolderPathField.h"
#include "window/FolderSelector.h"
#include "window/LiveNames.h"
#include "window/StatusLine.h"
#include "window/Translations.h"
#include "window/UndoCommands.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStringListModel>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <functional>

using namespace pellory;
using namespace pellory::testing;

namespace {

int px(double twips)
{
    return qRound(twips * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 1440);
}

QString twips(int pixels)
{
    return QString::number(
        qRound(pixels * 1440 / QGuiApplication::primaryScreen()->logicalDotsPerInch()));
}

// Renames for real; at call `at` the row's remaining steps run first, as a user acting
// while the run visits the event loop, and when they say so that rename fails.
class SteppingRenamer final : public FileRenamer
{
public:
    int at = 0, calls = 0;
    std::function<bool()> steps; // true: this rename fails
    SystemRenamer system;
    using FileRenamer::rename;
    RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRaw, const QString& newName,
                         RenameObserver* observer) override
    {
        if (++calls == at && steps())
            return {false, EIO, "Input/output error"};
        return system.rename(folder, oldRaw, newName, observer);
    }
};

// Stands in for the desktop's HTML viewer.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList opened;
public slots:
    void open(const QUrl& url) { opened.append(url.toLocalFile()); }
};

// A column's cells: one in italics (a stand-in) marked "*", a tool tip or an icon (a clash)
// in brackets.
QString cells(const NameListModel& model, NameListModel::Content content)
{
    const int column = model.column(content);
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex cell = model.index(row, column);
        const QString tip = cell.data(Qt::ToolTipRole).toString();
        const bool icon = !cell.data(Qt::DecorationRole).value<QIcon>().isNull();
        rows << cell.data().toString() +
                    (cell.data(Qt::FontRole).value<QFont>().italic() ? "*" : "") +
                    (tip.isEmpty() && !icon ? "" : " <" + tip + '>');
    }
    return rows.join('|');
}

// Clicks the title of a column of the file list.
void clickHeader(const NameListView& list, int column)
{
    const QHeaderView* header = list.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// The texts of fields and editable boxes.
QString texts(const Main& m, std::initializer_list<const char*> fields, char separator)
{
    QStringList shown;
    for (const char* name : fields) {
        const auto* box = control<QComboBox>(m, name);
        shown << (box ? box->currentText() : control<QLineEdit>(m, name)->text());
    }
    return shown.join(separator);
}

// The controls, in the window's order, that can be used (or cannot); one not shown is
// marked "hidden", and "hidden off" when it is disabled too.
QString controlsWhere(const Main& m, bool usable)
{
    QStringList names;
    for (const QWidget* c : m.controls()) {
        const QString hidden = c->isEnabled() ? "hidden " : "hidden off ";
        if (usable == (c->isEnabled() && c->isVisible()))
            names << (c->isVisible() ? "" : hidden) + c->objectName();
    }
    return names.join(' ');
}

QString spoken(const QObject* control)
{
    return QAccessible::queryAccessibleInterface(const_cast<QObject*>(control))
        ->text(QAccessible::Name);
}

// The access key of every caption, sorted: a key taken twice shows twice.
QString accessKeys(const Main& m)
{
    QString keys;
    for (const QWidget* c : m.controls()) {
        const QString caption = c->property(c->inherits("QGroupBox") ? "title" : "text").toString();
        if (!c->inherits("QLineEdit") && caption.contains('&'))
            keys += caption[caption.indexOf('&') + 1].toLower();
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

// Captions cut off, and controls over another of their window or frame or sticking out
// of it; the check box that heads the naming frame lies on its edge.
QString misfits(const Main& m)
{
    QStringList found;
    for (size_t i = 0; i < m.controls().size(); ++i) {
        const QWidget* c = m.controls()[i];
        const QSize need = c->sizeHint();
        if (!c->isVisible())
            continue;
        if ((qobject_cast<const QLabel*>(c) || qobject_cast<const QAbstractButton*>(c)) &&
            (c->width() < need.width() || c->height() < need.height()))
            found << c->objectName() + " cut";
        if (!c->parentWidget()->rect().contains(c->geometry()))
            found << c->objectName() + " out";
        for (const QWidget* d : std::vector(m.controls().begin() + i + 1, m.controls().end())) {
            const bool heading = c->objectName() == "RenameChk" && d->objectName() == "Frame2";
            if (d->isVisible() && d->parent() == c->parent() &&
                c->geometry().intersects(d->geometry()) && !heading)
                found << c->objectName() + " over " + d->objectName();
        }
    }
    return found.isEmpty() ? "fits" : found.join(' ');
}

// Which edges of the screen's free area the window's frame touches; "off" when it does not
// lie wholly on it.
QString edges(const QRect& outer)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QStringList touched;
    for (const auto& [name, edge, of] : {std::tuple("left", outer.left(), area.left()),
                                         {"top", outer.top(), area.top()},
                                         {"right", outer.right(), area.right()},
                                         {"bottom", outer.bottom(), area.bottom()}}) {
        if (edge == of)
            touched << name;
    }
    return area.contains(outer) ? touched.join(' ') : "off";
}

// How the size of each control, and its distance from the window's right and bottom
// edges, changed since `before`.
QString grown(const Main& m, const QHash<QString, QRect>& before)
{
    const QSize window = before["window"].size();
    QStringList shown;
    for (const char* name : {"DirList", "FileList", "FileSpecs", "Frame2", "Frame1", "CasesList",
                             "SelSteps", "ApplyBut"}) {
        const QRect now = m.findChild<QWidget*>(name)->geometry(), was = before[name];
        const auto change = [](int d, const char* what) {
            return d > 0 ? QString('+') + what : d < 0 ? QString('-') + what : QString();
        };
        shown << name + change(now.width() - was.width(), "w") +
                     change(now.height() - was.height(), "h") +
                     (m.width() - now.right() == window.width() - was.right() ? "@right" : "") +
                     (m.height() - now.bottom() == window.height() - was.bottom() ? "@bottom" : "");
    }
    return shown.join(' ');
}

// Where Tab leads from the drive list, round to it again, with every control enabled so
// that it visits each.
QString focusOrder(const Main& m)
{
    for (QWidget* control : m.controls())
        control->setEnabled(true);
    QWidget* drives = control(m, "DriveList");
    control(m, "PreviewList")->show();
    drives->setFocus();
    QStringList visited;
    do {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (QApplication::focusWidget() != drives && visited.size() < 100);
    return visited.join(' ');
}

// Whether anything is drawn on the widget: the empty list's note is.
bool inked(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0))
                return true;
        }
    }
    return false;
}

// A drag of `path` from a file manager onto `target`, dropped when the drag is taken.
void dropOn(QWidget* target, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    if (enter.isAccepted())
        QApplication::sendEvent(target, &drop);
}

// What Pellory writes on the standard error while it starts.
QStringList g_warned;
void noteWarning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith("pellory:"))
        g_warned << text;
}

// The record of a run that died after renaming A.JPG and B.JPG to ZA.JPG and ZB.JPG.
bool crashedRun(const QString& folder)
{
    RunRecorder recorder; // dropped without finish(), as a killed writer's
    recorder.begin(RunKind::Scheme, QFile::encodeName(folder), 3);
    for (const char* name : {"A.JPG", "B.JPG"}) {
        if (!recorder.record(name, QByteArray("Z") + name, 0) ||
            !currentRenamer().rename(QFile::encodeName(folder), name, QString("Z") + name).ok)
            return false;
    }
    return true;
}

// A run's file in the history as another program or a damaged disk may leave it: the head
// of a run in `folder`, then `lines`, "," between them, "~" for a space, "LINE*N" for N of it.
bool writtenRun(const QString& folder, const QString& lines)
{
    QByteArray text =
        "pellory-run 3\nK scheme\nT 1733456789123\nF " + QFile::encodeName(folder) + " 0 0\nN 1\n";
    for (const QString& line : lines.split(',')) {
        const QString one = line.section('*', 0, 0).replace('~', ' ') + '\n';
        text += one.toUtf8().repeated(line.contains('*') ? line.section('*', 1).toInt() : 1);
    }
    QFile file(historyFolder() + "/s000000000001-1733456789123.run");
    return QDir().mkpath(historyFolder()) && file.open(QIODevice::WriteOnly) &&
           file.write(text) == text.size();
}

// Right-clicks the file list and takes an entry of its menu: 0 the undo, 1 the undo history;
// false when the menu is not as it should be.
bool takeMenuEntry(Main& m, int entry)
{
    QWidget* viewport = control<NameListView>(m, "FileList")->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, {5, 5}, viewport->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(viewport, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    const QList<QAction*> actions = menu ? menu->actions() : QList<QAction*>();
    const bool found = actions.size() == 2 && actions[0]->text() == "&Undo Last Rename" &&
                       actions[0]->shortcut() == QKeySequence("Ctrl+Alt+Z") &&
                       actions[1]->text() == "Undo &History...";
    if (menu)
        menu->close();
    if (found)
        actions[entry]->trigger();
    return found;
}

// The undo history's rows as "files state|...", and the chosen row K taken back to, once
// the dialog shows.
void chooseInHistory(int row, QString& rows)
{
    QTimer::singleShot(0, [row, &rows] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* runs = dialog ? dialog->findChild<QTreeWidget*>("UndoHistoryRuns") : nullptr;
        if (!runs)
            return;
        for (int i = 0; i < runs->topLevelItemCount(); ++i)
            rows += (i ? "|" : "") + runs->topLevelItem(i)->text(2) + ' ' +
                    runs->topLevelItem(i)->text(4);
        runs->setCurrentItem(runs->topLevelItem(row));
        dialog->accept();
    });
}

// One file of a row: "NAME@YYYY:MM:DD hh:mm:ss" a camera's JPEG taken then, else a file
// holding its name; "~SECONDS" after either sets its modification time, in seconds after 1970.
bool makeRowFile(const QString& folder, const QString& line)
{
    const QString name = line.section(QRegularExpression("[@~]"), 0, 0);
    const QString taken = line.section(u'@', 1).section(u'~', 0, 0);
    const QByteArray path = QFile::encodeName(folder + '/' + name);
    if (name == line)
        return makeEntry(folder, line.toUtf8());
    if (!makeFile(path, taken.isEmpty() ? name.toUtf8()
                                        : jpeg("Exif.Photo.DateTimeOriginal=" + taken.toUtf8())))
        return false;
    const timespec times[2] = {{0, UTIME_OMIT}, {line.section(u'~', 1).toLong(), 0}};
    return !line.contains(u'~') || ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
}

// Writes another capture time into a camera's file in place, as the same number of bytes,
// and gives it back its modification time: the file is the same to anyone who does not
// read it. "NAME>YYYY:MM:DD hh:mm:ss".
bool redate(const QString& folder, const QString& change)
{
    const QByteArray path = QFile::encodeName(folder + '/' + change.section(u'>', 0, 0));
    struct stat before;
    const QByteArray bytes = readRaw(path.constData());
    const qsizetype at = QRegularExpression("\\d{4}:\\d\\d:\\d\\d \\d\\d:\\d\\d:\\d\\d")
                             .match(QString::fromLatin1(bytes))
                             .capturedStart();
    if (at < 0 || ::stat(path.constData(), &before) != 0)
        return false;
    const QByteArray date = change.section(u'>', 1).toLatin1();
    const int fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
    const bool written = fd >= 0 && ::pwrite(fd, date.constData(), 19, at) == 19;
    const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
    return fd >= 0 && ::close(fd) == 0 && written &&
           ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
}

// Right-clicks the file list's header and toggles the entry `title` of its menu; false
// when the menu is not as it should be.
bool toggleColumn(Main& m, const QString& title)
{
    QWidget* header = control<NameListView>(m, "FileList")->horizontalHeader()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, {5, 5}, header->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(header, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    const QList<QAction*> actions = menu ? menu->actions() : QList<QAction*>();
    const bool found = actions.size() == 2 && actions[0]->text() == "Modified" &&
                       actions[1]->text() == "Taken" && actions[0]->isCheckable() &&
                       actions[1]->isCheckable();
    if (menu)
        menu->close();
    for (QAction* action : actions) {
        if (found && action->text() == title)
            action->trigger();
    }
    return found;
}

// A row: the files of its folder (see makeRowFile()); the stored keys, which name the row's
// folder as the last one unless they name another; the user's steps (see act()); the probes
// read after them (see probe()), a step named as a probe reading it then; and each probe's
// answer in turn, with "~" for the folder, and STATE, STICK, INI and WHEN as check() writes.
void columns()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<Store>("store");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("probes");
    QTest::addColumn<QStringList>("expected");
}

void row(const char* name, const QStringList& files, const Store& store, const QStringList& steps,
         const QStringList& probes, const QStringList& expected)
{
    QTest::newRow(name) << files << store << steps << probes << expected;
}

// F000.JPG, F001.JPG, ...
QStringList numbered(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QString("F%1.JPG").arg(i, 3, 10, QChar('0')));
    return names;
}

// clang-format off
// The fields as a fresh store leaves them ("shown").
const QString defaults = "*.JPG;*.GIF 0 IMG_ 001 1   0 0 1 0:Keep as is 0 001 1 AAA 1";
// The naming panel's controls, off while batch rename is.
const QString naming = "Label7 NumCharKeep Label2 FilePrefix Label13 DateFormat Label3 StartingNumber chkTrim Label5 NumberIncValue chkAlpha Label4 FileLeading";
// Several specifications, then the wildcard field taken and left.
const QStringList toggle{"CasesList+=1", "click=RenameChk", "click=RenameChk", "WildCardRen=x"};
const QString failed = "Pellory|plain|An error occurred renaming the file : ";
// A counter that passes the largest number before the 2100th file.
const Store huge{{"Specs", "*.JPG"}, {"Number", "99999999"}, {"Increment", "999999"}};
// Two cameras' photos, taken and written at other times, and a file with no capture time.
const QStringList cameras{"IMG_0001.JPG@2024:05:01 10:00:05~1714600000", "IMG_0002.JPG@2024:05:01 10:00:20~1714600200", "DSC_0001.JPG@2024:05:01 10:00:10~1714600100", "DSC_0002.JPG@2024:05:01 10:00:01~1714600300", "notes.JPG~1714557615"};
// clang-format on

} // namespace

class TstWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    // The areas; check() runs each row.
    // clang-format off
    void startAndLayout_data(); void startAndLayout() { check(); } // where the window starts and how it grows, what fits, the focus order, the access keys, the names a screen reader reads, F1, and the window in German.
    void storedSettings_data(); void storedSettings() { check(); } // what start-up restores from the stored keys and what close stores.
    void namingFields_data(); void namingFields() { check(); } // what each naming field lets through, which controls a change enables, the counter's start and range, the wildcard field.
    void sortAndSelection_data(); void sortAndSelection() { check(); } // the every-N selection and the order the column titles choose.
    void folders_data(); void folders() { check(); } // folders opened from the command line, a drop or the path field, the specifications, and the list following the disk.
    void newNames_data(); void newNames() { check(); } // the "New Name" column beside the files, worked out while the user types.
    void preview_data(); void preview() { check(); } // preview mode: the new names, what it refuses and the states it leaves.
    void runs_data(); void runs() { check(); } // apply: what it renames, where a run stops, what it says and what a click during it does.
    void undo_data(); void undo() { check(); } // the undo of the last run, the undo history and the record of a run that died.
    void captureTimes_data(); void captureTimes() { check(); } // capture times and dates in names, the Taken column, and companion files renamed with theirs.
    // clang-format on
    void messageLineBreaks();

private:
    void check();
    void act(const QString& step, QStringList& rest);
    void remember();
    void runWithSteps(int at, QStringList& rest);
    QString probe(const QString& name);

    QString m_folder;
    std::unique_ptr<Window> m_w;
    std::optional<testing::FoldingMount> m_stick; // for a row with "stick"
    QPoint m_centred;
    QSize m_default;
    QFont m_font;
    QHash<QString, QRect> m_before; // each control's geometry, and the window's size
    UrlRecorder m_viewer;
    QString m_historyRows;
    bool m_failRename = false;
    int m_changesSeen = 0; // folderChanges() at "count"
    QStringList m_notes;   // what the file list said about its new names, and when
};

void TstWindow::initTestCase()
{
    installTranslations(); // as the program does, before its window
    isolateHome();
    writeStore({});
    const Main plain(nullptr); // not shown: the position is start-up's alone
    m_centred = plain.pos();
    m_default = plain.size();
    m_font = QApplication::font();
    // Centred, then raised by about a title bar's height.
    const QSize free = QGuiApplication::primaryScreen()->size() - plain.frameGeometry().size();
    QVERIFY(qAbs(m_centred.x() - free.width() / 2) <= 1 &&
            qAbs(m_centred.y() - free.height() / 2 + 25) < 25);
    QDesktopServices::setUrlHandler("file", &m_viewer, "open");
}

void TstWindow::init()
{
    QDir(historyFolder()).removeRecursively();
    QGuiApplication::clipboard()->setText("xy");
    m_historyRows.clear();
}

void TstWindow::cleanup()
{
    installRenamer(nullptr);
    m_w.reset();
    QApplication::setFont(m_font);
    QDir().rmdir(settingsFile().fileName()); // the folder a row put in the file's place
}

// clang-format off
void TstWindow::startAndLayout_data()
{
    columns();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int height = qRound(screen->geometry().height() * 1440 / screen->logicalDotsPerInch());
    const int width = qRound(screen->geometry().width() * 1440 / screen->logicalDotsPerInch());
    const QString grows = "DirList+w+h@bottom FileList+w+h@right@bottom FileSpecs+w@right@bottom Frame2@right Frame1@right CasesList@right SelSteps ApplyBut@right@bottom";
    row("start: empty store", {}, {}, {}, {"shown", "at", "beeps"}, {defaults, "@c,c", "beeps=0"});
    row("start: folder gone", {}, {{"LastDir", "/no/such"}, {"LastDrive", "/no"}}, {}, {"shown", "at", "beeps"}, {defaults, "@c,c", "beeps=0"});
    row("start: position inside, leading number", {}, {{"WindowTop", "1500"}, {"WindowLeft", "450.4px"}}, {}, {"at"}, {QString("@%1,%2").arg(px(450.4)).arg(px(1500))});
    row("start: partly off the screen, moved onto it", {}, {{"WindowTop", QString::number(height - 300)}, {"WindowLeft", QString::number(width - 300)}}, {}, {"placed", "edges"}, {"right bottom", "right"});
    row("start: larger than the screen, shrunk to fit", {}, {{"WindowWidth", "99999"}, {"WindowHeight", "99999"}}, {}, {"placed", "edges"}, {"left top bottom", "left top right"});
    row("start: size restored, a bad one keeps the default", {}, {{"WindowWidth", "11250"}, {"WindowHeight", "-5"}}, {}, {"size"}, {"11250,d"});
    row("size: larger, the lists grow, the frames stay right", numbered(3), {{"Specs", "*.JPG"}}, {"size=12000,9000", "click=RenameChk", "click=PreviewBut"}, {"grown", "over", "fits"}, {grows, "over", "fits"});
    row("size: maximised", {}, {}, {"max"}, {"grown", "fits"}, {grows, "fits"});
    row("size: the least", {}, {}, {"size=15,15"}, {"fits"}, {"fits"});
    row("size: fonts half as large again", {}, {}, {"font=150"}, {"fits"}, {"fits"});
    row("start: top at the screen height", {}, {{"WindowTop", QString::number(height)}}, {}, {"at"}, {"@c,c"});
    row("start: below zero stays centred", {}, {{"WindowTop", "-32000"}}, {}, {"at"}, {"@c,c"});
    row("start: controls off, named, focus order", {}, {}, {}, {"off", "named", "spoken", "keys", "icon", "tabs"}, {naming + " PreviewBut ApplyBut hidden PreviewList", "named", "Drive|Sort Files by :|Name Format:|New ext :|Preview and Check for Errors", "abcdefikloprstwx", "icon", "DriveList FolderPath DirList FileSortOrder SelSteps FileList FileSpecs CompanionsChk WildCardRen CasesList RenameChk NumCharKeep FilePrefix DateFormat StartingNumber chkTrim NumberIncValue chkAlpha FileLeading NewExt ExtUsed1 PreviewBut ApplyBut ExitBut PreviewList"});
    row("Esc in an open list closes only the list", {}, {}, {"popup=FileSortOrder", "key=Escape"}, {"open"}, {"open"});
    row("F1 opens the guide", {}, {}, {"focus=FileSpecs", "key=F1"}, {"opened", "beeps"}, {"BUILD/share/doc/pellory/pellory-guide.html", "beeps=0"});
    row("in German", numbered(3), {}, QStringList{"FileSpecs=*.JPG;b*.GIF"} + toggle, {"spoken", "keys", "fits", "status", "msgs"}, {"Laufwerk|Sortierung:|Schreibweise:|Neue:|Vorschau und Fehlerprüfung", "abdefghmnpstuvwz", "fits", "3 Dateien, 0 ausgewählt", "Pellory - Platzhalterfehler|plain|Für „Umbenennen in“ darf das Dateimuster nicht mehrere Suchmuster enthalten"});
}

void TstWindow::storedSettings_data()
{
    columns();
    row("start: full store, prefix after the case style", {}, {{"Specs", "*.PNG"}, {"Cases", "2"}, {"Keep", "3"}, {"Prefix", "Trip"}, {"Number", "0100"}, {"Increment", "5"}, {"AlphaNumber", "BAA"}, {"AlphaIncrement", "2"}, {"Alpha", "0"}, {"Leading", "_x"}, {"FileExt", "2"}, {"NewExtInx", "-1"}, {"NewExtUser", "bak"}, {"SelSteps", "2"}}, {}, {"shown"}, {"*.PNG 3 Trip 0100 5 _x 2 2 0 2 -1:bak 0 0100 5 BAA 2"});
    row("start: alpha on shows the alphabetic pair", {}, {{"Number", "0100"}, {"AlphaNumber", "BAA"}, {"Alpha", "1"}}, {}, {"shown"}, {"*.JPG;*.GIF 0 IMG_ BAA 1   0 1 1 0:Keep as is 0 0100 1 BAA 1"});
    row("start: cases outside the list", {}, {{"Cases", "7"}}, {}, {"shown"}, {"*.JPG;*.GIF 0 IMG_ 001 1   -1 0 1 0:Keep as is 0 001 1 AAA 1"});
    row("start: file ext outside the options", {}, {{"FileExt", "3"}}, {}, {"shown"}, {defaults});
    row("start: date format restored, off with the prefix", {}, {{"DateFormat", "3"}}, {}, {"date"}, {"3:YYYY-MM-DD_hh-mm-ss off"});
    row("start: date format past the list reads as none", {}, {{"DateFormat", "4"}}, {}, {"date"}, {"0:(none) off"});
    row("start: user ext unless index -1", {}, {{"NewExtInx", "1"}, {"NewExtUser", "b"}}, {}, {"shown"}, {"*.JPG;*.GIF 0 IMG_ 001 1   0 0 1 1:Remove ext 0 001 1 AAA 1"});
    row("start: index -1, no user ext", {}, {{"NewExtInx", "-1"}}, {}, {"shown"}, {"*.JPG;*.GIF 0 IMG_ 001 1   0 0 1 -1: 0 001 1 AAA 1"});
    row("start: specs restored before the folder is listed", {"a.png", "b.JPG"}, {{"Specs", "*.PNG"}}, {}, {"list"}, {"a.png"});
    row("close: typed extension stored", numbered(12), {{"NewExtUser", "old"}, {"Alpha", "1"}}, {"move=3000,1500", "size=11250,8250", "click=ExtUsed2", "SelSteps=3", "NewExt=bak", "click=RenameChk", "DateFormat+=2", "close"}, {"stored"}, {"Alpha=1 AlphaIncrement=1 AlphaNumber=AAA Cases=0 Companions=0 DateFormat=2 FileExt=2 Increment=1 Keep=0 LastDir=~ LastDrive=D Leading= NewExtInx=-1 NewExtUser=bak Number=001 Prefix=IMG_ SelSteps=3 ShowHiddenFolders=0 Specs=*.JPG;*.GIF TakenColumn=0 WindowHeight=8250 WindowLeft=3000 WindowTop=1500 WindowWidth=11250"});
    row("close: a chosen item keeps the old typed one", numbered(12), {{"NewExtUser", "old"}}, {"move=3000,1500", "size=11250,8250", "NewExt+=1", "close"}, {"stored"}, {"Alpha=0 AlphaIncrement=1 AlphaNumber=AAA Cases=0 Companions=0 DateFormat=0 FileExt=1 Increment=1 Keep=0 LastDir=~ LastDrive=D Leading= NewExtInx=1 NewExtUser=old Number=001 Prefix=IMG_ SelSteps= ShowHiddenFolders=0 Specs=*.JPG;*.GIF TakenColumn=0 WindowHeight=8250 WindowLeft=3000 WindowTop=1500 WindowWidth=11250"});
    row("close: when idle", {}, {{"Prefix", "before"}}, {"FilePrefix:=after", "close"}, {"open", "beeps", "prefix"}, {"closed", "beeps=0", "after"});
    row("close: refused during a run", numbered(1), {{"Prefix", "before"}}, {"FilePrefix:=after", "click=RenameChk", "apply@1", "close"}, {"open", "beeps", "prefix"}, {"open", "beeps=1", "before"});
    row("close: Esc when idle", {}, {{"Prefix", "before"}}, {"FilePrefix:=after", "key=Esc"}, {"open", "beeps", "prefix"}, {"closed", "beeps=0", "after"});
    row("close: Esc during a run stops it", numbered(2), {{"Prefix", "before"}}, {"FilePrefix:=after", "click=RenameChk", "apply@1", "key=Esc"}, {"open", "beeps", "prefix", "disk"}, {"open", "beeps=0", "before", "F001.JPG=F001.JPG|after001.JPG=F000.JPG"});
    row("close: store unwritable, says so", {}, {{"Prefix", "before"}}, {"FilePrefix:=after", "unwritable", "close"}, {"open", "msgs", "prefix"}, {"closed", "Pellory - Error|warning|Your settings could not be saved, so they will not be restored at the next start.\n\nThe settings could not be written to INI.", ""});
}

void TstWindow::namingFields_data()
{
    columns();
    const QStringList typed{"FileSpecs=*.jpg`", "NumCharKeep=a123", "FilePrefix=CÉ@?", "StartingNumber=x123456789", "NumberIncValue=/1234567:", "FileLeading=:\\*", "NewExt=.,x"};
    const QStringList overTyped{"FileSpecs=a", "NumCharKeep=", "FilePrefix=", "StartingNumber=", "NumberIncValue=", "FileLeading=", "NewExt=x"};
    const QString box = "Pellory - Wildcard Error|plain|File Specs ";
    const QString refusal = "Pellory - Error|warning|The counter would pass 2147483647 before the last file with these settings. Nothing was renamed.";
    row("keys: Alt+A applies, Alt+T exits", numbered(1), {{"Specs", "*.JPG"}}, {"click=RenameChk", "key=Alt+A", "wait", "key=Alt+T", "wait"}, {"disk", "open"}, {"IMG_001.JPG=F000.JPG", "closed"});
    row("keys: typed, all lower case", {}, {}, QStringList{"click=RenameChk", "CasesList+=1"} + typed, {"fields", "beeps"}, {"*.JPG`|12|cÉ@|12345678|123456|:\\|.x", "beeps=7"});
    row("keys: upper case, alphabetic start", {}, {}, {"click=RenameChk", "CasesList+=2", "click=chkAlpha", "FilePrefix=a?z", "StartingNumber=7@`éĀbB"}, {"fields", "beeps"}, {"*.JPG;*.GIF|0|AZ|ĀbB|1||Keep as is", "beeps=5"});
    row("counter: a stored start the field shows already is kept", numbered(3), {{"Number", "000"}}, {"click=RenameChk"}, {"counter"}, {"&Starting # : |000|trim|000|AAA"});
    row("keys: during a run only the extension takes keys", numbered(1), {}, QStringList{"click=RenameChk", "apply@1"} + overTyped, {"fields", "beeps"}, {"*.JPG;*.GIF|0|IMG_|001|1||x", "beeps=13"});
    row("keys: ctrl+v pastes letters into a digit field", {}, {}, {"click=RenameChk", "NumberIncValue=", "paste=NumberIncValue"}, {"fields", "beeps"}, {"*.JPG;*.GIF|0|IMG_|001|xy||Keep as is", "beeps=0"});
    row("buttons: nothing would change", numbered(3), {}, {}, {"buttons"}, {"none"});
    row("buttons: scheme off, a case style", numbered(3), {}, {"CasesList+=1"}, {"buttons"}, {"apply+preview"});
    row("buttons: wildcard pattern, apply only", numbered(3), {}, {"CasesList+=1", "FileSpecs=*.JPG", "WildCardRen=*.X"}, {"buttons"}, {"apply"});
    row("buttons: two of 150 selected fit the counter", numbered(150), {{"Number", "00"}}, {"click=RenameChk", "buttons", "ctrl=0", "ctrl=1"}, {"buttons"}, {"none", "apply+preview"});
    row("counter: numeric start kept apart", numbered(3), {}, {"click=RenameChk", "StartingNumber=0042"}, {"counter"}, {"&Starting # : |0042|trim|0042|AAA"});
    row("counter: alphabetic start kept apart", numbered(3), {}, {"click=RenameChk", "StartingNumber=0042", "click=chkAlpha", "StartingNumber=Qz"}, {"counter"}, {"&Starting @ : |Qz|no trim|0042|Qz"});
    row("counter: numeric start back", numbered(3), {}, {"click=RenameChk", "StartingNumber=0042", "click=chkAlpha", "StartingNumber=Qz", "click=chkAlpha"}, {"counter"}, {"&Starting # : |0042|trim|0042|Qz"});
    row("wildcard typed: all but the specs off", numbered(5), {}, {"FileSpecs=*.JPG", "SelSteps=2", "WildCardRen=F"}, {"sel", "off"}, {" @0", "Label8 FileSortOrder Label10 SelSteps Label11 Label12 CasesList RenameChk Label7 NumCharKeep Label2 FilePrefix Label13 DateFormat Label3 StartingNumber chkTrim Label5 NumberIncValue chkAlpha Label4 FileLeading Label6 NewExt ExtUsed0 ExtUsed1 ExtUsed2 PreviewBut hidden PreviewList"});
    row("wildcard cleared: naming follows batch rename, every-N again", numbered(5), {}, {"FileSpecs=*.JPG", "SelSteps=2", "WildCardRen=F", "WildCardRen="}, {"sel", "off"}, {"0|2|4 @0", naming + " PreviewBut ApplyBut hidden PreviewList"});
    row("wildcard field: off for several specs, on for one", numbered(3), {}, {"FileSpecs=*.JPG;*.GIF", "off", "FileSpecs=*.JPG"}, {"off"}, {"Label9 WildCardRen Label7 NumCharKeep Label2 FilePrefix Label13 DateFormat Label3 StartingNumber chkTrim Label5 NumberIncValue chkAlpha Label4 FileLeading PreviewBut ApplyBut hidden PreviewList", naming + " PreviewBut ApplyBut hidden PreviewList"});
    row("wildcard with several specs", numbered(3), {}, QStringList{"FileSpecs=*.JPG;b*.GIF"} + toggle, {"msgs", "focus", "buttons"}, {box + "cannot include multiple search specs when using 'Wildcard Rename'", "FileSpecs ;B*.GIF", "none"});
    row("wildcard, no wildcard in the specs", numbered(3), {}, QStringList{"FileSpecs=F001.JPG"} + toggle, {"msgs", "focus", "buttons"}, {box + "must include wildcards when using 'Wildcard Rename'", "FileSpecs F001.JPG", "apply+preview"});
    row("wildcard, one pattern in the specs", numbered(3), {}, QStringList{"FileSpecs=F?01.JPG"} + toggle, {"focus", "buttons"}, {"WildCardRen ", "apply"});
    row("counter: Apply refused past the range", numbered(2100), huge, {"click=RenameChk", "click=chkTrim", "click=ApplyBut"}, {"msgs", "pointer", "journal"}, {refusal, "idle", "0"});
    row("counter: Preview refused past the range", numbered(2100), huge, {"click=RenameChk", "click=chkTrim", "click=PreviewBut"}, {"msgs", "pointer", "previewend"}, {refusal, "idle", "0:"});
    row("counter: Preview within the range", numbered(2000), huge, {"click=RenameChk", "click=chkTrim", "click=PreviewBut"}, {"previewend"}, {"2000:IMG_2098998000.JPG"});
}

void TstWindow::sortAndSelection_data()
{
    columns();
    row("every 3 of 10 from item 4", numbered(10), {}, {"row=4", "SelSteps=3"}, {"sel"}, {"4|7 @4"});
    row("every 0 deselects only", numbered(5), {}, {"row=2", "SelSteps=0"}, {"sel"}, {" @2"});
    row("header: name and date titles choose the order and show it", {"b.JPG", "a.JPG"}, {{"Specs", "*.JPG"}}, {"mtime=a.JPG@2026-05-14T15:30:02", "mtime=b.JPG@2025-01-02T03:04:05", "key=F5", "header=1", "order", "FileSortOrder+=2", "order", "header=0", "order", "header=0", "order", "header=2", "order", "header=2"}, {"order", "modified"}, {"Name (A to Z) ^0 up", "Ext (A to Z)", "Name (A to Z) ^0 up", "Name (Z to A) ^0 down", "Date (Old to New) ^2 up", "Date (New to Old) ^2 down", "a.JPG 14 May 2026 15:30:02"});
    row("header: the Taken title chooses the Taken orders", cameras, {{"Specs", "*.JPG"}, {"TakenColumn", "1"}}, {"header=3", "order", "header=3", "order", "header=2"}, {"order"}, {"Taken (Old to New) ^3 up", "Taken (New to Old) ^3 down", "Date (Old to New) ^2 up"});
}

void TstWindow::folders_data()
{
    columns();
    row("specs left unchanged: no rebuild", numbered(1), {}, {"make=d.JPG", "FileSpecs+=0", "key=Tab"}, {"list", "folder"}, {"F000.JPG", "~"});
    row("specs: Enter applies at once", numbered(1), {}, {"make=d.png", "FileSpecs=*.png", "key=Return"}, {"list", "folder", "empty"}, {"d.png", "~", ""});
    row("empty list says why", {"a.png"}, {}, {}, {"empty"}, {"No files match *.JPG;*.GIF in this folder"});
    row("specs left after a change", numbered(1), {}, {"make=d.new", "FileSpecs=*.JPG;*.new", "key=Tab"}, {"list", "folder"}, {"d.new|F000.JPG", "~"});
    row("command line: a folder in place of the stored one, specs first", {"a.png", "s/", "s/b.png", "s/c.JPG"}, {{"Specs", "*.PNG"}}, {"start=s"}, {"folder", "list", "path", "warned"}, {"~/s", "b.png", "~/s", ""});
    row("command line: a file opens its folder", {"a.JPG", "s/", "s/b.JPG"}, {}, {"start=s/b.JPG"}, {"folder", "list"}, {"~/s", "b.JPG"});
    row("command line: a bad path warns, the stored folder opens", {"a.JPG"}, {}, {"start=no"}, {"folder", "list", "warned"}, {"~", "a.JPG", "pellory: ~/no is not a folder Pellory can open."});
    row("drop: a folder opens, the field takes no text", {"a.JPG", "s/", "s/b.JPG"}, {}, {"drop=s"}, {"folder", "list", "path", "fields"}, {"~/s", "b.JPG", "~/s", "*.JPG;*.GIF|0|IMG_|001|1||Keep as is"});
    row("drop: refused in preview mode", {"a.JPG", "s/"}, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=PreviewBut", "drop=s"}, {"folder", "mode"}, {"~", "E&xit Preview PreviewList"});
    row("path: typed folder opens, a bad one changes nothing and says so", {"a.JPG", "s/", "s/b.JPG", "s/t/", "s/.h/"}, {}, {"FolderPath=s", "key=Return", "folder", "FolderPath=no", "key=Return"}, {"folder", "list", "status", "path", "offers"}, {"~/s", "~/s", "b.JPG", "~/s/no is not a folder Pellory can open.", "no", "t/"});
    row("F5 reads the folder again", {"a.JPG"}, {}, {"make=b.JPG", "key=F5"}, {"list"}, {"a.JPG|b.JPG"});
    row("watch: a file made by another program is listed, typing kept", {"a.JPG"}, {}, {"FolderPath=zz", "make=b.JPG", "watch"}, {"list", "path"}, {"a.JPG|b.JPG", "zz"});
    row("watch: a run's own renames rebuild the list once, later changes are followed", numbered(2), {{"Specs", "*.JPG"}}, {"click=RenameChk", "count", "click=ApplyBut", "watch", "list", "make=c.JPG", "watch", "list", "ren=c.JPG>Z.JPG", "watch"}, {"rebuilds", "list"}, {"IMG_001.JPG|IMG_002.JPG", "c.JPG|IMG_001.JPG|IMG_002.JPG", "rebuilds=3", "IMG_001.JPG|IMG_002.JPG|Z.JPG"});
    row("watch: not in preview mode, followed after it", {"a.JPG"}, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=PreviewBut", "make=b.JPG", "watch", "key=F5", "list", "click=PreviewBut"}, {"list", "beeps"}, {"a.JPG", "a.JPG|b.JPG", "beeps=1"});
    row("hidden folders: stored shown, unchecked, stored hidden", {".h/", "v/"}, {{"ShowHiddenFolders", "1"}}, {"tree", "hidden", "close"}, {"tree", "hiddenkey"}, {".h|v", "v", "0"});
    row("drive that cannot be opened: beeps", numbered(1), {}, {"drive=/no-such-drive"}, {"drive", "folder", "list", "beeps"}, {"/", "~", "F000.JPG", "beeps=1"});
    row("specs: a folder part lists nothing, and says so", numbered(3), {{"Specs", "*.GIF;../*.JPG"}}, {}, {"list", "status"}, {"", "0 files, 0 selected. File specifications name files, not folders: \"../*.JPG\" lists nothing."});
    row("folder not valid text: listed, renamed, undone", {}, {{"Specs", "*.JPG"}}, {"rawdir", "list", "click=RenameChk", "click=ApplyBut", "list", "undo"}, {"list"}, {"A.JPG|B.JPG", "IMG_001.JPG|IMG_002.JPG", "A.JPG|B.JPG"});
    row("folder not valid text: the same folder at the next start", {"caf\uFFFD/", "caf\uFFFD/X.JPG"}, {{"Specs", "*.JPG"}}, {"rawdir", "close", "restart"}, {"lastdir", "list"}, {"file://~/caf%E9", "A.JPG|B.JPG"});
    row("folder with a percent sign: stored and read as text", {"100%41/", "100%41/a.JPG", "100A/", "100A/b.JPG"}, {{"Specs", "*.JPG"}}, {"start=100%41", "close", "restart"}, {"lastdir", "list"}, {"~/100%41", "a.JPG"});
    row("specs set by another program: Apply renames what the list shows", {"a.JPG", "b.png"}, {{"Specs", "*.JPG"}}, {"FileSpecs:=*.png", "WildCardRen=*.BAK", "click=ApplyBut"}, {"disk"}, {"a.BAK=a.JPG|b.png=b.png"});
    row("specs set by another program: a change on disk lists as before", {"a.JPG", "b.png"}, {{"Specs", "*.JPG"}}, {"FileSpecs:=*.png", "make=c.JPG", "watch"}, {"list"}, {"a.JPG|c.JPG"});
    row("specs set by another program: entered and left, they list", {"a.JPG", "b.png"}, {{"Specs", "*.JPG"}}, {"FileSpecs:=*.png", "focus=FileSpecs", "key=Tab"}, {"list"}, {"b.png"});
}

void TstWindow::newNames_data()
{
    columns();
    const QString noNames = "No new names: the counter would pass 2147483647 before the last file.";
    row("live: two selected, kept names show nothing", numbered(3), {{"Specs", "*.JPG"}}, {"click=RenameChk", "ctrl=0", "ctrl=2"}, {"live"}, {"IMG_001.JPG||IMG_002.JPG"});
    row("live: typing renames anew", numbered(3), {{"Specs", "*.JPG"}}, {"click=RenameChk", "live", "FilePrefix=P"}, {"live"}, {"IMG_001.JPG|IMG_002.JPG|IMG_003.JPG", "P001.JPG|P002.JPG|P003.JPG"});
    row("live: the batch switch and the pattern rename anew", {"a.JPG", "b.JPG"}, {{"Specs", "*.JPG"}}, {"wait", "click=RenameChk", "live", "click=RenameChk", "live", "WildCardRen=*.BAK"}, {"live"}, {"IMG_001.JPG|IMG_002.JPG", "|", "a.BAK|b.BAK"});
    row("live: each extension option renames anew", {"x.tar.gz"}, {{"Specs", "*.gz"}}, {"click=RenameChk", "live", "click=ExtUsed0", "live", "click=ExtUsed1"}, {"live"}, {"IMG_001.gz", "IMG_001.tar.gz", "IMG_001.gz"});
    row("live: a date format chosen renames anew", {"IMG_0001.JPG"}, {{"Specs", "*.JPG"}, {"Prefix", "Rome_"}}, {"mtime=IMG_0001.JPG@2026-05-14T15:30:02", "key=F5", "click=RenameChk", "date", "live", "DateFormat+=2", "date", "live"}, {"date", "live"}, {"0:(none) on", "Rome_001.JPG", "2:YYYYMMDD on", "Rome_20260514_001.JPG", "2:YYYYMMDD on", "Rome_20260514_001.JPG"});
    row("live and preview: the date of a file without a capture time", {"IMG_0001.JPG", "b.JPG"}, {{"Specs", "*.JPG"}, {"Prefix", "Rome_"}, {"DateFormat", "1"}}, {"mtime=IMG_0001.JPG@2026-05-14T15:30:02", "mtime=b.JPG@2026-05-13T23:59:59", "key=F5", "click=RenameChk", "live", "click=PreviewBut"}, {"live", "preview"}, {"Rome_2026-05-13_001.JPG|Rome_2026-05-14_002.JPG", "Rome_2026-05-13_001.JPG|Rome_2026-05-14_002.JPG", "Rome_2026-05-13_001.JPG|Rome_2026-05-14_002.JPG "});
    row("live: ticking Alpha renames anew, as Preview does", numbered(12), {{"Specs", "*.JPG"}, {"Number", "7"}, {"AlphaNumber", "7"}}, {"click=RenameChk", "wait", "click=chkAlpha", "wait", "click=PreviewBut"}, {"live", "preview"}, {"IMG_7.JPG|IMG_8.JPG|IMG_9.JPG|IMG_:.JPG|IMG_;.JPG|IMG_<.JPG|IMG_=.JPG|IMG_>.JPG|IMG_?.JPG|IMG_@.JPG|IMG_A.JPG|IMG_B.JPG", "IMG_7.JPG|IMG_8.JPG|IMG_9.JPG|IMG_:.JPG|IMG_;.JPG|IMG_<.JPG|IMG_=.JPG|IMG_>.JPG|IMG_?.JPG|IMG_@.JPG|IMG_A.JPG|IMG_B.JPG "});
    row("live: a clash with a file that stays", {"A.JPG", "B.JPG", "IMG_001.JPG"}, {{"Specs", "*.JPG"}}, {"click=RenameChk", "ctrl=0", "ctrl=1"}, {"live"}, {"IMG_001.JPG <Clashes with \"IMG_001.JPG\", which keeps its name>|IMG_002.JPG|"});
    row("live: a clash with a file renamed later", {"B.JPG", "img_001.jpg"}, {{"Specs", "*.JPG"}}, {"click=RenameChk"}, {"live"}, {"IMG_001.JPG <Clashes with \"img_001.jpg\", which has this name until it is renamed later>|IMG_002.jpg"});
    row("live: one new name for two files", numbered(3), {{"Specs", "*.JPG"}, {"Number", ""}}, {"click=RenameChk"}, {"live"}, {"IMG_.JPG <Clashes with the new name of \"F001.JPG\">|IMG_.JPG <Clashes with the new name of \"F000.JPG\">|IMG_.JPG <Clashes with the new name of \"F000.JPG\">"});
    row("live: wildcard names of the listed files", {"a.JPG", "b.jpg", "c.GIF"}, {{"Specs", "*.JPG"}}, {"WildCardRen=*.BAK"}, {"live"}, {"a.BAK|b.BAK"});
    row("live: work under way waits for a run, done after it", numbered(3), {{"Specs", "*.JPG"}}, {"click=RenameChk", "FilePrefix=P", "working", "apply@1", "idle"}, {"notes", "live"}, {"", "||"});
    row("live: counter past the range says why", numbered(2100), huge, {"click=RenameChk", "wait", "StartingNumber=1", "wait", "StartingNumber=99999999"}, {"live", "notes", "status"}, {QString(2099, '|'), noNames + "++No new names: the counter would pass 2147483647 before the last file.", "2100 files, 0 selected. " + noNames});
    row("live: a wildcard pattern with a folder part is marked", {"a.JPG", "b.JPG"}, {{"Specs", "*.JPG"}}, {"WildCardRen=sub/*.BAK"}, {"live"}, {"sub/.BAK <The new name may not contain \"/\">|sub/.BAK <The new name may not contain \"/\">"});
    row("live: a prefix no file can have is marked", {"a.JPG"}, {{"Specs", "*.JPG"}}, {"click=RenameChk", "FilePrefix:=a/b"}, {"live"}, {"a/b001.JPG <The new name may not contain \"/\">"});
}

void TstWindow::preview_data()
{
    columns();
    row("preview: one selected, every new name", numbered(3), {{"Specs", "*.JPG"}}, {"click=RenameChk", "ctrl=1", "click=PreviewBut", "click=PreviewBut", "click=PreviewBut"}, {"preview", "on", "mode", "spoken"}, {"IMG_001.JPG|IMG_002.JPG|IMG_003.JPG 1", "PreviewBut PreviewList", "E&xit Preview PreviewList", "Drive|Sort Files by :|Name Format:|New ext :|Exit Preview"});
    row("preview: two selected, others keep their names", numbered(3), {{"Specs", "*.JPG"}}, {"click=RenameChk", "ctrl=0", "ctrl=2", "click=PreviewBut"}, {"preview", "beside"}, {"IMG_001.JPG|F001.JPG|IMG_002.JPG 0|2", "F000.JPG|F001.JPG|F002.JPG"});
    row("preview: one date, no counter: duplicates refused", {"a1.JPG", "a2.JPG"}, {{"Specs", "*.JPG"}, {"Prefix", "Rome_"}, {"DateFormat", "1"}, {"Number", ""}, {"Keep", "1"}}, {"mtime=a1.JPG@2026-05-14T10:00:00", "mtime=a2.JPG@2026-05-14T11:00:00", "key=F5", "click=RenameChk", "click=PreviewBut"}, {"preview", "msgs"}, {" ", "Pellory - Error|warning|These settings will produce duplicate file names!!!|aRome_2026-05-14_.JPG: a1.JPG and a2.JPG"});
    row("preview: duplicates refused, nothing listed", numbered(3), {{"Specs", "*.JPG"}, {"Prefix", "X"}, {"Number", ""}, {"Keep", "1"}}, {"click=RenameChk", "click=PreviewBut"}, {"preview", "msgs", "pointer"}, {" ", "Pellory - Error|warning|These settings will produce duplicate file names!!!|FX.JPG: F000.JPG and F001.JPG", "idle"});
    row("preview: empty list shows nothing", {}, {{"Specs", "*.JPG"}}, {"click=RenameChk", "NewExt+=1", "click=PreviewBut"}, {"preview"}, {" "});
    row("preview: left, the settings decide the states", numbered(3), {{"Specs", "*.JPG"}}, {"click=RenameChk", "ctrl=1", "click=PreviewBut", "click=PreviewBut"}, {"off", "mode", "disk"}, {"Label9 WildCardRen hidden off PreviewList", "Previe&w and Check for Errors FileList", "F000.JPG=F000.JPG|F001.JPG=F001.JPG|F002.JPG=F002.JPG"});
    row("preview: batch rename off, a case style", {"a.JPG", "b.GIF"}, {{"Cases", "2"}}, {"click=PreviewBut"}, {"preview"}, {"A.JPG|B.GIF "});
    row("preview: left, wildcard field follows batch rename", {"a.JPG", "b.GIF"}, {{"Cases", "2"}}, {"click=PreviewBut", "click=PreviewBut"}, {"off"}, {naming + " hidden off PreviewList"});
    row("preview: a name no file can have is refused", numbered(3), {{"Specs", "*.JPG"}}, {"click=RenameChk", "FilePrefix:=a/b", "click=PreviewBut"}, {"msgs", "preview"}, {"Pellory - Error|warning|The new name of \"F000.JPG\", \"a/b001.JPG\", cannot be used: The new name may not contain \"/\".", " "});
}

void TstWindow::runs_data()
{
    columns();
    const QString four = "IMG_001.JPG=F000.JPG|IMG_002.JPG=F001.JPG|IMG_003.JPG=F002.JPG|IMG_004.JPG=F003.JPG";
    row("apply: one selected renames all", numbered(4), {{"Specs", "*.JPG"}}, {"click=RenameChk", "ctrl=2", "click=ApplyBut"}, {"disk", "list", "sel", "off"}, {four, "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG|IMG_004.JPG", " @-1", "Label9 WildCardRen hidden PreviewList"});
    row("apply: two selected rename only those", numbered(4), {{"Specs", "*.JPG"}}, {"click=RenameChk", "ctrl=0", "ctrl=2", "click=ApplyBut"}, {"disk"}, {"F001.JPG=F001.JPG|F003.JPG=F003.JPG|IMG_001.JPG=F000.JPG|IMG_002.JPG=F002.JPG"});
    row("apply: every second file, reselected after", numbered(4), {{"Specs", "*.JPG"}, {"SelSteps", "2"}}, {"click=RenameChk", "click=ApplyBut"}, {"disk", "sel"}, {"F001.JPG=F001.JPG|F003.JPG=F003.JPG|IMG_001.JPG=F000.JPG|IMG_002.JPG=F002.JPG", "0|2 @0"});
    row("apply: the next run starts at 009 again", numbered(3), {{"Specs", "*.JPG"}, {"Number", "009"}, {"Prefix", "A_"}}, {"click=RenameChk", "click=ApplyBut", "FilePrefix=B_", "click=ApplyBut"}, {"disk", "fields"}, {"B_009.JPG=F000.JPG|B_010.JPG=F001.JPG|B_011.JPG=F002.JPG", "*.JPG|0|B_|009|1||Keep as is"});
    row("apply: empty list renames nothing and rebuilds", {}, {{"Specs", "*.JPG"}}, {"click=RenameChk", "NewExt+=1", "make=LATE.JPG", "click=ApplyBut"}, {"disk", "list"}, {"LATE.JPG=new", "LATE.JPG"});
    row("wildcard rename: the list and the folders usable after", {"a.JPG", "b.JPG"}, {{"Specs", "*.JPG"}}, {"WildCardRen=*.BAK", "click=ApplyBut"}, {"off"}, {"PreviewBut ApplyBut hidden off PreviewList"});
    row("stop: target taken at the third file", numbered(4), {{"Specs", "F*"}}, {"make=IMG_003.JPG", "click=RenameChk", "click=ApplyBut"}, {"disk", "list", "msgs", "journal", "runshown"}, {"F002.JPG=F002.JPG|F003.JPG=F003.JPG|IMG_001.JPG=F000.JPG|IMG_002.JPG=F001.JPG|IMG_003.JPG=new", "F002.JPG|F003.JPG", failed + "IMG_003.JPG\r\rFile exists|The file's name is F002.JPG.\n2 of 4 files were renamed before this one. Ctrl+Alt+Z puts them back.", "2", "finished"});
    row("stop: rename fails at the second file", numbered(4), {{"Specs", "F*"}}, {"click=RenameChk", "apply@2", "fail"}, {"disk", "list", "msgs", "journal"}, {"F001.JPG=F001.JPG|F002.JPG=F002.JPG|F003.JPG=F003.JPG|IMG_001.JPG=F000.JPG", "F001.JPG|F002.JPG|F003.JPG", failed + "IMG_002.JPG\r\rInput/output error|The file's name is F001.JPG.\n1 of 4 files were renamed before this one. Ctrl+Alt+Z puts them back.", "1"});
    row("stop: Exit during the third file", numbered(4), {{"Specs", "F*"}}, {"click=RenameChk", "apply@3", "click=ExitBut"}, {"disk", "list", "open", "journal"}, {"F003.JPG=F003.JPG|IMG_001.JPG=F000.JPG|IMG_002.JPG=F001.JPG|IMG_003.JPG=F002.JPG", "F003.JPG", "open", "3"});
    row("run: Apply during a run beeps", numbered(4), {{"Specs", "F*"}}, {"click=RenameChk", "apply@2", "click=ApplyBut"}, {"disk", "beeps", "journal"}, {four, "beeps=1", "4"});
    row("run: Preview during a run beeps", numbered(4), {{"Specs", "F*"}}, {"click=RenameChk", "apply@2", "click=PreviewBut"}, {"disk", "beeps", "journal"}, {four, "beeps=1", "4"});
    row("run: list rebuilt under the run", numbered(4), {{"Specs", "F*"}}, {"click=RenameChk", "apply@2", "focus=FileSpecs", "FileSpecs:=F001*", "focus=FilePrefix"}, {"disk", "list", "journal"}, {four, "", "4"});
    row("apply: the date with seconds on disk", {"IMG_0001.JPG"}, {{"Specs", "*.JPG"}, {"Prefix", "Rome_"}, {"DateFormat", "3"}}, {"mtime=IMG_0001.JPG@2026-05-14T09:05:07", "key=F5", "click=RenameChk", "click=ApplyBut"}, {"disk"}, {"Rome_2026-05-14_09-05-07_001.JPG=IMG_0001.JPG"});
    row("status: a screen reader reads the counts and the run's result", numbered(2), {{"Specs", "*.JPG"}}, {"click=RenameChk", "row=1", "heard", "click=ApplyBut"}, {"heard"}, {"2 files, 1 selected (Status)", "2 files renamed. Ctrl+Alt+Z undoes it. (Status)"});
}

void TstWindow::undo_data()
{
    columns();
    const QStringList abc{"A.JPG", "B.JPG", "C.JPG", "other.txt"};
    const QString asked = "Pellory - Undo|Undo the rename of WHEN? 3 files in ~ will go back to their old names.";
    const QString again = "Pellory - Undo|Undo the rename of WHEN? 1 file in ~ will go back to its old name.";
    const QString back = "A.JPG=A.JPG|B.JPG=B.JPG|C.JPG=C.JPG|other.txt=other.txt", gone = "Pellory|plain|There is no rename to undo.";
    const QString renamed = "IMG_001.JPG=A.JPG|IMG_002.JPG=B.JPG|IMG_003.JPG=C.JPG|other.txt=other.txt";
    const QString left = "Pellory|plain|2 of 3 files got their old names back. These were left as they are, and nothing was overwritten; once you have seen to them, Ctrl+Alt+Z tries them again:\r\rIMG_002.JPG -> B.JPG: the old name is taken";
    row("undo: shortcut", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut", "undo", "no", "undo"}, {"asked", "disk", "list", "msgs"}, {asked, back, "A.JPG|B.JPG|C.JPG", gone});
    row("undo: context menu", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut", "menu", "no", "undo"}, {"asked", "disk", "list", "msgs"}, {asked, back, "A.JPG|B.JPG|C.JPG", gone});
    row("undo: wildcard", abc, {{"Specs", "*.JPG"}}, {"WildCardRen=*.BAK", "click=ApplyBut", "undo", "no", "undo"}, {"asked", "disk", "list", "msgs"}, {asked, back, "", gone});
    row("undo: answered no, the run stays", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut", "no", "undo", "undo"}, {"asked", "disk", "list"}, {asked + "\nPellory - Undo|Undo the rename of WHEN? 3 files in ~ will go back to their old names.", renamed, "IMG_001.JPG|IMG_002.JPG|IMG_003.JPG"});
    row("undo: a name taken since is skipped, not overwritten", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut", "make=B.JPG", "undo", "no", "undo"}, {"asked", "disk", "list", "msgs"}, {asked + "\nPellory - Undo|Undo the rename of WHEN? 1 file in ~ will go back to its old name.", "A.JPG=A.JPG|B.JPG=new|C.JPG=C.JPG|IMG_002.JPG=B.JPG|other.txt=other.txt", "A.JPG|B.JPG|C.JPG|IMG_002.JPG", left});
    row("undo: a file left is tried again", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut", "make=B.JPG", "undo", "ren=B.JPG>held.txt", "undo", "undo"}, {"asked", "disk", "msgs"}, {asked + "\nPellory - Undo|Undo the rename of WHEN? 1 file in ~ will go back to its old name.", "A.JPG=A.JPG|B.JPG=B.JPG|C.JPG=C.JPG|held.txt=new|other.txt=other.txt", left + "\nPellory|plain|There is no rename to undo."});
    row("undo: a run partly undone, in the history", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut", "make=B.JPG", "undo", "ren=B.JPG>held.txt", "history=1"}, {"historyrows", "disk", "msgs"}, {"2 undo|3 partly undone (1 file left)", "A.JPG=A.JPG|B.JPG=B.JPG|C.JPG=C.JPG|held.txt=new|other.txt=other.txt", left});
    row("undo: a file saved over before Apply goes back", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "save=B.JPG", "click=ApplyBut", "undo"}, {"disk", "msgs"}, {"A.JPG=A.JPG|B.JPG=saved|C.JPG=C.JPG|other.txt=other.txt", ""});
    row("undo: the folder replaced by its copy before Apply", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "copydir", "click=ApplyBut", "undo"}, {"disk", "msgs"}, {back, ""});
    row("undo: during a run, beeps", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "apply@1", "undo"}, {"asked", "disk", "beeps"}, {"", renamed, "beeps=1"});
    row("undo: in preview mode, beeps", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut", "FilePrefix=X_", "click=PreviewBut", "undo", "click=PreviewBut", "no", "undo"}, {"asked", "disk", "beeps"}, {asked, renamed, "beeps=1"});
    row("undo: a run that died, at the next start", abc, {{"Specs", "*.JPG"}}, {"crash", "undo", "no", "undo"}, {"asked", "disk", "list", "msgs"}, {"Pellory - Undo|The last rename run was interrupted.\rUndo the rename of WHEN? 2 files in ~ will go back to their old names.", back, "A.JPG|B.JPG|C.JPG", gone});
    row("undo: Apply twice, undo: the camera names back", abc, {{"Specs", "*.JPG"}}, {"status", "click=RenameChk", "FilePrefix=Holiday_", "click=ApplyBut", "status", "click=ApplyBut", "status", "undo", "status", "undo"}, {"disk", "status", "msgs"}, {"3 files, 0 selected", "3 files renamed. Ctrl+Alt+Z undoes it.", "Every file already has its new name: nothing was renamed.", "Undo put back 3 files.", back, "Undo put back 3 files.", gone});
    row("undo: back to a chosen run, newest first", abc, {{"Specs", "*.JPG"}}, {"click=RenameChk", "FilePrefix=A_", "click=ApplyBut", "FilePrefix=B_", "click=ApplyBut", "undo", "FilePrefix=C_", "click=ApplyBut", "history=3"}, {"historyrows", "asked", "disk"}, {"3 |3 undo|3 undone|3 ", asked + "\nPellory - Undo|Undo 2 runs in ~, back to the one of WHEN? 6 files will be renamed back, newest run first.", back});
    row("undo: the bar after a run that died, and its Undo", abc, {{"Specs", "*.JPG"}}, {"crash", "restart", "bar", "click=InterruptedUndo"}, {"asked", "bar", "disk"}, {"The last rename in ~ stopped after 2 of 3 files", "Pellory - Undo|The last rename run was interrupted.\rUndo the rename of WHEN? 2 files in ~ will go back to their old names.", "no bar", back});
    row("undo: a run on a stick that stopped answering", abc, {{"Specs", "*.JPG"}}, {"stick", "restart", "bar", "undo"}, {"bar", "msgs"}, {"The last rename in STICK stopped after 2 of 3 files. The drive of the last run does not answer.", "The last rename in STICK stopped after 2 of 3 files. The drive of the last run does not answer.", "Pellory|plain|The drive of this run, STICK, does not answer. Nothing was put back: try again once the drive answers (a USB stick may need to be plugged in again)."});
    row("undo: a damaged record that names nothing", abc, {{"Specs", "*.JPG"}}, {"record=R~%2e~B.JPG~1,E~1", "undo"}, {"asked", "disk", "msgs"}, {"", back, "Pellory|plain|The record of the run in ~ is damaged: none of its renames can be read, so nothing can be put back. Its file is STATE/Pellory/history/s000000000001-1733456789123.run; delete it to take the run out of the history."});
    row("undo: an end line that counts too many", abc, {{"Specs", "*.JPG"}}, {"record=P~a~b~1*2500,R~IMG_002.JPG~B.JPG~0,E~999999", "undo"}, {"asked", "disk"}, {"Pellory - Undo|The record of this run is damaged: its end says it renamed 999999 files, but it names 1 file.\rUndo the rename of WHEN? 1 file in ~ will go back to its old name.", "A.JPG=A.JPG|C.JPG=C.JPG|IMG_002.JPG=B.JPG|other.txt=other.txt"});
    row("undo: the bar dismissed stays away", abc, {{"Specs", "*.JPG"}}, {"crash", "restart", "bar", "click=InterruptedDismiss", "restart"}, {"bar"}, {"The last rename in ~ stopped after 2 of 3 files", "no bar"});
}

void TstWindow::captureTimes_data()
{
    columns();
    const QStringList camera{"IMG_0001.JPG", "IMG_0001.CR2", "IMG_0001.xmp", "IMG_0001.JPG.xmp"};
    const QString cameraBack = "IMG_0001.CR2=IMG_0001.CR2|IMG_0001.JPG=IMG_0001.JPG|IMG_0001.JPG.xmp=IMG_0001.JPG.xmp|IMG_0001.xmp=IMG_0001.xmp";
    const QString byName = "DSC_0001.JPG|DSC_0002.JPG|IMG_0001.JPG|IMG_0002.JPG|notes.JPG";
    const QString byWriteTime = "notes.JPG|IMG_0001.JPG|DSC_0001.JPG|IMG_0002.JPG|DSC_0002.JPG", byCapture = "DSC_0002.JPG|IMG_0001.JPG|DSC_0001.JPG|notes.JPG|IMG_0002.JPG";
    const QString noTime = "* <No capture time: the modification time is used>";
    const QString takenCells = "1 May 2024 10:00:01|1 May 2024 10:00:05|1 May 2024 10:00:10|1 May 2024 10:00:15" + noTime + "|1 May 2024 10:00:20";
    const QString takenByName = "1 May 2024 10:00:10|1 May 2024 10:00:01|1 May 2024 10:00:05|1 May 2024 10:00:20|1 May 2024 10:00:15" + noTime;
    row("taken: two cameras in capture order once read, a file without one by its time", cameras, {{"Specs", "*.JPG"}}, {"FileSortOrder+=6", "list", "ready"}, {"list", "order", "taken"}, {byWriteTime, byCapture, "Taken (Old to New) ^3 up", takenCells});
    row("taken: picked again after a rebuild, the cache answers", cameras, {{"Specs", "*.JPG"}}, {"FileSortOrder+=6", "ready", "redate=DSC_0002.JPG>2024:05:01 23:59:59", "key=Home", "key=F5", "FileSortOrder+=6", "list", "wait"}, {"list"}, {byCapture, byCapture});
    row("taken: a folder opened while reading, its own times", cameras + QStringList{"s/", "s/B.JPG@2024:05:01 11:00:00~10", "s/A.JPG@2024:05:01 12:00:00~20"}, {{"Specs", "*.JPG"}}, {"FileSortOrder+=6", "FolderPath=s", "key=Return", "ready"}, {"folder", "list", "taken"}, {"~/s", "B.JPG|A.JPG", "1 May 2024 11:00:00|1 May 2024 12:00:00"});
    row("taken: times that come in during the preview wait for its end", cameras, {{"Specs", "*.JPG"}}, {"FileSortOrder+=6", "click=RenameChk", "click=PreviewBut", "wait", "list", "click=PreviewBut"}, {"list"}, {byWriteTime, byCapture});
    row("taken: the column from the header menu, stored", cameras, {{"Specs", "*.JPG"}}, {"columns", "columns=Taken", "ready", "close"}, {"columns", "taken", "takenkey"}, {"Name|New Name|Modified", "Name|New Name|Modified|Taken", takenByName, "1"});
    row("taken: the column restored, Modified hidden from the menu", cameras, {{"Specs", "*.JPG"}, {"TakenColumn", "1"}}, {"ready", "columns=Modified"}, {"columns", "list"}, {"Name|New Name|Taken", byName});
    row("date: Apply waits for the capture times and names by them", cameras, {{"Specs", "*.JPG"}, {"Prefix", "Trip_"}, {"DateFormat", "3"}}, {"click=RenameChk", "click=ApplyBut"}, {"list"}, {"Trip_2024-05-01_10-00-01_002.JPG|Trip_2024-05-01_10-00-05_003.JPG|Trip_2024-05-01_10-00-10_001.JPG|Trip_2024-05-01_10-00-15_005.JPG|Trip_2024-05-01_10-00-20_004.JPG"});
    row("taken: a stick that stopped answering is given up, the window goes on", {}, {{"Specs", "*.JPG"}}, {"stickphotos=A.JPG@2024:05:01 12:00:00|B.JPG@2024:05:01 11:00:00", "FileSortOrder+=6", "ready"}, {"list", "status"}, {"A.JPG|B.JPG", "2 files, 0 selected"});
    row("taken: a big folder tells its progress", numbered(400), {{"Specs", "*.JPG"}}, {"FileSortOrder+=6", "status", "ready"}, {"status"}, {"Reading capture times: 0 of 400", "400 files, 0 selected"});
    row("companions: renamed with their file, then undone", camera, {{"Specs", "*.JPG"}, {"Prefix", "Trip_"}, {"Number", "001"}, {"Companions", "1"}}, {"click=RenameChk", "live", "click=ApplyBut", "disk", "undo"}, {"live", "disk"}, {"Trip_001.JPG  + .CR2 .JPG.xmp .xmp", "Trip_001.CR2=IMG_0001.CR2|Trip_001.JPG=IMG_0001.JPG|Trip_001.JPG.xmp=IMG_0001.JPG.xmp|Trip_001.xmp=IMG_0001.xmp", "Trip_001.JPG  + .CR2 .JPG.xmp .xmp", cameraBack});
    row("companions: the box toggles the column", camera, {{"Specs", "*.JPG"}, {"Prefix", "Trip_"}}, {"click=RenameChk", "live", "click=CompanionsChk", "wait", "live", "click=CompanionsChk", "wait"}, {"live"}, {"Trip_001.JPG", "Trip_001.JPG  + .CR2 .JPG.xmp .xmp", "Trip_001.JPG"});
    row("companions: one a staying file's name would take is refused", {"A.JPG", "A.CR2", "IMG_001.CR2"}, {{"Specs", "*.JPG"}, {"Companions", "1"}}, {"click=RenameChk", "click=ApplyBut"}, {"live", "disk", "msgs", "journal"}, {"IMG_001.JPG  + .CR2 <Clashes with \"IMG_001.CR2\", which keeps its name>", "A.CR2=A.CR2|A.JPG=A.JPG|IMG_001.CR2=IMG_001.CR2", "Pellory - Error|warning|These settings will produce duplicate file names!!!|IMG_001.CR2: A.CR2 and IMG_001.CR2", "0"});
    row("companions: a failure on one stops the run", {"A.JPG", "A.CR2", "B.JPG"}, {{"Specs", "*.JPG"}, {"Companions", "1"}}, {"click=RenameChk", "apply@2", "fail"}, {"disk", "msgs", "journal"}, {"A.CR2=A.CR2|B.JPG=B.JPG|IMG_001.JPG=A.JPG", failed + "IMG_001.CR2\r\rInput/output error|The file's name is A.CR2.\n1 of 2 files were renamed before this one. Ctrl+Alt+Z puts them back.", "1"});
    row("companions: a folder is none", {"A.JPG", "A.CR2", "A.xmp/", "A.xmp/in.txt"}, {{"Specs", "*.JPG"}, {"Companions", "1"}}, {"click=RenameChk", "click=ApplyBut"}, {"disk"}, {"A.xmp/in.txt=A.xmp/in.txt|IMG_001.CR2=A.CR2|IMG_001.JPG=A.JPG"});
    row("companions: one that is listed is renamed once", {"A.JPG", "A.CR2", "A.xmp"}, {{"Specs", "*.JPG;*.CR2"}, {"Companions", "1"}}, {"click=RenameChk", "click=ApplyBut"}, {"disk"}, {"IMG_001.CR2=A.CR2|IMG_001.xmp=A.xmp|IMG_002.JPG=A.JPG"});
    row("companions: preview lists each under its file", {"A.JPG", "A.CR2", "A.xmp", "B.JPG"}, {{"Specs", "*.JPG"}, {"Companions", "1"}}, {"click=RenameChk", "click=PreviewBut"}, {"preview", "beside"}, {"IMG_001.JPG|IMG_001.CR2|IMG_001.xmp|IMG_002.JPG ", "A.JPG|A.CR2|A.xmp|B.JPG"});
    row("companions: box off, as before", {"A.JPG", "A.CR2", "A.xmp"}, {{"Specs", "*.JPG"}}, {"click=RenameChk", "click=ApplyBut"}, {"disk"}, {"A.CR2=A.CR2|A.xmp=A.xmp|IMG_001.JPG=A.JPG"});
}

// clang-format on

// Starts the window on a folder of the row's files and store, takes the row's steps and
// compares what its probes read, each answer whole.
void TstWindow::check()
{
    QFETCH(QStringList, files);
    QFETCH(Store, store);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, probes);
    QFETCH(QStringList, expected);
    if (QTest::currentDataTag() == QLatin1String("in German") &&
        QLocale().language() != QLocale::German)
        QSKIP("tst_window_german runs it, started with LANG=de_DE.UTF-8");
    if (steps.join(' ').contains("stick")) { // "stick" or "stickphotos"
        m_stick.emplace(testing::MountKind::ExfatFuse);
        if (m_stick->path().isEmpty())
            QSKIP(qPrintable(m_stick->skipReason()));
    }
    const auto unmount = qScopeGuard([this] {
        if (m_stick)
            m_stick->stop(false);
        m_stick.reset();
    });
    QTemporaryDir dir;
    m_folder = dir.path();
    for (const QString& name : files)
        QVERIFY(makeRowFile(m_folder, name));
    store.insert("LastDir", store.value("LastDir", m_folder));
    writeStore(store);
    m_w = std::make_unique<Window>();
    m_notes.clear();
    connect(&m_w->main->files(), &FilePane::liveNamesNote, this,
            [this](const QString& note) { m_notes << note; });
    connect(&m_w->main->files().liveNames(), &LiveNames::shown, this, [this] {
        if (m_w->main->run().busy()) // the run walks what the list was when it started
            m_notes << "shown during a run";
    });
    QStringList shown;
    while (!steps.isEmpty()) {
        const QString step = steps.takeFirst();
        if (probes.contains(step)) // a probe among the steps reads the state then
            shown << probe(step);
        else
            act(step, steps);
    }
    for (const QString& name : probes)
        shown << probe(name);
    const QString state =
        qEnvironmentVariable("XDG_STATE_HOME", QDir::homePath() + "/.local/state");
    for (QString& answer : shown) {
        answer.replace(m_folder, "~").replace(settingsFile().fileName(), "INI");
        answer.replace(state, "STATE");
        if (m_stick)
            answer.replace(m_stick->path(), "STICK");
        answer.replace(QRegularExpression("(rename|one) of [^?]+\\?"), "\\1 of WHEN?");
    }
    QCOMPARE(shown, expected);
    if (!probes.contains("msgs"))
        QCOMPARE(m_w->feedback.messages, QStringList());
    // Every way out of a run leaves the window idle, with the default pointer.
    QVERIFY(!m_w->main->run().busy());
    QVERIFY(!QApplication::overrideCursor());
}

// One user step. "click=NAME" clicks a button or box; "row=K", "ctrl=K" click row K of the
// file list, the second with Ctrl; "NAME+=N" presses Down N times in a list box (0 only
// focuses it); "NAME=TEXT" types over a field, "NAME:=TEXT" sets it as a paste would;
// "paste=NAME" presses Ctrl+V there; "key=KEYS" presses keys where the focus is;
// "focus=NAME"; "make=NAME" makes a file holding "new" after the list was read,
// "mtime=NAME@2026-05-14T15:30:02" gives it that modification time (local), "ren=OLD>NEW"
// renames one as another program would, "save=NAME" saves a file "saved" over it as editors
// do (a new file renamed over the old), "copydir" moves the folder away and puts a copy in
// its place (cp -a), the list still showing the old one;
// "drive=ROOT" picks a drive that cannot be opened; "header=K" clicks column K's title;
// "move=LEFT,TOP" and "size=WIDTH,HEIGHT" in twips, "max" maximises, "font=PERCENT" starts
// the window anew with a font that size; "wait" lets a button pressed by its access key go
// up and the new names beside the files be worked out; "close";
// "undo" presses Ctrl+Alt+Z, "menu" takes it from the file list's menu, "no" answers
// later questions No; "crash" leaves the journal of a run that died after two renames;
// "stick" does so on an exFAT stick (FUSE), whose server then stops answering;
// "record=LINES" writes a run's record by hand (writtenRun);
// "unwritable" puts a folder in the settings file's place; "apply@K" presses Apply and
// takes the rest of the steps during its K-th rename, which "fail" among them fails;
// "start=PATH" starts the window anew with PATH named on the command line, "drop=PATH"
// drags PATH onto the specifications field (both below the row's folder); "watch" waits up
// to a second for the list to be rebuilt; "hidden" checks or unchecks the folder tree's
// "Show Hidden Folders"; "working" lets the event loop run until the work on the new names
// holds the listing it walks, past their pause; "idle" lets it run 50 ms.
void TstWindow::act(const QString& step, QStringList& rest)
{
    Main& m = *m_w->main;
    const QString verb = step.section('=', 0, 0), value = step.section('=', 1);
    const auto find = [&](const QString& name) { return m.findChild<QWidget*>(name); };
    const auto clickRow = [&](Qt::KeyboardModifiers mods) {
        auto* list = control<NameListView>(m, "FileList");
        const QRect cell = list->visualRect(list->names()->index(value.toInt()));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, cell.center());
    };
    // clang-format off
    const QHash<QString, std::function<void()>> verbs{
        {"click", [&] { QTest::mouseClick(find(value), Qt::LeftButton); }},
        {"row", [&] { clickRow(Qt::NoModifier); }},
        {"ctrl", [&] { clickRow(Qt::ControlModifier); }},
        {"focus", [&] { find(value)->setFocus(); }},
        {"paste", [&] { find(value)->setFocus(); QTest::keyClick(find(value), Qt::Key_V, Qt::ControlModifier); }},
        {"key", [&] { const QKeyCombination k = QKeySequence(value)[0]; QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers()); }},
        {"make", [&] { QVERIFY(makeFile(QFile::encodeName(m_folder + '/' + value), "new")); }},
        {"mtime", [&] { const timespec at[2] = {{0, UTIME_OMIT}, {time_t(QDateTime::fromString(value.section('@', 1), Qt::ISODate).toSecsSinceEpoch()), 0}}; QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(m_folder + '/' + value.section('@', 0, 0)).constData(), at, 0) == 0); }},
        {"drive", [&] { auto* drives = control<DriveSelector>(m, "DriveList"); drives->setVolumes({"/", value}); drives->setCurrentIndex(1); }},
        {"move", [&] { m.move(px(value.section(',', 0, 0).toInt()), px(value.section(',', 1).toInt())); }},
        {"size", [&] { remember(); m.resize(px(value.section(',', 0, 0).toInt()), px(value.section(',', 1).toInt())); }},
        {"max", [&] { remember(); m.showMaximized(); QCoreApplication::processEvents(); }},
        {"font", [&] { QFont font = m_font; font.setPointSizeF(font.pointSizeF() * value.toInt() / 100); QApplication::setFont(font); m_w.reset(); m_w = std::make_unique<Window>(); }},
        {"working", [&] { const auto shares = [&] { return m.files().catalogueForWalk().use_count(); }; const long idle = shares(); QDeadlineTimer limit(5000); while (shares() <= idle && !limit.hasExpired()) QCoreApplication::processEvents(); }},
        {"idle", [&] { QTest::qWait(50); }},
        {"wait", [&] { QTest::qWait(300); QVERIFY(QTest::qWaitFor([&] { return !m.files().liveNames().pending(); })); }},
        {"close", [&] { m.close(); }},
        {"header", [&] { clickHeader(*control<NameListView>(m, "FileList"), value.toInt()); }},
        {"undo", [&] { pressUndo(find("FilePrefix")); }}, // a text field keeps Ctrl+Z alone
        {"menu", [&] { QVERIFY(takeMenuEntry(m, 0)); }},
        {"history", [&] { chooseInHistory(value.toInt(), m_historyRows); QVERIFY(takeMenuEntry(m, 1)); }},
        {"restart", [&] { m_w = std::make_unique<Window>(); QCoreApplication::processEvents(); }},
        {"rawdir", [&] { const QByteArray sub = QFile::encodeName(m_folder) + "/caf\xe9"; QVERIFY(::mkdir(sub.constData(), 0755) == 0 && makeFile(sub + "/A.JPG", "A") && makeFile(sub + "/B.JPG", "B")); QVERIFY(control<FolderSelector>(m, "DirList")->setRawPath(sub)); }},
        {"popup", [&] { qobject_cast<QComboBox*>(find(value))->showPopup(); }},
        {"no", [&] { m_w->feedback.answer = false; }},
        {"fail", [&] { m_failRename = true; }},
        {"count", [&] { m_changesSeen = m.files().folderChanges(); }},
        {"ren", [&] { const QByteArray f = QFile::encodeName(m_folder) + '/'; QVERIFY(::rename((f + value.section('>', 0, 0).toUtf8()).constData(), (f + value.section('>', 1).toUtf8()).constData()) == 0); }},
        {"crash", [&] { QVERIFY(crashedRun(m_folder)); }},
        {"record", [&] { QVERIFY(writtenRun(m_folder, value)); }},
        {"stick", [&] { QVERIFY(m_stick && !m_stick->path().isEmpty()); for (const char* name : {"A.JPG", "B.JPG", "C.JPG"}) { QVERIFY(makeEntry(m_stick->path(), name)); } QVERIFY(crashedRun(m_stick->path()) && m_stick->stop(true)); }},
        {"save", [&] { const QByteArray f = QFile::encodeName(m_folder) + '/'; QVERIFY(makeFile(f + "saving.tmp", "saved") && ::rename((f + "saving.tmp").constData(), (f + value.toUtf8()).constData()) == 0); }},
        {"copydir", [&] { QVERIFY(QDir().rename(m_folder, m_folder + ".was") && QProcess::execute("cp", {"-a", m_folder + ".was", m_folder}) == 0 && QDir(m_folder + ".was").removeRecursively()); }},
        {"start", [&] { m_w.reset(); g_warned.clear(); const auto was = qInstallMessageHandler(noteWarning); m_w = std::make_unique<Window>(QFile::encodeName(m_folder + '/' + value)); qInstallMessageHandler(was); }},
        {"drop", [&] { dropOn(find("FileSpecs"), m_folder + '/' + value); }},
        {"watch", [&] { const int was = m.files().folderChanges(); (void)QTest::qWaitFor([&] { return m.files().folderChanges() > was; }, 1000); }},
        {"hidden", [&] { for (QAction* a : find("DirList")->actions()) { if (a->text() == "Show Hidden Folders") a->trigger(); } }},
        {"stickphotos", [&] { QVERIFY(m_stick && !m_stick->path().isEmpty()); for (const QString& file : value.split('|')) { QVERIFY(makeRowFile(m_stick->path(), file)); } QCOMPARE(m.files().openFolder(QFile::encodeName(m_stick->path())), QString()); QVERIFY(m_stick->stop(true)); }},
        {"ready", [&] { QVERIFY(QTest::qWaitFor([&] { return m.files().captureTimesReady(); }, 5000)); }},
        {"redate", [&] { QVERIFY(redate(m_folder, value)); }},
        {"columns", [&] { QVERIFY(toggleColumn(m, value)); }},
        {"unwritable", [&] { QVERIFY(QFile::remove(settingsFile().fileName()) && QDir().mkdir(settingsFile().fileName())); }},
    };
    // clang-format on
    if (verbs.contains(verb)) {
        verbs[verb]();
    } else if (verb.endsWith('+')) { // NAME+=N presses Down N times in a box
        QWidget* box = find(verb.chopped(1));
        box->setFocus();
        for (int i = 0; i < value.toInt(); ++i)
            QTest::keyClick(box, Qt::Key_Down);
    } else if (verb.endsWith(':')) { // NAME:=TEXT, as a paste through the menu would
        qobject_cast<QLineEdit*>(find(verb.chopped(1)))->setText(value);
    } else if (verb.startsWith("apply@")) {
        runWithSteps(verb.mid(6).toInt(), rest);
    } else {
        typeOver(find(verb), value);
    }
}

void TstWindow::remember()
{
    m_before = {{"window", m_w->main->rect()}};
    for (const QWidget* control : m_w->main->controls())
        m_before.insert(control->objectName(), control->geometry());
}

void TstWindow::runWithSteps(int at, QStringList& rest)
{
    SteppingRenamer renamer;
    renamer.at = at;
    // A button pressed while the run renames: the event loop hands the click to the window
    // before the run goes on to the next file.
    renamer.steps = [&] {
        m_failRename = false;
        while (!rest.isEmpty())
            act(rest.takeFirst(), rest);
        return m_failRename;
    };
    installRenamer(&renamer);
    QTest::mouseClick(control(*m_w->main, "ApplyBut"), Qt::LeftButton);
    installRenamer(nullptr);
    QVERIFY2(rest.isEmpty(), "the run ended before the steps meant for it");
}

QString TstWindow::probe(const QString& name)
{
    Main& m = *m_w->main;
    const RecordingFeedback& fb = m_w->feedback;
    const FilePane& f = m.files();
    const NamingPanel& n = m.naming();
    const CounterTexts& c = n.counterTexts();
    // clang-format off
    const auto *fileList = control<NameListView>(m, "FileList"), *previewList = control<NameListView>(m, "PreviewList");
    const auto* dirList = control<FolderSelector>(m, "DirList");
    const auto* driveList = control<DriveSelector>(m, "DriveList");
    const auto *sortOrder = control<QComboBox>(m, "FileSortOrder"), *dateFormat = control<QComboBox>(m, "DateFormat"), *newExt = control<QComboBox>(m, "NewExt");
    const auto* folderPath = control<QLineEdit>(m, "FolderPath");
    const auto* previewBut = control<QPushButton>(m, "PreviewBut");
    const auto selectedRows = [](const NameListView* list) { QStringList rows; for (int row = 0; row < list->count(); ++row) { if (list->isRowSelected(row)) rows << QString::number(row); } return rows.join('|'); };
    const QHash<QString, std::function<QString()>> probes{
        {"beeps", [&] { return "beeps=" + QString::number(fb.beeps); }},
        {"rebuilds", [&] { return "rebuilds=" + QString::number(f.folderChanges() - m_changesSeen); }},
        {"msgs", [&] { return fb.messages.join('\n'); }},
        {"pointer", [&] { return fb.busyShown.join(' '); }}, // with each message
        {"asked", [&] { return fb.questions.join('\n'); }},
        {"status", [&] { return m.status().text(); }},
        {"heard", [&] { const QLabel* line = m.status().findChild<QLabel*>(); return spoken(line) + " (" + QAccessible::queryAccessibleInterface(const_cast<QLabel*>(line))->text(QAccessible::Description) + ')'; }},
        {"bar", [&] { const QWidget* bar = m.undo().bar(); return bar->isVisible() ? bar->findChild<QLabel*>()->text() : "no bar"; }},
        {"historyrows", [&] { return m_historyRows; }},
        {"disk", [&] { return QString::fromUtf8(listing(m_folder)); }},
        {"runshown", [&] { return fb.runShown.join('|'); }},
        {"journal", [&] { const RunHistory h = RunHistory::read(); return QString::number(h.runs().empty() ? 0 : h.runs().front().renameCount); }},
        {"list", [&] { return fileList->names()->names().join('|'); }},
        {"sel", [&] { return selectedRows(fileList) + " @" + QString::number(fileList->currentRow()); }},
        {"preview", [&] { return previewList->names()->names().join('|') + ' ' + selectedRows(previewList); }},
        {"previewend", [&] { return QString::number(previewList->count()) + ':' + previewList->names()->names().value(previewList->count() - 1); }},
        {"folder", [&] { return dirList->path(); }},
        {"path", [&] { return folderPath->text(); }},
        {"offers", [&] { return qobject_cast<QStringListModel*>(folderPath->completer()->model())->stringList().join('|'); }},
        {"tree", [&] { QStringList names; for (int i = 0; i < dirList->count(); ++i) { if (dirList->item(i)->data(FolderSelector::LevelRole).toInt() > m_folder.count('/')) names << dirList->item(i)->text(); } return names.join('|'); }},
        {"hiddenkey", [&] { return readStore().value("ShowHiddenFolders"); }},
        {"warned", [&] { return g_warned.join('\n'); }},
        {"empty", [&] { return f.emptyListText() + (inked(fileList->viewport()) ? "" : " not drawn"); }},
        {"live", [&] { return QTest::qWaitFor([&] { return !f.liveNames().pending(); }) ? cells(*fileList->names(), NameListModel::Content::Beside) : "still pending"; }}, // once worked out
        {"notes", [&] { return m_notes.join('+'); }},
        {"order", [&] { const QHeaderView* h = fileList->horizontalHeader(); return sortOrder->currentText() + (h->isSortIndicatorShown() ? QString(" ^%1 %2").arg(h->sortIndicatorSection()).arg(h->sortIndicatorOrder() == Qt::AscendingOrder ? "up" : "down") : QString()); }},
        {"modified", [&] { return fileList->names()->name(0) + ' ' + fileList->names()->index(0, 2).data().toString(); }}, // the first row's
        {"taken", [&] { return cells(*fileList->names(), NameListModel::Content::Taken); }},
        {"columns", [&] { QStringList titles; for (int i = 0; i < fileList->names()->columnCount(); ++i) { if (!fileList->isColumnHidden(i)) titles << fileList->names()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(); } return titles.join('|'); }}, // the file list's that show
        {"takenkey", [&] { return readStore().value("TakenColumn"); }},
        {"beside", [&] { return previewList->names()->beside().mid(0, previewList->count()).join('|'); }},
        {"drive", [&] { return driveList->drive(); }},
        {"opened", [&] { return m_viewer.opened.join(' ').replace(QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../.."), "BUILD"); }}, // run from BUILD/tests/window
        {"fields", [&] { return texts(m, {"FileSpecs", "NumCharKeep", "FilePrefix", "StartingNumber", "NumberIncValue", "FileLeading", "NewExt"}, '|'); }},
        {"buttons", [&] { const bool a = control(m, "ApplyBut")->isEnabled(), p = previewBut->isEnabled(); return a && p ? "apply+preview" : a ? "apply" : p ? "preview" : "none"; }},
        {"date", [&] { return QString::number(dateFormat->currentIndex()) + ':' + dateFormat->currentText() + (dateFormat->isEnabled() ? " on" : " off"); }},
        {"counter", [&] { return QStringList{control<QLabel>(m, "Label3")->text(), control<QLineEdit>(m, "StartingNumber")->text(), control(m, "chkTrim")->isEnabled() ? "trim" : "no trim", c.NumberText, c.AlphaNumberText}.join('|'); }},
        {"on", [&] { return controlsWhere(m, true); }},
        {"off", [&] { return controlsWhere(m, false); }},
        {"mode", [&] { return previewBut->text() + (previewList->isVisible() ? " PreviewList" : " FileList"); }},
        {"focus", [&] { const QWidget* focus = QApplication::focusWidget(); const auto* field = qobject_cast<const QLineEdit*>(focus); return (focus ? focus->objectName() : "nothing") + ' ' + (field ? field->selectedText() : ""); }}, // and the text selected in it
        {"open", [&] { return m.isVisible() ? "open" : "closed"; }},
        {"prefix", [&] { return readStore().value("Prefix"); }},
        {"lastdir", [&] { return readStore().value("LastDir"); }},
        {"stored", [&] { QStringList pairs; const Store store = readStore(); for (auto it = store.begin(); it != store.end(); ++it) { pairs << it.key() + '=' + (it.key() == "LastDrive" && *it == driveList->driveOf(m_folder) ? "D" : *it); } return pairs.join(' '); }}, // every key, the drive of the row's folder written "D"
        {"shown", [&] { return texts(m, {"FileSpecs", "NumCharKeep", "FilePrefix", "StartingNumber", "NumberIncValue", "FileLeading", "SelSteps"}, ' ') + QString(" %1 %2 %3 %4:").arg(control<QComboBox>(m, "CasesList")->currentIndex()).arg(control<QCheckBox>(m, "chkAlpha")->isChecked()).arg(int(n.extensionMode())).arg(newExt->currentIndex()) + QStringList{newExt->currentText(), QString::number(sortOrder->currentIndex()), c.NumberText, c.IncrementText, c.AlphaNumberText, c.AlphaIncrementText}.join(' '); }},
        {"at", [&] { const auto at = [](int v, int centre) { return v == centre ? "c" : QString::number(v); }; return '@' + at(m_w->placed.x(), m_centred.x()) + ',' + at(m_w->placed.y(), m_centred.y()); }},
        {"named", [&] { QStringList names; for (const QWidget* c : m.controls()) { if (spoken(c).isEmpty() || spoken(c).contains('&')) names << c->objectName(); } return names.isEmpty() ? "named" : names.join(' '); }}, // controls read without a name, or with the access key's "&"
        {"spoken", [&] { return QStringList{spoken(driveList), spoken(sortOrder), spoken(control(m, "CasesList")), spoken(newExt), spoken(previewBut)}.join('|'); }},
        {"keys", [&] { return accessKeys(m); }},
        {"icon", [&] { return m.windowIcon().availableSizes().isEmpty() ? "no icon" : "icon"; }},
        {"placed", [&] { return edges(QRect(m_w->placed, m.size() + QSize(0, m.style()->pixelMetric(QStyle::PM_TitleBarHeight)))); }}, // framed by a title bar
        {"edges", [&] { return edges(m.frameGeometry()); }},
        {"size", [&] { const auto size = [](int v, int d) { return v == d ? "d" : twips(v); }; return size(m.width(), m_default.width()) + ',' + size(m.height(), m_default.height()); }},
        {"grown", [&] { return grown(m, m_before); }},
        {"over", [&] { return previewList->isVisible() && previewList->geometry() == fileList->geometry() ? "over" : "apart"; }},
        {"fits", [&] { return misfits(m); }},
        {"tabs", [&] { return focusOrder(m); }},
    };
    // clang-format on
    return probes.value(name, [&] { return "no probe " + name; })();
}

// The runs' messages break lines with "\r\r" or "\r\n"; the box shows line feeds.
void TstWindow::messageLineBreaks()
{
    QString seen = "no box";
    QTimer::singleShot(0, [&seen] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            box->accept();
        }
    });
    Feedback().message("a : b.JPG\r\rFile exists\r\nlast", "Pellory", Feedback::Style::Plain);
    QCOMPARE(seen, QString("a : b.JPG\n\nFile exists\nlast"));
}

QTEST_MAIN(TstWindow)
#include "tst_window.moc"

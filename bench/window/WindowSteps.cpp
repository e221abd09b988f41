// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

// The window pass finds the window's controls by their object names, so that it does not
// depend on which of the window's classes holds them, and drives them through the widgets'
// own calls.

#include "WindowSteps.h"

#include "BenchRunner.h"
#include "CameraFolder.h"
#include "Probe.h"

#include "catalogue/SortOrders.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/FolderSelector.h"
#include "window/LiveNames.h"
#include "window/Main.h"
#include "window/RunController.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace pellory::bench {

namespace {

// Answers beeps and message boxes without a modal loop, keeping what the window said.
class QuietFeedback : public Feedback
{
public:
    QStringList said;
    void beep() override { said.append(QStringLiteral("beep")); }
    void message(const QString& text, const QString& title, Style, const QString&) override
    {
        said.append(title + QStringLiteral(": ") + text);
    }
    bool question(const QString&, const QString&) override { return true; } // "Yes"
};

QStringList cameraNames(const QString& prefix, int count, bool descending = false)
{
    QStringList names;
    names.reserve(count);
    for (int k = 1; k <= count; ++k)
        names.append(cameraName(prefix, descending ? count + 1 - k : k, count));
    return names;
}

// Empty when `shown` is `expected`; otherwise where they part.
QString listDifference(const QStringList& shown, const QStringList& expected)
{
    if (shown.size() != expected.size())
        return QStringLiteral("%1 names listed, %2 expected")
            .arg(shown.size())
            .arg(expected.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] != expected[i])
            return QStringLiteral("item %1 is %2, %3 expected").arg(i).arg(shown[i], expected[i]);
    }
    return {};
}

// Runs the event loop until the new names beside the files are all shown; false when
// they are not within a generous while.
bool waitForLiveNames(LiveNames& live)
{
    if (!live.pending())
        return true;
    QEventLoop loop;
    QObject::connect(&live, &LiveNames::shown, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return !live.pending();
}

// A key typed into `field` as the keyboard gives it, through the field's keystroke rules.
void typeKey(QWidget* field, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &press);
    QCoreApplication::sendEvent(field, &release);
}

template <typename Key> double medianSortMs(const std::vector<Key>& keys, bool descending)
{
    std::vector<double> times;
    for (int k = 0; k < 3; ++k) {
        std::vector<Key> copy = keys;
        QElapsedTimer clock;
        clock.start();
        if (descending)
            std::sort(copy.begin(), copy.end(), std::greater<Key>());
        else
            std::sort(copy.begin(), copy.end());
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

// std::sort of the keys the sort order compares, taken from the files as they are listed
// before it: the upper-case names, the extensions, or the write times.
double stdSortMs(const QString& folder, const QStringList& listed, int order)
{
    const SortOrder& sort = kSortOrders[size_t(order)];
    const bool descending = sort.descending;
    if (sort.key == SortKey::Date) {
        std::vector<qint64> keys;
        for (const QString& name : listed)
            keys.push_back(QFileInfo(folder + u'/' + name).lastModified().toMSecsSinceEpoch());
        return medianSortMs(keys, descending);
    }
    std::vector<QString> keys;
    for (const QString& name : listed)
        keys.push_back(sort.key == SortKey::Name ? name.toUpper()
                                                 : QFileInfo(name).suffix().toUpper());
    return medianSortMs(keys, descending);
}

// The names of the column titled `title`: the file list lists the files under "Name" and
// their new names under "New Name", the preview its names under "New Name".
QStringList namesIn(const QAbstractItemView* list, const QString& title)
{
    const QAbstractItemModel* model = list->model();
    int column = 0;
    while (column < model->columnCount() &&
           model->headerData(column, Qt::Horizontal).toString() != title)
        ++column;
    QStringList names;
    names.reserve(model->rowCount());
    for (int row = 0; row < model->rowCount(); ++row)
        names.append(model->index(row, column).data().toString());
    return names;
}

QStringList namesIn(const QAbstractItemView* list)
{
    return namesIn(list, QStringLiteral("Name"));
}

// The least a list view needs to select every second row: one selection of ranges.
double selectionFloorMs(const QStringList& names)
{
    QStringListModel model(names);
    QListView view;
    view.setUniformItemSizes(true);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setModel(&model);
    view.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    QItemSelection selection;
    for (int row = 0; row < names.size(); row += 2)
        selection.select(model.index(row), model.index(row));
    view.selectionModel()->select(selection, QItemSelectionModel::Select);
    return double(clock.nsecsElapsed()) / 1e6;
}

class Driver
{
public:
    Driver(const QString& folder, const QString& emptyFolder, int count)
        : m_folder(folder), m_emptyFolder(emptyFolder), m_count(count)
    {}

    int run()
    {
        startUp();
        rebuild();
        sorts();
        selectEverySecond();
        setNamingFields();
        liveNames();
        preview();
        apply();
        wildcardRename();
        undo();
        m_main->close();
        m_main.reset();
        return m_failures == 0 ? 0 : 1;
    }

    // The window on a folder of photos: a Date sort, then the files ordered by capture time
    // twice, the second time from what the first read kept.
    int runCamera()
    {
        const QString camera = QStringLiteral("camera: ");
        startUp(camera);
        const double dateSortMs = dateSort(camera);
        takenOrder(camera + QStringLiteral("Taken (Old to New)"), -1);
        takenOrder(camera + QStringLiteral("Taken (Old to New) again"), dateSortMs);
        m_main->close();
        m_main.reset();
        return m_failures == 0 ? 0 : 1;
    }

private:
    template <typename T> T* control(const char* name) const
    {
        T* found = m_main->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("the window has no %s", name);
        return found;
    }

    QAbstractItemView* fileList() const { return control<QAbstractItemView>("FileList"); }

    void report(StepLine line)
    {
        line.peakKb = peakMemoryKb();
        if (!m_feedback.said.isEmpty()) {
            line.ok = false;
            line.note += QStringLiteral(" said: ") + m_feedback.said.join(QStringLiteral(" / "));
            m_feedback.said.clear();
        }
        if (!line.ok)
            ++m_failures;
        std::printf("%s\n", qPrintable(line.format()));
        std::fflush(stdout);
    }

    StepLine timed(const QString& name, const std::function<void()>& action)
    {
        // A step starts as a user's click finds the window: what the step before left for
        // the event loop (leaving the preview relays and repaints the whole window) is done
        // first, as it is between two clicks, and is not charged to this step.
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        m_probe.start();
        action();
        m_probe.stop();
        StepLine line;
        line.name = name;
        line.ms = m_probe.elapsedMs();
        line.waitMs = m_probe.longestWaitMs();
        return line;
    }

    void expectListed(StepLine& line, const QStringList& expected)
    {
        const QString difference = listDifference(namesIn(fileList()), expected);
        if (!difference.isEmpty()) {
            line.ok = false;
            line.note = difference;
        }
    }

    void expectCount(StepLine& line)
    {
        const int listed = fileList()->model()->rowCount();
        if (listed != m_count) {
            line.ok = false;
            line.note = QStringLiteral("%1 files listed").arg(listed);
        }
    }

    void startUp(const QString& prefix = {})
    {
        StepLine line = timed(prefix + QStringLiteral("start-up, list filled"), [this] {
            m_main = std::make_unique<Main>(&m_feedback);
            m_main->show();
            QCoreApplication::processEvents();
        });
        expectListed(line, cameraNames(QStringLiteral("DSC"), m_count));
        report(line);
    }

    void rebuild()
    {
        auto* folders = control<FolderSelector>("DirList");
        folders->setPath(m_emptyFolder);
        StepLine line = timed(QStringLiteral("rebuild after folder change"),
                              [this, folders] { folders->setPath(m_folder); });
        expectCount(line);
        report(line);
    }

    // Each order twice: the first time from the order before, the second on its own
    // output. Choosing the item already shown raises no change in a Qt combo box, so the
    // second choice raises the box's change signal itself, as a click on the shown item would.
    void sorts()
    {
        auto* sortOrder = control<QComboBox>("FileSortOrder");
        for (const int order : {1, 2, 3, 4, 5, 0}) {
            for (const bool again : {false, true}) {
                const QString name = QStringLiteral("sort %1%2")
                                         .arg(sortOrder->itemText(order), again ? " again" : "");
                const double floor = stdSortMs(m_folder, namesIn(fileList()), order);
                StepLine line = timed(name, [sortOrder, order, again] {
                    if (again)
                        QMetaObject::invokeMethod(sortOrder, "currentIndexChanged",
                                                  Qt::DirectConnection, Q_ARG(int, order));
                    else
                        sortOrder->setCurrentIndex(order);
                });
                line.floorMs = floor;
                checkOrder(line, order);
                report(line);
            }
        }
    }

    void checkOrder(StepLine& line, int order)
    {
        // Names and write times rise together; the extensions are all alike.
        const SortOrder& sort = kSortOrders[size_t(order)];
        if (sort.key == SortKey::Ext)
            return expectCount(line);
        expectListed(line, cameraNames(QStringLiteral("DSC"), m_count, sort.descending));
    }

    // "Date (Old to New)" from the name order the window starts in, then back to it.
    double dateSort(const QString& prefix)
    {
        auto* sortOrder = control<QComboBox>("FileSortOrder");
        const auto* date =
            std::find_if(std::begin(kSortOrders), std::end(kSortOrders),
                         [](auto& o) { return o.key == SortKey::Date && !o.descending; });
        const int order = int(date - std::begin(kSortOrders));
        StepLine line = timed(prefix + QStringLiteral("sort ") + sortOrder->itemText(order),
                              [sortOrder, order] { sortOrder->setCurrentIndex(order); });
        expectListed(line, namesByWriteTime(m_count));
        report(line);
        sortOrder->setCurrentIndex(0);
        return line.ms;
    }

    // "Taken (Old to New)" picked in the sort box, until the list stands in capture order:
    // the first time every file is read; the second time, from the name order again, the
    // times are in the records already.
    void takenOrder(const QString& name, double floorMs)
    {
        auto* sortOrder = control<QComboBox>("FileSortOrder");
        auto* files = m_main->findChild<FilePane*>();
        const auto* taken =
            std::find_if(std::begin(kSortOrders), std::end(kSortOrders),
                         [](auto& o) { return o.key == SortKey::Taken && !o.descending; });
        const int order = int(taken - std::begin(kSortOrders));
        sortOrder->setCurrentIndex(0);
        StepLine line = timed(name, [&] {
            QEventLoop loop;
            QObject::connect(files, &FilePane::captureTimesArrived, &loop, &QEventLoop::quit);
            sortOrder->setCurrentIndex(order);
            if (!files->captureTimesReady())
                loop.exec();
        });
        line.floorMs = floorMs;
        expectListed(line, namesByCapture(m_count));
        report(line);
    }

    void selectEverySecond()
    {
        const double floor = selectionFloorMs(namesIn(fileList()));
        auto* everyN = control<QLineEdit>("SelSteps");
        StepLine line = timed(QStringLiteral("select every 2"),
                              [everyN] { everyN->setText(QStringLiteral("2")); });
        line.floorMs = floor;
        // Counted from the selection's ranges: selectedRows() asks every row of every range
        // whether its row is selected, which takes seconds at these sizes.
        qsizetype selected = 0;
        for (const QItemSelectionRange& range : fileList()->selectionModel()->selection())
            selected += range.bottom() - range.top() + 1;
        if (selected != m_count / 2 && selected != (m_count + 1) / 2) {
            line.ok = false;
            line.note = QStringLiteral("%1 selected").arg(selected);
        }
        report(line);
        // Every file takes part in the runs that follow, as with the peers.
        everyN->setText(QString());
    }

    void setNamingFields()
    {
        control<QCheckBox>("RenameChk")->setChecked(true);
        control<QCheckBox>("chkAlpha")->setChecked(false);
        control<QLineEdit>("NumCharKeep")->setText(QStringLiteral("0"));
        control<QLineEdit>("FilePrefix")->setText(QStringLiteral("IMG_"));
        control<QLineEdit>("FileLeading")->setText(QString());
        control<QLineEdit>("StartingNumber")->setText(cameraName(QString(), 1, m_count).chopped(4));
        control<QLineEdit>("NumberIncValue")->setText(QStringLiteral("1"));
    }

    // One key in the prefix field: the longest wait while the new names beside the files are
    // worked out, and the time from the key until all of them are shown (the pause after
    // the last key included).
    void liveNames()
    {
        LiveNames& live = *m_main->findChild<LiveNames*>();
        auto* prefix = control<QLineEdit>("FilePrefix");
        waitForLiveNames(live); // the names of the fields just set
        prefix->setFocus();
        prefix->end(false);
        bool shown = false;
        StepLine line = timed(QStringLiteral("live names: one keystroke in the prefix field"), [&] {
            typeKey(prefix, Qt::Key_X, QStringLiteral("X"));
            shown = waitForLiveNames(live);
        });
        const QString difference = listDifference(namesIn(fileList(), QStringLiteral("New Name")),
                                                  cameraNames(QStringLiteral("IMG_X"), m_count));
        if (!shown || !difference.isEmpty()) {
            line.ok = false;
            line.note = shown ? difference : QStringLiteral("the new names were never shown");
        }
        report(line);
        typeKey(prefix, Qt::Key_Backspace, QString());
        waitForLiveNames(live);
    }

    bool pressable(QPushButton* button, StepLine& line)
    {
        if (button->isEnabled())
            return true;
        line.ok = false;
        line.note = button->text() + QStringLiteral(" is not enabled");
        report(line);
        return false;
    }

    void preview()
    {
        StepLine line;
        line.name = QStringLiteral("preview (check + fill)");
        auto* button = control<QPushButton>("PreviewBut");
        if (!pressable(button, line))
            return;
        line = timed(line.name, [button] { button->click(); });
        const auto* previewList = control<QAbstractItemView>("PreviewList");
        const QString difference = listDifference(namesIn(previewList, QStringLiteral("New Name")),
                                                  cameraNames(QStringLiteral("IMG_"), m_count));
        if (!previewList->isVisible() || !difference.isEmpty()) {
            line.ok = false;
            line.note = previewList->isVisible() ? difference : QStringLiteral("no preview shown");
        }
        report(line);
        button->click(); // back to the file list
    }

    // A run ends by listing the folder again; the list's reset tells that it did. The
    // renames end when the run says so, their record in the undo history closed (its last
    // flush is the run's cost); their longest wait is counted up to the event loop's last
    // pass before the reset. The files are then listed with `prefix`; the names expected
    // are made once the step is over, so that its peak memory is the window's own.
    void splitRun(const QString& name, QPushButton* button, const QString& prefix)
    {
        StepLine line;
        line.name = name + QStringLiteral(": renames");
        if (pressable(button, line))
            splitRun(
                name, [button] { button->click(); }, prefix);
    }

    void splitRun(const QString& name, const std::function<void()>& action, const QString& prefix)
    {
        StepLine line;
        line.name = name + QStringLiteral(": renames");
        settleWrites(m_folder); // as before the floor's renames
        double endedMs = -1;    // the run's renames over, their record closed
        const auto ended =
            QObject::connect(m_main->findChild<RunController*>(), &RunController::renamesEnded,
                             [&] { endedMs = m_probe.elapsedMs(); });
        double wakeMs = -1; // the event loop's last pass before the list's reset
        double renameWait = 0;
        const auto connection =
            QObject::connect(fileList()->model(), &QAbstractItemModel::modelAboutToBeReset, [&] {
                if (wakeMs < 0) {
                    const StepProbe::Part renames = m_probe.splitAtLastWake();
                    wakeMs = renames.ms;
                    renameWait = renames.waitMs;
                }
            });
        const StepLine whole = timed(line.name, action);
        QObject::disconnect(connection);
        QObject::disconnect(ended);
        // No pass of the event loop before the list was filled: the step cannot be split,
        // and the renames are charged with all of it.
        const bool split = wakeMs > 0;
        line.ms = split ? std::max(wakeMs, endedMs) : whole.ms;
        line.waitMs = split ? renameWait : whole.waitMs;
        if (!split)
            line.note = QStringLiteral("the event loop never ran; the rebuild is counted here");
        StepLine listing;
        listing.name = name + QStringLiteral(": closing rebuild");
        listing.ms = whole.ms - line.ms;
        listing.waitMs = split ? whole.waitMs : 0;
        expectListed(listing, cameraNames(prefix, m_count));
        if (wakeMs < 0) {
            listing.ok = false;
            listing.note = QStringLiteral("the list was not filled again");
        }
        report(line);
        report(listing);
    }

    void apply()
    {
        splitRun(QStringLiteral("apply"), control<QPushButton>("ApplyBut"), QStringLiteral("IMG_"));
    }

    void wildcardRename()
    {
        control<QCheckBox>("RenameChk")->setChecked(false);
        auto* pattern = control<QLineEdit>("WildCardRen");
        pattern->setText(QStringLiteral("DSC*.JPG"));
        // IMG_00001.JPG under "DSC*.JPG": three letters overwritten, the rest kept.
        splitRun(QStringLiteral("wildcard rename"), control<QPushButton>("ApplyBut"),
                 QStringLiteral("DSC_"));
        pattern->setText(QString());
    }

    // Ctrl+Alt+Z after the wildcard rename, its question answered "Yes": every file goes
    // back to its name from before. The list is rebuilt with every camera file listed.
    void undo()
    {
        auto* files = m_main->findChild<FilePane*>();
        files->setSpecs(QStringLiteral("*.JPG")); // as typed and left: the rebuild lists with it
        splitRun(
            QStringLiteral("undo"), [files] { emit files->undoRequested(); },
            QStringLiteral("IMG_"));
    }

    QString m_folder;
    QString m_emptyFolder;
    int m_count;
    QuietFeedback m_feedback;
    StepProbe m_probe;
    std::unique_ptr<Main> m_main;
    int m_failures = 0;
};

} // namespace

int runWindowSteps(const QString& folder, const QString& emptyFolder, int count)
{
    return Driver(folder, emptyFolder, count).run();
}

int runCameraSteps(const QString& folder, int count)
{
    return Driver(folder, {}, count).runCamera();
}

} // namespace pellory::bench

#include "WindowSteps.h"

#include "Probe.h"

#include "platform/Rename.h"

#include "window/Feedback.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelection>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>

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
    void message(const QString& text, const QString& title, int) override
    {
        said.append(title + QStringLiteral(": ") + text);
    }
};

// Passes the window's renames to the system's and notes when the last one returned: a
// run's renames end there, which can be a few milliseconds of renames after the event
// loop last ran.
class TimedRenamer final : public FileRenamer
{
public:
    explicit TimedRenamer(const StepProbe& probe) : m_probe(probe) {}
    double lastMs = -1;

    RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRawName,
                         const QString& newName, RenameObserver* observer = nullptr) override
    {
        const RenameOutcome outcome = m_system.rename(folder, oldRawName, newName, observer);
        lastMs = m_probe.elapsedMs();
        return outcome;
    }
    RenameOutcome renameRaw(const QByteArray& folder, const QByteArray& oldRawName,
                            const QByteArray& newRawName,
                            RenameObserver* observer = nullptr) override
    {
        const RenameOutcome outcome = m_system.renameRaw(folder, oldRawName, newRawName, observer);
        lastMs = m_probe.elapsedMs();
        return outcome;
    }

private:
    const StepProbe& m_probe;
    SystemRenamer m_system;
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
    std::sort(times.begin(), times.end());
    return times[1];
}

// std::sort of the keys the sort order compares, as the catalogue stands before it.
double stdSortMs(const Catalogue& catalogue, int order)
{
    const bool descending = order % 2 == 1;
    if (order >= 4) {
        std::vector<quint64> keys;
        for (const FileRecord& record : catalogue.FileRecords)
            keys.push_back(record.WriteTime);
        return medianSortMs(keys, descending);
    }
    std::vector<QString> keys;
    for (const FileRecord& record : catalogue.FileRecords)
        keys.push_back(order < 2 ? record.NameKey : record.ExtKey);
    return medianSortMs(keys, descending);
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
        preview();
        apply();
        wildcardRename();
        m_main->close();
        m_main.reset();
        return m_failures == 0 ? 0 : 1;
    }

private:
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
        const QString difference = listDifference(m_main->FileList->names()->names(), expected);
        if (!difference.isEmpty()) {
            line.ok = false;
            line.note = difference;
        }
    }

    void expectCount(StepLine& line)
    {
        if (m_main->FileList->count() != m_count) {
            line.ok = false;
            line.note = QStringLiteral("%1 files listed").arg(m_main->FileList->count());
        }
    }

    void startUp()
    {
        StepLine line = timed(QStringLiteral("start-up, list filled"), [this] {
            m_main = std::make_unique<Main>(&m_feedback);
            m_main->show();
            QCoreApplication::processEvents();
        });
        expectListed(line, cameraNames(QStringLiteral("DSC"), m_count));
        report(line);
    }

    void rebuild()
    {
        m_main->DirList->setPath(m_emptyFolder);
        StepLine line = timed(QStringLiteral("rebuild after folder change"),
                              [this] { m_main->DirList->setPath(m_folder); });
        expectCount(line);
        report(line);
    }

    // Each order twice: the first time from the order before, the second on its own
    // output. Choosing the item already shown raises no change in a Qt combo box, so the
    // second choice raises the box's change signal itself, as the old list box's click did.
    void sorts()
    {
        for (const int order : {1, 2, 3, 4, 5, 0}) {
            for (const bool again : {false, true}) {
                const QString name =
                    QStringLiteral("sort %1%2")
                        .arg(m_main->FileSortOrder->itemText(order), again ? " again" : "");
                const double floor = stdSortMs(m_main->catalogue(), order);
                StepLine line = timed(name, [this, order, again] {
                    if (again)
                        QMetaObject::invokeMethod(m_main->FileSortOrder, "currentIndexChanged",
                                                  Qt::DirectConnection, Q_ARG(int, order));
                    else
                        m_main->FileSortOrder->setCurrentIndex(order);
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
        if (order == 2 || order == 3)
            return expectCount(line);
        const bool descending = order == 1 || order == 5;
        expectListed(line, cameraNames(QStringLiteral("DSC"), m_count, descending));
    }

    void selectEverySecond()
    {
        const double floor = selectionFloorMs(m_main->FileList->names()->names());
        StepLine line = timed(QStringLiteral("select every 2"),
                              [this] { m_main->SelSteps->setText(QStringLiteral("2")); });
        line.floorMs = floor;
        const int selected = m_main->FileList->selectedCount();
        if (selected != m_count / 2 && selected != (m_count + 1) / 2) {
            line.ok = false;
            line.note = QStringLiteral("%1 selected").arg(selected);
        }
        report(line);
        // Every file takes part in the runs that follow, as with the peers.
        m_main->SelSteps->setText(QString());
    }

    void setNamingFields()
    {
        m_main->RenameChk->setChecked(true);
        m_main->chkAlpha->setChecked(false);
        m_main->NumCharKeep->setText(QStringLiteral("0"));
        m_main->FilePrefix->setText(QStringLiteral("IMG_"));
        m_main->FileLeading->setText(QString());
        m_main->StartingNumber->setText(cameraName(QString(), 1, m_count).chopped(4));
        m_main->NumberIncValue->setText(QStringLiteral("1"));
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
        if (!pressable(m_main->PreviewBut, line))
            return;
        line = timed(line.name, [this] { m_main->PreviewBut->click(); });
        const QString difference = listDifference(m_main->PreviewList->names()->names(),
                                                  cameraNames(QStringLiteral("IMG_"), m_count));
        if (!m_main->previewMode() || !difference.isEmpty()) {
            line.ok = false;
            line.note = m_main->previewMode() ? difference : QStringLiteral("no preview shown");
        }
        report(line);
        m_main->PreviewBut->click(); // back to the file list
    }

    // A run ends by listing the folder again; the list's reset tells that it did. The
    // renames end when the last one returns; their longest wait is counted up to the event
    // loop's last pass before the reset.
    void splitRun(const QString& name, QPushButton* button, const QStringList& expected)
    {
        StepLine line;
        line.name = name + QStringLiteral(": renames");
        if (!pressable(button, line))
            return;
        settleWrites(m_folder); // as before the floor's renames
        TimedRenamer renamer(m_probe);
        installRenamer(&renamer);
        double wakeMs = -1; // the event loop's last pass before the list's reset
        double renameWait = 0;
        const auto connection = QObject::connect(
            m_main->FileList->names(), &QAbstractItemModel::modelAboutToBeReset, [&] {
                if (wakeMs < 0) {
                    const StepProbe::Part renames = m_probe.splitAtLastWake();
                    wakeMs = renames.ms;
                    renameWait = renames.waitMs;
                }
            });
        const StepLine whole = timed(line.name, [button] { button->click(); });
        QObject::disconnect(connection);
        installRenamer(nullptr);
        // No pass of the event loop before the list was filled: the step cannot be split,
        // and the renames are charged with all of it.
        const bool split = wakeMs > 0;
        line.ms = split ? std::max(wakeMs, renamer.lastMs) : whole.ms;
        line.waitMs = split ? renameWait : whole.waitMs;
        if (!split)
            line.note = QStringLiteral("the event loop never ran; the rebuild is counted here");
        StepLine listing;
        listing.name = name + QStringLiteral(": closing rebuild");
        listing.ms = whole.ms - line.ms;
        listing.waitMs = split ? whole.waitMs : 0;
        expectListed(listing, expected);
        if (wakeMs < 0) {
            listing.ok = false;
            listing.note = QStringLiteral("the list was not filled again");
        }
        report(line);
        report(listing);
    }

    void apply()
    {
        splitRun(QStringLiteral("apply"), m_main->ApplyBut,
                 cameraNames(QStringLiteral("IMG_"), m_count));
    }

    void wildcardRename()
    {
        m_main->RenameChk->setChecked(false);
        m_main->WildCardRen->setText(QStringLiteral("DSC*.JPG"));
        // IMG_00001.JPG under "DSC*.JPG": three letters overwritten, the rest kept.
        splitRun(QStringLiteral("wildcard rename"), m_main->ApplyBut,
                 cameraNames(QStringLiteral("DSC_"), m_count));
        m_main->WildCardRen->setText(QString());
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

QString cameraName(const QString& prefix, int number, int count)
{
    const int digits = count > 99999 ? 6 : 5;
    return prefix + QStringLiteral("%1.JPG").arg(number, digits, 10, QLatin1Char('0'));
}

QString StepLine::format() const
{
    return QStringLiteral("step\t%1\t%2\t%3\t%4\t%5\t%6\t%7")
        .arg(name)
        .arg(ms, 0, 'f', 3)
        .arg(waitMs, 0, 'f', 3)
        .arg(peakKb)
        .arg(floorMs, 0, 'f', 3)
        .arg(ok ? 1 : 0)
        .arg(note.simplified());
}

bool StepLine::parse(const QString& line, StepLine& out)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != 8 || fields[0] != QLatin1String("step"))
        return false;
    out.name = fields[1];
    out.ms = fields[2].toDouble();
    out.waitMs = fields[3].toDouble();
    out.peakKb = fields[4].toLongLong();
    out.floorMs = fields[5].toDouble();
    out.ok = fields[6] == QLatin1String("1");
    out.note = fields[7];
    return true;
}

int runWindowSteps(const QString& folder, const QString& emptyFolder, int count)
{
    return Driver(folder, emptyFolder, count).run();
}

} // namespace pellory::bench

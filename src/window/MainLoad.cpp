// Start-up, close and the stored settings: Form_Load restores the user's choices in an
// order that lets each restored value raise its control's handler; Form_Unload stores them.

#include "settings/StoredSettings.h"
#include "window/DriveSelector.h"
#include "window/Feedback.h"
#include "window/FolderSelector.h"
#include "window/Main.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSessionManager>

#include <cmath>
#include <optional>

namespace pellory {

namespace {

constexpr double kTwipsPerInch = 1440.0;

QScreen* screen()
{
    return QGuiApplication::primaryScreen();
}

double twipsPerPixelX()
{
    return kTwipsPerInch / screen()->logicalDotsPerInchX();
}

double twipsPerPixelY()
{
    return kTwipsPerInch / screen()->logicalDotsPerInchY();
}

// Half the free room, as whole twips: the difference rounds half to even first, and the
// halving truncates towards zero.
int centred(double screenTwips, double windowTwips)
{
    return int(std::nearbyint(screenTwips - windowTwips)) / 2;
}

bool isKey(const char* key, const char* name)
{
    return qstrcmp(key, name) == 0;
}

} // namespace

Main::Main(Feedback* feedback, QWidget* parent) : QWidget(parent), m_feedback(feedback)
{
    if (!m_feedback) {
        m_ownFeedback = std::make_unique<Feedback>();
        m_feedback = m_ownFeedback.get();
    }
    createControls();
    fillTexts();
    setInitialStates();
    setFocusOrder();
    placeControls();
    connectHandlers();
#if QT_CONFIG(sessionmanager)
    // A log-off or shutdown is a close request too: refused while a run is under way.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (m_runState != RunState::Idle && manager.allowsInteraction()) {
            m_feedback->beep();
            manager.cancel();
        }
    });
#endif
    Form_Load();
}

Main::~Main() = default;

void Main::Form_Load()
{
    m_runState = RunState::Idle;
    m_helpDocument = QCoreApplication::applicationDirPath() + QStringLiteral("/Pellory.hlp");
    qApp->setProperty("helpDocument", m_helpDocument);
    PreviewMode = false;
    AlphaNumberText = QStringLiteral("AAA");
    AlphaIncrementText = QStringLiteral("1");
    NumberText = QStringLiteral("001");
    IncrementText = QStringLiteral("1");
    centreWindow();
    const StoredSettings store;
    restoreWindowPosition(store);
    NewExt->setCurrentIndex(0);
    FileSortOrder->setCurrentIndex(0);
    // From here a value the control refuses is skipped, and start-up goes on.
    for (const SettingKey& key : kRestoreOrder) {
        if (!isKey(key.name, "WindowTop") && !isKey(key.name, "WindowLeft"))
            restoreSetting(key.name, store.value(key.name));
    }
}

void Main::centreWindow()
{
    const QRect area = screen()->geometry();
    const QRect outer = frameGeometry();
    // Raised by the height of the title bar and borders, once they are known.
    const int decoration = std::max(0, outer.height() - height());
    const int left = centred(area.width() * twipsPerPixelX(), outer.width() * twipsPerPixelX());
    const int top = centred(area.height() * twipsPerPixelY(), outer.height() * twipsPerPixelY()) -
                    int(decoration * twipsPerPixelY());
    move(qRound(left / twipsPerPixelX()), qRound(top / twipsPerPixelY()));
}

void Main::restoreWindowPosition(const StoredSettings& store)
{
    const QRect area = screen()->geometry();
    const auto stored = [&](const char* key, double screenTwips) -> std::optional<float> {
        const QString text = store.value(key);
        const std::optional<float> twips = text.isEmpty() ? std::nullopt : storedCoordinate(text);
        // Below zero the window would start off the screen: the centred value stays.
        if (!twips || *twips >= float(screenTwips) || *twips < 0)
            return std::nullopt;
        return twips;
    };
    QPoint at = pos();
    if (const auto top = stored("WindowTop", area.height() * twipsPerPixelY()))
        at.setY(qRound(*top / twipsPerPixelY()));
    if (const auto left = stored("WindowLeft", area.width() * twipsPerPixelX()))
        at.setX(qRound(*left / twipsPerPixelX()));
    move(at);
}

void Main::restoreSetting(const char* key, const QString& text)
{
    const auto index = [&](int first, int last) -> std::optional<int> {
        const std::optional<qint16> value = storedIndex(text);
        if (!value || *value < first || *value > last)
            return std::nullopt;
        return *value;
    };
    if (isKey(key, "Specs")) {
        FileSpecs->setText(text);
    } else if (isKey(key, "LastDrive")) {
        if (!text.isEmpty())
            DriveList->setDrive(text);
    } else if (isKey(key, "LastDir")) {
        // The list fills at start even when the stored folder is the one already shown;
        // no stored folder means the folder shown.
        const int before = m_dirChanges;
        if (!text.isEmpty() && !DirList->setPath(text))
            return;
        if (m_dirChanges == before)
            DirList_Change();
    } else if (isKey(key, "Cases")) {
        if (const auto i = index(0, CasesList->count() - 1))
            CasesList->setCurrentIndex(*i);
    } else if (isKey(key, "Keep")) {
        NumCharKeep->setText(text);
    } else if (isKey(key, "Prefix")) {
        FilePrefix->setText(text);
    } else if (isKey(key, "Number")) {
        StartingNumber->setText(text);
        NumberText = StartingNumber->text();
    } else if (isKey(key, "Increment")) {
        NumberIncValue->setText(text);
        IncrementText = NumberIncValue->text();
    } else if (isKey(key, "AlphaNumber")) {
        AlphaNumberText = text;
    } else if (isKey(key, "AlphaIncrement")) {
        AlphaIncrementText = text;
    } else if (isKey(key, "Alpha")) {
        if (const auto i = index(0, 1))
            chkAlpha->setChecked(*i == 1);
    } else if (isKey(key, "Leading")) {
        FileLeading->setText(text);
    } else if (isKey(key, "FileExt")) {
        if (const auto i = index(0, 2))
            ExtUsed[*i]->setChecked(true);
    } else if (isKey(key, "NewExtInx")) {
        if (const auto i = index(-1, NewExt->count() - 1))
            NewExt->setCurrentIndex(*i);
    } else if (isKey(key, "NewExtUser")) {
        if (NewExt->currentIndex() == -1)
            NewExt->setEditText(text);
    } else if (isKey(key, "SelSteps")) {
        SelSteps->setText(text);
    }
}

QString Main::storedText(const char* key) const
{
    if (isKey(key, "WindowTop"))
        return coordinateText(float(std::lround(pos().y() * twipsPerPixelY())));
    if (isKey(key, "WindowLeft"))
        return coordinateText(float(std::lround(pos().x() * twipsPerPixelX())));
    if (isKey(key, "LastDrive"))
        return DriveList->drive();
    if (isKey(key, "LastDir"))
        return DirList->path();
    if (isKey(key, "Specs"))
        return FileSpecs->text();
    if (isKey(key, "Cases"))
        return QString::number(CasesList->currentIndex());
    if (isKey(key, "Keep"))
        return NumCharKeep->text();
    if (isKey(key, "Prefix"))
        return FilePrefix->text();
    if (isKey(key, "Number"))
        return NumberText;
    if (isKey(key, "Increment"))
        return IncrementText;
    if (isKey(key, "AlphaNumber"))
        return AlphaNumberText;
    if (isKey(key, "AlphaIncrement"))
        return AlphaIncrementText;
    if (isKey(key, "Alpha"))
        return chkAlpha->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (isKey(key, "Leading"))
        return FileLeading->text();
    if (isKey(key, "FileExt"))
        return QString::number(extensionMode());
    if (isKey(key, "NewExtInx"))
        return QString::number(NewExt->currentIndex());
    if (isKey(key, "NewExtUser"))
        return NewExt->currentText();
    if (isKey(key, "SelSteps"))
        return SelSteps->text();
    return QString();
}

void Main::Form_Unload()
{
    StoredSettings store;
    for (const SettingKey& key : kStoreOrder) {
        // A typed extension is kept in the store until another one is typed.
        if (isKey(key.name, "NewExtUser") && NewExt->currentIndex() != -1)
            continue;
        store.setValue(key.name, storedText(key.name));
    }
    QString error;
    if (!store.flush(&error)) {
        m_feedback->message(
            QStringLiteral("Your settings could not be saved, so they will not be restored "
                           "at the next start.\n\n") +
                error,
            QStringLiteral("Pellory - Error"), Feedback::kWarning);
    }
}

bool Main::Form_QueryUnload()
{
    if (m_runState == RunState::Idle)
        return true;
    m_feedback->beep();
    return false;
}

void Main::closeEvent(QCloseEvent* event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

} // namespace pellory

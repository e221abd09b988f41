// Start-up, close and the stored settings: Form_Load restores the user's choices in an
// order that lets each restored value raise its control's handler; Form_Unload stores them.

#include "settings/StoredSettings.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/Main.h"
#include "window/MainHelp.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace pellory {

namespace {

// The installed icon, so that the window shows what the desktop shows for Pellory; the copy
// built in when the icon theme has none (a program run from its build folder).
QIcon pelloryIcon()
{
    QIcon bundled(QStringLiteral(":/icons/io.github.pellory.Pellory.svg"));
    // Without Qt's SVG support the drawing shows nothing; the 32 x 32 picture stands in.
    bundled.addFile(QStringLiteral(":/icons/io.github.pellory.Pellory.png"));
    return QIcon::fromTheme(QStringLiteral("io.github.pellory.Pellory"), bundled);
}

QScreen* primaryScreen()
{
    return QGuiApplication::primaryScreen();
}

// Half the free room, as whole twips: the difference rounds half to even first, and the
// halving truncates towards zero.
int centred(double screenTwips, double windowTwips)
{
    return int(std::nearbyint(screenTwips - windowTwips)) / 2;
}

} // namespace

Main::Main(Feedback* feedback, QWidget* parent) : QWidget(parent), m_feedback(feedback)
{
    if (!m_feedback) {
        m_ownFeedback = std::make_unique<Feedback>();
        m_feedback = m_ownFeedback.get();
    }
    m_run = new RunController(*m_feedback, this);
    m_outer = new QVBoxLayout(this);
    setWindowTitle(QStringLiteral("Pellory"));
    setWindowIcon(pelloryIcon());
    createControls();
    setFocusOrder();
    placeControls();
    connectHandlers();
#if QT_CONFIG(sessionmanager)
    // A log-off or shutdown is a close request too: refused while a run is under way.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (manager.allowsInteraction() && !m_run->mayAct(RunController::IfBusy::Beep))
            manager.cancel();
    });
#endif
    Form_Load();
}

Main::~Main() = default;

double Main::twipsPerPixel(Qt::Orientation along)
{
    const QScreen* primary = primaryScreen();
    return kTwipsPerInch / (along == Qt::Horizontal ? primary->logicalDotsPerInchX()
                                                    : primary->logicalDotsPerInchY());
}

void Main::Form_Load()
{
    m_run->setRunState(RunState::Idle);
    // The application's help document is the user guide installed beside the program.
    qApp->setProperty("helpDocument", expectedUserGuide(QCoreApplication::applicationDirPath()));
    m_run->setPreviewMode(false);
    m_naming->counterTexts() = CounterTexts(); // "001", "1", "AAA", "1"
    centreWindow();
    const StoredSettings store;
    restoreWindowPosition(store);
    m_naming->NewExt->setCurrentIndex(0);
    m_files->FileSortOrder->setCurrentIndex(0);
    // From here a value the control refuses is skipped, and start-up goes on.
    for (const SettingKey key : kRestoreOrder)
        restoreSetting(key, store.value(key));
}

void Main::centreWindow()
{
    const QRect area = primaryScreen()->geometry();
    const QRect outer = frameGeometry();
    // Raised by the height of the title bar and borders. Before the window is first shown
    // the platform has not framed it yet; the style's title bar height stands in.
    int decoration = outer.height() - height();
    if (decoration <= 0)
        decoration = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int left = centred(area.width() * twipsPerPixel(Qt::Horizontal),
                             outer.width() * twipsPerPixel(Qt::Horizontal));
    const int top = centred(area.height() * twipsPerPixel(Qt::Vertical),
                            outer.height() * twipsPerPixel(Qt::Vertical)) -
                    int(decoration * twipsPerPixel(Qt::Vertical));
    move(qRound(left / twipsPerPixel(Qt::Horizontal)), qRound(top / twipsPerPixel(Qt::Vertical)));
}

void Main::restoreWindowPosition(const StoredSettings& store)
{
    const QRect area = primaryScreen()->geometry();
    const auto stored = [&](SettingKey key, double screenTwips) -> std::optional<float> {
        const QString text = store.value(key);
        const std::optional<float> twips = text.isEmpty() ? std::nullopt : storedCoordinate(text);
        // Below zero the window would start off the screen: the centred value stays.
        if (!twips || *twips >= float(screenTwips) || *twips < 0)
            return std::nullopt;
        return twips;
    };
    QPoint at = pos();
    if (const auto top = stored(SettingKey::WindowTop, area.height() * twipsPerPixel(Qt::Vertical)))
        at.setY(qRound(*top / twipsPerPixel(Qt::Vertical)));
    if (const auto left =
            stored(SettingKey::WindowLeft, area.width() * twipsPerPixel(Qt::Horizontal)))
        at.setX(qRound(*left / twipsPerPixel(Qt::Horizontal)));
    move(at);
}

void Main::Form_Unload()
{
    StoredSettings store;
    for (const SettingKey key : kStoreOrder) {
        if (const std::optional<QString> text = settingToStore(key))
            store.setValue(key, *text);
    }
    QString error;
    if (!store.flush(&error)) {
        m_feedback->message(
            QStringLiteral("Your settings could not be saved, so they will not be restored "
                           "at the next start.\n\n") +
                error,
            QStringLiteral("Pellory - Error"), Feedback::Style::Warning);
    }
}

bool Main::Form_QueryUnload()
{
    return m_run->mayAct(RunController::IfBusy::Beep);
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

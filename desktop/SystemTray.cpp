#include "desktop/SystemTray.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace
{
// Qt's widget for an icon embedded in an XEmbed tray
constexpr const char* kXEmbedIconClass = "QSystemTrayIconSys";
} // namespace

std::optional<TrayEvent> TrayActivity::activated(QSystemTrayIcon::ActivationReason reason,
                                                 Qt::MouseButtons held, qint64 nowMs,
                                                 int doubleClickMs)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (held.testFlag(Qt::LeftButton))
            return std::nullopt;
        if (m_lastActivation && nowMs - *m_lastActivation <= doubleClickMs) {
            m_lastActivation.reset();
            return TrayEvent::DoubleClick;
        }
        m_lastActivation = nowMs;
        return std::nullopt;
    case QSystemTrayIcon::DoubleClick:
        return TrayEvent::DoubleClick;
    case QSystemTrayIcon::Context:
        if (held.testFlag(Qt::RightButton)) {
            m_awaitingRelease = true;
            return std::nullopt;
        }
        return TrayEvent::ContextMenu;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
    return std::nullopt;
}

std::optional<TrayEvent> TrayActivity::rightReleased()
{
    if (!m_awaitingRelease)
        return std::nullopt;
    m_awaitingRelease = false;
    return TrayEvent::ContextMenu;
}

SystemTray::SystemTray()
{
    m_clock.start();
}

SystemTray::~SystemTray()
{
    remove();
}

bool SystemTray::add(const QIcon& icon, const QString& tip, QMenu* menu,
                     std::function<void(TrayEvent)> onEvent)
{
    if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tip);
    m_onEvent = std::move(onEvent);
    // A status-notifier host that draws the item's menu itself reads it once, when the item is
    // registered, so the menu goes with the item from the start.
    m_icon->setContextMenu(menu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &SystemTray::onActivated);
    qApp->installEventFilter(this);
    m_icon->show();
    // An XEmbed icon would open an attached menu on the right press; there the program opens
    // its own menu on the release, which it awaits below.
    if (shownAsXEmbedIcon())
        m_icon->setContextMenu(nullptr);
    return true;
}

bool SystemTray::shownAsXEmbedIcon()
{
    // Qt's XEmbed icon is a widget of its own; a status-notifier item has none.
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* w) { return w->inherits(kXEmbedIconClass); });
}

void SystemTray::remove()
{
    if (!m_icon)
        return;
    qApp->removeEventFilter(this);
    m_icon->hide();
    m_icon.reset();
}

void SystemTray::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    deliver(m_activity.activated(reason, QGuiApplication::mouseButtons(), m_clock.elapsed(),
                                 QApplication::doubleClickInterval()));
}

bool SystemTray::eventFilter(QObject* watched, QEvent* event)
{
    // Qt reports a second right press within the double-click time only as a double-click,
    // and no button release at all; both are watched on the XEmbed icon's own widget (the X
    // server sends the release to the icon that saw the press, wherever the pointer is).
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease)
        return false;
    if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton ||
        !watched->inherits(kXEmbedIconClass))
        return false;
    if (type == QEvent::MouseButtonDblClick)
        m_activity.rightDoubleClicked();
    else
        deliver(m_activity.rightReleased());
    return false;
}

void SystemTray::deliver(std::optional<TrayEvent> event)
{
    // From the event loop, once the tray has finished with the mouse event
    if (event)
        QTimer::singleShot(0, this, [this, e = *event] {
            if (m_icon && m_onEvent)
                m_onEvent(e);
        });
}

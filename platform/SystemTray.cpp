#include "platform/SystemTray.h"

#include <QApplication>
#include <QMouseEvent>

std::vector<int> TrayActivity::activated(QSystemTrayIcon::ActivationReason reason,
                                         Qt::MouseButtons held, qint64 nowMs, int doubleClickMs)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (held.testFlag(Qt::LeftButton))
            return {tray_message::LeftButtonDown};
        if (m_lastActivation && nowMs - *m_lastActivation <= doubleClickMs) {
            m_lastActivation.reset();
            return {tray_message::LeftButtonDoubleClick};
        }
        m_lastActivation = nowMs;
        return {tray_message::LeftButtonDown};
    case QSystemTrayIcon::DoubleClick:
        return {tray_message::LeftButtonDoubleClick};
    case QSystemTrayIcon::Context:
        if (held.testFlag(Qt::RightButton)) {
            m_awaitingRelease = true;
            return {tray_message::RightButtonDown};
        }
        return {tray_message::RightButtonUp};
    case QSystemTrayIcon::MiddleClick:
        return {tray_message::MiddleButtonDown};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {tray_message::MouseMove};
}

std::vector<int> TrayActivity::rightDoubleClicked()
{
    m_awaitingRelease = true;
    return {tray_message::RightButtonDoubleClick};
}

std::vector<int> TrayActivity::rightReleased()
{
    if (!m_awaitingRelease)
        return {};
    m_awaitingRelease = false;
    return {tray_message::RightButtonUp};
}

SystemTray::SystemTray()
{
    m_clock.start();
}

SystemTray::~SystemTray()
{
    remove();
}

bool SystemTray::add(const NotifyIconData& data)
{
    if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_icon = std::make_unique<QSystemTrayIcon>();
    // No context menu is attached: the program opens its own menu on the right button's
    // release, which it awaits below.
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &SystemTray::onActivated);
    qApp->installEventFilter(this);
    modify(data);
    m_icon->show();
    return true;
}

void SystemTray::modify(const NotifyIconData& data)
{
    if (!m_icon)
        return;
    m_data = data;
    m_icon->setIcon(data.hIcon);
    // The tip field ends at its first NUL, like a C string.
    m_icon->setToolTip(data.szTip.section(QChar(0), 0, 0));
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
        !watched->inherits("QSystemTrayIconSys"))
        return false;
    deliver(type == QEvent::MouseButtonDblClick ? m_activity.rightDoubleClicked()
                                                : m_activity.rightReleased());
    return false;
}

void SystemTray::deliver(const std::vector<int>& messages)
{
    for (int message : messages)
        postTrayMessage(m_data, message);
}

// The desktop's tray on Linux: a QSystemTrayIcon (a StatusNotifierItem over D-Bus where a host is
// registered, else an XEmbed icon) whose mouse activity is reported as tray events.
#pragma once

#include "seams/Desktop.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <optional>

// Turns Qt's tray activations into tray events. Over an XEmbed icon Qt reports real button
// presses (the button is still held): a left press, a double-click, and a right press whose
// release, reported later, asks for the menu. A D-Bus host reports activations and context-menu
// requests, which already follow a release: two activations within the double-click interval
// make a double-click.
class TrayActivity
{
public:
    std::optional<TrayEvent> activated(QSystemTrayIcon::ActivationReason reason,
                                       Qt::MouseButtons held, qint64 nowMs, int doubleClickMs);
    // A second right press within the double-click time, which Qt reports instead of a press.
    void rightDoubleClicked() { m_awaitingRelease = true; }
    std::optional<TrayEvent> rightReleased();

private:
    bool m_awaitingRelease = false;
    std::optional<qint64> m_lastActivation;
};

class SystemTray : public QObject
{
public:
    SystemTray();
    ~SystemTray() override;

    // False when the desktop has no tray. A tray that shows an item's menu itself offers menu
    // on a right click; elsewhere the program opens it on a ContextMenu event.
    bool add(const QIcon& icon, const QString& tip, QMenu* menu,
             std::function<void(TrayEvent)> onEvent);
    void remove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool shownAsXEmbedIcon();
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void deliver(std::optional<TrayEvent> event);

    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::function<void(TrayEvent)> m_onEvent;
    TrayActivity m_activity;
    QElapsedTimer m_clock;
};

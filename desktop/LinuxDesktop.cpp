#include "desktop/LinuxDesktop.h"

#include "seams/Log.h"

#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <QWindow>

void LinuxDesktop::messageBox(const QString& text, const QString& caption, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok);
    box.exec();
}

void LinuxDesktop::setTopmost(QWidget* window, bool on)
{
    // On the QWindow, so the window is neither hidden nor moved (QWidget::setWindowFlag would
    // recreate it); a hidden window takes the state when it is shown.
    window->winId();
    QWindow* handle = window->windowHandle();
    if (handle == nullptr)
        return;
    handle->setFlag(Qt::WindowStaysOnTopHint, on);
    window->overrideWindowFlags(handle->flags());
}

QSize LinuxDesktop::screenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

void LinuxDesktop::takeFocus(QWidget* window)
{
    QWidget* top = window->window();
    if (top->isVisible())
        top->activateWindow();
}

void LinuxDesktop::popUpMenu(QMenu* menu)
{
    menu->exec(QCursor::pos());
}

bool LinuxDesktop::addTrayIcon(const QIcon& icon, const QString& tip, QMenu* menu,
                               std::function<void(TrayEvent)> onEvent)
{
    return m_tray.add(icon, tip, menu, std::move(onEvent));
}

void LinuxDesktop::openUrl(const QUrl& url)
{
    if (!QDesktopServices::openUrl(url))
        qCInfo(lcQuorvane) << "no handler took the address" << url.toString();
}

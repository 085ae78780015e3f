#include "main_window/Main.h"

#include "platform/Fonts.h"
#include "platform/LinuxPlatform.h"
#include "resources/Icons.h"
#include "resources/Style.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Windows are placed at remembered positions and kept on top, which Wayland leaves to the
    // compositor: run through XWayland there, and natively on Wayland only where no X server
    // can be reached.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    fonts::ConfigurationPreload fontConfiguration; // read while Qt connects to the display
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvane"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION_STRING));
    // Desktops group the windows with the menu entry. No display name is set: Qt would append
    // it to every window caption ("Explorer — Quorvane"), and the captions are the program's own.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVANE_APP_ID));
    QApplication::setWindowIcon(icons::bomb());
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new ProgramStyle); // the application owns it

    LinuxPlatform linuxPlatform;
    setPlatform(&linuxPlatform);
    fontConfiguration.join();
    fonts::useJapaneseFallback();

    Main main;
    if (!main.Form_Load())
        return 0;
    main.show();
    return QApplication::exec();
}

#include "main_window/Main.h"

#include "platform/LinuxPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Windows are placed at remembered positions and kept on top, which Wayland leaves to the
    // compositor: run through XWayland there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvane"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION_STRING));
    QApplication::setQuitOnLastWindowClosed(false);

    LinuxPlatform linuxPlatform;
    setPlatform(&linuxPlatform);
    LinuxPlatform::registerFontSubstitutes();

    Main main;
    if (!main.Form_Load())
        return 0;
    main.show();
    return QApplication::exec();
}

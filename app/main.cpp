#include "desktop/Fonts.h"
#include "desktop/LinuxDesktop.h"
#include "forms/Program.h"
#include "resources/Icons.h"
#include "resources/Style.h"
#include "system/LinuxSystem.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <optional>

namespace
{

// --help and --version answer on standard output before anything touches the display or the
// single-instance lock; an option neither this program nor Qt knows is an error. Returns the exit
// status when the command line is answered, nothing when the program is to start.
std::optional<int> answerCommandLine(int argc, char* argv[])
{
    if (argc < 2)
        return std::nullopt;
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION_STRING));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvane: the clock in the tray that ends "
                                                    "the desktop session at the alarm minute."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions); // -platform xcb
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options, handled when the application starts
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "geometry",
          "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "style", "stylesheet",
          "name", "title", "visual", "qmljsdebugger"}) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.errorText().isEmpty()
                                  ? QStringLiteral("unexpected argument '%1'")
                                        .arg(parser.positionalArguments().constFirst())
                                  : parser.errorText();
        std::fprintf(stderr, "quorvane: %s\nTry 'quorvane --help' for more information.\n",
                     qPrintable(error));
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("quorvane %s\n", QUORVANE_VERSION_STRING);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> answered = answerCommandLine(argc, argv))
        return *answered;
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

    // where the sound theme's bell cannot be played, the X11 bell
    LinuxSystem system([] { QApplication::beep(); });
    LinuxDesktop desktop;
    fontConfiguration.join();
    fonts::useJapaneseFallback();

    Program program(system, desktop);
    if (!program.start())
        return 0;
    return QApplication::exec();
}

#include "app/mdShell.h"

#include "main_window/Main.h"
#include "main_window/Tray.h"
#include "platform/NumberRules.h"
#include "platform/Platform.h"
#include "platform/Profile.h"
#include "platform/Twips.h"

namespace mdShell
{

namespace
{

RememberedPosition g_position;

// The Top and Left values are read into a 10-character buffer.
constexpr int kPositionBuffer = 10;

} // namespace

RememberedPosition& Position()
{
    return g_position;
}

void ResetPosition()
{
    g_position = RememberedPosition{};
}

double PlaceAxis(const QByteArray& text, int windowExtent, int screenExtent, std::int32_t& saved)
{
    if (text.isEmpty())
        return (screenExtent - windowExtent) / 2.0;
    saved = numbers::roundHalfEven(numbers::leadingNumber(text));
    return KeepOnScreen(saved, windowExtent, screenExtent);
}

int KeepOnScreen(std::int32_t edge, int windowExtent, int screenExtent)
{
    if (edge < 0)
        return 0;
    if (std::int64_t{windowExtent} + edge > screenExtent)
        return screenExtent - windowExtent;
    return edge;
}

bool EnsureSingleInstance()
{
    if (platform().acquireSingleInstance())
        return true;
    platform().messageBox(QStringLiteral("すでに起動してます"), QStringLiteral("Quorvane"),
                          MessageIcon::None);
    platform().endProcess();
    return false;
}

void PlaceMainWindow()
{
    Main* main = Main::instance();
    const QSize outer = twips::outerSize(main);
    const QSize screen = platform().screenSizeTwips();
    const double top = PlaceAxis(profile::getString("Top", kPositionBuffer), outer.height(),
                                 screen.height(), g_position.SavedTop);
    const double left = PlaceAxis(profile::getString("Left", kPositionBuffer), outer.width(),
                                  screen.width(), g_position.SavedLeft);
    twips::moveTo(main, left, top);
}

void HideMainWindow()
{
    Main* main = Main::instance();
    g_position.SavedTop = main->topTwips();
    g_position.SavedLeft = main->leftTwips();
    main->hide();
}

void ExitApplication()
{
    const Main* main = Main::instance();
    profile::writeString("MyPath", platform().executablePath().toUtf8());
    profile::writeString("Top", numbers::positionText(static_cast<float>(main->topTwips())));
    profile::writeString("Left", numbers::positionText(static_cast<float>(main->leftTwips())));
    mdBomb::DeleteTrayIcon();
    platform().endProcess();
}

} // namespace mdShell

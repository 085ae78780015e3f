#include "forms/Shell.h"

#include "forms/AppState.h"
#include "forms/MainWindow.h"
#include "forms/Twips.h"
#include "platform/Platform.h"
#include "rules/NumberRules.h"
#include "rules/SettingsFile.h"

namespace shell
{

namespace
{

// The Top and Left values are read into a 10-character buffer.
constexpr int kPositionBuffer = 10;

// Where one axis of the window goes: centred when nothing was read, else the number read, kept
// on the screen (saved receives the number as read).
double placeAxis(const QByteArray& text, int windowExtent, int screenExtent, std::int32_t& saved)
{
    if (text.isEmpty())
        return (screenExtent - windowExtent) / 2.0;
    saved = numbers::roundHalfEven(numbers::leadingNumber(text));
    return keepOnScreen(saved, windowExtent, screenExtent);
}

} // namespace

int keepOnScreen(std::int32_t edge, int windowExtent, int screenExtent)
{
    if (edge < 0)
        return 0;
    if (std::int64_t{windowExtent} + edge > screenExtent)
        return screenExtent - windowExtent;
    return edge;
}

bool ensureSingleInstance()
{
    if (platform().acquireSingleInstance())
        return true;
    platform().messageBox(QStringLiteral("すでに起動してます"), QStringLiteral("Quorvane"),
                          MessageIcon::None);
    platform().endProcess();
    return false;
}

void placeMainWindow(AppState& state)
{
    MainWindow* main = state.mainWindow;
    const QSize outer = twips::outerSize(main);
    const QSize screen = twips::screen();
    const double top = placeAxis(state.file.getString("Top", kPositionBuffer), outer.height(),
                                 screen.height(), state.position.top);
    const double left = placeAxis(state.file.getString("Left", kPositionBuffer), outer.width(),
                                  screen.width(), state.position.left);
    twips::moveTo(main, left, top);
}

void hideMainWindow(AppState& state)
{
    MainWindow* main = state.mainWindow;
    state.position.top = main->topTwips();
    state.position.left = main->leftTwips();
    main->hide();
}

void exitApplication(AppState& state)
{
    const MainWindow* main = state.mainWindow;
    state.file.writeString("MyPath", platform().executablePath().toUtf8());
    state.file.writeString("Top", numbers::positionText(static_cast<float>(main->topTwips())));
    state.file.writeString("Left", numbers::positionText(static_cast<float>(main->leftTwips())));
    platform().removeTrayIcon();
    platform().endProcess();
}

} // namespace shell

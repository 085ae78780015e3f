#include "bomb/mdBomb.h"

#include "about/frmAbout.h"
#include "bomb/frmFault.h"
#include "main_window/Main.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/fmArm.h"

#include <QPushButton>
#include <QTimer>

namespace mdBomb
{

namespace
{

bool g_inProgress = false;

void beeps(int count)
{
    for (int i = 0; i < count; ++i)
        platform().beep();
}

void beepAlert(Main& main)
{
    main.startBlinking();
    main.Command1->show();
    if (!main.isMinimized())
        main.setOuterHeightTwips(2580);
    beeps(6);
    beeps(6);
}

void showFault()
{
    fmArm::UnloadIfVisible();
    frmAbout::UnloadIfVisible();
    g_inProgress = true;
    // The clock timer does not fire again while its own tick waits here; a stand-in keeps the
    // clock and uptime labels current meanwhile (such ticks never detonate).
    QTimer standIn;
    if (Main* main = Main::instance()) {
        standIn.setInterval(main->Timer1->interval());
        QObject::connect(&standIn, &QTimer::timeout, main, &Main::Timer1_Timer);
        standIn.start();
    }
    frmFault::showModal();
    g_inProgress = false;
}

} // namespace

void Detonate()
{
    if (g_inProgress)
        return;
    const std::int16_t action = Settings().BomSetting;
    if (action == 0) {
        if (Main* main = Main::instance())
            beepAlert(*main);
    } else if (action >= 1 && action <= 3) {
        if (Settings().EasyMode != 1)
            DoWindowsExit();
        else
            showFault();
    }
}

void DoWindowsExit()
{
    ExitKind kind{};
    switch (Settings().BomSetting) {
    case 1:
        kind = ExitKind::Reboot;
        break;
    case 2:
        kind = ExitKind::Shutdown;
        break;
    case 3:
        kind = ExitKind::LogOff;
        break;
    default:
        return;
    }
    beeps(6);
    platform().requestExit(kind);
}

void BeepAlert()
{
    beeps(16);
}

bool DetonationInProgress()
{
    return g_inProgress;
}

void ResetDetonation()
{
    g_inProgress = false;
}

} // namespace mdBomb

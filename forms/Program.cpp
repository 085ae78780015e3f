#include "forms/Program.h"

#include "forms/AboutBox.h"
#include "forms/FaultDialog.h"
#include "forms/FormLifetime.h"
#include "forms/MainWindow.h"
#include "forms/Menus.h"
#include "forms/SettingsDialog.h"
#include "forms/Shell.h"
#include "forms/Twips.h"
#include "rules/NumberRules.h"
#include "seams/Desktop.h"
#include "seams/System.h"

#include <QCoreApplication>
#include <QPointer>

namespace
{

// The Top and Left values are read into a 10-character buffer.
constexpr int kPositionBuffer = 10;

} // namespace

Program::Program(System& system, Desktop& desktop)
    : m_system(system), m_desktop(desktop),
      m_state(system), m_forms{system, desktop, m_state, *this, false, {}, {}, {}},
      m_clock(new AlarmClock(system, m_state.settings, this))
{
    setObjectName(QStringLiteral("program"));
    MenuIntents intents;
    intents.exit = [this] { exitApplication(); };
    intents.toTray = [this] { m_window->hide(); };
    intents.settings = [this] {
        m_window->hide();
        openSettings(false);
    };
    intents.about = [this] {
        hideWindow();
        openAbout(false);
    };
    intents.trayShow = [this] { m_window->show(); };
    intents.traySettings = [this] { openSettings(true); };
    intents.trayPurge = [this] { m_system.purgeRecentDocuments(); };
    intents.trayAbout = [this] { openAbout(true); };
    intents.trayExit = [this] { exitApplication(); };
    m_window = std::make_unique<MainWindow>(*m_clock, intents);
    m_clock->setFaultPrompt(this);
    // a double-click on the clock opens the settings as they were last opened
    connect(m_window.get(), &MainWindow::clockDoubleClicked, this,
            [this] { SettingsDialog::open(m_forms); });
    connect(m_window.get(), &MainWindow::closeRequested, this, &Program::exitApplication);
}

Program::~Program()
{
    unloadForm(m_forms.faultDialog);
    unloadForm(m_forms.aboutBox);
    unloadForm(m_forms.settingsDialog);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget& Program::window()
{
    return *m_window;
}

int Program::windowHeightTwips() const
{
    return m_window->outerHeightTwips();
}

bool Program::start()
{
    // A second instance reads nothing: the guard comes before the file is read.
    if (!shell::ensureSingleInstance(m_system, m_desktop))
        return false;
    const settings_file::SettingsFile::Snapshot snapshot(m_state.file); // read once
    placeWindow();
    m_window->setStartSize();
    settings::load(m_state.file, m_state.settings);
    m_desktop.setTopmost(m_window.get(), settings::isOn(m_state.settings.keepOnTop));
    // Nothing ticks, chimes, sweeps or detonates before the tray icon exists: a failed start's
    // warning waits for the user with no bomb behind it.
    if (!addTrayIcon())
        return false;
    m_clock->start();
    // The end of the desktop session is handled as the close box is.
    m_system.callOnSessionEnd([this] { exitApplication(); });
    m_window->show();
    m_system.prepareBell(); // off the way to the window: the first chime sounds on time
    return true;
}

void Program::placeWindow()
{
    const QSize outer = twips::outerSize(m_window.get());
    const QSize screen = twips::screen(m_desktop);
    RememberedPosition& saved = m_state.position;
    const double top = shell::placeAxis(m_state.file.getString("Top", kPositionBuffer),
                                        outer.height(), screen.height(), saved.top);
    const double left = shell::placeAxis(m_state.file.getString("Left", kPositionBuffer),
                                         outer.width(), screen.width(), saved.left);
    twips::moveTo(m_window.get(), left, top);
}

bool Program::addTrayIcon()
{
    const QPointer<Program> self = this;
    const auto toProgram = [self](TrayEvent event) {
        if (self)
            self->onTrayEvent(event);
    };
    if (m_desktop.addTrayIcon(m_window->windowIcon(), QStringLiteral("Quorvane"),
                              m_window->trayMenu(), toProgram))
        return true;
    // No tray: the warning, and the end of the process, saving nothing.
    m_desktop.messageBox(QStringLiteral("時限爆弾の起動に失敗しました"), QStringLiteral("警告"),
                         MessageIcon::Exclamation);
    m_desktop.removeTrayIcon();
    m_system.endProcess();
    return false;
}

void Program::onTrayEvent(TrayEvent event)
{
    switch (event) {
    case TrayEvent::DoubleClick:
        m_window->show();
        break;
    case TrayEvent::ContextMenu:
        m_desktop.takeFocus(m_window.get());
        QCoreApplication::processEvents();
        m_desktop.popUpMenu(m_window->trayMenu());
        break;
    }
}

void Program::openSettings(bool fromTray)
{
    m_forms.settingsFromTray = fromTray;
    SettingsDialog::open(m_forms);
}

void Program::openAbout(bool modal)
{
    if (modal)
        AboutBox::openModal(m_forms);
    else
        AboutBox::openModeless(m_forms);
}

void Program::hideWindow()
{
    m_state.position.top = m_window->topTwips();
    m_state.position.left = m_window->leftTwips();
    m_window->hide();
}

void Program::exitApplication()
{
    settings_file::SettingsFile& file = m_state.file;
    file.writeString("MyPath", m_system.executablePath().toUtf8());
    file.writeString("Top", numbers::positionText(static_cast<float>(m_window->topTwips())));
    file.writeString("Left", numbers::positionText(static_cast<float>(m_window->leftTwips())));
    m_desktop.removeTrayIcon();
    m_system.endProcess();
}

void Program::recentreUptime()
{
    m_window->centreUptime();
}

void Program::switchSweep(bool on)
{
    m_clock->switchSweep(on);
}

void Program::showAfterSettings()
{
    m_window->showAfterSettings();
}

void Program::applySettings()
{
    m_clock->applySettings();
    m_desktop.setTopmost(m_window.get(), settings::isOn(m_state.settings.keepOnTop));
}

void Program::promptFault()
{
    unloadFormIfVisible(m_forms.settingsDialog);
    unloadFormIfVisible(m_forms.aboutBox);
    if (FaultDialog* fault = FaultDialog::open(m_forms)) {
        connect(fault, &FaultDialog::closeChosen, m_clock, &AlarmClock::faultClosed);
        connect(fault, &QDialog::finished, m_clock, &AlarmClock::faultDismissed);
    }
}

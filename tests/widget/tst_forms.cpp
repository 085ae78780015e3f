// The forms as a user meets them, scenario by scenario (the steps and checks are explained in
// support/Scenario.h): the settings file afterwards, everything that reached the system in order,
// and the checks on the way. Then what the scenarios cannot say in a line: a long uptime kept in
// the window, tool windows without an icon, the tab order, every control in sight, and the
// settings dialog unloaded while its own message box waits. Expected values come from what the
// program must do, in twips, texts and orders, never from its code.
#include "forms/AboutBox.h"
#include "forms/FaultDialog.h"
#include "forms/SettingsDialog.h"
#include "resources/Icons.h"
#include "rules/Settings.h"
#include "support/Allocations.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"
#include "support/Scenario.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace
{

const char* const kScenarios = R"table(
# name | settings file before ("-": none) | steps | file after ("=": unchanged, "*": any) | log
# Start-up and the ways out
first start, centred (3075 x 3030 twips, 205 x 202 px, on 1024 x 768) | - | at=9:05:03 load
    check=bell:ready check=mainWindow.clockLabel.lineWidth:1 check=mainWindow.pos:410,283 check=mainWindow.clockLabel.text:9:05:03 check=height:1695
    check=timers:clock check=record:00:00 check=reads:1 check=shown:mainWindow check=alarmClock.clockTimer.interval:100
    tick check=mainWindow.clockLabel.text:09:05:03 check=height:1725
    check=mainWindow.settingsItem.text:各種設定 check=mainWindow.trayExitItem.text:ｱﾌﾟﾘｹｰｼｮﾝの終了
    check=alarmClock.sweepTimer.interval:10000 | = | topmost:mainWindow=0 tray:add
start with every key | [Quorvane]\nTop=-300\nLeft=150\nHOUR=7\nDELLMODE=1\nTOPMOST=1\n | load
    check=mainWindow.pos:10,0 check=saved:-300,150 check=timers:clock,sweep check=record:07:00,sweep=1,top=1
    | = | topmost:mainWindow=1 tray:add
placed by halves to even | [Quorvane]\nTop=1267.5\nLeft=1252.5\n | load check=mainWindow.pos:83,85
    check=saved:1268,1252 | = | *
placed beyond the far side: on its edge, remembered as read | [Quorvane]\nLeft=99999\n | load
    check=mainWindow.x:819 check=saved:0,99999 | = | *
a position that is not a number is 0 | [Quorvane]\nTop=abc\nLeft=x1\n | load check=mainWindow.pos:0,0
    check=saved:0,0 | = | *
nine characters of a position | [Quorvane]\nTop=1234567890\nLeft=\s12\n | load
    check=saved:123456789,12 | = | *
the file as written by hand | [quorvane]\r\nhour=7\r\nMIN=abc\r\nDSPTIME=1\r\nBOMSETTING=70000\r\n
    DELLMODE=1\r\nEASYMODE=2\r\nTOPMOST=1\r\n | load check=record:07:00,form=1,sweep=1,gentle=2,top=1 | = | *
an hour beyond 32 bits | [Quorvane]\nHOUR=99999999999\n | load check=alarm:2147483647:00 | = | *
values out of range are kept | [Quorvane]\nHOUR=25\nMIN=-3\nBOMSETTING=7\n | load
    check=record:25:-3,action=7 | = | *
second instance reads nothing | [Quorvane]\nTOPMOST=1\n | second load check=reads:0 check=timers:
    check=shown: check=caption:Quorvane | = | message:すでに起動してます end
no tray: the warning, nothing ticking | [Quorvane]\nTop=10\nDELLMODE=1\n | notray load check=timers:
    check=shown: check=caption:警告! | = | topmost:mainWindow=0 tray:add message:時限爆弾の起動に失敗しました tray:remove end
exit from the file menu | #\smine\r\n[Quorvane]\r\nHOUR=7\r\n[Other]\r\nTop=1\r\n | start move=mainWindow:100,37
    menu=exitItem | #\smine\r\n[Quorvane]\r\nHOUR=7\r\nMyPath=/opt/quorvane/quorvane\r\nTop=555\r\n
    Left=1500\r\n[Other]\r\nTop=1\r\n | write*3 tray:remove end
exit from the tray with the window hidden by the version box | - | start move=mainWindow:20,30 menu=versionItem
    check=saved:450,300 check=shown:aboutBox check=modal: click=aboutBox.okButton check=shown:
    tray=menu>trayExitItem | [Quorvane]\nMyPath=/opt/quorvane/quorvane\nTop=450\nLeft=300\n
    | foreground popup write*3 tray:remove end
the close box | - | start hide=mainWindow move=mainWindow:-10,-2 close=mainWindow
    | [Quorvane]\nMyPath=/opt/quorvane/quorvane\nTop=-30\nLeft=-150\n | write*3 tray:remove end
the end of the desktop session | - | start move=mainWindow:20,10 end-session
    | [Quorvane]\nMyPath=/opt/quorvane/quorvane\nTop=150\nLeft=300\n | write*3 tray:remove end
# The clock
the uptime sits where the widest text of its hours' digits fits in the window (136 px inside;
    digits 7.5 px, kanji 12): "0時間00分00秒経過" 110 px wide at 26 (never at its designed 40),
    centred by the dialog at (2130 - 1425) / 2 twips (24 px) and kept there, "00時間…" at 18, "000時間…" at 11
    | - | start up=9000 tick check=mainWindow.uptimeLabel.x:26 menu=traySettingsItem
    click=settingsDialog.uptimeHoursButton check=mainWindow.uptimeLabel.x:24 up=10000 tick
    check=mainWindow.uptimeLabel.x:24 up=59000 tick up=60000 tick check=mainWindow.uptimeLabel.text:0時間1分0秒経過
    check=mainWindow.uptimeLabel.x:24 up=35999000 tick check=mainWindow.uptimeLabel.x:24 up=36000000 tick
    check=mainWindow.uptimeLabel.text:10時間0分0秒経過 check=mainWindow.uptimeLabel.x:18 up=360000000 tick
    check=mainWindow.uptimeLabel.x:11 | = |
OK into the alarm minute acts within 100 ms | - | start tick@7:30:00.500
    check=alarmClock.clockTimer.interval:505 menu=traySettingsItem type=settingsDialog.hourBox:7 type=settingsDialog.minuteBox:30
    click=settingsDialog.okButton check=alarmClock.clockTimer.interval:100 tick check=colour:red | * |
    write*7 topmost:mainWindow=0 beep*12
hidden or minimised, no text is made; seen again, the texts are current | - | start up=1000
    tick@9:00:10 hide=mainWindow up=11500 tick@9:00:20 check=mainWindow.clockLabel.text:09:00:10
    check=mainWindow.uptimeLabel.text:0時間0分1秒経過 tick@10:00:00 show=mainWindow check=mainWindow.clockLabel.text:10:00:00
    check=mainWindow.uptimeLabel.text:0時間0分12秒経過 minimise tick@10:00:30 check=mainWindow.clockLabel.text:10:00:00
    restore check=mainWindow.clockLabel.text:10:00:30 | = | beep*16
the alarm minute, beep alert | [Quorvane]\nHOUR=7\nMIN=30\n | start tick@7:29:59 check=colour:face
    tick@7:30:00 check=colour:red check=height:2580 check=timers:clock,blink check=mainWindow.alarmStopButton.up:1
    tick@7:30:59 tick@7:31:00 check=colour:face check=height:1725 check=timers:clock
    check=mainWindow.alarmStopButton.up:1 | = | beep*12+12
the alarm-stop button and the blink | [Quorvane]\nHOUR=7\nMIN=30\n | start tick@7:30:10 blink
    check=colour:blue blink check=colour:red click=mainWindow.alarmStopButton check=mainWindow.alarmStopButton.up:0
    check=timers:clock check=colour:face check=height:1725 tick check=mainWindow.alarmStopButton.up:1 check=height:2580
    | = | beep*12+12
a minimised window keeps its height; restored, it acts within 100 ms | [Quorvane]\nHOUR=7\nMIN=30\n
    | start minimise tick@7:30:10 check=height:1695 check=timers:clock,blink restore tick check=height:2580
    minimise tick@7:31:10 check=height:2580 check=timers:clock check=colour:face restore
    check=alarmClock.clockTimer.interval:100 tick check=height:1725 | = | beep*12+12
uptime in seconds | [Quorvane]\nDSPTIME=1\n | start up=-1000 tick check=mainWindow.uptimeLabel.text:-1秒経過
    check=mainWindow.uptimeLabel.x:40 | = |
# The tray and the menus
tray: a double-click shows the window, the right button's release opens the menu | - | start
    hide=mainWindow tray=double-click check=shown:mainWindow tray=double-click check=shown:mainWindow tray=menu | = |
    foreground popup
the menus: to the tray, shown, the recently used list emptied | - | start menu=toTrayItem
    check=shown: menu=trayShowItem check=shown:mainWindow menu=trayPurgeItem | = | purge
settings from the tray keep a hidden window hidden, centred (271 x 246 px framed by design)
    | - | start hide=mainWindow tray=panel>traySettingsItem check=shown:settingsDialog check=settingsDialog.pos:376,261
    check=settingsDialog.font:9pt | = |
version from the tray waits for the box | - | start move=mainWindow:40,60 tray=menu>trayVersionItem
    check=modal:aboutBox check=aboutBox.pos:0,0 click=aboutBox.okButton check=modal: check=shown:mainWindow
    check=saved:0,0 | = | foreground popup
# The settings dialog
settings: a first run clears what the design ticks | - | start move=mainWindow.uptimeLabel:0,56
    menu=traySettingsItem check=mainWindow.uptimeLabel.x:0 click=settingsDialog.sweepCheck check=timers:clock,sweep click=settingsDialog.cancelButton delete menu=traySettingsItem check=arm:00/00/0/0/...
    check=timers:clock | = |
settings: every value shown; two-line captions grow about their middle (17 px at 48 to 32 at
    41, 25 at 16 to 32 at 13) | [Quorvane]\nHOUR=7\nMIN=30\nDSPTIME=1\nBOMSETTING=3\nDELLMODE=1\n
    EASYMODE=1\nTOPMOST=1\n | start menu=traySettingsItem check=arm:07/30/1/3/xxx check=timers:clock,sweep
    check=record:07:30,form=1,action=3,sweep=1,gentle=1,top=1 check=settingsDialog.restartButton.y:41
    check=settingsDialog.restartButton.height:32 check=settingsDialog.sweepCheck.y:13
    check=settingsDialog.sweepCheck.height:32 | = |
settings: values without a control | [Quorvane]\nDSPTIME=2\nBOMSETTING=4\nDELLMODE=2\nTOPMOST=-1\n
    | start menu=traySettingsItem check=arm:00/00/0/0/... check=record:00:00,form=2,action=4,sweep=2,top=-1 | = |
settings: opening it again keeps what was typed | - | start menu=traySettingsItem check=shown:mainWindow,settingsDialog
    check=record:00:00 set=settingsDialog.minuteBox:45 menu=settingsItem check=shown:settingsDialog
    check=settingsDialog.minuteBox.text:45 check=record:00:00 | = |
settings: clicks act at once (the uptime, 780 twips wide, centred in 2130: at (142 - 52) / 2 px) | [Quorvane]\nDELLMODE=1\n | start menu=traySettingsItem click=settingsDialog.powerOffButton
    check=record:00:00,action=2,sweep=1 click=settingsDialog.sweepCheck check=timers:clock click=settingsDialog.sweepCheck
    check=timers:clock,sweep move=mainWindow.uptimeLabel:0,56 click=settingsDialog.uptimeSecondsButton check=mainWindow.uptimeLabel.x:45
    check=record:00:00,action=2,sweep=1 | = |
settings: a click on the selected button counts | [Quorvane]\nBOMSETTING=7\n | start menu=traySettingsItem
    check=arm:00/00/0/0/... check=record:00:00,action=7 click=settingsDialog.beepButton
    move=mainWindow.uptimeLabel:0,56 click=settingsDialog.uptimeHoursButton check=mainWindow.uptimeLabel.x:45 click=settingsDialog.cancelButton
    check=record:00:00 | = |
settings: Cancel keeps what the clicks did | [Quorvane]\nDELLMODE=1\n | start menu=settingsItem
    key=settingsDialog.hourBox:Return key=settingsDialog:Escape check=shown:settingsDialog click=settingsDialog.logOffButton
    click=settingsDialog.sweepCheck type=settingsDialog.hourBox:9 click=settingsDialog.cancelButton check=shown: check=timers:clock
    check=record:00:00,action=3,sweep=1 | = |
settings: so does the close box | [Quorvane]\nDELLMODE=1\n | start menu=settingsItem click=settingsDialog.logOffButton
    click=settingsDialog.sweepCheck close=settingsDialog check=shown: check=timers:clock check=record:00:00,action=3,sweep=1
    | = |
settings: Enter presses the focused button | - | start menu=settingsItem focus=settingsDialog.cancelButton
    key=settingsDialog.cancelButton:Return check=shown: menu=settingsItem key=settingsDialog.okButton:Return check=shown:mainWindow
    | * | write*7 topmost:mainWindow=0
OK from the window's menu | [Quorvane]\nHOUR=6\nMIN=6\nDELLMODE=1\n | start show=mainWindow.alarmStopButton
    menu=settingsItem type=settingsDialog.hourBox:123 check=settingsDialog.hourBox.text:12 type=settingsDialog.hourBox:7
    type=settingsDialog.minuteBox:5 click=settingsDialog.restartButton click=settingsDialog.sweepCheck click=settingsDialog.topmostCheck
    click=settingsDialog.okButton check=shown:mainWindow check=mainWindow.alarmStopButton.up:0 check=timers:clock
    check=record:07:05,action=1,top=1 | [Quorvane]\nHOUR=7\nMIN=5\nDELLMODE=0\nDSPTIME=0\n
    BOMSETTING=1\nEASYMODE=0\nTOPMOST=1\n | write*7 topmost:mainWindow=1
OK after a double-click on the clock | [Quorvane]\nHOUR=6\nMIN=6\nDELLMODE=1\n | start
    dblclick=mainWindow.clockLabel check=shown:settingsDialog click=settingsDialog.uptimeSecondsButton type=settingsDialog.hourBox:23
    type=settingsDialog.minuteBox:59 click=settingsDialog.gentleCheck click=settingsDialog.okButton check=shown:mainWindow
    check=record:23:59,form=1,sweep=1,gentle=1 | [Quorvane]\nHOUR=23\nMIN=59\nDELLMODE=1\nDSPTIME=1\n
    BOMSETTING=0\nEASYMODE=1\nTOPMOST=0\n | write*7 topmost:mainWindow=0
OK from the tray leaves the window as it was | [Quorvane]\nHOUR=6\nMIN=6\nDELLMODE=1\n | start
    show=mainWindow.alarmStopButton menu=traySettingsItem hide=mainWindow type=settingsDialog.hourBox:0 type=settingsDialog.minuteBox:0
    click=settingsDialog.okButton check=shown: check=mainWindow.alarmStopButton.up:1 check=record:00:00,sweep=1
    | [Quorvane]\nHOUR=0\nMIN=0\nDELLMODE=1\nDSPTIME=0\nBOMSETTING=0\nEASYMODE=0\nTOPMOST=0\n
    | write*7 topmost:mainWindow=0
OK with hour 24 writes nothing | [Quorvane]\nHOUR=6\nMIN=6\nDELLMODE=1\n | start menu=settingsItem
    type=settingsDialog.hourBox:24 click=settingsDialog.logOffButton click=settingsDialog.okButton check=caption:アラーム設定のエラー!
    check=shown:mainWindow check=timers:clock,sweep check=record:06:06,action=3,sweep=1 | = |
    message:数値が正しくないです！！ topmost:mainWindow=0
range failures write nothing (hour -1, minutes 60 and -1, hour 25 before a bad minute)
    | [Quorvane]\nHOUR=6\nMIN=6\n | start menu=settingsItem type=settingsDialog.hourBox:-1 click=settingsDialog.okButton
    menu=settingsItem type=settingsDialog.minuteBox:60 click=settingsDialog.okButton menu=settingsItem type=settingsDialog.minuteBox:-1
    click=settingsDialog.okButton menu=settingsItem type=settingsDialog.hourBox:25 type=settingsDialog.minuteBox:xx click=settingsDialog.okButton
    check=alarm:06:06 | = | message:数値が正しくないです！！ topmost:mainWindow=0 message:数値が正しくないです！！
    topmost:mainWindow=0 message:数値が正しくないです！！ topmost:mainWindow=0 message:数値が正しくないです！！ topmost:mainWindow=0
a bad hour arms 00:00 | [Quorvane]\nHOUR=6\nMIN=6\n | start menu=settingsItem type=settingsDialog.hourBox:ab
    click=settingsDialog.okButton check=alarm:00:00 | [Quorvane]\nHOUR=00\nMIN=00\nDSPTIME=0\nBOMSETTING=0\n
    DELLMODE=0\nEASYMODE=0\nTOPMOST=0\n | message:数値が正しくないです！！ write*7 topmost:mainWindow=0
so does an empty minute after a good hour | [Quorvane]\nHOUR=6\nMIN=6\n | start menu=settingsItem
    type=settingsDialog.minuteBox: click=settingsDialog.okButton check=alarm:00:00 check=ini.HOUR:00 | * |
    message:数値が正しくないです！！ write*7 topmost:mainWindow=0
the bounds pass | - | start menu=settingsItem type=settingsDialog.hourBox:0 type=settingsDialog.minuteBox:0 click=settingsDialog.okButton
    check=alarm:00:00 menu=settingsItem type=settingsDialog.hourBox:23 type=settingsDialog.minuteBox:59 click=settingsDialog.okButton
    check=alarm:23:59 | * | write*7 topmost:mainWindow=0 write*7 topmost:mainWindow=0
a failed write is silent | [Quorvane]\nHOUR=3\n | readonly start menu=settingsItem type=settingsDialog.hourBox:8
    type=settingsDialog.minuteBox:1 click=settingsDialog.topmostCheck click=settingsDialog.okButton check=record:08:01,top=1
    | = | topmost:mainWindow=1
an unreadable file is never replaced | [Quorvane]\nHOUR=3\n | unreadable start check=alarm:00:00
    menu=settingsItem click=settingsDialog.okButton | = | topmost:mainWindow=0
a stored 2 is off | [Quorvane]\nTOPMOST=2\nDELLMODE=2\n | load check=timers:clock | = | topmost:mainWindow=0 tray:add
the accepted text is the alarm, also after a restart; full width is read as half width | - | start menu=settingsItem
    type=settingsDialog.hourBox:+7 click=settingsDialog.okButton check=ini.HOUR:+7 check=alarm:07:00 reload
    check=alarm:07:00 menu=settingsItem type=settingsDialog.hourBox:.5 click=settingsDialog.okButton check=ini.HOUR:.5
    check=alarm:00:00 reload check=alarm:00:00 menu=settingsItem set=settingsDialog.hourBox:\u30007
    click=settingsDialog.okButton check=ini.HOUR:7 menu=settingsItem set=settingsDialog.hourBox:7\u3000
    click=settingsDialog.okButton check=ini.HOUR:7 check=alarm:07:00 reload check=alarm:07:00 menu=settingsItem
    set=settingsDialog.hourBox:０７ set=settingsDialog.minuteBox:３０ click=settingsDialog.okButton check=ini.HOUR:07
    check=ini.MIN:30 reload check=alarm:07:30 | * | *
a stored alarm longer than two characters shows whole | [Quorvane]\nHOUR=100\nMIN=5\n | start
    menu=settingsItem check=settingsDialog.hourBox.text:100 append=settingsDialog.hourBox:7 check=settingsDialog.hourBox.text:100
    key=settingsDialog.hourBox:Backspace append=settingsDialog.hourBox:7 check=settingsDialog.hourBox.text:10
    type=settingsDialog.hourBox:100 check=settingsDialog.hourBox.text:10 click=settingsDialog.cancelButton menu=settingsItem
    click=settingsDialog.topmostCheck click=settingsDialog.okButton check=alarm:100:05 | = |
    message:数値が正しくないです！！ topmost:mainWindow=0
opened from the tray and cancelled, then OK after a double-click: the window stays hidden | - | start
    menu=traySettingsItem click=settingsDialog.cancelButton dblclick=mainWindow.clockLabel click=settingsDialog.okButton check=shown:
    check=record:00:00 | * | write*7 topmost:mainWindow=0
# The alarm's actions
the fault dialog, centred (464 x 128 px framed by design), rescued, comes again
    | [Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1\n
    | start random=0.35 tick@7:30:00 check=modal:faultDialog check=faultDialog.pos:280,320 check=fault:1920 check=faultDialog.messageLine1.wordWrap:1 check=faultDialog.messageLine1.font:9pt\sfixed
    check=faultDialog.messageLine2.font:9pt\sfixed check=details:
    check=faultDialog.detailsButton.enabled:1 check=focus:closeButton click=faultDialog.detailsButton check=fault:4185 check=faultDialog.detailsText.readOnly:1
    check=faultDialog.detailsButton.enabled:0
    check=details:taroの睡眠不足です｡\nﾓｼﾞｭｰﾙ\s:\sQuorvane、ｱﾄﾞﾚｽ\s:\s6e9f:fffbd5c7
    click=faultDialog.rescueButton check=modal: check=colour:red random=0 tick@7:30:01 check=fault:1920
    check=details: click=faultDialog.detailsButton
    check=details:taroの不適切な処理です｡\nﾓｼﾞｭｰﾙ\s:\sQuorvane、ｱﾄﾞﾚｽ\s:\s3878:fffbd5c7
    close=faultDialog random=0.99999 tick click=faultDialog.detailsButton
    check=details:taroの放送禁止用語羅列です｡\nﾓｼﾞｭｰﾙ\s:\sQuorvane、ｱﾄﾞﾚｽ\s:\sbb94:fffbd5c7
    click=faultDialog.rescueButton
    tick@7:31:00 | = | topmost:faultDialog=1*3
the fault dialog's close ends the session and writes nothing
    | [Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1\n | start tick@7:30:00
    click=faultDialog.closeButton click=faultDialog.rescueButton | = | topmost:faultDialog=1 beep*6 exit:0 end
fault keys: Enter on close | [Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=1\nEASYMODE=1\n | start tick@7:30:00
    key=faultDialog.closeButton:Return click=faultDialog.rescueButton | = | topmost:faultDialog=1 beep*6 exit:2 end
fault keys: Enter on the others, and Esc | [Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=1\nEASYMODE=1\n
    | start tick@7:30:00 focus=faultDialog.detailsButton key=faultDialog.detailsButton:Return check=fault:4185
    focus=faultDialog.rescueButton key=faultDialog.rescueButton:Return check=modal: tick key=faultDialog.closeButton:Escape
    check=modal: | = | topmost:faultDialog=1*2
the fault dialog closes the settings dialog and the About box
    | [Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=2\nEASYMODE=1\n | start menu=traySettingsItem menu=versionItem
    check=shown:settingsDialog,aboutBox tick@7:30:00 check=shown:faultDialog click=faultDialog.rescueButton check=shown:
    | = | topmost:faultDialog=1
a settings dialog loaded but hidden stays loaded | [Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=2\nEASYMODE=1\n
    | start menu=versionItem click=aboutBox.okButton tick@7:30:00 click=faultDialog.rescueButton
    check=arm:07/30/0/2/.x. | = | topmost:faultDialog=1
an immediate exit request closes nothing | [Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=2\n | start
    menu=traySettingsItem tick@7:30:00 check=shown:mainWindow,settingsDialog | = | beep*6 exit:1
# The About box
about: its texts and links | - | start menu=versionItem check=aboutBox.windowTitle:Quorvaneのﾊﾞｰｼﾞｮﾝ情報
    check=aboutBox.versionLabel.text:ﾊﾞｰｼﾞｮﾝ\s0.23 check=aboutBox.titleLabel.text:Quorvane
    check=aboutBox.homePageLink.cursor:1 check=aboutBox.mailLink.cursor:1 check=aboutBox.mailLink.font:9pt check=aboutBox.authorLabel.font:12pt\sbold
    click=aboutBox.homePageLink
    click=aboutBox.mailLink check=shown:aboutBox | = |
    url:https://example.org/velmaris/quorvane/ url:mailto:velmaris@example.org
about: at the remembered place, kept on the screen (a 238 x 169 px box on 1024 x 768) | - | start
    saved=3000,1500 tray=menu>trayVersionItem check=aboutBox.pos:100,200 click=aboutBox.okButton
    saved=9000,11805 tray=menu>trayVersionItem check=aboutBox.pos:786,599 click=aboutBox.okButton
    saved=2147483647,2147483647 tray=menu>trayVersionItem check=aboutBox.pos:786,599 click=aboutBox.okButton | = | *
about: on top when the setting is ticked | [Quorvane]\nTOPMOST=1\n | start menu=versionItem | = | topmost:aboutBox=1
about: a stored 2 is not ticked | [Quorvane]\nTOPMOST=2\n | start menu=versionItem | = |
about: the open dialog's unsaved tick counts | - | start menu=traySettingsItem click=settingsDialog.topmostCheck
    menu=versionItem check=shown:settingsDialog,aboutBox | = | topmost:aboutBox=1
about: so does its unsaved clearing | [Quorvane]\nTOPMOST=1\n | start menu=traySettingsItem
    click=settingsDialog.topmostCheck menu=versionItem | = |
about: it loads the settings dialog hidden | - | start menu=versionItem check=shown:aboutBox
    check=arm:00/00/0/0/... set=settingsDialog.minuteBox:45 menu=traySettingsItem check=settingsDialog.minuteBox.text:45
    check=shown:settingsDialog,aboutBox | = |
about: OK, Enter, Esc and the close box unload it | - | start menu=versionItem click=aboutBox.okButton
    check=shown: menu=versionItem key=aboutBox.okButton:Return check=shown: menu=versionItem
    key=aboutBox:Escape check=shown: menu=versionItem close=aboutBox check=shown: delete | = |
about: asked for while open, the open one stays | - | start menu=versionItem move=aboutBox:5,5
    saved=0,3000 menu=versionItem tray=menu>trayVersionItem check=aboutBox.pos:5,5 check=modal: | = |
    foreground popup
)table";

// A count written as its parts ("beep*16+12") stands for their sum.
QString summed(QString log)
{
    static const QRegularExpression parts(QStringLiteral("\\*(\\d+(?:\\+\\d+)+)"));
    for (QRegularExpressionMatch m = parts.match(log); m.hasMatch(); m = parts.match(log)) {
        int sum = 0;
        for (const QString& part : m.captured(1).split(QLatin1Char('+')))
            sum += part.toInt();
        log.replace(m.capturedStart(1), m.capturedLength(1), QString::number(sum));
    }
    return log;
}

// A file is written without blanks ("\s" stands for one), so it may run over lines; "-" is none.
QByteArray bytes(QString field)
{
    field.remove(QLatin1Char(' '));
    return field == u"-" ? QByteArray() : unescape(field).toUtf8();
}

} // namespace

class TestForms : public QObject
{
    Q_OBJECT
private slots:
    void scenarios_data() { addTableRows(kScenarios); } // file before, steps, file after, log
    void scenarios()
    {
        QFETCH(QStringList, fields);
        const QString &before = fields[0], &after = fields[2], &log = fields[3];
        FakeEnvironment env;
        env.fake.file = bytes(before);
        const QStringList errors = runScenario(env, fields[1]);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        if (after != u"*")
            QCOMPARE(env.fake.file, bytes(after == u"=" ? before : after));
        if (log != u"*")
            QCOMPARE(compactLog(env.fake.log), summed(log));
    }

    // A tick that shows the same second again (nine in ten of the 100 ms ticks) makes no
    // object on the heap, neither shown nor hidden.
    void quietTickAllocatesNothing()
    {
        FakeEnvironment env;
        QVERIFY(env.program.start());
        for (const bool shown : {true, false}) {
            env.program.window().setVisible(shown);
            fire(&env.program, "clockTimer");
            const long before = heapAllocations();
            for (int i = 0; i < 10; ++i)
                fire(&env.program, "clockTimer");
            QCOMPARE(heapAllocations() - before, 0);
        }
    }

    // The settings dialog and the About box are tool windows without the program's bomb.
    void toolWindowsHaveNoIcon()
    {
        QApplication::setWindowIcon(icons::bomb()); // as the program sets it for its windows
        FakeEnvironment env;
        SettingsDialog::open(env.program.forms());
        AboutBox::openModeless(env.program.forms());
        QVERIFY(!env.program.window().windowIcon().pixmap(16).isNull());
        QVERIFY(env.program.forms().settingsDialog->windowIcon().pixmap(16).isNull());
        QVERIFY(env.program.forms().aboutBox->windowIcon().pixmap(16).isNull());
    }

    // OK first, then Cancel, then the minute box before the hour box.
    void settingsTabOrder()
    {
        FakeEnvironment env;
        SettingsDialog::open(env.program.forms());
        SettingsDialog* d = env.program.forms().settingsDialog.data();
        QStringList chain;
        QWidget* w = d->focusWidget();
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != d->focusWidget());
        QCOMPARE(chain.join(' '), "okButton cancelButton minuteBox hourBox uptimeHoursButton "
                                  "uptimeSecondsButton beepButton restartButton powerOffButton "
                                  "logOffButton sweepCheck gentleCheck topmostCheck");
    }

    // Every control lies within its window and shows its whole caption, in every window and at
    // the heights where controls must be seen: the beep alert's alarm-stop button at 2580
    // twips, the fault dialog's details pane at 4185.
    void everythingInSight()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=7\nMIN=30\n";
        env.fake.setTime(QStringLiteral("7:30:00"));
        FormContext& forms = env.program.forms();
        QVERIFY(env.program.start());
        fire(&env.program, "clockTimer"); // the beep alert
        SettingsDialog::open(forms);
        AboutBox::openModeless(forms);
        QStringList outOfSight;
        auto check = [&](QWidget* window) {
            for (QWidget* w : window->findChildren<QWidget*>()) {
                const bool isControl = w->inherits("QAbstractButton") || w->inherits("QLabel") ||
                                       w->inherits("QLineEdit") || w->inherits("QPlainTextEdit");
                if (!isControl || w->isHidden())
                    continue;
                const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
                // a push button's caption is centred in it; a check box's or option button's
                // follows its mark
                int needed = 0;
                if (auto* push = qobject_cast<QPushButton*>(w))
                    needed = push->fontMetrics().horizontalAdvance(push->text().remove('&'));
                else if (auto* button = qobject_cast<QAbstractButton*>(w))
                    needed = button->sizeHint().width();
                if (!window->rect().contains(inWindow) || needed > w->width())
                    outOfSight << window->objectName() + '.' + w->objectName();
            }
        };
        QWidget& main = env.program.window();
        QVERIFY(control<QPushButton>(&main, "alarmStopButton")->isVisible());
        for (QWidget* window : {&main, static_cast<QWidget*>(forms.settingsDialog.data()),
                                static_cast<QWidget*>(forms.aboutBox.data())})
            check(window);
        forms.state.settings.action = settings::Action::Restart;
        forms.state.settings.gentleMode = 1;
        env.fake.setTime(QStringLiteral("7:30:01"));
        fire(&env.program, "clockTimer"); // the fault dialog
        FaultDialog* fault = forms.faultDialog.data();
        QVERIFY(fault != nullptr);
        control<QPushButton>(fault, "detailsButton")->click();
        check(fault);
        QVERIFY2(outOfSight.isEmpty(), qPrintable(outOfSight.join(QLatin1Char(' '))));
    }

    // The alarm goes off while OK's error message waits; it unloads the dialog, whose OK then
    // must touch neither it nor a dialog loaded afresh meanwhile.
    void unloadedWhileItsMessageWaits()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1\n";
        env.fake.setTime(QStringLiteral("7:29:59"));
        FormContext& forms = env.program.forms();
        QVERIFY(env.program.start());
        env.program.window().findChild<QAction*>(QStringLiteral("settingsItem"))->trigger();
        QPointer<SettingsDialog> d = forms.settingsDialog.data();
        control<QLineEdit>(d, "hourBox")->setText(QStringLiteral("24"));
        env.fake.onMessage = [&] {
            env.fake.onMessage = nullptr;
            env.fake.setTime(QStringLiteral("7:30:00"));
            fire(&env.program, "clockTimer");
            SettingsDialog::load(forms); // as the About box does, before the old one is deleted
        };
        control<QPushButton>(d, "okButton")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(d.isNull());
        QVERIFY(env.program.window().isVisible()); // the rest of OK still ran
        QVERIFY(forms.settingsDialog.data() != nullptr);
        QVERIFY(!forms.settingsFromTray);
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"

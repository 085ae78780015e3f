// Runs a widget scenario: steps through the program's own windows, menus, timers and tray, on the
// fake platform. A step that opens a modal dialog waits in it as the program does; the steps after
// it run inside its loop. Steps are "name", "name=value", "tick@time" or "sweep*count" (in values
// "\s" is a blank, "\n" and "\r" line breaks, "\u3000" and "\u00a0" the ideographic and no-break
// spaces):
//   load, start         the start-up sequence, then the window shown; start also clears the log
//   second, notray, readonly, unreadable    another instance runs / no tray / writes fail / no read
//   at=H:mm:ss[.zzz], up=MS, random=R, saved=TOP,LEFT    the clock, the uptime, the draw, the
//                                                         remembered position
//   tick[@H:mm:ss[.zzz]], blink, sweep[*N]  the three timers firing
//   menu=ITEM, tray=double-click, tray=menu[>ITEM]    a menu item; a tray event (ITEM chosen in
//                                                     the menu that opens)
//   tray=panel>ITEM                                   ITEM chosen in the menu the tray was handed,
//                                                     as a panel that draws it itself does
//   click=PATH, dblclick=PATH, key=PATH:KEY, focus=PATH, close=PATH, hide=PATH, show=PATH
//   type=PATH:TEXT (replaces), append=PATH:TEXT, set=PATH:TEXT (as the program sets it)
//   move=PATH:X,Y, minimise, restore, end-session, reload (the record read again), delete
//   check=PROBE:VALUE   compares at that moment; PROBE is PATH.PROPERTY, ini.KEY or one of the
//                       named probes in Scenario.cpp (log, shown, modal, focus, alarm, record,
//                       saved, timers, height, colour, arm, reads, caption, fault, details)
// PATH is a window's object name (Main, fmArm, frmAbout, frmFault) and its children's object
// names: fmArm.Command1.
#pragma once

#include <QString>
#include <QStringList>

class FakeEnvironment;
class MainWindow;

// Runs the steps; returns what went wrong (empty when every check held).
QStringList runScenario(FakeEnvironment& env, MainWindow& main, const QString& steps);

// The fake's log with repeats counted: "beep*16 exit:2".
QString compactLog(const QStringList& log);

// A scenario text with its escapes resolved.
QString unescape(QString text);

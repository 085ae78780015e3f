// Runs a widget scenario: steps through the program's own windows, menus, timers and tray, on the
// fake platform. A step that opens a modal dialog waits in it as the program does; the steps after
// it run inside its loop. Steps are "name", "name=value" or "tick@time" (in values
// "\s" is a blank, "\n" and "\r" line breaks, "\u3000" and "\u00a0" the ideographic and no-break
// spaces):
//   load, start         the start-up sequence, then the window shown; start also clears the log
//   second, notray, readonly, unreadable    another instance runs / no tray / writes fail / no read
//   at=H:mm:ss[.zzz], up=MS, random=R, saved=TOP,LEFT    the clock, the uptime, the draw, the
//                                                         remembered position
//   tick[@H:mm:ss[.zzz]], blink             the clock's and the blink's timers firing
//   menu=ITEM, tray=double-click, tray=menu[>ITEM]    a menu item; a tray event (ITEM chosen in
//                                                     the menu that opens)
//   tray=panel>ITEM                                   ITEM chosen in the menu the tray was handed,
//                                                     as a panel that draws it itself does
//   click=PATH, dblclick=PATH, key=PATH:KEY, focus=PATH, close=PATH, hide=PATH, show=PATH
//   type=PATH:TEXT (replaces), append=PATH:TEXT, set=PATH:TEXT (as the program sets it)
//   move=PATH:X,Y, minimise, restore, end-session, reload (the record read again), delete
//   check=PROBE:VALUE   compares at that moment; PROBE is PATH.PROPERTY ("up": shown within its
//                       window, seen or not; a font reads "9pt", "9pt fixed" or "12pt bold"),
//                       ini.KEY (the value in the settings file's [Quorvane]) or one of these:
//     log       the fake's log so far, repeats counted: "write*3 tray:remove end"
//     shown     the visible windows, comma-joined, in the order of PATH's windows below
//     modal     the active modal window's object name, empty with none
//     focus     the control with the focus in the modal window
//     alarm     the settings record's alarm as stored: "hour:minute" ("07:30", "2147483647:00")
//     record    the alarm, then each record field that is not 0 by name: form (1: the uptime in
//               seconds), action (0 beep, 1 restart, 2 power off, 3 log off), sweep, gentle,
//               top (on top): "07:30,action=3,top=1"
//     saved     the remembered position, "top,left" in twips
//     timers    the running timers among clock, blink and sweep: "clock,sweep"; empty for none
//     height    the main window's outer height in twips
//     bell      "ready" once the program asked for the bell to be made ready, else "-"
//     colour    the clock's background as painted: red, blue, face (the button face) or #rrggbb
//     arm       the settings dialog: "hour/minute/uptime/action/switches": the checked button
//               of each group by its number (uptime: 0 hours, 1 seconds; action as in record;
//               "-" for none), the switches sweep, gentle and on top as x or .; "-" unloaded
//     reads     how often the settings file was read
//     caption   the last message box's caption, with "!" after it for the warning icon
//     fault     the open fault dialog's outer height in twips; "-" with none
//     details   the first two lines of its details; "-" with none
// PATH is a window's object name (mainWindow, settingsDialog, aboutBox, faultDialog) or the clock
// object's (alarmClock), and its children's after a dot: settingsDialog.okButton,
// alarmClock.clockTimer. The forms table's expected log may write a count as its parts where they
// say more than the sum: "beep*12+12" for two beep alerts.
#pragma once

#include <QString>
#include <QStringList>

struct FakeEnvironment;

// Runs the steps; returns what went wrong (empty when every check held).
QStringList runScenario(FakeEnvironment& env, const QString& steps);

// The fake's log with repeats counted: "beep*16 exit:2".
QString compactLog(const QStringList& log);

// A scenario text with its escapes resolved.
QString unescape(QString text);

// A table's rows as QTest data rows of one column, "fields": a row is a line and the lines
// indented below it, its fields split at "|" and simplified, the first naming the row; lines
// starting with "#" are comments.
void addTableRows(const char* table);

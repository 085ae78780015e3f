// The program's icons, painted at every size a desktop asks for so each stays crisp.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace icons
{

// The sizes each icon is painted at (and installed at in the icon theme), as the build lists them.
inline constexpr int sizes[] = {QUORVANE_ICON_SIZES};

// The round bomb with a fuse and a spark: the window and tray icon.
QIcon bomb();
// The red disc with a white cross: the fault dialog's error icon.
QIcon error();
// Two chevrons: the menu bar's button for menus that do not fit.
QIcon overflow();
// No picture at any size: a window given it has no icon of its own (not even the program's).
QIcon none();

// The bomb at one size, painted directly (for writing the theme's icon files).
QPixmap paintBomb(int size);

} // namespace icons

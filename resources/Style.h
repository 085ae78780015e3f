// The desktop's widget style, with the menu bar's overflow button drawn by the program.
#pragma once

#include <QProxyStyle>

class ProgramStyle : public QProxyStyle
{
public:
    // Over the style the application chose (the desktop's, or the one the user asked for).
    ProgramStyle();

    // Every menu bar asks for the overflow icon when it is made; the style's own is read from
    // image files, which loads Qt's image format plugins (about 0.5 MB and a millisecond) before
    // the window can appear. Everything else is the desktop style's.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;
};

#include "resources/Style.h"

#include "resources/Icons.h"

#include <QApplication>

ProgramStyle::ProgramStyle() : QProxyStyle(QApplication::style()->name()) {}

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton)
        return icons::overflow();
    return QProxyStyle::standardIcon(icon, option, widget);
}

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <cstdlib>

namespace
{
Platform* g_platform = nullptr;
}

Platform& platform()
{
    if (g_platform == nullptr)
        std::abort(); // a start-up order fault: nothing may run before the platform exists
    return *g_platform;
}

void setPlatform(Platform* p)
{
    g_platform = p;
}

void postTrayMessage(const NotifyIconData& data, int message)
{
    if (data.hWnd.isNull())
        return;
    const QPointF at(message, 0);
    QCoreApplication::postEvent(data.hWnd, new QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton,
                                                           Qt::NoButton, Qt::NoModifier));
}

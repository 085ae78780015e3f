#include "platform/Platform.h"

#include "platform/Log.h"

#include <cstdlib>

// Off by default: only critical messages would pass, and the program writes none.
Q_LOGGING_CATEGORY(lcQuorvane, "quorvane.system", QtCriticalMsg)

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

#include "platform/Platform.h"

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

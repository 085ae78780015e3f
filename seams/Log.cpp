#include "seams/Log.h"

// Off by default: only critical messages would pass, and the program writes none.
Q_LOGGING_CATEGORY(lcQuorvane, "quorvane.system", QtCriticalMsg)

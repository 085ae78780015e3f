// The one logging category: what the program deliberately does not show the user (a settings
// write that failed, a lock that could not be made, a refused request to end the session) is
// written here, silent unless QT_LOGGING_RULES="quorvane.*=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcQuorvane)

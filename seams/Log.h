// The one logging category: every failure the program deliberately does not show the user (a
// settings file that cannot be read or written, no single-instance lock, a refused or unanswered
// request to end the session, no signal handler, the fall-back to the X11 bell, a recently used
// list that could not be emptied, an address no handler took) leaves one line here, silent
// unless QT_LOGGING_RULES="quorvane.*=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcQuorvane)

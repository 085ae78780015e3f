// The fault dialog's details text: a joke fault line naming the user, then a made-up register
// and stack dump.
#pragma once

#include <QString>

namespace fault_details
{

// The user's login name, or empty text.
QString loginName();

// The details for draw k (1 to 10): eleven lines joined by CR LF, none after the last.
QString text(const QString& loginName, int k);

} // namespace fault_details

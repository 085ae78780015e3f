// The fault dialog's details text: a joke fault line naming the user, then a made-up register
// and stack dump.
#pragma once

#include <QString>

namespace fault_details
{

// The login name as the details show it: at most 254 characters.
QString shownLoginName(const QString& loginName);

// Which of the ten faults a uniform draw in [0, 1) picks: 1 to 10, a tenth of the draws each.
int faultFor(double draw);

// The details of fault k (1 to 10): eleven lines joined by CR LF, none after the last.
QString text(const QString& loginName, int k);

} // namespace fault_details

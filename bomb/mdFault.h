// The fault dialog's details text: a joke fault line naming the user, then a made-up register
// and stack dump.
#pragma once

#include <QString>

namespace mdFault
{

// The user's login name, or empty text.
QString GetLoginName();

// The details for draw k (1 to 10): eleven lines joined by CR LF, none after the last.
QString FaultDetailsText(const QString& loginName, int k);

// Draws k from a freshly seeded generator and writes the details into the open fault dialog.
void BuildFaultDetails();

} // namespace mdFault

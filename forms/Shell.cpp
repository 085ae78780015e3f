#include "forms/Shell.h"

#include "rules/NumberRules.h"
#include "seams/Desktop.h"
#include "seams/System.h"

namespace shell
{

double placeAxis(const QByteArray& text, int windowExtent, int screenExtent, std::int32_t& saved)
{
    if (text.isEmpty())
        return (screenExtent - windowExtent) / 2.0;
    saved = numbers::roundHalfEven(numbers::leadingNumber(text));
    return keepOnScreen(saved, windowExtent, screenExtent);
}

int keepOnScreen(std::int32_t edge, int windowExtent, int screenExtent)
{
    if (edge < 0)
        return 0;
    if (std::int64_t{windowExtent} + edge > screenExtent)
        return screenExtent - windowExtent;
    return edge;
}

bool ensureSingleInstance(System& system, Desktop& desktop)
{
    if (system.acquireSingleInstance())
        return true;
    desktop.messageBox(QStringLiteral("すでに起動してます"), QStringLiteral("Quorvane"),
                       MessageIcon::None);
    system.endProcess();
    return false;
}

} // namespace shell

#include "rules/FaultDetails.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

namespace fault_details
{

namespace
{

struct Reason {
    const char* text;
    const char* address;
};

// Each reason reads as the user's own fault; rows 2, 7 and 9 share an address.
constexpr Reason kReasons[] = {
    {"の不適切な処理", "3878"},     {"の二度寝による遅刻", "63ef"}, {"の猥褻物陳列", "ef22"},
    {"の睡眠不足", "6e9f"},         {"の世界を釣る", "dd11"},       {"のかみなり様", "6eef"},
    {"の入れたの手のお茶", "63ef"}, {"のヒ素混入疑惑", "f6c3"},     {"の保険金詐欺", "63ef"},
    {"の放送禁止用語羅列", "bb94"},
};

const char* const kDump[] = {
    "Registers:",
    "EAX=00000004 CS=0000 EIP=00400000 EFLAGS=00000001",
    "EBX=00000000 SS=0000 ESP=7fffffff EBP=00001000",
    "ECX=04000457 SS=0001 ESI=0000024a FS=0001",
    "EDX=00000001 SS=0000 EDI=00010000 GS=0000",
    "Bytes at CS:EIP:",
    "20 42 00 00 f8 45 43 00 00 00 00 00 8c 10 31 75",
    "Stack dump:",
    // one line, split here only for the width of the source
    ("00003324 00004b51 00000b9e 0000276c 00001855 0000294c 00007940 0000370b 00001222 "
     "00002b2b 00006a18 0000346a 00001096 00001957 00007b37 0000255e"),
};

} // namespace

QString shownLoginName(const QString& loginName)
{
    // The name as a 255-character buffer would hold it, less its terminating NUL.
    constexpr int kNameBuffer = 255;
    return loginName.left(kNameBuffer - 1);
}

int faultFor(double draw)
{
    constexpr int count = std::size(kReasons);
    return std::clamp(static_cast<int>(draw * count + 1), 1, count);
}

QString text(const QString& loginName, int k)
{
    const Reason& r = kReasons[k - 1];
    QStringList lines;
    lines << loginName + QString::fromUtf8(r.text) + QStringLiteral("です｡");
    lines << QStringLiteral("ﾓｼﾞｭｰﾙ : Quorvane、ｱﾄﾞﾚｽ : ") + QLatin1String(r.address) +
                 QStringLiteral(":fffbd5c7");
    for (const char* line : kDump)
        lines << QLatin1String(line);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace fault_details

#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace fonts
{

namespace
{

// The fonts that stand in for the desktop fonts the program is drawn with, best first.
QStringList standIns(const QString& face)
{
    if (face == QStringLiteral("ＭＳ Ｐゴシック"))
        return {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    if (face == QStringLiteral("ＭＳ ゴシック"))
        return {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};
    return {};
}

QString installedFamily(const QString& face)
{
    if (QFontDatabase::hasFamily(face))
        return face;
    for (const QString& candidate : standIns(face)) {
        if (QFontDatabase::hasFamily(candidate))
            return candidate;
    }
    return face;
}

} // namespace

QString family(const QString& face)
{
    // Asking Qt for a family that is not installed costs a fallback search on every new size
    // and script; asking for the installed one does not.
    static QHash<QString, QString> resolved;
    auto it = resolved.constFind(face);
    if (it == resolved.constEnd())
        it = resolved.insert(face, installedFamily(face));
    return *it;
}

QFont face(const QString& face, qreal points)
{
    QFont font(family(face));
    font.setPointSizeF(points);
    return font;
}

void useJapaneseFallback()
{
    QFont font = QGuiApplication::font();
    // A generic name ("Sans Serif") is no installed family: Qt would search fontconfig for it
    // and still take the Japanese family next, so it is left out.
    QStringList families;
    for (const QString& desktop : font.families()) {
        if (QFontDatabase::hasFamily(desktop))
            families << desktop;
    }
    const QString japanese = family(QStringLiteral("ＭＳ Ｐゴシック"));
    if (!families.contains(japanese))
        families << japanese;
    if (families == font.families())
        return;
    font.setFamilies(families);
    QGuiApplication::setFont(font);
}

ConfigurationPreload::ConfigurationPreload() : m_thread([] { FcInit(); }) {}

ConfigurationPreload::~ConfigurationPreload()
{
    join();
}

void ConfigurationPreload::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace fonts

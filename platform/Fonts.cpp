#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace fonts
{

namespace
{

// The fonts that stand in for the desktop fonts the program is drawn with, best first: the
// face under its English name, then the IPA and Noto fonts.
QStringList standIns(const QString& face)
{
    if (face == QStringLiteral("ＭＳ Ｐゴシック"))
        return {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                QStringLiteral("Noto Sans CJK JP")};
    if (face == QStringLiteral("ＭＳ ゴシック"))
        return {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                QStringLiteral("Noto Sans Mono CJK JP")};
    return {};
}

// Whether a family of this name is installed. The list is read once; QFontDatabase::hasFamily
// would run fontconfig's substitution rules for every name asked (a millisecond each).
bool installed(const QString& name)
{
    static const QStringList families = QFontDatabase::families();
    return families.contains(name, Qt::CaseInsensitive);
}

// Qt's generic names stand for whatever fontconfig picks for them at each use, a fallback
// search every time a size or script is new.
bool generic(const QString& family)
{
    static const QStringList names = {QStringLiteral("Sans Serif"), QStringLiteral("Serif"),
                                      QStringLiteral("Monospace")};
    return names.contains(family, Qt::CaseInsensitive);
}

} // namespace

QString family(const QString& face)
{
    // Asking Qt for a family that is not installed costs a fallback search on every new size
    // and script; asking for the installed one does not.
    if (installed(face))
        return face;
    for (const QString& candidate : standIns(face)) {
        if (installed(candidate))
            return candidate;
    }
    return face;
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
    // A generic name ("Sans Serif") would cost a fallback search and still leave the Japanese
    // text to the next family, so it is left out; so is a family that is not installed.
    QStringList families;
    for (const QString& desktop : font.families()) {
        if (installed(desktop) && !generic(desktop))
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

struct ConfigurationPreload::Reader {
    std::thread thread{[] { FcInit(); }};
};

ConfigurationPreload::ConfigurationPreload() : m_reader(std::make_unique<Reader>()) {}

ConfigurationPreload::~ConfigurationPreload()
{
    join();
}

void ConfigurationPreload::join()
{
    if (m_reader->thread.joinable())
        m_reader->thread.join();
}

} // namespace fonts

#include "desktop/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace fonts
{

namespace
{

// The face the program is drawn with, and the fonts that stand in for it, best first: the face
// under its English name, then the IPA and Noto fonts.
QStringList faceAndStandIns(Gothic kind)
{
    if (kind == Gothic::Proportional)
        return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    return {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
            QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};
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

namespace
{

QString family(Gothic kind)
{
    // Asking Qt for a family that is not installed costs a fallback search on every new size
    // and script; asking for the installed one does not.
    const QStringList candidates = faceAndStandIns(kind);
    for (const QString& candidate : candidates) {
        if (installed(candidate))
            return candidate;
    }
    return candidates.first();
}

} // namespace

QFont gothic(qreal points, Gothic kind, bool bold)
{
    QFont font(family(kind));
    font.setPointSizeF(points);
    font.setBold(bold);
    if (kind == Gothic::Fixed)
        font.setStyleHint(QFont::TypeWriter);
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
    const QString japanese = family(Gothic::Proportional);
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

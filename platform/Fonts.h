// The program's fonts on a Linux desktop. The forms ask for fonts by the names a Japanese desktop
// knows ("ＭＳ Ｐゴシック"); here those names become fonts that are installed.
#pragma once

#include <QFont>
#include <QString>
#include <memory>

namespace fonts
{

// The installed family that draws `face`: the face itself when installed, else the first
// installed stand-in (its English name, IPA, Noto CJK), else `face` unchanged for Qt's own
// fallback. The installed families are read once, at the first call.
QString family(const QString& face);

// A font of `face` at `points`, drawn with family(face).
QFont face(const QString& face, qreal points);

// Gives the application font (menus, tips, message boxes) the program's Japanese family after the
// desktop's installed families, so their Japanese text needs no fallback search.
void useJapaneseFallback();

// Reads the font configuration on a second thread while the application starts, so the first
// font asked for does not wait for it. The first font must be asked for only after join().
class ConfigurationPreload
{
public:
    ConfigurationPreload();
    ~ConfigurationPreload();
    ConfigurationPreload(const ConfigurationPreload&) = delete;
    ConfigurationPreload& operator=(const ConfigurationPreload&) = delete;

    void join();

private:
    struct Reader;
    std::unique_ptr<Reader> m_reader;
};

} // namespace fonts

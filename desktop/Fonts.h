// The program's fonts on a Linux desktop: the Japanese desktop's two Gothic faces, the
// proportional one and the fixed-pitch one, drawn with fonts that are installed.
#pragma once

#include <QFont>
#include <QString>
#include <memory>

namespace fonts
{

enum class Gothic { Proportional, Fixed };

// The Gothic face at `points`, drawn with the installed family that stands in for it: the face
// itself when installed, else its English name, IPA, Noto CJK, else the face's name for Qt's own
// fallback. The installed families are read once, at the first call.
QFont gothic(qreal points, Gothic kind = Gothic::Proportional, bool bold = false);

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

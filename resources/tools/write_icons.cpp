// Writes the bomb icon as PNG files for the hicolor icon theme, one painted per size:
// write_icons DIR NAME -> DIR/<N>x<N>/apps/NAME.png
#include "resources/Icons.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: write_icons DIR NAME\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : icons::sizes) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        if (!QDir().mkpath(apps) || !icons::paintBomb(size).save(apps + '/' + name + ".png")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(apps));
            return 1;
        }
    }
    return 0;
}

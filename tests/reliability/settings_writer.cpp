// Saves the settings file over and over, the way the program does, until it is killed:
// settings_writer PATH FIRST. It alternates between the two contents of contents.h, beginning
// with the one numbered FIRST, and writes a dot to its output after every completed save.
#include "platform/FileOps.h"
#include "reliability/contents.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int first = argv[2][0] == '1' ? 1 : 0;
    for (unsigned i = 0;; ++i) {
        fileops::replaceFile(path, reliability::content(static_cast<int>((first + i) % 2)));
        std::fputc('.', stdout);
        std::fflush(stdout);
    }
}

// Runs the clock tick N times with the recording platform, for instruction counts under
// callgrind: tick_bench quiet|changing N. "quiet": the second stays the same (nine ticks in
// ten); "changing": every tick shows a new second and a new uptime.
#include "main_window/Main.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QTime>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const bool changing = QByteArray(argv[1]) == "changing";
    const int n = QByteArray(argv[2]).toInt();
    FakeEnvironment env;
    env.fake.file = "[Quorvane]\nHOUR=7\nMIN=30\n";
    Main main;
    main.Form_Load();
    main.show();
    QTime time(12, 0, 0);
    env.fake.timeText = time.toString(QStringLiteral("H:mm:ss"));
    env.fake.ticks = 3'600'000;
    main.Timer1_Timer();
    // texts made beforehand, so that the loop costs only the tick
    QStringList texts;
    for (int i = 0; changing && i < n; ++i)
        texts << time.addSecs(i + 1).toString(QStringLiteral("H:mm:ss"));
    for (int i = 0; i < n; ++i) {
        if (changing) {
            env.fake.timeText = texts[i];
            env.fake.ticks += 1000;
        }
        main.Timer1_Timer();
    }
    return 0;
}

// Runs the clock tick N times with the recording platform, for instruction counts under
// callgrind: tick_bench quiet|changing N. "quiet": the second stays the same (as on nine ticks
// in ten of the full hour's first second, which ticks every 100 ms); "changing": every tick shows
// a new second and a new uptime. Prints the heap allocations the N ticks made.
#include "support/Allocations.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <cstdio>

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
    env.program.start();
    env.fake.msOfDay = 12 * 3600 * 1000;
    env.fake.ticks = 3'600'000;
    fire(&env.program, "clockTimer");
    const long before = heapAllocations();
    for (int i = 0; i < n; ++i) {
        if (changing) {
            env.fake.msOfDay += 1000;
            env.fake.ticks += 1000;
        }
        fire(&env.program, "clockTimer");
    }
    std::printf("allocations %ld\n", heapAllocations() - before);
    return 0;
}

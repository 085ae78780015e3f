// The clock ticks ten times a second all day: a tick in which nothing shown changes must not
// allocate, lay out or repaint anything.
#include "main_window/Main.h"
#include "settings/Settings.h"
#include "support/FakePlatform.h"

#include <QTest>
#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long> g_allocations{0};
}

// Every heap allocation in this test program is counted.
void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

class TestTickCost : public QObject
{
    Q_OBJECT
private slots:
    void quietTicksCostNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("clock and uptime") << QByteArray("[Quorvane]\nHOUR=7\nMIN=30\n");
        QTest::newRow("seconds only") << QByteArray("[Quorvane]\nDSPTIME=1\n");
    }
    void quietTicksCostNothing()
    {
        QFETCH(QByteArray, file);
        FakeEnvironment env;
        env.fake.file = file;
        env.fake.timeText = QStringLiteral("12:34:56");
        env.fake.ticks = 3'599'600; // 3599.6 s: the uptime shows 3600 s from here to 3600.5 s
        Main main;
        QVERIFY(main.Form_Load());
        main.Timer1_Timer(); // the first tick writes everything once
        QCoreApplication::processEvents();
        env.fake.log.clear();

        const long before = g_allocations;
        for (int i = 1; i < 10; ++i) {
            env.fake.ticks += 100; // up to 3600.5 s, which rounds to the even 3600
            main.Timer1_Timer();
        }
        QCOMPARE(g_allocations - before, 0L);
        QVERIFY(env.fake.log.isEmpty());

        // A new second is shown, once.
        env.fake.timeText = QStringLiteral("12:34:57");
        env.fake.ticks = 3'600'600;
        main.Timer1_Timer();
        QVERIFY(g_allocations - before > 0);
        QCOMPARE(main.Label1->text(), QStringLiteral("12:34:57"));
        QVERIFY(main.Label2->text().contains(QStringLiteral("1秒")));
    }
};

QTEST_MAIN(TestTickCost)
#include "tst_tick_cost.moc"

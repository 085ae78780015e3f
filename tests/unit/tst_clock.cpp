// The clock object alone, without a window: what it says (texts, colours, the beep alert, the
// calm ticks) and what it asks of the system (beeps, exit requests, the purge, the end), in one
// ordered log, row by row. Steps: at=H:mm:ss[.zzz], up=MS, start, tick[@TIME], blink, sweep[*N],
// seen, unseen, stop (the alarm-stop button), apply (the record changed), set=KEY=VALUE (a key
// of the record written and read again), close / dismiss (the fault dialog's outcome), clockset
// (the system says the wall clock was set or the zone changed), check=PROBE:VALUE with the probes
// interval and blink (the clock's and the blink's timer's interval in ms, "-" when it is not
// running), sweep (on or off) and purges (how many so far).
#include "clock/AlarmClock.h"
#include "rules/SettingsFile.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"
#include "support/Scenario.h"

#include <QRegularExpression>
#include <QTest>

namespace
{

const char* const kRows = R"table(
# name | settings file's keys | steps | log
starting shows the system's text, ticks within 100 ms, sweeps as set | DELLMODE=1 | at=9:05:03 start
    check=interval:100 check=sweep:on check=blink:- tick check=interval:1005 at=9:05:03.250 tick
    check=interval:755 | clock:9:05:03 clock:09:05:03 uptime:0時間0分0秒経過 calm*2
unseen, the clock sleeps until the full hour or the alarm minute, then ticks every 100 ms in that
    second and that minute, waking ten seconds early to measure again | HOUR=7\nMIN=30 | start unseen
    at=9:05:03.250 tick check=interval:3286750 tick@9:59:50.001 check=interval:10004 tick@7:59:59.990
    check=interval:15 tick@8:00:00 check=interval:100 tick@8:00:00.950 check=interval:55 tick@8:00:01
    check=interval:3589000 tick@7:29:59 check=interval:1005 tick@7:30:00 check=interval:100
    tick@7:30:59.960 check=interval:45 tick@7:31:00 check=interval:1730000 | clock:12:34:56 calm*3
    beep*16 calm beep*16 calm*3 colour:red alert beep*12 alert beep*12 colour:face calm
the alarm minute's beep alert: red, then blue and red a second apart, the first half a tick late
    | HOUR=7\nMIN=30\nEASYMODE=1 | start unseen tick@7:30:00.005 check=blink:1050 at=7:30:01.055 blink
    check=blink:1000 at=7:30:02.057 blink tick@7:30:02.105 check=blink:998 stop check=blink:- tick@7:30:03
    tick@7:31:00 check=blink:-
    | clock:12:34:56 colour:red alert beep*12 colour:blue colour:red alert beep*12 colour:face colour:red
    alert beep*12 colour:face calm
the blink swaps between two ticks whatever the phase the alarm began on (OK at .537: ticks at
    .637 ... .937, then just past every tenth) | HOUR=7\nMIN=30 | start unseen tick@7:30:00.537
    check=blink:1018 at=7:30:01.555 blink check=blink:1000 | clock:12:34:56 colour:red alert beep*12
    colour:blue
an alarm on the hour chimes too; midnight is an alarm, hour 24 never | HOUR=0 | start unseen
    tick@0:00:00 tick@0:00:30 set=HOUR=24 tick@0:00:40 | clock:12:34:56 beep*16 colour:red alert beep*12
    alert beep*12 colour:face calm
unseen, an alarm in hour 00 ends the sleep too, one in hour 33 never | HOUR=00\nMIN=30 | start unseen
    tick@0:00:01 check=interval:1789000 set=HOUR=33 tick@9:05:03.250 check=interval:3286750
    | clock:12:34:56 calm*2
restart, power off, log off: six beeps and the request | HOUR=7\nMIN=30\nBOMSETTING=1 | start unseen
    tick@7:30:00 set=BOMSETTING=2 tick@7:30:01 set=BOMSETTING=3 set=EASYMODE=2 tick@7:30:02
    | clock:12:34:56 colour:red beep*6 exit:2 beep*6 exit:1 beep*6 exit:0
actions 4 and -1 do nothing, gentle or not | HOUR=7\nMIN=30\nBOMSETTING=4 | start unseen tick@7:30:00
    set=BOMSETTING=-1 set=EASYMODE=1 tick@7:30:01 check=blink:- | clock:12:34:56 colour:red
the gentle mode asks once; ticks meanwhile keep the texts but neither chime nor ask; dismissed, it acts within 100 ms
    | HOUR=8\nBOMSETTING=1\nEASYMODE=1 | start unseen tick@8:00:00 seen up=5000 at=8:00:07 tick tick@8:00:00
    check=interval:100 tick@8:01:00 check=interval:1005 dismiss check=interval:100 tick@8:00:59 tick@8:00:59.500
    | clock:12:34:56 beep*16 colour:red fault clock:08:00:00 uptime:0時間0分0秒経過 clock:08:00:07
    uptime:0時間0分5秒経過 clock:08:00:00 clock:08:01:00 clock:08:00:59 fault
the fault dialog's close: six beeps, the request, the end | HOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1
    | start unseen tick@7:30:00 close | clock:12:34:56 colour:red fault beep*6 exit:0 end
unseen, ticks make no text; seen again, the texts are made and a tick comes within 100 ms, once | - | at=10:00:10 up=1000 start tick
    unseen up=61000 tick@10:00:30 tick@10:00:31 check=interval:3559000 seen check=interval:100 tick seen check=interval:1005
    | clock:10:00:10*2 uptime:0時間0分1秒経過 calm*3 clock:10:00:31 uptime:0時間1分1秒経過 calm
the uptime in seconds, a change of form shows at once | DSPTIME=1 | up=-1000 start tick set=DSPTIME=0
    tick | clock:12:34:56*2 uptime:-1秒経過 calm uptime:-1時間59分59秒経過 calm
the sweep on every fifth tick, its count kept while off | DELLMODE=1 | start sweep*4 check=purges:0 sweep
    check=purges:1 sweep*5 check=purges:2 sweep*3 set=DELLMODE=0 apply check=sweep:off set=DELLMODE=1 apply
    check=sweep:on sweep check=purges:2 sweep | clock:12:34:56 purge*3
a clock set into the full hour's second chimes at once, into the alarm minute's last second sets
    it off at once | HOUR=7\nMIN=30 | start unseen at=7:59:00 tick at=8:00:00 clockset check=interval:100
    at=7:30:59.950 clockset | clock:12:34:56 calm beep*16 calm colour:red alert beep*12
seen, the uptime turns with the clock's second whatever the phase of its own (read afresh when seen
    again and when the clock is set) | - | at=9:10:00.005 up=1499 start tick at=9:10:01.003 up=2497
    tick at=9:10:02.008 up=3502 tick at=9:10:03.004 up=4498 tick unseen up=10600 tick@9:10:09.300 seen
    up=11399 tick@9:10:10.099 at=9:20:00.500 up=15400 clockset
    | clock:9:10:00 clock:09:10:00 uptime:0時間0分1秒経過 calm clock:09:10:01 uptime:0時間0分2秒経過 calm
    clock:09:10:02 uptime:0時間0分3秒経過 calm clock:09:10:03 uptime:0時間0分4秒経過 calm*2
    clock:09:10:09 uptime:0時間0分11秒経過 clock:09:10:10 uptime:0時間0分12秒経過 calm clock:09:20:00
    uptime:0時間0分15秒経過 calm
)table";

// Writes what the clock says and asks for into the fake's log, beside what reaches the system.
class Recorder : public FaultPrompt
{
public:
    Recorder(AlarmClock& clock, QStringList& log) : m_log(log)
    {
        QObject::connect(&clock, &AlarmClock::clockTextChanged,
                         [&log](const QString& t) { log << "clock:" + t; });
        QObject::connect(&clock, &AlarmClock::uptimeTextChanged,
                         [&log](const QString& t) { log << "uptime:" + t; });
        QObject::connect(&clock, &AlarmClock::colourChanged, [&log](ClockColour c) {
            log << (c == ClockColour::Red    ? "colour:red"
                    : c == ClockColour::Blue ? "colour:blue"
                                             : "colour:face");
        });
        QObject::connect(&clock, &AlarmClock::beepAlertShown, [&log] { log << "alert"; });
        QObject::connect(&clock, &AlarmClock::calmTick, [&log] { log << "calm"; });
        clock.setFaultPrompt(this);
    }
    void promptFault() override { m_log << "fault"; }

private:
    QStringList& m_log;
};

} // namespace

class TestClock : public QObject
{
    Q_OBJECT
private slots:
    void rows_data() { addTableRows(kRows); } // the record's keys, steps, log
    void rows()
    {
        QFETCH(QStringList, fields);
        const QString &keys = fields[0], &steps = fields[1], &log = fields[2];
        FakePlatform fake;
        fake.file = "[Quorvane]\n" + (keys == u"-" ? QByteArray() : unescape(keys).toUtf8());
        settings_file::SettingsFile file(fake);
        settings::SettingsRecord record;
        settings::load(file, record);
        AlarmClock clock(fake, record);
        const Recorder recorder(clock, fake.log);
        clock.setSeen(true);
        const auto timer = [&clock](const char* name) { return control<QTimer>(&clock, name); };
        const auto interval = [&timer](const char* name) {
            const QTimer* t = timer(name);
            return t->isActive() ? QString::number(t->interval()) : QStringLiteral("-");
        };
        const QHash<QString, std::function<QString()>> probes{
            {"interval", [&] { return interval("clockTimer"); }},
            {"blink", [&] { return interval("blinkTimer"); }},
            {"sweep", [&] { return timer("sweepTimer")->isActive() ? "on" : "off"; }},
            {"purges", [&] { return QString::number(fake.log.count(QStringLiteral("purge"))); }},
        };
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            const qsizetype cut = step.indexOf(QRegularExpression(QStringLiteral("[=@*]")));
            const QString name = step.left(cut), value = cut < 0 ? QString() : step.mid(cut + 1);
            if (name == u"at" || (name == u"tick" && !value.isEmpty()))
                fake.setTime(value);
            if (name == u"up")
                fake.ticks = std::uint32_t(value.toLongLong());
            else if (name == u"start")
                clock.start();
            else if (name == u"tick")
                fire(&clock, "clockTimer");
            else if (name == u"blink")
                fire(&clock, "blinkTimer");
            else if (name == u"sweep")
                for (int i = value.isEmpty() ? 1 : value.toInt(); i > 0; --i)
                    fire(&clock, "sweepTimer");
            else if (name == u"seen" || name == u"unseen")
                clock.setSeen(name == u"seen");
            else if (name == u"stop")
                clock.stopAlarm();
            else if (name == u"apply")
                clock.applySettings();
            else if (name == u"set") {
                file.writeString(value.section('=', 0, 0).toLatin1(),
                                 value.section('=', 1).toUtf8());
                settings::load(file, record);
            } else if (name == u"close")
                clock.faultClosed();
            else if (name == u"dismiss")
                clock.faultDismissed();
            else if (name == u"clockset")
                fake.clockChange();
            else if (name == u"check") {
                const QString probe = value.section(':', 0, 0), expected = value.section(':', 1);
                QVERIFY2(probes.contains(probe), qPrintable(step));
                QCOMPARE(probes[probe](), expected);
            } else if (name != u"at")
                QFAIL(qPrintable("no such step: " + step));
        }
        fake.log.removeAll(QStringLiteral("write")); // the record's own changes
        QCOMPARE(compactLog(fake.log), log);
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"

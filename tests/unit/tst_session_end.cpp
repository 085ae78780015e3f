#include "platform/SessionEnd.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <csignal>

class TestSessionEnd : public QObject
{
    Q_OBJECT
private slots:
    // Each way the session ends the program is reported once, from the event loop: SIGTERM,
    // SIGHUP, and (0) the session manager quitting the event loop.
    void reported()
    {
        for (const int signal : {SIGTERM, SIGHUP, 0}) {
            SessionEndWatcher watcher;
            int reports = 0;
            watcher.watch([&] { ++reports; });
            if (signal != 0) {
                ::raise(signal); // the process lives on: the handler only takes note
                QCOMPARE(reports, 0);
                QTRY_COMPARE(reports, 1);
                ::raise(signal);
            } else {
                QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
                QCoreApplication::exec();
            }
            QCoreApplication::processEvents();
            QCOMPARE(reports, 1);
        }
    }

    // Once the process ends by its own route, the session's end is not reported.
    void notAfterStop()
    {
        SessionEndWatcher watcher;
        int reports = 0;
        watcher.watch([&] { ++reports; });
        watcher.stop();
        ::raise(SIGTERM);
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec(); // delivers the signal's byte, then quits
        QCOMPARE(reports, 0);
    }
};

QTEST_GUILESS_MAIN(TestSessionEnd)
#include "tst_session_end.moc"

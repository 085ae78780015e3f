// Kills a process that keeps saving the settings file at random moments, a thousand times, and
// checks after every kill that the file is whole: the old content or the new, with its mode,
// still reached through the link that points to it.
#include "reliability/contents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/stat.h>
#include <thread>

class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void killedWhileSaving()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString realDir = dir.filePath(QStringLiteral("real"));
        QVERIFY(QDir().mkpath(realDir));
        const QString real = realDir + QStringLiteral("/velmaris.ini");
        const QString link = dir.filePath(QStringLiteral("velmaris.ini"));
        const QByteArray first = reliability::content(0);
        const QByteArray second = reliability::content(1);
        {
            QFile f(real);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(first);
        }
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0640) == 0);
        QVERIFY(QFile::link(QStringLiteral("real/velmaris.ini"), link));

        int changes = 0;
        QByteArray last = first;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 1000; ++round) {
            QProcess writer;
            // its first save changes the file
            writer.start(QStringLiteral(WRITER),
                         {link, last == first ? QStringLiteral("1") : QStringLiteral("0")});
            QVERIFY(writer.waitForStarted());
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(10000)));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            QFile f(real);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray now = f.readAll();
            QVERIFY2(now == first || now == second,
                     qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
            changes += now != last;
            last = now;
            struct stat st {
            };
            QVERIFY(::stat(QFile::encodeName(real).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 07777, 0640u);
            QVERIFY(QFileInfo(link).isSymLink());
        }
        // The kills fell on every stage of the saves, not only before the first.
        QVERIFY2(changes > 150, qPrintable(QString::number(changes)));
        // A save writes into an unnamed file, so a kill leaves nothing behind, except in the
        // instant between naming the complete file and renaming it into place; the next save
        // removes such a copy, so at most the last kill's is left, and it is whole.
        QStringList left = QDir(realDir).entryList(QDir::Files | QDir::Hidden);
        left.removeOne(QStringLiteral("velmaris.ini"));
        QVERIFY2(left.size() <= 1, qPrintable(left.join(QLatin1Char(' '))));
        for (const QString& name : left) {
            QFile f(realDir + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray copy = f.readAll();
            QVERIFY(copy == first || copy == second);
        }
        qInfo("%d saves completed between kills; %lld whole copies left", changes,
              static_cast<long long>(left.size()));
    }
};

QTEST_APPLESS_MAIN(TestCrashSafety)
#include "tst_crash_safety.moc"

// Kills a process that keeps saving the settings file, three hundred times, each time at a random
// moment after its first completed save, so that kills fall on every stage of the saves that
// follow; after every kill the file is whole (the old content or the new) with its mode, still
// reached through the link that points to it.
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

        QByteArray last = first;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 300; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(WRITER),
                         {link, last == first ? QStringLiteral("1") : QStringLiteral("0")});
            QVERIFY(writer.waitForReadyRead(10000)); // one save completed
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(3000)));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            QFile f(real);
            QVERIFY(f.open(QIODevice::ReadOnly));
            last = f.readAll();
            QVERIFY2(last == first || last == second,
                     qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(last.size())));
            struct stat st {
            };
            QVERIFY(::stat(QFile::encodeName(real).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 07777, 0640u);
            QVERIFY(QFileInfo(link).isSymLink());
        }
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
    }
};

QTEST_APPLESS_MAIN(TestCrashSafety)
#include "tst_crash_safety.moc"

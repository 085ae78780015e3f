// Kills a child process that keeps saving the settings file, three hundred times, each time at a
// random moment after its first completed save, so that kills fall on every stage of the saves
// that follow; after every kill the file is whole (the old content or the new) with its mode,
// still reached through the link that points to it.
#include "system/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

// 64 KiB of someone else's lines around the program's section; the two differ in the hour.
QByteArray content(int which)
{
    QByteArray foreign;
    for (int i = 0; foreign.size() < 64 * 1024; ++i)
        foreign += "; a line the user keeps, number " + QByteArray::number(i) + "\r\n";
    return "[Other]\r\nx=1\r\n" + foreign + "[Quorvane]\r\nHOUR=" + (which == 0 ? "07" : "19") +
           "\r\nMIN=30\r\n" + foreign;
}

// A child that saves the two contents by turns, beginning with `first`, and writes a byte to
// the pipe after every completed save; it runs until it is killed.
pid_t startWriter(const QString& path, int first, int pipeEnd)
{
    const QByteArray contents[] = {content(0), content(1)};
    const pid_t pid = ::fork();
    for (unsigned i = 0; pid == 0; ++i) {
        file_ops::replaceFile(path, contents[(first + i) % 2]);
        if (::write(pipeEnd, ".", 1) != 1)
            ::_exit(1);
    }
    return pid;
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void killedWhileSaving()
    {
        QTemporaryDir dir;
        const QString realDir = dir.filePath(QStringLiteral("real"));
        QVERIFY(QDir().mkpath(realDir));
        const QString real = realDir + QStringLiteral("/velmaris.ini");
        const QString link = dir.filePath(QStringLiteral("velmaris.ini"));
        const QByteArray first = content(0), second = content(1);
        QFile file(real);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(first) == first.size());
        file.close();
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0640) == 0);
        QVERIFY(QFile::link(QStringLiteral("real/velmaris.ini"), link));

        QByteArray last = first;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 300; ++round) {
            int saves[2];
            QCOMPARE(::pipe(saves), 0);
            const pid_t writer = startWriter(link, last == first ? 1 : 0, saves[1]);
            char done = 0;
            QCOMPARE(::read(saves[0], &done, 1), 1); // one save completed
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(3000)));
            ::kill(writer, SIGKILL);
            QCOMPARE(::waitpid(writer, nullptr, 0), writer);
            ::close(saves[0]);
            ::close(saves[1]);

            last = read(real);
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
        for (const QString& name : left)
            QVERIFY(QList<QByteArray>({first, second}).contains(read(realDir + '/' + name)));
    }
};

QTEST_APPLESS_MAIN(TestCrashSafety)
#include "tst_crash_safety.moc"

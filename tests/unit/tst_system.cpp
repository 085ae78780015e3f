// The Linux system: the settings file's reads and replacements, the lock, the purge of
// the recent-documents list, and the end of the desktop session.
#include "system/FileOps.h"
#include "system/LinuxSystem.h"
#include "system/SessionEnd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// How long the event loop runs after a report, for a second one to come if it would.
constexpr int kSecondReportWaitMs = 200;

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

mode_t modeOf(const QString& path)
{
    struct stat st {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : ~0u;
}

// Permissions bind root only through the mode bits: as root, the checks of what another user
// may do run as the unprivileged user nobody.
template <typename Checks> void asNobody(Checks checks)
{
    const bool root = ::geteuid() == 0;
    if (root && (::setegid(65534) != 0 || ::seteuid(65534) != 0))
        qFatal("cannot become nobody");
    checks();
    if (root && (::seteuid(0) != 0 || ::setegid(0) != 0))
        qFatal("cannot become root again");
}

QByteArray get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestSystem : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void readFile()
    {
        QCOMPARE(file_ops::readFile(path("missing")), std::optional<QByteArray>(QByteArray()));
        put(path("plain"), "abc");
        QCOMPARE(file_ops::readFile(path("plain")), std::optional<QByteArray>("abc"));
        QVERIFY(QDir().mkdir(path("adir")));
        QVERIFY(!file_ops::readFile(path("adir")).has_value());
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
        QVERIFY(!file_ops::readFile(path("fifo")).has_value()); // and it did not block
        put(path("secret"), "x");
        ::chmod(QFile::encodeName(path("secret")).constData(), 0);
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
        asNobody([&] { QVERIFY(!file_ops::readFile(path("secret")).has_value()); });
    }

    void replaceKeepsModeAndCreatesFolders()
    {
        const mode_t mask = ::umask(022);
        const QString p = path("sub/deeper/velmaris.ini");
        QVERIFY(file_ops::replaceFile(p, "one"));
        ::umask(mask);
        QCOMPARE(get(p), QByteArray("one"));
        // the folders it made are the user's alone, whatever the umask
        for (const char* folder : {"sub", "sub/deeper"})
            QCOMPARE(modeOf(path(folder)), mode_t(0700));
        ::chmod(QFile::encodeName(p).constData(), 0640);
        QVERIFY(file_ops::replaceFile(p, "two"));
        QCOMPARE(get(p), QByteArray("two"));
        QCOMPARE(modeOf(p), mode_t(0640));
        // No temporary file is left behind.
        QCOMPARE(QDir(path("sub/deeper")).entryList(QDir::Files), QStringList{"velmaris.ini"});
    }

    // A file without write permission in its mode is never replaced, also by root.
    void readOnlyFileIsKept()
    {
        const QString p = path("ro.ini");
        for (const mode_t mode : {0444, 0, 0400}) {
            put(p, "old");
            ::chmod(QFile::encodeName(p).constData(), mode);
            QVERIFY(!file_ops::replaceFile(p, "new"));
            ::chmod(QFile::encodeName(p).constData(), 0600);
            QCOMPARE(get(p), QByteArray("old"));
            QCOMPARE(QDir(m_dir.path()).entryList({"ro.ini*"}, QDir::Files), QStringList{"ro.ini"});
        }
    }

    // Copies left by saves killed midway go at the next save; nothing else beside the file does.
    void leftoverCopiesRemoved()
    {
        const QString dir = path("left");
        QVERIFY(QDir().mkpath(dir + "/velmaris.ini.quorvane-dir001"));
        for (const char* name :
             {"velmaris.ini", "velmaris.ini.quorvane-Ab12yZ", "velmaris.ini.quorvane-abcdefg",
              "velmaris.ini.quorvane-ab.def", "velmaris.ini.backup", "other.ini.quorvane-abcdef"})
            put(dir + "/" + name, "x");
        put(path("precious"), "keep");
        QVERIFY(QFile::link(path("precious"), dir + "/velmaris.ini.quorvane-link01"));
        QVERIFY(file_ops::replaceFile(dir + "/velmaris.ini", "new"));
        QCOMPARE(
            QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList{"other.ini.quorvane-abcdef", "velmaris.ini", "velmaris.ini.backup",
                         "velmaris.ini.quorvane-ab.def", "velmaris.ini.quorvane-abcdefg",
                         "velmaris.ini.quorvane-dir001", "velmaris.ini.quorvane-link01"}));
        QCOMPARE(get(path("precious")), QByteArray("keep"));
    }

    void replaceFollowsLinks()
    {
        put(path("target.ini"), "old");
        QVERIFY(QFile::link(path("target.ini"), path("link.ini")));
        QVERIFY(file_ops::replaceFile(path("link.ini"), "new"));
        QVERIFY(QFileInfo(path("link.ini")).isSymLink());
        QCOMPARE(get(path("target.ini")), QByteArray("new"));
        // A dangling link creates its target.
        QVERIFY(QFile::link(path("made.ini"), path("dangling.ini")));
        QVERIFY(file_ops::replaceFile(path("dangling.ini"), "made"));
        QCOMPARE(get(path("made.ini")), QByteArray("made"));
        // A relative link leads from the link's own folder.
        QVERIFY(QFile::link("target.ini", path("relative.ini")));
        QVERIFY(file_ops::replaceFile(path("relative.ini"), "again"));
        QCOMPARE(get(path("target.ini")), QByteArray("again"));
    }

    void replaceFailureLeavesOldFile()
    {
        QVERIFY(QDir().mkdir(path("adir2")));
        QVERIFY(!file_ops::replaceFile(path("adir2"), "x")); // a directory is not replaced
        QVERIFY(QFileInfo(path("adir2")).isDir());
        put(path("afile"), "x"); // a file where a folder must be
        QVERIFY(!file_ops::replaceFile(path("afile/f.ini"), "x"));
        // a folder where the user may not write: the file in it is writable, but not replaced
        QVERIFY(QDir().mkdir(path("ro")));
        put(path("ro/f.ini"), "old");
        ::chmod(QFile::encodeName(path("ro/f.ini")).constData(), 0666);
        ::chmod(QFile::encodeName(path("ro")).constData(), 0555);
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
        asNobody([&] { QVERIFY(!file_ops::replaceFile(path("ro/f.ini"), "new")); });
        ::chmod(QFile::encodeName(path("ro")).constData(), 0755);
        QCOMPARE(get(path("ro/f.ini")), QByteArray("old"));
    }

    // A write that fails midway (the file-size limit) leaves the old file whole.
    void writeFailingMidway()
    {
        put(path("big.ini"), "[Quorvane]\nHOUR=7\n");
        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 8;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool ok = file_ops::replaceFile(path("big.ini"), QByteArray(4096, 'x'));
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!ok);
        QCOMPARE(get(path("big.ini")), QByteArray("[Quorvane]\nHOUR=7\n"));
        QCOMPARE(QDir(m_dir.path()).entryList({"big.ini*"}, QDir::Files), QStringList{"big.ini"});
    }

    void lockIsExclusive()
    {
        QVERIFY(file_ops::lockForLifetime(path("q.lock")));
        QVERIFY(!file_ops::lockForLifetime(path("q.lock")));     // a second open description
        QVERIFY(file_ops::lockForLifetime(path("none/q.lock"))); // no lock can be made: run
        // A link in the lock's place is not followed.
        QVERIFY(QFile::link(path("elsewhere"), path("l.lock")));
        file_ops::lockForLifetime(path("l.lock"));
        QVERIFY(!QFile::exists(path("elsewhere")));
    }

    void purgeRecentDocuments()
    {
        const QString data = path("data");
        QVERIFY(QDir().mkpath(data + "/RecentDocuments/sub.desktop"));
        put(data + "/recently-used.xbel", "<xbel><bookmark href=\"file:///x\"/></xbel>");
        ::chmod(QFile::encodeName(data + "/recently-used.xbel").constData(), 0600);
        put(data + "/RecentDocuments/a.desktop", "x");
        put(data + "/RecentDocuments/keep.txt", "x");
        put(path("outside.desktop"), "precious");
        QVERIFY(QFile::link(path("outside.desktop"), data + "/RecentDocuments/b.desktop"));

        file_ops::purgeRecentDocuments(data);

        const QByteArray emptied = get(data + "/recently-used.xbel"); // a list with no bookmark
        QVERIFY(emptied.startsWith("<?xml") && emptied.contains("<xbel") &&
                !emptied.contains("<bookmark"));
        QCOMPARE(QFile::permissions(data + "/recently-used.xbel"),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(!QFile::exists(data + "/RecentDocuments/a.desktop"));
        QVERIFY(!QFileInfo(data + "/RecentDocuments/b.desktop").isSymLink());
        QCOMPARE(get(path("outside.desktop")), QByteArray("precious"));
        QVERIFY(QFile::exists(data + "/RecentDocuments/keep.txt"));
        QVERIFY(QFileInfo(data + "/RecentDocuments/sub.desktop").isDir());
        // a list that is a link is left alone, and so is a folder that is not there
        QVERIFY(QFile::remove(data + "/recently-used.xbel"));
        QVERIFY(QFile::link(path("outside.desktop"), data + "/recently-used.xbel"));
        file_ops::purgeRecentDocuments(data);
        QCOMPARE(get(path("outside.desktop")), QByteArray("precious"));
        file_ops::purgeRecentDocuments(path("nonexistent"));
        QVERIFY(!QFileInfo::exists(path("nonexistent"))); // not made
    }

    // A user the password database does not know, as in some containers, has no login name.
    void noLoginNameForAnUnknownUser()
    {
        if (::geteuid() != 0)
            QSKIP("taking on a user id nobody has needs root");
        QCOMPARE(::seteuid(987654321), 0);
        const QString name = LinuxSystem([] {}).loginName();
        QCOMPARE(::seteuid(0), 0);
        QCOMPARE(name, QString());
    }

    // Each way the session ends the program is reported once, from the event loop: SIGTERM,
    // SIGHUP, and the session manager quitting the event loop. A signal's note is written
    // before raise() returns, so a second report would come within the wait after it.
    void sessionEndReported()
    {
        for (const auto& [signal, way] :
             {std::pair{SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}, {0, "the session manager"}}) {
            SessionEndWatcher watcher;
            int reports = 0;
            watcher.watch([&] { ++reports; });
            if (signal != 0) {
                ::raise(signal);             // the process lives on: the handler only takes note
                QVERIFY2(reports == 0, way); // not from inside the handler
                QVERIFY2(QTest::qWaitFor([&] { return reports == 1; }), way);
                ::raise(signal);
            } else {
                QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
                QCoreApplication::exec();
            }
            QVERIFY2(!QTest::qWaitFor([&] { return reports > 1; }, kSecondReportWaitMs), way);
            QVERIFY2(reports == 1, way);
        }
    }

    // Once the process ends by its own route, the session's end is not reported.
    void sessionEndNotAfterStop()
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

QTEST_GUILESS_MAIN(TestSystem)
#include "tst_system.moc"

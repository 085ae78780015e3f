#include "system/FileOps.h"

#include "seams/Log.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file_ops
{

namespace
{

QString homeDir()
{
    const QByteArray home = qgetenv("HOME");
    if (home.startsWith('/'))
        return QString::fromLocal8Bit(home);
    if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_dir != nullptr)
        return QString::fromLocal8Bit(pw->pw_dir);
    return QStringLiteral("/");
}

QString xdgDir(const char* variable, const char* fallbackUnderHome)
{
    const QByteArray v = qgetenv(variable);
    if (v.startsWith('/'))
        return QString::fromLocal8Bit(v);
    return homeDir() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
}

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// A save's temporary copy is named after the file with this infix and six random letters.
constexpr char kCopyInfix[] = ".quorvane-";
constexpr int kCopyLetters = 6;
constexpr QByteArrayView kLetterSet =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// Gives a complete unnamed file a fresh name: the six letters at the end of `name` become
// random ones. False when no name could be made.
bool linkUnnamed(int fd, QByteArray& name)
{
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = name;
        for (qsizetype i = candidate.size() - kCopyLetters; i < candidate.size(); ++i)
            candidate[i] = kLetterSet[QRandomGenerator::system()->bounded(int(kLetterSet.size()))];
        if (::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, candidate.constData(),
                     AT_SYMLINK_FOLLOW) == 0) {
            name = candidate;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// The path a write must replace: a symbolic link's final target (also when the target does not
// exist yet), else the path itself.
QByteArray resolveLinks(const QByteArray& path)
{
    QByteArray current = path;
    constexpr int kMaxHops = 40; // as the kernel gives up on a loop of links
    for (int hops = 0; hops < kMaxHops; ++hops) {
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(current.constData(), buf, sizeof buf - 1);
        if (n < 0)
            return current;
        QByteArray target(buf, n);
        if (!target.startsWith('/')) {
            const qsizetype slash = current.lastIndexOf('/');
            target = current.left(slash + 1) + target;
        }
        current = target;
    }
    return current;
}

// Creates the missing folders of a path with mode 0700, as the XDG base-directory rules ask of
// the folders a program makes for its user.
bool makeParents(const QByteArray& dir)
{
    struct stat st {
    };
    if (::stat(dir.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const qsizetype slash = dir.lastIndexOf('/');
    if (slash > 0 && !makeParents(dir.left(slash)))
        return false;
    return (::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST) &&
           ::stat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether an existing file may be replaced: its mode must give write permission (also to root,
// whom the kernel would let write anyway), and the effective user must be allowed to write it.
bool mayReplace(const QByteArray& path, const struct stat& st)
{
    return (st.st_mode & 0222) != 0 &&
           ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) == 0;
}

bool isLeftoverCopy(const QByteArray& entry, const QByteArray& fileName)
{
    const QByteArray prefix = fileName + kCopyInfix;
    if (!entry.startsWith(prefix) || entry.size() != prefix.size() + kCopyLetters)
        return false;
    for (qsizetype i = prefix.size(); i < entry.size(); ++i) {
        if (!kLetterSet.contains(entry[i]))
            return false;
    }
    return true;
}

// Removes the entries of a folder that `doomed` picks by their name and their own status (a
// link is looked at, never followed), relative to the folder. `dirFlags` adds to how the folder
// is opened (O_NOFOLLOW: not through a link).
void removeEntries(const QByteArray& dir, int dirFlags,
                   const std::function<bool(const QByteArray&, const struct stat&)>& doomed)
{
    const int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | dirFlags);
    if (dfd < 0)
        return;
    DIR* d = ::fdopendir(dfd);
    if (d == nullptr) {
        ::close(dfd);
        return;
    }
    while (const dirent* e = ::readdir(d)) {
        struct stat st {
        };
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            doomed(QByteArray(e->d_name), st) &&
            ::unlinkat(dfd, e->d_name, 0) != 0) // removes a link itself, never its target
            qCInfo(lcQuorvane) << "not removed:" << dir + '/' + e->d_name << ::strerror(errno);
    }
    ::closedir(d);
}

// Removes the copies that saves killed between naming the copy and renaming it into place left
// beside the file: only regular files with the save's own names, never a link or a folder.
void removeLeftoverCopies(const QByteArray& dir, const QByteArray& fileName)
{
    removeEntries(dir, 0, [&](const QByteArray& name, const struct stat& st) {
        return S_ISREG(st.st_mode) && isLeftoverCopy(name, fileName);
    });
}

void syncDir(const QByteArray& dir)
{
    Fd d(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d.get() >= 0)
        ::fsync(d.get());
}

} // namespace

QString configHome()
{
    return xdgDir("XDG_CONFIG_HOME", ".config");
}

QString dataHome()
{
    return xdgDir("XDG_DATA_HOME", ".local/share");
}

QString runtimeDir()
{
    const QByteArray v = qgetenv("XDG_RUNTIME_DIR");
    return v.startsWith('/') ? QString::fromLocal8Bit(v) : QString();
}

std::optional<QByteArray> readFile(const QString& path)
{
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QByteArray();
        return std::nullopt;
    }
    struct stat st {
    };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    QByteArray bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buf, n);
    }
    return bytes;
}

bool replaceFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = resolveLinks(QFile::encodeName(path));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash <= 0 ? QByteArray("/") : target.left(slash);
    if (!makeParents(dir))
        return false;

    struct stat old {
    };
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (existed && (!S_ISREG(old.st_mode) || !mayReplace(target, old)))
        return false;

    mode_t mode = 0;
    if (existed) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    // The new content goes into an unnamed file in the same folder, which gets a name only
    // when it is complete: a process killed while writing leaves nothing behind. Where the
    // filesystem has no unnamed files, a named temporary file (mode 0600 until written) serves.
    const QByteArray fileName = target.mid(slash + 1);
    QByteArray tmp = target + kCopyInfix + QByteArray(kCopyLetters, 'X');
    const int unnamedFd = ::open(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    const bool unnamed = unnamedFd >= 0;
    Fd fd(unnamed ? unnamedFd : ::mkostemp(tmp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    bool hasName = !unnamed;
    bool ok = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    if (ok && unnamed)
        ok = hasName = linkUnnamed(fd.get(), tmp);
    ok = ::close(fd.release()) == 0 && ok && ::rename(tmp.constData(), target.constData()) == 0;
    if (!ok) {
        if (hasName)
            ::unlink(tmp.constData());
        return false;
    }
    syncDir(dir);
    removeLeftoverCopies(dir, fileName);
    return true;
}

bool makeFolders(const QString& dir)
{
    return makeParents(QFile::encodeName(dir));
}

bool lockForLifetime(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // no lock file can be made: do not stop the user from running the program
        qCInfo(lcQuorvane) << "no single-instance lock at" << path << ::strerror(errno);
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        if (!held)
            qCInfo(lcQuorvane) << "no single-instance lock on" << path << ::strerror(errno);
        ::close(fd);
        return !held;
    }
    return true; // the descriptor stays open, and locked, until the process ends
}

namespace
{

QByteArray emptyRecentList()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xbel version=\"1.0\"\n"
           "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
           "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
           "></xbel>\n";
}

} // namespace

void purgeRecentDocuments(const QString& dataDir)
{
    const QByteArray base = QFile::encodeName(dataDir);
    const QByteArray list = base + "/recently-used.xbel";
    struct stat st {
    };
    if (::lstat(list.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
        !replaceFile(QFile::decodeName(list), emptyRecentList()))
        qCInfo(lcQuorvane) << "the recently used list could not be emptied:" << list;

    removeEntries(base + "/RecentDocuments", O_NOFOLLOW,
                  [](const QByteArray& name, const struct stat& entry) {
                      return name.endsWith(".desktop") && !S_ISDIR(entry.st_mode);
                  });
}

} // namespace file_ops

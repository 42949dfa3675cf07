#include "toolkit/qt/frame_log.h"

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tervalin {
namespace {

#ifdef Q_OS_UNIX

constexpr int kFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Why `path` could not be opened, `error` being the open's errno.
QByteArray refusal(const QByteArray& path, int error) {
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode))
            return QByteArrayLiteral("it is a symbolic link");
        if (S_ISDIR(st.st_mode))
            return QByteArrayLiteral("it is a directory");
        if (!S_ISREG(st.st_mode))
            return QByteArrayLiteral("it is not a regular file");
    }
    return std::strerror(error);
}

// Creates the file, or opens it when it exists. O_EXCL refuses any existing
// name, a link included, so nothing is ever created at a link's target;
// O_NOFOLLOW refuses a link on the second try; O_NONBLOCK keeps a FIFO
// without a reader from blocking the open.
int openForAppending(const QByteArray& path, QByteArray& why) {
    int fd = ::open(path.constData(), kFlags | O_CREAT | O_EXCL, 0600);
    if (fd < 0 && errno == EEXIST)
        fd = ::open(path.constData(), kFlags);
    if (fd < 0) {
        why = refusal(path, errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = QByteArrayLiteral("it is not a regular file");
        ::close(fd);
        return -1;
    }
    return fd;
}

void closeFile(int fd) {
    ::close(fd);
}

void writeLine(int fd, const QByteArray& line) {
    [[maybe_unused]] const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
}
#else
// The log is a benchmarking aid for the Unix desktops the benchmark runs on.
int openForAppending(const QByteArray&, QByteArray& why) {
    why = QByteArrayLiteral("the frame log is written on Unix systems only");
    return -1;
}
void closeFile(int) {}
void writeLine(int, const QByteArray&) {}
#endif

} // namespace

void FrameLog::open(const QString& path) {
    if (fd_ >= 0 || path.isEmpty())
        return;
    QByteArray why;
    fd_ = openForAppending(QFile::encodeName(path), why);
    if (fd_ < 0)
        qWarning("Tervalin: not writing the frame log to %s: %s", qPrintable(path),
                 why.constData());
}

FrameLog::~FrameLog() {
    if (fd_ >= 0)
        closeFile(fd_);
}

QString FrameLog::pathFromEnvironment() {
    return qEnvironmentVariable("TERVALIN_FRAME_LOG");
}

// One write per line, appended whole; a line that cannot be written is lost.
void FrameLog::wait(double now, double deadline) {
    if (fd_ < 0 || deadline == lastDeadline_)
        return;
    lastDeadline_ = deadline;
    const QByteArray line =
        QByteArray::number(now, 'f', 6) + ' ' + QByteArray::number(deadline, 'f', 6) + '\n';
    writeLine(fd_, line);
}

} // namespace tervalin

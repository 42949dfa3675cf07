#pragma once

#include <QString>

namespace tervalin {

// The wait log that benchmarks read: one line per wait as it begins, the
// Timer value and the wait's deadline, in seconds. It is written only when
// the environment variable TERVALIN_FRAME_LOG names a file.
//
// The file is appended to when it is a regular file, and created (mode 0600)
// when nothing of that name exists. Anything else is refused: a symbolic
// link (dangling or not), a directory, a FIFO, a device, a path that cannot
// be written. Opening never blocks. A refused log is reported once on
// standard error, and the program runs on without it.
class FrameLog {
public:
    FrameLog() = default; // logs nothing until opened
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // The log the environment asks for, if any.
    static QString pathFromEnvironment();

    // Opens the log at `path`; an empty path leaves it closed, silently.
    void open(const QString& path);
    bool isOpen() const { return fd_ >= 0; }

    // Notes a wait that begins at `now` and lasts until `deadline`. A wait
    // resumed with the same deadline after an event is noted only once.
    void wait(double now, double deadline);

private:
    int fd_ = -1;
    double lastDeadline_ = -1;
};

} // namespace tervalin

// The frame log writes only to a regular file: whatever else its path names
// is refused at once, with one warning, and nothing is written anywhere.
// (A FIFO that blocked the open would hang this test: CTest's timeout ends it.)

#include "animation/run_loop.h"
#include "toolkit/qt/frame_log.h"
#include "toolkit/qt/qt_toolkit.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tervalin;

namespace {

enum class Target {
    RegularFile,
    Nothing,
    FifoWithoutReader,
    FifoWithReader,
    Directory,
    LinkToFile,
    DanglingLink,
    UnderARegularFile,
    ReadOnlyFile,
};

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

bool write(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

int mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

const QByteArray kEarlier = "0.500000 0.530000\n";
const QByteArray kLine = "1.250000 1.280000\n";

} // namespace

Q_DECLARE_METATYPE(Target)

class TestFrameLog : public QObject {
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }

    void writesOnlyToARegularFile_data() {
        QTest::addColumn<Target>("target");
        QTest::addColumn<QString>("reason"); // empty: the log is written
        QTest::newRow("a regular file: appended") << Target::RegularFile << QString();
        QTest::newRow("nothing there: created") << Target::Nothing << QString();
        QTest::newRow("a FIFO without a reader")
            << Target::FifoWithoutReader << "not a regular file";
        QTest::newRow("a FIFO with a reader") << Target::FifoWithReader << "not a regular file";
        QTest::newRow("a directory") << Target::Directory << "directory";
        QTest::newRow("a link to a regular file") << Target::LinkToFile << "symbolic link";
        QTest::newRow("a dangling link") << Target::DanglingLink << "symbolic link";
        QTest::newRow("a path under a regular file")
            << Target::UnderARegularFile << "Not a directory";
        QTest::newRow("a read-only file") << Target::ReadOnlyFile << "Permission denied";
    }

    void writesOnlyToARegularFile() {
        QFETCH(Target, target);
        QFETCH(QString, reason);
        if (target == Target::ReadOnlyFile && ::geteuid() == 0)
            QSKIP("root writes to a read-only file");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("frames.log");
        const QString other = dir.filePath("other.log"); // a link's target
        int reader = -1;
        switch (target) {
        case Target::RegularFile:
        case Target::LinkToFile:
            QVERIFY(write(target == Target::RegularFile ? path : other, kEarlier));
            break;
        case Target::ReadOnlyFile:
            QVERIFY(write(path, kEarlier));
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
            break;
        case Target::FifoWithoutReader:
        case Target::FifoWithReader:
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            if (target == Target::FifoWithReader) {
                reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
                QVERIFY(reader >= 0);
            }
            break;
        case Target::Directory:
            QVERIFY(QDir(dir.path()).mkdir("frames.log"));
            break;
        case Target::UnderARegularFile:
            QVERIFY(write(other, kEarlier));
            break;
        case Target::Nothing:
        case Target::DanglingLink:
            break;
        }
        if (target == Target::LinkToFile || target == Target::DanglingLink)
            QVERIFY(QFile::link(other, path));
        const QString logPath = target == Target::UnderARegularFile ? other + "/frames.log" : path;
        if (!reason.isEmpty())
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("^Tervalin: not writing the frame log to " +
                                                    QRegularExpression::escape(logPath) + ": .*" +
                                                    reason));
        {
            FrameLog log;
            log.open(logPath);
            QCOMPARE(log.isOpen(), reason.isEmpty());
            log.wait(1.25, 1.28);
            log.wait(1.26, 1.28); // the same wait, resumed after an event
        }

        switch (target) {
        case Target::RegularFile:
            QCOMPARE(contents(path), kEarlier + kLine);
            break;
        case Target::Nothing:
            QCOMPARE(contents(path), kLine);
            QCOMPARE(mode(path), 0600);
            break;
        case Target::FifoWithReader: {
            char c;
            QVERIFY2(::read(reader, &c, 1) <= 0, "written to the FIFO");
            ::close(reader);
            break;
        }
        case Target::LinkToFile:
        case Target::UnderARegularFile:
            QVERIFY2(contents(other) == kEarlier, "written through to another file");
            break;
        case Target::DanglingLink:
            QVERIFY2(!QFileInfo::exists(other), "the link's target was created");
            break;
        case Target::ReadOnlyFile:
            QCOMPARE(contents(path), kEarlier);
            break;
        case Target::Directory:
            QVERIFY2(QDir(path).isEmpty(), "something was written into the directory");
            break;
        case Target::FifoWithoutReader:
            break;
        }
    }

    void anEmptyPathLogsNothingAndSaysNothing() {
        FrameLog log;
        log.open(QString());
        QVERIFY(!log.isOpen());
    }

    // The toolkit reads the log's path from the environment and notes each
    // wait once as it begins.
    void theToolkitLogsItsWaits() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("frames.log");
        qputenv("TERVALIN_FRAME_LOG", QFile::encodeName(path));
        QtToolkit tk;
        qunsetenv("TERVALIN_FRAME_LOG");
        Pacing_wait(tk);
        Pacing_wait(tk);
        const QList<QByteArray> lines = contents(path).trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        // Each line holds the Timer as the wait begins and its deadline, 0.03 s
        // after the frame's wait started: never further ahead than that, and
        // the second deadline at least a frame after the first. (How soon the
        // line is written after the wait started depends on the machine.)
        std::vector<double> deadlines;
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.split(' ');
            QCOMPARE(fields.size(), 2);
            QVERIFY2(fields[1].toDouble() - fields[0].toDouble() <= 0.03 + 1e-6, line.constData());
            deadlines.push_back(fields[1].toDouble());
        }
        QVERIFY2(deadlines[1] - deadlines[0] >= 0.03 - 1e-6, lines.join(" / ").constData());
    }
};

QTEST_MAIN(TestFrameLog)
#include "test_frame_log.moc"

// The start and the end of the program. It hands the toolkit no option of
// its command line, and without a display it ends at once with one line.
// Once the toolkit has ended, by End or by the window being closed, the
// application's event loop returns 0, whatever the run was doing, and
// nothing moves or is drawn any more. A program that hid its window but kept
// its loop running would go on invisibly. Until then, in a wait or under a
// message box, the loop sleeps between events.

#include "app/handlers.h"
#include "app/start.h"
#include "support/scene_snapshot.h"
#include "support/shown_window.h"
#include "window/quiz_state.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using namespace tervalin;

namespace {

enum class Phase { BeforeStart, Driving, StopPause, AfterRoute, AnswerBox, TimeOutBox };
// End at once, or once the loop has stood in the phase for kIdle of the
// test's 5 ms probes.
enum class Ending { End, WindowClosed, EndAfterIdling };
constexpr int kIdle = 20;

// Exit codes of the test's own guards.
constexpr int kPhaseNeverReached = 98;
constexpr int kStillRunning = 99;

} // namespace

Q_DECLARE_METATYPE(Phase)
Q_DECLARE_METATYPE(Ending)

class TestQtEnd : public QObject {
    Q_OBJECT
private slots:
    void toolkitGetsOnlyTheProgramName_data() {
        QTest::addColumn<QStringList>("commandLine");
        QTest::addColumn<QString>("name");
        QTest::newRow("no option") << QStringList{"tervalin"} << "tervalin";
        QTest::newRow("a style") << QStringList{"/usr/games/tervalin", "-style", "windows"}
                                 << "/usr/games/tervalin";
        QTest::newRow("a style sheet")
            << QStringList{"tervalin", "-stylesheet=a.qss"} << "tervalin";
        QTest::newRow("right to left") << QStringList{"tervalin", "-reverse"} << "tervalin";
        QTest::newRow("no name either") << QStringList{} << "tervalin";
    }

    void toolkitGetsOnlyTheProgramName() {
        QFETCH(QStringList, commandLine);
        QFETCH(QString, name);
        std::vector<QByteArray> bytes;
        std::vector<char*> argv;
        for (const QString& a : commandLine)
            argv.push_back(bytes.emplace_back(a.toLocal8Bit()).data());
        argv.push_back(nullptr);
        const std::vector<char*> args = toolkitArguments(int(commandLine.size()), argv.data());
        QCOMPARE(args.size(), std::size_t(2));
        QCOMPARE(QString::fromLocal8Bit(args[0]), name);
        QVERIFY(!args[1]);
    }

    // What the platform plugins say while they connect: after a message that
    // no display can be reached, the program writes its one line and ends
    // with status 1.
    void noDisplayEndsWithOneLine_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("line");
        const QByteArray line = "tervalin: no display: neither an X11 nor a Wayland display can be "
                                "reached; start it on a desktop, or without one under a virtual X "
                                "server: xvfb-run tervalin\n";
        QTest::newRow("X11, no server") << "qt.qpa.xcb"
                                        << "could not connect to display :32765" << line;
        QTest::newRow("Wayland, no compositor")
            << ""
            << "Failed to create wl_display (No such file or directory)" << line;
        QTest::newRow("X11, another warning")
            << "qt.qpa.xcb"
            << "QXcbConnection: XCB error: 3 (BadWindow)" << QByteArray();
        QTest::newRow("the plugin itself") << "qt.qpa.plugin"
                                           << "Could not load the Qt platform plugin \"xcb\" in "
                                              "\"\" even though it was found."
                                           << QByteArray();
    }

    void noDisplayEndsWithOneLine() {
        QFETCH(QString, category);
        QFETCH(QString, message);
        QFETCH(QByteArray, line);
        const bool noDisplay = saysNoDisplay(category.toStdString(), message);
        QCOMPARE(noDisplay, !line.isEmpty());
        if (noDisplay) {
            const std::string_view written = windowDescription().noDisplayLine;
            QCOMPARE(QByteArray(written.data(), qsizetype(written.size())), line);
            QCOMPARE(kNoDisplayStatus, 1);
        }
    }

    void theEventLoopReturnsZero_data() {
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<Ending>("ending");
        const std::pair<const char*, Phase> phases[] = {
            {"before START", Phase::BeforeStart},
            {"while driving", Phase::Driving},
            {"in a stop pause", Phase::StopPause},
            {"after the route", Phase::AfterRoute},
            {"with the answer's message box open", Phase::AnswerBox},
            {"with the time-out message open", Phase::TimeOutBox}};
        for (const auto& [name, phase] : phases) {
            // With the time-out message, the program's own End follows its OK.
            const char* end = phase == Phase::TimeOutBox ? "OK, then End" : "End";
            QTest::addRow("%s: %s", name, end) << phase << Ending::End;
            QTest::addRow("%s: window closed", name) << phase << Ending::WindowClosed;
            if (phase == Phase::StopPause || phase == Phase::AnswerBox)
                QTest::addRow("%s: %s after the loop has idled", name, end)
                    << phase << Ending::EndAfterIdling;
        }
    }

    void theEventLoopReturnsZero() {
        QFETCH(Phase, phase);
        QFETCH(Ending, ending);
        test::ShownWindow w;
        QVERIFY(w.exposed());
        QtToolkit& tk = w.tk();
        QuizState st;
        wireHandlers(tk, st);
        // Each phase is reached from the first frame on, without driving the
        // route up to it.
        switch (phase) {
        case Phase::StopPause: // leg 2 steps up from 2240 to 2140 and stands there
            st.NUMBER_OF_POVOROT = 2;
            tk.setTop(Shape::tervalin, 2240);
            break;
        case Phase::AfterRoute:
            st.NUMBER_OF_POVOROT = 7;
            break;
        case Phase::AnswerBox: // the last leg, from where it begins, shows the answer button
            st.NUMBER_OF_POVOROT = 6;
            tk.setTop(Shape::tervalin, 3640);
            break;
        case Phase::TimeOutBox:
            st.m = 4;
            break;
        default:
            break;
        }

        const float tramAtStart = tk.Left(Shape::red_tram);
        auto* answer = tk.form().button(Control::Command2);
        const std::function<bool()> reached = [&]() -> std::function<bool()> {
            switch (phase) {
            case Phase::BeforeStart:
                return [] { return true; };
            case Phase::Driving:
                return [&] { return tk.surface().items.size() >= 3; };
            case Phase::StopPause:
                return [&] {
                    return st.Start_znak && tk.Timer() < double(*st.Start_znak) + 0.5 &&
                           tk.Top(Shape::tervalin) == 2140.f;
                };
            case Phase::AfterRoute:
                return [&] { return tk.Left(Shape::red_tram) != tramAtStart; };
            default: // a message box
                return [] { return QApplication::activeModalWidget() != nullptr; };
            }
        }();

        // The test's guards stop a loop that never gets to the phase, or that
        // runs on after the end.
        QTimer neverReached, stillRunning;
        neverReached.setSingleShot(true);
        stillRunning.setSingleShot(true);
        // They end the toolkit too, so that a run loop inside START's handler
        // unwinds.
        QObject::connect(&neverReached, &QTimer::timeout, [&] {
            tk.End();
            QCoreApplication::exit(kPhaseNeverReached);
        });
        QObject::connect(&stillRunning, &QTimer::timeout, [&] {
            tk.End();
            QCoreApplication::exit(kStillRunning);
        });

        bool answered = false;
        std::optional<test::SceneSnapshot> atEnd;
        std::optional<std::int16_t> legAtEnd;
        QTimer probe;
        // Passes of the event loop while it idles in the phase: a loop that
        // sleeps makes one or two for each probe, one that spins thousands.
        int idled = 0, passes = 0;
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                         &probe, [&] { passes += idled > 0 && !atEnd; });
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (phase == Phase::AnswerBox && !answered && answer->isVisible()) {
                answered = true;
                QTest::mouseClick(answer, Qt::LeftButton);
            }
            if (atEnd || (idled == 0 && !reached()))
                return;
            if (ending == Ending::EndAfterIdling && ++idled <= kIdle)
                return;
            atEnd = test::snapshotOf(tk);
            legAtEnd = st.NUMBER_OF_POVOROT;
            if (ending == Ending::WindowClosed)
                tk.form().close();
            else if (phase == Phase::TimeOutBox)
                QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
            else
                tk.End();
            neverReached.stop();
            stillRunning.start(10000);
        });
        probe.start(5);
        neverReached.start(30000);
        if (phase != Phase::BeforeStart)
            QTest::mouseClick(tk.form().button(Control::Command1), Qt::LeftButton);

        const int status = QApplication::exec();
        QVERIFY2(status != kPhaseNeverReached, "the phase was never reached");
        QVERIFY2(status != kStillRunning, "the event loop runs on after the end");
        QCOMPARE(status, 0);
        QVERIFY2(tk.Ended(), "the toolkit has not ended");
        QVERIFY2(!tk.form().isVisible(), "the window is still shown");
        QVERIFY2(test::snapshotOf(tk) == *atEnd, "something moved or was drawn after the end");
        QCOMPARE(st.NUMBER_OF_POVOROT, legAtEnd);
        QVERIFY2(passes < 5 * kIdle,
                 qPrintable(QStringLiteral("the loop passed %1 times idling").arg(passes)));
    }
};

QTEST_MAIN(TestQtEnd)
#include "test_qt_end.moc"

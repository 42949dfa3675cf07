// The answer check inside a whole run of the exercise on the simulated
// toolkit: the verdict's box, the animation standing still behind it, and
// what the window shows afterwards.
#include "support/last_leg.h"
#include "support/recorded_run.h"

#include <QTest>

#include <algorithm>
#include <vector>

using namespace tervalin;
using enum Control;

namespace {

constexpr double kStartAt = 1.0;
constexpr double kRunFor = 300; // past the four-minute limit

bool onlyLines(const std::vector<DrawingSurface::Item>& items) {
    return std::all_of(items.begin(), items.end(), [](const DrawingSurface::Item& i) {
        return i.kind == DrawingSurface::Item::Kind::Line;
    });
}

} // namespace

class TestAnswerFlow : public QObject {
    Q_OBJECT
private slots:
    void rightAnswerOnTheLastLeg() {
        RecordedRun run;
        SimToolkit& tk = run.tk;
        run.at([&] { return tk.isVisible(Command2); }, [&](double now) { run.answer(now, "0"); });

        // Inside the box: the steps before the verdict have run, those after
        // it have not.
        bool focusedInBox = false, drawnInBox = false, controlsUpInBox = false;
        std::int16_t otvetInBox = -1;
        run.onVerdict = [&] {
            focusedInBox = tk.focus() == u"Text1";
            drawnInBox = !tk.surface().items.empty();
            controlsUpInBox = tk.isEnabled(Text1) && tk.isVisible(Command2);
            otvetInBox = run.st.OTVET;
        };

        // The first frame after the box has closed, and the frames after it.
        std::vector<DrawingSurface::Item> drawnAfter;
        bool buttonBackAfter = false, boxGreyAfter = false;
        int focusRequestsAfter = 0, framesFocusedAfter = 0;
        run.at([&] { return run.judged(1); },
               [&](double) {
                   drawnAfter = tk.surface().items;
                   buttonBackAfter = tk.isVisible(Command2);
                   boxGreyAfter = tk.isVisible(Text1) && !tk.isEnabled(Text1);
                   focusRequestsAfter = tk.focusRequests(Text1);
               });
        run.eachFrame(
            [&](double) { framesFocusedAfter += run.judged(1) && tk.focus() == u"Text1"; });
        run.run(kStartAt, kRunFor);

        const auto verdicts = run.verdicts();
        QVERIFY2(verdicts.size() == 1 && verdicts[0].text == test::kRightVerdict,
                 "one verdict: right");
        QCOMPARE(verdicts[0].text.size(), 35);
        QVERIFY2(verdicts[0].title == "Tervalin", qPrintable(verdicts[0].title));
        QVERIFY2(focusedInBox, "the answer box has the focus before the verdict");
        QVERIFY2(otvetInBox == 0, "OTVET is written before the verdict");
        QVERIFY2(drawnInBox && controlsUpInBox, "nothing is put away before the box closes");

        QVERIFY2(run.ticksWhileBoxOpen > 10, "the quiz clock ticks on behind the box");
        QVERIFY2(run.sceneChangesWhileBoxOpen == 0, "nothing moves or draws behind the box");
        QVERIFY2(run.framesWhileBoxOpen == 0, "no frame runs behind the box");

        QVERIFY2(drawnAfter.size() == 1 && onlyLines(drawnAfter),
                 "the next frame draws one track segment on the cleared window");
        QVERIFY2(buttonBackAfter, "the last leg shows the answer button again");
        QVERIFY2(boxGreyAfter, "the answer box stays, greyed");
        QVERIFY2(tk.focusRequests(Text1) > focusRequestsAfter,
                 "the greyed box is asked for the focus");
        QVERIFY2(framesFocusedAfter == 0, "the greyed box never takes the focus");
        QCOMPARE(tk.Text(Text1), QStringLiteral("0"));
        QCOMPARE(tk.showRequests(), 1);

        QVERIFY2(tk.Ended(), "the time limit still ends the program");
        QCOMPARE(tk.messages().back().text, test::kTimeUp);
        const auto& drawn = tk.surface().items;
        QVERIFY2(drawn.size() > 1 && onlyLines(drawn),
                 "the track is drawn on to the end of the leg, without leg numbers");
    }

    // A wrong answer early on the last leg: the button comes back, and
    // pressing it judges the same text again; typing into the greyed box is lost.
    void secondClickJudgesTheSameTextAgain() {
        RecordedRun run;
        SimToolkit& tk = run.tk;
        run.at([&] { return tk.isVisible(Command2); }, [&](double now) { run.answer(now, "7"); });
        run.at([&] { return run.judged(1) && tk.isVisible(Command2); },
               [&](double now) { run.answer(now, "1"); });
        run.run(kStartAt, kRunFor);

        const auto verdicts = run.verdicts();
        QVERIFY2(verdicts.size() == 2, "two verdicts");
        for (const SimToolkit::Message& m : verdicts) {
            QVERIFY2(m.text == test::kWrongVerdict, qPrintable(m.text));
            QCOMPARE(m.text.size(), 60);
        }
        QCOMPARE(run.st.OTVET, std::int16_t(7));
        QCOMPARE(tk.Text(Text1), QStringLiteral("7"));
        QVERIFY2(!tk.isEnabled(Text1), "the answer box stays greyed");
        QCOMPARE(tk.showRequests(), 2);
    }

    // After the route has ended the button, once hidden, stays hidden, the
    // window stays clear, and the traffic drives on until the time limit.
    void answerAfterTheRouteEnds() {
        RecordedRun run;
        SimToolkit& tk = run.tk;
        run.at([&] { return run.st.NUMBER_OF_POVOROT == 7; },
               [&](double now) { run.answer(now, "-2,5"); });
        int framesAfter = 0, drawnFramesAfter = 0, buttonFramesAfter = 0;
        std::vector<float> tramLefts;
        run.eachFrame([&](double) {
            if (!run.judged(1))
                return;
            ++framesAfter;
            drawnFramesAfter += !tk.surface().items.empty();
            buttonFramesAfter += tk.isVisible(Command2);
            tramLefts.push_back(tk.Left(Shape::red_tram));
        });
        run.run(kStartAt, kRunFor);

        QVERIFY2(run.verdicts().size() == 1 && run.verdicts()[0].text == test::kWrongVerdict,
                 "-2 is wrong");
        QCOMPARE(run.st.OTVET, std::int16_t(-2));
        QVERIFY2(framesAfter > 1000, "frames run on after the verdict");
        QVERIFY2(drawnFramesAfter == 0, "nothing is drawn after the route has ended");
        QVERIFY2(buttonFramesAfter == 0, "the answer button stays hidden");
        QVERIFY2(std::adjacent_find(tramLefts.begin(), tramLefts.end()) == tramLefts.end(),
                 "the tram moves on every frame");
        QVERIFY2(tk.Ended(), "the time limit ends the program");
    }
};

QTEST_GUILESS_MAIN(TestAnswerFlow)
#include "test_answer_flow.moc"

// Which control lies on top where controls overlap, where the keyboard
// focus goes, and the window's fixed frame.

#include "support/shown_window.h"

#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace tervalin;
using namespace tervalin::test;

namespace {

QPoint pixel(int xTwips, int yTwips) {
    return {xTwips / 15, yTwips / 15};
}

QString nameOf(QWidget* w) {
    return w ? w->objectName() : QStringLiteral("nothing");
}

} // namespace

class TestStackingAndFocus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    // The topmost control at a place of the window, as a click finds it.
    void topmostControlAt_data() {
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QString>("expected");
        QTest::newRow("START's middle, over the clock box") << pixel(5160, 6720) << "Command1";
        QTest::newRow("START's top-left corner") << pixel(4440, 6480) << "Command1";
        QTest::newRow("START's lower part, below the clock box") << pixel(5160, 7050) << "Command1";
        QTest::newRow("Line3, beside the right road") << pixel(9360, 1560) << "Picture2";
        QTest::newRow("Line9 beyond x 600") << pixel(700, 600) << "Picture4";
        QTest::newRow("Line9 before x 600") << pixel(580, 600) << "scene";
        QTest::newRow("start of Line10, up to x 1335") << pixel(1320, 600) << "Picture4";
        QTest::newRow("Line10 beyond Picture4") << pixel(1350, 600) << "scene";
        QTest::newRow("lower end of Line21") << pixel(4080, 3825) << "Picture1";
        QTest::newRow("start of Line16") << pixel(4560, 4440) << "Picture1";
        QTest::newRow("the rails at the level crossing") << pixel(10080, 1800) << "scene";
        QTest::newRow("the task text") << pixel(5000, 8000) << "Label2";
        QTest::newRow("the hidden answer box's place") << pixel(9000, 5500) << "scene";
        QTest::newRow("Picture6 at the window's right edge") << pixel(11290, 2300) << "Picture6";
    }

    void topmostControlAt() {
        QFETCH(QPoint, place);
        QFETCH(QString, expected);
        ShownWindow w;
        QVERIFY(w.exposed());
        QCOMPARE(nameOf(w.form().childAt(place)), expected);
    }

    // A real click on START's area is delivered to START, not to the clock
    // box lying under it.
    void clickOnStartReachesCommand1() {
        ShownWindow w;
        QVERIFY(w.exposed());
        QSignalSpy clicked(w.form().button(Control::Command1), &QPushButton::clicked);
        QTest::mouseClick(w.form().windowHandle(), Qt::LeftButton, {}, pixel(4600, 6990));
        QCOMPARE(clicked.count(), 1);
        QVERIFY2(!w.form().textBox(Control::Text2)->hasFocus(), "the clock box took the click");
    }

    // A vehicle driving under a sign box is hidden by it: the box's pixels
    // stay as they were.
    void vehicleUnderASignBoxIsHidden_data() {
        QTest::addColumn<int>("vehicle");
        QTest::addColumn<QPoint>("placeTwips");
        QTest::addColumn<QString>("box");
        QTest::newRow("red_tram under Picture2")
            << int(Shape::red_tram) << QPoint(9120, 1800) << "Picture2";
        QTest::newRow("rose_auto under Picture4")
            << int(Shape::rose_auto) << QPoint(720, 720) << "Picture4";
    }

    void vehicleUnderASignBoxIsHidden() {
        QFETCH(int, vehicle);
        QFETCH(QPoint, placeTwips);
        QFETCH(QString, box);
        ShownWindow w;
        QVERIFY(w.exposed());
        auto* picture = w.form().findChild<PictureBox*>(box);
        QVERIFY(picture);
        const QRect area = picture->geometry();
        const QImage before = w.grab().copy(area);

        const auto shape = Shape(vehicle);
        w.tk().setLeft(shape, float(placeTwips.x()));
        w.tk().setTop(shape, float(placeTwips.y()));
        const auto& g = w.tk().geometry(shape);
        QVERIFY2(toPixels(g.left, g.top, g.width, g.height).intersects(area),
                 "the vehicle does not reach the box");
        QCOMPARE(w.grab().copy(area), before);
    }

    void startHoldsTheFocusWhenTheWindowOpens() {
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.form()));
        QCOMPARE(nameOf(QApplication::focusWidget()), QStringLiteral("Command1"));
    }

    // Tab visits the controls by TabIndex, passing over labels and hidden
    // controls; the clock box, last, leads back to START.
    void tabOrder_data() {
        QTest::addColumn<bool>("answerShown");
        QTest::addColumn<QStringList>("expected");
        const QStringList rest{"Picture1", "Picture2", "Picture3", "Picture4",
                               "Picture5", "Picture6", "Text2",    "Command1"};
        QTest::newRow("as the window opens") << false << rest;
        QTest::newRow("answer controls shown") << true << QStringList{"Command2", "Text1"} + rest;
    }

    void tabOrder() {
        QFETCH(bool, answerShown);
        QFETCH(QStringList, expected);
        ShownWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.form()));
        if (answerShown)
            for (Control c : {Control::Label1, Control::Text1, Control::Command2})
                w.tk().setVisible(c, true);
        w.form().button(Control::Command1)->setFocus(Qt::TabFocusReason);

        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << nameOf(QApplication::focusWidget());
        }
        QCOMPARE(visited, expected);
    }

    void labelsNeverTakeTheFocus() {
        ShownWindow w;
        for (Control c : {Control::Label1, Control::Label2})
            QVERIFY2(w.form().control(c)->focusPolicy() == Qt::NoFocus,
                     qPrintable(w.form().control(c)->objectName()));
        QVERIFY2(w.form().canvas()->focusPolicy() == Qt::NoFocus, "the scene takes the focus");
    }

    void windowIsFixedWithACloseBoxOnly() {
        ShownWindow w;
        MainForm& f = w.form();
        QCOMPARE(f.windowTitle(), QStringLiteral("Tervalin"));
        QCOMPARE(f.size(), QSize(754, 568));
        QCOMPARE(f.minimumSize(), QSize(754, 568));
        QCOMPARE(f.maximumSize(), QSize(754, 568));
        f.resize(900, 700);
        QCOMPARE(f.size(), QSize(754, 568));
        const Qt::WindowFlags flags = f.windowFlags();
        QVERIFY2(flags & Qt::WindowCloseButtonHint, "no close box");
        QVERIFY2(!(flags & Qt::WindowMinimizeButtonHint), "a minimize button");
        QVERIFY2(!(flags & Qt::WindowMaximizeButtonHint), "a maximize button");
        QVERIFY2(!f.windowIcon().isNull(), "no window icon");
        QCOMPARE(f.canvas()->geometry(), QRect(0, 0, 754, 568));
    }
};

QTEST_MAIN(TestStackingAndFocus)
#include "test_stacking_and_focus.moc"

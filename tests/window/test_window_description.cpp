// The window as built against its description: every control's kind,
// place, size, caption, font and visibility, and every line and
// vehicle as held and drawn.

#include "support/shown_window.h"

#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "toolkit/qt/system_colours.h"
#include "window/description.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <set>

using namespace tervalin;
using namespace tervalin::test;

namespace {

constexpr std::uint32_t kDefault = 0x80000008u; // system colour 8, a line's default
constexpr const char* kTaskText =
    " При нажатии кнопки старт начнётся движение\"Tervalin\". Сколько он совершит "
    "нарушений ?Участники движения -- голубой и розовый автомобили, красный трамвай На "
    "задачу отводится 4 минуты";
constexpr const char* kPrompt =
    "Укажите число зафиксированных Вами нарушений и нажмите кнопку ОТВЕТ";

// One control as the window is to have it. `place` is Left, Top, Width,
// Height, or X1, Y1, X2, Y2 for a line. For lines `colour`, `style` and
// `width` are BorderColor, BorderStyle and BorderWidth; for vehicles
// `colour` is the body and `style` 1 marks a dashed outline.
struct Expected {
    const char* name;
    const char* kind;
    int place[4];
    int tabIndex = -1;
    const char* caption = "";
    const char* face = "";
    double points = 0;
    int weight = 0;
    bool visible = true;
    std::uint32_t colour = 0;
    int style = 0;
    int width = 0;
};

constexpr Expected line(const char* name, std::array<int, 4> ends, std::uint32_t colour, int style,
                        int width) {
    Expected e{name, "line", {ends[0], ends[1], ends[2], ends[3]}};
    e.colour = colour;
    e.style = style;
    e.width = width;
    return e;
}

constexpr Expected shape(const char* name, std::array<int, 4> place, std::uint32_t body,
                         int dashedOutline) {
    Expected e{name, "shape", {place[0], place[1], place[2], place[3]}};
    e.colour = body;
    e.style = dashedOutline;
    return e;
}

const Expected kControls[] = {
    {"Command1", "button", {4440, 6480, 1455, 615}, 0, "START", "MS Sans Serif", 8.25, 700},
    {"Command2", "button", {8280, 6120, 1455, 495}, 1, "^ОТВЕТ ^", "MS Sans Serif", 12, 700, false},
    {"Text2", "text box", {4440, 6480, 1455, 525}, 11, "", "Times New Roman", 14.25, 400},
    {"Text1", "text box", {8640, 5100, 735, 915}, 2, "", "MS Sans Serif", 18, 400, false},
    {"Label2", "label", {120, 7320, 10845, 1125}, 8, kTaskText, "Times New Roman", 12, 700},
    {"Label1", "label", {4320, 5400, 4215, 495}, 4, kPrompt, "Times New Roman", 9.75, 700, false},
    {"Timer1", "timer", {}},
    {"Picture6", "picture box", {10440, 2280, 855, 855}, 10},
    {"Picture5", "picture box", {2160, 6480, 735, 735}, 9},
    {"Picture4", "picture box", {600, 600, 735, 615}, 7},
    {"Picture3", "picture box", {8880, 720, 855, 735}, 6},
    {"Picture2", "picture box", {9000, 1560, 735, 735}, 5},
    {"Picture1", "picture box", {3720, 3600, 855, 855}, 3},
    line("Line21", {4080, 3240, 4080, 3840}, kDefault, 0, 3),
    line("Line20", {840, 3240, 4080, 3240}, kDefault, 0, 3),
    line("Line19", {9720, 4440, 9720, 2280}, kDefault, 0, 3),
    line("Line16", {4560, 4440, 9720, 4440}, kDefault, 0, 3),
    line("Line14", {10440, 0, 10440, 4920}, kDefault, 0, 3),
    line("Line13", {4080, 4920, 10440, 4920}, kDefault, 0, 3),
    line("Line12", {0, 1800, 10920, 1800}, kDefault, 0, 1),
    line("Line11", {0, 1920, 10920, 1920}, 0x80000006u, 0, 1),
    line("Line10", {840, 600, 9720, 600}, 0x80000007u, 0, 3),
    line("Line9", {0, 600, 1320, 600}, kDefault, 0, 1),
    line("Line8", {840, 3960, 840, 7320}, kDefault, 0, 3),
    line("Line7", {840, 600, 840, 3240}, kDefault, 0, 3),
    line("Line2", {360, 480, 360, 7320}, 0x80000009u, 4, 1),
    line("Line5", {10920, 2280, 9120, 2280}, kDefault, 2, 1),
    line("Line3", {9000, 1560, 9720, 1560}, kDefault, 2, 1),
    line("Line4", {3240, 7080, 3240, 3960}, kDefault, 0, 3),
    line("Line6", {3240, 3960, 840, 3960}, kDefault, 0, 3),
    line("Line1", {4080, 7080, 4080, 4920}, kDefault, 0, 3),
    shape("rose_auto", {480, 360, 255, 495}, 0x008080FFu, 0),
    shape("red_tram", {9960, 1800, 495, 135}, 0x000000C0u, 0),
    shape("avto_blue", {120, 0, 255, 375}, 0x00FFFF00u, 0),
    shape("tervalin", {3840, 6960, 105, 330}, 0x00000000u, 1),
};

const Expected& expected(const QString& name) {
    return *std::ranges::find_if(kControls, [&](const Expected& e) { return name == e.name; });
}

// What the window description holds for a control: its kind and TabIndex.
struct Held {
    QString kind;
    int tabIndex = -1;
};

Held held(const QString& name) {
    const Description& d = windowDescription();
    for (const auto& b : d.buttons)
        if (toQString(b.name) == name)
            return {"button", b.tabIndex};
    for (const auto& t : d.textBoxes)
        if (toQString(t.name) == name)
            return {"text box", t.tabIndex};
    for (const auto& l : d.labels)
        if (toQString(l.name) == name)
            return {"label", l.tabIndex};
    if (name == "Timer1")
        return {"timer"};
    for (const auto& p : d.pictures)
        if (toQString(p.name) == name)
            return {"picture box", p.tabIndex};
    for (const auto& l : d.lines)
        if (toQString(l.name) == name)
            return {"line"};
    for (const auto& s : d.shapes)
        if (toQString(s.name) == name)
            return {"shape"};
    return {};
}

QRect pixelPlace(const int place[4]) {
    return QRect(place[0] / 15, place[1] / 15, place[2] / 15, place[3] / 15);
}

} // namespace

class TestWindowDescription : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    void everyControlHasOneRow() {
        std::set<QString> stored, rows;
        for (std::string_view name : windowDescription().storedOrder)
            stored.insert(toQString(name));
        for (const Expected& e : kControls)
            rows.insert(e.name);
        QCOMPARE(rows, stored);
        QCOMPARE(rows.size(), std::size(kControls));
    }

    // The window refuses to start from a description whose stored order and
    // tables disagree, and names the control they disagree on. Each row puts
    // a name at a place of the order, or leaves that place out.
    void storedOrderAndTablesAgree_data() {
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("storedThere");
        QTest::addColumn<QString>("unmatched");
        QTest::newRow("as the window stores them") << -1 << ""
                                                   << "";
        QTest::newRow("a typo in the order") << 5 << "Picture7"
                                             << "Picture7";
        QTest::newRow("a control named twice") << 34 << "Line6"
                                               << "Line6";
        QTest::newRow("a control left out") << 10 << ""
                                            << "Text2";
    }

    void storedOrderAndTablesAgree() {
        QFETCH(int, place);
        QFETCH(QString, storedThere);
        QFETCH(QString, unmatched);
        Description d = windowDescription();
        std::vector<std::string_view> order(d.storedOrder.begin(), d.storedOrder.end());
        const QByteArray name = storedThere.toUtf8();
        if (place >= 0 && name.isEmpty())
            order.erase(order.begin() + place);
        else if (place >= 0)
            order[place] = std::string_view(name.constData(), std::size_t(name.size()));
        d.storedOrder = order;
        QCOMPARE(toQString(unmatchedControl(d)), unmatched);
    }

    void controlMatchesItsDescription_data() {
        QTest::addColumn<QString>("name");
        for (const Expected& e : kControls)
            QTest::newRow(e.name) << QString(e.name);
    }

    void controlMatchesItsDescription() {
        QFETCH(QString, name);
        const Expected& e = expected(name);
        const Held h = held(name);
        QVERIFY2(h.kind == e.kind, qPrintable(name + " is held as a " + h.kind));
        QCOMPARE(h.tabIndex, e.tabIndex);

        ShownWindow w;
        QVERIFY(w.exposed());
        if (h.kind == "line")
            checkLine(w, e);
        else if (h.kind == "shape")
            checkShape(w, e);
        else if (h.kind != "timer")
            checkWidget(w, e);
    }

private:
    void checkWidget(ShownWindow& w, const Expected& e) {
        QWidget* widget = w.form().findChild<QWidget*>(e.name);
        QVERIFY2(widget, e.name);
        QCOMPARE(widget->parentWidget(), &w.form());
        const QString kind = e.kind;
        const bool kindMatches = (kind == "button" && qobject_cast<QPushButton*>(widget)) ||
                                 (kind == "text box" && qobject_cast<QLineEdit*>(widget)) ||
                                 (kind == "label" && qobject_cast<QLabel*>(widget)) ||
                                 (kind == "picture box" && qobject_cast<PictureBox*>(widget));
        QVERIFY2(kindMatches,
                 qPrintable(QString(e.name) + " is a " + widget->metaObject()->className()));
        QCOMPARE(widget->geometry(), pixelPlace(e.place));
        QVERIFY2(widget->isVisibleTo(&w.form()) == e.visible,
                 qPrintable(QString(e.name) + (e.visible ? " hidden" : " shown")));

        QString caption;
        if (auto* b = qobject_cast<QPushButton*>(widget))
            caption = b->text();
        else if (auto* t = qobject_cast<QLineEdit*>(widget))
            caption = t->text();
        else if (auto* l = qobject_cast<QLabel*>(widget))
            caption = l->text();
        QCOMPARE(caption, QString::fromUtf8(e.caption));
        if (auto* l = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(l->textFormat(), Qt::PlainText);
            QVERIFY2(l->alignment() & Qt::AlignHCenter, e.name);
            QVERIFY2(l->wordWrap(), e.name);
        }
        if (auto* t = qobject_cast<QLineEdit*>(widget))
            QVERIFY2(t->alignment() & Qt::AlignHCenter, e.name);

        if (*e.face) {
            QCOMPARE(widget->font().family(), QString(e.face));
            QCOMPARE(widget->font().pointSizeF(), e.points);
            QCOMPARE(int(widget->font().weight()), e.weight);
            QVERIFY2(!widget->font().italic() && !widget->font().underline() &&
                         !widget->font().strikeOut(),
                     e.name);
        }
    }

    // The line as held, then as drawn: every pixel along it that no box
    // or vehicle covers has the line's colour, or for a dashed line either
    // its colour or the ground.
    void checkLine(ShownWindow& w, const Expected& e) {
        const auto& lines = windowDescription().lines;
        const LineDesc& line = *std::ranges::find_if(
            lines, [&](const LineDesc& l) { return toQString(l.name) == e.name; });
        QCOMPARE((std::array{line.x1, line.y1, line.x2, line.y2}),
                 (std::array{e.place[0], e.place[1], e.place[2], e.place[3]}));
        QCOMPARE(line.borderColor, e.colour);
        QCOMPARE(int(line.borderStyle), e.style);
        QCOMPARE(line.borderWidth, e.width);

        const QColor colour = resolveColour(e.colour, w.form().canvas()->palette());
        const QColor ground = rgb(windowDescription().window.backColor);
        const Pixels px(w.grab());
        const QPoint a(e.place[0] / 15, e.place[1] / 15), b(e.place[2] / 15, e.place[3] / 15);
        const bool horizontal = a.y() == b.y();
        const int from = horizontal ? std::min(a.x(), b.x()) : std::min(a.y(), b.y());
        const int to = horizontal ? std::max(a.x(), b.x()) : std::max(a.y(), b.y());
        int visible = 0, inColour = 0;
        for (int i = from; i < to; ++i) {
            const QPoint p = horizontal ? QPoint(i, a.y()) : QPoint(a.x(), i);
            if (w.form().childAt(p) != w.form().canvas() || underVehicle(w, p) ||
                onAnotherLine(e, p))
                continue;
            ++visible;
            const QColor c = px.at(p.x(), p.y());
            if (c == colour)
                ++inColour;
            else
                QVERIFY2(e.style != 0 && c == ground,
                         qPrintable(QString("%1 at (%2, %3) is %4, not %5")
                                        .arg(e.name)
                                        .arg(p.x())
                                        .arg(p.y())
                                        .arg(describe(c), describe(colour))));
        }
        if (QString(e.name) == "Line3") {
            QCOMPARE(visible, 0); // Picture2 covers it from end to end
            return;
        }
        QVERIFY2(visible > 0, e.name);
        if (e.style == 0)
            return;
        const double share = double(inColour) / visible;
        QVERIFY2(share > 0.4 && share < 0.8,
                 qPrintable(QString("%1 is drawn on %2 of its pixels").arg(e.name).arg(share)));
    }

    // Where two lines cross, either may lie on top.
    static bool onAnotherLine(const Expected& self, QPoint p) {
        for (const LineDesc& l : windowDescription().lines) {
            if (toQString(l.name) == self.name)
                continue;
            const int reach = l.borderWidth / 2;
            const QRect band = QRect(QPoint(l.x1 / 15, l.y1 / 15), QPoint(l.x2 / 15, l.y2 / 15))
                                   .normalized()
                                   .adjusted(-reach, -reach, reach, reach);
            if (band.contains(p))
                return true;
        }
        return false;
    }

    static bool underVehicle(ShownWindow& w, QPoint p) {
        for (const ShapeDesc& s : windowDescription().shapes) {
            const auto& g = w.tk().geometry(s.id);
            if (toPixels(g.left, g.top, g.width, g.height).contains(QPointF(p) + QPointF(.5, .5)))
                return true;
        }
        return false;
    }

    void checkShape(ShownWindow& w, const Expected& e) {
        const auto& shapes = windowDescription().shapes;
        const ShapeDesc& s = *std::ranges::find_if(
            shapes, [&](const ShapeDesc& d) { return toQString(d.name) == e.name; });
        const auto& g = w.tk().geometry(s.id);
        QCOMPARE((std::array{g.left, g.top, g.width, g.height}),
                 (std::array{float(e.place[0]), float(e.place[1]), float(e.place[2]),
                             float(e.place[3])}));
        QCOMPARE(s.body, e.colour);
        QCOMPARE(s.dashedBorder, e.style == 1);

        const Pixels px(w.grab());
        const QRect r = pixelPlace(e.place);
        // Inside the outline, clear of the hatch lines and of Picture4,
        // which covers the middle of rose_auto.
        const QColor body = px.at(r.left() + 2, r.top() + 2);
        QVERIFY2(body == rgb(e.colour),
                 qPrintable(QString("%1 body is %2").arg(e.name, describe(body))));
        const QColor corner = px.at(r.left(), r.top());
        QVERIFY2(isDark(corner),
                 qPrintable(QString("%1 outline is %2").arg(e.name, describe(corner))));
    }
};

QTEST_MAIN(TestWindowDescription)
#include "test_window_description.moc"

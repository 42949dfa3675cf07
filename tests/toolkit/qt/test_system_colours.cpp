// System colours resolve against the desktop's palette, and stay dark (road
// edges, rails, outlines) or light (centre line, task text ground) on the
// scene's fixed light-grey ground whatever the scheme.

#include "toolkit/qt/system_colours.h"

#include <QApplication>
#include <QStyle>
#include <QTest>

using namespace tervalin;

namespace {

QPalette scheme(const QString& name) {
    QPalette p = QApplication::style()->standardPalette();
    auto set = [&](QPalette::ColorRole role, const QColor& c) { p.setColor(role, c); };
    if (name == "dark") { // a dark desktop: light text on dark grounds
        set(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
        set(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
        set(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
        set(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
        set(QPalette::HighlightedText, QColor(0x20, 0x20, 0x20));
        set(QPalette::Base, QColor(0x30, 0x30, 0x30));
        set(QPalette::Light, QColor(0x50, 0x50, 0x50));
    } else if (name == "pale") { // mid-grey shadows, grey highlighted text
        set(QPalette::Shadow, QColor(0x90, 0x90, 0x90));
        set(QPalette::ButtonText, QColor(0x60, 0x60, 0x60));
        set(QPalette::HighlightedText, QColor(0xC0, 0xC0, 0xC0));
    } else if (name == "coloured") { // a scheme with dark colours of its own
        set(QPalette::WindowText, QColor(0x00, 0x00, 0x60));
        set(QPalette::Shadow, QColor(0x30, 0x00, 0x00));
        set(QPalette::ButtonText, QColor(0x00, 0x40, 0x00));
        set(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xE0));
    }
    return p;
}

} // namespace

class TestSystemColours : public QObject {
    Q_OBJECT
private slots:
    void plainColoursAreBGR_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("ground") << 0x00C0C0C0u << QColor(0xC0, 0xC0, 0xC0);
        QTest::newRow("red fore colour") << 0x000000FFu << QColor(0xFF, 0, 0);
        QTest::newRow("pink body") << 0x008080FFu << QColor(0xFF, 0x80, 0x80);
        QTest::newRow("cyan body") << 0x00FFFF00u << QColor(0, 0xFF, 0xFF);
        QTest::newRow("tram body") << 0x000000C0u << QColor(0xC0, 0, 0);
        QTest::newRow("light green") << 0x0080FF80u << QColor(0x80, 0xFF, 0x80);
    }

    void plainColoursAreBGR() {
        QFETCH(uint, colour);
        QFETCH(QColor, expected);
        QCOMPARE(resolveColour(colour, scheme("standard")), expected);
        QCOMPARE(resolveColour(colour, scheme("dark")), expected);
    }

    void systemColoursKeepTheirTone_data() {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<uint>("colour");
        QTest::addColumn<QString>("tone");
        QTest::addColumn<QColor>("exactly"); // when the scheme's own colour fits
        for (const char* s : {"standard", "dark", "pale", "coloured"}) {
            const QString name(s);
            const bool own = name == "coloured";
            QTest::addRow("%s: 6 window frame", s)
                << name << 0x80000006u << "dark" << (own ? QColor(0x30, 0, 0) : QColor());
            QTest::addRow("%s: 7 menu text", s)
                << name << 0x80000007u << "dark" << (own ? QColor(0, 0x40, 0) : QColor());
            QTest::addRow("%s: 8 window text", s)
                << name << 0x80000008u << "dark" << (own ? QColor(0, 0, 0x60) : QColor());
            QTest::addRow("%s: 9 title-bar text", s)
                << name << 0x80000009u << "light" << (own ? QColor(0xFF, 0xFF, 0xE0) : QColor());
        }
    }

    void systemColoursKeepTheirTone() {
        QFETCH(QString, scheme);
        QFETCH(uint, colour);
        QFETCH(QString, tone);
        QFETCH(QColor, exactly);
        const QColor c = resolveColour(colour, ::scheme(scheme));
        const QColor ground(0xC0, 0xC0, 0xC0);
        if (tone == "dark")
            QVERIFY2(c.lightnessF() < ground.lightnessF() - 0.35, qPrintable(c.name()));
        else
            QVERIFY2(c.lightnessF() > ground.lightnessF() + 0.1, qPrintable(c.name()));
        if (exactly.isValid())
            QCOMPARE(c, exactly);
    }

    void taskTextIsDarkOnItsLightGround_data() {
        QTest::addColumn<QString>("scheme");
        QTest::newRow("standard") << "standard";
        QTest::newRow("dark") << "dark";
    }

    void taskTextIsDarkOnItsLightGround() {
        QFETCH(QString, scheme);
        const QPalette p = ::scheme(scheme);
        const QColor text = darkRole(p, QPalette::ButtonText);
        const QColor ground = resolveColour(0x80000009u, p);
        QVERIFY2(ground.lightnessF() - text.lightnessF() > 0.5,
                 qPrintable(text.name() + " on " + ground.name()));
    }
};

QTEST_MAIN(TestSystemColours)
#include "test_system_colours.moc"

// The window's font faces resolve to metric-compatible faces on a desktop
// without them: "Times New Roman" to Liberation Serif, "MS Sans Serif" to a
// proportional sans face, never to a monospace one.

#include "support/shown_window.h"

#include "toolkit/qt/scene_canvas.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tervalin;
using namespace tervalin::test;

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    void facesResolveToMetricCompatibleOnes_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("faces");
        const QStringList serif{"Liberation Serif"};
        const QStringList sans{"Liberation Sans", "DejaVu Sans"};
        QTest::newRow("Command1, MS Sans Serif bold") << "Command1" << sans;
        QTest::newRow("Command2, MS Sans Serif bold") << "Command2" << sans;
        QTest::newRow("Text1, MS Sans Serif") << "Text1" << sans;
        QTest::newRow("Text2, Times New Roman") << "Text2" << serif;
        QTest::newRow("Label1, Times New Roman bold") << "Label1" << serif;
        QTest::newRow("Label2, Times New Roman bold") << "Label2" << serif;
        QTest::newRow("printed numbers, Times New Roman") << "scene" << serif;
    }

    void facesResolveToMetricCompatibleOnes() {
        QFETCH(QString, control);
        QFETCH(QStringList, faces);
        ShownWindow w;
        QWidget* widget = w.form().findChild<QWidget*>(control);
        QVERIFY2(widget, qPrintable(control));
        const QFont font = control == "scene" ? w.form().canvas()->font() : widget->font();
        const QFontInfo info(font);
        QVERIFY2(faces.contains(info.family()),
                 qPrintable(control + " is drawn in " + info.family()));
        QVERIFY2(!info.fixedPitch(), qPrintable(control + " is drawn in a monospace face"));
        QCOMPARE(info.bold(), font.bold());
        QVERIFY2(std::abs(info.pointSizeF() - font.pointSizeF()) < 0.5,
                 qPrintable(
                     QString("%1 pt instead of %2").arg(info.pointSizeF()).arg(font.pointSizeF())));
    }

    void printedNumbersUseTheWindowFont() {
        ShownWindow w;
        const QFont f = w.form().canvas()->font();
        QCOMPARE(f.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(f.pointSizeF(), 27.75);
        QCOMPARE(f.weight(), QFont::Normal);
    }
};

QTEST_MAIN(TestFonts)
#include "test_fonts.moc"

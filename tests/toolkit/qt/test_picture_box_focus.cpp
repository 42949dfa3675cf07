// A sign box takes the focus in its turn (when START hides itself the focus
// passes to Picture1) but looks the same with it as without it, under the
// styles that draw focus frames.
#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/qt_toolkit.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

using namespace tervalin;

class TestPictureBoxFocus : public QObject {
    Q_OBJECT
private slots:
    void noFocusFrame_data() {
        QTest::addColumn<QString>("style");
        QTest::newRow("windows") << QStringLiteral("windows");
        QTest::newRow("Fusion") << QStringLiteral("Fusion");
    }

    void noFocusFrame() {
        QFETCH(QString, style);
        QStyle* s = QStyleFactory::create(style);
        QVERIFY2(s, qPrintable(QStringLiteral("no style ") + style));
        QApplication::setStyle(s); // the application takes ownership

        QtToolkit tk;
        MainForm& form = tk.form();
        form.show();
        form.activateWindow();
        QVERIFY2(QTest::qWaitForWindowActive(&form), "the window becomes active");
        QWidget* box = form.widget("Picture1");
        const QImage unfocused = box->grab().toImage();

        tk.setVisible(Control::Command1, false); // as START does when pressed
        QVERIFY2(QApplication::focusWidget() == box, "the focus passes to Picture1");
        const QImage focused = box->grab().toImage();
        QVERIFY2(focused == unfocused, "the focused sign box draws a frame");
    }
};

QTEST_MAIN(TestPictureBoxFocus)
#include "test_picture_box_focus.moc"

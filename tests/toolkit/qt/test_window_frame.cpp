// The frame the program draws itself where Qt's own decorations would offer
// minimise and maximise: the form as its client area under a title bar with
// the title and only a close box; closing it closes the form.

#include "support/shown_window.h"
#include "toolkit/qt/main_form.h"
#include "toolkit/qt/qt_toolkit.h"
#include "toolkit/qt/window_frame.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace tervalin;

class TestWindowFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::dropRaiseWarnings(); }

    void framesTheFormUnderATitleBarWithOnlyACloseBox() {
        QtToolkit tk;
        MainForm& form = tk.form();
        QWidget* focus = form.focusWidget();
        QVERIFY2(focus, "the form names a control for the keyboard focus");
        const QSize client = form.size();
        {
            WindowFrame frame(form);
            QCOMPARE(frame.size(),
                     QSize(client.width(), WindowFrame::titleBarHeight + client.height()));
            QVERIFY2(frame.isWindow() && !form.isWindow(), "the form is the frame's client area");
            QCOMPARE(form.pos(), QPoint(0, WindowFrame::titleBarHeight));
            QCOMPARE(form.size(), client);
            QCOMPARE(frame.windowTitle(), QStringLiteral("Tervalin"));
            QVERIFY2(frame.windowFlags().testFlag(Qt::FramelessWindowHint),
                     "Qt draws no decoration of its own around the frame");
            QVERIFY2(frame.minimumSize() == frame.maximumSize(), "the frame cannot be resized");

            const auto buttons = frame.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
            QCOMPARE(buttons.size(), 1);
            QCOMPARE(buttons.front(), frame.closeBox());
            QVERIFY2(frame.closeBox()->geometry().bottom() < WindowFrame::titleBarHeight,
                     "the close box lies in the title bar");
            QVERIFY2(frame.closeBox()->focusPolicy() == Qt::NoFocus,
                     "the close box takes no place in the form's tab order");
            QCOMPARE(frame.focusWidget(), focus);
            // A screen reader hears the frame and its close box in Russian
            // (the names START and Tervalin apart).
            const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
            QCOMPARE(QAccessible::queryAccessibleInterface(&form)->text(QAccessible::Name),
                     QStringLiteral("Tervalin"));
            for (const QString& heard :
                 {frame.closeBox()->accessibleName(), frame.closeBox()->accessibleDescription(),
                  frame.accessibleDescription()})
                QVERIFY2(!heard.isEmpty() && !QString(heard)
                                                  .remove(QStringLiteral("START"))
                                                  .remove(QStringLiteral("Tervalin"))
                                                  .contains(latin),
                         qPrintable(heard));
        }
        QVERIFY2(form.parent() == nullptr, "the toolkit gets its form back");
    }

    void closingTheFrameClosesTheForm_data() {
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("the close box") << true;
        QTest::newRow("a close request to the frame") << false;
    }

    void closingTheFrameClosesTheForm() {
        QFETCH(bool, byCloseBox);
        QtToolkit tk;
        WindowFrame frame(tk.form());
        frame.show();
        QVERIFY2(QTest::qWaitForWindowExposed(&frame), "the frame shows");
        QSignalSpy closing(&tk.form(), &MainForm::closeRequested);
        if (byCloseBox)
            QTest::mouseClick(frame.closeBox(), Qt::LeftButton);
        else
            frame.close();
        QCOMPARE(closing.count(), 1);
        QVERIFY2(!frame.isVisible(), "the frame is gone");
        QVERIFY2(tk.Ended(), "the toolkit ended the program");
    }
};

QTEST_MAIN(TestWindowFrame)
#include "test_window_frame.moc"

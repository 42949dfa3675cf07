// The rules the handlers rely on, played on both toolkits: every row runs on
// the simulated toolkit and on the real one (offscreen, its window active),
// and both must end the same. Where the keyboard focus goes, what a text box
// takes in, and when a click runs its button's handler.
// The user's clicks on a shown button land on the window where the button is;
// a hidden one is clicked as a queued click reaches it, from the button itself.
// The handlers: START's opens a message box, and the user clicks the answer
// button while it is open; the answer button's counts its runs, and the user
// clicks it again while it waits.

#include "support/box_closer.h"
#include "support/shown_window.h"
#include "toolkit/sim/sim_toolkit.h"

#include <QClipboard>
#include <QTest>

using namespace tervalin;

namespace {

struct Outcome {
    QString focus;
    bool visible, enabled;
    QString text; // of a text box
    int runs;     // of the answer button's handler
};

// One toolkit as the script drives it.
class Driver {
public:
    virtual ~Driver() = default;
    virtual Toolkit& tk() = 0;
    virtual void click(Control button) = 0;
    // The two halves of a click, with steps between them.
    virtual void press(Control button) = 0;
    virtual void release(Control button) = 0;
    // A click that comes once the events pending now have run.
    virtual void clickSoon(Control button) = 0;
    virtual bool clicksPending() const = 0;
    virtual void type(const QString& keys) = 0;
    virtual void paste(const QString& text) = 0;
    virtual QString focus() = 0;

    // The handlers of every row.
    void wire(int& runs) {
        tk().onClick(Control::Command1, [this] {
            clickSoon(Control::Command2);
            tk().MsgBox(QStringLiteral("box"));
        });
        tk().onClick(Control::Command2, [this, &runs] {
            if (++runs > 1)
                return;
            clickSoon(Control::Command2);
            while (clicksPending())
                tk().WaitEvents(tk().Timer() + 0.01);
            tk().WaitEvents(tk().Timer() + 0.01); // where the second click comes in
        });
    }
};

class SimDriver : public Driver {
public:
    SimDriver() { tk_.setMessageBoxOpenFor(1.0); }
    Toolkit& tk() override { return tk_; }
    void click(Control b) override { now(&SimToolkit::clickAt, b); }
    void press(Control) override {}
    void release(Control b) override { click(b); }
    void clickSoon(Control b) override {
        pendingUntil_ = tk_.Timer() + 0.001;
        tk_.clickAt(pendingUntil_, b);
    }
    bool clicksPending() const override { return tk_.Timer() < pendingUntil_; }
    void type(const QString& keys) override { now(&SimToolkit::typeAt, keys); }
    void paste(const QString& text) override { now(&SimToolkit::pasteAt, text); }
    QString focus() override { return tk_.focus(); }

private:
    template <typename Action, typename Argument> void now(Action action, const Argument& a) {
        (tk_.*action)(tk_.Timer(), a);
        tk_.runUntil(tk_.Timer());
    }
    SimToolkit tk_;
    double pendingUntil_ = 0;
};

class QtDriver : public Driver {
public:
    QtDriver() {
        tk_.form().activateWindow();
        active_ = QTest::qWaitForWindowActive(&tk_.form());
    }
    bool active() const { return active_; }
    Toolkit& tk() override { return tk_; }
    void click(Control b) override {
        if (!tk_.form().button(b)->isVisible())
            return tk_.form().button(b)->click(); // as a queued click reaches it
        press(b);
        release(b);
    }
    void press(Control b) override {
        QTest::mousePress(tk_.form().windowHandle(), Qt::LeftButton, {}, centre(b));
    }
    void release(Control b) override {
        QTest::mouseRelease(tk_.form().windowHandle(), Qt::LeftButton, {}, centre(b));
        QCoreApplication::sendPostedEvents(); // the queued click
    }
    void clickSoon(Control b) override {
        ++pending_;
        QTimer::singleShot(0, [this, b] {
            --pending_;
            click(b);
        });
    }
    bool clicksPending() const override { return pending_ > 0; }
    void type(const QString& keys) override {
        for (const QChar c : keys)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    }
    void paste(const QString& text) override {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    }
    // With the window active again, as a desktop makes it when a message box
    // over it has closed.
    QString focus() override {
        if (tk_.form().isVisible()) {
            tk_.form().activateWindow();
            (void)QTest::qWaitForWindowActive(&tk_.form());
        }
        const QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

private:
    QPoint centre(Control b) { return tk_.form().button(b)->geometry().center(); }
    test::ShownWindow window_;
    QtToolkit& tk_ = window_.tk();
    bool active_ = false;
    int pending_ = 0;
};

Control named(const QString& name) {
    for (const Control c : {Control::Command1, Control::Command2, Control::Text1, Control::Text2,
                            Control::Label1, Control::Label2})
        if (toQString(controlName(c)) == name)
            return c;
    qFatal("no control %s", qPrintable(name));
}

// Steps such as "show Text1", "hide Command1", "enable Text1", "disable
// Text1", "focus Text1", "end", "click Command2" (or its halves, "press Command2"
// and "release Command2"), and "type <keys>" or "paste <text>" into the
// control with the focus.
Outcome play(Driver& d, const QStringList& steps, Control looked) {
    int runs = 0;
    d.wire(runs);
    Toolkit& tk = d.tk();
    for (const QString& step : steps) {
        const QString verb = step.section(u' ', 0, 0);
        const QString rest = step.section(u' ', 1);
        if (verb == u"show" || verb == u"hide")
            tk.setVisible(named(rest), verb == u"show");
        else if (verb == u"enable" || verb == u"disable")
            tk.setEnabled(named(rest), verb == u"enable");
        else if (verb == u"focus")
            tk.SetFocus(named(rest));
        else if (verb == u"end")
            tk.End();
        else if (verb == u"click")
            d.click(named(rest));
        else if (verb == u"press")
            d.press(named(rest));
        else if (verb == u"release")
            d.release(named(rest));
        else if (verb == u"type")
            d.type(rest);
        else if (verb == u"paste")
            d.paste(rest);
        else
            qFatal("unknown step %s", qPrintable(step));
    }
    const bool box = looked == Control::Text1 || looked == Control::Text2;
    return {d.focus(), tk.isVisible(looked), tk.isEnabled(looked),
            box ? tk.Text(looked) : QString(), runs};
}

} // namespace

Q_DECLARE_METATYPE(Control)

class TestToolkitRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        installFontSubstitutes();
        QApplication::clipboard()->clear();
    }

    void bothToolkitsAgree_data() {
        QTest::addColumn<QString>("toolkit");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Control>("looked");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("runs");
        using enum Control;
        const QStringList answer{"show Label1", "show Text1", "show Command2", "focus Text1"};
        const QStringList clock{"hide Command1", "focus Text2"};
        for (const char* tk : {"sim", "qt"}) {
            const auto row = [tk](const char* name) -> QTestData& {
                return QTest::addRow("%s: %s", tk, name) << QString::fromLatin1(tk);
            };
            row("the first focus, on START")
                << QStringList{} << Command1 << "Command1" << true << true << "" << 0;
            row("START hidden: the focus passes on along the chain")
                << QStringList{"hide Command1"} << Command1 << "Picture1" << false << true << ""
                << 0;
            row("the answer box hidden with the focus")
                << answer + QStringList{"hide Text1"} << Text1 << "Picture1" << false << true << ""
                << 0;
            row("the answer box disabled with the focus")
                << answer + QStringList{"disable Text1"} << Text1 << "Picture1" << true << false
                << "" << 0;
            row("SetFocus on a hidden box")
                << QStringList{"focus Text1"} << Text1 << "Command1" << false << true << "" << 0;
            row("SetFocus on a disabled box")
                << QStringList{"show Text1", "disable Text1", "focus Text1"} << Text1 << "Command1"
                << true << false << "" << 0;
            row("control characters typed into the answer box")
                << answer + QStringList{"type \r1\u0001\u007f\u00852 "} << Text1 << "Text1" << true
                << true << "12 " << 0;
            row("control characters pasted into the answer box")
                << answer + QStringList{"paste \r1\t\u00852\n"} << Text1 << "Text1" << true << true
                << "12" << 0;
            row("control characters typed into the clock box")
                << clock + QStringList{"type \r0\u001b4"} << Text2 << "Text2" << true << true
                << "04" << 0;
            row("control characters pasted into the clock box")
                << clock + QStringList{"paste \r0\t4"} << Text2 << "Text2" << true << true
                << "\r0\t4" << 0;
            row("a click on the hidden answer button") << QStringList{"click Command2"} << Command2
                                                       << "Command1" << false << true << "" << 0;
            row("a click on the disabled answer button")
                << QStringList{"show Command2", "disable Command2", "click Command2"} << Command2
                << "Command1" << true << false << "" << 0;
            row("a click under START's open message box")
                << QStringList{"show Command2", "click Command1"} << Command2 << "Command1" << true
                << true << "" << 0;
            row("a second click while the handler of the first runs: the focus stays")
                << answer + QStringList{"click Command2"} << Command2 << "Text1" << true << true
                << "" << 1;
            row("a click after the handler has returned")
                << answer + QStringList{"click Command2", "click Command2"} << Command2 << "Text1"
                << true << true << "" << 2;
            row("a click once the program has ended")
                << QStringList{"show Command2", "end", "click Command2"} << Command2 << "" << true
                << true << "" << 0;
            row("a click whose press a frame's focus request falls into, as on the last leg")
                << answer + QStringList{"press Command2", "focus Text1", "release Command2"}
                << Command2 << "Text1" << true << true << "" << 1;
        }
    }

    void bothToolkitsAgree() {
        QFETCH(QString, toolkit);
        QFETCH(QStringList, steps);
        QFETCH(Control, looked);
        QFETCH(QString, focus);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        QFETCH(QString, text);
        QFETCH(int, runs);

        test::BoxCloser closer;
        std::unique_ptr<Driver> driver;
        if (toolkit == u"sim") {
            driver = std::make_unique<SimDriver>();
        } else {
            auto qt = std::make_unique<QtDriver>();
            QVERIFY2(qt->active(), "the window becomes active");
            driver = std::move(qt);
        }
        const Outcome o = play(*driver, steps, looked);
        QCOMPARE(o.focus, focus);
        QCOMPARE(o.visible, visible);
        QCOMPARE(o.enabled, enabled);
        QCOMPARE(o.text, text);
        QCOMPARE(o.runs, runs);
    }
};

QTEST_MAIN(TestToolkitRules)
#include "test_toolkit_rules.moc"

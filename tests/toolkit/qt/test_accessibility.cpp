// What a screen reader finds in the window: every visible control named
// and described in Russian, the controls the user works with named for what
// they hold, the pictures read as graphics, and message boxes read as alerts.

#include "support/last_leg.h"
#include "support/shown_window.h"
#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace tervalin;

namespace {

QAccessibleInterface* readerOf(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

QString describe(QAccessibleInterface* a) {
    return QStringLiteral("%1 '%2' (role %3)")
        .arg(QString::fromLatin1(a->object() ? a->object()->metaObject()->className() : "?"),
             a->object() ? a->object()->objectName() : QString())
        .arg(int(a->role()));
}

// Every visible interface below and including root, depth first.
// Latin letters in a text meant for a Russian listener, beyond the proper
// names "START" and "Tervalin".
bool readsInEnglish(QString text) {
    text.remove(QStringLiteral("START")).remove(QStringLiteral("Tervalin"));
    return std::ranges::any_of(
        text, [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); });
}

void collectVisible(QAccessibleInterface* a, QList<QAccessibleInterface*>& out) {
    if (a->state().invisible)
        return;
    out.append(a);
    for (int i = 0; i < a->childCount(); ++i)
        if (QAccessibleInterface* c = a->child(i))
            collectVisible(c, out);
}

// Shows the window in one of the states the user meets.
void enterState(QtToolkit& tk, const QString& state) {
    if (state == u"answer controls shown" || state == u"answer judged")
        test::showAnswerControls(tk);
    if (state == u"answer judged") {
        tk.setEnabled(Control::Text1, false);
        tk.setVisible(Control::Command2, false);
    }
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyVisibleControlHasAName_data() {
        QTest::addColumn<QString>("state");
        QTest::newRow("window opening") << QStringLiteral("window opening");
        QTest::newRow("answer controls shown") << QStringLiteral("answer controls shown");
        QTest::newRow("answer judged") << QStringLiteral("answer judged");
    }

    void everyVisibleControlHasAName() {
        QFETCH(QString, state);
        test::ShownWindow w;
        QVERIFY(w.exposed());
        QtToolkit& tk = w.tk();
        MainForm& form = w.form();
        enterState(tk, state);

        QAccessibleInterface* root = readerOf(&form);
        QVERIFY2(root, "the window has no accessible interface");
        QList<QAccessibleInterface*> visible;
        collectVisible(root, visible);

        QSet<QObject*> reached;
        for (QAccessibleInterface* a : visible) {
            reached.insert(a->object());
            const QString name = a->text(QAccessible::Name);
            const QString description = a->text(QAccessible::Description);
            QVERIFY2(!name.trimmed().isEmpty(),
                     qPrintable(describe(a) + QStringLiteral(" has no name")));
            QVERIFY2(!description.trimmed().isEmpty(),
                     qPrintable(describe(a) + QStringLiteral(" has no description")));
            QVERIFY2(!readsInEnglish(name) && !readsInEnglish(description),
                     qPrintable(describe(a) + QStringLiteral(" reads '") + name +
                                QStringLiteral("': '") + description + '\''));
        }
        // The walk must reach every visible control, or it proves nothing.
        const auto children = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* w : children) {
            if (w->isVisible())
                QVERIFY2(reached.contains(w),
                         qPrintable(w->objectName() + QStringLiteral(" is missing from the tree")));
        }
    }

    void controlIsReadForWhatItHolds_data() {
        QTest::addColumn<QString>("objectName");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("answer box")
            << "Text1" << int(QAccessible::EditableText) << QStringLiteral("Число нарушений");
        QTest::newRow("clock box")
            << "Text2" << int(QAccessible::EditableText) << QStringLiteral("Минуты");
        QTest::newRow("START") << "Command1" << int(QAccessible::Button) << "START";
        QTest::newRow("answer button without carets")
            << "Command2" << int(QAccessible::Button) << QStringLiteral("ОТВЕТ");
        QTest::newRow("answer prompt")
            << "Label1" << int(QAccessible::StaticText)
            << QStringLiteral(
                   "Укажите число зафиксированных Вами нарушений и нажмите кнопку ОТВЕТ");
        QTest::newRow("task text")
            << "Label2" << int(QAccessible::StaticText)
            << QStringLiteral(" При нажатии кнопки старт начнётся движение\"Tervalin\". Сколько он "
                              "совершит нарушений ?Участники движения -- голубой и розовый "
                              "автомобили, красный трамвай На задачу отводится 4 минуты");
        // Each sign box reads the sign it shows: the only way to tell them apart.
        const std::pair<const char*, const char*> signs[] = {
            {"Picture1", "Знак «Поворот налево запрещён»"},
            {"Picture2", "Знак «Стоп»"},
            {"Picture3", "Знак «Поворот направо запрещён»"},
            {"Picture4", "Знак «Обгон запрещён»"},
            {"Picture5", "Знак «Парковка»"},
            {"Picture6", "Знак «Железнодорожный переезд»"}};
        for (const auto& [box, sign] : signs)
            QTest::newRow(box) << box << int(QAccessible::Graphic) << QString::fromUtf8(sign);
    }

    void controlIsReadForWhatItHolds() {
        QFETCH(QString, objectName);
        QFETCH(int, role);
        QFETCH(QString, name);
        QtToolkit tk;
        auto* w = tk.form().findChild<QWidget*>(objectName);
        QVERIFY2(w, qPrintable(objectName + QStringLiteral(" does not exist")));
        QAccessibleInterface* a = readerOf(w);
        QVERIFY2(a, qPrintable(objectName + QStringLiteral(" has no accessible interface")));
        QCOMPARE(a->text(QAccessible::Name), name);
        QVERIFY2(int(a->role()) == role,
                 qPrintable(QStringLiteral("role %1, expected %2").arg(int(a->role())).arg(role)));
    }

    void windowAndSceneAreDescribed() {
        QtToolkit tk;
        QAccessibleInterface* window = readerOf(&tk.form());
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Tervalin"));
        QCOMPARE(window->role(), QAccessible::Window);
        QAccessibleInterface* scene = readerOf(tk.form().canvas());
        QCOMPARE(scene->role(), QAccessible::Graphic);
        const QString what = scene->text(QAccessible::Description);
        for (const QString& thing : {QStringLiteral("дорог"), QStringLiteral("трамвай"),
                                     QStringLiteral("знак"), QStringLiteral("Чёрный автомобиль")})
            QVERIFY2(what.contains(thing),
                     qPrintable(QStringLiteral("the scene's description omits ") + thing));
    }

    // The prompt is the answer box's one relation: the box controls nothing.
    void answerPromptLabelsTheAnswerBox() {
        QtToolkit tk;
        QAccessibleInterface* box = readerOf(tk.form().textBox(Control::Text1));
        const auto relations = box->relations();
        QCOMPARE(relations.size(), 1);
        QCOMPARE(relations.front().second, QAccessible::Label);
        QCOMPARE(relations.front().first->object(), tk.form().control(Control::Label1));
    }

    void messageBoxIsReadAsAnAlert_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("time out") << QStringLiteral(" ВРЕМЯ   ИСТЕКЛО !");
        QTest::newRow("right answer") << QStringLiteral("  ПРАВИЛЬНЫЙ ОТВЕТ НАРУШЕНИЙ НЕБЫЛО");
    }

    void messageBoxIsReadAsAnAlert() {
        QFETCH(QString, text);
        QtToolkit tk;
        tk.form().show();
        QAccessible::Role role = QAccessible::NoRole;
        QString title;
        bool textReadable = false;
        bool seen = false;
        std::function<void()> inspect = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                QTimer::singleShot(10, inspect);
                return;
            }
            seen = true;
            QAccessibleInterface* a = readerOf(box);
            role = a->role();
            title = a->text(QAccessible::Name);
            QList<QAccessibleInterface*> all;
            collectVisible(a, all);
            for (QAccessibleInterface* i : all)
                for (auto t : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
                    textReadable = textReadable || i->text(t).contains(text.trimmed());
            QTest::keyClick(box, Qt::Key_Return);
        };
        QTimer::singleShot(0, inspect);
        tk.MsgBox(text);

        QVERIFY2(seen, "no message box appeared");
        QVERIFY2(role == QAccessible::AlertMessage || role == QAccessible::Dialog,
                 qPrintable(QStringLiteral("the message box has role %1").arg(int(role))));
        QCOMPARE(title, QStringLiteral("Tervalin"));
        QVERIFY2(textReadable, "the message's text is not readable through the box");
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"

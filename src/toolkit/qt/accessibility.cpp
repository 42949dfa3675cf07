#include "toolkit/qt/accessibility.h"

#include "toolkit/qt/main_form.h"
#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tervalin {
namespace {

// The sign boxes and the scene are pictures: read them as graphics, not as
// the bare frame or client area their widget classes would suggest.
QAccessibleInterface* graphicsFactory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String(PictureBox::staticMetaObject.className()) ||
        className == QLatin1String(SceneCanvas::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

struct Reading {
    Control control;
    const char* name; // nullptr: the caption
    const char* description;
};

// What a screen reader says for the controls the user works with. The
// answer button's caption "^ОТВЕТ ^" has its carets for looks only.
constexpr Reading kReadings[] = {
    {Control::Command1, nullptr,
     "Starts the black vehicle on its route; the quiz clock takes the button's place"},
    {Control::Command2, "ОТВЕТ", "Checks the number of violations typed in the answer box"},
    {Control::Text1, "answer", "How many traffic violations the black vehicle committed"},
    {Control::Text2, "minutes", "Whole minutes on the quiz clock; four are allowed"},
    {Control::Label1, nullptr, nullptr},
    {Control::Label2, nullptr, nullptr},
};

QString caption(const MainForm& form, Control id) {
    if (QPushButton* b = form.button(id))
        return b->text();
    if (QLabel* l = form.label(id))
        return l->text();
    return {};
}

} // namespace

void describeForAssistiveTechnology(MainForm& form) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(graphicsFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    form.setAccessibleName(form.windowTitle());
    form.setAccessibleDescription(QStringLiteral(
        "Traffic-rules exercise: watch the black vehicle drive its route and count its "
        "violations"));

    for (const Reading& r : kReadings) {
        QWidget* w = form.control(r.control);
        w->setAccessibleName(r.name ? QString::fromUtf8(r.name) : caption(form, r.control));
        if (r.description)
            w->setAccessibleDescription(QString::fromUtf8(r.description));
    }
    form.label(Control::Label1)->setBuddy(form.textBox(Control::Text1));

    for (const PictureDesc& p : mainWindow().pictures) {
        if (PictureBox* box = form.picture(toQString(p.name)))
            box->setAccessibleName(toQString(p.shows));
    }

    SceneCanvas* scene = form.canvas();
    scene->setAccessibleName(QStringLiteral("road scene"));
    scene->setAccessibleDescription(QStringLiteral(
        "Plan view of a road network on a grey ground: a two-lane road along the left edge, "
        "a road along the top, a road down the right side crossing a tram line at a level "
        "crossing, a lower cross road, a short bottom road and a side road, with six road "
        "signs beside them. A black vehicle drives its route and leaves its track with the "
        "number of each leg, while a dark-red tram and a pink and a light-blue car loop."));
}

} // namespace tervalin

#include "toolkit/qt/accessibility.h"

#include "toolkit/qt/main_form.h"
#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>

namespace tervalin {
namespace {

// The sign boxes and the scene are pictures: read them as graphics, not as
// the bare frame or client area their widget classes would suggest. The
// main window is read as a window, not as a plain client area.
QAccessibleInterface* roleFactory(const QString&, QObject* object) {
    if (qobject_cast<PictureBox*>(object) || qobject_cast<SceneCanvas*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (auto* form = qobject_cast<MainForm*>(object))
        return new QAccessibleWidget(form, QAccessible::Window);
    return nullptr;
}

// Texts are UTF-8.
struct Reading {
    Control control;
    const char* name; // nullptr: the caption, as Qt reads it
    const char* description;
};

// What a screen reader says for the controls, in Russian like everything
// the user reads. The answer button's caption "^ОТВЕТ ^" has its carets for
// looks only.
constexpr Reading kReadings[] = {
    {Control::Command1, nullptr,
     "Запускает движение чёрного автомобиля; на месте кнопки появится счётчик минут"},
    {Control::Command2, "ОТВЕТ", "Проверяет число нарушений, введённое в поле ответа"},
    {Control::Text1, "Число нарушений", "Сколько нарушений совершил чёрный автомобиль"},
    {Control::Text2, "Минуты", "Сколько минут прошло; на задачу отводится 4 минуты"},
    {Control::Label1, nullptr, "Подсказка к полю ответа"},
    {Control::Label2, nullptr, "Задание"},
};

const char* const kWindowDescription =
    "Упражнение по правилам дорожного движения: нажмите START, проследите за чёрным "
    "автомобилем и сосчитайте его нарушения";

const char* const kSceneName = "Схема дорог";
const char* const kSceneDescription =
    "Вид сверху на дороги на сером фоне: двухполосная дорога слева, дорога сверху, "
    "дорога справа с железнодорожным переездом через трамвайные пути, нижняя поперечная "
    "дорога, короткая дорога снизу и боковая дорога; у дорог шесть знаков. Чёрный "
    "автомобиль едет по маршруту и оставляет след с номерами участков, а тёмно-красный "
    "трамвай, розовый и голубой автомобили ездят по кругу.";

} // namespace

void describeForAssistiveTechnology(MainForm& form) {
    QAccessible::installFactory(roleFactory); // once: Qt keeps no factory twice

    form.setAccessibleName(form.windowTitle());
    form.setAccessibleDescription(QString::fromUtf8(kWindowDescription));

    for (const Reading& r : kReadings) {
        QWidget* w = form.control(r.control);
        if (r.name) // else Qt reads the caption
            w->setAccessibleName(QString::fromUtf8(r.name));
        w->setAccessibleDescription(QString::fromUtf8(r.description));
    }
    static_cast<QLabel*>(form.control(Control::Label1))->setBuddy(form.textBox(Control::Text1));

    for (const PictureDesc& p : windowDescription().pictures) {
        PictureBox* box = form.picture(toQString(p.name));
        box->setAccessibleName(toQString(p.shows));
        box->setAccessibleDescription(toQString(p.where));
    }

    SceneCanvas* scene = form.canvas();
    scene->setAccessibleName(QString::fromUtf8(kSceneName));
    scene->setAccessibleDescription(QString::fromUtf8(kSceneDescription));
}

} // namespace tervalin

#include "window/description.h"

#include <array>
#include <map>
#include <vector>

namespace tervalin {
namespace {

constexpr FontDesc kTimes(double points, int weight) {
    return {"Times New Roman", points, weight};
}
constexpr FontDesc kSans(double points, int weight) {
    return {"MS Sans Serif", points, weight};
}
constexpr int kRegular = 400;
constexpr int kBold = 700;

constexpr Colour kWindowFrame = 0x80000006u; // system colour 6
constexpr Colour kMenuText = 0x80000007u;    // system colour 7
constexpr Colour kWindowText = 0x80000008u;  // system colour 8
constexpr Colour kCaptionText = 0x80000009u; // system colour 9

// The task text: the caption holds straight double quotes round the name
// and keeps its irregular spacing.
constexpr std::string_view kTaskText =
    " При нажатии кнопки старт начнётся движение"
    "\""
    "Tervalin"
    "\""
    ". Сколько он совершит нарушений ?Участники движения -- голубой и розовый автомобили, "
    "красный трамвай На задачу отводится 4 минуты";

// What a screen reader says; an empty name reads the caption.
constexpr AccessibleText readAs(std::string_view name, std::string_view description) {
    return {name, description};
}

constexpr std::array kButtons{
    ButtonDesc{Control::Command2, "Command2", 8280, 6120, 1455, 495, 1, "^ОТВЕТ ^",
               kSans(12, kBold), false,
               // the carets are for looks only
               readAs("ОТВЕТ", "Проверяет число нарушений, введённое в поле ответа")},
    ButtonDesc{Control::Command1, "Command1", 4440, 6480, 1455, 615, 0, "START", kSans(8.25, kBold),
               true,
               readAs("", "Запускает движение чёрного автомобиля; на месте кнопки появится "
                          "счётчик минут")},
};

constexpr std::array kTextBoxes{
    TextBoxDesc{Control::Text1, "Text1", 8640, 5100, 735, 915, 2, kSans(18, kRegular),
                Align::Centre, false,
                readAs("Число нарушений", "Сколько нарушений совершил чёрный автомобиль")},
    TextBoxDesc{Control::Text2, "Text2", 4440, 6480, 1455, 525, 11, kTimes(14.25, kRegular),
                Align::Centre, true,
                readAs("Минуты", "Сколько минут прошло; на задачу отводится 4 минуты")},
};

constexpr std::array kLabels{
    LabelDesc{Control::Label2, "Label2", 120, 7320, 10845, 1125, 8, kTaskText, kTimes(12, kBold),
              Align::Centre, true, false, kCaptionText, true, readAs("", "Задание")},
    LabelDesc{Control::Label1, "Label1", 4320, 5400, 4215, 495, 4,
              "Укажите число зафиксированных Вами нарушений и нажмите кнопку ОТВЕТ",
              kTimes(9.75, kBold), Align::Centre, true, true, 0, false,
              readAs("", "Подсказка к полю ответа")},
};

constexpr std::array kLines{
    LineDesc{"Line21", 4080, 3240, 4080, 3840, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line20", 840, 3240, 4080, 3240, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line19", 9720, 4440, 9720, 2280, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line16", 4560, 4440, 9720, 4440, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line14", 10440, 0, 10440, 4920, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line13", 4080, 4920, 10440, 4920, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line12", 0, 1800, 10920, 1800, kWindowText, LineStyle::Solid, 1},
    LineDesc{"Line11", 0, 1920, 10920, 1920, kWindowFrame, LineStyle::Solid, 1},
    LineDesc{"Line10", 840, 600, 9720, 600, kMenuText, LineStyle::Solid, 3},
    LineDesc{"Line9", 0, 600, 1320, 600, kWindowText, LineStyle::Solid, 1},
    LineDesc{"Line8", 840, 3960, 840, 7320, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line7", 840, 600, 840, 3240, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line2", 360, 480, 360, 7320, kCaptionText, LineStyle::DashDot, 1},
    LineDesc{"Line5", 10920, 2280, 9120, 2280, kWindowText, LineStyle::Dash, 1},
    LineDesc{"Line3", 9000, 1560, 9720, 1560, kWindowText, LineStyle::Dash, 1},
    LineDesc{"Line4", 3240, 7080, 3240, 3960, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line6", 3240, 3960, 840, 3960, kWindowText, LineStyle::Solid, 3},
    LineDesc{"Line1", 4080, 7080, 4080, 4920, kWindowText, LineStyle::Solid, 3},
};

constexpr std::array kPictures{
    PictureDesc{"Picture6", 10440, 2280, 855, 855, 10, ":/pictures/level_crossing.svg", 50, 53,
                readAs("Знак «Железнодорожный переезд»",
                       "Справа от правой дороги, под трамвайными путями")},
    PictureDesc{"Picture5", 2160, 6480, 735, 735, 9, ":/pictures/parking.svg", 50, 49,
                readAs("Знак «Парковка»", "В левом нижнем квартале, у короткой нижней дороги")},
    PictureDesc{"Picture4", 600, 600, 735, 615, 7, ":/pictures/no_overtaking.svg", 50, 41,
                readAs("Знак «Обгон запрещён»", "На углу левой и верхней дорог")},
    PictureDesc{
        "Picture3", 8880, 720, 855, 735, 6, ":/pictures/no_right_turn.svg", 50, 50,
        readAs("Знак «Поворот направо запрещён»", "Слева от правой дороги, под верхней дорогой")},
    PictureDesc{"Picture2", 9000, 1560, 735, 735, 5, ":/pictures/stop.svg", 50, 51,
                readAs("Знак «Стоп»", "Слева от правой дороги, у трамвайных путей")},
    PictureDesc{"Picture1", 3720, 3600, 855, 855, 3, ":/pictures/no_left_turn.svg", 50, 51,
                readAs("Знак «Поворот налево запрещён»", "В углу у нижней поперечной дороги")},
};

constexpr std::array kShapes{
    ShapeDesc{Shape::rose_auto, "rose_auto", 480, 360, 255, 495, 0x008080FFu, ShapeLook::Plain, 0,
              kWindowText, false},
    ShapeDesc{Shape::red_tram, "red_tram", 9960, 1800, 495, 135, 0x000000C0u, ShapeLook::Plain, 0,
              kWindowText, false},
    ShapeDesc{Shape::avto_blue, "avto_blue", 120, 0, 255, 375, 0x00FFFF00u,
              ShapeLook::VerticalHatch, 0x000000FFu, kWindowText, false},
    ShapeDesc{Shape::tervalin, "tervalin", 3840, 6960, 105, 330, 0x00000000u, ShapeLook::SolidFill,
              0, kWindowText, true},
};

constexpr std::array<std::string_view, 35> kStoredOrder{
    "Picture6", "Picture5", "Picture4", "Picture3", "Picture2",  "Picture1",  "Text1",
    "Command2", "Timer1",   "Command1", "Text2",    "rose_auto", "Line21",    "Line20",
    "Line19",   "Line16",   "Label2",   "Line14",   "Line13",    "Line12",    "red_tram",
    "Line11",   "Line10",   "Line9",    "Line8",    "Line7",     "avto_blue", "Line2",
    "Line5",    "Line3",    "Label1",   "Line4",    "tervalin",  "Line6",     "Line1",
};

constexpr Description kMainWindow{
    WindowDesc{"Tervalin", "Tervalin",
               readAs("", "Упражнение по правилам дорожного движения: нажмите START, проследите "
                          "за чёрным автомобилем и сосчитайте его нарушения"),
               11310, 8520, 0x00C0C0C0u, 0x000000FFu, 3, kTimes(27.75, kRegular)},
    "Tervalin",
    Messages{
        .timeOut = " ВРЕМЯ   ИСТЕКЛО !",
        .wrongAnswer = "НЕ ВЕРНО ! НАРУШЕНИЙ НЕБЫЛО  ПРОАНАЛИЗИРУИТЕ КАЖДЫЙ УЧАСТОК ",
        .rightAnswer = "  ПРАВИЛЬНЫЙ ОТВЕТ НАРУШЕНИЙ НЕБЫЛО",
    },
    kButtons,
    kTextBoxes,
    kLabels,
    // The clock ticks 20 times a clock second. At 50 ms those are real
    // seconds, so the four minutes the task text promises are the user's.
    TimerDesc{"Timer1", 50},
    kLines,
    kPictures,
    kShapes,
    kStoredOrder,
    readAs("Схема дорог",
           "Вид сверху на дороги на сером фоне: двухполосная дорога слева, дорога сверху, дорога "
           "справа с железнодорожным переездом через трамвайные пути, нижняя поперечная дорога, "
           "короткая дорога снизу и боковая дорога; у дорог шесть знаков. Чёрный автомобиль едет "
           "по маршруту и оставляет след с номерами участков, а тёмно-красный трамвай, розовый и "
           "голубой автомобили ездят по кругу."),
    readAs("Закрыть", "Закрыть окно и завершить упражнение"),
    "tervalin: no display: neither an X11 nor a Wayland display can be reached; start it on a "
    "desktop, or without one under a virtual X server: xvfb-run tervalin\n",
};

} // namespace

std::string_view unmatchedControl(const Description& d) {
    std::map<std::string_view, std::pair<int, int>> places; // in the tables, in the stored order
    const auto hold = [&places](const auto& table) {
        for (const auto& control : table)
            ++places[control.name].first;
    };
    hold(d.buttons);
    hold(d.textBoxes);
    hold(d.labels);
    hold(std::span(&d.timer1, 1));
    hold(d.lines);
    hold(d.pictures);
    hold(d.shapes);
    for (const std::string_view name : d.storedOrder)
        ++places[name].second;
    for (const std::string_view name : d.storedOrder)
        if (places[name] != std::pair(1, 1))
            return name;
    for (const auto& [name, counts] : places) // a control the order leaves out
        if (counts != std::pair(1, 1))
            return name;
    return {};
}

const Description& windowDescription() {
    static const bool checked = [] {
        if (const std::string_view name = unmatchedControl(kMainWindow); !name.empty())
            qFatal("The window description does not hold the control %.*s once in its tables and "
                   "once in its stored order",
                   int(name.size()), name.data());
        return true;
    }();
    (void)checked;
    return kMainWindow;
}

std::string_view controlName(Control control) {
    const Description& d = windowDescription();
    std::string_view name;
    const auto find = [&](const auto& table) {
        for (const auto& c : table)
            if (c.id == control)
                name = c.name;
    };
    find(d.buttons);
    find(d.textBoxes);
    find(d.labels);
    if (name.empty())
        qFatal("The window description holds no control number %d", int(control));
    return name;
}

std::span<const std::string_view> focusChain() {
    static const std::vector<std::string_view> chain = [] {
        std::map<int, std::string_view> byTabIndex;
        const auto add = [&byTabIndex](const auto& table) {
            for (const auto& control : table)
                byTabIndex[control.tabIndex] = control.name;
        };
        add(windowDescription().buttons);
        add(windowDescription().textBoxes);
        add(windowDescription().pictures);
        std::vector<std::string_view> names;
        for (const auto& [tabIndex, name] : byTabIndex)
            names.push_back(name);
        return names;
    }();
    return chain;
}

} // namespace tervalin

#pragma once

#include "window/controls.h"

#include <QString>

#include <cstdint>
#include <span>
#include <string_view>

namespace tervalin {

// The main window as data: one table per kind of control, every place in
// twips exactly as the window stores it. Colours are 0x00BBGGRR; a value
// 0x800000nn stands for the desktop's system colour nn.
using Colour = std::uint32_t;

// Every font is Cyrillic.
struct FontDesc {
    std::string_view face; // "Times New Roman" or "MS Sans Serif"
    double points;
    int weight; // 400 regular, 700 bold
};

enum class Align { Left, Centre };

// What a screen reader says of a control, in Russian like everything the
// user reads. An empty name leaves the control's caption as its name.
struct AccessibleText {
    std::string_view name;
    std::string_view description;
};

struct WindowDesc {
    std::string_view name;
    std::string_view caption; // the title bar, also the window's name for screen readers
    AccessibleText accessible;
    int clientWidth, clientHeight;
    Colour backColor, foreColor;
    int drawWidth; // pixels
    FontDesc font; // of text printed on the window
};

struct ButtonDesc {
    Control id;
    std::string_view name;
    int left, top, width, height;
    int tabIndex;
    std::string_view caption;
    FontDesc font;
    bool visible;
    AccessibleText accessible;
};

struct TextBoxDesc {
    Control id;
    std::string_view name;
    int left, top, width, height;
    int tabIndex;
    FontDesc font;
    Align alignment;
    bool visible;
    AccessibleText accessible;
};

struct LabelDesc {
    Control id;
    std::string_view name;
    int left, top, width, height;
    int tabIndex;
    std::string_view caption; // UTF-8
    FontDesc font;
    Align alignment;
    bool wordWrap;
    bool border;
    Colour backColor; // 0 when the label keeps the default button-face colour
    bool visible;
    AccessibleText accessible;
};

// Enabled from the moment the window exists.
struct TimerDesc {
    std::string_view name;
    int intervalMs;
};

enum class LineStyle { Solid = 0, Dash = 2, DashDot = 4 };

struct LineDesc {
    std::string_view name;
    int x1, y1, x2, y2;
    Colour borderColor;
    LineStyle borderStyle;
    int borderWidth; // pixels
};

struct PictureDesc {
    std::string_view name;
    int left, top, width, height;
    int tabIndex;
    std::string_view resource;       // the sign's vector source, a Qt resource path
    int pictureWidth, pictureHeight; // pixels
    AccessibleText accessible;       // the sign it shows, and where it stands
};

enum class ShapeLook { Plain, VerticalHatch, SolidFill };

struct ShapeDesc {
    Shape id;
    std::string_view name;
    int left, top, width, height;
    Colour body; // the opaque body, or the solid fill
    ShapeLook look;
    Colour hatchColor;  // colour of the hatch lines, where there are any
    Colour borderColor; // 1-pixel outline
    bool dashedBorder;
};

// The three messages, each in a box titled with the application title.
struct Messages {
    std::string_view timeOut;     // the time limit has struck; the program ends when it is closed
    std::string_view wrongAnswer; // any count but 0
    std::string_view rightAnswer; // 0
};

// Every text of the program is UTF-8 and lives in these tables.
struct Description {
    WindowDesc window;
    std::string_view applicationTitle;
    Messages messages;
    std::span<const ButtonDesc> buttons;
    std::span<const TextBoxDesc> textBoxes;
    std::span<const LabelDesc> labels;
    TimerDesc timer1;
    std::span<const LineDesc> lines;
    std::span<const PictureDesc> pictures;
    std::span<const ShapeDesc> shapes;
    // All 35 controls by name, in the order the window stores them. Within
    // one layer an earlier control lies above a later one.
    std::span<const std::string_view> storedOrder;
    AccessibleText scene;    // the window's own surface, with the road scene on it
    AccessibleText closeBox; // where the program draws the window's frame itself
    // Written to standard error when no display can be reached.
    std::string_view noDisplayLine;
};

// The window's description. The first call checks that the stored order
// and the tables name the same controls, and ends the program with a
// message naming the first one they disagree on.
const Description& windowDescription();

// The name the window description gives the control.
std::string_view controlName(Control control);

// The controls that take the keyboard focus, in the order Tab visits them,
// by TabIndex: the buttons, the text boxes and the sign boxes. Labels hold a
// place in that order but never take the focus. The first in the chain has
// the focus when the window opens.
std::span<const std::string_view> focusChain();

// The first control that the stored order names and no table holds, or that
// a table holds and the order leaves out, or that either names twice; empty
// when they agree.
std::string_view unmatchedControl(const Description& description);

// The description's texts are UTF-8.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace tervalin

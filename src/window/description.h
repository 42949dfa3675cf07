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

struct WindowDesc {
    std::string_view name;
    std::string_view caption;
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
};

struct TextBoxDesc {
    Control id;
    std::string_view name;
    int left, top, width, height;
    int tabIndex;
    FontDesc font;
    Align alignment;
    bool visible;
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
};

// Enabled from the moment the window exists.
struct TimerDesc {
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
    std::string_view shows;          // UTF-8: the sign's name, as a screen reader reads it
    std::string_view where;          // UTF-8: where it stands, as a screen reader reads it
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

struct Description {
    WindowDesc window;
    std::string_view applicationTitle;
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
};

const Description& windowDescription();

// The description's texts are UTF-8.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace tervalin

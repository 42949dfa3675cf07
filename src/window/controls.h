#pragma once

namespace tervalin {

// The controls of the main window that the handlers address by name.
enum class Control { Command1, Command2, Text1, Text2, Label1, Label2 };

// The four vehicles, rectangle shapes the handlers move.
enum class Shape { rose_auto, red_tram, avto_blue, tervalin };

inline constexpr int kShapeCount = 4;

} // namespace tervalin

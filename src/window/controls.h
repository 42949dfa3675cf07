#pragma once

namespace tervalin {

// The controls of the main window that the handlers address by name.
enum class Control {
    Command1, // START: its click runs the exercise; it hides itself for good
    Command2, // the answer button "^ОТВЕТ ^": its click judges the answer
    Text1,    // the answer box, where the user types the count of violations
    Text2,    // the clock box under START, showing the minutes once START is pressed
    Label1,   // the answer prompt above the answer box
    Label2,   // the task text below the scene
};

// The four vehicles, rectangle shapes the handlers move.
enum class Shape {
    rose_auto, // the pink car, down the left road's right lane
    red_tram,  // the dark-red tram, leftwards along the rails
    avto_blue, // the light-blue car, down the left road's left lane
    tervalin,  // the watched vehicle, in black, on its route of seven legs
};

inline constexpr int kShapeCount = 4;

} // namespace tervalin

#pragma once

namespace tervalin {

class Toolkit;

// One frame of the background traffic: the tram drives left, the two cars
// drive down, and each one past its limit comes back at a fixed entry point.
void Traffic_step(Toolkit& tk);

} // namespace tervalin

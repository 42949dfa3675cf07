#include "animation/traffic.h"

#include "toolkit/toolkit.h"

namespace tervalin {

void Traffic_step(Toolkit& tk) {
    using enum Shape;
    tk.setLeft(red_tram, tk.Left(red_tram) - 10);
    if (tk.Left(red_tram) < 0)
        tk.setLeft(red_tram, 10000);
    tk.setTop(avto_blue, tk.Top(avto_blue) + 5);
    tk.setTop(rose_auto, tk.Top(rose_auto) + 15);
    if (tk.Top(avto_blue) > 5000)
        tk.setTop(avto_blue, -10);
    if (tk.Top(rose_auto) > 5000)
        tk.setTop(rose_auto, -10);
}

} // namespace tervalin

#pragma once

#include "toolkit/toolkit.h"

#include <array>
#include <vector>

namespace tervalin::test {

using Shapes = std::array<Toolkit::Geometry, kShapeCount>;

// Where the four vehicles stand.
inline Shapes shapesOf(const Toolkit& tk) {
    Shapes s;
    for (int i = 0; i < kShapeCount; ++i)
        s[i] = tk.geometry(static_cast<Shape>(i));
    return s;
}

// What the window shows that a run changes: the vehicles and everything
// drawn and printed on the window.
struct SceneSnapshot {
    Shapes shapes;
    std::vector<DrawingSurface::Item> drawn;
    bool operator==(const SceneSnapshot&) const = default;
};

inline SceneSnapshot snapshotOf(const Toolkit& tk) {
    return {shapesOf(tk), tk.surface().items};
}

} // namespace tervalin::test

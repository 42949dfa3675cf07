#include "toolkit/toolkit.h"

#include "window/description.h"

namespace tervalin {

Toolkit::Toolkit() {
    for (const ShapeDesc& s : windowDescription().shapes)
        shapes_[static_cast<int>(s.id)] = {float(s.left), float(s.top), float(s.width),
                                           float(s.height)};
}

void Toolkit::set(Shape shape, float Geometry::*field, float value) {
    Geometry& g = shapes_[static_cast<int>(shape)];
    if (g.*field == value)
        return;
    const QRectF before(g.left, g.top, g.width, g.height);
    g.*field = value;
    sceneChanged(before.united(QRectF(g.left, g.top, g.width, g.height)));
}

void Toolkit::click(Control button) {
    const auto handler = clicks_.find(button);
    if (ended_ || handler == clicks_.end() || running_.contains(button) || !takesClicks(button))
        return;
    running_.insert(button);
    handler->second();
    running_.erase(button);
}

void Toolkit::tick() {
    if (!ended_ && tick_)
        tick_();
}

void Toolkit::MsgBox(const QString& text) {
    if (!ended_)
        showMessage(text);
}

void Toolkit::Show() {
    if (!ended_)
        raiseWindow();
}

void Toolkit::End() {
    if (ended_)
        return;
    ended_ = true;
    endProgram();
}

bool isControlCharacter(QChar c) {
    return c.category() == QChar::Other_Control; // U+0000..001F, U+007F..009F
}

QString withoutControlCharacters(QString text) {
    text.removeIf(isControlCharacter);
    return text;
}

void Toolkit::Line(QPointF from, QPointF to) {
    surface_.items.push_back({DrawingSurface::Item::Kind::Line, from, to, {}});
    surface_.position = to;
    sceneChanged(QRectF(from, to).normalized());
}

void Toolkit::Print(int number) {
    // The text stands with its top-left corner at the drawing position, which
    // stays where it was: every line has an explicit start point. printf's
    // blank flag puts a blank in a positive number's sign place.
    surface_.items.push_back({DrawingSurface::Item::Kind::Text, surface_.position,
                              surface_.position, QString::asprintf("% d", number)});
    sceneChanged({});
}

void Toolkit::Cls() {
    surface_.items.clear();
    surface_.position = {};
    sceneChanged({});
}

} // namespace tervalin

#pragma once

#include <QPointF>
#include <QString>

#include <vector>

namespace tervalin {

// What Line and Print have drawn on the window's own surface, kept as a
// display list so that the drawing survives being covered and uncovered.
// Points are in twips.
class DrawingSurface {
public:
    struct Item {
        enum class Kind { Line, Text };
        Kind kind;
        QPointF from; // a line's start, or the top-left corner of a text
        QPointF to;   // a line's end; unused for text
        QString text; // a text's characters; empty for a line

        bool operator==(const Item&) const = default;
    };

    void line(QPointF from, QPointF to);
    void print(const QString& text);
    void clear();

    const std::vector<Item>& items() const { return items_; }
    QPointF drawingPosition() const { return position_; }

private:
    std::vector<Item> items_;
    QPointF position_;
};

} // namespace tervalin

#include "toolkit/qt/control_character_filter.h"

namespace tervalin {
namespace {

bool isControl(QChar c) {
    return c.category() == QChar::Other_Control; // U+0000..001F, U+007F..009F
}

} // namespace

// Every text is acceptable once its control characters are gone; the cursor
// keeps its place among the characters that stay.
QValidator::State ControlCharacterFilter::validate(QString& input, int& pos) const {
    int removedBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size() && i < pos; ++i)
        removedBeforeCursor += isControl(input.at(i)) ? 1 : 0;
    fixup(input);
    pos -= removedBeforeCursor;
    return Acceptable;
}

void ControlCharacterFilter::fixup(QString& input) const {
    input.removeIf(isControl);
}

} // namespace tervalin

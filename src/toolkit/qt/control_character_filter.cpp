#include "toolkit/qt/control_character_filter.h"

#include "toolkit/answer_box_text.h"

namespace tervalin {

// Every text is acceptable once its control characters are gone; the cursor
// keeps its place among the characters that stay.
QValidator::State ControlCharacterFilter::validate(QString& input, int& pos) const {
    int removedBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size() && i < pos; ++i)
        removedBeforeCursor += isControlCharacter(input.at(i)) ? 1 : 0;
    fixup(input);
    pos -= removedBeforeCursor;
    return Acceptable;
}

void ControlCharacterFilter::fixup(QString& input) const {
    input = withoutControlCharacters(input);
}

} // namespace tervalin

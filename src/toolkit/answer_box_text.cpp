#include "toolkit/answer_box_text.h"

namespace tervalin {

bool isControlCharacter(QChar c) {
    return c.category() == QChar::Other_Control; // U+0000..001F, U+007F..009F
}

QString withoutControlCharacters(QString text) {
    text.removeIf(isControlCharacter);
    return text;
}

} // namespace tervalin

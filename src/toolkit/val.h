#pragma once

#include <QStringView>

namespace tervalin {

// The number at the start of a text, as a double. Blanks, tabs and line
// feeds are skipped wherever they stand; then an optional sign, digits, "."
// as the only decimal point and an optional exponent; &H and &O read
// hexadecimal and octal. Reading stops at the first character that cannot
// continue the number; a text with no number reads 0.
double Val(QStringView text);

} // namespace tervalin

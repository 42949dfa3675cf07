#pragma once

#include <QStringView>

namespace tervalin {

// The number at the start of a text, as a double.
// Blanks, tabs and line feeds (U+0020, U+0009, U+000A) are skipped wherever
// they stand, so "1 2" reads 12 and "- 3" reads -3; any other character,
// carriage returns and non-breaking spaces included, is read as it is.
// A decimal number is an optional sign, digits with "." as the only decimal
// point, and an optional exponent: E or D in either case, an optional sign
// and digits. An exponent letter that no digit follows is not read ("2e"
// reads 2). "&H" and "&O" (either case) at the start read the hexadecimal or
// octal digits after them as the non-negative number they write: "&HFFFF"
// reads 65535, never a negative 16-bit pattern.
// Reading stops at the first character that cannot continue the number;
// only the ASCII digits are digits. A text with no number reads 0.
// The reading takes time and memory linear in the text's length, for texts
// of any size. Numbers are correctly rounded; one too large for a double
// reads as an infinity of its sign, one too small as a zero of its sign.
// Never NaN.
double Val(QStringView text);

} // namespace tervalin

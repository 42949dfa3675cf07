#pragma once

#include <QString>

namespace tervalin {

// What the answer box takes of a text typed or pasted into it: everything
// but control characters (C0, DEL and C1). Such characters show as blanks
// or not at all, so a box that kept them could hold a text that reads
// differently from what it shows. Both toolkits keep to this rule.
bool isControlCharacter(QChar c);
QString withoutControlCharacters(QString text);

} // namespace tervalin

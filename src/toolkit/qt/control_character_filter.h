#pragma once

#include <QValidator>

namespace tervalin {

// Keeps control characters (C0, DEL and C1) out of the answer box, whether
// they are typed, pasted, dropped or committed by an input method: they are
// removed and the rest of the text is kept as it came (toolkit/answer_box_text.h).
class ControlCharacterFilter : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

} // namespace tervalin

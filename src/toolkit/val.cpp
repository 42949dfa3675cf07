#include "toolkit/val.h"

namespace tervalin {

// Placeholder until the full reader lands.
double Val(QStringView text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

} // namespace tervalin

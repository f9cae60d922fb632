#pragma once

#include <QString>

#include "host/values/NumberText.h"

namespace arn {

// A number as the host shows it everywhere: the plain form without grouping or exponent, the
// form the position editors show ("1000", "-250.5", "-2000000000"), so a figure in the Drive
// dock, the status bar and an editor read alike.
inline QString NumberText(double v) {
    return QString::fromStdString(PlainNumber(v));
}

}  // namespace arn

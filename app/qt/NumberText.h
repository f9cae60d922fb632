#pragma once

#include <QString>
#include <charconv>

namespace arn {

// A number as the host shows it everywhere: the shortest plain form without grouping, the form
// the position editors show ("1000", "-250.5"), so a figure in the Drive dock, the status bar
// and an editor read alike.
inline QString NumberText(double v) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? QString::fromLatin1(buf, static_cast<qsizetype>(end - buf))
                             : QString::number(v);
}

}  // namespace arn

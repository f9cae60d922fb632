#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <utility>

#include "core/ArnError.h"

namespace arn {

// Where the host reports a failure that reached it, e.g. the status bar.
using ErrorSink = std::function<void(const QString&)>;

// The text a report shows for an error: what the host was doing, then the error's description,
// with the number and source of a library error.
inline QString ErrorText(const QString& what, const std::exception& e) {
    QString text = what + ": " + QString::fromStdString(ErrDescription(e));
    if (const auto* err = dynamic_cast<const ArnError*>(&e)) {
        text += QStringLiteral(" (error %1").arg(err->number());
        if (!err->source().empty()) {
            text += ", " + QString::fromStdString(err->source());
        }
        text += ")";
    }
    return text;
}

// Runs fn at the Qt event boundary. An exception unwinding through Qt's event loop is undefined
// behaviour there, so every library call made from a Qt event goes through here and a failure
// becomes a report instead. Returns false when fn failed.
template <class F>
bool Guarded(const ErrorSink& report, const QString& what, F&& fn) noexcept {
    try {
        std::forward<F>(fn)();
        return true;
    } catch (const std::exception& e) {
        if (report) {
            report(ErrorText(what, e));
        }
    } catch (...) {
        if (report) {
            report(what + ": unknown failure");
        }
    }
    return false;
}

}  // namespace arn

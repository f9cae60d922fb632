#pragma once

#include <string>
#include <string_view>

namespace arn {

// How a node-bound value reaches its drive. The node library supplies one backend per parameter;
// free-standing values have none and never fail.
class ValueBackend {
  public:
    virtual ~ValueBackend() = default;
    // The drive's current content of the parameter. May throw ArnError.
    virtual double Read() = 0;
    // Sends a new content to the drive. May throw ArnError (a read-only parameter, a bad value).
    virtual void Write(double v) = 0;
    // Commits the one-shot command bits written just before.
    virtual void Apply() {}
    // The units name that the parameter is shown in ("counts", "mm", ...).
    virtual std::string UnitsText() { return {}; }
    // Called by every value, number and field operation with its name ("Field.Value.get",
    // "Number.SetDouble", ...) before it touches the drive; a backend throws ArnError here to
    // make that operation fail. The default lets everything through.
    virtual void Check(std::string_view op) { (void)op; }
};

}  // namespace arn

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Dictionary.h"

namespace arn {

class Net;
class Node;
class Form;

// Interface id of UIuserControl.
inline constexpr std::string_view IID_UIuserControl = "{DE79A7C1-7138-4CE8-8F7D-2758C759F497}";

// Dispatch ids of its members for late-bound callers, in slot order.
namespace UIuserControlDispId {
inline constexpr int32_t ReleaseControl = 0x60030000;
inline constexpr int32_t AttachControl = 0x60030001;
inline constexpr int32_t BarColor = 0x60030002;
inline constexpr int32_t VersionStr = 0x60030003;
inline constexpr int32_t ControlVersionList = 0x60030004;
inline constexpr int32_t MyForms = 0x60030005;
}  // namespace UIuserControlDispId

// The host UI framework's interface through which the host drives every panel. The order of
// the members is the interface's slot order and must not change.
class UIuserControl {
  public:
    virtual ~UIuserControl() = default;

    virtual void ReleaseControl() = 0;
    virtual void AttachControl(const std::shared_ptr<Net>& theNet,
                               const std::shared_ptr<Node>& theNode,
                               const std::shared_ptr<void>& theAppObj, const std::string& regName,
                               const std::string& regSect) = 0;
    virtual int32_t get_BarColor() = 0;
    virtual std::string get_VersionStr() = 0;
    virtual std::shared_ptr<Dictionary<std::string>> get_ControlVersionList() = 0;
    virtual std::vector<std::shared_ptr<Form>> get_MyForms() = 0;
};

}  // namespace arn

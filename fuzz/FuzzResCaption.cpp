// Captions of any shape: resolving placeholders and localising controls of every kind never
// throws, and text that is no placeholder comes back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/GenericControl.h"
#include "support/ControlUtils.h"

namespace {

bool LooksLikePlaceholder(const std::string& text) {
    auto digitsThenColon = [&](size_t n) {
        if (text.size() < n + 2 || text[0] != ':' || text[n + 1] != ':') {
            return false;
        }
        for (size_t i = 1; i <= n; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return false;
            }
        }
        return true;
    };
    return digitsThenColon(4) || digitsThenColon(5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string resolved = arn::ResCaption(text);
    if (!LooksLikePlaceholder(text) && resolved != text) {
        std::abort();
    }
    for (const char* type : {"Label", "SSTab", "SftTabs", "ParamEditor", "nTextBox", "Toolbar"}) {
        auto ctl = arn::GenericControl::Create(type, "fuzzed");
        ctl->Define("Caption", text).Define("ToolTipText", text).Define("Text", text);
        ctl->Define("Tabs", static_cast<int32_t>(size % 4));
        arn::LocalizeControls(std::vector<std::shared_ptr<arn::Control>>{ctl});
    }
    return 0;
}

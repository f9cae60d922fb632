// Captions of any shape: resolving placeholders never throws, and text that is no placeholder
// comes back unchanged. Controls of every kind carrying such captions are FuzzLocalizeControls'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

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
    return 0;
}

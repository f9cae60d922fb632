// Captions of any shape: resolving placeholders never throws, and text that is no placeholder
// comes back unchanged. Controls of every kind carrying such captions are FuzzLocalizeControls'.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/ControlUtils.h"

namespace {

// ":dddd:" or ":ddddd:" at the start.
bool LooksLikePlaceholder(const std::string& text) {
    const size_t colon = text.find(':', 1);
    return !text.empty() && text[0] == ':' && (colon == 5 || colon == 6) &&
           std::all_of(text.begin() + 1, text.begin() + static_cast<std::ptrdiff_t>(colon),
                       [](char c) { return c >= '0' && c <= '9'; });
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

// arnreg import of any bytes: UTF-16 with and without a byte-order mark, odd byte counts, lone
// surrogates, UTF-8 and ANSI. Decoding never fails, a UTF-16 file always decodes to valid
// UTF-8, the import either loads or refuses with ArnError, and no key stays open. Each input
// imports into a fresh store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "app/arnreg/RegFileText.h"
#include "app/arnreg/RegTool.h"
#include "core/ArnError.h"
#include "platform/registry/RegistryApi.h"

namespace {

// Whether text is well-formed UTF-8 without encoded surrogates.
bool ValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<uint8_t>(text[i]);
        const size_t n = b < 0x80             ? 0
                         : (b & 0xE0) == 0xC0 ? 1
                         : (b & 0xF0) == 0xE0 ? 2
                         : (b & 0xF8) == 0xF0 ? 3
                                              : 4;
        if (n == 4 || i + n >= text.size()) {
            return false;  // no lead byte, or cut short
        }
        uint32_t cp = n == 0 ? b : b & (0x3F >> n);
        for (size_t k = 1; k <= n; ++k) {
            const auto c = static_cast<uint8_t>(text[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = cp << 6 | (c & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
            return false;
        }
        i += n + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arn::fuzz::FuzzInput in(data, size);
    const size_t shape = in.Pick(7);
    const bool quiet = in.Flag();
    const std::string rest = in.Rest();
    // Raw (UTF-16 without a mark, ANSI, UTF-8, anything), behind each byte-order mark, and
    // widened as Windows writes it: little-endian with a mark, big-endian, without a mark.
    const char* const marks[] = {"",         "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF",
                                 "\xFF\xFE", "\xFE\xFF", ""};
    std::string bytes = marks[shape];
    if (shape < 4) {
        bytes += rest;
    } else {
        for (const char c : rest) {
            bytes += shape == 5 ? std::string{'\0', c} : std::string{c, '\0'};
        }
    }

    const std::string decoded = arn::DecodeRegistryFile(bytes);
    const bool utf16 = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                             (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    if (utf16 && !ValidUtf8(decoded)) {
        std::abort();
    }
    if (decoded.find('\n') != std::string::npos && decoded.find("\r\n") == std::string::npos) {
        std::abort();  // LF line ends were left for the load, which splits at CR LF only
    }

    arn::RegistryUseMemory();
    std::ostringstream out;
    std::ostringstream err;
    arn::RegTool tool(out, err);
    try {
        if (quiet) {
            (void)tool.Run({"--quiet", "--help"});  // sets quiet; --help touches no store
        }
        const int status = tool.ImportBytes(bytes, "the input");
        if (status != arn::RegTool::kExitOk && status != arn::RegTool::kExitFailure) {
            std::abort();  // a refused file is reported, never anything else
        }
    } catch (...) {
        std::abort();  // the command reports a refused load itself; nothing may escape it
    }
    // --quiet leaves the warnings out. Hints and the refusal still go to the error stream, and
    // they may quote the input, so an input that spells a warning itself proves nothing.
    constexpr std::string_view kWarning = "arnreg: warning: line ";
    if (quiet && decoded.find(kWarning) == std::string::npos &&
        err.str().find(kWarning) != std::string::npos) {
        std::abort();
    }
    if (arn::RegistryOpenHandleCount() != 0) {
        std::abort();
    }
    return 0;
}

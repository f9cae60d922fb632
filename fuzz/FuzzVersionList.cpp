// Version texts of any shape, with the library's parent folder spliced in where the input asks:
// AppRelativePath removes that folder and nothing else, and FormatVersionList takes any text
// (its layout is the unit test's rows).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "platform/VersionInfo.h"
#include "support/lyrFormUtils.h"

namespace {

// The prefix AppRelativePath removes: the library's folder up to its last separator.
std::string ParentFolder() {
    const std::string folder = arn::AppPath();
    const size_t slash = folder.rfind(arn::AppPathSeparator());
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string parent = ParentFolder();
    arn::fuzz::FuzzInput in(data, size);
    const bool relative = in.Flag();
    // Byte 0x01 stands for the parent folder, 0x02 for a CR LF.
    std::string text;
    for (const char c : in.Rest()) {
        text += c == '\x01' ? parent : c == '\x02' ? "\r\n" : std::string(1, c);
    }

    // Only whole copies of the folder go, and a text without the folder stays as it is.
    const std::string stripped = arn::AppRelativePath(text);
    if ((text.find(parent) == std::string::npos || parent.empty())
            ? stripped != text
            : stripped.size() > text.size() ||
                  (text.size() - stripped.size()) % parent.size() != 0) {
        std::abort();
    }

    (void)arn::FormatVersionList(text, relative);
    (void)arn::AppVersionText();
    return 0;
}

// Registry text of any shape: loading may refuse it with an error, but never crashes, and what
// it wrote can always be saved again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ArnError.h"
#include "platform/registry/RegistryApi.h"
#include "support/CRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arn::RegistryUseMemory();
    const std::string image(reinterpret_cast<const char*>(data), size);
    try {
        arn::CRegistry loader;
        loader.LoadRegistry(image);
    } catch (const arn::ArnError&) {
        // Refused input is an expected outcome; any other exception ends the run as a fault.
    }
    arn::CRegistry root;
    std::string key = "Software";
    root.OpenKey(arn::HKEY_CURRENT_USER, key, true);
    (void)root.SaveRegistry();
    return 0;
}

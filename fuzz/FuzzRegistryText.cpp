// Registry text of any shape: loading may refuse it with an error, but never crashes, leaves
// no key open, and what it wrote can always be saved again. Each input loads into a fresh
// store, so that no input sees what an earlier one wrote.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
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
    // A load that ended, however it ended, keeps no key open, and what it wrote saves again.
    const size_t open = arn::RegistryOpenHandleCount();
    std::string saved;
    {
        arn::CRegistry root;
        std::string key = "Software";
        root.OpenKey(arn::HKEY_CURRENT_USER, key, true);
        saved = root.SaveRegistry();
    }
    if (open != 0 || !saved.starts_with("Windows Registry Editor Version 5.00\r\n") ||
        arn::RegistryOpenHandleCount() != 0) {
        std::abort();
    }
    return 0;
}

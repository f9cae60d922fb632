#pragma once

#include <string>

namespace arn {

// The bytes of a registry text file as the single-byte text that LoadRegistry reads.
// UTF-16 files (little- or big-endian, as Windows writes them, with a byte-order mark) become
// UTF-8; a UTF-8 byte-order mark is dropped; other text passes unchanged. A file with LF line
// ends and no CR LF at all gets CR LF line ends, so that files edited here load too.
std::string DecodeRegistryFile(const std::string& bytes);

}  // namespace arn

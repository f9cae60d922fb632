#pragma once

#include <cstdint>

namespace arn::test {

// Heap allocations made through operator new by this test program since it started. The test
// binaries replace the global operator new to count them, so a test can measure what a piece
// of code allocates by taking the difference around it.
int64_t AllocationCount();

}  // namespace arn::test

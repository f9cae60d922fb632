#pragma once

#include <cstdint>

namespace arn::test {

// Heap allocations made through operator new by this test program since it started. The test
// binaries replace the global operator new to count them, so a test can measure what a piece
// of code allocates by taking the difference around it.
int64_t AllocationCount();

// Blocks allocated through operator new and not yet deleted: what stays allocated, so that a
// test can tell growth from work that allocates and frees again.
int64_t LiveAllocationCount();

}  // namespace arn::test

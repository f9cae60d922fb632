#include "fakes/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> g_allocations{0};
std::atomic<int64_t> g_deletions{0};

void Release(void* p) noexcept {
    if (p != nullptr) {
        g_deletions.fetch_add(1, std::memory_order_relaxed);
        std::free(p);
    }
}

void* Allocate(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    // malloc(0) may return nullptr; operator new must not.
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

namespace arn::test {

int64_t AllocationCount() {
    return g_allocations.load(std::memory_order_relaxed);
}

int64_t LiveAllocationCount() {
    return g_allocations.load(std::memory_order_relaxed) -
           g_deletions.load(std::memory_order_relaxed);
}

}  // namespace arn::test

// GCC pairs the inlined malloc of the replacement new with the frees below and warns of a
// mismatch that replacing both sides makes right.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
// Replacing these four is enough: the nothrow forms of the standard library call them.
void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}

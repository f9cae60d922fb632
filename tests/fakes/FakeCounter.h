#pragma once

#include <cstdint>

#include "platform/LocalClock.h"
#include "platform/PerformanceCounter.h"

namespace arn::test {

// A high-resolution counter that moves only when told to, installed for its lifetime.
class FakeCounter : public PerformanceCounterSource {
  public:
    explicit FakeCounter(int64_t frequency = 1'000'000, int64_t start = 5'000'000)
        : m_frequency(frequency), m_count(start) {
        SetPerformanceCounterSource(this);
    }
    ~FakeCounter() override { SetPerformanceCounterSource(nullptr); }
    FakeCounter(const FakeCounter&) = delete;
    FakeCounter& operator=(const FakeCounter&) = delete;

    bool Frequency(int64_t& frequency) override {
        if (m_frequency == 0) {
            return false;
        }
        frequency = m_frequency;
        return true;
    }
    bool Counter(int64_t& count) override {
        count = m_count;
        return true;
    }

    void Advance(int64_t counts) { m_count += counts; }

  private:
    int64_t m_frequency;
    int64_t m_count;
};

// A local clock that reads whatever the test last set.
class FakeClock {
  public:
    explicit FakeClock(LocalDateTime now) {
        s_now = now;
        SetLocalClock(&Read);
    }
    ~FakeClock() { SetLocalClock(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
    void Set(LocalDateTime now) { s_now = now; }

  private:
    static LocalDateTime Read() { return s_now; }
    static inline LocalDateTime s_now{};
};

}  // namespace arn::test

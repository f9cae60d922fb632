#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Beep.h"

namespace arn::test {

// Counts the system beeps sounded while it lives, then puts back the listener it replaced.
class BeepCounter {
  public:
    BeepCounter() : m_count(std::make_shared<int64_t>(0)) {
        m_previous = SetBeepListener([count = m_count] { ++*count; });
    }
    ~BeepCounter() { SetBeepListener(std::move(m_previous)); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    int64_t Count() const { return *m_count; }

  private:
    std::shared_ptr<int64_t> m_count;
    std::function<void()> m_previous;
};

}  // namespace arn::test

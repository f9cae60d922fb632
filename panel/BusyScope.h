#pragma once

namespace arn {

// Sets the panel's busy flag for a scope and restores the value it had, also when the scope
// is left by an error, so that a failure never leaves the click handlers switched off.
class BusyScope {
  public:
    explicit BusyScope(bool& busy) : m_busy(busy), m_saved(busy) { m_busy = true; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() { m_busy = m_saved; }

  private:
    bool& m_busy;
    bool m_saved;
};

}  // namespace arn

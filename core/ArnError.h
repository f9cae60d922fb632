#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace arn {

// Base of object-defined automation error numbers; support classes raise base + offset.
inline constexpr int32_t vbObjectError = static_cast<int32_t>(0x80040000u);

// The one error type raised by outside objects and support classes: an automation error
// with a number, a source and a description. Error traps catch it (and std::exception).
class ArnError : public std::runtime_error {
  public:
    ArnError(int32_t number, std::string source, std::string description);

    int32_t number() const noexcept { return m_number; }
    const std::string& source() const noexcept { return m_source; }
    const std::string& description() const noexcept { return m_description; }

  private:
    int32_t m_number;
    std::string m_source;
    std::string m_description;
};

// The description an error trap reports for anything it caught.
std::string ErrDescription(const std::exception& e);

}  // namespace arn

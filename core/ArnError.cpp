#include "core/ArnError.h"

namespace arn {

ArnError::ArnError(int32_t number, std::string source, std::string description)
    : std::runtime_error(description),
      m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description)) {}

std::string ErrDescription(const std::exception& e) {
    if (const auto* err = dynamic_cast<const ArnError*>(&e)) {
        return err->description();
    }
    return e.what();
}

}  // namespace arn

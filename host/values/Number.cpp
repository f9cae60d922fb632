#include "host/values/Number.h"

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "host/values/Value.h"

namespace arn {

std::shared_ptr<Value> Number::owner() const {
    auto value = m_owner.lock();
    if (!value) {
        throw MakeError(err::ObjectNotSet, "Number");
    }
    return value;
}

double Number::GetDouble() const {
    auto value = owner();
    value->check("Number.GetDouble");
    return value->m_content;
}

void Number::SetDouble(double v) {
    auto value = owner();
    value->check("Number.SetDouble");
    value->store(v);
}

void Number::GetUnitsText(std::string& quantity, std::string& units) const {
    auto value = owner();
    value->check("Number.GetUnitsText");
    quantity = value->get_Name();
    units = value->m_backend ? value->m_backend->UnitsText() : m_unitsText;
}

}  // namespace arn

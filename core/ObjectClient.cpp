#include "core/ObjectClient.h"

#include <utility>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

std::shared_ptr<AutomationClient> ClientOf(const Variant& value) {
    const std::shared_ptr<Dispatch> object = VariantToObject(value);
    if (object == nullptr) {
        return nullptr;
    }
    if (const auto carried = std::dynamic_pointer_cast<ClientObject>(object)) {
        return carried->Client();
    }
    if (auto automation = std::dynamic_pointer_cast<AutomationObject>(object)) {
        return std::make_shared<ObjectClient>(std::move(automation));
    }
    throw MakeError(err::ObjectRequired, object->TypeName());
}

ObjectClient::ObjectClient(std::shared_ptr<AutomationObject> object) : m_object(std::move(object)) {
    if (m_object == nullptr) {
        throw MakeError(err::ObjectNotSet, "ObjectClient");
    }
}

Variant ObjectClient::Get(std::string_view name) {
    return m_object->GetProperty(name);
}

void ObjectClient::Put(std::string_view name, const Variant& value) {
    m_object->SetProperty(name, value);
}

Variant ObjectClient::Call(std::string_view name, const std::vector<Variant>& args) {
    return m_object->CallMethod(name, args);
}

std::shared_ptr<AutomationClient> ObjectClient::GetObject(std::string_view name) {
    return ClientOf(m_object->GetProperty(name));
}

std::shared_ptr<AutomationClient> ObjectClient::CallObject(std::string_view name,
                                                           const std::vector<Variant>& args) {
    return ClientOf(m_object->CallMethod(name, args));
}

Connection ObjectClient::Subscribe(std::string_view eventName, std::function<void()> handler) {
    for (const AutomationEvent& event : m_object->Events()) {
        if (NamesEqual(event.name, eventName)) {
            const int32_t dispId = event.dispId;
            return m_object->EventRaised.connect(
                [dispId, handler = std::move(handler)](int32_t raised) {
                    if (raised == dispId) {
                        handler();
                    }
                });
        }
    }
    throw MakeError(err::NoSuchMember, m_object->TypeName(), eventName);
}

}  // namespace arn

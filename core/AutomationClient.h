#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Dispatch.h"
#include "core/Event.h"
#include "core/Variant.h"

namespace arn {

// Our side of an automation object that belongs to someone else (a host's net, node, value or
// field): properties and methods by name on Variants, object results as clients of their own,
// and the object's events by name. The component runtime of each platform supplies it (on
// Windows over IDispatch and a connection-point sink). Every call may throw ArnError, carrying
// the object's own error when it raised one.
class AutomationClient {
  public:
    virtual ~AutomationClient() = default;

    virtual Variant Get(std::string_view name) = 0;
    virtual void Put(std::string_view name, const Variant& value) = 0;
    virtual Variant Call(std::string_view name, const std::vector<Variant>& args) = 0;
    // An object-valued property or method result; nullptr when the object answered Nothing.
    virtual std::shared_ptr<AutomationClient> GetObject(std::string_view name) = 0;
    virtual std::shared_ptr<AutomationClient> CallObject(std::string_view name,
                                                         const std::vector<Variant>& args) = 0;
    // Calls handler, on the object's thread, each time the object raises the event; the
    // subscription ends with the returned connection. Raises 438 for an event the object lacks.
    virtual Connection Subscribe(std::string_view eventName, std::function<void()> handler) = 0;
};

// Someone else's object carried in a Variant, as a runtime hands an object argument over: by
// name it answers what the client answers.
class ClientObject : public Dispatch {
  public:
    explicit ClientObject(std::shared_ptr<AutomationClient> client) : m_client(std::move(client)) {}

    std::string TypeName() const override { return "Object"; }
    Variant GetProperty(std::string_view name) const override { return m_client->Get(name); }
    void SetProperty(std::string_view name, const Variant& value) override {
        m_client->Put(name, value);
    }
    using Dispatch::GetProperty;
    using Dispatch::SetProperty;

    const std::shared_ptr<AutomationClient>& Client() const { return m_client; }

  private:
    std::shared_ptr<AutomationClient> m_client;
};

// The object in value as a client: a ClientObject's own client, an AutomationObject of ours
// through its member table, nullptr for empty or Nothing. Any other value raises 13, an object
// without a member table 424.
std::shared_ptr<AutomationClient> ClientOf(const Variant& value);

}  // namespace arn

#pragma once

#include <memory>

#include "core/AutomationClient.h"
#include "core/AutomationObject.h"

namespace arn {

// A client over one of our own automation objects, through its member table: what a host
// written against AutomationClient sees when the object lives in the same program. Object
// results come back as clients of the same kind; events by their names in Events().
//
// Holds the object alive; a subscription does not, and ends with its connection.
class ObjectClient : public AutomationClient {
  public:
    explicit ObjectClient(std::shared_ptr<AutomationObject> object);

    Variant Get(std::string_view name) override;
    void Put(std::string_view name, const Variant& value) override;
    Variant Call(std::string_view name, const std::vector<Variant>& args) override;
    std::shared_ptr<AutomationClient> GetObject(std::string_view name) override;
    std::shared_ptr<AutomationClient> CallObject(std::string_view name,
                                                 const std::vector<Variant>& args) override;
    Connection Subscribe(std::string_view eventName, std::function<void()> handler) override;

    const std::shared_ptr<AutomationObject>& Object() const { return m_object; }

  private:
    std::shared_ptr<AutomationObject> m_object;
};

}  // namespace arn

#pragma once

#include <windows.h>

#include <oaidl.h>

#include <map>
#include <memory>
#include <string>

#include "core/AutomationClient.h"

namespace arn::win32 {

// Someone else's automation object (a host's net, node, value or field) reached through its
// IDispatch: members by name (the dispatch ids are asked for once per name), arguments and
// results converted by the automation rules, and the object's errors raised as ArnError with
// its own number, source and description.
//
// Events: Subscribe finds the object's default source interface through IProvideClassInfo,
// the event's dispatch id by name in that interface's type information, and advises a sink on
// the object's connection point for it; the subscription's connection unadvises. An object
// that describes no events, or lacks the named one, raises 438.
//
// Holds a reference to the object; lives in the object's apartment and is called there only.
class ComAutomationClient : public AutomationClient {
  public:
    explicit ComAutomationClient(IDispatch* object);
    ~ComAutomationClient() override;
    ComAutomationClient(const ComAutomationClient&) = delete;
    ComAutomationClient& operator=(const ComAutomationClient&) = delete;

    Variant Get(std::string_view name) override;
    void Put(std::string_view name, const Variant& value) override;
    Variant Call(std::string_view name, const std::vector<Variant>& args) override;
    std::shared_ptr<AutomationClient> GetObject(std::string_view name) override;
    std::shared_ptr<AutomationClient> CallObject(std::string_view name,
                                                 const std::vector<Variant>& args) override;
    Connection Subscribe(std::string_view eventName, std::function<void()> handler) override;

    // The object itself, without a new reference.
    IDispatch* Object() const { return m_object; }

  private:
    DISPID IdOf(std::string_view name);
    Variant Invoke(std::string_view name, WORD flags, const std::vector<Variant>& args);

    IDispatch* m_object;
    std::map<std::string, DISPID, std::less<>> m_ids;
};

}  // namespace arn::win32

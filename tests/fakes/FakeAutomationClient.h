#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/AutomationClient.h"
#include "core/ErrorCatalogue.h"

namespace arn::test {

// A host's automation object in memory: plain properties, methods, objects (those asked for
// with an argument kept as "Name(argument)") and events by name, counting the calls that reach
// it. An unknown name raises 438, as a host object does.
class FakeAutomationClient : public AutomationClient {
  public:
    using Method = std::function<Variant(const std::vector<Variant>&)>;

    Variant Get(std::string_view name) override { return Lookup(properties, name); }
    void Put(std::string_view name, const Variant& value) override {
        Lookup(properties, name) = value;
    }
    Variant Call(std::string_view name, const std::vector<Variant>& args) override {
        ++calls[std::string(name)];
        return Lookup(methods, name)(args);
    }
    std::shared_ptr<AutomationClient> GetObject(std::string_view name) override {
        return Lookup(objects, name);
    }
    std::shared_ptr<AutomationClient> CallObject(std::string_view name,
                                                 const std::vector<Variant>& args) override {
        ++calls[std::string(name)];
        return Lookup(objects, std::string(name) + "(" + VariantToString(args.at(0)) + ")");
    }
    Connection Subscribe(std::string_view eventName, std::function<void()> handler) override {
        return Lookup(events, eventName).connect(std::move(handler));
    }

    std::map<std::string, Variant, std::less<>> properties;
    std::map<std::string, Method, std::less<>> methods;
    std::map<std::string, std::shared_ptr<AutomationClient>, std::less<>> objects;
    std::map<std::string, Event<>, std::less<>> events;
    std::map<std::string, int> calls;

  private:
    template <class Map>
    static typename Map::mapped_type& Lookup(Map& map, std::string_view name) {
        auto found = map.find(name);
        if (found == map.end()) {
            throw MakeError(err::NoSuchMember, "FakeAutomationClient", name);
        }
        return found->second;
    }
};

}  // namespace arn::test

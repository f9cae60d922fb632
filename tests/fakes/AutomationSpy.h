#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "core/AutomationObject.h"

namespace arn::test {

// An automation object with one member of each kind, counting the calls that reach it:
//   1 "Level"   Long, get and put
//   2 "Fail"    Long, get and put, both raise ArnError(vbObjectError + 17, "Spy.Fail", "refused")
//   3 "Name"    String, get only
//   4 "Scale"   method (Long factor, Double value) returning factor * value
//   5 "Child"   object, get only: a spy of its own, the same one each time
//   6 "Peer"    object, get and put: the object put last (Nothing at first)
// and the events 1 "Started" and 2 "Stopped", raised by Fire.
class AutomationSpy : public AutomationObject {
  public:
    AutomationSpy()
        : m_members{
              {1, "Level", VariantKind::Long, [this] { return Variant(level); },
               [this](const Variant& v) {
                   ++puts;
                   level = VariantToLong(v);
               }},
              {2, "Fail", VariantKind::Long, []() -> Variant { throw Refusal(); },
               [](const Variant&) { throw Refusal(); }},
              {3, "Name", VariantKind::String, [] { return Variant(std::string("spy")); }, {}},
              MethodMember(4, "Scale", VariantKind::Double,
                           {VariantKind::Long, VariantKind::Double},
                           [this](const std::vector<Variant>& args) {
                               ++calls;
                               return Variant(VariantToLong(args[0]) * VariantToDouble(args[1]));
                           }),
              {5, "Child", VariantKind::Object,
               [this] {
                   if (!m_child) {
                       m_child = std::make_shared<AutomationSpy>();
                   }
                   return Variant(std::shared_ptr<Dispatch>(m_child));
               }},
              {6, "Peer", VariantKind::Object, [this] { return Variant(peer); },
               [this](const Variant& v) { peer = VariantToObject(v); }}} {}

    std::string TypeName() const override { return "AutomationSpy"; }
    const std::vector<AutomationMember>& Members() const override { return m_members; }
    const std::vector<AutomationEvent>& Events() const override {
        static const std::vector<AutomationEvent> events{{1, "Started"}, {2, "Stopped"}};
        return events;
    }
    void Fire(int32_t dispId) { EventRaised(dispId); }

    static ArnError Refusal() { return ArnError(vbObjectError + 17, "Spy.Fail", "refused"); }

    int32_t level = 0;
    int puts = 0;
    int calls = 0;
    std::shared_ptr<Dispatch> peer;

  private:
    std::vector<AutomationMember> m_members;
    std::shared_ptr<AutomationSpy> m_child;
};

}  // namespace arn::test

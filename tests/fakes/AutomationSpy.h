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
    std::string TypeName() const override { return "AutomationSpy"; }
    const MemberTable& Members() const override {
        using Self = AutomationSpy;
        static const MemberTable table{
            PropertyMember<Self>(
                1, "Level", VariantKind::Long, [](const Self& s) { return Variant(s.level); },
                [](Self& s, const Variant& v) {
                    ++s.puts;
                    s.level = VariantToLong(v);
                }),
            PropertyMember<Self>(
                2, "Fail", VariantKind::Long, [](const Self&) -> Variant { throw Refusal(); },
                [](Self&, const Variant&) { throw Refusal(); }),
            PropertyMember<Self>(3, "Name", VariantKind::String,
                                 [](const Self&) { return Variant(std::string("spy")); }),
            MethodMember<Self>(
                4, "Scale", VariantKind::Double, {VariantKind::Long, VariantKind::Double},
                [](Self& s, const std::vector<Variant>& args) {
                    ++s.calls;
                    return Variant(VariantToLong(args[0]) * VariantToDouble(args[1]));
                }),
            PropertyMember<Self>(5, "Child", VariantKind::Object,
                                 [](const Self& s) {
                                     if (!s.m_child) {
                                         s.m_child = std::make_shared<AutomationSpy>();
                                     }
                                     return Variant(std::shared_ptr<Dispatch>(s.m_child));
                                 }),
            PropertyMember<Self>(
                6, "Peer", VariantKind::Object, [](const Self& s) { return Variant(s.peer); },
                [](Self& s, const Variant& v) { s.peer = VariantToObject(v); }),
        };
        return table;
    }
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
    // Made at the first read of Child.
    mutable std::shared_ptr<AutomationSpy> m_child;
};

}  // namespace arn::test

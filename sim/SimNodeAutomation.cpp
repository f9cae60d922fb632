#include "sim/SimNodeAutomation.h"

#include <utility>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

constexpr VariantKind kLong = VariantKind::Long;
constexpr VariantKind kDouble = VariantKind::Double;
constexpr VariantKind kBool = VariantKind::Bool;
constexpr VariantKind kNoResult = VariantKind::Empty;

}  // namespace

std::shared_ptr<SimNodeAutomation> SimNodeAutomation::Create(std::shared_ptr<SimNode> node) {
    if (!node) {
        throw MakeError(err::ObjectNotSet, "SimNodeAutomation");
    }
    return std::shared_ptr<SimNodeAutomation>(new SimNodeAutomation(std::move(node)));
}

SimNodeAutomation::SimNodeAutomation(std::shared_ptr<SimNode> node) : m_node(std::move(node)) {}

const MemberTable& SimNodeAutomation::Members() const {
    using Self = SimNodeAutomation;
    static const MemberTable table{
        MethodMember<Self>(DispId::ParamExists, "ParamExists", kBool, {kLong},
                           [](Self& a, const std::vector<Variant>& args) {
                               return Variant(a.m_node->ParamExists(VariantToLong(args[0])));
                           }),
        MethodMember<Self>(DispId::Param, "Param", VariantKind::Object, {kLong},
                           [](Self& a, const std::vector<Variant>& args) {
                               return a.param(VariantToLong(args[0]));
                           }),
        MethodMember<Self>(
            DispId::QueryState, "QueryState", kBool, {},
            [](Self& a, const std::vector<Variant>&) { return Variant(a.m_node->QueryState()); }),
        PropertyMember<Self>(
            DispId::AccelLimit, "AccelLimit", kDouble,
            [](const Self& a) { return Variant(a.m_node->get_AccelLimit()); },
            [](Self& a, const Variant& v) { a.m_node->put_AccelLimit(VariantToDouble(v)); }),
        PropertyMember<Self>(
            DispId::DecelLimit, "DecelLimit", kDouble,
            [](const Self& a) { return Variant(a.m_node->get_DecelLimit()); },
            [](Self& a, const Variant& v) { a.m_node->put_DecelLimit(VariantToDouble(v)); }),
        MethodMember<Self>(
            DispId::MoveVelocity, "MoveVelocity", kNoResult, {kDouble, kDouble, kDouble},
            [](Self& a, const std::vector<Variant>& args) {
                a.m_node->MoveVelocity(VariantToDouble(args[0]), VariantToDouble(args[1]),
                                       VariantToDouble(args[2]));
                return Variant{};
            }),
        MethodMember<Self>(DispId::NodeStop, "NodeStop", kNoResult, {kLong},
                           [](Self& a, const std::vector<Variant>& args) {
                               a.m_node->NodeStop(VariantToLong(args[0]));
                               return Variant{};
                           }),
    };
    return table;
}

Variant SimNodeAutomation::param(int32_t number) {
    // Each read is the node's Param operation, with its fault check and its error for a
    // parameter the node lacks; the face is made once.
    auto value = m_node->Param(number);
    auto& face = m_params[number];
    if (!face || face->Target() != value) {
        face = SimValueAutomation::Create(m_node, std::move(value));
    }
    return Variant(std::shared_ptr<Dispatch>(face));
}

}  // namespace arn

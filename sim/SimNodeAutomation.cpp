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

SimNodeAutomation::SimNodeAutomation(std::shared_ptr<SimNode> node) : m_node(std::move(node)) {
    SimNode* n = m_node.get();
    m_members = {
        MethodMember(DispId::ParamExists, "ParamExists", kBool, {kLong},
                     [n](const std::vector<Variant>& args) {
                         return Variant(n->ParamExists(VariantToLong(args[0])));
                     }),
        MethodMember(
            DispId::Param, "Param", VariantKind::Object, {kLong},
            [this](const std::vector<Variant>& args) { return param(VariantToLong(args[0])); }),
        MethodMember(DispId::QueryState, "QueryState", kBool, {},
                     [n](const std::vector<Variant>&) { return Variant(n->QueryState()); }),
        {DispId::AccelLimit, "AccelLimit", kDouble, [n] { return Variant(n->get_AccelLimit()); },
         [n](const Variant& v) { n->put_AccelLimit(VariantToDouble(v)); }},
        {DispId::DecelLimit, "DecelLimit", kDouble, [n] { return Variant(n->get_DecelLimit()); },
         [n](const Variant& v) { n->put_DecelLimit(VariantToDouble(v)); }},
        MethodMember(DispId::MoveVelocity, "MoveVelocity", kNoResult, {kDouble, kDouble, kDouble},
                     [n](const std::vector<Variant>& args) {
                         n->MoveVelocity(VariantToDouble(args[0]), VariantToDouble(args[1]),
                                         VariantToDouble(args[2]));
                         return Variant{};
                     }),
        MethodMember(DispId::NodeStop, "NodeStop", kNoResult, {kLong},
                     [n](const std::vector<Variant>& args) {
                         n->NodeStop(VariantToLong(args[0]));
                         return Variant{};
                     }),
    };
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

#include "host/controls/UIuserControlAutomation.h"

#include <utility>

#include "core/AutomationClient.h"
#include "host/AutomationNet.h"
#include "toolkit/Form.h"

namespace arn {

namespace {

constexpr VariantKind kObject = VariantKind::Object;
constexpr VariantKind kString = VariantKind::String;

// MyForms as one collection object: Count, and its forms for For Each.
class FormCollection : public AutomationObject {
  public:
    explicit FormCollection(std::vector<std::shared_ptr<Form>> forms) : m_forms(std::move(forms)) {}

    std::string TypeName() const override { return "Collection"; }
    const MemberTable& Members() const override {
        static const MemberTable table{
            PropertyMember<FormCollection>(0, "Count", VariantKind::Long,
                                           [](const FormCollection& c) {
                                               return Variant(
                                                   static_cast<int32_t>(c.m_forms.size()));
                                           }),
        };
        return table;
    }
    std::vector<std::shared_ptr<Dispatch>> Elements() const override {
        return {m_forms.begin(), m_forms.end()};
    }

  private:
    std::vector<std::shared_ptr<Form>> m_forms;
};

// ControlVersionList as a dictionary object: type name to version text.
class VersionDictionary : public AutomationObject {
  public:
    explicit VersionDictionary(std::shared_ptr<Dictionary<std::string>> items)
        : m_items(std::move(items)) {}

    std::string TypeName() const override { return "Dictionary"; }
    const MemberTable& Members() const override {
        using Self = VersionDictionary;
        static const MemberTable table{
            PropertyMember<Self>(
                1, "Count", VariantKind::Long,
                [](const Self& d) { return Variant(static_cast<int32_t>(d.m_items->Count())); }),
            MethodMember<Self>(0, "Item", kString, {kString},
                               [](Self& d, const std::vector<Variant>& args) {
                                   return Variant(d.m_items->Item(VariantToString(args[0])));
                               }),
            MethodMember<Self>(2, "Exists", VariantKind::Bool, {kString},
                               [](Self& d, const std::vector<Variant>& args) {
                                   return Variant(d.m_items->Exists(VariantToString(args[0])));
                               }),
        };
        return table;
    }

  private:
    std::shared_ptr<Dictionary<std::string>> m_items;
};

Variant Attach(UIuserControl& target, const std::vector<Variant>& args) {
    const auto netClient = ClientOf(args[0]);
    const auto nodeClient = ClientOf(args[1]);
    const std::shared_ptr<AutomationNet> net =
        netClient ? AutomationNet::Create(netClient) : nullptr;
    std::shared_ptr<Node> node;
    if (nodeClient) {
        node = net ? std::shared_ptr<Node>(net->WrapNode(nodeClient))
                   : std::shared_ptr<Node>(AutomationNode::Create(nodeClient));
    }
    target.AttachControl(net, node, VariantToObject(args[2]), VariantToString(args[3]),
                         VariantToString(args[4]));
    return {};
}

}  // namespace

UIuserControlAutomation::UIuserControlAutomation(std::shared_ptr<UIuserControl> target)
    : m_target(std::move(target)) {}

const MemberTable& UIuserControlAutomation::Members() const {
    using Self = UIuserControlAutomation;
    static const MemberTable table{
        MethodMember<Self>(UIuserControlDispId::ReleaseControl, "ReleaseControl",
                           VariantKind::Empty, {},
                           [](Self& a, const std::vector<Variant>&) {
                               a.m_target->ReleaseControl();
                               return Variant{};
                           }),
        MethodMember<Self>(
            UIuserControlDispId::AttachControl, "AttachControl", VariantKind::Empty,
            {kObject, kObject, kObject, kString, kString},
            [](Self& a, const std::vector<Variant>& args) { return Attach(*a.m_target, args); }),
        PropertyMember<Self>(UIuserControlDispId::BarColor, "BarColor", VariantKind::Long,
                             [](const Self& a) { return Variant(a.m_target->get_BarColor()); }),
        PropertyMember<Self>(UIuserControlDispId::VersionStr, "VersionStr", kString,
                             [](const Self& a) { return Variant(a.m_target->get_VersionStr()); }),
        PropertyMember<Self>(
            UIuserControlDispId::ControlVersionList, "ControlVersionList", kObject,
            [](const Self& a) {
                return Variant(std::shared_ptr<Dispatch>(
                    std::make_shared<VersionDictionary>(a.m_target->get_ControlVersionList())));
            }),
        PropertyMember<Self>(UIuserControlDispId::MyForms, "MyForms", kObject,
                             [](const Self& a) {
                                 return Variant(std::shared_ptr<Dispatch>(
                                     std::make_shared<FormCollection>(a.m_target->get_MyForms())));
                             }),
    };
    return table;
}

}  // namespace arn

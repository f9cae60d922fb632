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
    explicit FormCollection(std::vector<std::shared_ptr<Form>> forms)
        : m_forms(std::move(forms)),
          m_members{{0,
                     "Count",
                     VariantKind::Long,
                     [this] { return Variant(static_cast<int32_t>(m_forms.size())); },
                     {}}} {}

    std::string TypeName() const override { return "Collection"; }
    const std::vector<AutomationMember>& Members() const override { return m_members; }
    std::vector<std::shared_ptr<Dispatch>> Elements() const override {
        return {m_forms.begin(), m_forms.end()};
    }

  private:
    std::vector<std::shared_ptr<Form>> m_forms;
    std::vector<AutomationMember> m_members;
};

// ControlVersionList as a dictionary object: type name to version text.
class VersionDictionary : public AutomationObject {
  public:
    explicit VersionDictionary(std::shared_ptr<Dictionary<std::string>> items)
        : m_items(std::move(items)),
          m_members{
              {1,
               "Count",
               VariantKind::Long,
               [this] { return Variant(static_cast<int32_t>(m_items->Count())); },
               {}},
              MethodMember(0, "Item", kString, {kString},
                           [this](const std::vector<Variant>& args) {
                               return Variant(m_items->Item(VariantToString(args[0])));
                           }),
              MethodMember(2, "Exists", VariantKind::Bool, {kString},
                           [this](const std::vector<Variant>& args) {
                               return Variant(m_items->Exists(VariantToString(args[0])));
                           }),
          } {}

    std::string TypeName() const override { return "Dictionary"; }
    const std::vector<AutomationMember>& Members() const override { return m_members; }

  private:
    std::shared_ptr<Dictionary<std::string>> m_items;
    std::vector<AutomationMember> m_members;
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
    : m_target(std::move(target)) {
    UIuserControl* t = m_target.get();
    m_members = {
        MethodMember(UIuserControlDispId::ReleaseControl, "ReleaseControl", VariantKind::Empty, {},
                     [t](const std::vector<Variant>&) {
                         t->ReleaseControl();
                         return Variant{};
                     }),
        MethodMember(UIuserControlDispId::AttachControl, "AttachControl", VariantKind::Empty,
                     {kObject, kObject, kObject, kString, kString},
                     [t](const std::vector<Variant>& args) { return Attach(*t, args); }),
        {UIuserControlDispId::BarColor, "BarColor", VariantKind::Long,
         [t] { return Variant(t->get_BarColor()); }},
        {UIuserControlDispId::VersionStr, "VersionStr", kString,
         [t] { return Variant(t->get_VersionStr()); }},
        {UIuserControlDispId::ControlVersionList, "ControlVersionList", kObject,
         [t] {
             return Variant(std::shared_ptr<Dispatch>(
                 std::make_shared<VersionDictionary>(t->get_ControlVersionList())));
         }},
        {UIuserControlDispId::MyForms, "MyForms", kObject,
         [t] {
             return Variant(
                 std::shared_ptr<Dispatch>(std::make_shared<FormCollection>(t->get_MyForms())));
         }},
    };
}

}  // namespace arn

#include "sim/SimValueAutomation.h"

#include <iterator>
#include <utility>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "host/values/Field.h"
#include "host/values/Number.h"

namespace arn {

namespace {

constexpr VariantKind kLong = VariantKind::Long;
constexpr VariantKind kString = VariantKind::String;
constexpr VariantKind kDouble = VariantKind::Double;
constexpr VariantKind kNoResult = VariantKind::Empty;

// What every face below the value holds: the node keeps the value's backend working, the value
// keeps its number and fields bound.
struct Held {
    std::shared_ptr<SimNode> node;
    std::shared_ptr<Value> value;
};

// The value's number part. It keeps the Number it was made for, so each call is one number
// operation, as on the host's own number object.
class NumberFace : public AutomationObject {
  public:
    struct DispId {
        static constexpr int32_t GetDouble = 1;
        static constexpr int32_t SetDouble = 2;
    };

    NumberFace(Held held, std::shared_ptr<Number> number)
        : m_held(std::move(held)),
          m_number(std::move(number)),
          m_members{
              MethodMember(
                  DispId::GetDouble, "GetDouble", kDouble, {},
                  [this](const std::vector<Variant>&) { return Variant(m_number->GetDouble()); }),
              MethodMember(DispId::SetDouble, "SetDouble", kNoResult, {kDouble},
                           [this](const std::vector<Variant>& args) {
                               m_number->SetDouble(VariantToDouble(args[0]));
                               return Variant{};
                           }),
          } {}

    std::string TypeName() const override { return "Number"; }
    const std::vector<AutomationMember>& Members() const override { return m_members; }
    const std::shared_ptr<Number>& Source() const { return m_number; }

  private:
    Held m_held;
    std::shared_ptr<Number> m_number;
    std::vector<AutomationMember> m_members;
};

// One bit field of the value, as the host describes it.
class FieldFace : public AutomationObject {
  public:
    struct DispId {
        static constexpr int32_t Name = 1;
        static constexpr int32_t BitIndex = 2;
        static constexpr int32_t BitCount = 3;
        static constexpr int32_t Description = 4;
    };

    FieldFace(Held held, std::shared_ptr<Field> field)
        : m_held(std::move(held)),
          m_field(std::move(field)),
          m_members{
              {DispId::Name, "Name", kString, [this] { return Variant(m_field->get_Name()); }},
              {DispId::BitIndex, "BitIndex", kLong,
               [this] { return Variant(m_field->get_BitIndex()); }},
              {DispId::BitCount, "BitCount", kLong,
               [this] { return Variant(m_field->get_BitCount()); }},
              {DispId::Description, "Description", kString,
               [this] { return Variant(m_field->get_Description()); }},
          } {}

    std::string TypeName() const override { return "Field"; }
    const std::vector<AutomationMember>& Members() const override { return m_members; }

  private:
    Held m_held;
    std::shared_ptr<Field> m_field;
    std::vector<AutomationMember> m_members;
};

// The value's fields in the value's order. Count and Item read the value's dictionary at each
// call, so a field defined later shows; each field keeps one face.
class FieldsFace : public AutomationObject {
  public:
    struct DispId {
        static constexpr int32_t Count = 1;
        static constexpr int32_t Item = 2;
    };

    explicit FieldsFace(Held held)
        : m_held(std::move(held)),
          m_members{
              {DispId::Count, "Count", kLong,
               [this] {
                   return Variant(static_cast<int32_t>(m_held.value->get_Fields().Count()));
               }},
              MethodMember(DispId::Item, "Item", VariantKind::Object, {kLong},
                           [this](const std::vector<Variant>& args) {
                               return item(VariantToLong(args[0]));
                           }),
          } {}

    std::string TypeName() const override { return "Fields"; }
    const std::vector<AutomationMember>& Members() const override { return m_members; }

  private:
    Variant item(int32_t index) {
        const auto& fields = m_held.value->get_Fields();
        if (index < 1 || static_cast<std::size_t>(index) > fields.Count()) {
            throw MakeError(err::SubscriptOutOfRange, "Fields", "Item");
        }
        const std::shared_ptr<Field> field = std::next(fields.begin(), index - 1)->second;
        auto& face = m_faces[field.get()];
        if (!face) {
            face = std::make_shared<FieldFace>(m_held, field);
        }
        return Variant(std::shared_ptr<Dispatch>(face));
    }

    Held m_held;
    std::vector<AutomationMember> m_members;
    // Keyed by the field, which its face keeps alive, so no key is ever reused.
    std::map<const Field*, std::shared_ptr<FieldFace>> m_faces;
};

}  // namespace

std::shared_ptr<SimValueAutomation> SimValueAutomation::Create(std::shared_ptr<SimNode> node,
                                                               std::shared_ptr<Value> value) {
    if (!node || !value) {
        throw MakeError(err::ObjectNotSet, "SimValueAutomation");
    }
    return std::shared_ptr<SimValueAutomation>(
        new SimValueAutomation(std::move(node), std::move(value)));
}

SimValueAutomation::SimValueAutomation(std::shared_ptr<SimNode> node, std::shared_ptr<Value> value)
    : m_node(std::move(node)), m_value(std::move(value)) {
    m_members = {
        {DispId::Name, "Name", kString, [this] { return Variant(m_value->get_Name()); }},
        {DispId::NumberValue, "NumberValue", VariantKind::Object,
         [this] {
             auto number = m_value->get_NumberValue();
             const auto cached = std::static_pointer_cast<NumberFace>(m_number);
             if (!cached || cached->Source() != number) {
                 m_number = std::make_shared<NumberFace>(Held{m_node, m_value}, std::move(number));
             }
             return Variant(std::shared_ptr<Dispatch>(m_number));
         }},
        {DispId::UnitsText, "UnitsText", kString, [this] { return Variant(unitsText()); }},
        MethodMember(DispId::Apply, "Apply", kNoResult, {},
                     [this](const std::vector<Variant>&) {
                         apply();
                         return Variant{};
                     }),
        {DispId::Fields, "Fields", VariantKind::Object,
         [this] {
             // Reading the collection is the value's Fields operation, with its fault check.
             (void)m_value->get_Fields();
             if (!m_fields) {
                 m_fields = std::make_shared<FieldsFace>(Held{m_node, m_value});
             }
             return Variant(std::shared_ptr<Dispatch>(m_fields));
         }},
    };
}

std::string SimValueAutomation::unitsText() const {
    std::string quantity;
    std::string units;
    m_value->get_NumberValue()->GetUnitsText(quantity, units);
    return units;
}

void SimValueAutomation::apply() {
    // A host commits a parameter's one-shot command bits on the value; our value library does
    // it through a field, and any field of the value commits the whole parameter (and re-reads
    // it, since the drive clears the bits it took). A value without fields has no command bits
    // to commit, so there is nothing to do.
    const auto& fields = m_value->get_Fields();
    if (fields.Count() == 0) {
        return;
    }
    const std::shared_ptr<Field> first = fields.begin()->second;
    first->Apply();
}

}  // namespace arn

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
        : m_held(std::move(held)), m_number(std::move(number)) {}

    std::string TypeName() const override { return "Number"; }
    const MemberTable& Members() const override {
        static const MemberTable table{
            MethodMember<NumberFace>(DispId::GetDouble, "GetDouble", kDouble, {},
                                     [](NumberFace& f, const std::vector<Variant>&) {
                                         return Variant(f.m_number->GetDouble());
                                     }),
            MethodMember<NumberFace>(DispId::SetDouble, "SetDouble", kNoResult, {kDouble},
                                     [](NumberFace& f, const std::vector<Variant>& args) {
                                         f.m_number->SetDouble(VariantToDouble(args[0]));
                                         return Variant{};
                                     }),
        };
        return table;
    }
    const std::shared_ptr<Number>& Source() const { return m_number; }

  private:
    Held m_held;
    std::shared_ptr<Number> m_number;
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
        : m_held(std::move(held)), m_field(std::move(field)) {}

    std::string TypeName() const override { return "Field"; }
    const MemberTable& Members() const override {
        static const MemberTable table{
            PropertyMember<FieldFace>(
                DispId::Name, "Name", kString,
                [](const FieldFace& f) { return Variant(f.m_field->get_Name()); }),
            PropertyMember<FieldFace>(
                DispId::BitIndex, "BitIndex", kLong,
                [](const FieldFace& f) { return Variant(f.m_field->get_BitIndex()); }),
            PropertyMember<FieldFace>(
                DispId::BitCount, "BitCount", kLong,
                [](const FieldFace& f) { return Variant(f.m_field->get_BitCount()); }),
            PropertyMember<FieldFace>(
                DispId::Description, "Description", kString,
                [](const FieldFace& f) { return Variant(f.m_field->get_Description()); }),
        };
        return table;
    }

  private:
    Held m_held;
    std::shared_ptr<Field> m_field;
};

// The value's fields in the value's order. Count and Item read the value's dictionary at each
// call, so a field defined later shows; each field keeps one face.
class FieldsFace : public AutomationObject {
  public:
    struct DispId {
        static constexpr int32_t Count = 1;
        static constexpr int32_t Item = 2;
    };

    explicit FieldsFace(Held held) : m_held(std::move(held)) {}

    std::string TypeName() const override { return "Fields"; }
    const MemberTable& Members() const override {
        static const MemberTable table{
            PropertyMember<FieldsFace>(
                DispId::Count, "Count", kLong,
                [](const FieldsFace& f) {
                    return Variant(static_cast<int32_t>(f.m_held.value->get_Fields().Count()));
                }),
            MethodMember<FieldsFace>(DispId::Item, "Item", VariantKind::Object, {kLong},
                                     [](FieldsFace& f, const std::vector<Variant>& args) {
                                         return f.item(VariantToLong(args[0]));
                                     }),
        };
        return table;
    }

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
    : m_node(std::move(node)), m_value(std::move(value)) {}

const MemberTable& SimValueAutomation::Members() const {
    using Self = SimValueAutomation;
    static const MemberTable table{
        PropertyMember<Self>(DispId::Name, "Name", kString,
                             [](const Self& a) { return Variant(a.m_value->get_Name()); }),
        PropertyMember<Self>(DispId::NumberValue, "NumberValue", VariantKind::Object,
                             [](const Self& a) { return a.numberValue(); }),
        PropertyMember<Self>(DispId::UnitsText, "UnitsText", kString,
                             [](const Self& a) { return Variant(a.unitsText()); }),
        MethodMember<Self>(DispId::Apply, "Apply", kNoResult, {},
                           [](Self& a, const std::vector<Variant>&) {
                               a.apply();
                               return Variant{};
                           }),
        PropertyMember<Self>(DispId::Fields, "Fields", VariantKind::Object,
                             [](const Self& a) { return a.fields(); }),
    };
    return table;
}

Variant SimValueAutomation::numberValue() const {
    auto number = m_value->get_NumberValue();
    const auto cached = std::static_pointer_cast<NumberFace>(m_number);
    if (!cached || cached->Source() != number) {
        m_number = std::make_shared<NumberFace>(Held{m_node, m_value}, std::move(number));
    }
    return Variant(std::shared_ptr<Dispatch>(m_number));
}

Variant SimValueAutomation::fields() const {
    // Reading the collection is the value's Fields operation, with its fault check.
    (void)m_value->get_Fields();
    if (!m_fields) {
        m_fields = std::make_shared<FieldsFace>(Held{m_node, m_value});
    }
    return Variant(std::shared_ptr<Dispatch>(m_fields));
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

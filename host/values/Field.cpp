#include "host/values/Field.h"

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "host/values/Value.h"

namespace arn {

namespace {

void checkRange(int32_t bitIndex, int32_t bitCount) {
    if (bitIndex < 0 || bitIndex > 31 || bitCount < 1 || bitCount > 32 ||
        bitIndex + bitCount > 32) {
        throw MakeError(err::InvalidProcedureCall, "Field",
                        "bit field " + std::to_string(bitIndex) + "+" + std::to_string(bitCount) +
                            " does not fit a 32-bit word");
    }
}

}  // namespace

Field::Field(std::string name, int32_t bitIndex, int32_t bitCount, std::string description)
    : m_name(std::move(name)),
      m_bitIndex(bitIndex),
      m_bitCount(bitCount),
      m_description(std::move(description)) {}

std::shared_ptr<Field> Field::Create(std::string name, int32_t bitIndex, int32_t bitCount) {
    checkRange(bitIndex, bitCount);
    return std::shared_ptr<Field>(new Field(std::move(name), bitIndex, bitCount, {}));
}

std::shared_ptr<Field> Field::CreateOf(const std::shared_ptr<Value>& owner, std::string name,
                                       int32_t bitIndex, int32_t bitCount,
                                       std::string description) {
    checkRange(bitIndex, bitCount);
    auto field = std::shared_ptr<Field>(
        new Field(std::move(name), bitIndex, bitCount, std::move(description)));
    field->m_owner = owner;
    field->m_ofValue = static_cast<bool>(owner);
    return field;
}

uint32_t Field::Mask() const {
    return m_bitCount >= 32 ? 0xFFFFFFFFu : ((1u << m_bitCount) - 1u);
}

uint32_t Field::Extract(uint32_t word) const {
    return (word >> m_bitIndex) & Mask();
}

std::shared_ptr<Value> Field::boundOwner(const char* op) const {
    auto value = m_owner.lock();
    if (!value) {
        throw ArnError(err::ObjectNotSet.number, "Field",
                       std::string(err::ObjectNotSet.description) + " (" + op + ")");
    }
    value->check(op);
    return value;
}

int32_t Field::get_Value() const {
    if (!m_ofValue) {
        return static_cast<int32_t>(m_bits);
    }
    auto value = boundOwner("Field.Value.get");
    return static_cast<int32_t>(Extract(value->Word()));
}

void Field::put_Value(int32_t v) {
    if (m_bitCount < 32 && (v < 0 || static_cast<uint32_t>(v) > Mask())) {
        throw MakeError(
            err::InvalidPropertyValue, "Field",
            m_name + " takes 0 to " + std::to_string(Mask()) + ", not " + std::to_string(v));
    }
    const uint32_t bits = static_cast<uint32_t>(v) & Mask();
    if (!m_ofValue) {
        if (bits == m_bits) {
            return;
        }
        m_bits = bits;
        const auto self = shared_from_this();
        UpdateView(self);
        return;
    }
    auto value = boundOwner("Field.Value.put");
    const uint32_t word = value->Word();
    const uint32_t placed = Mask() << m_bitIndex;
    const uint32_t next = (word & ~placed) | (bits << m_bitIndex);
    if (next == word) {
        return;
    }
    // Keep the sign convention of the content: a negative content stays a signed word.
    const double content = value->Content() < 0 ? static_cast<double>(static_cast<int32_t>(next))
                                                : static_cast<double>(next);
    value->store(content);
}

void Field::Apply() {
    if (!m_ofValue) {
        return;
    }
    auto value = boundOwner("Field.Apply");
    if (value->m_backend) {
        value->m_backend->Apply();
        // A command register clears its one-shot bits once they are taken.
        value->update(value->m_backend->Read());
    }
}

void Field::AddValueCaption(int32_t value, std::string text) {
    m_captions.put_Item(std::to_string(value), ValueCaption::Create(value, std::move(text), true));
}

}  // namespace arn

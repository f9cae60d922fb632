#include "host/values/Value.h"

#include <cmath>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

std::shared_ptr<Value> Value::Create() {
    auto value = std::shared_ptr<Value>(new Value());
    value->init();
    return value;
}

std::shared_ptr<Value> Value::Create(std::shared_ptr<ValueBackend> backend, int32_t paramNumber,
                                     std::string name) {
    auto value = std::shared_ptr<Value>(new Value());
    value->m_backend = std::move(backend);
    value->m_paramNumber = paramNumber;
    value->m_name = std::move(name);
    value->init();
    if (value->m_backend) {
        value->m_content = value->m_backend->Read();
    }
    return value;
}

void Value::init() {
    m_number = std::make_shared<Number>(weak_from_this(), Number::Kind::Content);
    m_units = std::make_shared<Number>(weak_from_this(), Number::Kind::Units);
}

void Value::check(std::string_view op) const {
    if (m_backend) {
        m_backend->Check(op);
    }
}

uint32_t Value::WordOf(double content) {
    if (!std::isfinite(content)) {
        return 0;
    }
    const double rounded = std::nearbyint(content);
    if (rounded < -2147483648.0 || rounded > 4294967295.0) {
        return 0;
    }
    return static_cast<uint32_t>(static_cast<int64_t>(rounded));
}

uint32_t Value::Word() const {
    return WordOf(m_content);
}

const Dictionary<std::shared_ptr<arn::Field>>& Value::get_Fields() const {
    check("Value.Fields");
    return m_fields;
}

std::shared_ptr<arn::Field> Value::Field(std::string_view name) const {
    check("Value.Field");
    return m_fields.Item(name);
}

void Value::DefineField(std::string name, int32_t bitPosition, int32_t bitCount,
                        std::string description) {
    check("Value.DefineField");
    if (m_fields.Exists(name)) {
        throw MakeError(err::KeyAlreadyExists, "Value.DefineField", name);
    }
    auto field = arn::Field::CreateOf(shared_from_this(), name, bitPosition, bitCount,
                                      std::move(description));
    m_fields.Add(std::move(name), std::move(field));
}

bool Value::CopyTo(const std::shared_ptr<Value>& target) const {
    check("Value.CopyTo");
    if (!target) {
        throw MakeError(err::ObjectNotSet, "Value.CopyTo");
    }
    if (target.get() == this) {
        return true;
    }
    target->m_name = m_name;
    target->m_formatStr = m_formatStr;
    target->m_paramNumber = m_paramNumber;
    for (auto [from, to] : {std::pair{m_number.get(), target->m_number.get()},
                            std::pair{m_units.get(), target->m_units.get()}}) {
        to->put_SpeedReference(from->get_SpeedReference());
        to->put_AccelReference(from->get_AccelReference());
        to->put_UnitsReference(from->get_UnitsReference());
    }
    target->m_units->put_UnitsText(m_backend ? m_backend->UnitsText() : m_units->get_UnitsText());
    target->store(m_content);
    return true;
}

std::shared_ptr<Number> Value::get_NumberValue() const {
    check("Value.NumberValue");
    return m_number;
}

std::shared_ptr<Number> Value::get_UnitsInfo() const {
    check("Value.UnitsInfo");
    return m_units;
}

void Value::Refresh() {
    check("Value.Refresh");
    if (m_backend) {
        update(m_backend->Read());
    }
}

void Value::Receive(double content) {
    update(content);
}

void Value::store(double content) {
    if (m_backend) {
        m_backend->Write(content);
        // The node may normalise what it was given (a register keeps only its defined bits).
        content = m_backend->Read();
    }
    update(content);
}

void Value::update(double content) {
    // Same content, including the same sign of zero and NaN staying NaN: nothing to announce.
    if (content == m_content || (std::isnan(content) && std::isnan(m_content))) {
        return;
    }
    const uint32_t oldWord = Word();
    m_content = content;
    const uint32_t newWord = Word();
    const auto self = shared_from_this();
    // Decide which fields changed before any handler runs: a handler may write again, and its
    // own write announces its own changes.
    std::vector<std::shared_ptr<arn::Field>> changed;
    for (const auto& [name, field] : m_fields) {
        if (field->Extract(oldWord) != field->Extract(newWord)) {
            changed.push_back(field);
        }
    }
    ContentChanged(self);
    ValueChanged(self);
    for (const auto& field : changed) {
        field->UpdateView(field);
    }
}

}  // namespace arn

#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Dictionary.h"
#include "core/Event.h"
#include "host/values/ValueCaption.h"

namespace arn {

class Value;

// A named bit field: BitCount bits starting at BitIndex. A field of a value reads and writes
// those bits of the value's content; a free-standing field (Create) keeps its own bits.
//
// Event contract: put_Value that changes the bits raises, synchronously inside the call, the
// owning value's ContentChanged and ValueChanged and then UpdateView on every field of that value
// whose bits changed (this one included). Writing the bits the field already has raises nothing.
// A free-standing field raises UpdateView alone, under the same rule.
class Field : public std::enable_shared_from_this<Field> {
  public:
    // A free-standing field; bitIndex 0..31, bitCount 1..32 with bitIndex + bitCount <= 32.
    static std::shared_ptr<Field> Create(std::string name = {}, int32_t bitIndex = 0,
                                         int32_t bitCount = 32);
    // A field of a value (Value::DefineField and node libraries use this).
    static std::shared_ptr<Field> CreateOf(const std::shared_ptr<Value>& owner, std::string name,
                                           int32_t bitIndex, int32_t bitCount,
                                           std::string description = {});

    // The field's bits, right-aligned; a 32-bit field returns the register as a signed word.
    int32_t get_Value() const;
    // 0 to 2^BitCount - 1 (any value for a 32-bit field); anything else raises 380 and writes
    // nothing, as node libraries refuse a value their field cannot hold.
    void put_Value(int32_t v);
    std::string get_Name() const { return m_name; }
    std::string get_Description() const { return m_description; }
    // Commits a one-shot command bit written just before (node-bound fields only).
    void Apply();
    int32_t get_BitIndex() const { return m_bitIndex; }
    int32_t get_BitCount() const { return m_bitCount; }
    Dictionary<std::shared_ptr<ValueCaption>>& get_ValueCaptions() { return m_captions; }
    // Adds an active caption for value, keyed by the value's decimal text; replaces the entry of
    // a value that already has one.
    void AddValueCaption(int32_t value, std::string text);

    // The value this field belongs to; nullptr for a free-standing field or a gone value.
    std::shared_ptr<Value> Owner() const { return m_owner.lock(); }
    // Extracts this field's bits from a 32-bit register word.
    uint32_t Extract(uint32_t word) const;
    uint32_t Mask() const;

    Event<const std::shared_ptr<Field>&> UpdateView;

  private:
    friend class Value;
    Field(std::string name, int32_t bitIndex, int32_t bitCount, std::string description);
    std::shared_ptr<Value> boundOwner(const char* op) const;

    std::weak_ptr<Value> m_owner;
    bool m_ofValue = false;
    std::string m_name;
    int32_t m_bitIndex;
    int32_t m_bitCount;
    std::string m_description;
    uint32_t m_bits = 0;  // free-standing fields only
    Dictionary<std::shared_ptr<ValueCaption>> m_captions;
};

}  // namespace arn

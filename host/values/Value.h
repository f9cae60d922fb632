#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Dictionary.h"
#include "core/Event.h"
#include "host/values/Field.h"
#include "host/values/Number.h"
#include "host/values/ValueBackend.h"

namespace arn {

// A node parameter or a free-standing value: a double content, a number part and a units part,
// and a dictionary of named bit fields over the content.
//
// Event contract (the whole project relies on it):
// - A write that changes the content (Number::SetDouble, Field::put_Value, CopyTo into this
//   value, Refresh, Receive) raises ContentChanged, then ValueChanged, then UpdateView on each
//   field whose bits changed, in the order of Fields, synchronously inside that call.
// - A write that leaves the content as it was raises nothing.
// - Refresh re-reads the node and raises the same events only if the node's content differs from
//   the one this object holds. Changes that start in the drive reach the object through Receive,
//   which the node calls between the caller's operations, never inside one.
// - The raiser keeps itself alive for the whole dispatch, so a handler may drop it.
// Reads (GetDouble, Field get_Value) return the content this object holds; they do not go to the
// node, so a value can only look changed after its events were raised.
//
// A node-bound value consults its backend's Check(op) before every operation, which is how a
// node makes chosen calls fail; a free-standing value never fails.
class Value : public std::enable_shared_from_this<Value> {
  public:
    // A free-standing value holding its own content (0).
    static std::shared_ptr<Value> Create();
    // A value bound to a node parameter; its content is read from the backend now.
    static std::shared_ptr<Value> Create(std::shared_ptr<ValueBackend> backend, int32_t paramNumber,
                                         std::string name);

    const Dictionary<std::shared_ptr<arn::Field>>& get_Fields() const;
    // The field named name, or nullptr when the value has no such field.
    std::shared_ptr<arn::Field> Field(std::string_view name) const;
    // Adds a field; raises ArnError 457 when the name is taken and 5 on a bad bit range.
    void DefineField(std::string name, int32_t bitPosition, int32_t bitCount,
                     std::string description);
    // Fills target from this value: content (through target's own write, with its events),
    // Name, FormatStr, ParamNumber, the references and the units text. Fields are not copied:
    // the caller defines the ones it wants. Returns True.
    bool CopyTo(const std::shared_ptr<Value>& target) const;
    std::shared_ptr<Number> get_NumberValue() const;
    std::shared_ptr<Number> get_UnitsInfo() const;
    int32_t get_ParamNumber() const { return m_paramNumber; }
    void put_ParamNumber(int32_t n) { m_paramNumber = n; }
    std::string get_Name() const { return m_name; }
    void put_Name(std::string name) { m_name = std::move(name); }
    std::string get_FormatStr() const { return m_formatStr; }
    void put_FormatStr(std::string format) { m_formatStr = std::move(format); }
    // Re-reads the node (nothing to do for a free-standing value).
    void Refresh();

    // --- for node libraries and tests ---
    // Takes a content that changed in the drive, raising the change events if it differs.
    void Receive(double content);
    // The content held, without going to the node or its fault checks.
    double Content() const { return m_content; }
    // The content as a 32-bit register word (rounded, two's complement).
    uint32_t Word() const;
    // Any content as a register word the way Word() reads it: 0 for what no word can hold.
    static uint32_t WordOf(double content);

    Event<const std::shared_ptr<Value>&> ContentChanged;
    Event<const std::shared_ptr<Value>&> ValueChanged;

  private:
    friend class Number;
    friend class arn::Field;

    Value() = default;
    void init();
    void check(std::string_view op) const;
    // The write path shared by numbers and fields: sends content to the node (if bound), takes
    // the node's answer and raises the events.
    void store(double content);
    // Adopts content and raises the events when it differs from the held one.
    void update(double content);

    std::shared_ptr<ValueBackend> m_backend;
    double m_content = 0.0;
    int32_t m_paramNumber = 0;
    std::string m_name;
    std::string m_formatStr;
    std::shared_ptr<Number> m_number;
    std::shared_ptr<Number> m_units;
    Dictionary<std::shared_ptr<arn::Field>> m_fields;
};

}  // namespace arn

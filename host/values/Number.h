#pragma once

#include <memory>
#include <string>

namespace arn {

class Value;

// The number part (NumberValue) or the units part (UnitsInfo) of a value. Both read and write
// the owning value's content; the references are plain settings that scale its display. A
// number does not keep its value alive: once the value is gone, every content call raises
// ArnError 91.
class Number {
  public:
    enum class Kind { Content, Units };

    Number(std::weak_ptr<Value> owner, Kind kind) : m_owner(std::move(owner)), m_kind(kind) {}

    Kind kind() const { return m_kind; }

    // The value's content as last read from or written to its node.
    double GetDouble() const;
    // Writes through the value: a node-bound value sends it to the node and takes the node's
    // answer; the value's change events follow, inside this call, when the content changed.
    void SetDouble(double v);

    double get_SpeedReference() const { return m_speedReference; }
    void put_SpeedReference(double v) { m_speedReference = v; }
    double get_AccelReference() const { return m_accelReference; }
    void put_AccelReference(double v) { m_accelReference = v; }
    double get_UnitsReference() const { return m_unitsReference; }
    void put_UnitsReference(double v) { m_unitsReference = v; }

    // quantity := the value's Name; units := the units name (from the node for a node-bound
    // value, else the text given to put_UnitsText).
    void GetUnitsText(std::string& quantity, std::string& units) const;
    void put_UnitsText(std::string units) { m_unitsText = std::move(units); }
    // The text given to put_UnitsText (what a free-standing value reports as its units).
    std::string get_UnitsText() const { return m_unitsText; }

  private:
    std::shared_ptr<Value> owner() const;

    std::weak_ptr<Value> m_owner;
    Kind m_kind;
    double m_speedReference = 1.0;
    double m_accelReference = 1.0;
    double m_unitsReference = 1.0;
    std::string m_unitsText;
};

}  // namespace arn

#pragma once

#include <cstdint>
#include <memory>

namespace arn {

class Field;
class Value;
class PanelControls;
struct NodeBinding;

// The panel's position table: its layout by operational mode, the units caption, and the
// per-position warnings against the homing setup. It owns the number of positions shown, the
// result of the last warning pass and the flag that asks the tick for the next one; the
// controls and the bound fields it reads belong to the panel.
class PositionTable {
  public:
    // binding is the panel's current binding object, which release replaces.
    PositionTable(PanelControls& ctl, const std::unique_ptr<NodeBinding>& binding);
    PositionTable(const PositionTable&) = delete;
    PositionTable& operator=(const PositionTable&) = delete;

    // Handlers of the operational mode and the units.
    void m_opModeFld_UpdateView(const std::shared_ptr<Field>& obj);
    void m_units_ValueChanged(const std::shared_ptr<Value>& newVal);

    // Runs the warning pass; the tick calls it once when checks are due.
    void UpdatePositionWarnings();
    // The value of position index + 1; error 9 outside the table, 91 where it is not bound.
    double PositionOf(int32_t index) const;

    void FlagPosnChecks() { m_posnChecksDue = true; }
    bool PosnChecksDue() const { return m_posnChecksDue; }
    void ClearPosnChecks() { m_posnChecksDue = false; }

    // Positions shown and bound: four in the four-position mode, else two; set by binding.
    int16_t NumPosns() const { return m_numPosns; }
    void SetNumPosns(int16_t count) { m_numPosns = count; }
    // True when the last pass showed a warning on some position.
    bool BadPosn() const { return m_badPosn; }

  private:
    PanelControls& m_ctl;
    const std::unique_ptr<NodeBinding>& m_binding;

    int16_t m_numPosns = 0;
    bool m_posnChecksDue = false;
    bool m_badPosn = false;
};

}  // namespace arn

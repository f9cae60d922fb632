#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace arn {

// One entry of a field's ValueCaptions dictionary: the text shown for one value of the field.
// Inactive entries are kept but not offered.
class ValueCaption {
  public:
    static std::shared_ptr<ValueCaption> Create(int32_t value, std::string text,
                                                bool active = true);

    // The process-wide default object of this type, created (active, value 0, empty text) on the
    // first call; every later call returns the same object.
    static std::shared_ptr<ValueCaption> Default();

    bool get_Active() const { return m_active; }
    void put_Active(bool active) { m_active = active; }
    int32_t get_CaptionValue() const { return m_value; }
    void put_CaptionValue(int32_t value) { m_value = value; }
    std::string get_CaptionText() const { return m_text; }
    void put_CaptionText(std::string text) { m_text = std::move(text); }

  private:
    ValueCaption(int32_t value, std::string text, bool active)
        : m_active(active), m_value(value), m_text(std::move(text)) {}

    bool m_active;
    int32_t m_value;
    std::string m_text;
};

}  // namespace arn

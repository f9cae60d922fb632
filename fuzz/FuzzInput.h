#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace arn::fuzz {

// Reads a fuzz input as a sequence of choices: small numbers, texts and raw doubles taken from
// the front of the bytes. An exhausted input reads as zeros and empty texts, so that every
// input, however short, describes one complete case.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_at >= m_size; }

    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    // A number in 0 .. count - 1 (count > 0).
    size_t Pick(size_t count) { return Byte() % count; }
    bool Flag() { return (Byte() & 1) != 0; }

    // The next sizeof(Int) bytes, most significant first.
    template <class Int>
    Int Number() {
        uint64_t v = 0;
        for (size_t i = 0; i < sizeof(Int); ++i) {
            v = v << 8 | Byte();
        }
        return static_cast<Int>(v);
    }
    int32_t Int32() { return Number<int32_t>(); }
    int64_t Int64() { return Number<int64_t>(); }
    // Any bit pattern: NaNs, infinities and subnormals included.
    double Double() {
        const uint64_t bits = static_cast<uint64_t>(Int64());
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

    // A text of a length given by the next byte (at most maxLength), cut short by the input.
    std::string Text(size_t maxLength = 64) {
        const size_t length = Pick(maxLength + 1);
        std::string text;
        while (text.size() < length && !Empty()) {
            text.push_back(static_cast<char>(Byte()));
        }
        return text;
    }
    // Whatever is left.
    std::string Rest() {
        std::string text(reinterpret_cast<const char*>(m_data + m_at), m_size - m_at);
        m_at = m_size;
        return text;
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

}  // namespace arn::fuzz

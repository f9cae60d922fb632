#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace arn {

class ArnError;

// The lines of registry text that other registry tools write and this format does not know,
// each with what the load will do with it, so that an import never drops what such a file
// meant without a word. The lines are default values (@=...), typed values ("name"=dword:...,
// "name"=hex:..., "name"=hex(n):...), value deletions ("name"=-) and key deletions ([-KEY]).
// What the load does is one of three: it refuses the line with the error it raises, stores the
// text that its value rule cuts out as a string, or skips the line.
//
// The text is read as a fresh CRegistry loads it: lines numbered from 0 (the signature), line 1
// never read, a key open only after a section header with a known root, and the first refused
// line ending the load, so that nothing is said about the lines after it. A text the load
// refuses as a whole (too short, no signature) has no warnings. Refusals that only the registry
// can decide, such as a key that opens read-only, are not foreseen.
class ForeignLines {
  public:
    struct Warning {
        size_t line;  // numbered as the load's error messages number lines
        std::string text;
        bool operator==(const Warning&) const = default;
    };

    // `image` is the text as the load receives it: decoded, with CR LF line ends.
    explicit ForeignLines(std::string_view image);

    const std::vector<Warning>& Warnings() const { return m_warnings; }

  private:
    // Each reader returns false when the load refuses the line and so ends there.
    bool ReadSection(size_t number, std::string_view line);
    bool ReadValue(const std::vector<std::string_view>& lines, size_t& number);
    bool Refuse(size_t number, const std::string& label, const ArnError& error);
    void Warn(size_t number, std::string text);

    std::vector<Warning> m_warnings;
    bool m_keyOpen = false;  // whether the load has a key open to store values in
};

}  // namespace arn

#include "app/arnreg/ForeignLines.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/arnreg/RegistryRoots.h"
#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "support/Format.h"

namespace arn {

namespace {

constexpr std::string_view kSignature = "Windows Registry Editor Version 5.00";
constexpr const char* kLoadSource = "CRegistry::LoadRegistry";
// A stored text longer than this is shown by its start and its length: a hex value can run to
// thousands of characters.
constexpr size_t kShownLength = 60;

enum class Kind { Known, DefaultValue, TypedValue, ValueDeletion, KeyDeletion };

// A line as the tool that wrote it meant it.
struct Reading {
    Kind kind = Kind::Known;
    std::string label;  // how the warning names the line; empty for lines of this format
    std::string name;   // of a value, as its writer spelled it
};

Reading ReadAsWritten(std::string_view line) {
    if (line.starts_with("@=")) {
        return {Kind::DefaultValue, "default value (@=)", ""};
    }
    if (line.starts_with("[-")) {
        return {Kind::KeyDeletion, "key deletion " + std::string(line), ""};
    }
    if (!line.starts_with('"')) {
        return {};
    }
    // Other tools end a value's name with the quote right before "=".
    const size_t end = line.find("\"=", 1);
    if (end == std::string_view::npos) {
        return {};
    }
    std::string name(line.substr(1, end - 1));
    const std::string_view data = line.substr(end + 2);
    if (data == "-") {
        return {Kind::ValueDeletion, "deletion of value \"" + name + "\"", name};
    }
    if (data.starts_with("dword:") || data.starts_with("hex:") || data.starts_with("hex(")) {
        const std::string type(data.substr(0, data.find(':')));
        return {Kind::TypedValue, type + " value \"" + name + "\"", name};
    }
    return {};
}

std::string LineError(const char* what, size_t number, std::string_view line) {
    return std::string(what) + " " + " Line " + std::to_string(number) + "=>'" + std::string(line) +
           "'";
}

// An error as the import's failure message writes it, so that the two read alike.
std::string ErrorText(const ArnError& error) {
    char number[16];
    if (error.number() >= 0) {
        std::snprintf(number, sizeof number, "%d", error.number());
    } else {
        std::snprintf(number, sizeof number, "0x%08X", static_cast<unsigned>(error.number()));
    }
    return "error " + std::string(number) + " from " + error.source() + ": " + error.description();
}

// The load turns every "\\" of a value into "\", pairs taken from the left.
std::string Unescaped(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        text += value[i];
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '\\') {
            ++i;
        }
    }
    return text;
}

std::string Quoted(const std::string& text) {
    if (text.size() <= kShownLength) {
        return "\"" + text + "\"";
    }
    // Cut before a character, never inside one of several bytes.
    size_t cut = kShownLength;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return "\"" + text.substr(0, cut) + "...\" (" + std::to_string(text.size()) + " bytes)";
}

// The lines that other tools wrap a long hex value onto start with blanks.
bool IsContinuation(std::string_view line) {
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

}  // namespace

ForeignLines::ForeignLines(std::string_view image) {
    const std::vector<std::string_view> lines = SplitAtCrLf(image);
    if (lines.size() < 3 || lines[0] != kSignature) {
        return;
    }
    if (const Reading written = ReadAsWritten(lines[1]); written.kind != Kind::Known) {
        Warn(1, written.label + " ignored: the line after the signature is never read");
    }
    for (size_t number = 2; number < lines.size(); ++number) {
        const std::string_view line = lines[number];
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            if (!ReadSection(number, line)) {
                return;
            }
        } else if (line.front() == '"') {
            if (!ReadValue(lines, number)) {
                return;
            }
        } else if (const Reading written = ReadAsWritten(line); written.kind != Kind::Known) {
            Warn(number, written.label +
                             " ignored: the load reads values only from lines that start with "
                             "a double quote");
        }
    }
}

bool ForeignLines::ReadSection(size_t number, std::string_view line) {
    const Reading written = ReadAsWritten(line);
    if (line.size() < 2) {
        return false;  // the load cannot cut a header out of "[" alone
    }
    const std::string_view inner = line.substr(1, line.size() - 2);
    const size_t cut = inner.find('\\');
    if (cut == std::string_view::npos || cut < 2) {
        return Refuse(
            number, written.label,
            ArnError(vbObjectError + 6, kLoadSource,
                     LineError("Format Error: registry section formatting.", number, line)));
    }
    // A root the load does not know falls back to the loading object's own, which a fresh
    // object does not have: the header then leaves no key open.
    const std::string_view root = inner.substr(0, cut);
    m_keyOpen = std::any_of(kRegistryRoots.begin(), kRegistryRoots.end(),
                            [&](const RegistryRoot& r) { return r.name == root; });
    if (written.kind == Kind::KeyDeletion) {
        Warn(number, written.label + " ignored: nothing is deleted, and no key is open after it" +
                         " (its root \"" + std::string(root) +
                         "\" is unknown) until the next section header");
    }
    return true;
}

bool ForeignLines::ReadValue(const std::vector<std::string_view>& lines, size_t& number) {
    const std::string_view line = lines[number];
    const Reading written = ReadAsWritten(line);
    const size_t equal = line.find('=');
    if (equal == std::string_view::npos || equal < 3) {
        return Refuse(number, written.label,
                      ArnError(vbObjectError + 5, kLoadSource,
                               LineError("Format Error: no equal signs.", number, line)));
    }
    // The value runs from two after "=" to the next-to-last character, which "name"=- lacks.
    if (line.size() < equal + 3) {
        return Refuse(number, written.label,
                      MakeError(err::InvalidProcedureCall, "ArnAbsPosn.cRegistry"));
    }
    if (!m_keyOpen) {
        return Refuse(
            number, written.label,
            ArnError(vbObjectError + 2, "CRegistry:WriteValue", "No key is currently open."));
    }
    if (written.kind == Kind::Known) {
        return true;
    }
    const std::string name(line.substr(1, equal - 2));
    const std::string value = Unescaped(line.substr(equal + 2, line.size() - equal - 3));
    std::string text = written.label + " stored as the string " + Quoted(value);
    if (name != written.name) {
        text += " named \"" + name + "\"";
    }
    const size_t first = number + 1;
    while (written.kind == Kind::TypedValue && lines[number].ends_with('\\') &&
           number + 1 < lines.size() && IsContinuation(lines[number + 1])) {
        ++number;
    }
    if (number == first) {
        text += "; its continuation line " + std::to_string(first) + " is ignored";
    } else if (number > first) {
        text += "; its continuation lines " + std::to_string(first) + " to " +
                std::to_string(number) + " are ignored";
    }
    Warn(first - 1, std::move(text));
    return true;
}

bool ForeignLines::Refuse(size_t number, const std::string& label, const ArnError& error) {
    if (!label.empty()) {
        Warn(number, label + " ends the load: refused with " + ErrorText(error));
    }
    return false;
}

void ForeignLines::Warn(size_t number, std::string text) {
    m_warnings.push_back(Warning{number, std::move(text)});
}

}  // namespace arn

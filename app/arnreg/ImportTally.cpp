#include "app/arnreg/ImportTally.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "app/arnreg/KeyReader.h"
#include "app/arnreg/RegistryRoots.h"
#include "support/Format.h"

namespace arn {

namespace {

constexpr std::string_view kSignature = "Windows Registry Editor Version 5.00";
constexpr size_t kFirstReadLine = 2;  // line 1 is never read
constexpr size_t kFewestLines = 3;

// The path as OpenKey uses it: one leading "\" dropped, "/" read as "\".
std::string NormalPath(std::string_view path) {
    std::string normal(path.starts_with('\\') ? path.substr(1) : path);
    std::replace(normal.begin(), normal.end(), '/', '\\');
    return normal;
}

}  // namespace

ImportTally::ImportTally(std::string_view image) {
    const std::vector<std::string_view> lines = SplitAtCrLf(image);
    m_after.assign(lines.size(), Count{});
    if (lines.size() < kFewestLines || lines[0] != kSignature) {
        m_refusal = 0;
        return;
    }
    Count count;
    for (size_t number = kFirstReadLine; number < lines.size(); ++number) {
        const std::string_view line = lines[number];
        const bool read = line.starts_with('[')   ? ReadSection(number, line)
                          : line.starts_with('"') ? ReadValue(line)
                                                  : true;
        if (!read) {
            m_refusal = number;
            m_after.resize(number);
            return;
        }
        count.keys = m_keys.size();
        count.values += line.starts_with('"') ? 1 : 0;
        m_after[number] = count;
    }
}

ImportTally::Count ImportTally::Before(size_t line) const {
    if (line <= kFirstReadLine || m_after.empty()) {
        return Count{};
    }
    return m_after[std::min(line, m_after.size()) - 1];
}

ImportTally::Count ImportTally::Total() const {
    return Before(m_after.size());
}

std::optional<size_t> ImportTally::LineOfError(std::string_view description) {
    constexpr std::string_view kMark = " Line ";
    const size_t at = description.rfind(kMark);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const char* first = description.data() + at + kMark.size();
    size_t line = 0;
    const auto [end, ec] = std::from_chars(first, description.data() + description.size(), line);
    if (ec != std::errc() || !std::string_view(end).starts_with("=>")) {
        return std::nullopt;
    }
    return line;
}

bool ImportTally::ReadSection(size_t number, std::string_view line) {
    if (line.size() < 2) {
        return false;
    }
    const std::string_view inner = line.substr(1, line.size() - 2);
    const size_t cut = inner.find('\\');
    if (cut == std::string_view::npos || cut < 2) {
        return false;
    }
    const std::string_view root = inner.substr(0, cut);
    const auto known = std::find_if(kRegistryRoots.begin(), kRegistryRoots.end(),
                                    [&](const RegistryRoot& r) { return r.name == root; });
    m_keyOpen = known != kRegistryRoots.end();
    m_keyReadOnly = false;
    if (!m_keyOpen) {
        const std::string upper = UpperAscii(root);
        for (const RegistryRoot& r : kRegistryRoots) {
            if (upper == r.shortName || upper == r.name) {
                m_shortRoots.push_back(ShortRoot{number, std::string(root), std::string(r.name)});
            }
        }
        return true;
    }
    const std::string path = NormalPath(inner.substr(cut + 1));
    const auto entry = std::make_pair(known->handle, UpperAscii(path));
    // The load opens a key under this root read-only when it is there already, from before the
    // load or from an earlier header of the same text.
    m_keyReadOnly = known->handle == HKEY_LOCAL_MACHINE &&
                    (m_keys.contains(entry) || KeyReader(known->handle, path).IsOpen());
    m_keys.insert(entry);
    return true;
}

bool ImportTally::ReadValue(std::string_view line) {
    const size_t equal = line.find('=');
    if (equal == std::string_view::npos || equal < 3) {
        return false;
    }
    // The value runs from two after "=" to the next-to-last character.
    if (line.size() < equal + 3) {
        return false;
    }
    return m_keyOpen && !m_keyReadOnly;
}

}  // namespace arn

#include "app/arnreg/ExportLosses.h"

#include "app/arnreg/KeyReader.h"

namespace arn {

namespace {

// Types the registry functions know beyond the library's few.
constexpr DWORD kRegDwordBigEndian = 5;
constexpr DWORD kRegLink = 6;
constexpr DWORD kRegResourceList = 8;

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

ExportLosses::ExportLosses(HKEY root, const std::string& rootName, const std::string& path) {
    Read(root, rootName, path);
}

std::string ExportLosses::TypeName(DWORD type) {
    switch (type) {
        case REG_NONE:
            return "REG_NONE";
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_DWORD:
            return "REG_DWORD";
        case kRegDwordBigEndian:
            return "REG_DWORD_BIG_ENDIAN";
        case kRegLink:
            return "REG_LINK";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        case kRegResourceList:
            return "REG_RESOURCE_LIST";
        case REG_QWORD:
            return "REG_QWORD";
        default:
            return "type " + std::to_string(type);
    }
}

void ExportLosses::Read(HKEY root, const std::string& rootName, const std::string& path) {
    const KeyReader reader(root, path);
    const std::string key = rootName + "\\" + path;
    for (const KeyReader::Entry& value : reader.Values()) {
        const auto lose = [&](std::string problem) {
            m_losses.push_back(Loss{key, value.name, std::move(problem)});
        };
        if (value.type != REG_SZ) {
            lose("is " + TypeName(value.type) +
                 "; the text keeps the raw text of its bytes, which loads back as a string");
        }
        if (value.name.empty()) {
            lose("is the default value; a line with an empty name does not load back");
        } else if (value.name.find('=') != std::string::npos) {
            lose(
                "has \"=\" in its name; the load takes its first \"=\" for the one after the "
                "name");
        }
        if (HasLineBreak(value.name) || (value.type == REG_SZ && HasLineBreak(value.data))) {
            lose("holds a line break; the load reads each line apart");
        }
    }
    for (const std::string& subkey : reader.Subkeys()) {
        Read(root, rootName, path.empty() ? subkey : path + "\\" + subkey);
    }
}

}  // namespace arn

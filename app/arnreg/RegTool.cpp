#include "app/arnreg/RegTool.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "app/arnreg/DatabaseLocation.h"
#include "app/arnreg/ForeignLines.h"
#include "app/arnreg/RegFileText.h"
#include "core/ArnError.h"
#include "platform/registry/RegistryApi.h"
#include "support/CRegistry.h"

namespace arn {

namespace {

struct RootAlias {
    const char* name;
    const char* shortName;
    HKEY handle;
};

constexpr std::array<RootAlias, 7> kRoots = {{
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", "HKPD", HKEY_PERFORMANCE_DATA},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", "HKDD", HKEY_DYN_DATA},
}};

constexpr const char* kHelp = R"(Usage: arnreg [--db FILE] COMMAND [ARGUMENTS]

Reads and writes the registry database that the ArnAbsPosn library uses.

Commands:
  export KEY [FILE]           write KEY and all its subkeys as registry text to FILE,
                              or to standard output without FILE
  import FILE                 load a registry text file ("-" reads standard input);
                              UTF-16 files with a byte-order mark and UTF-8 or ANSI
                              text are accepted. Each line of other registry tools
                              that this format does not know (@=, dword:, hex:,
                              [-KEY], "NAME"=-) is warned of first, with what the
                              load does with it: refuses it, stores it as a string,
                              or ignores it
  get KEY [NAME]              print the value NAME of KEY (the default value without NAME)
  set [--dword] KEY NAME VALUE
                              store VALUE as a string (or, with --dword, as a 32-bit
                              number), creating KEY when missing
  delete KEY [NAME]           delete the value NAME, or without NAME the key KEY with all
                              its subkeys
  list KEY                    list the subkeys (ending in "\") and values of KEY

Keys under HKEY_LOCAL_MACHINE open read-only once they exist, as the library opens them:
values can be added to such a key only while it is being created.

KEY is a root key and a path, e.g. HKEY_CURRENT_USER\Software\Example; the roots may
be shortened to HKCR, HKCU, HKLM, HKU, HKCC, and "/" may stand for "\".

Options:
  --db FILE                   use FILE as the registry database
  -q, --quiet                 leave out import's warnings
  -h, --help                  show this text

The database is FILE from --db, else $ARN_REGISTRY_DB, else
$XDG_DATA_HOME/arnabsposn/registry.db, else ~/.local/share/arnabsposn/registry.db.
A new database is readable by its owner only (mode 0600), as are the folders made
for it (0700). On Windows arnreg works on the system's registry and takes no --db.

Exit status: 0 on success, 1 when the registry or a file refused the request,
2 when the command line is wrong.
)";

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return text;
}

// An automation error number reads best in hex, a plain one in decimal.
std::string ErrorNumberText(int32_t number) {
    if (number >= 0) {
        return std::to_string(number);
    }
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << static_cast<uint32_t>(number);
    return text.str();
}

std::optional<int32_t> ParseDword(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    if (hex) {
        uint32_t value = 0;
        const auto [end, ec] = std::from_chars(first, last, value, 16);
        if (ec != std::errc() || end != last) {
            return std::nullopt;
        }
        return static_cast<int32_t>(value);
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc() || end != last || value < INT32_MIN || value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value & 0xFFFFFFFF));
}

// A value as list and get show it: strings as their text, DWORDs as signed decimal numbers,
// anything else as hex bytes.
std::string ShowValue(DWORD type, const std::string& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        return !data.empty() && data.back() == '\0' ? data.substr(0, data.size() - 1) : data;
    }
    if (type == REG_DWORD && data.size() == 4) {
        uint32_t bits = 0;
        for (int i = 3; i >= 0; --i) {
            bits = bits << 8 | static_cast<uint8_t>(data[static_cast<size_t>(i)]);
        }
        return std::to_string(static_cast<int32_t>(bits));
    }
    std::ostringstream text;
    text << "hex(" << type << "):";
    for (size_t i = 0; i < data.size(); ++i) {
        text << (i == 0 ? "" : ",") << std::hex;
        text.width(2);
        text.fill('0');
        text << static_cast<unsigned>(static_cast<uint8_t>(data[i]));
    }
    return text.str();
}

std::optional<std::string> ReadFile(const std::string& file, std::string& problem) {
    if (file == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        problem = std::strerror(errno);
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        problem = "read error";
        return std::nullopt;
    }
    return bytes;
}

// A handle opened for reading, closed on scope exit.
class ReadHandle {
  public:
    ReadHandle(int32_t root, const std::string& path) {
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &m_handle) != ERROR_SUCCESS) {
            m_handle = 0;
        }
    }
    ~ReadHandle() {
        if (m_handle != 0) {
            RegCloseKey(m_handle);
        }
    }
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;
    HKEY get() const { return m_handle; }

  private:
    HKEY m_handle = 0;
};

LONG QueryValue(HKEY handle, const std::string& name, DWORD& type, std::string& data) {
    DWORD size = 0;
    LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    data.assign(size, '\0');
    rc = RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                          reinterpret_cast<uint8_t*>(data.data()), &size);
    data.resize(size);
    return rc;
}

}  // namespace

int RegTool::Run(const std::vector<std::string>& args) {
    std::vector<std::string> rest;
    std::optional<std::string> database;
    bool dword = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            PrintHelp(m_out);
            return kExitOk;
        }
        if (arg == "--db") {
            if (i + 1 == args.size()) {
                return Usage("--db needs a file name");
            }
            database = args[++i];
        } else if (arg == "--dword") {
            dword = true;
        } else if (arg == "-q" || arg == "--quiet") {
            m_quiet = true;
        } else if (arg == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9')) {
            return Usage("unknown option '" + arg + "'");
        } else {
            rest.push_back(arg);
        }
    }
    if (rest.empty()) {
        return Usage("no command given");
    }
    const std::string command = rest[0];
    const size_t count = rest.size() - 1;
    const auto arity = [&](size_t least, size_t most) { return count >= least && count <= most; };
    const bool known = (command == "export" && arity(1, 2)) ||
                       (command == "import" && arity(1, 1)) || (command == "get" && arity(1, 2)) ||
                       (command == "set" && arity(3, 3)) || (command == "delete" && arity(1, 2)) ||
                       (command == "list" && arity(1, 1));
    if (!known) {
        const bool isCommand = command == "export" || command == "import" || command == "get" ||
                               command == "set" || command == "delete" || command == "list";
        return Usage(isCommand ? "wrong number of arguments for '" + command + "'"
                               : "unknown command '" + command + "'");
    }
    if (dword && command != "set") {
        return Usage("--dword applies to 'set' only");
    }
    std::optional<KeyName> key;
    if (command != "import") {
        key = ParseKey(rest[1]);
        if (!key) {
            return Usage("'" + rest[1] +
                         "' does not start with a root key such as HKEY_CURRENT_USER");
        }
    }

    // Where the registry is the system's own (Windows) there is no database to choose.
    if (!RegistryHasStores() && database) {
        return Usage("--db applies only where the registry is a database file");
    }
    try {
        if (RegistryHasStores()) {
            const DatabaseLocation location(database);
            location.CreateFolders();
            RegistryUseDatabase(location.Path().string());
        }
    } catch (const std::exception& e) {
        m_err << "arnreg: " << e.what() << "\n";
        return kExitFailure;
    }

    try {
        if (command == "export") {
            return Export(*key, count == 2 ? std::optional(rest[2]) : std::nullopt);
        }
        if (command == "import") {
            return Import(rest[1]);
        }
        if (command == "get") {
            return Get(*key, count == 2 ? rest[2] : std::string());
        }
        if (command == "set") {
            return Set(*key, rest[2], rest[3], dword);
        }
        if (command == "delete") {
            return Delete(*key, count == 2 ? std::optional(rest[2]) : std::nullopt);
        }
        return List(*key);
    } catch (const std::exception& e) {
        return Failed(command, e);
    }
}

std::optional<RegTool::KeyName> RegTool::ParseKey(const std::string& text) {
    m_keyText = text;
    const size_t cut = text.find_first_of("\\/");
    const std::string root = Upper(text.substr(0, cut));
    for (const RootAlias& alias : kRoots) {
        if (root == alias.name || root == alias.shortName) {
            KeyName key;
            key.root = alias.handle;
            key.path = cut == std::string::npos ? std::string() : text.substr(cut + 1);
            std::replace(key.path.begin(), key.path.end(), '/', '\\');
            return key;
        }
    }
    return std::nullopt;
}

bool RegTool::KeyExists(const KeyName& key) {
    return ReadHandle(key.root, key.path).get() != 0;
}

int RegTool::Export(const KeyName& key, const std::optional<std::string>& file) {
    if (!KeyExists(key)) {
        return NoSuchKey(m_keyText);
    }
    CRegistry registry;
    std::string path = key.path;
    registry.OpenKey(key.root, path);
    const std::string text = registry.SaveRegistry();
    if (!file) {
        m_out << text;
        m_out.flush();
        return kExitOk;
    }
    std::ofstream outFile(*file, std::ios::binary | std::ios::trunc);
    if (outFile) {
        outFile << text;
        outFile.close();
    }
    if (!outFile) {
        m_err << "arnreg: cannot write '" << *file << "': " << std::strerror(errno) << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

int RegTool::Import(const std::string& file) {
    std::string problem;
    const std::optional<std::string> bytes = ReadFile(file, problem);
    if (!bytes) {
        m_err << "arnreg: cannot read '" << file << "': " << problem << "\n";
        return kExitFailure;
    }
    return ImportBytes(*bytes);
}

int RegTool::ImportBytes(const std::string& bytes) {
    const std::string image = DecodeRegistryFile(bytes);
    // The warnings come before the load, so that they stand before any error it raises. Lines
    // are numbered as the load's errors number them, from 0 for the signature.
    if (!m_quiet) {
        const ForeignLines foreign(image);
        for (const ForeignLines::Warning& warning : foreign.Warnings()) {
            m_err << "arnreg: warning: line " << warning.line << ": " << warning.text << "\n";
        }
    }
    CRegistry registry;
    registry.LoadRegistry(image);
    return kExitOk;
}

int RegTool::Get(const KeyName& key, const std::string& name) {
    const ReadHandle handle(key.root, key.path);
    if (handle.get() == 0) {
        return NoSuchKey(m_keyText);
    }
    DWORD type = 0;
    std::string data;
    const LONG rc = QueryValue(handle.get(), name, type, data);
    if (rc == ERROR_FILE_NOT_FOUND) {
        m_err << "arnreg: no value '" << name << "' in " << m_keyText << "\n";
        return kExitFailure;
    }
    if (rc != ERROR_SUCCESS) {
        m_err << "arnreg: cannot read '" << name << "' in " << m_keyText << ": error " << rc
              << "\n";
        return kExitFailure;
    }
    m_out << ShowValue(type, data) << "\n";
    return kExitOk;
}

int RegTool::Set(const KeyName& key, const std::string& name, const std::string& value,
                 bool dword) {
    std::optional<int32_t> number;
    if (dword) {
        number = ParseDword(value);
        if (!number) {
            return Usage("'" + value + "' is not a 32-bit number (decimal or 0x hex)");
        }
    }
    CRegistry registry;
    std::string path = key.path;
    registry.OpenKey(key.root, path, true);
    if (!KeyExists(key)) {
        m_err << "arnreg: cannot create key " << m_keyText << "\n";
        return kExitFailure;
    }
    try {
        if (number) {
            registry.WriteDWORD(name, *number);
        } else {
            registry.WriteValue(name, value);
        }
    } catch (const ArnError& e) {
        Failed("set", e);
        ReadOnlyHint(key);
        return kExitFailure;
    }
    return kExitOk;
}

int RegTool::Delete(const KeyName& key, const std::optional<std::string>& name) {
    if (!KeyExists(key)) {
        return NoSuchKey(m_keyText);
    }
    if (name) {
        DWORD type = 0;
        std::string data;
        if (QueryValue(ReadHandle(key.root, key.path).get(), *name, type, data) ==
            ERROR_FILE_NOT_FOUND) {
            m_err << "arnreg: no value '" << *name << "' in " << m_keyText << "\n";
            return kExitFailure;
        }
        CRegistry registry;
        std::string path = key.path;
        registry.OpenKey(key.root, path);
        try {
            registry.DeleteValue(*name);
        } catch (const ArnError& e) {
            Failed("delete", e);
            ReadOnlyHint(key);
            return kExitFailure;
        }
        return kExitOk;
    }
    if (key.path.empty()) {
        m_err << "arnreg: a root key cannot be deleted\n";
        return kExitFailure;
    }
    RegDeleteTreeA(key.root, key.path.c_str());
    if (KeyExists(key)) {
        m_err << "arnreg: could not delete " << m_keyText
              << " (another process may be adding subkeys)\n";
        return kExitFailure;
    }
    return kExitOk;
}

int RegTool::List(const KeyName& key) {
    const ReadHandle handle(key.root, key.path);
    if (handle.get() == 0) {
        return NoSuchKey(m_keyText);
    }
    DWORD maxSubKey = 0;
    DWORD maxValueName = 0;
    DWORD maxValue = 0;
    RegQueryInfoKeyA(handle.get(), nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr,
                     &maxValueName, &maxValue, nullptr, nullptr);
    std::string name(std::max(maxSubKey, maxValueName) + 1, '\0');
    for (DWORD i = 0;; ++i) {
        if (RegEnumKeyA(handle.get(), i, name.data(), static_cast<DWORD>(name.size())) !=
            ERROR_SUCCESS) {
            break;
        }
        m_out << name.c_str() << "\\\n";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        std::string data(maxValue, '\0');
        DWORD size = maxValue;
        DWORD type = 0;
        if (RegEnumValueA(handle.get(), i, name.data(), &nameLength, nullptr, &type,
                          reinterpret_cast<uint8_t*>(data.data()), &size) != ERROR_SUCCESS) {
            break;
        }
        data.resize(size);
        const std::string shown = nameLength == 0 ? "(Default)" : name.substr(0, nameLength);
        m_out << shown << " = " << ShowValue(type, data) << (type == REG_DWORD ? "  (DWORD)" : "")
              << "\n";
    }
    return kExitOk;
}

int RegTool::NoSuchKey(const std::string& text) {
    m_err << "arnreg: no such key: " << text << "\n";
    return kExitFailure;
}

int RegTool::Usage(const std::string& problem) {
    m_err << "arnreg: " << problem << "\n\n";
    PrintHelp(m_err);
    return kExitUsage;
}

int RegTool::Failed(const std::string& command, const std::exception& e) {
    m_err << "arnreg: " << command << " failed: ";
    if (const auto* error = dynamic_cast<const ArnError*>(&e)) {
        m_err << "error " << ErrorNumberText(error->number()) << " from " << error->source() << ": "
              << error->description() << "\n";
    } else {
        m_err << e.what() << "\n";
    }
    return kExitFailure;
}

void RegTool::ReadOnlyHint(const KeyName& key) {
    if (key.root == HKEY_LOCAL_MACHINE) {
        m_err << "arnreg: keys under HKEY_LOCAL_MACHINE open read-only once they exist\n";
    }
}

void RegTool::PrintHelp(std::ostream& to) {
    to << kHelp;
}

}  // namespace arn

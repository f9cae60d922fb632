#include "app/arnreg/RegTool.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "app/arnreg/DatabaseLocation.h"
#include "app/arnreg/ExportLosses.h"
#include "app/arnreg/ForeignLines.h"
#include "app/arnreg/ImportTally.h"
#include "app/arnreg/KeyReader.h"
#include "app/arnreg/RegFileText.h"
#include "app/arnreg/RegToolHelp.h"
#include "app/arnreg/RegistryRoots.h"
#include "app/arnreg/ValueText.h"
#include "core/ArnError.h"
#include "platform/registry/RegistryApi.h"
#include "platform/registry/RegistryBatch.h"
#include "support/CRegistry.h"

namespace arn {

namespace {

// "1 key", "2 keys".
std::string Counted(size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
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
        } else if (arg == "--allow-lossy") {
            m_allowLossy = true;
        } else if (arg == "--check" || arg == "--atomic") {
            const LoadMode mode = arg == "--check" ? LoadMode::Check : LoadMode::Atomic;
            if (m_loadMode != LoadMode::Plain && m_loadMode != mode) {
                return Usage("--check and --atomic do not go together");
            }
            m_loadMode = mode;
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
    if (m_allowLossy && command != "export") {
        return Usage("--allow-lossy applies to 'export' only");
    }
    if (m_loadMode != LoadMode::Plain && command != "import") {
        return Usage(std::string(m_loadMode == LoadMode::Check ? "--check" : "--atomic") +
                     " applies to 'import' only");
    }
    // Taking a load back needs a store that rolls back; the system's own registry has none.
    if (m_loadMode != LoadMode::Plain && !RegistryHasStores()) {
        return Usage("--check and --atomic apply only where the registry is a database file");
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
    if (RegistryHasStores() && !UseDatabase(database)) {
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

bool RegTool::UseDatabase(const std::optional<std::string>& given) {
    std::string path;
    try {
        const DatabaseLocation location(given);
        path = location.Path().string();
        std::error_code ignored;
        if (std::filesystem::is_directory(location.Path(), ignored)) {
            m_err << "arnreg: cannot use '" << path
                  << "' as the registry database, since it is a folder\n";
            return false;
        }
        const std::filesystem::path parent = location.Path().parent_path();
        if (!parent.empty() && std::filesystem::exists(parent, ignored) &&
            !std::filesystem::is_directory(parent, ignored)) {
            m_err << "arnreg: cannot use '" << path << "' as the registry database, since '"
                  << parent.string() << "' is not a folder\n";
            return false;
        }
        try {
            location.CreateFolders();
        } catch (const std::filesystem::filesystem_error& e) {
            m_err << "arnreg: cannot make the folder for the registry database '" << path << "' ("
                  << e.code().message() << ")\n";
            return false;
        }
        RegistryUseDatabase(path);
    } catch (const std::exception& e) {
        if (path.empty()) {
            m_err << "arnreg: " << e.what() << "\n";
        } else {
            m_err << "arnreg: cannot use '" << path
                  << "' as the registry database, since it is not one or cannot be opened for "
                     "writing\n";
        }
        return false;
    }
    return true;
}

std::optional<RegTool::KeyName> RegTool::ParseKey(const std::string& text) {
    m_keyText = text;
    const size_t cut = text.find_first_of("\\/");
    const std::string root = UpperAscii(text.substr(0, cut));
    for (const RegistryRoot& alias : kRegistryRoots) {
        if (root == alias.name || root == alias.shortName) {
            KeyName key;
            key.root = alias.handle;
            key.rootName = alias.name;
            key.path = cut == std::string::npos ? std::string() : text.substr(cut + 1);
            std::replace(key.path.begin(), key.path.end(), '/', '\\');
            return key;
        }
    }
    return std::nullopt;
}

bool RegTool::KeyExists(const KeyName& key) {
    return KeyReader(key.root, key.path).IsOpen();
}

int RegTool::Export(const KeyName& key, const std::optional<std::string>& file) {
    if (!KeyExists(key)) {
        return NoSuchKey(m_keyText);
    }
    // The losses are read before the text is made, so that a refused export writes nothing.
    const ExportLosses losses(key.root, key.rootName, key.path);
    for (const ExportLosses::Loss& loss : losses.Losses()) {
        m_err << "arnreg: warning: " << loss.key << ": value \"" << loss.name << "\" "
              << loss.problem << "\n";
    }
    if (!losses.Losses().empty() && !m_allowLossy) {
        m_err << "arnreg: export refused: " << Counted(losses.Losses().size(), "value")
              << " would not load back as " << (losses.Losses().size() == 1 ? "it is" : "they are")
              << "; nothing was written (--allow-lossy writes the text anyway)\n";
        return kExitLossy;
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
    return ImportBytes(*bytes, file == "-" ? "standard input" : "'" + file + "'");
}

int RegTool::ImportBytes(const std::string& bytes, const std::string& source) {
    const std::string image = DecodeRegistryFile(bytes);
    // The warnings come before the load, so that they stand before any error it raises. Lines
    // are numbered as the load's errors number them, from 0 for the signature.
    if (!m_quiet) {
        const ForeignLines foreign(image);
        for (const ForeignLines::Warning& warning : foreign.Warnings()) {
            m_err << "arnreg: warning: line " << warning.line << ": " << warning.text << "\n";
        }
    }
    // Read before the load changes what exists.
    const ImportTally tally(image);
    for (const ImportTally::ShortRoot& root : tally.ShortRoots()) {
        m_err << "arnreg: hint: line " << root.line << ": the root \"" << root.shortName
              << "\" is not known to registry text, which opens no key after it; files need "
                 "the full root names, such as "
              << root.fullName << "\n";
    }
    // Check and atomic loads run inside one store transaction; leaving this scope without
    // Commit drops everything the load wrote.
    std::optional<RegistryBatch> batch;
    if (m_loadMode != LoadMode::Plain) {
        batch.emplace();
    }
    try {
        CRegistry registry;
        registry.LoadRegistry(image);
        if (m_loadMode == LoadMode::Atomic) {
            batch->Commit();
        }
    } catch (const std::exception& e) {
        batch.reset();
        Failed(m_loadMode == LoadMode::Check ? "check: import would have" : "import", e);
        std::optional<size_t> stop;
        if (const auto* error = dynamic_cast<const ArnError*>(&e)) {
            stop = ImportTally::LineOfError(error->description());
        }
        if (!stop) {
            stop = tally.FirstRefusal();
        }
        const std::string where = stop ? " (line " + std::to_string(*stop) + ")" : "";
        const ImportTally::Count done = stop ? tally.Before(*stop) : ImportTally::Count{};
        const std::string counted =
            Counted(done.keys, "key") + " and " + Counted(done.values, "value") + " of " + source;
        if (m_loadMode == LoadMode::Check) {
            m_err << "arnreg: check: before the error" << where << " the import would write "
                  << counted << "; nothing was written\n";
        } else if (m_loadMode == LoadMode::Atomic) {
            m_err << "arnreg: the error" << where << " rolled the whole import of " << source
                  << " back; nothing was written\n";
        } else if (stop) {
            m_err << "arnreg: before the error" << where << " the import wrote " << counted
                  << "; they stay written\n";
        } else {
            m_err << "arnreg: what the import wrote of " << source
                  << " before the error stays written\n";
        }
        return kExitFailure;
    }
    const ImportTally::Count done = tally.Total();
    const std::string counted =
        Counted(done.keys, "key") + " and " + Counted(done.values, "value") + " from " + source;
    if (m_loadMode == LoadMode::Check) {
        m_out << "check: the import would write " << counted << " without an error; nothing was "
              << "written\n";
    } else {
        m_out << "imported " << counted << "\n";
    }
    return kExitOk;
}

int RegTool::Get(const KeyName& key, const std::string& name) {
    const KeyReader reader(key.root, key.path);
    if (!reader.IsOpen()) {
        return NoSuchKey(m_keyText);
    }
    DWORD type = 0;
    std::string data;
    const LONG rc = reader.Query(name, type, data);
    if (rc == ERROR_FILE_NOT_FOUND) {
        m_err << "arnreg: " << (name.empty() ? "no default value" : "no value '" + name + "'")
              << " in " << m_keyText << "\n";
        return kExitFailure;
    }
    if (rc != ERROR_SUCCESS) {
        m_err << "arnreg: cannot read '" << name << "' in " << m_keyText << ": error " << rc
              << "\n";
        return kExitFailure;
    }
    m_out << ValueText::Show(type, data) << "\n";
    return kExitOk;
}

int RegTool::Set(const KeyName& key, const std::string& name, const std::string& value,
                 bool dword) {
    std::optional<int32_t> number;
    if (dword) {
        number = ValueText::ParseDword(value);
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
        if (KeyReader(key.root, key.path).Query(*name, type, data) == ERROR_FILE_NOT_FOUND) {
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
    const KeyReader reader(key.root, key.path);
    if (!reader.IsOpen()) {
        return NoSuchKey(m_keyText);
    }
    for (const std::string& subkey : reader.Subkeys()) {
        m_out << ValueText::Escaped(subkey) << "\\\n";
    }
    for (const KeyReader::Entry& value : reader.Values()) {
        const std::string shown = value.name.empty() ? "(Default)" : ValueText::Escaped(value.name);
        m_out << shown << " = " << ValueText::Show(value.type, value.data)
              << (value.type == REG_DWORD ? "  (DWORD)" : "") << "\n";
    }
    return kExitOk;
}

int RegTool::NoSuchKey(const std::string& text) {
    m_err << "arnreg: no such key: " << text << "\n";
    return kExitFailure;
}

int RegTool::Usage(const std::string& problem) {
    m_err << "arnreg: " << problem << "; see arnreg --help\n";
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
    to << RegToolHelp();
}

}  // namespace arn

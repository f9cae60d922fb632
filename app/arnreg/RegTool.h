#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace arn {

// The arnreg command line: export, import, get, set, delete and list over the persistent
// registry store. Output goes to `out`, messages to `err`.
class RegTool {
  public:
    static constexpr int kExitOk = 0;
    static constexpr int kExitFailure = 1;  // the registry or a file refused the request
    static constexpr int kExitUsage = 2;    // the command line itself is wrong
    static constexpr int kExitLossy = 3;    // an export would lose values; nothing written

    RegTool(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    // Runs the arguments that follow the program name; returns the exit status.
    int Run(const std::vector<std::string>& args);

    // How import loads: as the load itself does (what it wrote before an error stays), only
    // checking (the load runs in one store transaction that is always rolled back, so it
    // reports exactly what it would write and where it would fail, and writes nothing), or
    // all or nothing (one store transaction, rolled back on any error).
    enum class LoadMode { Plain, Check, Atomic };

    // The import command on the bytes of a file already read, into the registry store in use:
    // decodes them, warns of the lines the format does not know (unless quiet), then loads and
    // counts what it wrote, as m_loadMode says. A refused load is reported on the error stream,
    // naming `source`, and returns kExitFailure.
    int ImportBytes(const std::string& bytes, const std::string& source);

  private:
    struct KeyName {
        int32_t root = 0;
        std::string rootName;  // the full name, as registry text writes it
        std::string path;      // below the root, "\" separated
    };

    int Export(const KeyName& key, const std::optional<std::string>& file);
    int Import(const std::string& file);
    int Get(const KeyName& key, const std::string& name);
    int Set(const KeyName& key, const std::string& name, const std::string& value, bool dword);
    int Delete(const KeyName& key, const std::optional<std::string>& name);
    int List(const KeyName& key);

    // Opens the database; false after saying in one sentence why it cannot be used.
    bool UseDatabase(const std::optional<std::string>& given);
    std::optional<KeyName> ParseKey(const std::string& text);
    bool KeyExists(const KeyName& key);
    int NoSuchKey(const std::string& text);
    int Usage(const std::string& problem);
    int Failed(const std::string& command, const std::exception& e);
    void ReadOnlyHint(const KeyName& key);
    void PrintHelp(std::ostream& to);

    std::ostream& m_out;
    std::ostream& m_err;
    std::string m_keyText;      // the KEY argument as given, for messages
    bool m_quiet = false;       // leaves out import's warnings of lines the format does not know
    bool m_allowLossy = false;  // export writes even what the text cannot carry back
    LoadMode m_loadMode = LoadMode::Plain;
};

}  // namespace arn

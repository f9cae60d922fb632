#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace arn {

class SimDrive;
class SimNode;

// The simulated drive's setup as a registry text file, written and read through CRegistry: the
// key HKEY_CURRENT_USER\Software\ArnAbsPosn\DriveSetup with one string value per setup
// parameter, named by its number and name ("343 Maximum Travel") and holding its content.
// The setup parameters are those a host may write, less the drive's run-time state: the
// software input states (265), the one-shot homing command (285) and the latched status (180).
//
// The text goes through a private in-memory registry, so that neither saving nor loading
// touches the registry that arnreg and the library use.
class DriveSetupFile {
  public:
    static constexpr const char* kKey = "Software\\ArnAbsPosn\\DriveSetup";
    using Setting = std::pair<int32_t, double>;

    // The registry text of the drive's setup parameters.
    static std::string Text(const SimDrive& drive);
    // Every setting of a registry text, each checked against the drive's own write rules;
    // throws std::runtime_error with a plain sentence for the first problem.
    static std::vector<Setting> Parse(const std::string& text);

    // Writes the text to path; throws std::runtime_error naming the file and the reason.
    static void Save(const SimDrive& drive, const std::string& path);
    // Reads and checks the whole file first, then writes every setting to the drive and hands
    // the new contents to the node's values; a bad file changes nothing. Returns how many
    // settings were written; throws std::runtime_error naming the file and the problem.
    static size_t Load(SimNode& node, const std::string& path);
};

}  // namespace arn

#include "app/qt/DriveSetupFile.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "core/ArnError.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "sim/SimDrive.h"
#include "sim/SimLayout.h"
#include "sim/SimNode.h"
#include "support/CRegistry.h"

namespace arn {

namespace {

bool IsSetup(const SimParamDef& def) {
    return !def.readOnly && def.number != param::InputStimulus &&
           def.number != param::HomingCommand && def.number != param::AccumulatedStatus;
}

std::string NumberText(double v) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

// Swaps a fresh in-memory registry in for the time of one save or load, and the one in use
// back afterwards: the file's keys never reach the registry of arnreg and the library.
class ScratchRegistry {
  public:
    ScratchRegistry() : m_previous(RegistryCurrentStore()) {
        RegistryUseStore(std::make_shared<MemoryRegistryStore>());
    }
    ~ScratchRegistry() { RegistryUseStore(m_previous); }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  private:
    std::shared_ptr<RegistryStore> m_previous;
};

[[noreturn]] void Bad(const std::string& why) {
    throw std::runtime_error(why);
}

}  // namespace

std::string DriveSetupFile::Text(const SimDrive& drive) {
    const ScratchRegistry scratch;
    CRegistry registry;
    std::string key = kKey;
    registry.OpenKey(HKEY_CURRENT_USER, key, true);
    for (const SimParamDef& def : SimParamTable()) {
        if (IsSetup(def)) {
            registry.WriteValue(std::to_string(def.number) + " " + def.name,
                                NumberText(drive.Read(def.number)));
        }
    }
    return registry.SaveRegistry();
}

std::vector<DriveSetupFile::Setting> DriveSetupFile::Parse(const std::string& text) {
    std::vector<std::string> names;
    std::vector<std::string> values;
    int32_t count = 0;
    {
        const ScratchRegistry scratch;
        try {
            CRegistry().LoadRegistry(text);
        } catch (const ArnError& e) {
            Bad("it is not registry text of a drive setup (" + e.description() + ")");
        }
        CRegistry registry;
        std::string key = kKey;
        registry.OpenKey(HKEY_CURRENT_USER, key);
        if (registry.CurrentKey().empty()) {
            Bad(std::string("it has no section [HKEY_CURRENT_USER\\") + kKey + "]");
        }
        registry.EnumerateValues(names, values, count);
    }
    if (count == 0) {
        Bad("its drive setup section holds no settings");
    }
    // Each setting is tried on a drive of its own, so that the drive's write rules (read-only
    // parameters, the units range, finite numbers) judge the file before anything is applied.
    SimDrive judge;
    std::vector<Setting> settings;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::string& content = values[i];
        int32_t number = 0;
        const auto [nameEnd, nameError] =
            std::from_chars(name.data(), name.data() + name.size(), number);
        const SimParamDef* def = nameError == std::errc() ? FindSimParam(number) : nullptr;
        if (!def || !IsSetup(*def)) {
            Bad("\"" + name + "\" is not a setup parameter of the drive");
        }
        double v = 0;
        const auto [end, ec] = std::from_chars(content.data(), content.data() + content.size(), v);
        if (content.empty() || ec != std::errc() || end != content.data() + content.size()) {
            Bad("\"" + name + "\" holds \"" + content + "\", which is not a number");
        }
        try {
            judge.Write(number, v);
        } catch (const ArnError& e) {
            Bad("\"" + name + "\" = " + content + " is refused by the drive: " + e.description());
        }
        settings.emplace_back(number, v);
    }
    return settings;
}

void DriveSetupFile::Save(const SimDrive& drive, const std::string& path) {
    const std::string text = Text(drive);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        throw std::runtime_error("Cannot write the drive setup to " + path);
    }
}

size_t DriveSetupFile::Load(SimNode& node, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("Cannot read the drive setup " + path);
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<Setting> settings;
    try {
        settings = Parse(text);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + " was not loaded, nothing changed: " + e.what());
    }
    for (const auto& [number, content] : settings) {
        node.Drive().Write(number, content);
    }
    node.Sync();
    return settings.size();
}

}  // namespace arn

#include "app/arnreg/DatabaseLocation.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace arn {

DatabaseLocation::DatabaseLocation(const std::optional<std::string>& given) {
    if (given) {
        m_path = *given;
        return;
    }
    if (const char* path = std::getenv("ARN_REGISTRY_DB"); path != nullptr && *path != '\0') {
        m_path = path;
        return;
    }
    std::filesystem::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = std::filesystem::path(home) / ".local" / "share";
    } else {
        throw std::runtime_error(
            "no database location: set ARN_REGISTRY_DB or HOME, or give --db FILE");
    }
    m_path = base / "arnabsposn" / "registry.db";
}

void DatabaseLocation::CreateFolders() const {
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path at = m_path.parent_path();
         !at.empty() && !std::filesystem::exists(at); at = at.parent_path()) {
        missing.push_back(at);
        if (at == at.parent_path()) {
            break;
        }
    }
    for (auto at = missing.rbegin(); at != missing.rend(); ++at) {
        // A folder that another process made meanwhile is theirs and keeps its mode.
        if (std::filesystem::create_directory(*at)) {
            std::filesystem::permissions(*at, std::filesystem::perms::owner_all);
        }
    }
}

}  // namespace arn

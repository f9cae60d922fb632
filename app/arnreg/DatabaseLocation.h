#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace arn {

// Where arnreg keeps the registry database, and the folders it makes for it.
class DatabaseLocation {
  public:
    // `given` (from --db) when present, else $ARN_REGISTRY_DB, else
    // $XDG_DATA_HOME/arnabsposn/registry.db, else ~/.local/share/arnabsposn/registry.db.
    // Throws std::runtime_error when none can be formed.
    explicit DatabaseLocation(const std::optional<std::string>& given);

    const std::filesystem::path& Path() const { return m_path; }

    // Makes the missing folders above the file. They hold one user's settings, so each is
    // opened to that user alone (0700) as soon as it exists, before a folder inside it is made.
    // Folders that were already there keep the mode their owner gave them.
    void CreateFolders() const;

  private:
    std::filesystem::path m_path;
};

}  // namespace arn

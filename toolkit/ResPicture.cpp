#include "toolkit/ResPicture.h"

#include <map>

#include "platform/Resources.h"

namespace arn {

std::shared_ptr<Picture> LoadResPicture(int32_t id) {
    // Pictures are immutable, so one per id serves every control; UI thread only, like the
    // controls that show them.
    static std::map<int32_t, std::shared_ptr<Picture>> loaded;
    if (const auto it = loaded.find(id); it != loaded.end()) {
        return it->second;
    }
    const ResIcon& icon = LoadResIcon(id);  // raises for an id the library does not carry
    auto picture = Picture::Create(icon.id, icon.width, icon.height, icon.pixels);
    loaded.emplace(id, picture);
    return picture;
}

}  // namespace arn

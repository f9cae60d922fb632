#include "panel/PanelStrings.h"

#include "core/ErrorCatalogue.h"
#include "platform/StringTable.h"

namespace arn {

std::string ResString(int32_t id) {
    if (auto text = LoadResString(id)) {
        return *text;
    }
    throw ResourceNotFoundError(id, "");
}

}  // namespace arn

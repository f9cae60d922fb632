#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "core/AutomationObject.h"

namespace arn {

// The one class a component server serves, as the component runtime registers, creates and
// presents it: its ids (registry form, braces included), its names, and how to make one
// initialised object. The automation object's member table is the class's automation interface
// (interfaceId), its events the event interface (eventInterfaceId); the type library
// (typeLibId, version major.minor) is resource 1 of type TYPELIB in the server's module.
struct ComponentClass {
    std::string_view classId;
    std::string_view progId;
    std::string_view description;
    std::string_view interfaceId;
    std::string_view interfaceName;
    std::string_view eventInterfaceId;
    std::string_view eventInterfaceName;
    std::string_view typeLibId;
    uint16_t typeLibMajor = 1;
    uint16_t typeLibMinor = 0;
    std::shared_ptr<AutomationObject> (*create)() = nullptr;
    // A visual control, which form designers place from their toolbox: registered with the
    // keys they read, its misc status bits (the platform's OLEMISC flags) under
    // MiscStatus, and the id of the bitmap resource its toolbox shows.
    bool visualControl = false;
    uint32_t miscStatus = 0;
    uint16_t toolboxBitmapId = 0;
};

}  // namespace arn

#pragma once

#include <memory>

#include "host/AppEvents.h"
#include "host/DriveEvents.h"
#include "host/NetOptions.h"
#include "host/NetSupervisor.h"

namespace arn {

// The host's network object. Each getter may throw ArnError, and may return nullptr when the net
// has no such object.
class Net {
  public:
    virtual ~Net() = default;
    virtual std::shared_ptr<AppEvents> get_AppEvents() = 0;
    virtual std::shared_ptr<DriveEvents> get_DriveEvents() = 0;
    virtual std::shared_ptr<NetSupervisor> get_NetSupervisor() = 0;
    virtual std::shared_ptr<NetOptions> get_Options() = 0;
};

}  // namespace arn

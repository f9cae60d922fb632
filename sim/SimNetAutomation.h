#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/AutomationObject.h"
#include "sim/SimNet.h"

namespace arn {

// A simulated net as a host's automation object, the way a host that only hands out automation
// objects presents its net: what our net wrapper over such a host uses, and a Tick for whoever
// holds only this object and drives time.
//
// Members: AppEvents [1], DriveEvents [2], NetSupervisor [3] and Options [4] (objects, Nothing
// when the net has none), Tick() [5] (one SimNet::Tick) and Ticks [6] (get, as a Double so a
// long run still counts exactly). The AppEvents object raises TimerTick [1] whenever the net's
// application events raise TimerTick; the Options object has DebugFlags [1] (get).
//
// Each of the net's objects has one face for this object's lifetime, so a subscription made
// through one read of AppEvents stays valid for the next reader. Errors the net raises reach
// the caller unchanged. Holds the net alive, and each face holds its own net object; the net
// holds none of them.
class SimNetAutomation : public AutomationObject {
  public:
    struct DispId {
        static constexpr int32_t AppEvents = 1;
        static constexpr int32_t DriveEvents = 2;
        static constexpr int32_t NetSupervisor = 3;
        static constexpr int32_t Options = 4;
        static constexpr int32_t Tick = 5;
        static constexpr int32_t Ticks = 6;
        // Of the AppEvents object's event interface.
        static constexpr int32_t TimerTick = 1;
        // Of the Options object.
        static constexpr int32_t DebugFlags = 1;
    };

    // The class of the AppEvents object, for component runtimes whose type library describes
    // it with its TimerTick event.
    static constexpr std::string_view kAppEventsClassId = "{F4D19E98-CD3E-4F9A-B55F-3A4C3A1D08FD}";

    // Raises 91 for a null net.
    static std::shared_ptr<SimNetAutomation> Create(std::shared_ptr<SimNet> net);

    std::string TypeName() const override { return "SimNet"; }
    const MemberTable& Members() const override;

    const std::shared_ptr<SimNet>& Net() const { return m_net; }

  private:
    explicit SimNetAutomation(std::shared_ptr<SimNet> net);

    Variant appEvents() const;
    Variant driveEvents() const;
    Variant supervisor() const;
    Variant options() const;

    std::shared_ptr<SimNet> m_net;
    // The faces handed out, each with the net object it was made for; reading a member fills
    // them.
    mutable std::shared_ptr<AutomationObject> m_appEvents;
    mutable std::shared_ptr<AutomationObject> m_driveEvents;
    mutable std::shared_ptr<AutomationObject> m_supervisor;
    mutable std::shared_ptr<AutomationObject> m_options;
};

}  // namespace arn

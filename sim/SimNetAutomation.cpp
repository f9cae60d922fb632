#include "sim/SimNetAutomation.h"

#include <type_traits>
#include <utility>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

using Id = SimNetAutomation::DispId;

Variant Nothing() {
    return Variant(std::shared_ptr<Dispatch>());
}

// The net's application events. The face raises TimerTick on its own event interface from
// inside the net's TimerTick, so a host subscriber runs in the same period as every other
// listener of the net.
class AppEventsFace : public AutomationObject {
  public:
    static std::shared_ptr<AppEventsFace> Make(std::shared_ptr<AppEvents> source) {
        auto face = std::shared_ptr<AppEventsFace>(new AppEventsFace(std::move(source)));
        // The connection belongs to the face, so dropping the face unsubscribes it. The handler
        // keeps the face alive through the raise: a subscriber may drop the last reference.
        face->m_tick =
            face->m_source->TimerTick.connect([weak = std::weak_ptr<AppEventsFace>(face)] {
                if (const auto self = weak.lock()) {
                    self->EventRaised(Id::TimerTick);
                }
            });
        return face;
    }

    std::string TypeName() const override { return "AppEvents"; }
    std::string_view ClassId() const override { return SimNetAutomation::kAppEventsClassId; }
    const std::vector<AutomationEvent>& Events() const override {
        static const std::vector<AutomationEvent> events{{Id::TimerTick, "TimerTick"}};
        return events;
    }
    const std::shared_ptr<AppEvents>& Source() const { return m_source; }

  private:
    explicit AppEventsFace(std::shared_ptr<AppEvents> source) : m_source(std::move(source)) {}

    std::shared_ptr<AppEvents> m_source;
    Connection m_tick;
};

// A net object that hosts only hold while attached; it has no members of its own.
template <class Held>
class HeldFace : public AutomationObject {
  public:
    static std::shared_ptr<HeldFace> Make(std::shared_ptr<Held> source) {
        return std::shared_ptr<HeldFace>(new HeldFace(std::move(source)));
    }

    std::string TypeName() const override {
        if constexpr (std::is_same_v<Held, DriveEvents>) {
            return "DriveEvents";
        } else {
            return "NetSupervisor";
        }
    }
    const std::shared_ptr<Held>& Source() const { return m_source; }

  private:
    explicit HeldFace(std::shared_ptr<Held> source) : m_source(std::move(source)) {}

    std::shared_ptr<Held> m_source;
};

// The net's options: DebugFlags is read from the options object each time, so a change of the
// net's flags shows at the next read.
class OptionsFace : public AutomationObject {
  public:
    static std::shared_ptr<OptionsFace> Make(std::shared_ptr<NetOptions> source) {
        return std::shared_ptr<OptionsFace>(new OptionsFace(std::move(source)));
    }

    std::string TypeName() const override { return "NetOptions"; }
    const MemberTable& Members() const override {
        static const MemberTable table{
            PropertyMember<OptionsFace>(
                Id::DebugFlags, "DebugFlags", VariantKind::Long,
                [](const OptionsFace& f) { return Variant(f.m_source->get_DebugFlags()); }),
        };
        return table;
    }
    const std::shared_ptr<NetOptions>& Source() const { return m_source; }

  private:
    explicit OptionsFace(std::shared_ptr<NetOptions> source) : m_source(std::move(source)) {}

    std::shared_ptr<NetOptions> m_source;
};

// The face of source, the cached one while it was made for the same object; Nothing when the
// net has no such object. The cache only ever holds a Face.
template <class Face, class Source>
Variant FaceOf(std::shared_ptr<AutomationObject>& cache, std::shared_ptr<Source> source) {
    if (!source) {
        return Nothing();
    }
    const auto cached = std::static_pointer_cast<Face>(cache);
    if (!cached || cached->Source() != source) {
        cache = Face::Make(std::move(source));
    }
    return Variant(std::shared_ptr<Dispatch>(cache));
}

}  // namespace

std::shared_ptr<SimNetAutomation> SimNetAutomation::Create(std::shared_ptr<SimNet> net) {
    if (!net) {
        throw MakeError(err::ObjectNotSet, "SimNetAutomation");
    }
    return std::shared_ptr<SimNetAutomation>(new SimNetAutomation(std::move(net)));
}

SimNetAutomation::SimNetAutomation(std::shared_ptr<SimNet> net) : m_net(std::move(net)) {}

const MemberTable& SimNetAutomation::Members() const {
    using Self = SimNetAutomation;
    constexpr VariantKind kObject = VariantKind::Object;
    static const MemberTable table{
        PropertyMember<Self>(Id::AppEvents, "AppEvents", kObject,
                             [](const Self& a) { return a.appEvents(); }),
        PropertyMember<Self>(Id::DriveEvents, "DriveEvents", kObject,
                             [](const Self& a) { return a.driveEvents(); }),
        PropertyMember<Self>(Id::NetSupervisor, "NetSupervisor", kObject,
                             [](const Self& a) { return a.supervisor(); }),
        PropertyMember<Self>(Id::Options, "Options", kObject,
                             [](const Self& a) { return a.options(); }),
        MethodMember<Self>(Id::Tick, "Tick", VariantKind::Empty, {},
                           [](Self& a, const std::vector<Variant>&) {
                               // Keep the net alive through the period: a TimerTick handler may
                               // drop the last reference to this face.
                               const auto net = a.m_net;
                               net->Tick();
                               return Variant{};
                           }),
        PropertyMember<Self>(
            Id::Ticks, "Ticks", VariantKind::Double,
            [](const Self& a) { return Variant(static_cast<double>(a.m_net->Ticks())); }),
    };
    return table;
}

Variant SimNetAutomation::appEvents() const {
    return FaceOf<AppEventsFace>(m_appEvents, m_net->get_AppEvents());
}

Variant SimNetAutomation::driveEvents() const {
    return FaceOf<HeldFace<DriveEvents>>(m_driveEvents, m_net->get_DriveEvents());
}

Variant SimNetAutomation::supervisor() const {
    return FaceOf<HeldFace<NetSupervisor>>(m_supervisor, m_net->get_NetSupervisor());
}

Variant SimNetAutomation::options() const {
    return FaceOf<OptionsFace>(m_options, m_net->get_Options());
}

}  // namespace arn

#pragma once

#include <unordered_map>
#include <vector>

#include "core/Event.h"
#include "draw/Geometry.h"

namespace arn {

class Control;
class UserControl;

// The parts of a surface that need repainting, in surface twips. Every property change of a
// control marks what the control draws; a move or resize marks where it was and where it is,
// and a container's mark covers its content, which is clipped to it. The surface's Refresh
// marks everything. A change that leaves nothing to see (inside a hidden container) marks
// nothing, so a surface whose controls keep their values never needs a repaint.
//
// The host takes the marks once per burst of events, after Pending told it that a burst began,
// and repaints them. Subscribes to the controls on the surface at construction; the surface
// must outlive this object.
class SurfaceDamage {
  public:
    explicit SurfaceDamage(UserControl& surface);
    SurfaceDamage(const SurfaceDamage&) = delete;
    SurfaceDamage& operator=(const SurfaceDamage&) = delete;
    ~SurfaceDamage();

    // Adds r (an empty r is dropped).
    void Mark(const Rect& r);
    // The marked rectangles, each once, in the order first marked; empties the list.
    std::vector<Rect> Take();
    bool IsEmpty() const { return m_marked.empty(); }

    // Raised when a mark lands on an empty list: the host schedules one repaint, for which it
    // takes the marks.
    Event<> Pending;

  private:
    // Where a control drew when last seen, and whether it was on screen then.
    struct Seen {
        Rect drawn;
        bool shown = false;
        friend bool operator==(const Seen&, const Seen&) = default;
    };
    static Seen Look(const Control& ctl);
    void OnChanged(const Control& ctl);
    // Remembers ctl and its content as they are now, for the marks of their next change.
    void Remember(const Control& ctl);

    UserControl& m_surface;
    std::vector<Connection> m_connections;
    std::unordered_map<const Control*, Seen> m_seen;
    std::vector<Rect> m_marked;
};

}  // namespace arn

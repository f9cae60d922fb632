#include "toolkit/SurfaceDamage.h"

#include <algorithm>
#include <utility>

#include "toolkit/Control.h"
#include "toolkit/UserControl.h"

namespace arn {

SurfaceDamage::SurfaceDamage(UserControl& surface) : m_surface(surface) {
    for (const auto& ctl : m_surface.Controls()) {
        m_seen[ctl.get()] = Look(*ctl);
        // The controls are owned by the surface, which outlives this object and its connections.
        const Control* raw = ctl.get();
        m_connections.push_back(
            ctl->PropertyChanged.connect([this, raw](std::string_view) { OnChanged(*raw); }));
    }
    m_connections.push_back(m_surface.Refreshed.connect([this] {
        Rect all{0, 0, m_surface.get_ScaleWidth(), m_surface.get_ScaleHeight()};
        for (const auto& top : m_surface.TopLevelControls()) {
            all = all.United(Look(*top).drawn);
        }
        Mark(all);
    }));
}

SurfaceDamage::~SurfaceDamage() = default;

SurfaceDamage::Seen SurfaceDamage::Look(const Control& ctl) {
    Rect drawn = ctl.DrawnBounds();
    if (const Control* parent = ctl.get_Parent()) {
        const Point corner = parent->SurfaceRect().TopLeft();
        drawn = drawn.Translated(corner.x, corner.y);
    }
    return {drawn, ctl.IsShown()};
}

void SurfaceDamage::OnChanged(const Control& ctl) {
    const Seen before = m_seen[&ctl];
    const Seen now = Look(ctl);
    if (before.shown) {
        Mark(before.drawn);
    }
    if (now.shown) {
        Mark(now.drawn);
    }
    // A move or a change of visibility carries the content along.
    if (!(before == now)) {
        Remember(ctl);
    }
}

void SurfaceDamage::Remember(const Control& ctl) {
    m_seen[&ctl] = Look(ctl);
    for (const auto& child : ctl.Children()) {
        Remember(*child);
    }
}

void SurfaceDamage::Mark(const Rect& r) {
    if (r.IsEmpty() || std::find(m_marked.begin(), m_marked.end(), r) != m_marked.end()) {
        return;
    }
    m_marked.push_back(r);
    if (m_marked.size() == 1) {
        Pending();
    }
}

std::vector<Rect> SurfaceDamage::Take() {
    return std::exchange(m_marked, {});
}

}  // namespace arn

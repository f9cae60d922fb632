#include "toolkit/SurfaceInput.h"

#include <algorithm>

#include "toolkit/Control.h"
#include "toolkit/UserControl.h"

namespace arn {

SurfaceInput::SurfaceInput(const UserControl& surface) : m_surface(surface) {}

template <class Wanted>
std::shared_ptr<Control> SurfaceInput::TopmostAt(Point at, Wanted wanted) const {
    // Control order draws containers before their content and later siblings over earlier
    // ones, so the last hit is the one on top.
    std::shared_ptr<Control> hit;
    for (const auto& ctl : m_surface.Controls()) {
        if (ctl->IsShown() && wanted(*ctl) && ctl->SurfaceRect().Contains(at)) {
            hit = ctl;
        }
    }
    return hit;
}

std::shared_ptr<Control> SurfaceInput::ClickableAt(Point at) const {
    return TopmostAt(at, [](const Control& ctl) { return ctl.AcceptsClicks(); });
}

std::shared_ptr<Control> SurfaceInput::ToolTipAt(Point at) const {
    return TopmostAt(at, [](const Control& ctl) { return !ctl.ToolTip().empty(); });
}

SurfaceAction SurfaceInput::Activation(const std::shared_ptr<Control>& ctl) {
    if (!ctl->EditsInPlace()) {
        return {SurfaceAction::Kind::Click, ctl, {}};
    }
    if (const auto box = ctl->EditorRect()) {
        return {SurfaceAction::Kind::Edit, ctl, *box};
    }
    return {SurfaceAction::Kind::NothingToEdit, ctl, {}};
}

SurfaceAction SurfaceInput::Press(Point at) {
    // A release the host never delivered (the pointer left the window) ends the old hold.
    SetPressedInside(false);
    m_pressed.reset();
    const auto target = ClickableAt(at);
    if (!target) {
        return {};
    }
    if (!target->IsUsable()) {
        return {SurfaceAction::Kind::Ignored, target, {}};
    }
    m_pressed = target;
    SetPressedInside(true);
    return {};
}

void SurfaceInput::Move(Point at) {
    if (const auto pressed = m_pressed.lock()) {
        SetPressedInside(pressed->SurfaceRect().Contains(at));
    }
}

SurfaceAction SurfaceInput::Release(Point at) {
    const auto pressed = m_pressed.lock();
    SetPressedInside(false);
    m_pressed.reset();
    // A control that went out of reach while held ignores the release, as it would a click.
    if (!pressed || !pressed->IsUsable() || ClickableAt(at) != pressed) {
        return {};
    }
    return Activation(pressed);
}

const Control* SurfaceInput::Pressed() const {
    return m_pressedInside ? m_pressed.lock().get() : nullptr;
}

void SurfaceInput::SetPressedInside(bool inside) {
    if (inside == m_pressedInside) {
        return;
    }
    m_pressedInside = inside;
    if (const auto pressed = m_pressed.lock()) {
        LookChanged(*pressed);
    }
}

std::vector<std::shared_ptr<Control>> SurfaceInput::FocusChain() const {
    std::vector<std::shared_ptr<Control>> chain;
    for (const auto& ctl : m_surface.Controls()) {
        if (ctl->TakesFocus()) {
            chain.push_back(ctl);
        }
    }
    return chain;
}

bool SurfaceInput::Tab(bool forward) {
    const auto chain = FocusChain();
    const auto at = std::find(chain.begin(), chain.end(), m_focus.lock());
    std::shared_ptr<Control> target;
    if (at == chain.end()) {
        if (!chain.empty()) {
            target = forward ? chain.front() : chain.back();
        }
    } else if (forward && at + 1 != chain.end()) {
        target = *(at + 1);
    } else if (!forward && at != chain.begin()) {
        target = *(at - 1);
    }
    SetFocus(target);
    return target != nullptr;
}

void SurfaceInput::EnterByTab(bool forward) {
    if (m_focus.lock()) {
        return;
    }
    const auto chain = FocusChain();
    if (!chain.empty()) {
        SetFocus(forward ? chain.front() : chain.back());
    }
}

SurfaceAction SurfaceInput::Space() {
    const auto focus = m_focus.lock();
    if (!focus) {
        return {};
    }
    if (!focus->IsUsable()) {
        return {SurfaceAction::Kind::Ignored, focus, {}};
    }
    return Activation(focus);
}

void SurfaceInput::SetFocus(const std::shared_ptr<Control>& target) {
    const auto old = m_focus.lock();
    if (old == target) {
        return;
    }
    m_focus = target;
    if (old) {
        LookChanged(*old);
    }
    if (target) {
        LookChanged(*target);
    }
}

}  // namespace arn

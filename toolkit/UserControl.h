#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Event.h"
#include "toolkit/Control.h"

namespace arn {

// The panel surface: the controls placed on it, in control order at every nesting level,
// its inner size in twips, the display name that the host gave the instance, and the
// platform's lifecycle notifications.
//
// The platform (a host, a test, a view) calls Initialize, Show, Hide, Resize and Terminate;
// each runs the matching UserControl_... hook of a derived panel, then raises the matching
// event for anyone composing the surface instead of deriving from it.
class UserControl {
  public:
    UserControl();
    UserControl(const UserControl&) = delete;
    UserControl& operator=(const UserControl&) = delete;
    virtual ~UserControl();

    // Places control last under container (nullptr: directly on the surface), which must
    // already be on this surface. A (name, index) pair may occur once, and a name is either a
    // single control's or a group's; violations raise an error and change nothing.
    template <class T>
    std::shared_ptr<T> Add(std::shared_ptr<T> control, Control* container = nullptr) {
        AddControl(control, container);
        return control;
    }
    void AddControl(const std::shared_ptr<Control>& control, Control* container = nullptr);

    // Every control, depth first: each control directly followed by what it contains.
    std::vector<std::shared_ptr<Control>> Controls() const;
    // The controls placed directly on the surface.
    const std::vector<std::shared_ptr<Control>>& TopLevelControls() const { return m_topLevel; }
    std::size_t ControlCount() const { return m_count; }
    // The control of that name and index (-1: not in a group); nullptr when there is none.
    std::shared_ptr<Control> Find(std::string_view name, int16_t index = -1) const;
    bool Contains(const Control* control) const;

    int32_t get_ScaleWidth() const { return m_scaleWidth; }
    int32_t get_ScaleHeight() const { return m_scaleHeight; }

    std::string get_DisplayName() const { return m_displayName; }
    void put_DisplayName(std::string name) { m_displayName = std::move(name); }

    bool IsShown() const { return m_shown; }

    // Lifecycle, driven by the platform.
    void Initialize();
    void Show();
    void Hide();
    // Sets the inner size and notifies, even when the size is unchanged (the platform
    // reports every resize it performs).
    void Resize(int32_t scaleWidth, int32_t scaleHeight);
    void Terminate();
    // Repaints the surface.
    void Refresh();

    Event<> Initialized;
    Event<> Shown;
    Event<> Hidden;
    Event<> Resized;
    Event<> Terminated;
    Event<> Refreshed;

  protected:
    virtual void UserControl_Initialize() {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Hide() {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_Terminate() {}

  private:
    std::vector<std::shared_ptr<Control>> m_topLevel;
    std::size_t m_count = 0;
    int32_t m_scaleWidth = 0;
    int32_t m_scaleHeight = 0;
    std::string m_displayName;
    bool m_shown = false;
};

}  // namespace arn

#include "toolkit/UserControl.h"

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

void AppendTree(const std::shared_ptr<Control>& control,
                std::vector<std::shared_ptr<Control>>& out) {
    out.push_back(control);
    for (const auto& child : control->Children()) {
        AppendTree(child, out);
    }
}

}  // namespace

UserControl::UserControl() = default;
UserControl::~UserControl() = default;

void UserControl::AddControl(const std::shared_ptr<Control>& control, Control* container) {
    if (!control) {
        throw MakeError(err::InvalidPropertyValue, "UserControl", "control");
    }
    if (container != nullptr && !Contains(container)) {
        throw MakeError(err::InvalidPropertyValue, "UserControl",
                        "container of " + control->get_Name() + " is not on this surface");
    }
    if (control->get_Parent() != nullptr || Contains(control.get())) {
        throw MakeError(err::ObjectAlreadyLoaded, "UserControl", control->get_Name());
    }
    const std::string name = control->get_Name();
    const bool grouped = control->get_Index() >= 0;
    for (const auto& other : Controls()) {
        if (other->get_Name() != name) {
            continue;
        }
        if (other->get_Index() == control->get_Index()) {
            throw MakeError(
                err::ObjectAlreadyLoaded, "UserControl",
                name + (grouped ? "(" + std::to_string(control->get_Index()) + ")" : ""));
        }
        if ((other->get_Index() >= 0) != grouped) {
            throw MakeError(err::InvalidPropertyValue, "UserControl",
                            name + " is used both for a group and a single control");
        }
    }
    if (container != nullptr) {
        container->AddChild(control);
    } else {
        m_topLevel.push_back(control);
    }
    ++m_count;
}

std::vector<std::shared_ptr<Control>> UserControl::Controls() const {
    std::vector<std::shared_ptr<Control>> all;
    all.reserve(m_count);
    for (const auto& control : m_topLevel) {
        AppendTree(control, all);
    }
    return all;
}

std::shared_ptr<Control> UserControl::Find(std::string_view name, int16_t index) const {
    for (const auto& control : Controls()) {
        if (control->get_Name() == name && control->get_Index() == index) {
            return control;
        }
    }
    return nullptr;
}

bool UserControl::Contains(const Control* control) const {
    if (control == nullptr) {
        return false;
    }
    const Control* top = control;
    while (top->get_Parent() != nullptr) {
        top = top->get_Parent();
    }
    for (const auto& c : m_topLevel) {
        if (c.get() == top) {
            return true;
        }
    }
    return false;
}

void UserControl::Initialize() {
    UserControl_Initialize();
    Initialized();
}

void UserControl::Show() {
    m_shown = true;
    UserControl_Show();
    Shown();
}

void UserControl::Hide() {
    m_shown = false;
    UserControl_Hide();
    Hidden();
}

void UserControl::Resize(int32_t scaleWidth, int32_t scaleHeight) {
    m_scaleWidth = scaleWidth;
    m_scaleHeight = scaleHeight;
    UserControl_Resize();
    Resized();
}

void UserControl::Terminate() {
    UserControl_Terminate();
    Terminated();
}

void UserControl::Refresh() {
    Refreshed();
}

}  // namespace arn

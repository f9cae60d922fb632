#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace arn {

class Control;
class UserControl;
class PanelControls;

// How the panel enables each of its controls when its Enabled state changes. The control
// tree is built once at initialisation and only ever grows, so the controls are classified
// once (their type names and special cases looked up a single time) instead of on every
// change of Enabled.
class FocusPlan {
  public:
    enum class Role {
        Passive,        // timers, lines, shapes, progress bars: never touched
        Plain,          // everything else that is not a user input: follows Enabled
        Input,          // a user input without a special rule: follows Enabled
        InCheck,        // an override box (inCheck): Enabled and software inputs
        HardStop,       // the hard-stop command: Enabled and homing active
        InputOption,    // the inputs hand-over box: Enabled and the Enable pin clear
        TeachingCheck,  // the teaching box: Enabled and a teaching field bound
        Editor,         // edits a parameter: locked during homing while it edits a position
    };
    struct Entry {
        std::shared_ptr<Control> control;
        Role role;
    };

    // The entries of surface in control order, classified again only when controls were
    // added since the last call.
    const std::vector<Entry>& Of(const UserControl& surface, const PanelControls& named);

  private:
    std::vector<Entry> m_entries;
    std::size_t m_classified = 0;
};

}  // namespace arn

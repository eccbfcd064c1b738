#pragma once
#include "planning/field_id.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace vantrel {

// Green as the toolkit names it (0, 128, 0), not lime.
namespace colors {
constexpr std::uint32_t Green = 0x008000;
}

// What a named control outside the plan fields shows: the link lamps, the link's buttons, the
// gauge's and the fuel panel's labels, the checklist window's speed-hold panels.
struct ControlState {
    std::string caption;
    std::uint32_t color = colors::Silver;
    bool enabled = true;
    bool visible = true;
};

// The shown state of the cockpit's named controls, by the name the windows give them
// ("Panel3", "Button2", "Form5.lbfuel", "Form7.pnat"). The cockpit objects write it, the windows
// paint what onChanged names, a headless session prints all of it.
class ControlBoard {
public:
    // Adds a control with its state at creation (nothing is notified).
    void Define(const std::string& name, ControlState initial);
    bool Has(const std::string& name) const { return controls_.count(name) != 0; }
    // The control's state; a name never defined is a programming fault and throws.
    const ControlState& Get(const std::string& name) const;

    void SetCaption(const std::string& name, const std::string& caption);
    void SetColor(const std::string& name, std::uint32_t color);
    void SetEnabled(const std::string& name, bool enabled);
    void SetVisible(const std::string& name, bool visible);

    const std::map<std::string, ControlState>& All() const { return controls_; }

    // Called after a control's state changed.
    std::function<void(const std::string& name)> onChanged;

private:
    ControlState& Mutable(const std::string& name);
    void Changed(const std::string& name) {
        if (onChanged) onChanged(name);
    }

    std::map<std::string, ControlState> controls_;
};

} // namespace vantrel

#include "cockpit/control_board.h"

#include <stdexcept>

namespace vantrel {

void ControlBoard::Define(const std::string& name, ControlState initial) {
    controls_[name] = std::move(initial);
}

const ControlState& ControlBoard::Get(const std::string& name) const {
    const auto it = controls_.find(name);
    if (it == controls_.end()) throw std::logic_error("no control named " + name);
    return it->second;
}

ControlState& ControlBoard::Mutable(const std::string& name) {
    const auto it = controls_.find(name);
    if (it == controls_.end()) throw std::logic_error("no control named " + name);
    return it->second;
}

void ControlBoard::SetCaption(const std::string& name, const std::string& caption) {
    ControlState& c = Mutable(name);
    if (c.caption == caption) return;
    c.caption = caption;
    Changed(name);
}

void ControlBoard::SetColor(const std::string& name, std::uint32_t color) {
    ControlState& c = Mutable(name);
    if (c.color == color) return;
    c.color = color;
    Changed(name);
}

void ControlBoard::SetEnabled(const std::string& name, bool enabled) {
    ControlState& c = Mutable(name);
    if (c.enabled == enabled) return;
    c.enabled = enabled;
    Changed(name);
}

void ControlBoard::SetVisible(const std::string& name, bool visible) {
    ControlState& c = Mutable(name);
    if (c.visible == visible) return;
    c.visible = visible;
    Changed(name);
}

} // namespace vantrel

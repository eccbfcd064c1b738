#pragma once

namespace vantrel {

// The button of a mouse-down on a panel.
enum class MouseButton { Left, Right, Middle };

} // namespace vantrel

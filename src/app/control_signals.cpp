#include "control_signals.h"

#include "cockpit/control_board.h"

namespace vantrel {

ControlSignals::ControlSignals(ControlBoard& board) {
    board.onChanged = [this](const std::string& name) { emit changed(QString::fromStdString(name)); };
}

} // namespace vantrel

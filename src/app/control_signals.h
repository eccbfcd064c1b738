#pragma once
#include <QObject>
#include <QString>

namespace vantrel {

class ControlBoard;

// Relays the cockpit's control changes to every window that shows them; a window connects to
// `changed` and repaints the control of that name from the board.
class ControlSignals : public QObject {
    Q_OBJECT
public:
    explicit ControlSignals(ControlBoard& board);

signals:
    void changed(const QString& name);
};

} // namespace vantrel

#pragma once
#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class TForm5;
}

namespace vantrel {
struct AppContext;
class ControlBoard;
class FuelPanel;
} // namespace vantrel

class QLabel;

// The fuel panel drawn as the aircraft's refuelling panel. It paints the cockpit's fuel panel
// state from the control board and hands clicks on the switch and valves to it.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm5() override;

    // Connects the window to the cockpit's fuel panel: it shows modally when the panel opens,
    // hides when the panel is hidden, and paints from the board.
    void Attach(vantrel::FuelPanel& panel, const vantrel::ControlBoard& board);
    // A control of the board changed; the window repaints it when it is one of its own.
    void ControlChanged(const std::string& name);
    void Refresh();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Paint(const std::string& name);
    void PlaceForFirstShow();

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm5> ui;
    vantrel::FuelPanel* panel_ = nullptr;
    const vantrel::ControlBoard* board_ = nullptr;
};

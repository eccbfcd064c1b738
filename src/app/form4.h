#pragma once
#include "window_drag.h"
#include <QPoint>
#include <QWidget>
#include <functional>

#include <memory>
#include <string>

namespace Ui {
class TForm4;
}

namespace vantrel {
struct AppContext;
class ControlBoard;
class Gauge;
} // namespace vantrel

// The speeds gauge: a small frameless window above all others that stays on screen while the
// main window is hidden. It paints the gauge's controls from the ControlBoard, forwards the
// clicks on its panels to the gauge, and is dragged from any spot that is not a panel.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    // With no stored place: beside the main window, clear of its controls and of other.
    void PlaceFirstTime(const QWidget* other);
    explicit TForm4(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm4() override;

    // Shows this gauge and follows it: its controls, its visibility and its place. The main
    // window of ctx is the one Panel1 shows and hides.
    // inTurn runs a click's action in its turn among the cockpit's handlers (empty: at once).
    void Attach(vantrel::Gauge& gauge, vantrel::ControlBoard& controls,
                std::function<void(std::function<void()>)> inTurn = {});
    // Repaints the named control ("Form4.label7", ...) from the board.
    void ShowControl(const std::string& name);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowAll();
    void PlaceOnScreen(int left, int top);

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm4> ui;
    vantrel::Gauge* gauge_ = nullptr;
    std::function<void(std::function<void()>)> inTurn_;
    void Click(std::function<void(vantrel::Gauge&)> action);
    vantrel::ControlBoard* controls_ = nullptr;
    WindowDrag drag_;
};

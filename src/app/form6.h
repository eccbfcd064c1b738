#pragma once
#include "shell/flight_log_view.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TForm6;
}

namespace vantrel {
struct AppContext;
}

class FlightLogModel;

// The flight log viewer: the log as a read-only table, read afresh each time it shows.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm6() override;

    // The grid below its header, as shown; the flight recorder adds logged flights to it.
    vantrel::FlightLogGrid& Grid() { return grid_; }
    void FormShow();
    void Button1Click() { close(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm6> ui;
    vantrel::FlightLogGrid grid_;
    FlightLogModel* model_ = nullptr;
};

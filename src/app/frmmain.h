#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TfrmMain;
}

namespace vantrel {
struct AppContext;
}

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmMain() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TfrmMain> ui;
};

#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TFormMain;
}

namespace vantrel {
struct AppContext;
}

class TFormMain : public QWidget {
    Q_OBJECT
public:
    explicit TFormMain(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TFormMain() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TFormMain> ui;
};

#pragma once
#include <QDialog>

#include <memory>

namespace Ui {
class TForm3;
}

namespace vantrel {
struct AppContext;
}

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm3() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm3> ui;
};

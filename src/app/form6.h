#pragma once
#include <QDialog>

#include <memory>

namespace Ui {
class TForm6;
}

namespace vantrel {
struct AppContext;
}

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm6() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm6> ui;
};

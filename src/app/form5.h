#pragma once
#include <QDialog>

#include <memory>

namespace Ui {
class TForm5;
}

namespace vantrel {
struct AppContext;
}

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm5() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm5> ui;
};

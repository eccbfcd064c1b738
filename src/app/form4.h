#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TForm4;
}

namespace vantrel {
struct AppContext;
}

class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm4() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm4> ui;
};

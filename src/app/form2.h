#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TForm2;
}

namespace vantrel {
struct AppContext;
}

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm2() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm2> ui;
};

#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TForm7;
}

namespace vantrel {
struct AppContext;
}

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm7() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm7> ui;
};

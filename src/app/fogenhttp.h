#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TfoGenHTTP;
}

namespace vantrel {
struct AppContext;
}

class TfoGenHTTP : public QWidget {
    Q_OBJECT
public:
    explicit TfoGenHTTP(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TfoGenHTTP() override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TfoGenHTTP> ui;
};

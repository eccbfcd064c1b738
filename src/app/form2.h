#pragma once
#include <QWidget>

#include <memory>

class QTimer;

namespace Ui {
class TForm2;
}

namespace vantrel {
struct AppContext;
}

// The splash window: the program's picture and name on top of everything, centred on the
// screen, gone after 3.5 seconds or at the first click on the picture.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm2() override;

    QTimer* Timer() const { return Timer1; }

    void Timer1Timer();
    void Image1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[maybe_unused]] vantrel::AppContext& ctx_; // the splash reads nothing shared
    std::unique_ptr<Ui::TForm2> ui;
    QTimer* Timer1 = nullptr;
};

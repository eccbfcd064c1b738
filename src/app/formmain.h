#pragma once
#include <QWidget>

#include <memory>

namespace Ui {
class TFormMain;
}

namespace vantrel {
struct AppContext;
}

// The link window: never shown; its logic (the connection monitor, the data load) is the
// cockpit's LinkWindow. It answers the message 0x1234 whose second parameter is 0x203 (a
// left-button double click, as a notification icon reports it) by bringing the main window up.
class TFormMain : public QWidget {
    Q_OBJECT
public:
    explicit TFormMain(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TFormMain() override;

    static constexpr unsigned kShowMainWindowMessage = 0x1234;
    static constexpr long long kLeftDoubleClick = 0x203;
    // The message's handling; true when it was this window's message.
    bool HandleMessage(unsigned message, long long lParam);

protected:
    // On Windows the message arrives as a native window message.
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TFormMain> ui;
};

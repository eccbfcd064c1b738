#pragma once
#include "planning/field_id.h"
#include "shell/startup.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLineEdit;
class QTimer;
class TPanel;

namespace Ui {
class TForm1;
}

namespace vantrel {
struct AppContext;
class WeatherButtonHandler;
enum class KeyTarget;
} // namespace vantrel

// The main planning window. It shows the flight plan's fields, forwards every edit to the
// plan, and carries the shell commands (help, exit, fuel panel, gauge, log, save, print).
// Its creation runs the start-up sequence on the plan.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    ~TForm1() override;

    vantrel::StartupResult StartupResult() const { return startupResult_; }

    // The widget that shows a plan field.
    QWidget* FieldWidget(vantrel::FieldId id) const { return fieldWidgets_[static_cast<std::size_t>(id)]; }
    TPanel* Panel(const char* name) const;

    // Enables the buttons that need the simulator link: Refuel/Defuel, Set UTC, FS Wx, Alert, Mode.
    void SetLinkButtonsEnabled(bool enabled);
    // The unit captions and the planning panel's colour for pounds or kilograms.
    void ApplyWeightUnit();

    // ---- Handlers (named after the control and event they serve)
    void Button1Click();
    void Button2Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button51Click();
    void Button511Click(QObject* sender);
    void Panel4Click();
    void Panel10Click();
    void Panel6MouseDown(Qt::MouseButton button);
    void Timer1Timer();

signals:
    // The window closed for good: the program ends.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Fields
    void BindFields();
    void BindField(vantrel::FieldId id, QWidget* widget);
    void RefreshField(vantrel::FieldId id);
    void RefreshAll();
    // Keys
    bool FormKeyPress(QObject* watched, QKeyEvent* event);
    void Edit2Click(QObject* watched);
    bool IsAirportCode(const QObject* watched) const;
    bool IsFreeText(const QObject* watched) const;
    vantrel::KeyTarget KeyTargetOf(const QObject* watched) const;
    // Clipboard and undo in the plan's edit boxes
    static bool IsEditKey(const QKeyEvent* event);
    bool EditKey(QLineEdit* edit, const QKeyEvent* event);
    void PasteInto(QLineEdit* edit);
    void ShowEditMenu(QLineEdit* edit, const QPoint& globalPos);
    // Start-up and shutdown
    void FormCreate();
    bool FormCloseQuery();
    void StoreWindowPositions();
    void SaveSettings();
    void PlaceAt(int top, int left);
    // Wiring of the commands, split by concern
    void ConnectShell();
    void ConnectRoute();
    void ConnectAids();
    void ConnectLink();
    // Paints a control the cockpit keeps (a link lamp or a link button) from its state.
    void PaintLinkControl(const std::string& name);
    void PlaySwitchCue();
    // Runs a handler and shows a conversion error in the standard error box.
    void Guarded(const std::function<void()>& fn);

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm1> ui;
    std::array<QWidget*, vantrel::kFieldCount> fieldWidgets_{};
    std::array<std::uint32_t, vantrel::kFieldCount> shownColors_{};
    std::unique_ptr<vantrel::WeatherButtonHandler> weather_;
    QTimer* Timer1 = nullptr;
    vantrel::StartupResult startupResult_ = vantrel::StartupResult::Completed;
};

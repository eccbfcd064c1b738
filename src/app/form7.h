#pragma once
#include "voice/checklist_strip.h"
#include "window_drag.h"
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QLabel;

namespace Ui {
class TForm7;
}

namespace vantrel {
struct AppContext;
class ControlBoard;
class TMSpeech;
} // namespace vantrel

// The checklist strip: eleven checklist panels read aloud item by item, ">>" and "<<", the space
// bar, the main-window toggle, and the speed-hold panels. It owns the speech component that the
// weather report and the speed-hold warning use as well.
class TForm7 : public QWidget {
    Q_OBJECT
public:
    // checklistFile: the checklist file to use; empty means "checklists/checklists.ini" in the
    // program folder.
    explicit TForm7(vantrel::AppContext& ctx, QWidget* parent = nullptr, std::string checklistFile = {});
    ~TForm7() override;

    // Places the window from the stored "Left7"/"Top7" (-999: none stored, then beside the main
    // window). Call it once the settings are loaded.
    void PlaceWindow(int left7, int top7);
    // The main window's Gauge panel: hides the window when visible, shows it when hidden;
    // does nothing while the voice features are off.
    void ToggleChecklistWindow();
    // Shutdown: frees the speech component (the window stays, silent).
    void DestroySpeech();

    vantrel::TMSpeech* Speech() const { return speech_.get(); }
    bool ChecklistsDisabled() const { return checklistsDisabled_; }
    const std::string& ChecklistFile() const { return checklistFile_; }

    // -1 nothing spoken, 1 a next item exists, 0 this was the last item.
    int SpeakChecklistItem(const std::string& section, int item);
    void StepChecklist(QLabel* panel);

    const std::string& ChecklistSection() const { return strip_.ChecklistSection(); }
    std::uint16_t ChecklistItem() const { return strip_.ChecklistItem(); }
    QLabel* CurrentChecklistPanel() const;
    QLabel* NextChecklistPanel() const;

    // The speed-hold ("SPD") and reverse-thrust ("REV") panels; their clicks run these when set.
    QLabel* SpeedHoldPanel() const;
    QLabel* ReverseThrustPanel() const;
    std::function<void()> pnatClick;
    std::function<void()> pnrevClick;
    // Paints "Form7.pnat" or "Form7.pnrev" (caption and colour) as the board has it; other
    // names are not this window's and change nothing.
    void ShowControl(const vantrel::ControlBoard& controls, const std::string& name);

public slots:
    void Panel2Click();
    void Panel1Click();
    void Panel4Click();
    void Panel5Click();
    void Panel10Click();
    void Panel12Click();
    void Panel6Click();
    void Panel7Click();
    void Panel8Click();
    void Panel9Click();
    void Panel11Click();
    void Panel13Click();
    void Panel14Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void StartChecklist(QLabel* panel);
    QLabel* PanelNamed(const std::string& name) const;
    void Panel3MouseDown(Qt::MouseButton button);
    void HideWeatherButtons();
    void TellProblem(const std::string& text);

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TForm7> ui;
    std::unique_ptr<vantrel::TMSpeech> speech_;
    std::string checklistFile_;
    bool checklistsDisabled_ = true;
    vantrel::ChecklistStrip strip_;
    WindowDrag drag_;
};

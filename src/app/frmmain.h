#pragma once
#include <QWidget>

#include <memory>

class QSlider;

namespace Ui {
class TfrmMain;
}

namespace vantrel {
struct AppContext;
class TMSpeech;
} // namespace vantrel

// "Text-to-Speech": try the installed voices with a speech component of the window's own.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(vantrel::AppContext& ctx, QWidget* parent = nullptr);
    // With a given speech component (tests); the window takes it over.
    TfrmMain(vantrel::AppContext& ctx, QWidget* parent, std::unique_ptr<vantrel::TMSpeech> speech);
    ~TfrmMain() override;

    // Shows the window (created hidden) in front; the main window's shortcut and the
    // --voices switch call this.
    void ShowVoiceWindow();
    vantrel::TMSpeech* Speech() const { return speech_; }

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(std::unique_ptr<vantrel::TMSpeech> speech);
    void FormShow();
    void PitchBarExit();
    void SpeedBarExit();
    void VolumeBarExit();
    void SpeechStart();
    void SpeechStop();
    void ShowError(const char* text);

    vantrel::AppContext& ctx_;
    std::unique_ptr<Ui::TfrmMain> ui;
    vantrel::TMSpeech* speech_ = nullptr; // owned by this window (a child object)
};

// Ctrl+Shift+V on the main window opens the voice window.
void InstallVoiceWindowShortcut(QWidget* mainWindow, TfrmMain* voiceWindow);

// True when the program was started with "--voices" (open the voice window at start).
bool HasVoicesSwitch(int argc, char** argv);

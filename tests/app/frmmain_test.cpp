// The voice selection window: selecting, speaking, pausing, stopping and tuning a voice.
#include "window_test_support.h"

#include "app_context.h"
#include "frmmain.h"
#include "voice/mspeech.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <chrono>

using namespace vantrel;

namespace {

class VoiceWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TfrmMain>(
            ctx, nullptr, std::make_unique<TMSpeech>(nullptr, EspeakBackend(), CreateSilentAudioOut));
    }
    void TearDown() override { form->Speech()->Stop(); }

    template <class T> T* Get(const char* name) { return form->findChild<T*>(name); }
    QPushButton* Button(int n) { return Get<QPushButton>(("Button" + std::to_string(n)).c_str()); }
    void SelectRow(int row) {
        Get<QListWidget>("lbEngines")->clearSelection();
        Get<QListWidget>("lbEngines")->item(row)->setSelected(true);
        Button(1)->click();
    }
    // Runs the event loop until the condition holds (or 10 s pass).
    template <class F> bool RunUntil(F done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }
    void LoseFocus(QWidget* w) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &out);
    }

    AppContext ctx;
    std::unique_ptr<TfrmMain> form;
};

TEST_F(VoiceWindow, StartsHiddenWithOnlySelectEnabled) {
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Text-to-Speech");
    EXPECT_EQ(form->size(), QSize(544, 375));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Button(1)->isEnabled());
    EXPECT_FALSE(Button(2)->isEnabled());
    EXPECT_FALSE(Button(3)->isEnabled());
    EXPECT_FALSE(Button(4)->isEnabled());
    EXPECT_FALSE(Get<QGroupBox>("GroupBox3")->isEnabled());
    EXPECT_EQ(Get<QGroupBox>("GroupBox1")->title(), "Available Speaker");
    EXPECT_EQ(Get<QGroupBox>("GroupBox2")->title(), "Text to Speak");
    EXPECT_EQ(Get<QTextEdit>("TextPad")->toPlainText(), "Good morning everyone!");
    EXPECT_EQ(Get<QSlider>("PitchBar")->singleStep(), 12);
    EXPECT_EQ(Get<QSlider>("SpeedBar")->singleStep(), 20);
    EXPECT_EQ(Get<QLabel>("PitchMax")->text(), "100");
    EXPECT_EQ(Get<QLabel>("SpeedMin")->text(), "0");
}

TEST_F(VoiceWindow, ShowingListsTheVoicesAndSelectWithoutChoiceDoesNothing) {
    form->ShowVoiceWindow();
    auto* list = Get<QListWidget>("lbEngines");
    ASSERT_EQ(list->count(), static_cast<int>(form->Speech()->Engines().size()));
    EXPECT_EQ(list->item(0)->text().toStdString(), form->Speech()->Engines()[0]);
    Button(1)->click();
    EXPECT_FALSE(form->Speech()->EngineSelected());
    EXPECT_FALSE(Button(2)->isEnabled());
}

TEST_F(VoiceWindow, SelectSetsTheBarsFromTheVoice) {
    form->ShowVoiceWindow();
    SelectRow(0);
    EXPECT_TRUE(form->Speech()->EngineSelected());
    EXPECT_TRUE(Button(2)->isEnabled());
    EXPECT_TRUE(Get<QGroupBox>("GroupBox3")->isEnabled());
    auto* pitch = Get<QSlider>("PitchBar");
    EXPECT_EQ(pitch->minimum(), 0);
    EXPECT_EQ(pitch->maximum(), 124);
    EXPECT_EQ(pitch->value(), 62);
    EXPECT_EQ(pitch->toolTip(), "62");
    EXPECT_EQ(Get<QLabel>("PitchMax")->text(), "124");
    auto* speed = Get<QSlider>("SpeedBar");
    EXPECT_EQ(speed->minimum(), 67);
    EXPECT_EQ(speed->maximum(), 372);
    EXPECT_EQ(speed->value(), 145);
    EXPECT_EQ(Get<QLabel>("SpeedMin")->text(), "67");
    auto* volume = Get<QSlider>("VolumeBar");
    EXPECT_EQ(volume->maximum(), 100);
    EXPECT_EQ(volume->value(), 100);
    EXPECT_EQ(volume->toolTip(), "100");
    vantrel::test::SaveShot(form.get(), "frmmain-selected");
}

TEST_F(VoiceWindow, SeveralSelectedEntriesSelectTheFirst) {
    form->ShowVoiceWindow();
    auto* list = Get<QListWidget>("lbEngines");
    list->item(3)->setSelected(true);
    list->item(1)->setSelected(true);
    Button(1)->click();
    EXPECT_EQ(form->Speech()->EngineInfo().ModeName, form->Speech()->Engines()[1]);
}

TEST_F(VoiceWindow, MovingABarTakesEffectWhenItLosesTheFocus) {
    form->ShowVoiceWindow();
    SelectRow(0);
    auto* pitch = Get<QSlider>("PitchBar");
    pitch->setValue(100);
    EXPECT_EQ(form->Speech()->GetPitch(), 62);
    EXPECT_EQ(pitch->toolTip(), "62");
    LoseFocus(pitch);
    EXPECT_EQ(form->Speech()->GetPitch(), 100);
    EXPECT_EQ(pitch->toolTip(), "100");
    auto* volume = Get<QSlider>("VolumeBar");
    volume->setValue(50);
    LoseFocus(volume);
    EXPECT_EQ(form->Speech()->GetVolume(), 50);
    auto* speed = Get<QSlider>("SpeedBar");
    speed->setValue(200);
    LoseFocus(speed);
    EXPECT_EQ(form->Speech()->GetSpeed(), 200u);
}

TEST_F(VoiceWindow, SpeakPauseResumeAndStopDriveTheButtonsAndCaption) {
    form->ShowVoiceWindow();
    SelectRow(0);
    Get<QTextEdit>("TextPad")->setPlainText(
        "Good morning everyone! The weather today is fine, with light winds.");
    Button(2)->click();
    EXPECT_TRUE(Button(3)->isEnabled());
    ASSERT_TRUE(RunUntil([&] { return form->windowTitle() == "Text-to-Speech (Speaking)"; }));
    EXPECT_EQ(Button(3)->text(), "&Pause");
    EXPECT_TRUE(Button(4)->isEnabled());
    vantrel::test::SaveShot(form.get(), "frmmain-speaking");

    Button(3)->click(); // pause
    EXPECT_TRUE(form->Speech()->Paused());
    EXPECT_EQ(form->windowTitle(), "Text-to-Speech");
    EXPECT_EQ(Button(3)->text(), "&Resume");
    EXPECT_FALSE(Button(4)->isEnabled());

    Button(3)->click(); // resume
    EXPECT_FALSE(form->Speech()->Paused());
    EXPECT_EQ(form->windowTitle(), "Text-to-Speech (Speaking)");
    EXPECT_EQ(Button(3)->text(), "&Pause");
    EXPECT_TRUE(Button(4)->isEnabled());

    Button(4)->click(); // stop
    EXPECT_EQ(form->windowTitle(), "Text-to-Speech");
    EXPECT_FALSE(Button(3)->isEnabled());
    EXPECT_FALSE(Button(4)->isEnabled());
    EXPECT_FALSE(form->Speech()->Speaking());
}

TEST_F(VoiceWindow, SpeakingRunsToTheEndAndDisablesPauseAndStop) {
    form->ShowVoiceWindow();
    SelectRow(0);
    Get<QTextEdit>("TextPad")->setPlainText("Hello.");
    Button(2)->click();
    ASSERT_TRUE(RunUntil([&] { return !form->Speech()->Speaking(); }));
    EXPECT_EQ(form->windowTitle(), "Text-to-Speech");
    EXPECT_FALSE(Button(3)->isEnabled());
    EXPECT_FALSE(Button(4)->isEnabled());
}

TEST_F(VoiceWindow, SpeakWhileSpeakingReplacesTheText) {
    form->ShowVoiceWindow();
    SelectRow(0);
    Button(2)->click();
    Get<QTextEdit>("TextPad")->setPlainText("Second line\nthird line");
    Button(2)->click();
    EXPECT_EQ(form->Speech()->Text, (std::vector<std::string>{"Second line", "third line"}));
    EXPECT_TRUE(form->Speech()->Speaking());
}

TEST(VoiceWindowAccess, ShortcutOnTheMainWindowAndCommandLineSwitch) {
    AppContext ctx;
    QWidget mainWindow;
    TfrmMain voices(ctx);
    InstallVoiceWindowShortcut(&mainWindow, &voices);
    auto* shortcut = mainWindow.findChild<QShortcut*>();
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence("Ctrl+Shift+V"));
    emit shortcut->activated();
    EXPECT_TRUE(voices.isVisible());
    char prog[] = "vantrel", sw[] = "--voices", other[] = "--x";
    char* with[] = {prog, other, sw};
    char* without[] = {prog, other};
    EXPECT_TRUE(HasVoicesSwitch(3, with));
    EXPECT_FALSE(HasVoicesSwitch(2, without));
}

} // namespace

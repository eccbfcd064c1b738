// The checklist window driven through its panels, keys and buttons.
#include "window_test_support.h"

#include "app_context.h"
#include "core/profile_file.h"
#include "form7.h"
#include "voice/mspeech.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::test::MouseClick;
using vantrel::test::PressKey;

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0), kLime(0x00, 0xFF, 0x00), kYellow(0xFF, 0xFF, 0x00);

class ChecklistWindow : public ::testing::Test {
protected:
    void SetUp() override { path = dir.filePath("checklists.ini").toStdString(); }
    void TearDown() override {
        if (form && form->Speech()) form->Speech()->Stop();
    }

    void Create(const std::string& content) {
        WriteFileAtomically(path, content);
        form = std::make_unique<TForm7>(ctx, nullptr, path);
    }
    void CreateDefault() {
        Create("[settings]\nvoice=0\n[welcome]\n1=Welcome aboard.\n"
               "[ic]\n1=One\n2=Two\n3=Three\n"
               "[bs]\n1=Alpha\n2=Bravo\n4=Delta\n"
               "[bt]\n1=First\n2=chime.wav\n3=Third\n"
               "[te]\n1=Bye\n");
    }
    QLabel* Panel(const char* name) { return form->findChild<QLabel*>(name); }
    QColor Colour(const char* name) { return Panel(name)->palette().color(QPalette::Window); }
    std::string Spoken() {
        const auto& text = form->Speech()->Text;
        return text.empty() ? "" : text[0];
    }

    QTemporaryDir dir;
    std::string path;
    AppContext ctx;
    std::unique_ptr<TForm7> form;
};

TEST_F(ChecklistWindow, PanelsCarryTheirCaptionsAndHints) {
    CreateDefault();
    const char* const expected[][3] = {
        {"Panel2", "IC", "Initial checklist"}, {"Panel1", "BS", "Before start-up"},
        {"Panel4", "BT", "Before taxi"},       {"Panel5", "TO", "Take-off"},
        {"Panel10", "AT", "After take-off"},   {"Panel12", "CR", "Cruise"},
        {"Panel6", "DE", "Descent"},           {"Panel7", "BL", "Before landing"},
        {"Panel8", "AL", "After landing"},     {"Panel9", "SD", "Shutdown"},
        {"Panel11", "TE", "Terminate"},        {"Panel13", ">>", "Next item"},
        {"Panel14", "<<", "Last item"},        {"pnat", "SPD", "Hold Speed"},
        {"pnrev", "REV", "Reverse Thrust"},
    };
    for (const auto& row : expected) {
        ASSERT_NE(Panel(row[0]), nullptr) << row[0];
        EXPECT_EQ(Panel(row[0])->text(), row[1]);
        EXPECT_EQ(Panel(row[0])->toolTip(), row[2]);
        EXPECT_EQ(Colour(row[0]), kSilver) << row[0];
    }
    EXPECT_EQ(Panel("Panel3")->toolTip(), "L:Toggle main window; R:hide");
    EXPECT_EQ(Panel("Label8")->toolTip(), "Drag gauge");
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(ChecklistWindow, CreationWithAVoiceSpeaksTheWelcomeAndShows) {
    CreateDefault();
    EXPECT_FALSE(form->ChecklistsDisabled());
    EXPECT_FALSE(ctx.ChecklistsDisabled);
    EXPECT_EQ(ctx.ChecklistSpeech, form->Speech());
    ASSERT_NE(form->Speech(), nullptr);
    EXPECT_TRUE(form->Speech()->EngineSelected());
    EXPECT_EQ(Spoken(), "Welcome aboard.");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->CurrentChecklistPanel(), nullptr);
    auto* list = form->findChild<QListWidget*>("lbengines");
    EXPECT_EQ(list->count(), static_cast<int>(form->Speech()->Engines().size()));
    EXPECT_FALSE(list->isVisible());
}

TEST_F(ChecklistWindow, WeatherSentencesGoThroughTheChecklistSpeech) {
    CreateDefault();
    ASSERT_TRUE(ctx.speak);
    ctx.speak("Wind calm.");
    EXPECT_EQ(Spoken(), "Wind calm.");
    EXPECT_TRUE(form->Speech()->Speaking());
    form->DestroySpeech();
    EXPECT_FALSE(ctx.speak);
    EXPECT_EQ(ctx.ChecklistSpeech, nullptr);
}

TEST_F(ChecklistWindow, WithoutAFileEverythingStaysOffAndHidden) {
    form = std::make_unique<TForm7>(ctx, nullptr, path + ".missing");
    EXPECT_TRUE(form->ChecklistsDisabled());
    EXPECT_TRUE(ctx.ChecklistsDisabled);
    EXPECT_EQ(form->Speech(), nullptr);
    EXPECT_FALSE(ctx.speak); // the weather buttons stay but speak nothing
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(ctx.WeatherButtonsHidden);
    MouseClick(Panel("Panel2"));
    EXPECT_EQ(Colour("Panel2"), kLime); // the step speaks nothing and leaves the panel running
    EXPECT_EQ(form->ChecklistItem(), 1);
    form->ToggleChecklistWindow();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ChecklistWindow, BadFilesAreToldAndHideNothingThatStillWorks) {
    QWidget mainWindow;
    mainWindow.setObjectName("Form1");
    QPushButton origin("Origin", &mainWindow), dest("Dest", &mainWindow);
    origin.setObjectName("Button5");
    dest.setObjectName("Button511");
    mainWindow.show();
    std::vector<std::string> errors;
    ctx.dialogs.showError = [&](const std::string& text) { errors.push_back(text); };
    std::string noise;
    for (int i = 0; i < 600; ++i)
        noise += static_cast<char>((i * 7919 + 13) % 256);
    const std::string checklists = "[ic]\n1=One\n";
    // File content, what the message must say; the first voice speaks the welcome in each case.
    const std::pair<std::string, std::string> cases[] = {
        {noise, "holds no checklists"},
        {"[settings]\nvoice=-5\n[welcome]\n1=Hello\n" + checklists, "names voice \"-5\""},
    };
    for (const auto& [content, told] : cases) {
        errors.clear();
        Create(content);
        ASSERT_EQ(errors.size(), 1u) << told;
        EXPECT_NE(errors[0].find("\"" + path + "\""), std::string::npos) << errors[0];
        EXPECT_NE(errors[0].find(told), std::string::npos) << errors[0];
        EXPECT_FALSE(ctx.ChecklistsDisabled) << told;
        EXPECT_TRUE(form->isVisible()) << told;
        EXPECT_TRUE(form->Speech()->EngineSelected()) << told;
        EXPECT_EQ(form->Speech()->EngineInfo().ModeName, form->Speech()->Engines().front()) << told;
        EXPECT_FALSE(ctx.WeatherButtonsHidden) << told;
        EXPECT_FALSE(origin.isHidden() || dest.isHidden()) << told;
        form->Speech()->Stop();
        form.reset();
    }
}

TEST_F(ChecklistWindow, ThreeStepsSpeakTheItemsThenTheNextChecklistIsUp) {
    CreateDefault();
    MouseClick(Panel("Panel2"));
    EXPECT_EQ(Spoken(), "One");
    EXPECT_EQ(Colour("Panel2"), kLime);
    vantrel::test::SaveShot(form.get(), "form7-running");
    PressKey(form.get(), Qt::Key_Space);
    EXPECT_EQ(Spoken(), "Two");
    MouseClick(Panel("Panel13"));
    EXPECT_EQ(Spoken(), "Three");
    EXPECT_EQ(Colour("Panel2"), kSilver);
    EXPECT_EQ(Colour("Panel1"), kYellow);
    EXPECT_EQ(form->CurrentChecklistPanel(), nullptr);
    vantrel::test::SaveShot(form.get(), "form7-next-up");
    // Nothing runs now: space and the arrows do nothing.
    PressKey(form.get(), Qt::Key_Space);
    MouseClick(Panel("Panel14"));
    EXPECT_EQ(Spoken(), "Three");
    EXPECT_EQ(Colour("Panel1"), kYellow);
    // Starting the next checklist clears the yellow.
    MouseClick(Panel("Panel1"));
    EXPECT_EQ(Colour("Panel1"), kLime);
    EXPECT_EQ(Spoken(), "Alpha");
}

TEST_F(ChecklistWindow, GapEndsTheChecklistEarly) {
    CreateDefault();
    MouseClick(Panel("Panel1"));
    MouseClick(Panel("Panel13"));
    EXPECT_EQ(Spoken(), "Bravo");
    EXPECT_EQ(form->CurrentChecklistPanel(), nullptr);
    EXPECT_EQ(Colour("Panel4"), kYellow);
}

TEST_F(ChecklistWindow, BackSpeaksTheLastItemAgain) {
    CreateDefault();
    MouseClick(Panel("Panel2"));
    MouseClick(Panel("Panel13"));
    EXPECT_EQ(Spoken(), "Two");
    MouseClick(Panel("Panel14"));
    EXPECT_EQ(Spoken(), "Two");
    MouseClick(Panel("Panel13"));
    EXPECT_EQ(Spoken(), "Three");
}

TEST_F(ChecklistWindow, BackOnTheFirstItemDoesNothing) {
    CreateDefault();
    MouseClick(Panel("Panel2"));
    form->Speech()->SetText("marker");
    MouseClick(Panel("Panel14")); // item 2 is next: goes back to 1 and speaks it
    EXPECT_EQ(Spoken(), "One");
    form->Speech()->SetText("marker");
    MouseClick(Panel("Panel14")); // item 2 is next again after speaking 1
    EXPECT_EQ(Spoken(), "One");
    EXPECT_EQ(form->ChecklistItem(), 2);
}

TEST_F(ChecklistWindow, WaveItemIsASilentStepThatStillAdvances) {
    CreateDefault();
    MouseClick(Panel("Panel4"));
    EXPECT_EQ(Spoken(), "First");
    MouseClick(Panel("Panel13"));
    EXPECT_EQ(Spoken(), "First");
    EXPECT_EQ(form->ChecklistItem(), 3);
    MouseClick(Panel("Panel13"));
    EXPECT_EQ(Spoken(), "Third");
}

TEST_F(ChecklistWindow, MissingSectionKeepsThePanelRunningOnTheSameItem) {
    CreateDefault();
    MouseClick(Panel("Panel12")); // "cr" is not in the file
    EXPECT_EQ(Colour("Panel12"), kLime);
    EXPECT_EQ(form->CurrentChecklistPanel(), Panel("Panel12"));
    PressKey(form.get(), Qt::Key_Space);
    EXPECT_EQ(form->ChecklistItem(), 1);
    EXPECT_EQ(Spoken(), "Welcome aboard.");
}

TEST_F(ChecklistWindow, ClickingAnotherPanelRestartsFromItsFirstItem) {
    CreateDefault();
    MouseClick(Panel("Panel2"));
    MouseClick(Panel("Panel13"));
    MouseClick(Panel("Panel1"));
    EXPECT_EQ(Colour("Panel2"), kSilver);
    EXPECT_EQ(Colour("Panel1"), kLime);
    EXPECT_EQ(Spoken(), "Alpha");
    MouseClick(Panel("Panel2"));
    EXPECT_EQ(form->ChecklistItem(), 2);
    EXPECT_EQ(Spoken(), "One");
}

TEST_F(ChecklistWindow, LastChecklistWrapsRoundAndAnyClickClearsTheYellow) {
    CreateDefault();
    MouseClick(Panel("Panel11"));
    EXPECT_EQ(Spoken(), "Bye");
    EXPECT_EQ(Colour("Panel2"), kYellow);
    MouseClick(Panel("Panel5")); // not the one marked as next
    EXPECT_EQ(Colour("Panel2"), kSilver);
    EXPECT_EQ(Colour("Panel5"), kLime);
}

TEST_F(ChecklistWindow, Panel3TogglesTheMainWindowAndHidesThisOne) {
    CreateDefault();
    vantrel::test::SaveShot(form.get(), "form7-idle");
    QWidget mainWindow;
    mainWindow.setObjectName("Form1");
    mainWindow.show();
    MouseClick(Panel("Panel3"));
    EXPECT_FALSE(mainWindow.isVisible());
    MouseClick(Panel("Panel3"));
    EXPECT_TRUE(mainWindow.isVisible());
    MouseClick(Panel("Panel3"), Qt::RightButton);
    EXPECT_FALSE(form->isVisible());
    form->ToggleChecklistWindow();
    EXPECT_TRUE(form->isVisible());
    form->ToggleChecklistWindow();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ChecklistWindow, PositionComesFromTheStoredValuesOrTheMainWindow) {
    QWidget mainWindow, gauge;
    mainWindow.setObjectName("Form1");
    gauge.setObjectName("Form4");
    mainWindow.setGeometry(20, 50, 400, 300);
    gauge.resize(150, 100);
    CreateDefault();
    form->PlaceWindow(-999, -999);
    const QRect frame = mainWindow.frameGeometry();
    EXPECT_EQ(form->pos(), QPoint(frame.left() + frame.width() - 150 - 10, frame.top() + 265));
    form->PlaceWindow(321, 123);
    EXPECT_EQ(form->pos(), QPoint(321, 123));
    // A place off the screen (stored on a larger desktop) is pulled back onto it.
    form->PlaceWindow(5000, -5000);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(QRect(form->pos(), form->size()))) << form->x() << "," << form->y();
}

TEST_F(ChecklistWindow, SpeedHoldPanelsReportTheirClicks) {
    CreateDefault();
    int spd = 0, rev = 0;
    form->pnatClick = [&] { ++spd; };
    form->pnrevClick = [&] { ++rev; };
    MouseClick(Panel("pnat"));
    MouseClick(Panel("pnrev"));
    MouseClick(Panel("pnrev"));
    EXPECT_EQ(spd, 1);
    EXPECT_EQ(rev, 2);
    EXPECT_EQ(form->SpeedHoldPanel(), Panel("pnat"));
    EXPECT_EQ(form->ReverseThrustPanel(), Panel("pnrev"));
}

TEST(ShippedChecklistFile, WelcomesAndRunsTheInitialChecklist) {
    AppContext ctx;
    TForm7 form(ctx, nullptr, VANTREL_OUT_DIR "/checklists/checklists.ini");
    ASSERT_FALSE(form.ChecklistsDisabled());
    EXPECT_NE(form.Speech()->EngineInfo().ModeName.find("English"), std::string::npos);
    form.Panel2Click();
    EXPECT_EQ(form.Speech()->Text.at(0), "Initial checklist.");
    form.Speech()->Stop();
}

} // namespace

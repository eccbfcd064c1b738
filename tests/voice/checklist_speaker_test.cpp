#include "speech_test_support.h"
#include "voice/checklist_speaker.h"

#include "core/profile_file.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

class ChecklistItems : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.filePath("checklists.ini").toStdString();
        WriteFileAtomically(path, "[settings]\nvoice=0\npitch=70\nspeed=200\n"
                                  "[ic]\n1=First\n2=Second\n4=Fourth\n"
                                  "[bs]\n1=sounds\\Chime.WAV\n2=Last\n");
        speech.Select("Pilot");
        speech.SetText("before");
    }
    QTemporaryDir dir;
    std::string path;
    std::shared_ptr<test::FakeEngine> engine =
        std::make_shared<test::FakeEngine>(std::vector<VoiceDescription>{test::FakeVoice("Pilot")});
    TMSpeech speech{nullptr, engine, CreateSilentAudioOut};
};

TEST_F(ChecklistItems, SpeaksTheItemWithTheFilesVoiceSettings) {
    EXPECT_EQ(SpeakChecklistItem(&speech, false, path, "IC", 1), 1);
    EXPECT_EQ(speech.Text, std::vector<std::string>{"First"});
    EXPECT_EQ(speech.GetPitch(), 70);
    EXPECT_EQ(speech.GetSpeed(), 200u);
    EXPECT_EQ(speech.GetVolume(), 100);
}

TEST_F(ChecklistItems, GapEndsTheChecklist) {
    EXPECT_EQ(SpeakChecklistItem(&speech, false, path, "ic", 2), 0);
    EXPECT_EQ(SpeakChecklistItem(&speech, false, path, "ic", 3), -1);
}

TEST_F(ChecklistItems, WaveItemIsASilentStep) {
    EXPECT_EQ(SpeakChecklistItem(&speech, false, path, "bs", 1), 1);
    EXPECT_EQ(speech.Text, std::vector<std::string>{"before"});
    EXPECT_FALSE(speech.Speaking());
}

TEST_F(ChecklistItems, NothingSpokenWhenDisabledOrWithoutFileOrSection) {
    EXPECT_EQ(SpeakChecklistItem(&speech, true, path, "ic", 1), -1);
    EXPECT_EQ(SpeakChecklistItem(&speech, false, path + ".missing", "ic", 1), -1);
    EXPECT_EQ(SpeakChecklistItem(&speech, false, path, "zz", 1), -1);
    EXPECT_EQ(speech.Text, std::vector<std::string>{"before"});
}

TEST_F(ChecklistItems, NegativeStoredSettingsCountAsNotStored) {
    WriteFileAtomically(path, "[settings]\npitch=-1\nspeed=-1\n[ic]\n1=One\n");
    SpeakChecklistItem(&speech, false, path, "ic", 1);
    EXPECT_EQ(speech.GetPitch(), 62);
    EXPECT_EQ(speech.GetSpeed(), 145u);
}

TEST(ShippedChecklists, ElevenChecklistsAndTheWelcomeItem) {
    const ProfileFile file(VANTREL_SOURCE_DIR "/data/checklists/checklists.ini");
    EXPECT_EQ(file.ReadInteger("settings", "voice", -1), 0);
    EXPECT_FALSE(file.ReadString("welcome", "1", "").empty());
    for (const char* section : {"ic", "bs", "bt", "to", "at", "cr", "de", "bl", "al", "sd", "te"}) {
        EXPECT_FALSE(file.ReadString(section, "1", "").empty()) << section;
        EXPECT_FALSE(file.ReadString(section, "3", "").empty()) << section;
    }
}

} // namespace

// The speech component's contract: voices, selection, errors, settings and playback states.
#include "speech_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <thread>

using namespace vantrel;
using vantrel::test::FakeEngine;

namespace {

using vantrel::test::FakeVoice;

std::string ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const EMSpeechException& e) {
        return e.what();
    }
    return "";
}

TEST(SpeechEngines, InstalledVoicesListEnglishFirst) {
    TMSpeech speech;
    ASSERT_TRUE(speech.Initialized());
    ASSERT_GT(speech.Engines().size(), 5u);
    EXPECT_NE(speech.Engines()[0].find("English"), std::string::npos) << speech.Engines()[0];
    EXPECT_FALSE(speech.EngineSelected());
}

TEST(SpeechEngines, SelectIgnoresLetterCaseAndFillsTheEngineInfo) {
    TMSpeech speech;
    std::string name = speech.Engines()[0];
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    speech.Select(name);
    ASSERT_TRUE(speech.EngineSelected());
    const TMSpeechEngineInfo& info = speech.EngineInfo();
    EXPECT_EQ(info.ModeName, speech.Engines()[0]);
    EXPECT_EQ(info.ModeID.size(), 38u);
    EXPECT_EQ(info.ModeID.front(), '{');
    EXPECT_EQ(info.MaxPitch, 124);
    EXPECT_EQ(info.MinPitch, 0);
    EXPECT_EQ(info.MaxSpeed, 372u);
    EXPECT_EQ(info.MinSpeed, 67u);
    EXPECT_EQ(info.MaxVolume, 100u);
    EXPECT_EQ(info.MinVolume, 0u);
    EXPECT_EQ(info.Gender, "MALE");
    // The probes leave the voice's natural settings in place.
    EXPECT_EQ(speech.GetPitch(), 62);
    EXPECT_EQ(speech.GetSpeed(), 145u);
    EXPECT_EQ(speech.GetVolume(), 100);
}

TEST(SpeechEngines, UnknownNameRaisesNotFound) {
    TMSpeech speech;
    EXPECT_EQ(ErrorOf([&] { speech.Select("No such voice"); }), "Specified Speech Engine not found");
}

TEST(SpeechEngines, SpeakBeforeSelectRaisesNotSelected) {
    TMSpeech speech;
    EXPECT_EQ(ErrorOf([&] { speech.Speak(); }), "Speech Engine not selected");
}

TEST(SpeechEngines, MissingEngineRaisesNotInitialized) {
    auto engine = std::make_shared<FakeEngine>();
    engine->available = false;
    TMSpeech speech(nullptr, engine, CreateSilentAudioOut);
    EXPECT_FALSE(speech.Initialized());
    EXPECT_TRUE(speech.Engines().empty());
    EXPECT_EQ(ErrorOf([&] { speech.Select("any"); }), "Speech Engine not initialized");
    EXPECT_EQ(ErrorOf([&] { speech.Speak(); }), "Speech Engine not initialized");
    EXPECT_NO_THROW(speech.Pause());
    EXPECT_FALSE(speech.Paused());
}

TEST(SpeechEngines, EngineWithoutVoicesRaisesNotFound) {
    auto engine = std::make_shared<FakeEngine>();
    TMSpeech speech(nullptr, engine, CreateSilentAudioOut);
    EXPECT_TRUE(speech.Initialized());
    EXPECT_EQ(ErrorOf([&] { speech.Select("any"); }), "Specified Speech Engine not found");
}

TEST(SpeechEngines, DuplicateNamesSelectTheFirst) {
    auto engine = std::make_shared<FakeEngine>();
    engine->voices = {FakeVoice("Pilot", "first"), FakeVoice("Pilot", "second")};
    TMSpeech speech(nullptr, engine, CreateSilentAudioOut);
    speech.Output = TSpeechOutput::soFile;
    QTemporaryDir dir;
    speech.Filename = dir.filePath("a.wav").toStdString();
    speech.Select("pilot");
    speech.SetText("x");
    speech.Speak();
    ASSERT_TRUE(speech.WaitUntilDone(5000));
    ASSERT_EQ(engine->spokenWith.size(), 1u);
    EXPECT_EQ(engine->spokenWith[0], "first");
}

TEST(SpeechEngines, UnknownGenderLeavesGenderEmpty) {
    auto engine = std::make_shared<FakeEngine>();
    engine->voices = {FakeVoice("Odd", "odd", 3)};
    TMSpeech speech(nullptr, engine, CreateSilentAudioOut);
    speech.Select("Odd");
    EXPECT_EQ(speech.EngineInfo().Gender, "");
}

TEST(SpeechSettings, SettersQueueTagsThatTheGettersReflect) {
    auto engine = std::make_shared<FakeEngine>();
    engine->voices = {FakeVoice("Pilot", "p")};
    TMSpeech speech(nullptr, engine, CreateSilentAudioOut);
    speech.Select("Pilot");
    speech.SetVolume(50);
    EXPECT_EQ(speech.GetVolume(), 50); // 32768 * 100 / 65535
    speech.SetVolume(0);
    EXPECT_EQ(speech.GetVolume(), 0);
    speech.SetVolume(100);
    EXPECT_EQ(speech.GetVolume(), 100);
    speech.SetPitch(80);
    EXPECT_EQ(speech.GetPitch(), 80);
    speech.SetSpeed(200);
    EXPECT_EQ(speech.GetSpeed(), 200u);
    speech.SetSpeed(100000); // beyond the engine's range: kept at its fastest
    EXPECT_EQ(speech.GetSpeed(), 372u);
}

TEST(SpeechSettings, SettingsApplyToTheTextSpokenAfterThem) {
    auto engine = std::make_shared<FakeEngine>();
    engine->voices = {FakeVoice("Pilot", "p")};
    TMSpeech speech(nullptr, engine, CreateSilentAudioOut);
    speech.Output = TSpeechOutput::soFile;
    QTemporaryDir dir;
    speech.Filename = dir.filePath("a.wav").toStdString();
    speech.Select("Pilot");
    speech.SetVolume(50);
    speech.SetText("one\\Vol=65535\\two");
    speech.Speak();
    ASSERT_TRUE(speech.WaitUntilDone(5000));
    ASSERT_EQ(engine->lastSegments.size(), 2u);
    EXPECT_EQ(engine->lastSegments[0].text, "one");
    EXPECT_EQ(engine->lastSegments[0].volume, 50);
    EXPECT_EQ(engine->lastSegments[1].text, "two\r\n");
    EXPECT_EQ(engine->lastSegments[1].volume, 100);
}

class SpeechPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        speech.OnStart = [&](QObject*) { events += "start "; };
        speech.OnStop = [&](QObject*) { events += "stop "; };
        speech.Select("Pilot");
        speech.SetText(std::string(30, 'a')); // 30 x 100 samples at 8 kHz: 375 ms
    }
    void RunFor(int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::shared_ptr<FakeEngine> engine =
        std::make_shared<FakeEngine>(std::vector<VoiceDescription>{FakeVoice("Pilot", "p")});
    TMSpeech speech{nullptr, engine, CreateSilentAudioOut};
    std::string events;
};

TEST_F(SpeechPlayback, SpeakReturnsAtOnceAndPlaysToTheEnd) {
    const auto before = std::chrono::steady_clock::now();
    speech.Speak();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(100));
    EXPECT_TRUE(speech.Speaking());
    ASSERT_TRUE(speech.WaitUntilDone(5000));
    EXPECT_EQ(events, "start stop ");
    EXPECT_EQ(speech.WordPosition(), 0u);
}

TEST_F(SpeechPlayback, PauseHoldsTheAudioUntilResume) {
    speech.Speak();
    RunFor(100);
    speech.Pause();
    EXPECT_TRUE(speech.Paused());
    EXPECT_EQ(events, "start stop ");
    RunFor(600); // longer than the whole text: still not finished while paused
    EXPECT_TRUE(speech.Speaking());
    speech.Resume();
    EXPECT_FALSE(speech.Paused());
    ASSERT_TRUE(speech.WaitUntilDone(5000));
    EXPECT_EQ(events, "start stop start stop ");
}

TEST_F(SpeechPlayback, StopEndsTheSpeechAndClearsPaused) {
    speech.Speak();
    RunFor(50);
    speech.Pause();
    speech.Stop();
    EXPECT_FALSE(speech.Paused());
    EXPECT_FALSE(speech.Speaking());
    EXPECT_EQ(events, "start stop ");
}

TEST_F(SpeechPlayback, SpeakWhileSpeakingStartsTheNewText) {
    speech.Speak();
    RunFor(50);
    speech.SetText("bb");
    speech.Speak();
    ASSERT_TRUE(speech.WaitUntilDone(5000));
    EXPECT_EQ(engine->lastSegments.at(0).text, "bb\r\n");
    EXPECT_EQ(events, "start stop start stop ");
}

TEST(SpeechText, LinesJoinWithLineBreaksAndEmptyTextStaysEmpty) {
    auto engine = std::make_shared<FakeEngine>();
    engine->voices = {FakeVoice("Pilot", "p")};
    TMSpeech speech(nullptr, engine, CreateSilentAudioOut);
    speech.Select("Pilot");
    speech.SetText("one\r\ntwo\nthree");
    EXPECT_EQ(speech.Text, (std::vector<std::string>{"one", "two", "three"}));
    speech.Text.clear();
    speech.Speak();
    ASSERT_TRUE(speech.WaitUntilDone(5000));
    ASSERT_EQ(engine->lastSegments.size(), 1u);
    EXPECT_EQ(engine->lastSegments[0].text, "");
}

} // namespace

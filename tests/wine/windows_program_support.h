#pragma once
// Helpers for the tests of the Windows program (vantrel.exe, vantrel-cli.exe) under Wine.
#include "wine_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace vantrel::wine {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path);
// Root mean square of 16-bit little-endian samples.
double Rms(const std::string& pcm);
// Runs a shell command line; its exit status.
int Shell(const std::string& command);
std::string Quoted(const std::string& s);
// Polls until the condition holds; false when timeout_ms passed first.
bool WaitUntil(const std::function<bool()>& condition, int timeout_ms);
bool IsNumber(const std::string& text);

// What "vantrel.exe --report DIR" wrote for one link state (NAME=VALUE pairs), once the lamps
// show it (and, linked, the fuel on board has been loaded), or the last one seen after 90 s.
std::map<std::string, std::string> WaitForReport(const fs::path& dir, bool linked);
// Width and height in a PNG's header; zeros when the bytes are not a PNG.
std::pair<unsigned, unsigned> PngSize(const std::string& png);

// Settings in a program folder that point at a simulator installation made under root (its
// flights folder, the add-on's aircraft folder and FMS file), so that the program starts
// without asking about a missing simulator.
void WriteSimulatorSettings(const fs::path& programFolder, const fs::path& root);

// vantrel-winsim.exe (or the given build of it) started and ready, its weather set (the
// program links only once the simulator reports a pressure); null with a test failure when it
// does not start.
std::unique_ptr<Program> StartSimulatorWithWeather(const std::string& winsim = "vantrel-winsim.exe");

// A test with the Windows program built: a private copy of its folder (it writes its settings
// and flight log beside itself) and a private link folder.
class WindowsProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    fs::path dir_;
    fs::path program_;
};

// A PulseAudio daemon with a null sink in a private runtime folder; the Wine programs started
// while it lives play into it, and StartRecording captures its monitor.
class NullSink {
public:
    explicit NullSink(const fs::path& runtime);
    ~NullSink();
    bool Ready() const { return ready_; }
    void StartRecording();
    // What the sink played since StartRecording, as 16-bit mono samples at 22 050 Hz.
    std::string StopRecording();

private:
    fs::path runtime_;
    std::string previousRuntime_;
    std::unique_ptr<test::PipedChild> daemon_;
    std::unique_ptr<test::PipedChild> recorder_;
    bool ready_ = false;
};

} // namespace vantrel::wine

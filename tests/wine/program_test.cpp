// The Windows program and its command line, cross built against the Windows kit, run under Wine
// with the null graphics driver: the main window links to vantrel-winsim.exe through the Win32
// transport and sounds through a PulseAudio null sink; the command line prints the same ops flight
// plan as the native one and speaks into a wave file.
#include "windows_program_support.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace vantrel::wine {
namespace {

// The main window before and after the link: its own picture and what it shows, the OK cue
// through the sound server, and the settings saved when the window is closed.
TEST_F(WindowsProgramTest, TheMainWindowLinksToTheSimulatorSoundsAndSavesItsSettings) {
    NullSink sink(dir_ / "runtime");
    ASSERT_TRUE(sink.Ready()) << "pulseaudio did not start";
    const fs::path report = dir_ / "report";
    WriteSimulatorSettings(program_, dir_ / "fs9");
    Program main((program_ / "vantrel.exe").string(), {"--report", report.string()});
    std::unique_ptr<Program> simulator;
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "linked" : "unlinked");
        if (linked) {
            sink.StartRecording();
            simulator = StartSimulatorWithWeather();
            ASSERT_NE(simulator, nullptr);
        }
        auto shown = WaitForReport(report, linked);
        const std::string lamp = linked ? "00ff00" : "ff0000";
        EXPECT_EQ(shown["Panel2"], lamp);
        EXPECT_EQ(shown["Panel3"], lamp);
        EXPECT_EQ(shown["Edit1"] + " " + shown["Edit2"], "EDDH EHAM");
        EXPECT_NE(shown["title"], "");
        const auto [width, height] =
            PngSize(ReadAll(report / (linked ? "main-window-linked.png" : "main-window-unlinked.png")));
        EXPECT_EQ(std::to_string(width) + "x" + std::to_string(height),
                  shown["width"] + "x" + shown["height"]);
        EXPECT_GT(width, 400u);
        if (linked) {
            EXPECT_TRUE(IsNumber(shown["Edit28"])) << shown["Edit28"];
            // The OK cue has played by the time the tanks are loaded.
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            const std::string played = sink.StopRecording();
            EXPECT_GT(Rms(played), 100.0) << played.size() << " bytes recorded";
        }
    }
    // Closing the window as a user does (taskkill without /F sends WM_CLOSE) saves the settings.
    const fs::path settings = program_ / "vn-erj145.ini";
    ASSERT_EQ(ReadAll(settings).find("EDDH"), std::string::npos);
    EXPECT_EQ(Shell(std::string(VANTREL_WINE) + " taskkill /im vantrel.exe >/dev/null 2>&1"), 0);
    EXPECT_EQ(main.Wait(60000), 0);
    EXPECT_NE(ReadAll(settings).find("EDDH"), std::string::npos);
}

// FS2004's interface module is 32-bit: the 64-bit program links to the 32-bit stand-in.
TEST_F(WindowsProgramTest, TheMainWindowLinksToTheThirtyTwoBitStandIn) {
    const fs::path report = dir_ / "report";
    WriteSimulatorSettings(program_, dir_ / "fs9");
    Program main((program_ / "vantrel.exe").string(), {"--report", report.string()});
    auto simulator = StartSimulatorWithWeather(ThirtyTwoBit("vantrel-winsim.exe"));
    ASSERT_NE(simulator, nullptr);
    auto shown = WaitForReport(report, true);
    EXPECT_EQ(shown["Panel2"], "00ff00");
    EXPECT_EQ(shown["Panel3"], "00ff00");
    EXPECT_TRUE(IsNumber(shown["Edit28"])) << shown["Edit28"];
    EXPECT_EQ(Shell(std::string(VANTREL_WINE) + " taskkill /im vantrel.exe >/dev/null 2>&1"), 0);
    EXPECT_EQ(main.Wait(60000), 0);
}

// The command line's ops flight plan page holds the same rows as the native program's.
TEST_F(WindowsProgramTest, TheCommandLinePrintsTheSamePlanAsTheNativeOne) {
    const std::vector<std::string> edits = {"--edit", "Edit2=LSZH", "--edit", "Edit13=42"};
    std::string nativeCommand = Quoted(std::string(VANTREL_OUT_DIR) + "/vantrel-cli") +
                                " plan --program-dir " + Quoted(VANTREL_OUT_DIR);
    for (const std::string& e : edits)
        nativeCommand += " " + e;
    const fs::path native = dir_ / "native.pdf";
    const fs::path windows = dir_ / "windows.pdf";
    ASSERT_EQ(Shell(nativeCommand + " --print-pdf " + Quoted(native.string()) + " >/dev/null"), 0);
    std::vector<std::string> args = {"plan", "--program-dir", program_.string()};
    args.insert(args.end(), edits.begin(), edits.end());
    args.insert(args.end(), {"--print-pdf", windows.string()});
    Program cli((program_ / "vantrel-cli.exe").string(), args);
    cli.Line(120000);
    EXPECT_EQ(cli.Wait(120000), 0) << cli.Output();
    const auto text = [](const fs::path& pdf) {
        const fs::path txt = pdf.string() + ".txt";
        EXPECT_EQ(Shell("pdftotext -layout " + Quoted(pdf.string()) + " " + Quoted(txt.string())), 0);
        return ReadAll(txt);
    };
    // Row by row, word by word: the spaces between columns follow each system's font metrics.
    const auto rows = [&text](const fs::path& pdf) {
        std::vector<std::string> found;
        std::istringstream in(text(pdf));
        for (std::string line; std::getline(in, line);) {
            std::string row;
            for (const std::string& word : Words(line))
                row += (row.empty() ? "" : " ") + word;
            found.push_back(row);
        }
        return found;
    };
    const std::vector<std::string> expected = rows(native);
    ASSERT_GT(expected.size(), 10u);
    EXPECT_EQ(expected[3], "Dest LSZH 412 189 350 01:12");
    EXPECT_EQ(rows(windows), expected);
}

// Speech from the engine shipped beside the program, found there and not at a build path.
TEST_F(WindowsProgramTest, TheCommandLineSpeaksIntoANonSilentWave) {
    Program voices((program_ / "vantrel-cli.exe").string(), {"voices"});
    voices.Line(60000);
    EXPECT_EQ(voices.Wait(60000), 0);
    EXPECT_NE(voices.Output().find("English"), std::string::npos) << voices.Output();
    const fs::path wave = dir_ / "spoken.wav";
    Program speak((program_ / "vantrel-cli.exe").string(),
                  {"speak", "--voice", "0", "--out", wave.string(), "Flaps fifteen, gear down"});
    speak.Line(60000);
    EXPECT_EQ(speak.Wait(60000), 0) << speak.Output();
    const std::string bytes = ReadAll(wave);
    ASSERT_GT(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    const std::size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    // More than a second of speech at 22 050 Hz, and loud.
    EXPECT_GT(bytes.size() - data - 8, 22050u * 2);
    EXPECT_GT(Rms(bytes.substr(data + 8)), 500.0);
}

} // namespace
} // namespace vantrel::wine

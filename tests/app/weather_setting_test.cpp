// The weather address of the settings file, read at start-up by the real program and used by
// the main window's weather buttons.
#include "app_fixture.h"
#include "application.h"
#include "form1.h"

#include "../voice/http_test_server.h"
#include "support/event_loop.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <fstream>

TEST(WeatherSetting, TheButtonsFetchFromTheAddressTheSettingsName) {
    vantrel::testing::TestHttpServer server{[](const vantrel::testing::SeenRequest&) {
        return vantrel::testing::TestHttpServer::Ok(
            "2026/12/09 11:50\nEHAM 091150Z 24015KT 9999 12/09 Q1013\n");
    }};
    ASSERT_TRUE(server.Start());
    RecordingWave wave;
    vantrel::Application program{&wave};
    Recorder recorder;
    recorder.Install(program.Context());
    QTemporaryDir dir;
    CopyShippedData(dir.path().toStdString());
    const std::string url = server.Base().toStdString() + "/metar/%1.TXT";
    std::ofstream(dir.path().toStdString() + "/vn-erj145.ini", std::ios::binary)
        << "[Weather]\r\nUrl=" << url;
    ASSERT_TRUE(program.CreateWindows(dir.path().toStdString() + "/"));
    EXPECT_EQ(program.Context().weather.Url, url);
    std::vector<std::string> spoken;
    program.Context().speak = [&spoken](const std::string& sentence) { spoken.push_back(sentence); };
    // The click returns at once; the report is spoken when the reply has come in.
    program.Context().windows.Form1->findChild<QPushButton*>("Button511")->click();
    EXPECT_TRUE(spoken.empty());
    ASSERT_TRUE(vantrel::test::RunUntil([&] { return !spoken.empty(); }, 5000));
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests[0].path, "/metar/EHAM.TXT");
}

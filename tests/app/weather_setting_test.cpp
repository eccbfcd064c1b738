// The weather address of the settings file, read at start-up by the real program and used by
// the main window's weather buttons for every request.
#include "app_fixture.h"
#include "application.h"
#include "form1.h"

#include "../voice/http_test_server.h"
#include "voice/weather_source.h"

#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using vantrel::testing::SeenRequest;
using vantrel::testing::TestHttpServer;

TEST(WeatherSetting, TheButtonsFetchFromTheAddressTheSettingsName) {
    TestHttpServer server{[](const SeenRequest&) {
        return TestHttpServer::Ok("2026/12/09 11:50\nEHAM 091150Z 24015KT 9999 FEW012 12/09 Q1013\n");
    }};
    ASSERT_TRUE(server.Start());
    const std::string local = server.Base().toStdString() + "/metar/%1.TXT";
    struct Case {
        const char* what;
        const char* settings; // the [Weather] section as stored
        std::string url;      // the address in use afterwards
    } cases[] = {{"named", "[Weather]\r\nUrl=", local},
                 {"empty", "[Weather]\r\nUrl=\r\n", vantrel::kDefaultWeatherUrl},
                 {"missing", "[Route]\r\nDest=EHAM\r\n", vantrel::kDefaultWeatherUrl}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingWave wave;
        vantrel::Application program{&wave};
        Recorder recorder;
        recorder.Install(program.Context());
        QTemporaryDir dir;
        CopyShippedData(dir.path().toStdString());
        std::string settings = c.settings;
        if (c.url == local) settings += local + "\r\n";
        std::ofstream(dir.path().toStdString() + "/vn-erj145.ini", std::ios::binary) << settings;
        ASSERT_TRUE(program.CreateWindows(dir.path().toStdString() + "/"));
        EXPECT_EQ(program.Context().weather.Url, c.url);
        if (c.url != local) continue;
        auto* dest = program.Context().windows.Form1->findChild<QPushButton*>("Button511");
        ASSERT_NE(dest, nullptr);
        dest->click();
        ASSERT_EQ(server.requests.size(), 1u);
        EXPECT_EQ(server.requests[0].path, "/metar/EHAM.TXT");
    }
}

} // namespace

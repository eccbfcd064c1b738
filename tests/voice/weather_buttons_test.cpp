#include "voice/weather_buttons.h"

#include "core/profile_file.h"
#include "voice/http_fetcher.h"
#include "voice/weather_source.h"

#include "http_test_server.h"
#include "support/event_loop.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using testing::SeenRequest;
using testing::TestHttpServer;

QByteArray ReplyFor(const QByteArray& station) {
    return "2026/12/08 15:50\n" + station + " 081550Z 24015KT 9999 FEW012 12/09 Q1013\n";
}

// A loopback METAR server, an airport name file and a clock the test moves by hand.
class WeatherButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        icao = dir.filePath("icao.vn").toStdString();
        std::ofstream(icao, std::ios::binary) << "EGLL London Heathrow\r\n"
                                                 "KJFK New York Kennedy\r\n"
                                                 "LFPG Paris Charles de Gaulle\r\n";
        state.Url = (server.Base() + "/metar/%1.TXT").toStdString();
        fetcher.SetLimits({300ms, 64 * 1024, 15});
    }

    WeatherButtons MakeButtons() {
        return WeatherButtons(
            state,
            [this](const std::string& url, WeatherButtons::FetchDone done) {
                state.ReplyText.clear();
                fetcher.Start(QString::fromStdString(url), [this, done](const HttpResult& r) {
                    if (r.Ok()) state.ReplyText = r.body.toStdString();
                    done(r.Ok());
                });
            },
            [this] { return now; });
    }

    // One press, run to its end: the sentence spoken, or nothing.
    std::optional<std::string> Press(WeatherButtons& b, WeatherButton which, const std::string& station) {
        bool ended = false;
        std::optional<std::string> said;
        b.Press(
            which, station, icao, [this](const std::string& s) { spoken.push_back(s); },
            [&](const std::optional<std::string>& sentence, std::exception_ptr) {
                ended = true;
                said = sentence;
            });
        test::RunUntil([&] { return ended || !b.Pressing(); }, 5000);
        return said;
    }

    std::map<QByteArray, int> status; // station -> status to answer, 200 when absent
    TestHttpServer server{[this](const SeenRequest& r) {
        const QByteArray station = r.path.mid(7, r.path.size() - 11); // "/metar/" + code + ".TXT"
        const int code = status.count(station) ? status[station] : 200;
        if (code == 0) return testing::Answer{};
        if (code != 200) return TestHttpServer::Status(code, "Failed");
        return TestHttpServer::Ok(ReplyFor(station));
    }};
    QTemporaryDir dir;
    std::string icao;
    WeatherState state;
    HttpFetcher fetcher;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::time_point(1765200000s);
    std::vector<std::string> spoken;
};

TEST_F(WeatherButtonsTest, FirstPressFetchesAndSpeaksWithTheAirportName) {
    WeatherButtons b = MakeButtons();
    const auto s = Press(b, WeatherButton::Origin, "EGLL");
    ASSERT_TRUE(s);
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests[0].path, "/metar/EGLL.TXT");
    ASSERT_EQ(spoken.size(), 1u);
    EXPECT_EQ(spoken[0], *s);
    EXPECT_EQ(s->rfind("this is london heathrow airport information", 0), 0u);
}

TEST_F(WeatherButtonsTest, ReusesTheSlotForFifteenWholeMinutes) {
    WeatherButtons b = MakeButtons();
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    now += 15min + 59s;
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    EXPECT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(spoken.size(), 2u);
    now += 1s; // 16 whole minutes after the fetch
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    EXPECT_EQ(server.requests.size(), 2u);
}

TEST_F(WeatherButtonsTest, ClockGoingBackCountsItsDistance) {
    WeatherButtons b = MakeButtons();
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    now -= 10min;
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    EXPECT_EQ(server.requests.size(), 1u);
    now -= 7min; // 17 minutes before the fetch
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    EXPECT_EQ(server.requests.size(), 2u);
}

TEST_F(WeatherButtonsTest, AnotherStationFetchesAtOnce) {
    WeatherButtons b = MakeButtons();
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    now += 1min;
    const auto s = Press(b, WeatherButton::Origin, "KJFK");
    ASSERT_TRUE(s);
    EXPECT_EQ(server.requests.size(), 2u);
    EXPECT_NE(s->find("new york kennedy"), std::string::npos);
}

TEST_F(WeatherButtonsTest, ButtonsKeepSeparateSlots) {
    WeatherButtons b = MakeButtons();
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    ASSERT_TRUE(Press(b, WeatherButton::Dest, "KJFK"));
    EXPECT_EQ(server.requests.size(), 2u);
    // The origin slot still holds its own station's reply and is reused.
    const auto origin = Press(b, WeatherButton::Origin, "EGLL");
    ASSERT_TRUE(origin);
    EXPECT_EQ(server.requests.size(), 2u);
    EXPECT_EQ(origin->rfind("this is london heathrow", 0), 0u);
    // The same station on another button has a slot of its own.
    ASSERT_TRUE(Press(b, WeatherButton::Altn, "EGLL"));
    EXPECT_EQ(server.requests.size(), 3u);
}

TEST_F(WeatherButtonsTest, AFailedRequestSpeaksNothingAndIsNotCached) {
    WeatherButtons b = MakeButtons();
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    status["LFPG"] = 404;
    EXPECT_FALSE(Press(b, WeatherButton::Origin, "LFPG"));
    EXPECT_EQ(spoken.size(), 1u);
    EXPECT_TRUE(state.ReplyText.empty());
    status["LFPG"] = 200;
    const auto s = Press(b, WeatherButton::Origin, "LFPG");
    ASSERT_TRUE(s);
    EXPECT_EQ(server.requests.size(), 3u);
    EXPECT_NE(s->find("paris"), std::string::npos);
}

TEST_F(WeatherButtonsTest, AServerErrorOrSilenceNeverSpeaksTheLastReply) {
    WeatherButtons b = MakeButtons();
    ASSERT_TRUE(Press(b, WeatherButton::Origin, "EGLL"));
    status["KJFK"] = 500;
    EXPECT_FALSE(Press(b, WeatherButton::Dest, "KJFK"));
    status["KJFK"] = 0; // never answers
    EXPECT_FALSE(Press(b, WeatherButton::Dest, "KJFK"));
    EXPECT_EQ(spoken.size(), 1u);
}

// The press returns at once and goes on when the reply is there; a press meanwhile is ignored.
TEST_F(WeatherButtonsTest, APressGoesOnWhenTheReplyArrives) {
    WeatherButtons b = MakeButtons();
    int ended = 0;
    b.Press(
        WeatherButton::Origin, "EGLL", icao, [this](const std::string& s) { spoken.push_back(s); },
        [&](const std::optional<std::string>&, std::exception_ptr) { ++ended; });
    EXPECT_TRUE(b.Pressing());
    EXPECT_TRUE(spoken.empty());
    b.Press(WeatherButton::Dest, "KJFK", icao, {},
            [&](const std::optional<std::string>&, std::exception_ptr) { ++ended; });
    ASSERT_TRUE(test::RunUntil([&] { return ended > 0; }, 5000));
    test::RunEventsFor(50);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(spoken.size(), 1u);
    EXPECT_EQ(server.requests.size(), 1u);
}

TEST_F(WeatherButtonsTest, OnlyStationCodesReachTheUrl) {
    WeatherButtons b = MakeButtons();
    for (const char* bad : {"", "EG", "EGLLX", "EG L", " EGL", "EG/L", "..", "EG%2", "EGL?", "EGL\n", "ÉGL"})
        EXPECT_FALSE(Press(b, WeatherButton::Origin, bad)) << bad;
    EXPECT_TRUE(server.requests.empty());
    Press(b, WeatherButton::Origin, "k1x"); // a three-letter reply fails the validity test
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests.back().path, "/metar/k1x.TXT");
}

TEST_F(WeatherButtonsTest, StationMissingFromTheNameFileHasAnEmptyName) {
    WeatherButtons b = MakeButtons();
    const auto s = Press(b, WeatherButton::Origin, "EDDF");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->rfind("this is  airport information", 0), 0u);
    EXPECT_EQ(s->find("paris"), std::string::npos);
}

TEST_F(WeatherButtonsTest, MissingNameFileIsNoError) {
    icao = dir.filePath("nowhere/icao.vn").toStdString();
    WeatherButtons b = MakeButtons();
    const auto s = Press(b, WeatherButton::Origin, "EGLL");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->rfind("this is  airport information", 0), 0u);
}

TEST_F(WeatherButtonsTest, InvalidReplyIsSilent) {
    WeatherButtons b = MakeButtons();
    TestHttpServer crlf([](const SeenRequest&) {
        return TestHttpServer::Ok("2026/12/08 15:50\r\nEGLL 081550Z 24015KT 9999 FEW012 12/09 Q1013\r\n");
    });
    ASSERT_TRUE(crlf.Start());
    state.Url = (crlf.Base() + "/%1").toStdString();
    EXPECT_FALSE(Press(b, WeatherButton::Origin, "EGLL"));
    EXPECT_TRUE(spoken.empty());
    EXPECT_EQ(crlf.requests.size(), 1u);
}

TEST(WeatherSource, NameLookUpComparesTheFirstFourCharactersExactly) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("icao.vn").toStdString();
    std::ofstream(path, std::ios::binary) << "egll lower case\nEGLL London\nLFP three\nLFP\nKJFK";
    EXPECT_EQ(FindAirportLine(path, "EGLL"), "EGLL London");
    EXPECT_EQ(FindAirportLine(path, "egll"), "egll lower case");
    EXPECT_EQ(FindAirportLine(path, "LFP"), "LFP");
    EXPECT_EQ(FindAirportLine(path, "KJFK"), "KJFK");
    EXPECT_EQ(FindAirportLine(path, "XXXX"), "");
}

TEST(WeatherSource, UrlSettingWithDefault) {
    QTemporaryDir dir;
    ProfileFile ini(dir.filePath("vn-erj145.ini").toStdString());
    EXPECT_EQ(LoadWeatherUrl(ini), "https://tgftp.nws.noaa.gov/data/observations/metar/stations/%1.TXT");
    SaveWeatherUrl(ini, "http://127.0.0.1:8080/m/%1.TXT");
    EXPECT_EQ(LoadWeatherUrl(ini), "http://127.0.0.1:8080/m/%1.TXT");
    EXPECT_EQ(ini.ReadString("Weather", "Url", ""), "http://127.0.0.1:8080/m/%1.TXT");
    SaveWeatherUrl(ini, "");
    EXPECT_EQ(LoadWeatherUrl(ini), kDefaultWeatherUrl);
    EXPECT_EQ(WeatherUrlFor("http://h/%1/%1.TXT", "EGLL"), "http://h/EGLL/EGLL.TXT");
}

} // namespace
} // namespace vantrel

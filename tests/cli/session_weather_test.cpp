// The weather buttons in vantrel-cli session: the report fetched from the address the settings
// name (a server of the test's own), spoken through the checklist window's speech, and reused
// for a quarter of an hour.
#include "cli_sandbox.h"

#include "../voice/http_test_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>

#include <fstream>

#include <gtest/gtest.h>

namespace {

using vantrel::testing::SeenRequest;
using vantrel::testing::TestHttpServer;
using vantrel::test::EnsureApplication;

TEST(CliSessionWeather, ButtonsSpeakTheReportOfTheirAirportAndReuseIt) {
    EnsureApplication();
    TestHttpServer server([](const SeenRequest& r) {
        if (r.path != "/metar/EHAM.TXT") return TestHttpServer::Status(404, "Not Found");
        return TestHttpServer::Ok("2026/12/09 11:50\nEHAM 091150Z 24015KT 9999 FEW012 12/09 Q1013\n");
    });
    ASSERT_TRUE(server.Start());
    vantrel::test::CliSandbox box;
    ASSERT_TRUE(QDir().mkpath(box.Program() + "/checklists"));
    std::ofstream(box.Program().toStdString() + "/checklists/checklists.ini")
        << "[settings]\nvoice=0\n[welcome]\n1=Hello\n";
    std::ofstream(box.Program().toStdString() + "/vn-erj145.ini")
        << "[Weather]\r\nUrl=" << server.Base().toStdString() << "/metar/%1.TXT\r\n";
    const struct {
        const char* command;
        bool spoken;
    } cases[] = {
        {"edit Edit2=EHAM", false},
        {"click Button511", true},
        {"click Button511", true}, // a report younger than 16 minutes is spoken again, not fetched
        {"edit Edit1=EGLL", false},
        {"click Button5", false}, // the server has no report: nothing spoken, nothing cached
        {"advance 1000", false},
        {"click Button511", true}, // a quarter of an hour later it is fetched afresh
        {"click Button11", false}, // the alternate (EHRD at start) has no report either
    };
    QStringList commands;
    for (const auto& c : cases)
        commands << c.command;
    const auto lines = box.RunSession({"--now", "2026-12-09T12:00:00", "--utc-bias", "0"}, commands);
    ASSERT_EQ(lines.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const QJsonArray spoken = lines[i + 1]["spoken"].toArray();
        EXPECT_EQ(!spoken.isEmpty(), cases[i].spoken) << cases[i].command;
        if (cases[i].spoken) {
            EXPECT_TRUE(spoken[0].toString().startsWith("this is ")) << spoken[0].toString().toStdString();
        }
        EXPECT_TRUE(lines[i + 1]["errors"].toArray().isEmpty()) << cases[i].command;
    }
    std::vector<std::string> paths;
    for (const SeenRequest& r : server.requests)
        paths.push_back(r.path.toStdString());
    EXPECT_EQ(paths, (std::vector<std::string>{"/metar/EHAM.TXT", "/metar/EGLL.TXT", "/metar/EHAM.TXT",
                                               "/metar/EHRD.TXT"}));
}

} // namespace

#include "fogenhttp.h"

#include "app_context.h"
#include "planning/flight_plan.h"
#include "weather_buttons.h"

#include "../voice/http_test_server.h"
#include "support/event_loop.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using testing::SeenRequest;
using testing::TestHttpServer;

const QByteArray kReply = "2026/12/08 15:50\nEGLL 081550Z 24015KT 9999 FEW012 12/09 Q1013\n";

template <typename T> T* Child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

class FoGenHttpTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Start()); }

    // One GET run to its end; true when the reply text holds the new body.
    static bool Fetch(TfoGenHTTP& w, const QString& url) {
        std::optional<bool> ok;
        w.FetchUrl(url, [&ok](bool result) { ok = result; });
        test::RunUntil([&ok] { return ok.has_value(); }, 10000);
        return ok.value_or(false);
    }

    std::map<QByteArray, int> status;
    TestHttpServer server{[this](const SeenRequest& r) {
        const int code = status.count(r.path) ? status[r.path] : 200;
        if (code == 0) return testing::Answer{};
        if (code != 200) return TestHttpServer::Status(code, "Failed");
        return TestHttpServer::Ok(r.path == "/big" ? QByteArray(40000, 'b') : kReply);
    }};
    AppContext ctx;
};

TEST_F(FoGenHttpTest, ControlsAndDefaults) {
    TfoGenHTTP w(ctx);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Child<QPushButton>(w, "bnGET")->text(), "GET");
    EXPECT_EQ(Child<QPushButton>(w, "bnHide")->text(), "HIDE");
    EXPECT_EQ(Child<QLineEdit>(w, "edProto")->text(), "proto.txt");
    EXPECT_TRUE(Child<QLineEdit>(w, "edURL")->text().isEmpty());
    EXPECT_EQ(Child<QCheckBox>(w, "cbCreate")->text(), "Show on create");
    EXPECT_EQ(Child<QCheckBox>(w, "cbShow")->text(), "Show on run");
    EXPECT_EQ(Child<QCheckBox>(w, "cbHide")->text(), "Hide when completed");
    EXPECT_EQ(Child<QCheckBox>(w, "cbProto")->text(), "Create protocol");
    for (const char* cb : {"cbCreate", "cbShow", "cbHide", "cbProto"})
        EXPECT_FALSE(Child<QCheckBox>(w, cb)->isChecked());
    EXPECT_EQ(Child<QProgressBar>(w, "ProgressBar1")->maximum(), 100);
}

TEST_F(FoGenHttpTest, FetchUrlFillsTheReplyTextAndEdUrl) {
    TfoGenHTTP w(ctx);
    const QString url = server.Base() + "/EGLL.TXT";
    EXPECT_TRUE(Fetch(w, url));
    EXPECT_EQ(Child<QLineEdit>(w, "edURL")->text(), url);
    EXPECT_EQ(ctx.weather.ReplyText, kReply.toStdString());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FoGenHttpTest, TheGetButtonRunsTheRequestInEdUrl) {
    TfoGenHTTP w(ctx);
    Child<QLineEdit>(w, "edURL")->setText(server.Base() + "/clicked");
    Child<QPushButton>(w, "bnGET")->click();
    test::RunUntil([&] { return !w.http1().Busy(); }, 5000);
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests[0].path, "/clicked");
    EXPECT_EQ(ctx.weather.ReplyText, kReply.toStdString());
}

TEST_F(FoGenHttpTest, AFailedRequestLeavesNoEarlierReply) {
    TfoGenHTTP w(ctx);
    ASSERT_TRUE(Fetch(w, server.Base() + "/ok"));
    status["/missing"] = 404;
    EXPECT_FALSE(Fetch(w, server.Base() + "/missing"));
    EXPECT_TRUE(ctx.weather.ReplyText.empty());
}

TEST_F(FoGenHttpTest, ShowAndHideOptions) {
    TfoGenHTTP w(ctx);
    Child<QCheckBox>(w, "cbShow")->setChecked(true);
    ASSERT_TRUE(Fetch(w, server.Base() + "/ok"));
    EXPECT_TRUE(w.isVisible());
    Child<QCheckBox>(w, "cbHide")->setChecked(true);
    status["/fail"] = 500;
    EXPECT_FALSE(Fetch(w, server.Base() + "/fail"));
    EXPECT_TRUE(w.isVisible()); // not hidden after a failure
    ASSERT_TRUE(Fetch(w, server.Base() + "/ok"));
    EXPECT_FALSE(w.isVisible());
    w.show();
    Child<QPushButton>(w, "bnHide")->click();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(FoGenHttpTest, ProtocolFileIsCreatedEmptyOrStopsTheRequest) {
    QTemporaryDir dir;
    TfoGenHTTP w(ctx);
    Child<QCheckBox>(w, "cbProto")->setChecked(true);
    const QString proto = dir.filePath("proto.txt");
    Child<QLineEdit>(w, "edProto")->setText(proto);
    ASSERT_TRUE(Fetch(w, server.Base() + "/ok"));
    ASSERT_TRUE(QFile::exists(proto));
    EXPECT_EQ(QFile(proto).size(), 0);
    // An existing file is opened for appending and keeps its content.
    {
        QFile f(proto);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    ASSERT_TRUE(Fetch(w, server.Base() + "/ok"));
    EXPECT_EQ(QFile(proto).size(), 4);
    // A protocol file that cannot be opened: no request at all.
    Child<QLineEdit>(w, "edProto")->setText(dir.filePath("no/such/folder/proto.txt"));
    const auto before = server.requests.size();
    EXPECT_FALSE(Fetch(w, server.Base() + "/ok"));
    EXPECT_EQ(server.requests.size(), before);
}

TEST_F(FoGenHttpTest, ProgressBarFollowsTheTransferAndEndsAtZero) {
    TfoGenHTTP w(ctx);
    QProgressBar* bar = Child<QProgressBar>(w, "ProgressBar1");
    std::vector<int> values;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
    ASSERT_TRUE(Fetch(w, server.Base() + "/big"));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->maximum(), 40000);
    ASSERT_FALSE(values.empty());
    EXPECT_NE(std::find(values.begin(), values.end(), 40000), values.end());
}

TEST_F(FoGenHttpTest, TimeOutEndsTheRequest) {
    TfoGenHTTP w(ctx);
    w.http1().SetLimits({200ms, 64 * 1024, 15});
    status["/silent"] = 0;
    EXPECT_FALSE(Fetch(w, server.Base() + "/silent"));
}

TEST_F(FoGenHttpTest, WeatherButtonsSpeakThroughTheContext) {
    QTemporaryDir dir;
    FlightPlan plan;
    plan.paths.ProgramDir = (dir.path() + "/").toStdString();
    QDir(dir.path()).mkpath("airports");
    std::ofstream(dir.filePath("airports/icao.vn").toStdString()) << "EGLL London Heathrow\n";
    ctx.plan = &plan;
    TfoGenHTTP http(ctx);
    ctx.windows.foGenHTTP = &http;
    ctx.weather.Url = (server.Base() + "/%1.TXT").toStdString();
    std::vector<std::string> spoken;
    ctx.speak = [&](const std::string& s) { spoken.push_back(s); };
    auto now = std::chrono::system_clock::time_point(1765200000s);
    WeatherButtonHandler handler(ctx, [&] { return now; });

    try {
        plan.SetText(EditField(2), "EGLL");
    } catch (const std::exception&) {
        // the plan's own ripple may want files this test does not provide; the text is set
    }
    ASSERT_EQ(plan.Text(EditField(2)), "EGLL");
    handler.Button511Click(WeatherButton::Dest);
    EXPECT_TRUE(spoken.empty()); // the click returns at once; the report follows its reply
    test::RunUntil([&] { return !spoken.empty(); }, 5000);
    ASSERT_EQ(spoken.size(), 1u);
    EXPECT_EQ(spoken[0].rfind("this is london heathrow airport information", 0), 0u);
    EXPECT_EQ(server.requests.back().path, "/EGLL.TXT");
    handler.Button511Click(WeatherButton::Dest);
    EXPECT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(spoken.size(), 2u);
    // No speech component: nothing is spoken and nothing fails.
    ctx.speak = nullptr;
    handler.Button511Click(WeatherButton::Dest);
    EXPECT_EQ(spoken.size(), 2u);
}

} // namespace
} // namespace vantrel

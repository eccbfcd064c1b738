// Measurements, not tests (run by scripts/measure-stalled-clicks.sh): with the simulator stopped,
// clicks through the window system, each timed from the click to what the pilot sees of it;
// prints the median and the maximum.
#include "desktop_fixture.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using vantrel::test::DesktopProgram;
using vantrel::test::RunUntil;

void Print(const char* what, std::vector<qint64> ms) {
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    const double median = n % 2 ? double(ms[n / 2]) : (ms[n / 2 - 1] + ms[n / 2]) / 2.0;
    std::printf("%s with the simulator stopped: %zu, median %.1f ms, maximum %lld ms\n", what, n, median,
                static_cast<long long>(ms.back()));
}

class StalledClicks : public DesktopProgram {
protected:
    // Clicks `count` times on the widget; each is timed until `seen` holds.
    std::vector<qint64> Time(QWidget* widget, int count, const std::function<bool()>& seen,
                             const std::function<void()>& before = {}) {
        const QPoint at = widget->mapToGlobal(QPoint(widget->width() / 2, widget->height() / 2));
        XDoTool({"mousemove", QString::number(at.x()), QString::number(at.y())});
        std::vector<qint64> ms;
        for (int i = 0; i < count; ++i) {
            if (before) before();
            QElapsedTimer clicked;
            clicked.start();
            QProcess::startDetached("xdotool", {"click", "1"});
            EXPECT_TRUE(RunUntil(seen, 60000));
            ms.push_back(clicked.elapsed());
            RunUntil([] { return false; }, 150); // apart from the next click
        }
        return ms;
    }
};

TEST_F(StalledClicks, DISABLED_MeasureGaugeClicksWithTheSimulatorStopped) {
    ASSERT_NO_FATAL_FAILURE(OpenLinked());
    ASSERT_NO_FATAL_FAILURE(StallSimulator());
    bool shown = false;
    Print("gauge clicks", Time(
                              Main().Panel("Panel9"), 20, [&] { return Gauge()->isVisible() != shown; },
                              [&] { shown = Gauge()->isVisible(); }));
}

// Alert: its switch cue and the alert panel's colour; UIPC (left): its cue and the new period on
// the lamp; then Exit until every window is out of sight.
TEST_F(StalledClicks, DISABLED_MeasureLinkButtonsAndExitWithTheSimulatorStopped) {
    ASSERT_NO_FATAL_FAILURE(OpenLinked());
    ASSERT_NO_FATAL_FAILURE(StallSimulator());
    bool cue = false;
    Cockpit().snd.OnPlay = [&](vantrel::TWaveSound& s) {
        if (s.SoundFile.find("switch.wav") != std::string::npos) cue = true;
    };
    std::uint32_t alert = 0;
    Print("Alert clicks (cue and colour)",
          Time(
              Main().findChild<QWidget*>(QStringLiteral("Button7")), 20,
              [&] { return cue && Main().Panel("Panel6")->Color() != alert; },
              [&] {
                  cue = false;
                  alert = Main().Panel("Panel6")->Color();
              }));
    QString caption;
    Print("UIPC clicks (cue and period)",
          Time(
              Main().Panel("Panel3"), 20, [&] { return cue && Main().Panel("Panel3")->text() != caption; },
              [&] {
                  cue = false;
                  caption = Main().Panel("Panel3")->text();
              }));
    QElapsedTimer exit;
    exit.start();
    Main().close();
    const auto hidden = [&] {
        return std::none_of(program->Windows().begin(), program->Windows().end(),
                            [](QWidget* w) { return w->isVisible(); });
    };
    ASSERT_TRUE(RunUntil(hidden, 10000));
    std::printf("Exit with the simulator stopped: windows hidden after %lld ms\n",
                static_cast<long long>(exit.elapsed()));
}

} // namespace

// A measurement, not a test (run by scripts/measure-stalled-clicks.sh): with the simulator
// stopped, 20 clicks on the main window's Gauge panel through the window system, each timed
// from the click to the gauge's change of visibility. Prints the median and the maximum.
#include "desktop_fixture.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using vantrel::test::DesktopProgram;
using vantrel::test::RunUntil;

TEST_F(DesktopProgram, DISABLED_MeasureGaugeClicksWithTheSimulatorStopped) {
    ASSERT_NO_FATAL_FAILURE(OpenLinked());
    ASSERT_NO_FATAL_FAILURE(StallSimulator());
    QWidget* panel = Main().Panel("Panel9");
    const QPoint at = panel->mapToGlobal(QPoint(panel->width() / 2, panel->height() / 2));
    XDoTool({"mousemove", QString::number(at.x()), QString::number(at.y())});
    std::vector<qint64> ms;
    for (int i = 0; i < 20; ++i) {
        const bool shown = Gauge()->isVisible();
        QElapsedTimer clicked;
        clicked.start();
        QProcess::startDetached("xdotool", {"click", "1"});
        ASSERT_TRUE(RunUntil([&] { return Gauge()->isVisible() != shown; }, 60000));
        ms.push_back(clicked.elapsed());
        RunUntil([] { return false; }, 150); // apart from the next click
    }
    std::sort(ms.begin(), ms.end());
    std::printf("gauge clicks with the simulator stopped: %zu, median %.1f ms, maximum %lld ms\n", ms.size(),
                (ms[9] + ms[10]) / 2.0, static_cast<long long>(ms.back()));
}

} // namespace

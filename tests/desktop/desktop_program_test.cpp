// Keys typed through the window system at a quick pace, and clicks while the simulator hangs.
#include "desktop_fixture.h"

using vantrel::FieldId;
namespace colors = vantrel::colors;
using vantrel::test::DesktopProgram;
using vantrel::test::RunUntil;

namespace {

TEST_F(DesktopProgram, CodesTypedQuicklyWhileTheCuesPlayEndExactlyAsTyped) {
    Open();
    const struct {
        const char* control;
        FieldId field;
        const char* code;
    } fields[] = {{"Edit1", FieldId::Edit1, "EDDH"},
                  {"Edit2", FieldId::Edit2, "EHAM"},
                  {"Edit3", FieldId::Edit3, "EDDF"}};
    for (int delayMs : {10, 30}) {
        for (const auto& f : fields) {
            program->Plan().UserSetText(f.field, "");
            QWidget* edit = Main().findChild<QWidget*>(QLatin1String(f.control));
            ASSERT_NE(edit, nullptr);
            ClickOn(edit);
            ASSERT_TRUE(RunUntil([&] { return edit->hasFocus(); }, 2000)) << f.control;
            XDoTool({"type", "--delay", QString::number(delayMs), f.code});
            RunUntil([&] { return Settled() && program->Plan().Text(f.field) == f.code; }, 3000);
            EXPECT_EQ(program->Plan().Text(f.field), f.code) << f.control << " at " << delayMs << " ms a key";
        }
    }
    EXPECT_TRUE(recorder.errors.empty()) << recorder.errors.front();
}

TEST_F(DesktopProgram, AClickTakesEffectWhileTheStalledExchangeIsOut) {
    ASSERT_NO_FATAL_FAILURE(OpenLinked());
    ASSERT_NO_FATAL_FAILURE(StallSimulator());
    auto lamp = [this] { return Lamp(); };
    QWidget* gauge = Gauge();
    const bool gaugeShown = gauge->isVisible();
    ClickOn(Main().Panel("Panel9"));
    EXPECT_TRUE(RunUntil([&] { return gauge->isVisible() != gaugeShown; }, 5000));
    EXPECT_EQ(lamp(), colors::Yellow) << "the click should take effect while the exchange is out";

    // The exchange fails after its retries; once the simulator is gone the link is lost.
    EXPECT_TRUE(RunUntil([&] { return lamp() == colors::Fuchsia; }, 40000));
    kill(pid_t(sim.processId()), SIGKILL);
    sim.waitForFinished(3000);
    EXPECT_TRUE(RunUntil([&] { return lamp() == colors::Red; }, 40000));
}

} // namespace

// Saves pictures of the main window and the splash when VANTREL_SHOTS_DIR names a folder,
// so the layout can be looked at; otherwise there is nothing to do.
#include "app_fixture.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"

#include <QPixmap>

#include <gtest/gtest.h>

TEST(Screenshots, MainWindowAndSplash) {
    const QByteArray dir = qgetenv("VANTREL_SHOTS_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "VANTREL_SHOTS_DIR not set";
    AppFixture f;
    TForm1 form1(f.ctx);
    form1.show();
    EXPECT_TRUE(form1.grab().save(QString::fromLocal8Bit(dir) + "/form1.png"));
    f.plan.values.WeightsInKg = true;
    form1.ApplyWeightUnit();
    EXPECT_TRUE(form1.grab().save(QString::fromLocal8Bit(dir) + "/form1-kg.png"));
    TForm2 splash(f.ctx);
    splash.show();
    EXPECT_TRUE(splash.grab().save(QString::fromLocal8Bit(dir) + "/form2-splash.png"));
    EXPECT_TRUE(
        splash.grab().scaled(splash.size() * 3).save(QString::fromLocal8Bit(dir) + "/form2-splash-x3.png"));
}

TEST(Screenshots, PrintWindowWithAPlan) {
    const QByteArray dir = qgetenv("VANTREL_SHOTS_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "VANTREL_SHOTS_DIR not set";
    AppFixture f;
    TForm1 form1(f.ctx);
    TForm3 print(f.ctx);
    print.FillFromPlan({2026, 3, 5, 14, 30, 0});
    print.show();
    EXPECT_TRUE(print.grab().save(QString::fromLocal8Bit(dir) + "/form3.png"));
}

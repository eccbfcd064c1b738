// The splash window: its look, and that it goes after 3.5 s or at a click and stays gone.
#include "app_fixture.h"
#include "form2.h"

#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

TEST(Splash, IsABorderlessTopWindowWithPictureAndName) {
    AppFixture f(false);
    TForm2 splash(f.ctx);
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(splash.size(), QSize(295, 96));
    auto* picture = splash.findChild<QLabel*>("Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    QStringList texts;
    for (const QLabel* label : splash.findChildren<QLabel*>())
        texts << label->text();
    for (const char* text : {"Vantrel", "Suite", "ERJ-145LR", "V2.0"})
        EXPECT_TRUE(texts.contains(text)) << text;
    EXPECT_TRUE(splash.Timer()->isActive());
    EXPECT_EQ(splash.Timer()->interval(), 3500);
}

TEST(Splash, TimerHidesItForGood) {
    AppFixture f(false);
    TForm2 splash(f.ctx);
    splash.show();
    splash.Timer1Timer();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer()->isActive());
}

TEST(Splash, AClickOnThePictureHidesItAndTheTimerDoesNotShowItAgain) {
    AppFixture f(false);
    TForm2 splash(f.ctx);
    splash.show();
    Click(splash.findChild<QLabel*>("Image1"));
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer()->isActive());
    splash.Timer1Timer();
    EXPECT_FALSE(splash.isVisible());
}

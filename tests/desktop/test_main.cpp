// The program's windows on a real X display: each test program run starts its own Xvfb (on the
// first free display from :200 on), runs its tests there and stops it.
#include "xvfb_display.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    vantrel::test::XvfbDisplay display;
    if (!display.Started()) {
        std::fprintf(stderr, "Xvfb could not start; the desktop tests are skipped\n");
        ::testing::InitGoogleTest(&argc, argv);
        ::testing::GTEST_FLAG(filter) = "-*";
        return RUN_ALL_TESTS();
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", display.Name().c_str());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

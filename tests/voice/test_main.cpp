// The voice tests run network requests through Qt's event loop, which needs an application
// object for the whole test run; the speech component delivers its notifications through it too.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

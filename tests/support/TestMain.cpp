// Test entry point for core tests: a QCoreApplication so that Qt's plugin and
// locale machinery is available, with no window system.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

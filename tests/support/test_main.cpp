#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    // Test discovery runs this binary at build time, without ctest's environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}

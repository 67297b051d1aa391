// Test entry point: one QApplication per test process, so widget, font and
// image tests work in every executable, and the environment every test needs:
// the offscreen platform, the source and build folders, and the folder of the
// outside libraries (which the code loads by name).
#include <QApplication>
#include <gtest/gtest.h>

namespace {
void setDefault(const char* name, const QByteArray& value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}
} // namespace

int main(int argc, char** argv)
{
    setDefault("QT_QPA_PLATFORM", "offscreen");
    setDefault("ZORV_SOURCE_DIR", ZORV_SOURCE_DIR_FALLBACK);
    setDefault("ZORV_BINARY_DIR", ZORV_BINARY_DIR_FALLBACK);
    setDefault("STEWARD_LIBRARY_PATH", ZORV_BINARY_DIR_FALLBACK "/lib");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

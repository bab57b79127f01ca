#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing a test does may reach the user's own settings or program folder.
    QTemporaryDir isolation;
    qputenv("MARVOK_REGISTRY", (isolation.path() + QStringLiteral("/registry.reg")).toLocal8Bit());
    qputenv("MARVOK_HOME", (isolation.path() + QStringLiteral("/program")).toLocal8Bit());
    qputenv("WINEPREFIX", (isolation.path() + QStringLiteral("/no-wine-prefix")).toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

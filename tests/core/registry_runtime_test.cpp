#include "core/registry_runtime.h"

#include "tests/support/failing_writes.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::TempFolder;

namespace {

const QString kKey = QStringLiteral("Software\\Quillon\\Marvok\\2.0");

class RegistryTest : public ::testing::Test {
protected:
    TempFolder dir;
    QString store = dir.file(QStringLiteral("config/marvok/registry.reg"));
    RegistryRuntime registry{store};
};

} // namespace

TEST_F(RegistryTest, KindsAreKeptApartAndAbsentMeansEmpty) {
    registry.SaveString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("TradFileName"),
                        QStringLiteral("C:\\a \"b\".lng"));
    registry.SaveDword(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("Count"), -42);

    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("tradfilename")),
              QStringLiteral("C:\\a \"b\".lng"));
    EXPECT_EQ(registry.GetDword(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("Count")), -42);
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("Count")), QString());
    EXPECT_EQ(registry.GetDword(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("TradFileName")), 0);
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("Missing")), QString());
    EXPECT_EQ(registry.GetString(HKEY_CURRENT_USER, kKey, QStringLiteral("TradFileName")), QString());
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, kKey.toUpper(), QStringLiteral("TRADFILENAME")),
              QStringLiteral("C:\\a \"b\".lng"));
}

TEST_F(RegistryTest, ReadsCreateNothing) {
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("No\\Such\\Key"), QStringLiteral("V")),
              QString());
    EXPECT_EQ(registry.GetDword(HKEY_LOCAL_MACHINE, QStringLiteral("No\\Such\\Key"), QStringLiteral("V")), 0);
    EXPECT_FALSE(QFile::exists(store));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("config"))));
}

TEST_F(RegistryTest, SaveStringCreatesTheWholePathInTheExportFormat) {
    registry.SaveString(HKEY_LOCAL_MACHINE, QStringLiteral("A\\B\\C"), QStringLiteral("Name"),
                        QStringLiteral("é"));
    const QByteArray expected = "Windows Registry Editor Version 5.00\r\n\r\n"
                                "[HKEY_LOCAL_MACHINE\\A]\r\n\r\n"
                                "[HKEY_LOCAL_MACHINE\\A\\B]\r\n\r\n"
                                "[HKEY_LOCAL_MACHINE\\A\\B\\C]\r\n"
                                "\"Name\"=\"\xC3\xA9\"\r\n";
    EXPECT_EQ(test::readBytes(store), expected);
}

TEST_F(RegistryTest, StringsAreCutAtTheirFirstNul) {
    registry.SaveString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V"),
                        QStringLiteral("ab") + QChar(0) + u"cd");
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V")), QStringLiteral("ab"));
    // As regedit exports a string with data after the NUL.
    test::writeBytes(store, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n"
                            "\"V\"=hex(1):61,00,00,00,62,\\\r\n  00,00,00\r\n\"D\"=hex(4):2a,00,00,00\r\n");
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("V")),
              QStringLiteral("a"));
    EXPECT_EQ(registry.GetDword(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("D")), 42);
}

TEST_F(RegistryTest, WritesReplaceInPlaceAndKeepEverythingElse) {
    const QByteArray original = "Windows Registry Editor Version 5.00\r\n"
                                "; a comment of the user\r\n"
                                "\r\n"
                                "[HKEY_LOCAL_MACHINE\\K]\r\n"
                                "\"Bin\"=hex:01,02\r\n"
                                "\"S\"=\"old\"\r\n"
                                "garbage \xFF\xFE without equals\r\n"
                                "\"T\"=\"keep\"\r\n"
                                "\r\n"
                                "[HKEY_CURRENT_USER\\Other]\r\n"
                                "\"X\"=dword:00000001\r\n";
    test::writeBytes(store, original);
    registry.SaveString(HKEY_LOCAL_MACHINE, QStringLiteral("k"), QStringLiteral("s"), QStringLiteral("new"));
    registry.SaveString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("Added"),
                        QStringLiteral("1"));
    QByteArray expected = original;
    expected.replace("\"S\"=\"old\"", "\"S\"=\"new\"");
    expected.replace("\"T\"=\"keep\"\r\n", "\"T\"=\"keep\"\r\n\"Added\"=\"1\"\r\n");
    EXPECT_EQ(test::readBytes(store), expected);

    registry.DeleteValue(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("Added"));
    registry.DeleteKey(HKEY_CURRENT_USER, QStringLiteral("Other"));
    EXPECT_EQ(registry.GetDword(HKEY_CURRENT_USER, QStringLiteral("Other"), QStringLiteral("X")), 0);
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("Added")),
              QString());
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("T")),
              QStringLiteral("keep"));
}

TEST_F(RegistryTest, OlderExportsAreRead) {
    test::writeBytes(store, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"V\"=\"caf\xE9\"\r\n");
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("V")),
              QStringLiteral("café"));

    const QString text =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
                       "\"V\"=\"\u4E2D\"\r\n");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    test::writeBytes(store, utf16);
    EXPECT_EQ(registry.GetString(HKEY_CURRENT_USER, QStringLiteral("K"), QStringLiteral("V")),
              QStringLiteral("\u4E2D"));
    // Written back as UTF-8, the value kept.
    registry.SaveString(HKEY_CURRENT_USER, QStringLiteral("K"), QStringLiteral("W"), QStringLiteral("x"));
    EXPECT_TRUE(test::readBytes(store).startsWith("Windows Registry Editor Version 5.00\r\n"));
    EXPECT_EQ(registry.GetString(HKEY_CURRENT_USER, QStringLiteral("K"), QStringLiteral("V")),
              QStringLiteral("\u4E2D"));
}

TEST_F(RegistryTest, GarbageIsReadAsFarAsItMakesSense) {
    const char raw[] =
        "\x00\x01\x02[unterminated\r\n\"a\"=\"1\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"V\"=\"ok\"\r\n";
    QByteArray garbage(raw, sizeof(raw) - 1);
    garbage += QByteArray(200000, 'z') + "\r\n\"=\r\n";
    test::writeBytes(store, garbage);
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("V")),
              QStringLiteral("ok"));
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("a")), QString());
    registry.SaveString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("V"), QStringLiteral("new"));
    const QByteArray after = test::readBytes(store);
    EXPECT_TRUE(after.contains(QByteArray(200000, 'z')));
    EXPECT_TRUE(after.contains(QByteArray("\x00\x01\x02[unterminated", 16)));
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("K"), QStringLiteral("V")),
              QStringLiteral("new"));
}

TEST_F(RegistryTest, AFailedWriteLeavesTheStoreAsItWas) {
    registry.SaveString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V"), QStringLiteral("before"));
    // A store whose folder is a file cannot be written.
    test::writeBytes(dir.file(QStringLiteral("blocker")), "x");
    RegistryRuntime blocked(dir.file(QStringLiteral("blocker/registry.reg")));
    blocked.SaveString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V"), QStringLiteral("after"));
    EXPECT_EQ(blocked.GetString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V")), QString());
    EXPECT_EQ(test::readBytes(dir.file(QStringLiteral("blocker"))), QByteArray("x"));
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V")), QStringLiteral("before"));
}

// A key path with empty parts addresses the key without them, for writes and reads alike.
TEST_F(RegistryTest, EmptyPartsOfAKeyPathNameNoKeyOfTheirOwn) {
    registry.SaveString(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\\\Marvok\\"), QStringLiteral("V"),
                        QStringLiteral("text"));
    EXPECT_EQ(registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Marvok"), QStringLiteral("V")),
              QStringLiteral("text"));
    EXPECT_EQ(
        registry.GetString(HKEY_LOCAL_MACHINE, QStringLiteral("\\Software\\\\Marvok"), QStringLiteral("V")),
        QStringLiteral("text"));
    EXPECT_FALSE(test::readBytes(store).contains("\\\\"));
}

// SaveString gives no result, so the one thing that shows a failure is the store itself.
TEST_F(RegistryTest, AWriteThatFailsPartWayLeavesTheStoreAsItWas) {
    registry.SaveString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V"), QStringLiteral("before"));
    registry.SaveString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("Filler"), QString(200 * 1024, u'f'));
    const QByteArray original = test::readBytes(store);
    const auto outcome = test::runWithFileSizeLimit(64 * 1024, [&]() -> QString {
        registry.SaveString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V"), QStringLiteral("after"));
        return registry.GetString(HKEY_LOCAL_MACHINE, kKey, QStringLiteral("V"));
    });
    EXPECT_EQ(outcome, QStringLiteral("before"));
    EXPECT_EQ(test::readBytes(store), original);
    EXPECT_EQ(QDir(QFileInfo(store).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("registry.reg")});
}

TEST(RegistryPath, ComesFromTheEnvironment) {
    const QByteArray saved = qgetenv("MARVOK_REGISTRY");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("MARVOK_REGISTRY", "/somewhere/store.reg");
    EXPECT_EQ(RegistryRuntime::defaultStorePath(), QStringLiteral("/somewhere/store.reg"));
    qunsetenv("MARVOK_REGISTRY");
    qputenv("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(RegistryRuntime::defaultStorePath(), QStringLiteral("/cfg/marvok/registry.reg"));
    qputenv("XDG_CONFIG_HOME", savedConfig);
    if (savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    qputenv("MARVOK_REGISTRY", saved);
}

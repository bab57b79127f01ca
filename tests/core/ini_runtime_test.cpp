#include "core/ini_runtime.h"

#include "tests/support/failing_writes.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::TempFolder;

namespace {

class IniTest : public ::testing::Test {
protected:
    QString read(const char* section, const char* key) {
        return ini.ReadINI(QString::fromUtf8(section), QString::fromUtf8(key), file);
    }
    QString write(const char* section, const char* key, const QString& value) {
        return ini.WriteINI(QString::fromUtf8(section), QString::fromUtf8(key), value, file);
    }

    TempFolder dir;
    QString file = dir.file(QStringLiteral("test.ini"));
    INIRuntime ini;
};

} // namespace

TEST_F(IniTest, ReadsLikeTheWindowsProfileFunctions) {
    test::writeBytes(file, ";Fichier de langue pour Marvok\r\n"
                           "[Infos]\r\n"
                           "Language = English \r\n"
                           "\r\n"
                           "; Version=commented\r\n"
                           "Version=2.2.5=beta\r\n"
                           "language=second\r\n"
                           "[infos]\r\n"
                           "Traductor=from a second section\r\n"
                           "[LNG]\n"
                           "Save=Save\n"
                           "NoValue\n"
                           "Empty=\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"Infos", "Language", "English"},   // blanks around the value dropped
        {"INFOS", "LANGUAGE", "English"},   // names without regard to case, first match wins
        {"Infos", "Version", "2.2.5=beta"}, // after the first "="
        {"Infos", "Traductor", ""},         // only the first matching section counts
        {"LNG", "Save", "Save"},            // LF line ends
        {"LNG", "NoValue", ""},
        {"LNG", "Empty", ""},
        {"Missing", "Save", ""},
        {"LNG", "Missing", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(c.section, c.key), QString::fromUtf8(c.value)) << c.section << "/" << c.key;
    EXPECT_EQ(
        ini.ReadINI(QStringLiteral("LNG"), QStringLiteral("Save"), dir.file(QStringLiteral("none.ini"))),
        QString());
}

TEST_F(IniTest, LongValuesAreCutTo254Characters) {
    const QString value(300, u'x');
    test::writeBytes(file, "[S]\r\nK=" + value.toLatin1() + "\r\n");
    EXPECT_EQ(read("S", "K"), QString(254, u'x'));
}

TEST_F(IniTest, WritesCreateAppendAndReplaceInPlace) {
    EXPECT_EQ(write("Gen", "Options", QStringLiteral("noshellmap,win")), QStringLiteral("1"));
    EXPECT_EQ(test::readBytes(file), QByteArray("[Gen]\r\nOptions=noshellmap,win\r\n"));

    const QByteArray original = "; comment kept\r\n"
                                "[A]\r\n"
                                "one = 1\r\n"
                                "  \r\n"
                                "odd line\r\n"
                                "[B]\n"
                                "x=1\n"
                                "[a]\r\n"
                                "one=duplicate";
    test::writeBytes(file, original);
    EXPECT_EQ(write("a", "ONE", QStringLiteral("first")), QStringLiteral("1"));
    EXPECT_EQ(write("A", "two", QStringLiteral("2")), QStringLiteral("1"));
    EXPECT_EQ(write("C", "k", QStringLiteral("v")), QStringLiteral("1"));
    EXPECT_EQ(test::readBytes(file), QByteArray("; comment kept\r\n"
                                                "[A]\r\n"
                                                "one=first\r\n"
                                                "two=2\r\n"
                                                "  \r\n"
                                                "odd line\r\n"
                                                "[B]\n"
                                                "x=1\n"
                                                "[a]\r\n"
                                                "one=duplicate\r\n"
                                                "[C]\r\n"
                                                "k=v\r\n"));
    EXPECT_EQ(read("A", "one"), QStringLiteral("first"));
}

TEST_F(IniTest, AKeyGoesAtTheEndOfAnEmptySection) {
    test::writeBytes(file, "[Empty]\r\n[Next]\r\nk=v\r\n");
    write("Empty", "k", QStringLiteral("new"));
    EXPECT_EQ(test::readBytes(file), QByteArray("[Empty]\r\nk=new\r\n[Next]\r\nk=v\r\n"));
}

TEST_F(IniTest, TextIsWindows1252UnlessItCannotBe) {
    write("S", "K", QStringLiteral("Démarrage"));
    EXPECT_EQ(test::readBytes(file), QByteArray("[S]\r\nK=D\xE9marrage\r\n"));
    EXPECT_EQ(read("S", "K"), QStringLiteral("Démarrage"));
    // A path this file system allows but the code page cannot hold turns the file into UTF-8.
    write("S", "Path", QStringLiteral("/home/\u4E2D/é"));
    EXPECT_EQ(test::readBytes(file),
              QByteArray("[S]\r\nK=D\xC3\xA9marrage\r\nPath=/home/\xE4\xB8\xAD/\xC3\xA9\r\n"));
    EXPECT_EQ(read("S", "K"), QStringLiteral("Démarrage"));
    EXPECT_EQ(read("S", "Path"), QStringLiteral("/home/\u4E2D/é"));
}

TEST_F(IniTest, ALineBreakInAValueCannotForgeEntries) {
    write("S", "K", QStringLiteral("a\r\n[Evil]\r\nX=1"));
    EXPECT_EQ(read("S", "K"), QStringLiteral("a [Evil] X=1"));
    EXPECT_EQ(read("Evil", "X"), QString());
}

TEST_F(IniTest, AFolderThatCannotBeWrittenGivesZeroAndNoFile) {
    test::writeBytes(dir.file(QStringLiteral("plainfile")), "x");
    EXPECT_EQ(ini.WriteINI(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"),
                           dir.file(QStringLiteral("plainfile/test.ini"))),
              QStringLiteral("0"));
    EXPECT_EQ(ini.WriteINI(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"),
                           dir.file(QStringLiteral("missing/test.ini"))),
              QStringLiteral("0"));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("missing"))));
}

TEST_F(IniTest, GarbageIsReadAsFarAsItMakesSenseAndKeptOnWrite) {
    const char raw[] = "\x00\xFF\xFE[bad\r\n[unterminated\r\nK=before\r\n[S]\r\nK=v\r\n";
    QByteArray garbage(raw, sizeof(raw) - 1);
    garbage += QByteArray(100000, '\x01') + "\r\n";
    test::writeBytes(file, garbage);
    EXPECT_EQ(read("S", "K"), QStringLiteral("v"));
    EXPECT_EQ(read("unterminated", "K"), QString());
    EXPECT_EQ(write("S", "K", QStringLiteral("w")), QStringLiteral("1"));
    QByteArray expected = garbage;
    expected.replace("[S]\r\nK=v", "[S]\r\nK=w");
    EXPECT_EQ(test::readBytes(file), expected);
}

TEST_F(IniTest, ALastLineEndingInALoneCarriageReturnKeepsTheNewSectionApart) {
    test::writeBytes(file, "[Infos]\r\nLanguage=English\r");
    EXPECT_EQ(write("LNG", "Save", QStringLiteral("Save")), QStringLiteral("1"));
    EXPECT_EQ(test::readBytes(file), QByteArray("[Infos]\r\nLanguage=English\r\n[LNG]\r\nSave=Save\r\n"));
    EXPECT_EQ(read("LNG", "Save"), QStringLiteral("Save"));
    EXPECT_EQ(read("Infos", "Language"), QStringLiteral("English"));
}

// The bytes of "Ã©" in Windows-1252 are the UTF-8 of "é": written as they are, they would read back
// as another text.
TEST_F(IniTest, Windows1252BytesThatWouldReadAsUtf8MakeTheFileUtf8) {
    EXPECT_EQ(write("S", "K", QStringLiteral("Ã©")), QStringLiteral("1"));
    EXPECT_EQ(read("S", "K"), QStringLiteral("Ã©"));

    // Windows-1252 only through the line the write replaces.
    test::writeBytes(file, "[S]\r\nName=\xC3\xA9\r\nOld=\xFF\r\n");
    ASSERT_EQ(read("S", "Name"), QStringLiteral("Ã©"));
    EXPECT_EQ(write("S", "Old", QStringLiteral("x")), QStringLiteral("1"));
    EXPECT_EQ(read("S", "Name"), QStringLiteral("Ã©"));
    EXPECT_EQ(read("S", "Old"), QStringLiteral("x"));
}

TEST_F(IniTest, AWriteThatFailsPartWayLeavesTheFileAsItWas) {
    const QByteArray original = "[S]\r\nK=old\r\n;" + QByteArray(200 * 1024, 'c') + "\r\n";
    test::writeBytes(file, original);
    const auto outcome = test::runWithFileSizeLimit(
        64 * 1024, [&]() -> QString { return write("S", "K", QStringLiteral("new")); });
    EXPECT_EQ(outcome, QStringLiteral("0"));
    EXPECT_EQ(test::readBytes(file), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("test.ini")});
}

#include "replays/replay_header.h"

#include "replays/replay_writer.h"
#include "tests/replays/test_bytes.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::raw;

namespace {

QByteArray utf16(const char* text) {
    QByteArray bytes;
    for (const char* c = text; *c; ++c) {
        bytes.append(*c);
        bytes.append('\0');
    }
    return bytes;
}

// A Zero Hour header around the given game information.
QByteArray zeroHourHeader(const QByteArray& gameInformation,
                          const QString& version = QStringLiteral("Version 1.04"),
                          const QString& title = QStringLiteral("Last Replay")) {
    ReplayRecording recording;
    recording.title = title;
    recording.versionText = version;
    recording.gameInformation = gameInformation;
    return replayBytes(recording);
}

// Bytes placed at `offset` of a window of zeros that begins with the magic.
QByteArray placedAt(qsizetype offset, const QByteArray& bytes, qsizetype size = ReplayHeaderWindowSize) {
    QByteArray header(size, '\0');
    header.replace(0, 6, "GENREP");
    header.replace(offset, std::min(bytes.size(), size - offset), bytes.left(size - offset));
    return header;
}

} // namespace

TEST(ReplayHeader, OnlyTheGamesMagicsAreReplays) {
    EXPECT_TRUE(parseReplayHeader("GENREP"));
    EXPECT_TRUE(parseReplayHeader("BFMEREPL\x01\x02"));
    EXPECT_FALSE(parseReplayHeader("GENRE"));
    EXPECT_FALSE(parseReplayHeader("BFMEREP"));
    EXPECT_FALSE(parseReplayHeader(""));
    EXPECT_FALSE(parseReplayHeader(raw("RIFF\0\0\0\0M=maps/x;S=HAnna;")));
    EXPECT_FALSE(parseReplayHeader("xGENREP"));
}

TEST(ReplayHeader, ValuesAreFoundByTheirMarks) {
    struct Case {
        const char* what;
        QByteArray header;
        const char* version;
        const char* map;
        bool hasSlotList;
        const char* slotList;
    };
    const Case cases[] = {
        {"worked example", zeroHourHeader("M=maps/TOURNAMENT Desert;MC=...;S=HAnna,...:CE,...:O:X:X:X:X:X;"),
         "1.04", "Tournament desert", true, "HAnna,...:CE,...:O:X:X:X:X:X"},
        {"the M of the magic does not stop the map search", raw("BFMEREPL\0\0M=Alpine;S=X;"), "", "Alpine",
         true, "X"},
        {"M followed by another letter is passed over", zeroHourHeader("MC=1;MS=2;M=03maps/a;S=O;"), "1.04",
         "A", true, "O"},
        {"one separator is skipped", zeroHourHeader("M=x;S=;", QStringLiteral("Version 1.00")), "1.00", "X",
         true, ""},
        {"two spaces keep the second", zeroHourHeader("M=x;S=;", QStringLiteral("Version  2")), " 2", "X",
         true, ""},
        {"a title holding Version",
         zeroHourHeader("M=x;S=;", QStringLiteral("Version 1.04"), QStringLiteral("Version 9 test")), "1.04",
         "X", true, ""},
        {"S= before the map is not the slot list", zeroHourHeader("US=1;S=early;M=x;XS=no;S=late;"), "1.04",
         "X", true, "late"},
        {"S= must follow a semicolon", zeroHourHeader("M=x;MS=2;XS=HAnna;"), "1.04", "X", false, ""},
        {"no M= still finds the slot list", zeroHourHeader("US=1;S=CE,1,2,3,0;"), "1.04", "", true,
         "CE,1,2,3,0"},
        {"no Version mark", raw("GENREP\0\0M=x;S=O:X;"), "", "X", true, "O:X"},
        {"values end at the zero of the game information", raw("GENREP\0M=Alpine\0;S=O\0:X;"), "", "Alpine",
         true, "O"},
        {"nothing but the magic", QByteArray("GENREP"), "", "", false, ""},
        {"a value runs to the end of the window", placedAt(2030, "M=" + QByteArray(40, 'a')), "",
         "Aaaaaaaaaaaaaaaa", false, ""},
        {"a version runs to the end of the window", placedAt(2020, utf16("Version 1.0000000000")), "1.0000",
         "", false, ""},
        {"a version mark at the end of the window", placedAt(2034, utf16("Version")), "", "", false, ""},
        {"marks past the window are not read",
         placedAt(2040, "M=x;S=abcdef;S=late;" + utf16("Version 1.04"), 2100), "", "X", true, "ab"},
    };
    for (const Case& c : cases) {
        const std::optional<ReplayHeader> header = parseReplayHeader(c.header);
        ASSERT_TRUE(header) << c.what;
        EXPECT_EQ(header->version, QString::fromUtf8(c.version)) << c.what;
        EXPECT_EQ(header->map, QString::fromUtf8(c.map)) << c.what;
        EXPECT_EQ(header->hasSlotList, c.hasSlotList) << c.what;
        EXPECT_EQ(header->slotList, QByteArray(c.slotList)) << c.what;
    }
}

TEST(ReplayHeader, MapNameIsWhatFollowsTheLastSlashCapitalised) {
    struct Case {
        QByteArray value;
        const char* name;
    };
    const Case cases[] = {
        {"03maps/alpine assault", "Alpine assault"},
        {"03userdata/maps/defcon6", "Defcon6"},
        {"maps/TOURNAMENT Desert", "Tournament desert"},
        {"Alpine", "Alpine"},
        {"a/b/c", "C"},
        {"03maps/", ""},
        {"", ""},
        {"03maps/\xc3\xa9"
         "CLAIR",
         "\xc3\x89"
         "clair"}, // UTF-8
        {"03maps/\xe9"
         "CLAIR",
         "\xc3\x89"
         "clair"}, // Windows-1252
    };
    for (const Case& c : cases)
        EXPECT_EQ(mapDisplayName(c.value), QString::fromUtf8(c.name)) << c.value.toStdString();
}

TEST(ReplayHeader, FilesAreReadUpToTheWindowOnly) {
    test::TempFolder dir;
    const QByteArray longFile = placedAt(100, "M=alpine;S=HAnna;", 5000) + "GENREP";
    test::writeBytes(dir.file(QStringLiteral("long.rep")), longFile);
    test::writeBytes(dir.file(QStringLiteral("short.rep")), raw("GENREP\0M=x"));

    EXPECT_EQ(readHeaderWindow(dir.file(QStringLiteral("long.rep"))), longFile.left(ReplayHeaderWindowSize));
    EXPECT_EQ(readHeaderWindow(dir.file(QStringLiteral("short.rep"))), raw("GENREP\0M=x"));
    const std::optional<ReplayHeader> shortHeader = readReplayHeader(dir.file(QStringLiteral("short.rep")));
    ASSERT_TRUE(shortHeader);
    EXPECT_EQ(shortHeader->map, QStringLiteral("X"));
    EXPECT_FALSE(shortHeader->hasSlotList);

    QString error;
    EXPECT_FALSE(readReplayHeader(dir.file(QStringLiteral("missing.rep")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing.rep"))) << error.toStdString();
    test::writeBytes(dir.file(QStringLiteral("other.rep")), "RIFF");
    EXPECT_FALSE(readReplayHeader(dir.file(QStringLiteral("other.rep")), &error));
    EXPECT_EQ(error,
              QStringLiteral("« %1 » n'est pas un replay.").arg(dir.file(QStringLiteral("other.rep"))));
}

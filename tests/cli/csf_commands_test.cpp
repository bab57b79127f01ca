#include "csf/csf_file.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/test_files.h"

#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

using namespace marvok;
using namespace marvok::test;

namespace {

CliRun csf(const QStringList& arguments) {
    return runCli(QStringList{QStringLiteral("csf")} + arguments);
}

void writeTable(const QString& path, const CsfTable& table, quint8 language) {
    ASSERT_TRUE(WriteCsf(path, table, language).ok());
}

// Rows that need every kind of quoting, and both kinds of "WRTS" row.
const CsfTable kTable{
    {QStringLiteral("GUI:Plain"), QStringLiteral("Plain text"), false, {}},
    {QStringLiteral("GUI:Quoted"), QStringLiteral("He said \"go\", twice"), false, {}},
    {QStringLiteral("GUI:Lines"), QStringLiteral("first\nsecond\r\nthird"), false, {}},
    {QStringLiteral("GUI:Été"), QStringLiteral("Über 日本語 ✓"), false, {}},
    {QStringLiteral("GUI:Sound"), QStringLiteral("Spoken"), true, "voice\xE9.wav"},
    {QStringLiteral("GUI:Silent"), QString(), true, {}},
    {QStringLiteral("GUI:Plain"), QString(), false, {}},
};

const char kCsv[] = "label,text,extra\r\n"
                    "GUI:Plain,Plain text,\r\n"
                    "GUI:Quoted,\"He said \"\"go\"\", twice\",\r\n"
                    "GUI:Lines,\"first\nsecond\r\nthird\",\r\n"
                    "GUI:\xC3\x89t\xC3\xA9,\xC3\x9C"
                    "ber \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE2\x9C\x93,\r\n"
                    "GUI:Sound,Spoken,voice\xC3\xA9.wav\r\n"
                    "GUI:Silent,,\"\"\r\n"
                    "GUI:Plain,,\r\n";

} // namespace

TEST(CsfExport, WritesUtf8CsvWithQuotingAndTheExtraColumn) {
    TempFolder folder;
    const QString table = folder.file(QStringLiteral("t.csf"));
    writeTable(table, kTable, 3);
    const QString csv = folder.file(QStringLiteral("t.csv"));
    const CliRun run = csf({QStringLiteral("export"), table, csv});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty()) << run;
    EXPECT_EQ(readBytes(csv), QByteArray(kCsv));
}

TEST(CsfImport, ExportThenImportGivesBackTheSameRows) {
    TempFolder folder;
    const QString table = folder.file(QStringLiteral("t.csf"));
    writeTable(table, kTable, 8);
    const QString csv = folder.file(QStringLiteral("t.csv"));
    ASSERT_EQ(csf({QStringLiteral("export"), table, csv}).exitCode, 0);
    const QString imported = folder.file(QStringLiteral("imported.csf"));
    const CliRun run =
        csf({QStringLiteral("import"), csv, imported, QStringLiteral("--language"), QStringLiteral("8")});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty()) << run;
    const CsfReadResult read = ReadCsf(imported);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.table, kTable);
    EXPECT_EQ(read.language, 8);
    EXPECT_EQ(readBytes(imported), readBytes(table));
}

TEST(CsfImport, ReadsLfLineEndsAByteOrderMarkAndLanguageNames) {
    TempFolder folder;
    const QString csv = folder.file(QStringLiteral("t.csv"));
    writeBytes(csv, "\xEF\xBB\xBFLabel,Text,Extra\nA:1,\"x\ny\",\n\nA:2,z,s.wav\n");
    const QString table = folder.file(QStringLiteral("t.csf"));
    const CliRun run = csf({QStringLiteral("import"), csv, table, QStringLiteral("--language=french")});
    EXPECT_EQ(run.exitCode, 0) << run;
    const CsfReadResult read = ReadCsf(table);
    EXPECT_EQ(read.language, 3);
    EXPECT_EQ(read.table, (CsfTable{{QStringLiteral("A:1"), QStringLiteral("x\ny"), false, {}},
                                    {QStringLiteral("A:2"), QStringLiteral("z"), true, "s.wav"}}));
}

struct BadCsv {
    const char* what;
    QByteArray bytes;
};

class CsfImportFaults : public ::testing::TestWithParam<BadCsv> {};

TEST_P(CsfImportFaults, GiveStatus1AndLeaveTheTableAlone) {
    TempFolder folder;
    const QString csv = folder.file(QStringLiteral("t.csv"));
    writeBytes(csv, GetParam().bytes);
    const QString table = folder.file(QStringLiteral("t.csf"));
    writeTable(table, kTable, 0);
    const QByteArray before = readBytes(table);
    const CliRun run =
        csf({QStringLiteral("import"), csv, table, QStringLiteral("--language"), QStringLiteral("0")});
    EXPECT_EQ(run.exitCode, 1) << run;
    EXPECT_TRUE(run.oneErrorLine()) << run;
    EXPECT_EQ(readBytes(table), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CsfImportFaults,
    ::testing::Values(BadCsv{"empty", ""}, BadCsv{"no header", "A:1,x,\r\n"},
                      BadCsv{"two fields", "label,text,extra\r\nA:1,x\r\n"},
                      BadCsv{"unclosed quote", "label,text,extra\r\nA:1,\"x,\r\n"},
                      BadCsv{"text after a closing quote", "label,text,extra\r\nA:1,\"x\"y,\r\n"},
                      BadCsv{"quote in a plain field", "label,text,extra\r\nA:1,x\"y,\r\n"},
                      BadCsv{"not UTF-8", "label,text,extra\r\nA:1,\xE9t\xE9,\r\n"},
                      BadCsv{"label outside Windows-1252", "label,text,extra\r\nA:\xE6\x97\xA5,x,\r\n"},
                      BadCsv{"extra outside Windows-1252", "label,text,extra\r\nA:1,x,\xE6\x97\xA5.wav\r\n"}),
    [](const auto& info) {
        QString name = QString::fromUtf8(info.param.what);
        name.replace(QStringLiteral(" "), QStringLiteral("_"))
            .replace(QStringLiteral("-"), QStringLiteral("_"));
        return name.toStdString();
    });

TEST(CsfImport, AWriteThatFailsGivesStatus1) {
    TempFolder folder;
    const QString csv = folder.file(QStringLiteral("t.csv"));
    writeBytes(csv, "label,text,extra\r\nA:1,x,\r\n");
    for (const QString& table : {folder.file(QStringLiteral("missing/t.csf")), folder.path()}) {
        const CliRun run =
            csf({QStringLiteral("import"), csv, table, QStringLiteral("--language"), QStringLiteral("0")});
        EXPECT_EQ(run.exitCode, 1) << run;
        EXPECT_TRUE(run.oneErrorLine()) << run;
    }
}

TEST(CsfInfo, PrintsLanguageRowsWrtsRowsAndLabels) {
    TempFolder folder;
    const QString table = folder.file(QStringLiteral("t.csf"));
    writeTable(table, kTable, 2);
    CliRun run = csf({QStringLiteral("info"), table});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(run.out, "language: 2 (German)\nrows: 7\nWRTS rows: 2\nlabels: 6\n");

    writeTable(table,
               {{QStringLiteral("A"), QStringLiteral("x"), false, {}},
                {QStringLiteral("a"), QStringLiteral("y"), false, {}}},
               42);
    run = csf({QStringLiteral("info"), table});
    EXPECT_EQ(run.out, "language: 42 (unknown)\nrows: 2\nWRTS rows: 0\nlabels: 1\n");
}

TEST(CsfCommands, FilesThatAreNoTablesGiveStatus1AndOneLine) {
    TempFolder folder;
    writeBytes(folder.file(QStringLiteral("text.csf")), "hello, world");
    writeBytes(folder.file(QStringLiteral("cut.csf")),
               QByteArray(" FSC\3\0\0\0\1\0\0\0\1\0\0\0\0\0\0\0\0\0\0\0 LBL\1\0\0\0\x40", 33));
    for (const char* name : {"missing.csf", "text.csf", "cut.csf"}) {
        const QString table = folder.file(QString::fromLatin1(name));
        for (const QStringList& arguments :
             {QStringList{QStringLiteral("info"), table},
              QStringList{QStringLiteral("export"), table, folder.file(QStringLiteral("t.csv"))}}) {
            const CliRun run = csf(arguments);
            EXPECT_EQ(run.exitCode, 1) << name << run;
            EXPECT_TRUE(run.out.isEmpty()) << run;
            EXPECT_TRUE(run.oneErrorLine()) << run;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("t.csv"))));
}

TEST(CsfRealFiles, ExportThenImportGivesBackTheRowsAndInfoTheirCounts) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    TempFolder folder;
    for (const char* name : {"zh-mod-english.csf", "bfme-korean.csf"}) {
        const QString path = realFixturesFolder() + u'/' + QString::fromLatin1(name);
        const CsfReadResult original = ReadCsf(path);
        ASSERT_TRUE(original.ok()) << name;
        const QString csv = folder.file(QStringLiteral("t.csv"));
        ASSERT_EQ(csf({QStringLiteral("export"), path, csv}).exitCode, 0) << name;
        const QString table = folder.file(QStringLiteral("t.csf"));
        const int languageByte = quint8(readBytes(path).at(20));
        const CliRun run = csf({QStringLiteral("import"), csv, table, QStringLiteral("--language"),
                                QString::number(languageByte)});
        ASSERT_EQ(run.exitCode, 0) << name << run;
        const CsfReadResult imported = ReadCsf(table);
        EXPECT_EQ(imported.table, original.table) << name;
        EXPECT_EQ(imported.language, languageByte) << name;

        QSet<QString> labels;
        qsizetype extraRows = 0;
        for (const CsfEntry& entry : original.table) {
            labels.insert(entry.Name.toCaseFolded());
            extraRows += entry.HasExtra;
        }
        const CliRun info = csf({QStringLiteral("info"), path});
        EXPECT_TRUE(info.out.startsWith(QByteArray("language: " + QByteArray::number(languageByte) + " (")));
        EXPECT_TRUE(info.out.endsWith(QByteArray("\nrows: " + QByteArray::number(original.table.size()) +
                                                 "\nWRTS rows: " + QByteArray::number(extraRows) +
                                                 "\nlabels: " + QByteArray::number(labels.size()) + "\n")))
            << info;
    }
}

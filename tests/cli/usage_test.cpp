#include "tests/cli/cli_runner.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

using namespace marvok::test;

namespace {

struct HelpCase {
    QStringList arguments;
    const char* firstLine;
};

class Help : public ::testing::TestWithParam<HelpCase> {};

TEST_P(Help, GoesToStandardOutputWithStatus0) {
    const CliRun run = runCli(GetParam().arguments);
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_TRUE(run.out.startsWith(GetParam().firstLine)) << run;
    EXPECT_TRUE(run.err.isEmpty()) << run;
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, Help,
    ::testing::Values(HelpCase{{QStringLiteral("--help")}, "Usage: marvok-cli COMMAND ARGUMENTS...\n"},
                      HelpCase{{QStringLiteral("big"), QStringLiteral("--help")},
                               "Usage: marvok-cli COMMAND"},
                      HelpCase{{QStringLiteral("big"), QStringLiteral("list"), QStringLiteral("--help")},
                               "Usage: marvok-cli big list ARCHIVE\n"},
                      HelpCase{{QStringLiteral("big"), QStringLiteral("extract"), QStringLiteral("-h")},
                               "Usage: marvok-cli big extract ARCHIVE DIR [NAME...]\n"},
                      HelpCase{{QStringLiteral("big"), QStringLiteral("pack"), QStringLiteral("x"),
                                QStringLiteral("--help")},
                               "Usage: marvok-cli big pack DIR ARCHIVE [--big4]\n"},
                      HelpCase{{QStringLiteral("csf"), QStringLiteral("export"), QStringLiteral("--help")},
                               "Usage: marvok-cli csf export TABLE OUT.csv\n"},
                      HelpCase{{QStringLiteral("csf"), QStringLiteral("import"), QStringLiteral("--help")},
                               "Usage: marvok-cli csf import IN.csv TABLE --language CODE\n"},
                      HelpCase{{QStringLiteral("csf"), QStringLiteral("info"), QStringLiteral("--help")},
                               "Usage: marvok-cli csf info TABLE\n"},
                      HelpCase{{QStringLiteral("replay"), QStringLiteral("info"), QStringLiteral("--help")},
                               "Usage: marvok-cli replay info [--game generals|zh|bfme] FILE...\n"}));

class UsageErrors : public ::testing::TestWithParam<QStringList> {};

TEST_P(UsageErrors, GiveStatus2AndOneLine) {
    const CliRun run = runCli(GetParam());
    EXPECT_EQ(run.exitCode, 2) << run;
    EXPECT_TRUE(run.out.isEmpty()) << run;
    EXPECT_TRUE(run.oneErrorLine()) << run;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UsageErrors,
    ::testing::Values(QStringList{QStringLiteral("unpack")},
                      QStringList{QStringLiteral("big"), QStringLiteral("unpack")},
                      QStringList{QStringLiteral("big"), QStringLiteral("list")},
                      QStringList{QStringLiteral("big"), QStringLiteral("list"), QStringLiteral("a"),
                                  QStringLiteral("b")},
                      QStringList{QStringLiteral("big"), QStringLiteral("extract"), QStringLiteral("a.big")},
                      QStringList{QStringLiteral("big"), QStringLiteral("pack"), QStringLiteral("d"),
                                  QStringLiteral("a.big"), QStringLiteral("--big5")},
                      QStringList{QStringLiteral("big"), QStringLiteral("pack"), QStringLiteral("d"),
                                  QStringLiteral("a.big"), QStringLiteral("--big4=yes")},
                      QStringList{QStringLiteral("csf"), QStringLiteral("import"), QStringLiteral("in.csv"),
                                  QStringLiteral("t.csf")},
                      QStringList{QStringLiteral("csf"), QStringLiteral("import"), QStringLiteral("in.csv"),
                                  QStringLiteral("t.csf"), QStringLiteral("--language")},
                      QStringList{QStringLiteral("csf"), QStringLiteral("import"), QStringLiteral("in.csv"),
                                  QStringLiteral("t.csf"), QStringLiteral("--language=256")},
                      QStringList{QStringLiteral("csf"), QStringLiteral("export"), QStringLiteral("t.csf")},
                      QStringList{QStringLiteral("replay"), QStringLiteral("info")},
                      QStringList{QStringLiteral("replay"), QStringLiteral("info"), QStringLiteral("--game"),
                                  QStringLiteral("ra2"), QStringLiteral("x.rep")}));

TEST(Usage, NoArgumentsShowsTheCommandsOnStandardErrorWithStatus2) {
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("csf")}}) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << run;
        EXPECT_TRUE(run.out.isEmpty()) << run;
        EXPECT_TRUE(run.err.startsWith("Usage: marvok-cli COMMAND")) << run;
    }
}

TEST(Usage, DoubleDashEndsTheOptions) {
    TempFolder folder;
    writeBytes(folder.file(QStringLiteral("--help")), QByteArrayLiteral("BIGF\0\0\0\0\0\0\0\0"));
    const CliRun run = runCli(
        {QStringLiteral("big"), QStringLiteral("list"), QStringLiteral("--"), QStringLiteral("--help")},
        folder.path());
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(run.out, "BIGF\n");
}

} // namespace

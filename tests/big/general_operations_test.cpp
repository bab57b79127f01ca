#include "big/general_operations.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::TempFolder;

struct ConversionCase {
    const char* text;
    int from;
    int to;
    const char* expected;
};

class ConvertBaseCases : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConvertBaseCases, GivesTheExpectedText) {
    const ConversionCase& c = GetParam();
    EXPECT_EQ(ConvertBase(QString::fromUtf8(c.text), c.from, c.to), QString::fromUtf8(c.expected))
        << c.text << " from " << c.from << " to " << c.to;
}

INSTANTIATE_TEST_SUITE_P(Conversions, ConvertBaseCases,
                         ::testing::Values(
                             // The documented examples.
                             ConversionCase{"FF", 16, 10, "255"}, ConversionCase{"0A", 16, 10, "10"},
                             ConversionCase{"00", 16, 10, ""}, ConversionCase{"255", 10, 16, "FF"},
                             ConversionCase{"ff", 16, 10, ""},
                             // To base 0 is plain decimal, zero and negative values included.
                             ConversionCase{"00", 16, 0, "0"}, ConversionCase{"ff", 16, 0, "-17"},
                             ConversionCase{"-12", 10, 0, "-12"}, ConversionCase{"ZZ", 36, 10, "1295"},
                             ConversionCase{"255", 10, 2, "11111111"},
                             ConversionCase{"7FFFFFFF", 16, 10, "2147483647"},
                             // Not a number, or an overflowing step: the value computed so far.
                             ConversionCase{"12x4", 10, 0, "12"}, ConversionCase{"abc", 10, 0, "0"},
                             ConversionCase{"FFFFFFFF", 16, 0, "0"},
                             ConversionCase{"99999999999", 10, 0, "999999999"},
                             // A base with no digits to write gives nothing, and never loops.
                             ConversionCase{"255", 10, 1, ""}, ConversionCase{"255", 10, 37, ""}));

TEST(FileExists, IsTrueForAnyFileAndFalseOtherwise) {
    TempFolder folder;
    test::writeBytes(folder.file(QStringLiteral("empty.ini")), {});
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    EXPECT_TRUE(FileExists(folder.file(QStringLiteral("empty.ini"))));
    EXPECT_FALSE(FileExists(folder.file(QStringLiteral("missing.ini"))));
    EXPECT_FALSE(FileExists(folder.file(QStringLiteral("sub"))));
    EXPECT_FALSE(FileExists(QString()));
}

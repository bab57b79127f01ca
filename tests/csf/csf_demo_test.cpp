#include "csf/csf_demo.h"
#include "csf/csf_file.h"

#include "tests/support/test_files.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace marvok;

TEST(CsfDemo, EachGameGetsAFrenchTableWithAccentsOtherScriptsAndAWrtsRow) {
    const struct {
        GameKind game;
        const char* file;
    } games[] = {{Generals, "generals.csf"}, {ZeroHour, "generals.csf"}, {BattleForMiddleEarth, "lotr.csf"}};
    for (const auto& g : games) {
        test::TempFolder folder;
        const QString gameFolder = folder.file(QStringLiteral("game"));
        QString error;
        ASSERT_TRUE(addCsfDemoContent(gameFolder, g.game, &error)) << error.toStdString();
        const CsfReadResult read = ReadCsf(gameFolder + u'/' + QString::fromLatin1(g.file));
        ASSERT_TRUE(read.ok()) << g.file;
        EXPECT_EQ(read.language, 3);
        const auto any = [&](auto predicate) {
            return std::any_of(read.table.begin(), read.table.end(), predicate);
        };
        EXPECT_TRUE(
            any([](const CsfEntry& row) { return row.Value.contains(u'é') && row.Value.contains(u'€'); }));
        EXPECT_TRUE(any([](const CsfEntry& row) { return row.Value.contains(u'한'); }));
        EXPECT_TRUE(any([](const CsfEntry& row) { return row.Value.contains(u'Д'); }));
        EXPECT_TRUE(any([](const CsfEntry& row) { return row.HasExtra && !row.Extra.isEmpty(); }));
    }
}

TEST(CsfDemo, AFolderThatCannotBeMadeIsReported) {
    test::TempFolder folder;
    test::writeBytes(folder.file(QStringLiteral("file")), "x");
    QString error;
    EXPECT_FALSE(addCsfDemoContent(folder.file(QStringLiteral("file/game")), Generals, &error));
    EXPECT_FALSE(error.isEmpty());
}

// Archives made by the games and by the community's tools.
#include "big/big_archive.h"
#include "tests/support/test_files.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace marvok;
using namespace marvok::test;

namespace {

struct RealArchive {
    const char* file;
    QStringList names;
    // The writer lays out these exactly as we do, so saving them again gives the same bytes.
    bool sameBytesWhenSaved;
};

class RealArchives : public ::testing::TestWithParam<RealArchive> {
protected:
    QString path() const { return realFixturesFolder() + u'/' + QString::fromUtf8(GetParam().file); }
};

QStringList namesOf(const ArchiveEntries& index) {
    QStringList names;
    for (const ArchiveEntry& entry : index)
        names << entry.Name;
    return names;
}

} // namespace

TEST_P(RealArchives, ReadExtractAndSaveAgainUnchanged) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    const QByteArray original = readBytes(path());
    ArchiveEntries index;
    ArchiveFailure failure;
    ASSERT_EQ(ReadArchiveIndex(path(), index, &failure), IndexReadResult::Read)
        << failure.details.description.toStdString();
    EXPECT_EQ(namesOf(index), GetParam().names);

    TempFolder folder;
    SaveList list;
    for (qsizetype k = 0; k < index.size(); ++k) {
        const QString target = extractionTargetPath(folder.path(), index[k].Name);
        ASSERT_TRUE(ExtractEntry(index, k, path(), target, nullptr, &failure))
            << failure.details.description.toStdString();
        EXPECT_EQ(readBytes(target), original.mid(index[k].Offset, index[k].Size))
            << index[k].Name.toStdString();
        list << SaveItem::kept(k);
    }

    const QString saved = folder.file(QStringLiteral("saved.big"));
    ASSERT_TRUE(WriteArchive(saved, list, index, path(), nullptr, &failure))
        << failure.details.description.toStdString();
    ArchiveEntries again;
    ASSERT_EQ(ReadArchiveIndex(saved, again), IndexReadResult::Read);
    EXPECT_EQ(namesOf(again), GetParam().names);
    const QByteArray written = readBytes(saved);
    for (qsizetype k = 0; k < index.size(); ++k) {
        EXPECT_EQ(written.mid(again[k].Offset, again[k].Size), original.mid(index[k].Offset, index[k].Size))
            << index[k].Name.toStdString();
    }
    if (GetParam().sameBytesWhenSaved) {
        EXPECT_EQ(written, original);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RealArchives,
    ::testing::Values(RealArchive{"bigf-small.big", {QStringLiteral("a.txt"), QStringLiteral("c.txt")}, true},
                      RealArchive{"bigf-multiple-files.big",
                                  {QStringLiteral("/test/hello.txt"), QStringLiteral("/test/world.txt")},
                                  true},
                      RealArchive{"big4-empty-entry.big", {QStringLiteral("read_me_for_test.txt")}, false}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(RealArchives, TheSmallArchiveHoldsItsTwoSamples) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    ArchiveEntries index;
    ASSERT_EQ(ReadArchiveIndex(realFixturesFolder() + QStringLiteral("/bigf-small.big"), index),
              IndexReadResult::Read);
    TempFolder folder;
    ASSERT_TRUE(ExtractEntry(index, 1, realFixturesFolder() + QStringLiteral("/bigf-small.big"),
                             folder.file(QStringLiteral("c.txt")), nullptr));
    EXPECT_EQ(readBytes(folder.file(QStringLiteral("c.txt"))), QByteArray("This is sample C"));
}

TEST(RealArchives, TheEmptyEntryLiesAtTheEndOfTheFile) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    const QString path = realFixturesFolder() + QStringLiteral("/big4-empty-entry.big");
    ArchiveEntries index;
    ASSERT_EQ(ReadArchiveIndex(path, index), IndexReadResult::Read);
    ASSERT_EQ(index.size(), 1);
    EXPECT_EQ(index[0].Size, 0u);
    EXPECT_EQ(qint64(index[0].Offset), QFileInfo(path).size());
}

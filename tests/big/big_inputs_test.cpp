// Archives far beyond what the games write: each is read in bounded time and memory and gives a clear
// outcome.
#include "big/big_archive.h"

#include "tests/big/big_test_support.h"
#include "tests/support/test_files.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::bigEndian;
using marvok::test::TempFolder;

namespace {

QByteArray header(quint32 count, quint32 firstData) {
    return QByteArrayLiteral("BIGF") + QByteArray(4, '\0') + bigEndian(count) + bigEndian(firstData - 1);
}

} // namespace

TEST(BigInputs, AMillionIndexRecordsAreRead) {
    constexpr quint32 count = 1000000;
    QByteArray records;
    records.reserve(count * 24);
    for (quint32 k = 0; k < count; ++k)
        records += bigEndian(0) + bigEndian(0) + "Data\\f" + QByteArray::number(k) + ".ini" + '\0';
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("million.big"));
    const quint32 firstData = quint32(16 + records.size() + 8);
    QByteArray bytes = header(count, firstData) + records + QByteArrayLiteral("L225\0\0\0\0") + "data";
    // Every entry holds the four bytes at the end.
    for (qsizetype at = 16; at < 16 + records.size(); at = bytes.indexOf('\0', at + 8) + 1) {
        bytes.replace(at, 4, bigEndian(firstData));
        bytes.replace(at + 4, 4, bigEndian(4));
    }
    test::writeBytes(path, bytes);

    ArchiveEntries index;
    ASSERT_EQ(ReadArchiveIndex(path, index), IndexReadResult::Read);
    ASSERT_EQ(index.size(), qsizetype(count));
    EXPECT_EQ(index.first(), (ArchiveEntry{QStringLiteral("Data\\f0.ini"), firstData, 4}));
    EXPECT_EQ(index.last(), (ArchiveEntry{QStringLiteral("Data\\f999999.ini"), firstData, 4}));
}

TEST(BigInputs, AnIndexClaimingFourBillionEntriesIsRefused) {
    TempFolder folder;
    const ArchiveEntries before{{QStringLiteral("open.ini"), 40, 2}};

    // The file could not hold such an index: refused before anything is allocated.
    const QString small = folder.file(QStringLiteral("small.big"));
    test::writeBytes(small, header(0xFFFFFFFFu, 0) + QByteArray(64, '\0'));
    ArchiveEntries index = before;
    ArchiveFailure failure;
    EXPECT_EQ(ReadArchiveIndex(small, index, &failure), IndexReadResult::Failed);
    EXPECT_EQ(failure.details.number, ArchiveFailureNumber::PastEndOfFile);
    EXPECT_TRUE(failure.details.description.contains(QStringLiteral("4294967295")))
        << failure.details.description.toStdString();
    EXPECT_EQ(index, before);

    // A sparse file of 40 GiB could, but no index of that many entries fits in memory: refused too,
    // before anything is read or allocated.
    const QString sparse = folder.file(QStringLiteral("sparse.big"));
    test::writeBytes(sparse, header(0xFFFFFFFFu, 0));
    ASSERT_TRUE(QFile(sparse).resize(qint64(40) << 30));
    failure = {};
    EXPECT_EQ(ReadArchiveIndex(sparse, index, &failure), IndexReadResult::Failed);
    EXPECT_EQ(failure.details.number, ArchiveFailureNumber::TooLarge);
    EXPECT_TRUE(failure.details.description.contains(QStringLiteral("4294967295")))
        << failure.details.description.toStdString();
    EXPECT_EQ(index, before);
}

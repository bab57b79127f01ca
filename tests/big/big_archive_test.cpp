#include "big/big_archive.h"
#include "tests/big/big_test_support.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace marvok;
using namespace marvok::test;
namespace Failure = marvok::ArchiveFailureNumber;

namespace {

const QByteArray kWorkedExample = QByteArrayLiteral("BIGF\x3E\0\0\0"
                                                    "\0\0\0\x02"
                                                    "\0\0\0\x35"
                                                    "\0\0\0\x36\0\0\0\x03"
                                                    "a.ini\0"
                                                    "\0\0\0\x39\0\0\0\x05"
                                                    "d\\b.ini\0"
                                                    "L225\0\0\0\0"
                                                    "abc"
                                                    "12345");

// The worked example's two items, written from files in `folder`.
SaveList workedExampleItems(const TempFolder& folder) {
    writeBytes(folder.file(QStringLiteral("src/a.ini")), "abc");
    writeBytes(folder.file(QStringLiteral("src/b.ini")), "12345");
    return {SaveItem::fromFile(folder.file(QStringLiteral("src/a.ini")), QStringLiteral("a.ini")),
            SaveItem::fromFile(folder.file(QStringLiteral("src/b.ini")), QStringLiteral("d\\b.ini"))};
}

ArchiveEntries readIndex(const QString& path) {
    ArchiveEntries index;
    ArchiveFailure failure;
    EXPECT_EQ(ReadArchiveIndex(path, index, &failure), IndexReadResult::Read)
        << failure.details.description.toStdString();
    return index;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

TEST(WriteArchive, WorkedExampleGivesTheExactBytesAndProgress) {
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("out.big"));
    RecordingProgress progress;
    ASSERT_TRUE(WriteArchive(target, workedExampleItems(folder), {}, {}, &progress));
    EXPECT_EQ(readBytes(target), kWorkedExample);
    EXPECT_EQ(
        progress.calls,
        (QStringList{u"show|Création de " + target + u"|Ecriture du header", QStringLiteral("change|20"),
                     QStringLiteral("text|Ecriture des fichiers"), QStringLiteral("change|55"),
                     QStringLiteral("change|60"), QStringLiteral("hide")}));
}

TEST(WriteArchive, Big4GivesTheSameArchiveUnderItsOwnMagic) {
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("out.big"));
    ASSERT_TRUE(
        WriteArchive(target, workedExampleItems(folder), {}, {}, nullptr, nullptr, ArchiveMagic::Big4));
    EXPECT_EQ(readBytes(target), QByteArray(kWorkedExample).replace(0, 4, "BIG4"));
}

TEST(ReadArchiveIndex, WorkedExampleReadsIgnoringLengthAndHeaderValue) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("x.big"));
    const ArchiveEntries expected{{QStringLiteral("a.ini"), 54, 3}, {QStringLiteral("d\\b.ini"), 57, 5}};
    writeBytes(path, kWorkedExample);
    EXPECT_EQ(readIndex(path), expected);

    QByteArray changed = kWorkedExample;
    changed.replace(4, 4, "\xFF\xFF\xFF\xFF");
    changed.replace(12, 4, "\x12\x34\x56\x78");
    writeBytes(path, changed);
    EXPECT_EQ(readIndex(path), expected);
}

TEST(ReadArchiveIndex, AnyFourthMagicByteAndAnEmptyIndex) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("x.big"));
    for (const QByteArray& magic :
         {QByteArrayLiteral("BIGF"), QByteArrayLiteral("BIG4"), QByteArrayLiteral("BIG\0")}) {
        writeBytes(path, archiveBytes({{"a.ini", "abc"}}, magic));
        EXPECT_EQ(readIndex(path), (ArchiveEntries{{QStringLiteral("a.ini"), 38, 3}}))
            << magic.toHex().data();
    }
    writeBytes(path, archiveBytes({}));
    EXPECT_TRUE(readIndex(path).isEmpty());
    // The header value is never read, so a file that stops after the count is an empty archive too.
    writeBytes(path, QByteArrayLiteral("BIGF\0\0\0\0\0\0\0\0"));
    EXPECT_TRUE(readIndex(path).isEmpty());
}

TEST(ReadArchiveIndex, OtherFilesAreNotArchivesAndLeaveTheIndexAlone) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("x.big"));
    const ArchiveEntries before{{QStringLiteral("kept.ini"), 1, 2}};
    for (const QByteArray& bytes : {QByteArrayLiteral("big4\0\0\0\0\0\0\0\0"), QByteArrayLiteral("XBIGF"),
                                    QByteArrayLiteral("BI"), QByteArray()}) {
        writeBytes(path, bytes);
        ArchiveEntries index = before;
        EXPECT_EQ(ReadArchiveIndex(path, index), IndexReadResult::NotAnArchive) << bytes.toHex().data();
        EXPECT_EQ(index, before);
    }
}

TEST(ReadArchiveIndex, NamesAreWindows1252AndTheLastMayEndWithTheFile) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("x.big"));
    writeBytes(path, archiveBytes({{"Art\\\xE9t\xE9\x80.tga", ""}}));
    EXPECT_EQ(readIndex(path).value(0).Name, QStringLiteral("Art\\été€.tga"));

    writeBytes(path, QByteArrayLiteral("BIGF\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\x10\0\0\0\0unterminated"));
    EXPECT_EQ(readIndex(path), (ArchiveEntries{{QStringLiteral("unterminated"), 16, 0}}));
}

TEST(ReadArchiveIndex, OffsetsAndSizesAreUnsigned) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("x.big"));
    writeBytes(path, QByteArrayLiteral("BIGF\0\0\0\0\0\0\0\x01\0\0\0\0\x80\0\0\0\xFF\xFF\xFF\xF0huge\0"));
    EXPECT_EQ(readIndex(path), (ArchiveEntries{{QStringLiteral("huge"), 0x80000000u, 0xFFFFFFF0u}}));
}

TEST(ReadArchiveIndex, IndexesLargerThanOneReadBlockReadWhole) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("x.big"));
    QList<std::pair<QByteArray, QByteArray>> entries;
    for (int k = 0; k < 40000; ++k)
        entries.append({"data\\ini\\object\\name-of-about-forty-chars-" + QByteArray::number(k) + ".ini",
                        QByteArray::number(k)});
    writeBytes(path, archiveBytes(entries));
    const ArchiveEntries index = readIndex(path);
    ASSERT_EQ(index.size(), entries.size());
    const QByteArray bytes = readBytes(path);
    for (int k : {0, 1, 12345, 23456, 39999}) {
        EXPECT_EQ(index[k].Name, QString::fromLatin1(entries[k].first));
        EXPECT_EQ(bytes.mid(index[k].Offset, index[k].Size), entries[k].second);
    }
}

// Index records that run past the end of the file.
struct BrokenArchive {
    const char* what;
    QByteArray bytes;
};

class BrokenArchives : public ::testing::TestWithParam<BrokenArchive> {};

TEST_P(BrokenArchives, AreReportedAndLeaveTheIndexAlone) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("x.big"));
    writeBytes(path, GetParam().bytes);
    const ArchiveEntries before{{QStringLiteral("kept.ini"), 1, 2}};
    ArchiveEntries index = before;
    ArchiveFailure failure;
    EXPECT_EQ(ReadArchiveIndex(path, index, &failure), IndexReadResult::Failed);
    EXPECT_EQ(index, before);
    EXPECT_EQ(failure.message, 2);
    EXPECT_EQ(failure.details.number, Failure::PastEndOfFile);
    EXPECT_EQ(failure.details.source, QStringLiteral("mBIG.ReadArchiveIndex"));
    EXPECT_TRUE(failure.details.description.contains(path)) << failure.details.description.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenArchives,
    ::testing::Values(
        BrokenArchive{"header cut before the count", QByteArrayLiteral("BIGF\0\0\0\0\0\0")},
        BrokenArchive{"records missing", archiveBytes({{"a", "x"}}).replace(8, 4, bigEndian(3)).left(35)},
        BrokenArchive{"second record cut", QByteArrayLiteral("BIGF\0\0\0\0\0\0\0\x02\0\0\0\0"
                                                             "\0\0\0\0\0\0\0\0a-long-first-name\0"
                                                             "\0\0\0\0\0")},
        BrokenArchive{"count far beyond the file",
                      QByteArrayLiteral("BIGF\0\0\0\0\xFF\xFF\xFF\xFF\0\0\0\0")}),
    [](const auto& info) {
        QString name = QString::fromUtf8(info.param.what);
        name.replace(QStringLiteral(" "), QStringLiteral("_"));
        return name.toStdString();
    });

TEST(ReadArchiveIndex, AMissingFileIsReported) {
    TempFolder folder;
    ArchiveEntries index;
    ArchiveFailure failure;
    EXPECT_EQ(ReadArchiveIndex(folder.file(QStringLiteral("none.big")), index, &failure),
              IndexReadResult::Failed);
    EXPECT_EQ(failure.details.number, Failure::FileNotFound);
}

TEST(WriteArchive, KeptEntriesComeFromTheOpenArchiveInListOrder) {
    TempFolder folder;
    const QString open = folder.file(QStringLiteral("open.big"));
    writeBytes(open, archiveBytes({{"a.ini", "AAA"}, {"d\\b.ini", "BB"}, {"d\\e\\c.ini", "C"}}));
    const ArchiveEntries index = readIndex(open);
    writeBytes(folder.file(QStringLiteral("new.ini")), "NEW");

    // Entries 1 and 2 follow each other in the open archive, 0 comes from before them.
    const QString target = folder.file(QStringLiteral("out.big"));
    RecordingProgress progress;
    ASSERT_TRUE(WriteArchive(
        target,
        {SaveItem::kept(1), SaveItem::kept(2),
         SaveItem::fromFile(folder.file(QStringLiteral("new.ini")), QStringLiteral("d\\new.ini")),
         SaveItem::kept(0)},
        index, open, &progress));
    EXPECT_EQ(
        readBytes(target),
        archiveBytes({{"d\\b.ini", "BB"}, {"d\\e\\c.ini", "C"}, {"d\\new.ini", "NEW"}, {"a.ini", "AAA"}}));
    EXPECT_EQ(progress.calls.mid(3), (QStringList{QStringLiteral("change|50"), QStringLiteral("change|52"),
                                                  QStringLiteral("change|50"), QStringLiteral("change|55"),
                                                  QStringLiteral("change|57"), QStringLiteral("change|50"),
                                                  QStringLiteral("change|60"), QStringLiteral("hide")}));
}

TEST(WriteArchive, SavingOverTheOpenArchiveReadsTheOldData) {
    TempFolder folder;
    const QString open = folder.file(QStringLiteral("open.big"));
    writeBytes(open, archiveBytes({{"a.ini", "AAA"}, {"b.ini", "BB"}}));
    const ArchiveEntries index = readIndex(open);
    ASSERT_TRUE(WriteArchive(open, {SaveItem::kept(1), SaveItem::kept(0)}, index, open, nullptr));
    EXPECT_EQ(readBytes(open), archiveBytes({{"b.ini", "BB"}, {"a.ini", "AAA"}}));
    EXPECT_EQ(filesIn(folder.path()), QStringList{QStringLiteral("open.big")});
}

TEST(WriteArchive, ZeroSizeItemsAndEntriesLargerThanOneChunk) {
    TempFolder folder;
    QByteArray large(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char(i * 7 + i / 1000);
    writeBytes(folder.file(QStringLiteral("large.bin")), large);
    writeBytes(folder.file(QStringLiteral("empty.ini")), {});
    const QString first = folder.file(QStringLiteral("first.big"));
    ASSERT_TRUE(
        WriteArchive(first,
                     {SaveItem::fromFile(folder.file(QStringLiteral("empty.ini")), QStringLiteral("e.ini")),
                      SaveItem::fromFile(folder.file(QStringLiteral("large.bin")), QStringLiteral("l.bin"))},
                     {}, {}, nullptr));
    EXPECT_EQ(readBytes(first), archiveBytes({{"e.ini", {}}, {"l.bin", large}}));

    // Kept from that archive into a second one, and out again.
    const ArchiveEntries index = readIndex(first);
    const QString second = folder.file(QStringLiteral("second.big"));
    ASSERT_TRUE(WriteArchive(second, {SaveItem::kept(1), SaveItem::kept(0)}, index, first, nullptr));
    EXPECT_EQ(readBytes(second), archiveBytes({{"l.bin", large}, {"e.ini", {}}}));
    ASSERT_TRUE(ExtractEntry(index, 1, first, folder.file(QStringLiteral("l.out")), nullptr));
    EXPECT_EQ(readBytes(folder.file(QStringLiteral("l.out"))), large);
}

TEST(WriteArchive, SourcesOnAnotherFileSystemAreCopiedToo) {
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/marvok-XXXXXX"));
    if (!elsewhere.isValid())
        GTEST_SKIP() << "no /dev/shm on this machine";
    QByteArray data(300 * 1000, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i % 251);
    writeBytes(elsewhere.filePath(QStringLiteral("x.bin")), data);
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("x.big"));
    ASSERT_TRUE(WriteArchive(
        target, {SaveItem::fromFile(elsewhere.filePath(QStringLiteral("x.bin")), QStringLiteral("x.bin"))},
        {}, {}, nullptr));
    EXPECT_EQ(readBytes(target), archiveBytes({{"x.bin", data}}));
    ASSERT_TRUE(
        ExtractEntry(readIndex(target), 0, target, elsewhere.filePath(QStringLiteral("back.bin")), nullptr));
    EXPECT_EQ(readBytes(elsewhere.filePath(QStringLiteral("back.bin"))), data);
}

TEST(WriteArchive, AnEmptyListWritesAnArchiveWithoutEntries) {
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("empty.big"));
    ASSERT_TRUE(WriteArchive(target, {}, {}, {}, nullptr));
    EXPECT_EQ(readBytes(target), archiveBytes({}));
    EXPECT_TRUE(readIndex(target).isEmpty());
}

// Every failed write leaves the target as it was, no temporary file, and a hidden progress window.
class FailedWrite : public ::testing::Test {
protected:
    void SetUp() override {
        writeBytes(m_target, "the user's archive");
        writeBytes(m_open, archiveBytes({{"a.ini", "AAA"}}));
        writeBytes(m_source, "abc");
    }

    ArchiveFailure write(const SaveList& list, const ArchiveEntries& index) {
        ArchiveFailure failure;
        RecordingProgress progress;
        EXPECT_FALSE(WriteArchive(m_target, list, index, m_open, &progress, &failure));
        EXPECT_EQ(progress.calls.value(progress.calls.size() - 1), QStringLiteral("hide"));
        EXPECT_EQ(readBytes(m_target), QByteArray("the user's archive"));
        EXPECT_EQ(filesIn(m_folder.path()),
                  (QStringList{QStringLiteral("open.big"), QStringLiteral("source.ini"),
                               QStringLiteral("target.big")}));
        return failure;
    }

    TempFolder m_folder;
    QString m_target = m_folder.file(QStringLiteral("target.big"));
    QString m_open = m_folder.file(QStringLiteral("open.big"));
    QString m_source = m_folder.file(QStringLiteral("source.ini"));
};

TEST_F(FailedWrite, AMissingSourceFile) {
    const ArchiveFailure failure =
        write({SaveItem::fromFile(m_source, QStringLiteral("a.ini")),
               SaveItem::fromFile(m_folder.file(QStringLiteral("gone.ini")), QStringLiteral("b.ini"))},
              {});
    EXPECT_EQ(failure.message, 2);
    EXPECT_EQ(failure.details.number, Failure::FileNotFound);
    EXPECT_EQ(failure.details.source, QStringLiteral("mBIG.WriteArchive"));
    EXPECT_TRUE(failure.details.description.contains(QStringLiteral("gone.ini")));
}

TEST_F(FailedWrite, AKeptEntryWhoseDataLiesOutsideTheOpenArchive) {
    const ArchiveFailure failure = write({SaveItem::kept(0)}, {{QStringLiteral("a.ini"), 40, 100}});
    EXPECT_EQ(failure.message, 2);
    EXPECT_EQ(failure.details.number, Failure::PastEndOfFile);
}

TEST_F(FailedWrite, AKeptEntryThatIsNotInTheIndex) {
    EXPECT_EQ(write({SaveItem::kept(1)}, readIndex(m_open)).details.number, Failure::BadEntryNumber);
}

TEST_F(FailedWrite, ANameWindows1252CannotHold) {
    const QString name = QStringLiteral("textures\\\u4E2D.tga");
    const ArchiveFailure failure = write({SaveItem::fromFile(m_source, name)}, {});
    EXPECT_EQ(failure.message, Msg::CannotEncodeName);
    EXPECT_EQ(failure.value, name);
    EXPECT_FALSE(failure.details.description.isEmpty());
}

TEST_F(FailedWrite, AnArchiveThatWouldPassFourGiB) {
    // Sizes from the index alone: the refusal comes before any data is looked at.
    const ArchiveFailure failure =
        write({SaveItem::kept(0), SaveItem::kept(1)},
              {{QStringLiteral("a"), 0, 0xC0000000u}, {QStringLiteral("b"), 0, 0x40000000u}});
    EXPECT_EQ(failure.message, Msg::ArchiveTooLarge);

    // A sparse source file takes no room on disk.
    const QString huge = m_folder.file(QStringLiteral("huge.bin"));
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(0xFFFFFFF0));
    file.close();
    ArchiveFailure second;
    EXPECT_FALSE(WriteArchive(m_target, {SaveItem::fromFile(huge, QStringLiteral("h.bin"))}, {}, {}, nullptr,
                              &second));
    EXPECT_EQ(second.message, Msg::ArchiveTooLarge);
    EXPECT_EQ(readBytes(m_target), QByteArray("the user's archive"));
    QFile::remove(huge);
}

TEST_F(FailedWrite, ATargetFolderThatDoesNotExist) {
    ArchiveFailure failure;
    EXPECT_FALSE(WriteArchive(m_folder.file(QStringLiteral("no/such/out.big")),
                              {SaveItem::fromFile(m_source, QStringLiteral("a.ini"))}, {}, {}, nullptr,
                              &failure));
    EXPECT_EQ(failure.message, 2);
    EXPECT_FALSE(failure.details.description.isEmpty());
}

TEST(WriteArchive, OverTheOpenArchiveAFailureLeavesItIntact) {
    TempFolder folder;
    const QString open = folder.file(QStringLiteral("open.big"));
    const QByteArray original = archiveBytes({{"a.ini", "AAA"}, {"b.ini", "BB"}});
    writeBytes(open, original);
    const ArchiveEntries index = readIndex(open);
    EXPECT_FALSE(WriteArchive(
        open,
        {SaveItem::kept(0), SaveItem::fromFile(folder.file(QStringLiteral("gone")), QStringLiteral("gone"))},
        index, open, nullptr));
    EXPECT_EQ(readBytes(open), original);
    EXPECT_EQ(filesIn(folder.path()), QStringList{QStringLiteral("open.big")});
}

#ifdef Q_OS_LINUX
// Writes past `limit` bytes fail as on a full disk, while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

TEST(WriteArchive, AFailingWriteLeavesNothingBehind) {
    TempFolder folder;
    writeBytes(folder.file(QStringLiteral("big.bin")), QByteArray(256 * 1024, 'x'));
    const SaveList list{
        SaveItem::fromFile(folder.file(QStringLiteral("big.bin")), QStringLiteral("big.bin"))};
    const ArchiveEntries index = {{QStringLiteral("big.bin"), 0, 256 * 1024}};
    writeBytes(folder.file(QStringLiteral("old.big")), "the user's archive");
    ArchiveFailure failure;
    {
        const FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(WriteArchive(folder.file(QStringLiteral("new.big")), list, {}, {}, nullptr, &failure));
        EXPECT_EQ(failure.details.number, Failure::DeviceIO);
        EXPECT_FALSE(WriteArchive(folder.file(QStringLiteral("old.big")), list, {}, {}, nullptr));
        EXPECT_FALSE(ExtractEntry(index, 0, folder.file(QStringLiteral("big.bin")),
                                  folder.file(QStringLiteral("out.bin")), nullptr));
    }
    EXPECT_EQ(readBytes(folder.file(QStringLiteral("old.big"))), QByteArray("the user's archive"));
    EXPECT_EQ(filesIn(folder.path()), (QStringList{QStringLiteral("big.bin"), QStringLiteral("old.big")}));
}
#endif

TEST(ExtractEntry, CopiesOneEntryExactlyWithProgress) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(archive, archiveBytes({{"a.ini", "abc"}, {"d\\b.ini", "12345"}, {"z.ini", {}}}));
    const ArchiveEntries index = readIndex(archive);
    const QString target = folder.file(QStringLiteral("b.ini"));
    writeBytes(target, "a much longer file that was there before");

    RecordingProgress progress;
    ASSERT_TRUE(ExtractEntry(index, 1, archive, target, &progress));
    EXPECT_EQ(readBytes(target), QByteArray("12345"));
    EXPECT_EQ(progress.calls, (QStringList{u"show|Extraction|" + target, QStringLiteral("change|50")}));

    ASSERT_TRUE(ExtractEntry(index, 2, archive, folder.file(QStringLiteral("z.ini")), nullptr));
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("z.ini"))));
    EXPECT_EQ(QFileInfo(folder.file(QStringLiteral("z.ini"))).size(), 0);
}

TEST(ExtractEntry, BadEntriesAreRefusedBeforeAnythingIsWritten) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(archive, archiveBytes({{"a.ini", "abc"}}));
    const QString target = folder.file(QStringLiteral("a.ini"));
    writeBytes(target, "before");
    const ArchiveEntries index{{QStringLiteral("a.ini"), 38, 4},
                               {QStringLiteral("far.ini"), 0xFFFFFFF0u, 0x20},
                               {QStringLiteral("end.ini"), 41, 0}};

    for (const auto& [entry, number] : {std::pair<qsizetype, qint32>{0, Failure::PastEndOfFile},
                                        {1, Failure::PastEndOfFile},
                                        {7, Failure::BadEntryNumber},
                                        {-1, Failure::BadEntryNumber}}) {
        ArchiveFailure failure;
        EXPECT_FALSE(ExtractEntry(index, entry, archive, target, nullptr, &failure)) << entry;
        EXPECT_EQ(failure.message, 2);
        EXPECT_EQ(failure.details.number, number) << entry;
        EXPECT_EQ(failure.details.source, QStringLiteral("mBIG.ExtractEntry"));
    }
    EXPECT_EQ(readBytes(target), QByteArray("before"));
    EXPECT_EQ(filesIn(folder.path()), (QStringList{QStringLiteral("a.ini"), QStringLiteral("x.big")}));

    // A zero-size entry whose offset is the end of the file lies inside it.
    EXPECT_TRUE(ExtractEntry(index, 2, archive, folder.file(QStringLiteral("end.ini")), nullptr));
}

TEST(ExtractEntry, AMissingArchiveIsReported) {
    TempFolder folder;
    ArchiveFailure failure;
    EXPECT_FALSE(ExtractEntry({{QStringLiteral("a"), 0, 0}}, 0, folder.file(QStringLiteral("none.big")),
                              folder.file(QStringLiteral("a")), nullptr, &failure));
    EXPECT_EQ(failure.details.number, Failure::FileNotFound);
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("a"))));
}

TEST(OpenArchive, TheSharedIndexAndPathServeTheShortForms) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(archive, archiveBytes({{"a.ini", "abc"}, {"b.ini", "12"}}));
    ASSERT_EQ(ReadArchiveIndex(archive), IndexReadResult::Read);
    CurrentArchivePath() = archive;
    EXPECT_EQ(ArchiveIndex().size(), 2);

    ASSERT_TRUE(ExtractEntry(1, CurrentArchivePath(), folder.file(QStringLiteral("b.ini"))));
    EXPECT_EQ(readBytes(folder.file(QStringLiteral("b.ini"))), QByteArray("12"));
    ASSERT_TRUE(WriteArchive(folder.file(QStringLiteral("y.big")), {SaveItem::kept(1)}));
    EXPECT_EQ(readBytes(folder.file(QStringLiteral("y.big"))), archiveBytes({{"b.ini", "12"}}));
    ArchiveIndex().clear();
    CurrentArchivePath().clear();
}

struct TargetCase {
    const char* entryName;
    const char* fileName; // empty: skipped
};

class ExtractionNames : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ExtractionNames, LandDirectlyInTheChosenFolder) {
    const QString entry = QString::fromUtf8(GetParam().entryName);
    const QString expected = QString::fromUtf8(GetParam().fileName);
    EXPECT_EQ(extractionFileName(entry), expected);
    EXPECT_EQ(extractionTargetPath(QStringLiteral("/chosen/folder"), entry),
              expected.isEmpty() ? QString() : u"/chosen/folder/" + expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExtractionNames,
    ::testing::Values(TargetCase{"a.ini", "a.ini"}, TargetCase{"data\\ini\\x.ini", "x.ini"},
                      TargetCase{"/test/hello.txt", "hello.txt"}, TargetCase{"mixed/sep\\c.ini", "c.ini"},
                      TargetCase{"..\\..\\etc\\passwd", "passwd"}, TargetCase{"a\\..\\...", "..."},
                      TargetCase{"d\\", ""}, TargetCase{"d/.", ""}, TargetCase{"d\\..", ""},
                      TargetCase{"..", ""}, TargetCase{"", ""}));

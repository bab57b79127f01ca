#include "big/big_archive.h"
#include "core/paths.h"
#include "tests/big/big_test_support.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace marvok;
using namespace marvok::test;

namespace {

using Entries = QList<std::pair<QByteArray, QByteArray>>;

// The files below `folder` with their contents, by relative path.
QMap<QString, QByteArray> filesBelow(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readBytes(path));
    }
    return files;
}

CliRun big(const QStringList& arguments, const QString& workingFolder = {}) {
    return runCli(QStringList{QStringLiteral("big")} + arguments, workingFolder);
}

// The entries (name, data) of an archive, as the index and the bytes say.
Entries entriesOf(const QString& archive) {
    ArchiveEntries index;
    EXPECT_EQ(ReadArchiveIndex(archive, index), IndexReadResult::Read);
    const QByteArray bytes = readBytes(archive);
    Entries entries;
    for (const ArchiveEntry& entry : index)
        entries.append({entry.Name.toLatin1(), bytes.mid(entry.Offset, entry.Size)});
    return entries;
}

quint32 bigEndianAt(const QByteArray& bytes, qsizetype at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3];
}

} // namespace

TEST(BigList, PrintsTheMagicThenOffsetSizeAndNameSeparatedByTabs) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("x.big"));
    // Names: 5 + 11 + 8 bytes, so the data begin at 16 + 3 * 9 + 24 + 8 = 75.
    writeBytes(archive,
               archiveBytes({{"a.ini", "abc"}, {"Art\\\xE9t\xE9.tga", "12345"}, {"bad\tname", ""}}, "BIG4"));
    const CliRun run = big({QStringLiteral("list"), archive});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(QString::fromUtf8(run.out),
              QStringLiteral("BIG4\n75\t3\ta.ini\n78\t5\tArt\\été.tga\n83\t0\tbad\\x09name\n"));
    EXPECT_TRUE(run.err.isEmpty()) << run;
}

TEST(BigList, FilesThatAreNoArchivesGiveStatus1AndOneLine) {
    TempFolder folder;
    writeBytes(folder.file(QStringLiteral("text.big")), "hello");
    writeBytes(folder.file(QStringLiteral("cut.big")),
               archiveBytes({{"a.ini", "abc"}}).replace(8, 4, bigEndian(3)).left(40));
    for (const char* name : {"missing.big", "text.big", "cut.big"}) {
        const CliRun run = big({QStringLiteral("list"), folder.file(QString::fromLatin1(name))});
        EXPECT_EQ(run.exitCode, 1) << name << run;
        EXPECT_TRUE(run.out.isEmpty()) << run;
        EXPECT_TRUE(run.oneErrorLine()) << run;
    }
}

TEST(BigPack, EveryFileBelowTheFolderByRelativeNameInOrderWithoutCase) {
    TempFolder folder;
    const QString source = folder.file(QStringLiteral("src"));
    const Entries expected{{".hidden", "h"},
                           {"A.ini", "aa"},
                           {"b.ini", "bbb"},
                           {"Data\\.git\\HEAD", "ref"},
                           {"Data\\Art\\a.tga", "tga"},
                           {"Data\\INI\\weapon.ini", "weapon"},
                           {"Data\\z.ini", ""}};
    for (const auto& [name, data] : expected)
        writeBytes(source + u'/' + QString::fromLatin1(name).replace(u'\\', u'/'), data);

    const QString archive = folder.file(QStringLiteral("out.big"));
    CliRun run = big({QStringLiteral("pack"), source, archive});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty()) << run;
    EXPECT_EQ(readBytes(archive), archiveBytes(expected));

    run = big({QStringLiteral("pack"), source, archive, QStringLiteral("--big4")});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(readBytes(archive), archiveBytes(expected, "BIG4"));
}

TEST(BigPack, AnArchiveInsideTheFolderIsNotPackedIntoItself) {
    TempFolder folder;
    writeBytes(folder.file(QStringLiteral("src/a.ini")), "abc");
    const QString archive = folder.file(QStringLiteral("src/out.big"));
    for (int pass = 0; pass < 2; ++pass) {
        const CliRun run = big({QStringLiteral("pack"), folder.file(QStringLiteral("src")), archive});
        EXPECT_EQ(run.exitCode, 0) << run;
        EXPECT_EQ(readBytes(archive), archiveBytes({{"a.ini", "abc"}})) << "pass " << pass;
    }
}

TEST(BigPack, FailuresGiveStatus1AndLeaveTheArchiveAsItWas) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("out.big"));
    writeBytes(archive, "old");
    writeBytes(folder.file(QStringLiteral("japanese/日本.txt")), "x");
    writeBytes(folder.file(QStringLiteral("fine/a.ini")), "x");
    QDir().mkpath(folder.file(QStringLiteral("pipe")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(QStringLiteral("pipe/fifo"))).constData(), 0600), 0);

    const QList<QStringList> cases{
        {folder.file(QStringLiteral("missing")), archive},
        {folder.file(QStringLiteral("japanese")), archive},
        {folder.file(QStringLiteral("pipe")), archive},
        {folder.file(QStringLiteral("fine")), folder.file(QStringLiteral("no-such-folder/out.big"))},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = big(QStringList{QStringLiteral("pack")} + arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments.join(u' ').toStdString() << run;
        EXPECT_TRUE(run.oneErrorLine()) << run;
        EXPECT_EQ(readBytes(archive), "old");
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.big")});
}

TEST(BigExtract, KeepsTheFoldersOfEveryNameWithEitherSeparator) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(
        archive,
        archiveBytes(
            {{"Data\\INI\\a.ini", "A"}, {"/test/hello.txt", "H"}, {"Art/b.tga", "B"}, {"top.txt", ""}}));
    const QString target = folder.file(QStringLiteral("out/new"));
    const CliRun run = big({QStringLiteral("extract"), archive, target});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty()) << run;
    EXPECT_EQ(filesBelow(target), (QMap<QString, QByteArray>{{QStringLiteral("Data/INI/a.ini"), "A"},
                                                             {QStringLiteral("test/hello.txt"), "H"},
                                                             {QStringLiteral("Art/b.tga"), "B"},
                                                             {QStringLiteral("top.txt"), ""}}));
}

TEST(BigExtract, NamedEntriesMatchWithoutCaseAndEitherSeparator) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(archive, archiveBytes({{"Data\\INI\\a.ini", "A"}, {"top.txt", "T"}, {"other.txt", "O"}}));
    const QString target = folder.file(QStringLiteral("out"));
    CliRun run = big({QStringLiteral("extract"), archive, target, QStringLiteral("data/ini/A.INI"),
                      QStringLiteral("TOP.TXT")});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(filesBelow(target), (QMap<QString, QByteArray>{{QStringLiteral("Data/INI/a.ini"), "A"},
                                                             {QStringLiteral("top.txt"), "T"}}));

    // A name the archive does not hold is refused before anything is written.
    const QString second = folder.file(QStringLiteral("second"));
    run = big(
        {QStringLiteral("extract"), archive, second, QStringLiteral("top.txt"), QStringLiteral("none.txt")});
    EXPECT_EQ(run.exitCode, 1) << run;
    EXPECT_TRUE(run.oneErrorLine()) << run;
    EXPECT_TRUE(run.err.contains("none.txt")) << run;
    EXPECT_FALSE(QFileInfo::exists(second));
}

TEST(BigExtract, NothingIsWrittenOutsideTheFolder) {
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("out"));
    writeBytes(folder.file(QStringLiteral("outside/kept.txt")), "kept");
    QDir().mkpath(target);
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("outside")), folder.file(QStringLiteral("out/link"))));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("outside/kept.txt")),
                            folder.file(QStringLiteral("out/file.txt"))));
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(archive, archiveBytes({{"..\\evil.txt", "E"},
                                      {"a\\..\\..\\evil.txt", "E"},
                                      {"a/./b.txt", "E"},
                                      {"sub\\..", "E"},
                                      {"dir\\", "E"},
                                      {"", "E"},
                                      {"link\\evil.txt", "E"},
                                      {"LINK\\x\\evil.txt", "E"},
                                      {"file.txt", "E"},
                                      {"good.txt", "G"}}));

    const CliRun run = big({QStringLiteral("extract"), archive, target});
    EXPECT_EQ(run.exitCode, 1) << run;
    EXPECT_EQ(run.err.count('\n'), 9) << run;
    EXPECT_EQ(run.err.count("marvok-cli: big extract: skipped the entry "), 9) << run;
    EXPECT_EQ(filesBelow(folder.file(QStringLiteral("outside"))),
              (QMap<QString, QByteArray>{{QStringLiteral("kept.txt"), "kept"}}));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("evil.txt"))));
    EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              (QStringList{QStringLiteral("file.txt"), QStringLiteral("good.txt"), QStringLiteral("link")}));
    EXPECT_EQ(readBytes(folder.file(QStringLiteral("out/good.txt"))), "G");
}

TEST(BigExtract, ExistingFilesAndFoldersThatDifferOnlyInCaseAreUsed) {
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("out"));
    writeBytes(folder.file(QStringLiteral("out/DATA/Readme.TXT")), "old");
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(
        archive,
        archiveBytes({{"data\\readme.txt", "new"}, {"Data\\INI\\A.ini", "A"}, {"data\\ini\\b.ini", "B"}}));
    const CliRun run = big({QStringLiteral("extract"), archive, target});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(filesBelow(target), (QMap<QString, QByteArray>{{QStringLiteral("DATA/Readme.TXT"), "new"},
                                                             {QStringLiteral("DATA/INI/A.ini"), "A"},
                                                             {QStringLiteral("DATA/INI/b.ini"), "B"}}));
}

TEST(BigExtract, FailuresGiveStatus1AndOneLine) {
    TempFolder folder;
    const QString archive = folder.file(QStringLiteral("x.big"));
    writeBytes(archive, archiveBytes({{"a.ini", "abc"}}));
    writeBytes(folder.file(QStringLiteral("a-file")), "x");
    // The entry's data end beyond the end of the file.
    const QString beyond = folder.file(QStringLiteral("beyond.big"));
    writeBytes(beyond, archiveBytes({{"a.ini", "abc"}}).chopped(1));
    // The entry needs a folder where a file is.
    writeBytes(folder.file(QStringLiteral("clash/a")), "x");
    const QString clash = folder.file(QStringLiteral("clash.big"));
    writeBytes(clash, archiveBytes({{"a\\b.ini", "abc"}}));

    const QList<QStringList> cases{
        {archive, folder.file(QStringLiteral("a-file"))},
        {folder.file(QStringLiteral("a-file")), folder.file(QStringLiteral("out1"))},
        {beyond, folder.file(QStringLiteral("out2"))},
        {clash, folder.file(QStringLiteral("clash"))}};
    for (const QStringList& arguments : cases) {
        const CliRun run = big(QStringList{QStringLiteral("extract")} + arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments.join(u' ').toStdString() << run;
        EXPECT_TRUE(run.oneErrorLine()) << run;
    }
    EXPECT_TRUE(filesBelow(folder.file(QStringLiteral("out2"))).isEmpty());
    EXPECT_EQ(readBytes(folder.file(QStringLiteral("clash/a"))), "x");
}

TEST(BigCommands, PackThenExtractGivesBackTheFiles) {
    TempFolder folder;
    const QString source = folder.file(QStringLiteral("src"));
    QMap<QString, QByteArray> files;
    for (int k = 0; k < 30; ++k)
        files.insert(QStringLiteral("Folder%1/Sub/file%2.bin").arg(k % 3).arg(k),
                     QByteArray(k * 1000, char('a' + k % 26)));
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        writeBytes(source + u'/' + it.key(), it.value());
    const QString archive = folder.file(QStringLiteral("x.big"));
    ASSERT_EQ(big({QStringLiteral("pack"), source, archive}).exitCode, 0);
    const QString target = folder.file(QStringLiteral("out"));
    const CliRun run = big({QStringLiteral("extract"), archive, target});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(filesBelow(target), files);
}

TEST(BigRealFiles, ListShowsWhatTheBytesOfEachArchiveSay) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    for (const char* name : {"bigf-small.big", "bigf-multiple-files.big", "big4-empty-entry.big"}) {
        const QString path = realFixturesFolder() + u'/' + QString::fromLatin1(name);
        const QByteArray bytes = readBytes(path);
        QByteArray expected = bytes.left(4) + '\n';
        qsizetype at = 16;
        for (quint32 k = 0, count = bigEndianAt(bytes, 8); k < count; ++k) {
            const qsizetype nameEnd = bytes.indexOf('\0', at + 8);
            expected += QByteArray::number(bigEndianAt(bytes, at)) + '\t' +
                        QByteArray::number(bigEndianAt(bytes, at + 4)) + '\t' +
                        bytes.mid(at + 8, nameEnd - at - 8) + '\n';
            at = nameEnd + 1;
        }
        const CliRun run = big({QStringLiteral("list"), path});
        EXPECT_EQ(run.exitCode, 0) << name << run;
        EXPECT_EQ(run.out, expected) << name;
    }
}

TEST(BigRealFiles, ExtractThenPackKeepsEveryEntry) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    TempFolder folder;
    for (const char* name : {"bigf-small.big", "bigf-multiple-files.big", "big4-empty-entry.big"}) {
        const QString path = realFixturesFolder() + u'/' + QString::fromLatin1(name);
        const Entries original = entriesOf(path);
        const QString target = folder.file(QString::fromLatin1(name) + QStringLiteral(".out"));
        CliRun run = big({QStringLiteral("extract"), path, target});
        ASSERT_EQ(run.exitCode, 0) << name << run;
        QMap<QString, QByteArray> expected;
        for (const auto& [entryName, data] : original)
            expected.insert(QString::fromLatin1(entryName)
                                .replace(u'\\', u'/')
                                .remove(QRegularExpression(QStringLiteral("^/+"))),
                            data);
        EXPECT_EQ(filesBelow(target), expected) << name;

        const QString repacked = folder.file(QString::fromLatin1(name));
        run = big({QStringLiteral("pack"), target, repacked});
        ASSERT_EQ(run.exitCode, 0) << name << run;
        Entries packed;
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            packed.append({QString(it.key()).replace(u'/', u'\\').toLatin1(), it.value()});
        std::sort(packed.begin(), packed.end(), [](const auto& a, const auto& b) {
            return lessIgnoringCase(QString::fromLatin1(a.first), QString::fromLatin1(b.first));
        });
        EXPECT_EQ(entriesOf(repacked), packed) << name;
    }
}

TEST(BigPack, LinksAreFollowedAndAFolderIsWalkedOnce) {
    TempFolder folder;
    const QString source = folder.file(QStringLiteral("src"));
    writeBytes(source + QStringLiteral("/a/b/f.ini"), "F");
    ASSERT_TRUE(QFile::link(source + QStringLiteral("/a/b/f.ini"), source + QStringLiteral("/a/link.ini")));
    ASSERT_TRUE(QFile::link(source, source + QStringLiteral("/a/b/up")));
    const QString archive = folder.file(QStringLiteral("out.big"));
    const CliRun run = big({QStringLiteral("pack"), source, archive});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(readBytes(archive), archiveBytes({{"a\\b\\f.ini", "F"}, {"a\\link.ini", "F"}}));
}

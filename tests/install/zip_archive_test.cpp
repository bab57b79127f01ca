#include "install/zip_archive.h"

#include "core/dialog_service.h"
#include "core/scripted_dialogs.h"
#include "core/text_codec.h"
#include "install/package_install.h"
#include "tests/support/failing_writes.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>
#include <zip.h>

using namespace marvok;
using marvok::test::TempFolder;

namespace {

struct Entry {
    enum Kind { File, Folder, Link };
    Entry(QByteArray entryName, QByteArray entryData, Kind entryKind = File)
        : name(std::move(entryName))
        , data(std::move(entryData))
        , kind(entryKind) {}
    QByteArray name;
    QByteArray data; // a link's target for Link
    Kind kind = File;
    zip_uint16_t encryption = ZIP_EM_NONE;
    QByteArray password;
    zip_int32_t method = ZIP_CM_DEFLATE;
};

Entry file(const char* name, const QByteArray& data) {
    return Entry(QByteArray(name), data);
}

Entry encrypted(const char* name, const QByteArray& data, zip_uint16_t method, const QByteArray& password) {
    Entry entry(QByteArray(name), data);
    entry.encryption = method;
    entry.password = password;
    return entry;
}

void makeZip(const QString& path, const std::vector<Entry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << error;
    for (const Entry& entry : entries) {
        if (entry.kind == Entry::Folder) {
            ASSERT_GE(zip_dir_add(archive, entry.name.constData(), 0), 0) << zip_strerror(archive);
            continue;
        }
        zip_source_t* source = zip_source_buffer(archive, entry.data.constData(),
                                                 static_cast<zip_uint64_t>(entry.data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, entry.name.constData(), source, 0);
        ASSERT_GE(index, 0) << entry.name.constData() << ": " << zip_strerror(archive);
        const auto at = static_cast<zip_uint64_t>(index);
        ASSERT_EQ(zip_set_file_compression(archive, at, entry.method, 0), 0);
        if (entry.kind == Entry::Link) {
            ASSERT_EQ(zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX,
                                                       static_cast<zip_uint32_t>(S_IFLNK | 0777) << 16),
                      0);
        }
        if (entry.encryption != ZIP_EM_NONE) {
            ASSERT_EQ(zip_file_set_encryption(archive, at, entry.encryption, entry.password.constData()), 0)
                << zip_strerror(archive);
        }
    }
    ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

quint32 readLe32(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes[at + i]);
    return value;
}
quint16 readLe16(const QByteArray& bytes, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) | (static_cast<quint8>(bytes[at + 1]) << 8));
}
void writeLe32(QByteArray& bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Offset of the local header of `name`.
qsizetype localHeader(const QByteArray& bytes, const QByteArray& name) {
    for (qsizetype at = bytes.indexOf("PK\x03\x04"); at >= 0; at = bytes.indexOf("PK\x03\x04", at + 1)) {
        if (bytes.mid(at + 30, readLe16(bytes, at + 26)) == name)
            return at;
    }
    return -1;
}

// Flips bytes in the compressed data of `name`, near its end so that a reader has already produced
// output before it finds the damage.
void corruptEntryData(const QString& path, const QByteArray& name) {
    QByteArray bytes = test::readBytes(path);
    const qsizetype header = localHeader(bytes, name);
    ASSERT_GE(header, 0);
    const qsizetype data = header + 30 + readLe16(bytes, header + 26) + readLe16(bytes, header + 28);
    const qsizetype size = readLe32(bytes, header + 18);
    ASSERT_GT(size, 16);
    for (qsizetype at = data + size - 12; at < data + size - 4; ++at)
        bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    test::writeBytes(path, bytes);
}

// Makes both headers of `name` claim `size` uncompressed bytes.
void claimSize(const QString& path, const QByteArray& name, quint32 size) {
    QByteArray bytes = test::readBytes(path);
    const qsizetype header = localHeader(bytes, name);
    ASSERT_GE(header, 0);
    writeLe32(bytes, header + 22, size);
    bool patched = false;
    for (qsizetype at = bytes.indexOf("PK\x01\x02"); at >= 0; at = bytes.indexOf("PK\x01\x02", at + 1)) {
        if (bytes.mid(at + 46, readLe16(bytes, at + 28)) == name) {
            writeLe32(bytes, at + 24, size);
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    test::writeBytes(path, bytes);
}

// Text that deflate cannot shrink to nothing, so a damaged entry has produced output before the end.
QByteArray noisyText(int size) {
    QByteArray text(size, Qt::Uninitialized);
    quint32 state = 12345;
    for (int i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        text[i] = static_cast<char>('a' + (state >> 16) % 26);
    }
    return text;
}

// Every file, folder and link below `folder`, relative, sorted; links marked with "@".
QStringList treeOf(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(folder).relativeFilePath(it.filePath());
        if (it.fileInfo().isSymLink())
            entries.append(QStringLiteral("@") + relative);
        else
            entries.append(it.fileInfo().isDir() ? relative + u'/' : relative);
    }
    entries.sort();
    return entries;
}

QStringList skippedNames(const ccZip& zip, ZipSkipReason reason) {
    QStringList names;
    for (const ZipSkippedEntry& entry : zip.skippedEntries())
        if (entry.reason == reason)
            names.append(entry.name);
    return names;
}

QStringList qsl(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

// What the program binds the password question to.
void askThroughDialogs(ccZip& zip) {
    zip.setPasswordQuestion(
        [](const QString& prompt) { return dialogs().inputBox(prompt, QString(), QString()); });
}

std::vector<DialogCall> inputCalls(const ScriptedDialogService& service) {
    std::vector<DialogCall> calls;
    for (const DialogCall& call : service.calls())
        if (call.kind == DialogCall::Kind::Input)
            calls.push_back(call);
    return calls;
}

} // namespace

TEST(ZipArchive, KeepsOrDropsTheArchiveFolders) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    const Entry folder("Empty/", {}, Entry::Folder);
    makeZip(archive, {file("Maps/Desert/Desert.map", "map"), file("Maps\\Desert\\Desert.tga", "tga"),
                      file("Readme.txt", "read me"), file("a/./b//c.txt", "c"), folder});

    struct Case {
        int honorDirectories;
        QStringList tree;
    };
    const Case cases[] = {
        {1, qsl({"Empty/", "Maps/", "Maps/Desert/", "Maps/Desert/Desert.map", "Maps/Desert/Desert.tga",
                 "Readme.txt", "a/", "a/b/", "a/b/c.txt"})},
        {0, qsl({"Desert.map", "Desert.tga", "Readme.txt", "c.txt"})},
    };
    for (const Case& c : cases) {
        const QString target = dir.file(QStringLiteral("target%1/").arg(c.honorDirectories));
        QDir().mkpath(target);
        ccZip zip;
        zip.Init(archive);
        EXPECT_EQ(zip.Name(), archive);
        EXPECT_EQ(zip.Decompress(target, QString(), c.honorDirectories), ZipStatus::Ok);
        EXPECT_EQ(treeOf(target), c.tree) << c.honorDirectories;
        EXPECT_TRUE(zip.skippedEntries().isEmpty());
    }
    EXPECT_EQ(test::readBytes(dir.file(QStringLiteral("target1/Maps/Desert/Desert.tga"))), "tga");
    EXPECT_EQ(test::readBytes(dir.file(QStringLiteral("target0/Desert.map"))), "map");
}

TEST(ZipArchive, OverwritesExistingFilesAndTheLastOfOneNameWins) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive, {file("Games/1v1/Final.rep", "first"), file("Games/2v2/final.REP", "second"),
                      file("Notes.txt", "new notes")});
    const QString target = dir.file(QStringLiteral("tmp/"));
    test::writeBytes(target + QStringLiteral("notes.txt"), "old notes");

    ccZip zip;
    zip.Init(archive);
    EXPECT_EQ(zip.Decompress(target, QString(), 0), ZipStatus::Ok);
    // Names that differ only in case are one file, as on the games' file system.
    EXPECT_EQ(treeOf(target), qsl({"Final.rep", "notes.txt"}));
    EXPECT_EQ(test::readBytes(target + QStringLiteral("Final.rep")), "second");
    EXPECT_EQ(test::readBytes(target + QStringLiteral("notes.txt")), "new notes");
}

TEST(ZipArchive, AnEmptyTargetDoesNothing) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive, {file("Readme.txt", "x")});
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.file(QString()));

    ccZip zip;
    zip.Init(archive);
    EXPECT_EQ(zip.Decompress(QString(), QString(), 1), ZipStatus::NoTarget);
    EXPECT_EQ(treeOf(dir.path()), qsl({"pack.zip"}));
    QDir::setCurrent(previous);
}

TEST(ZipArchive, WhatIsNoArchiveExtractsNothing) {
    TempFolder dir;
    test::writeBytes(dir.file(QStringLiteral("text.zip")), "PK but not really an archive at all");
    test::writeBytes(dir.file(QStringLiteral("empty.zip")), "");
    for (const char* name : {"missing.zip", "text.zip", "empty.zip"}) {
        const QString target = dir.file(QStringLiteral("out/"));
        ccZip zip;
        zip.Init(dir.file(QString::fromUtf8(name)));
        EXPECT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::ArchiveUnreadable) << name;
        EXPECT_FALSE(zip.lastError().isEmpty()) << name;
        EXPECT_TRUE(treeOf(target).isEmpty()) << name;
    }
}

TEST(ZipArchive, OneNamedEntryIsExtractedAlone) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive, {file("Maps/Desert/Desert.map", "map"), file("Readme.txt", "x")});
    const QString target = dir.file(QStringLiteral("out/"));

    ccZip zip;
    zip.Init(archive);
    EXPECT_EQ(zip.Decompress(target, QStringLiteral("Maps\\Desert\\Desert.map"), 1), ZipStatus::Ok);
    EXPECT_EQ(treeOf(target), qsl({"Maps/", "Maps/Desert/", "Maps/Desert/Desert.map"}));
    EXPECT_EQ(zip.Decompress(target, QStringLiteral("Other.map"), 1), ZipStatus::NoEntryNamed);
}

TEST(ZipArchive, NamesThatLeaveTheTargetAreSkipped) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    const QByteArray absoluteInside = QFile::encodeName(dir.file(QStringLiteral("escaped-absolute")));
    const std::vector<QByteArray> hostile = {
        "../x",         "/abs",
        "C:\\x",        "a\\..\\..\\x",
        "..\\y",        "c:drive-relative",
        "Maps/../../z", "deep/../../../../w",
        absoluteInside, "\\\\server\\share\\v",
        "Maps/..",      "../",
    };
    std::vector<Entry> entries = {file("ok.txt", "ok")};
    for (const QByteArray& name : hostile)
        entries.push_back(Entry(name, "bad"));
    entries.push_back(file("a/../inside.txt", "inside"));
    makeZip(archive, entries);

    QStringList hostileNames;
    for (const QByteArray& name : hostile)
        hostileNames.append(QString::fromUtf8(name));
    struct Case {
        int honorDirectories;
        QStringList tree;
    };
    const Case cases[] = {{1, qsl({"inside.txt", "ok.txt"})}, {0, qsl({"inside.txt", "ok.txt"})}};
    for (const Case& c : cases) {
        const QString target = dir.file(QStringLiteral("deep/down/target/"));
        QDir(dir.file(QStringLiteral("deep"))).removeRecursively();
        QDir().mkpath(target);
        ccZip zip;
        zip.Init(archive);
        EXPECT_EQ(zip.Decompress(target, QString(), c.honorDirectories), ZipStatus::EntriesSkipped);
        EXPECT_EQ(skippedNames(zip, ZipSkipReason::UnsafeName), hostileNames);
        EXPECT_EQ(zip.skippedEntries().size(), hostileNames.size());
        EXPECT_EQ(treeOf(target), c.tree) << c.honorDirectories;
        EXPECT_EQ(treeOf(dir.path()),
                  qsl({"deep/", "deep/down/", "deep/down/target/", "deep/down/target/inside.txt",
                       "deep/down/target/ok.txt", "pack.zip"}));
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/abs")));
}

TEST(ZipArchive, LinksAreNeitherCreatedNorFollowed) {
    TempFolder dir;
    const QString outside = dir.file(QStringLiteral("outside/"));
    test::writeBytes(outside + QStringLiteral("victim.txt"), "precious");
    const QString target = dir.file(QStringLiteral("target/"));
    QDir().mkpath(target);
    // What an earlier unpacking by another tool could have left in the target.
    ASSERT_TRUE(QFile::link(outside, target + QStringLiteral("Maps")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("victim.txt"), target + QStringLiteral("file.txt")));

    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive,
            {Entry("escape", "../outside", Entry::Link),
             Entry("Data/victim-link", "../../outside/victim.txt", Entry::Link),
             file("maps/victim.txt", "overwritten"), file("file.txt", "overwritten"), file("ok.txt", "ok")});

    ccZip zip;
    zip.Init(archive);
    EXPECT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::EntriesSkipped);
    EXPECT_EQ(skippedNames(zip, ZipSkipReason::SymbolicLink), qsl({"escape", "Data/victim-link"}));
    EXPECT_EQ(skippedNames(zip, ZipSkipReason::ThroughLink), qsl({"maps/victim.txt", "file.txt"}));
    EXPECT_EQ(test::readBytes(outside + QStringLiteral("victim.txt")), "precious");
    EXPECT_EQ(treeOf(target), qsl({"@Maps", "@file.txt", "ok.txt"}));
    EXPECT_EQ(treeOf(outside), qsl({"victim.txt"}));
}

TEST(ZipArchive, ADamagedEntryLeavesNoPartialFileAndTheOthersAreExtracted) {
    for (const zip_int32_t method : {ZIP_CM_STORE, ZIP_CM_DEFLATE}) {
        TempFolder dir;
        const QString archive = dir.file(QStringLiteral("pack.zip"));
        Entry big = file("Maps/Big.map", noisyText(1 << 20));
        big.method = method;
        makeZip(archive, {file("Maps/First.txt", "first"), big, file("Maps/Last.txt", "last")});
        corruptEntryData(archive, "Maps/Big.map");
        const QString target = dir.file(QStringLiteral("tmp/"));
        test::writeBytes(target + QStringLiteral("Maps/Big.map"), "the copy from before");

        ccZip zip;
        zip.Init(archive);
        EXPECT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::EntriesSkipped) << method;
        EXPECT_EQ(skippedNames(zip, ZipSkipReason::Damaged), qsl({"Maps/Big.map"})) << method;
        EXPECT_EQ(treeOf(target), qsl({"Maps/", "Maps/Big.map", "Maps/First.txt", "Maps/Last.txt"}))
            << method;
        EXPECT_EQ(test::readBytes(target + QStringLiteral("Maps/Big.map")), "the copy from before") << method;
        EXPECT_EQ(test::readBytes(target + QStringLiteral("Maps/Last.txt")), "last") << method;
    }
}

TEST(ZipArchive, SizesThatDisagreeWithTheDataAreDamage) {
    struct Case {
        const char* what;
        zip_int32_t method;
        quint32 claimed;
    };
    const Case cases[] = {
        {"far beyond the data", ZIP_CM_DEFLATE, 0xFFFFFF00u},
        {"far beyond the data, stored", ZIP_CM_STORE, 0xFFFFFF00u},
        {"far below the data", ZIP_CM_DEFLATE, 10},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        const QString archive = dir.file(QStringLiteral("pack.zip"));
        Entry big = file("Big.map", noisyText(300000));
        big.method = c.method;
        makeZip(archive, {big, file("Last.txt", "last")});
        claimSize(archive, "Big.map", c.claimed);
        const QString target = dir.file(QStringLiteral("tmp/"));

        ccZip zip;
        zip.Init(archive);
        EXPECT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::EntriesSkipped) << c.what;
        EXPECT_EQ(skippedNames(zip, ZipSkipReason::Damaged), qsl({"Big.map"})) << c.what;
        EXPECT_EQ(treeOf(target), qsl({"Last.txt"})) << c.what;
    }
}

// The disk fills up while an entry is written: in the middle of the data, or with only its last few
// bytes still to go when the file is committed.
TEST(ZipArchive, AFileThatCannotBeWrittenWholeLeavesTheOldOne) {
    for (const int size : {300000, 64 * 1024 + 100}) {
        TempFolder dir;
        const QString archive = dir.file(QStringLiteral("pack.zip"));
        Entry big = file("Maps/Big.map", noisyText(size));
        big.method = ZIP_CM_STORE;
        makeZip(archive, {big, file("Maps/Small.txt", "small")});
        const QString target = dir.file(QStringLiteral("tmp/"));
        test::writeBytes(target + QStringLiteral("Maps/Big.map"), "the copy from before");

        const auto outcome = test::runWithFileSizeLimit(64 * 1024, [&]() -> QString {
            ccZip zip;
            zip.Init(archive);
            const qint32 status = zip.Decompress(target, QString(), 1);
            return QString::number(status) + u'|' + skippedNames(zip, ZipSkipReason::WriteFailed).join(u',');
        });
        EXPECT_EQ(outcome, QString::number(ZipStatus::EntriesSkipped) + QStringLiteral("|Maps/Big.map"))
            << size;
        EXPECT_EQ(test::readBytes(target + QStringLiteral("Maps/Big.map")), "the copy from before") << size;
        EXPECT_EQ(test::readBytes(target + QStringLiteral("Maps/Small.txt")), "small") << size;
        EXPECT_EQ(treeOf(target), qsl({"Maps/", "Maps/Big.map", "Maps/Small.txt"})) << size;
    }
}

// Installing a replay over an older copy while the disk fills up: the older copy stays, the next
// entry is still installed, and the failure names the file it could not write.
TEST(PackageInstall, ACopyThatCannotBeWrittenWholeLeavesTheOldOne) {
    TempFolder dir;
    const QString unpacked = dir.file(QStringLiteral("unpacked/"));
    test::writeBytes(unpacked + QStringLiteral("Final.rep"), noisyText(300000));
    test::writeBytes(unpacked + QStringLiteral("Small.rep"), "small");
    const QString replays = dir.file(QStringLiteral("Replays/"));
    test::writeBytes(replays + QStringLiteral("Final.rep"), "the copy from before");

    const auto outcome = test::runWithFileSizeLimit(64 * 1024, [&] {
        const QList<PackageEntry> entries = findPackageEntries(PackageKind::Replays, unpacked);
        return describeFailures(installPackageEntries(PackageKind::Replays, entries, replays));
    });
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->contains(QDir::toNativeSeparators(replays + QStringLiteral("Final.rep"))))
        << outcome->toStdString();
    EXPECT_FALSE(outcome->contains(QStringLiteral("Small.rep"))) << outcome->toStdString();
    EXPECT_EQ(test::readBytes(replays + QStringLiteral("Final.rep")), "the copy from before");
    EXPECT_EQ(test::readBytes(replays + QStringLiteral("Small.rep")), "small");
    EXPECT_EQ(treeOf(replays), qsl({"Final.rep", "Small.rep"}));
}

// Each extracted file is synced to disk once complete; in memory, where the machine has a file system
// there, the test measures the extraction rather than the disk.
TEST(ZipArchive, AHundredThousandEmptyEntriesAreExtracted) {
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString base = memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/marvok-zip-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    const QString archive = dir.filePath(QStringLiteral("many.zip"));
    std::vector<Entry> entries;
    entries.reserve(100000);
    for (int k = 0; k < 100000; ++k) {
        entries.push_back(Entry(QStringLiteral("Maps/M%1/e%2.txt").arg(k / 1000).arg(k).toUtf8(), {}));
        entries.back().method = ZIP_CM_STORE;
    }
    makeZip(archive, entries);
    const QString target = dir.filePath(QStringLiteral("tmp/"));

    ccZip zip;
    zip.Init(archive);
    ASSERT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::Ok);
    qsizetype files = 0;
    for (QDirIterator it(target, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++files;
    EXPECT_EQ(files, 100000);
    EXPECT_EQ(QFileInfo(target + QStringLiteral("Maps/M99/e99999.txt")).size(), 0);
}

class EncryptedZip : public ::testing::TestWithParam<zip_uint16_t> {};

TEST_P(EncryptedZip, AsksForThePasswordUntilOneOpensTheEntry) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive,
            {encrypted("Secret.map", noisyText(5000), GetParam(), "sesame"), file("Readme.txt", "plain")});

    struct Case {
        const char* what;
        std::vector<const char*> answers; // nullptr: cancelled
        int questions;
        bool extracted;
        ZipSkipReason reason;
    };
    const Case cases[] = {
        {"right", {"sesame"}, 1, true, {}},
        {"wrong, then right", {"open up", "sesame"}, 2, true, {}},
        {"empty", {""}, 1, false, ZipSkipReason::NoPassword},
        {"cancelled", {nullptr}, 1, false, ZipSkipReason::NoPassword},
        {"wrong, then cancelled", {"open up", nullptr}, 2, false, ZipSkipReason::WrongPassword},
        {"wrong three times", {"a", "b", "c", "sesame"}, 3, false, ZipSkipReason::WrongPassword},
    };
    for (const Case& c : cases) {
        ScriptedDialogService service;
        for (const char* answer : c.answers) {
            if (answer)
                service.answerInput(QString::fromUtf8(answer));
            else
                service.cancelInput();
        }
        const QString target = dir.file(QStringLiteral("tmp/"));
        QDir(target).removeRecursively();
        ccZip zip;
        askThroughDialogs(zip);
        zip.Init(archive);
        const qint32 status = zip.Decompress(target, QString(), 1);

        const std::vector<DialogCall> questions = inputCalls(service);
        ASSERT_EQ(static_cast<int>(questions.size()), c.questions) << c.what;
        for (const DialogCall& question : questions) {
            EXPECT_EQ(question.text, QStringLiteral("Please Enter The Password!"));
            EXPECT_EQ(question.title, QString());
            EXPECT_EQ(question.initialPath, QString());
        }
        EXPECT_EQ(test::readBytes(target + QStringLiteral("Readme.txt")), "plain") << c.what;
        if (c.extracted) {
            EXPECT_EQ(status, ZipStatus::Ok) << c.what;
            EXPECT_EQ(test::readBytes(target + QStringLiteral("Secret.map")), noisyText(5000)) << c.what;
        } else {
            EXPECT_EQ(status, ZipStatus::EntriesSkipped) << c.what;
            EXPECT_EQ(skippedNames(zip, c.reason), qsl({"Secret.map"})) << c.what;
            EXPECT_EQ(treeOf(target), qsl({"Readme.txt"})) << c.what;
        }
    }
}

TEST_P(EncryptedZip, APasswordThatWorkedIsTriedFirstOnTheNextEntryOnly) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive,
            {encrypted("one.txt", "1", GetParam(), "first"), encrypted("two.txt", "2", GetParam(), "first"),
             encrypted("three.txt", "3", GetParam(), "second")});
    const QString target = dir.file(QStringLiteral("tmp/"));

    ScriptedDialogService service;
    service.answerInput(QStringLiteral("first"));
    service.answerInput(QStringLiteral("second"));
    service.answerInput(QStringLiteral("first"));
    service.answerInput(QStringLiteral("second"));
    ccZip zip;
    askThroughDialogs(zip);
    zip.Init(archive);
    EXPECT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::Ok);
    EXPECT_EQ(inputCalls(service).size(), 2u);
    EXPECT_EQ(treeOf(target), qsl({"one.txt", "three.txt", "two.txt"}));

    // A new unpacking keeps nothing of the last one.
    EXPECT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::Ok);
    EXPECT_EQ(inputCalls(service).size(), 4u);
    EXPECT_EQ(service.unexpected(), 0);
}

TEST_P(EncryptedZip, APasswordBeyondAsciiOpensInEitherEncoding) {
    const QString typed = QString::fromUtf8("d\xC3\xA9j\xC3\xA0 vu");
    for (const QByteArray& bytes : {*encodeWindows1252(typed), typed.toUtf8()}) {
        TempFolder dir;
        const QString archive = dir.file(QStringLiteral("pack.zip"));
        makeZip(archive, {encrypted("Secret.map", "data", GetParam(), bytes)});
        const QString target = dir.file(QStringLiteral("tmp/"));
        ccZip zip;
        zip.setPasswordQuestion([&](const QString&) { return std::optional<QString>(typed); });
        zip.Init(archive);
        EXPECT_EQ(zip.Decompress(target, QString(), 0), ZipStatus::Ok);
        EXPECT_EQ(test::readBytes(target + QStringLiteral("Secret.map")), "data");
    }
}

TEST_P(EncryptedZip, WithoutAQuestionEncryptedEntriesAreSkipped) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive, {encrypted("Secret.map", "data", GetParam(), "sesame"), file("Readme.txt", "plain")});
    const QString target = dir.file(QStringLiteral("tmp/"));
    ccZip zip;
    zip.Init(archive);
    EXPECT_EQ(zip.Decompress(target, QString(), 0), ZipStatus::EntriesSkipped);
    EXPECT_EQ(skippedNames(zip, ZipSkipReason::NoPassword), qsl({"Secret.map"}));
    EXPECT_EQ(treeOf(target), qsl({"Readme.txt"}));
}

// ZipCrypto checks a password against one byte of the entry's header, so about one wrong password
// in 256 opens the entry and decrypts to garbage.
TEST(ZipArchive, AWrongPasswordThatPassesTheQuickCheckIsAskedAgain) {
    TempFolder dir;
    const QString archive = dir.file(QStringLiteral("pack.zip"));
    makeZip(archive, {encrypted("Secret.map", noisyText(5000), ZIP_EM_TRAD_PKWARE, "sesame")});
    QByteArray passesCheck;
    zip_t* reader = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, nullptr);
    ASSERT_NE(reader, nullptr);
    for (int i = 0; i < 100000 && passesCheck.isEmpty(); ++i) {
        const QByteArray candidate = "wrong" + QByteArray::number(i);
        if (zip_file_t* entry = zip_fopen_index_encrypted(reader, 0, 0, candidate.constData())) {
            zip_fclose(entry);
            passesCheck = candidate;
        }
    }
    zip_discard(reader);
    ASSERT_FALSE(passesCheck.isEmpty());

    ScriptedDialogService service;
    service.answerInput(QString::fromUtf8(passesCheck));
    service.answerInput(QStringLiteral("sesame"));
    const QString target = dir.file(QStringLiteral("tmp/"));
    ccZip zip;
    askThroughDialogs(zip);
    zip.Init(archive);
    EXPECT_EQ(zip.Decompress(target, QString(), 1), ZipStatus::Ok);
    EXPECT_EQ(inputCalls(service).size(), 2u);
    EXPECT_EQ(test::readBytes(target + QStringLiteral("Secret.map")), noisyText(5000));
}

INSTANTIATE_TEST_SUITE_P(Methods, EncryptedZip, ::testing::Values(ZIP_EM_TRAD_PKWARE, ZIP_EM_AES_256),
                         [](const ::testing::TestParamInfo<zip_uint16_t>& info) {
                             return std::string(info.param == ZIP_EM_AES_256 ? "Aes256" : "ZipCrypto");
                         });

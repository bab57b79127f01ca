#include "csf/csf_file.h"

#include "tests/support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace marvok;
using namespace Qt::StringLiterals;
using marvok::test::readBytes;
using marvok::test::TempFolder;
using marvok::test::writeBytes;

namespace {

QByteArray u32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray header(const char* tag = " FSC", quint8 language = 0) {
    // Counts that match nothing: the reader must not rely on them.
    return QByteArray(tag, 4) + u32(3) + u32(99) + u32(98) + u32(0) + u32(language);
}

QByteArray labelRecord(const QByteArray& name, const char* tag = " LBL") {
    return QByteArray(tag, 4) + u32(1) + u32(quint32(name.size())) + name;
}

QByteArray stringRecord(const QString& text, const char* tag = " RTS") {
    QByteArray bytes = QByteArray(tag, 4) + u32(quint32(text.size()));
    for (QChar c : text) {
        const char16_t unit = char16_t(~c.unicode());
        bytes.append(char(unit & 0xFF)).append(char(unit >> 8));
    }
    return bytes;
}

QByteArray extraStringRecord(const QString& text, const QByteArray& extra, const char* tag = "WRTS") {
    return stringRecord(text, tag) + u32(quint32(extra.size())) + extra;
}

CsfEntry row(const QString& name, const QString& value) {
    return {name, value, false, {}};
}

CsfReadResult readBytesAsCsf(const QByteArray& bytes) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("t.csf"));
    writeBytes(path, bytes);
    return ReadCsf(path);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

TEST(CsfFile, OneRowWithLanguage3IsTheFiftySevenByteFile) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("menu.csf"));
    const CsfWriteResult written = WriteCsf(path, {row(QStringLiteral("MENU:OK"), QStringLiteral("Oui"))}, 3);
    EXPECT_TRUE(written.ok());
    EXPECT_EQ(written.message, CsfMsg::Saved);
    EXPECT_EQ(written.messageValue, path);

    const QByteArray expected = QByteArray::fromHex("20465343 03000000 01000000 01000000 00000000 03000000"
                                                    "204C424C 01000000 07000000") +
                                "MENU:OK" + QByteArray::fromHex("20525453 03000000 B0FF8AFF96FF");
    ASSERT_EQ(expected.size(), 57);
    EXPECT_EQ(readBytes(path), expected);

    const CsfReadResult read = ReadCsf(path);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.language, 3);
    EXPECT_EQ(read.table, CsfTable({row(QStringLiteral("MENU:OK"), QStringLiteral("Oui"))}));
}

TEST(CsfFile, ReaderWalksLeniently) {
    struct Case {
        const char* what;
        QByteArray bytes;
        CsfTable rows;
    };
    const QString a = QStringLiteral("A:ONE");
    const QString b = QStringLiteral("B:TWO");
    const Case cases[] = {
        {"tags in lower case",
         header(" fsc") + labelRecord("A:ONE", " lbl") + stringRecord(u"un"_s, " rts"),
         {row(a, u"un"_s)}},
        {"two strings after one label",
         header() + labelRecord("A:ONE") + stringRecord(u"un"_s) + stringRecord(u"deux"_s),
         {row(a, u"un"_s), row(a, u"deux"_s)}},
        {"a string before any label",
         header() + stringRecord(u"seul"_s) + labelRecord("B:TWO") + stringRecord(u"deux"_s),
         {row({}, u"seul"_s), row(b, u"deux"_s)}},
        {"a label without a string gives no row",
         header() + labelRecord("A:ONE") + labelRecord("B:TWO") + stringRecord(u"deux"_s),
         {row(b, u"deux"_s)}},
        {"unknown bytes stepped over 3 at a time",
         header() + "xyz" + labelRecord("A:ONE") + "ABCDEF" + stringRecord(u"un"_s),
         {row(a, u"un"_s)}},
        {"empty name and empty text", header() + labelRecord("") + stringRecord({}), {row({}, {})}},
    };
    for (const Case& c : cases) {
        const CsfReadResult read = readBytesAsCsf(c.bytes);
        EXPECT_TRUE(read.ok()) << c.what;
        EXPECT_EQ(read.table, c.rows) << c.what;
    }
}

TEST(CsfFile, EachRowIsWrittenAsOneLabelWithOneString) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("t.csf"));
    const CsfTable rows = {row(QStringLiteral("A:ONE"), QStringLiteral("un")),
                           row(QStringLiteral("A:ONE"), QStringLiteral("deux")), row({}, {})};
    ASSERT_TRUE(WriteCsf(path, rows, 8).ok());
    const QByteArray expected = QByteArray(" FSC", 4) + u32(3) + u32(3) + u32(3) + u32(0) + u32(8) +
                                labelRecord("A:ONE") + stringRecord(u"un"_s) + labelRecord("A:ONE") +
                                stringRecord(u"deux"_s) + labelRecord("") + stringRecord({});
    EXPECT_EQ(readBytes(path), expected);

    ASSERT_TRUE(WriteCsf(path, {}, 0).ok());
    EXPECT_EQ(readBytes(path), QByteArray(" FSC", 4) + u32(3) + u32(0) + u32(0) + u32(0) + u32(0));
}

TEST(CsfFile, BadFilesGiveMessage18WithTheRowsReadBefore) {
    struct Case {
        const char* what;
        QByteArray bytes;
        CsfReadProblem problem;
        qsizetype rows;
    };
    const QByteArray good = labelRecord("A:ONE") + stringRecord(u"un"_s);
    const Case cases[] = {
        {"not a string table", "BIGF" + good, CsfReadProblem::NotCsf, 0},
        {"shorter than a tag", " FS", CsfReadProblem::NotCsf, 0},
        {"only the header", header(), CsfReadProblem::NoStrings, 0},
        {"labels but no string", header() + labelRecord("A:ONE"), CsfReadProblem::NoStrings, 0},
        {"label name past the end", header() + good + labelRecord("B:TWO").chopped(1),
         CsfReadProblem::RecordPastEnd, 1},
        {"text past the end", header() + good + stringRecord(u"deux"_s).chopped(1),
         CsfReadProblem::RecordPastEnd, 1},
        {"string length cut", header() + good + QByteArray(" RTS\x01", 5), CsfReadProblem::RecordPastEnd, 1},
        {"extra value past the end", header() + good + extraStringRecord(u"x"_s, "abc").chopped(1),
         CsfReadProblem::RecordPastEnd, 1},
        {"a length far past the end", header() + good + QByteArray(" RTS", 4) + u32(0xFFFFFFFF),
         CsfReadProblem::RecordPastEnd, 1},
        {"a tag cut short", header() + good + " RT", CsfReadProblem::RecordPastEnd, 1},
    };
    for (const Case& c : cases) {
        const CsfReadResult read = readBytesAsCsf(c.bytes);
        EXPECT_EQ(read.problem, c.problem) << c.what;
        EXPECT_FALSE(read.ok()) << c.what;
        EXPECT_EQ(read.table.size(), c.rows) << c.what;
    }

    TempFolder folder;
    EXPECT_EQ(ReadCsf(folder.file(QStringLiteral("missing.csf"))).problem, CsfReadProblem::Unreadable);
    EXPECT_EQ(ReadCsf(folder.path()).problem, CsfReadProblem::Unreadable);
}

TEST(CsfFile, MoreThan32767StringsGiveMessage18AfterTheFirst32767) {
    QByteArray bytes = header() + labelRecord("A:ONE");
    const QByteArray string = stringRecord(u"x"_s);
    for (int i = 0; i < CsfMaxRows + 1; ++i)
        bytes += string;
    const CsfReadResult read = readBytesAsCsf(bytes);
    EXPECT_EQ(read.problem, CsfReadProblem::TooManyStrings);
    EXPECT_EQ(read.table.size(), CsfMaxRows);
    EXPECT_EQ(read.problemOffset, bytes.size() - string.size());

    bytes.chop(string.size());
    EXPECT_TRUE(readBytesAsCsf(bytes).ok());
}

TEST(CsfFile, TextIsWholeUtf16WithEveryBitInverted) {
    // Latin-1, Windows-1252 only, Cyrillic, Hangul and a character beyond 16 bits.
    const QString text = QStringLiteral("é€œ“Жук한😀");
    const QByteArray units = QByteArray::fromHex("16FF 53DF ACFE E3DF E9FB BCFB C5FB A32A C227 FF21");
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("t.csf"));
    ASSERT_TRUE(WriteCsf(path, {row(QStringLiteral("T:X"), text)}, 0).ok());
    const QByteArray bytes = readBytes(path);
    EXPECT_EQ(bytes.right(units.size() + 4), u32(quint32(text.size())) + units);

    const CsfReadResult read = ReadCsf(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.table.value(0).Value, text);
}

TEST(CsfFile, WrtsStringsKeepTheirExtraValue) {
    const QByteArray original = header(" FSC", 2) + labelRecord("SPEECH:HELLO") +
                                extraStringRecord(u"Hallo"_s, "hello.wav") + labelRecord("A:ONE") +
                                extraStringRecord(u"un"_s, "", "wrts");
    const CsfReadResult read = readBytesAsCsf(original);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.table, CsfTable({{u"SPEECH:HELLO"_s, u"Hallo"_s, true, "hello.wav"},
                                    {u"A:ONE"_s, u"un"_s, true, {}}}));

    TempFolder folder;
    const QString path = folder.file(QStringLiteral("t.csf"));
    ASSERT_TRUE(WriteCsf(path, read.table, quint8(read.language)).ok());
    const QByteArray expected = QByteArray(" FSC", 4) + u32(3) + u32(2) + u32(2) + u32(0) + u32(2) +
                                labelRecord("SPEECH:HELLO") + extraStringRecord(u"Hallo"_s, "hello.wav") +
                                labelRecord("A:ONE") + extraStringRecord(u"un"_s, "");
    EXPECT_EQ(readBytes(path), expected);
}

TEST(CsfFile, LabelOutsideWindows1252IsRefusedAndNothingIsWritten) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("t.csf"));
    writeBytes(path, "old");
    const CsfWriteResult written = WriteCsf(
        path, {row(QStringLiteral("Œuvre:€"), {}), row(QStringLiteral("ЖУК:1"), QStringLiteral("x"))}, 0);
    EXPECT_EQ(written.message, Msg::CannotEncodeName);
    EXPECT_EQ(written.messageValue, QStringLiteral("ЖУК:1"));
    EXPECT_EQ(readBytes(path), QByteArray("old"));
    EXPECT_EQ(filesIn(folder.path()), QStringList{QStringLiteral("t.csf")});
}

TEST(CsfFile, AFailedWriteIsReportedAndLeavesTheFileAsItWas) {
    TempFolder folder;
    const CsfTable rows = {row(QStringLiteral("A:ONE"), QString(4000, QChar(u'x')))};

    const QString missingFolder = folder.file(QStringLiteral("nowhere/t.csf"));
    const CsfWriteResult noFolder = WriteCsf(missingFolder, rows, 0);
    EXPECT_EQ(noFolder.message, 2);
    EXPECT_FALSE(noFolder.ok());
    EXPECT_NE(noFolder.failure.number, 0);
    EXPECT_TRUE(noFolder.failure.description.contains(missingFolder));
    EXPECT_FALSE(noFolder.failure.source.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(missingFolder));

    // A disk that fills up in the middle of the write: files may not grow past 1 KiB.
    const QString path = folder.file(QStringLiteral("t.csf"));
    writeBytes(path, "old");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CsfWriteResult full = WriteCsf(path, rows, 0);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(full.message, 2);
    EXPECT_NE(full.failure.number, 0);
    EXPECT_EQ(readBytes(path), QByteArray("old"));
    EXPECT_EQ(filesIn(folder.path()), QStringList{QStringLiteral("t.csf")});
}

namespace {

// The bytes a read followed by a write must give, derived from the original file's own structure:
// the header's counts become the number of strings, a label without any string disappears, a label
// with several strings is repeated before each of them, and every string record is kept byte for
// byte. Walks the structure strictly: real files have nothing else.
QByteArray flattened(const QByteArray& original, qsizetype* strings) {
    QByteArray records;
    *strings = 0;
    const auto at = [&original](qsizetype offset) {
        return qFromLittleEndian<quint32>(original.constData() + offset);
    };
    qsizetype offset = 24;
    while (offset < original.size()) {
        EXPECT_EQ(original.mid(offset, 4), QByteArray(" LBL", 4));
        const quint32 count = at(offset + 4);
        const qsizetype nameLength = at(offset + 8);
        const QByteArray name = original.mid(offset + 12, nameLength);
        offset += 12 + nameLength;
        for (quint32 i = 0; i < count; ++i) {
            const bool extra = original.mid(offset, 4) == "WRTS";
            qsizetype length = 8 + 2 * qsizetype(at(offset + 4));
            if (extra)
                length += 4 + at(offset + length);
            records += QByteArray(" LBL", 4) + u32(1) + u32(quint32(name.size())) + name +
                       original.mid(offset, length);
            offset += length;
            ++*strings;
        }
    }
    return original.left(4) + u32(3) + u32(quint32(*strings)) + u32(quint32(*strings)) + u32(0) +
           original.mid(20, 1) + QByteArray(3, '\0') + records;
}

} // namespace

TEST(CsfRealFiles, ReadAndWrittenBackDifferOnlyInTheFlatStructure) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    struct Case {
        const char* file;
        int language;
        const char* droppedLabel; // a label without any string, or nullptr
    };
    const Case cases[] = {{"zh-mod-english.csf", 0, nullptr},
                          {"bfme-korean.csf", 15, "TOOLTIP:InvalidGameVersion"}};
    TempFolder folder;
    for (const Case& c : cases) {
        const QString path = marvok::test::realFixturesFolder() + u'/' + QString::fromUtf8(c.file);
        const QByteArray original = readBytes(path);
        qsizetype strings = 0;
        const QByteArray expected = flattened(original, &strings);

        const CsfReadResult read = ReadCsf(path);
        ASSERT_TRUE(read.ok()) << c.file;
        EXPECT_EQ(read.language, c.language) << c.file;
        EXPECT_EQ(read.table.size(), strings) << c.file;
        if (c.droppedLabel) {
            EXPECT_TRUE(original.contains(c.droppedLabel)) << c.file;
            EXPECT_TRUE(std::none_of(read.table.begin(), read.table.end(), [&c](const CsfEntry& e) {
                return e.Name == QLatin1String(c.droppedLabel);
            })) << c.file;
        }

        const QString copy = folder.file(QString::fromUtf8(c.file));
        ASSERT_TRUE(WriteCsf(copy, read.table, quint8(read.language)).ok()) << c.file;
        EXPECT_TRUE(readBytes(copy) == expected) << c.file;
        const CsfReadResult again = ReadCsf(copy);
        EXPECT_EQ(again.language, read.language) << c.file;
        EXPECT_TRUE(again.table == read.table) << c.file;
    }
}

TEST(CsfRealFiles, KoreanTableReadsInHangul) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    const CsfReadResult read = ReadCsf(marvok::test::realFixturesFolder() + u"/bfme-korean.csf");
    ASSERT_TRUE(read.ok());
    const auto gold = std::find_if(read.table.begin(), read.table.end(),
                                   [](const CsfEntry& e) { return e.Name == u"Color:Gold"_s; });
    ASSERT_NE(gold, read.table.end());
    EXPECT_EQ(gold->Value, QStringLiteral("금색"));
    const auto hangul = std::count_if(read.table.begin(), read.table.end(), [](const CsfEntry& e) {
        return std::any_of(e.Value.begin(), e.Value.end(),
                           [](QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; });
    });
    EXPECT_GT(hangul, read.table.size() * 9 / 10);
}

// A string table far beyond what the games write, read in bounded time and memory with a clear outcome.
#include "csf/csf_file.h"

#include "tests/support/test_files.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace marvok;

namespace {

QByteArray u32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray row(const QByteArray& label, const QString& text) {
    QByteArray bytes =
        " LBL" + u32(1) + u32(quint32(label.size())) + label + " RTS" + u32(quint32(text.size()));
    for (QChar c : text) {
        const char16_t unit = char16_t(~c.unicode());
        bytes.append(char(unit & 0xFF)).append(char(unit >> 8));
    }
    return bytes;
}

} // namespace

// The editor holds 32767 rows: reading stops at the next string and says so (message 18), keeping the
// rows before it.
TEST(CsfInputs, ATableOf100000RowsStopsAtTheEditorsLimit) {
    QByteArray bytes = " FSC" + u32(3) + u32(100000) + u32(100000) + u32(0) + u32(0);
    qint64 stopOffset = -1;
    for (int k = 0; k < 100000; ++k) {
        const QByteArray label = "GUI:Row" + QByteArray::number(k);
        if (k == CsfMaxRows)
            stopOffset = bytes.size() + 12 + label.size();
        bytes += row(label, QStringLiteral("Texte ") + QString::number(k));
    }
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("big.csf"));
    test::writeBytes(path, bytes);

    const CsfReadResult read = ReadCsf(path);
    EXPECT_EQ(read.problem, CsfReadProblem::TooManyStrings);
    EXPECT_EQ(read.problemOffset, stopOffset);
    ASSERT_EQ(read.table.size(), CsfMaxRows);
    EXPECT_EQ(read.table.last(),
              (CsfEntry{QStringLiteral("GUI:Row32766"), QStringLiteral("Texte 32766"), false, {}}));
}

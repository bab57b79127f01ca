#include "shellmaps/shellmap_catalogue.h"

#include "tests/support/failing_writes.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::TempFolder;

namespace {

QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

CatalogueEntry entry(const QString& name, const QString& description = {}) {
    return {QStringLiteral("01/02/2024"), QString(), name, description, QStringLiteral("http://example.org")};
}

} // namespace

// The bytes of "Ã©" in Windows-1252 are the UTF-8 of "é": written as they are, they would read back
// as another name.
TEST(WriteCatalogue, Windows1252BytesThatWouldReadAsUtf8AreWrittenAsUtf8) {
    TempFolder folder;
    const QString catalogue = folder.file(QStringLiteral("GenShellMaps.ini"));
    ASSERT_TRUE(writeCatalogue(catalogue, {entry(QStringLiteral("Désert"))}));
    EXPECT_TRUE(test::readBytes(catalogue).contains("Name=D\xE9sert\r\n"));

    const QList<CatalogueEntry> entries = {entry(QStringLiteral("Ã©tape")), entry(QStringLiteral("Désert"))};
    ASSERT_TRUE(writeCatalogue(catalogue, entries));
    EXPECT_EQ(catalogueCount(catalogue), 2);
    EXPECT_EQ(readCatalogueEntry(catalogue, 0), entries[0]);
    EXPECT_EQ(readCatalogueEntry(catalogue, 1), entries[1]);
}

TEST(WriteCatalogue, AWriteThatFailsPartWayLeavesTheCatalogueAsItWas) {
    TempFolder folder;
    const QString catalogue = folder.file(QStringLiteral("GenShellMaps.ini"));
    ASSERT_TRUE(writeCatalogue(catalogue, {entry(QStringLiteral("Old"))}));
    const QByteArray original = test::readBytes(catalogue);

    const QList<CatalogueEntry> many(400, entry(QStringLiteral("New"), QString(250, u'd')));
    const auto outcome = test::runWithFileSizeLimit(32 * 1024, [&]() -> QString {
        QString error;
        return writeCatalogue(catalogue, many, &error) ? QStringLiteral("written") : u"refused: " + error;
    });
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->startsWith(u"refused: ")) << outcome->toStdString();
    EXPECT_GT(outcome->size(), 9);
    EXPECT_EQ(test::readBytes(catalogue), original);
    EXPECT_EQ(namesIn(folder.path()), QStringList{QStringLiteral("GenShellMaps.ini")});
}

#include "shellmaps/shellmap_catalogue.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

namespace marvok::fuzz {
namespace {

// Enough entries to reach every kind of section; the page reads each entry the same way.
constexpr int MaxEntriesRead = 16;

// A value as a rewrite keeps it: one line, so a carriage return inside it becomes a blank.
QString asRewritten(QString value) {
    return value.replace(u'\r', u' ').trimmed();
}

} // namespace

void shellMapCatalogue(QByteArrayView input) {
    const QString folder = freshScratchFolder();
    const QString catalogue = folder + u"/GenShellMaps.ini";
    writeInput(catalogue, input);

    const int count = catalogueCount(catalogue);
    require(count >= 0, "the count is never negative");
    QList<CatalogueEntry> entries;
    for (int index = 0; index < std::min(count, MaxEntriesRead); ++index)
        entries.append(readCatalogueEntry(catalogue, index));

    // A removal writes the remaining entries anew under new numbers.
    const QString rewritten = folder + u"/rewritten.ini";
    QString error;
    require(writeCatalogue(rewritten, entries, &error), "a catalogue that was read can be written");
    require(catalogueCount(rewritten) == entries.size(), "the rewritten catalogue counts its entries");
    for (qsizetype index = 0; index < entries.size(); ++index) {
        const CatalogueEntry& was = entries[index];
        const CatalogueEntry expected{asRewritten(was.date), asRewritten(was.screenShot),
                                      asRewritten(was.name), asRewritten(was.description),
                                      asRewritten(was.url)};
        require(readCatalogueEntry(rewritten, int(index)) == expected, "the rewritten catalogue reads back");
    }
}

} // namespace marvok::fuzz

#include "shellmaps/shellmap_removal.h"

#include "core/ini_runtime.h"
#include "shellmaps/shellmap_catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <vector>

namespace marvok {
namespace {

// The steps done so far, undone in reverse order when a later one fails.
class UndoLog {
public:
    void add(std::function<void()> undo) { m_steps.push_back(std::move(undo)); }
    void undoAll() {
        for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step)
            (*step)();
        m_steps.clear();
    }

private:
    std::vector<std::function<void()>> m_steps;
};

// Puts a moved folder back under the exact name it had; a name differing only in case beside it was
// there before, so unlike moveFolder this does not count it as taken.
void moveBack(const QString& movedTo, const QString& original) {
    if (!pathTaken(original))
        QDir().rename(movedTo, original);
}

bool refuse(QString* detail, const QString& why) {
    *detail = why;
    return false;
}

// A free name beside `folder` to keep it under until the new catalogue is written.
QString asideName(const QString& folder) {
    const QFileInfo info(folder);
    QString name = info.path() + u"/." + info.fileName() + u".removed";
    for (int n = 2; pathTaken(name); ++n)
        name = info.path() + u"/." + info.fileName() + u".removed" + QString::number(n);
    return name;
}

} // namespace

bool removeCatalogueEntry(int row, GameKind game, const QString& installFolder, QString* detail) {
    using namespace RemovalDetail;
    const QString catalogue = cataloguePath(game);
    const QString setAside = setAsideCataloguePath(game);
    if (installFolder.isEmpty() || !QFileInfo(catalogue).isFile() || pathTaken(setAside))
        return refuse(detail, NotFound);
    const std::optional<int> count = readCatalogueCount(catalogue);
    if (!count || *count > MaxCatalogueEntries || row < 1 || row > *count)
        return refuse(detail, NotFound);
    const int removed = row - 1;
    const std::optional<int> active = activeEntryIndex(installFolder, game);
    if (active == removed)
        return refuse(detail, ActiveEntry);

    const QString removedFolder = gameFolderPath(installFolder, entryFolderName(removed));
    const bool hasFolder = QFileInfo(removedFolder).isDir();
    if (hasFolder && !canRemoveTree(removedFolder))
        return refuse(detail, NotFound);

    QList<CatalogueEntry> remaining;
    for (int index = 0; index < *count; ++index) {
        if (index != removed)
            remaining.append(readCatalogueEntry(catalogue, index));
    }

    UndoLog undo;
    if (!QFile::rename(catalogue, setAside))
        return refuse(detail, NotFound);
    undo.add([=] { QFile::rename(setAside, catalogue); });

    QString aside;
    if (hasFolder) {
        aside = asideName(removedFolder);
        if (!moveFolder(removedFolder, aside)) {
            undo.undoAll();
            return refuse(detail, NotFound);
        }
        undo.add([=] { moveBack(aside, removedFolder); });
    }

    // The entries after the removed one move down one number; an entry without a folder (the active
    // one, or one whose folder was deleted by hand) has nothing to move.
    for (int index = removed + 1; index < *count; ++index) {
        const QString from = gameFolderPath(installFolder, entryFolderName(index));
        if (!QFileInfo(from).isDir())
            continue;
        const QString to = gameFolderPath(installFolder, entryFolderName(index - 1));
        if (!moveFolder(from, to)) {
            undo.undoAll();
            return refuse(detail, SortFailed);
        }
        undo.add([=] { moveBack(to, from); });
    }

    // The active entry keeps its place in the game; its marker takes its new number.
    if (active && *active > removed && *active < *count) {
        const INIRuntime ini;
        const QString marker = markerPath(gameFolderPath(installFolder, activeFolderName(game)));
        const QString index = QStringLiteral("Index");
        const QString before = ini.ReadINI(MarkerSection, index, marker);
        if (ini.WriteINI(MarkerSection, index, QString::number(*active - 1), marker) != u"1") {
            undo.undoAll();
            return refuse(detail, SortFailed);
        }
        undo.add([=] { ini.WriteINI(MarkerSection, index, before, marker); });
    }

    if (!writeCatalogue(catalogue, remaining)) {
        undo.undoAll();
        return refuse(detail, CatalogueNotWritten);
    }
    QFile::remove(setAside);
    if (hasFolder && !removeTree(aside))
        return refuse(detail, FolderLeft.arg(aside));
    return true;
}

} // namespace marvok

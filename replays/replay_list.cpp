#include "replays/replay_list.h"

#include "core/paths.h"
#include "replays/replay_header.h"
#include "replays/replay_players.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

namespace marvok {

std::optional<ReplayRow> readReplayRow(const QString& folder, const QString& fileName, QString* error) {
    const QString path = joinPath(folder, fileName);
    // Opening a pipe or a device would block or read without end: only plain files are replays.
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (error)
            *error = QStringLiteral("« %1 » n'est pas un fichier.").arg(path);
        return std::nullopt;
    }
    const std::optional<ReplayHeader> header = readReplayHeader(path, error);
    if (!header)
        return std::nullopt;
    ReplayRow row;
    row.fileName = fileName;
    row.title = fileName.chopped(std::min<qsizetype>(4, fileName.size()));
    row.date = info.lastModified().toString(QStringLiteral("dd/MM/yyyy"));
    row.version = header->version;
    if (header->hasSlotList)
        row.players = QString::number(countPlayers(header->slotList));
    row.map = header->map;
    row.slotList = header->slotList;
    return row;
}

QList<ReplayRow> listReplays(const QString& folder) {
    QList<ReplayRow> rows;
    for (const QString& fileName : listFolder(folder, QStringLiteral("*.rep"), EntryKind::Files)) {
        if (std::optional<ReplayRow> row = readReplayRow(folder, fileName))
            rows.append(std::move(*row));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ReplayRow& a, const ReplayRow& b) {
        return lessIgnoringCase(a.title, b.title);
    });
    return rows;
}

} // namespace marvok

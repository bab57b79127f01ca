#pragma once
// The replay list of a game: one row per replay file of its replays folder, read from the first
// 2048 bytes of each file.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace marvok {

struct ReplayRow {
    QString fileName;    // as on disk; the title is this name without ".rep"
    QString title;       // column 0
    QString date;        // column 1: the file's modification date, "dd/MM/yyyy"
    QString version;     // column 2
    QString players;     // column 3: humans and computers that play; empty without a slot list
    QString map;         // column 4
    QByteArray slotList; // kept with the row for the players tree

    QStringList columns() const { return {title, date, version, players, map}; }
};

// The row of one file of `folder`; nothing when it is not a readable replay (`error` says why).
std::optional<ReplayRow> readReplayRow(const QString& folder, const QString& fileName,
                                       QString* error = nullptr);

// The rows of the "*.rep" files of `folder` that are replays, sorted on the title without regard to
// case. Files that cannot be read and files that are not replays are left out.
QList<ReplayRow> listReplays(const QString& folder);

} // namespace marvok

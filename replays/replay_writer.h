#pragma once
// Writes replay files laid out as Generals and Zero Hour write them (for tests and the demo
// environment; the program itself never writes replays):
//   0    "GENREP" ("BFMEREPL" for The Battle for Middle-earth)
//   then, counted from the end of the magic:
//   +0   start time, end time (seconds since 1970, UTC), frame count: 32-bit little-endian
//   +12  desync flag, quit-early flag, eight disconnect flags: one byte each
//   +22  title: UTF-16LE, zero-ended
//   ...  start time as the local calendar date: year, month, day of week (0 Sunday), day, hour,
//        minute, second, millisecond, 16-bit each
//   ...  version text ("Version 1.04") and build date, UTF-16LE, zero-ended
//   ...  version number (major << 16 | minor), two checksums: 32-bit little-endian
//   ...  game information, 8-bit, zero-ended; the local player's slot, 8-bit text, zero-ended
//   ...  the recorded game
// The Battle for Middle-earth gets the same layout behind its own magic: the list finds every value
// by its mark, not by its offset.
#include "core/game_environment.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace marvok {

struct ReplayRecording {
    GameKind game = ZeroHour;
    QDateTime startTime; // its offset from UTC gives the local calendar date written
    QDateTime endTime;
    quint32 frameCount = 0;
    QString title = QStringLiteral("Last Replay");
    QString versionText = QStringLiteral("Version 1.04");
    QString buildDate = QStringLiteral("Sep 16 2003 12:00:00");
    quint32 versionNumber = 0x00010004;
    quint32 exeChecksum = 0;
    quint32 iniChecksum = 0;
    QByteArray gameInformation; // "M=...;...;S=...;", see gameInformationText
    QByteArray localPlayer = "0";
    QByteArray recordedGame;
};

// The game information with the keys each game writes, around a map path such as
// "03maps/alpine assault" and a slot list such as "HAnna,0,0,TT,2,6,1,0,1:CE,4,3,-1,0:O:X:X:X:X:X".
QByteArray gameInformationText(GameKind game, QByteArrayView mapPath, QByteArrayView slotList);

// The bytes of the file.
QByteArray replayBytes(const ReplayRecording& recording);

// Writes the file through a temporary file; `error` says why it failed.
bool writeReplay(const QString& path, const ReplayRecording& recording, QString* error = nullptr);

} // namespace marvok

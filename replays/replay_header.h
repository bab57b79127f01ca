#pragma once
// The header of a replay file (Generals, Zero Hour, The Battle for Middle-earth), as far as the replay
// list reads it. Only the first 2048 bytes, the header window, are looked at, and nothing but the
// magic has a fixed offset; the games lay the start of a replay out as
//   magic       "GENREP" (Generals, Zero Hour) or "BFMEREPL" (The Battle for Middle-earth)
//   ...         start and end times, frame count, flags
//   UTF-16LE    the title, then a date, then "Version 1.04", then the build date, all zero-ended
//   ...         version number and checksums
//   8-bit text  the game information, zero-ended: "US=1;M=03maps/alpine assault;MC=...;S=HAnna,...:X;"
//   ...         the recorded game
// so the three values shown are found by searching the window: the UTF-16LE "Version", the first
// "M=" (the map's folder path) and the first "S=" after it that follows a ";" (the slot list).
#include <QByteArray>
#include <QString>
#include <optional>

namespace marvok {

constexpr qsizetype ReplayHeaderWindowSize = 2048;

struct ReplayHeader {
    QString version;     // "1.04"; empty when the header has no "Version" mark
    QString map;         // the map's own name, capitalised; empty when the header has no "M="
    QByteArray slotList; // the raw "S=" value, entries separated by ":"
    bool hasSlotList = false;
};

// True when the bytes begin with one of the games' magics.
bool hasReplayMagic(QByteArrayView header);

// Reads the values out of the header window (longer input is cut to the window; shorter input
// counts as if zero bytes followed). Nothing when the magic is not a replay's. A value whose mark
// is missing stays empty; a value runs to its ";", to the zero that ends the game information or
// to the end of the window, whichever comes first.
std::optional<ReplayHeader> parseReplayHeader(QByteArrayView header);

// The map's own name from an "M=" value: what follows the last "/" of the folder path (UTF-8 when
// the bytes are valid UTF-8, else Windows-1252), its first letter upper-cased and the rest lower-cased.
// "03maps/alpine assault" gives "Alpine assault", "03userdata/maps/defcon6" gives "Defcon6".
QString mapDisplayName(QByteArrayView mapValue);

// The first 2048 bytes of the file, or fewer when it is shorter; never reads further.
std::optional<QByteArray> readHeaderWindow(const QString& path, QString* error = nullptr);

// readHeaderWindow and parseReplayHeader; `error` says why nothing came back.
std::optional<ReplayHeader> readReplayHeader(const QString& path, QString* error = nullptr);

} // namespace marvok

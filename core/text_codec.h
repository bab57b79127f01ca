#pragma once
// Windows-1252, the code page of the games and of the files they share with us. Decoding is total and
// encoding is its exact inverse: the five bytes Windows-1252 leaves undefined map to the C1 controls of
// the same value, as Windows does, so any byte string survives a decode/encode round trip.
#include <QByteArray>
#include <QString>
#include <optional>

namespace marvok {

QString decodeWindows1252(QByteArrayView bytes);

// Returns nothing when a character cannot be held in Windows-1252.
std::optional<QByteArray> encodeWindows1252(QStringView text);
bool fitsWindows1252(QStringView text);

// The first character of `text` that Windows-1252 cannot hold, for error messages; empty when all fit.
QString firstCharacterOutsideWindows1252(QStringView text);

bool isValidUtf8(QByteArrayView bytes);

// The rule for our own INI files: UTF-8 when the whole text is valid UTF-8, else Windows-1252.
QString decodeUtf8OrWindows1252(QByteArrayView bytes);

} // namespace marvok

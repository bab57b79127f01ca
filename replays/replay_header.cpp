#include "replays/replay_header.h"

#include "core/text_codec.h"

#include <QFile>

namespace marvok {
namespace {

constexpr QByteArrayView GenrepMagic("GENREP");
constexpr QByteArrayView BfmeMagic("BFMEREPL");
// "Version" in UTF-16LE without the high byte of its last character.
constexpr QByteArrayView VersionMark("V\0e\0r\0s\0i\0o\0n", 13);
// The version number starts at the second character after "Version": one separator is skipped.
constexpr qsizetype VersionTextOffset = 16;

qsizetype valueEnd(QByteArrayView header, qsizetype from) {
    qsizetype end = from;
    while (end < header.size() && header[end] != ';' && header[end] != '\0')
        ++end;
    return end;
}

// The title comes before the version and may itself hold "Version", so the mark nearest before the
// game information is the version's; the first mark serves when none stands before it.
qsizetype findVersionMark(QByteArrayView header, qsizetype mapMark) {
    if (mapMark > 0) {
        const qsizetype before = header.first(mapMark).lastIndexOf(VersionMark);
        if (before >= 0)
            return before;
    }
    return header.indexOf(VersionMark);
}

// The low bytes of the UTF-16 characters up to the first zero byte.
QString versionText(QByteArrayView header, qsizetype mark) {
    QByteArray bytes;
    for (qsizetype at = mark + VersionTextOffset; at < header.size() && header[at] != '\0'; at += 2)
        bytes.append(header[at]);
    return decodeWindows1252(bytes);
}

QString capitalised(const QString& name) {
    if (name.isEmpty())
        return name;
    const qsizetype head = name.size() > 1 && name[0].isHighSurrogate() && name[1].isLowSurrogate() ? 2 : 1;
    return name.left(head).toUpper() + name.mid(head).toLower();
}

} // namespace

bool hasReplayMagic(QByteArrayView header) {
    return header.startsWith(GenrepMagic) || header.startsWith(BfmeMagic);
}

std::optional<ReplayHeader> parseReplayHeader(QByteArrayView header) {
    header = header.first(std::min(header.size(), ReplayHeaderWindowSize));
    if (!hasReplayMagic(header))
        return std::nullopt;
    ReplayHeader result;
    const qsizetype mapMark = header.indexOf(QByteArrayView("M="));
    if (mapMark >= 0) {
        const qsizetype from = mapMark + 2;
        result.map = mapDisplayName(header.sliced(from, valueEnd(header, from) - from));
    }
    const qsizetype slotMark = header.indexOf(QByteArrayView(";S="), std::max<qsizetype>(mapMark, 0));
    if (slotMark >= 0) {
        const qsizetype from = slotMark + 3;
        result.slotList = header.sliced(from, valueEnd(header, from) - from).toByteArray();
        result.hasSlotList = true;
    }
    const qsizetype versionMark = findVersionMark(header, mapMark);
    if (versionMark >= 0)
        result.version = versionText(header, versionMark);
    return result;
}

QString mapDisplayName(QByteArrayView mapValue) {
    const QString path = decodeUtf8OrWindows1252(mapValue);
    return capitalised(path.mid(path.lastIndexOf(u'/') + 1));
}

std::optional<QByteArray> readHeaderWindow(const QString& path, QString* error) {
    // Unbuffered, so that no read-ahead touches the recorded game behind the header.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = QStringLiteral("Impossible d'ouvrir « %1 » : %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray header(ReplayHeaderWindowSize, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < header.size()) {
        const qint64 got = file.read(header.data() + filled, header.size() - filled);
        if (got < 0) {
            if (error)
                *error = QStringLiteral("Impossible de lire « %1 » : %2").arg(path, file.errorString());
            return std::nullopt;
        }
        if (got == 0)
            break;
        filled += got;
    }
    header.truncate(filled);
    return header;
}

std::optional<ReplayHeader> readReplayHeader(const QString& path, QString* error) {
    const std::optional<QByteArray> header = readHeaderWindow(path, error);
    if (!header)
        return std::nullopt;
    std::optional<ReplayHeader> parsed = parseReplayHeader(*header);
    if (!parsed && error)
        *error = QStringLiteral("« %1 » n'est pas un replay.").arg(path);
    return parsed;
}

} // namespace marvok

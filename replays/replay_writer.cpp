#include "replays/replay_writer.h"

#include "core/safe_write.h"

#include <QtEndian>

namespace marvok {
namespace {

void appendUInt32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendUInt16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendUtf16(QByteArray& out, const QString& text) {
    for (QChar c : text)
        appendUInt16(out, c.unicode());
    appendUInt16(out, 0);
}

void appendText(QByteArray& out, QByteArrayView text) {
    out.append(text);
    out.append('\0');
}

// An unset time is written as zero.
quint32 secondsSince1970(const QDateTime& time) {
    return time.isValid() ? quint32(time.toSecsSinceEpoch()) : 0;
}

void appendCalendarTime(QByteArray& out, const QDateTime& time) {
    if (!time.isValid()) {
        out.append(16, '\0');
        return;
    }
    const QDate date = time.date();
    const QTime clock = time.time();
    for (int field : {date.year(), date.month(), date.dayOfWeek() % 7, date.day(), clock.hour(),
                      clock.minute(), clock.second(), clock.msec()})
        appendUInt16(out, quint16(field));
}

} // namespace

QByteArray gameInformationText(GameKind game, QByteArrayView mapPath, QByteArrayView slotList) {
    // Map checksum, size and seed are written as the games do but never checked by us.
    QByteArray text;
    if (game == ZeroHour)
        text += "US=1;";
    text += "M=" + mapPath.toByteArray() + ";MC=0;MS=0;SD=0;C=100;";
    if (game == ZeroHour)
        text += "SR=1;SC=20000;O=N;";
    text += "S=" + slotList.toByteArray() + ';';
    return text;
}

QByteArray replayBytes(const ReplayRecording& recording) {
    QByteArray out = recording.game == BattleForMiddleEarth ? "BFMEREPL" : "GENREP";
    appendUInt32(out, secondsSince1970(recording.startTime));
    appendUInt32(out, secondsSince1970(recording.endTime));
    appendUInt32(out, recording.frameCount);
    out.append(10, '\0'); // no desync, no early quit, nobody disconnected
    appendUtf16(out, recording.title);
    appendCalendarTime(out, recording.startTime);
    appendUtf16(out, recording.versionText);
    appendUtf16(out, recording.buildDate);
    appendUInt32(out, recording.versionNumber);
    appendUInt32(out, recording.exeChecksum);
    appendUInt32(out, recording.iniChecksum);
    appendText(out, recording.gameInformation);
    appendText(out, recording.localPlayer);
    out += recording.recordedGame;
    return out;
}

bool writeReplay(const QString& path, const ReplayRecording& recording, QString* error) {
    return writeFileAtomically(path, replayBytes(recording), error);
}

} // namespace marvok

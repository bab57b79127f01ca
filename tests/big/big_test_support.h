#pragma once
// Archives made in code and a progress that records what it is told.
#include "big/big_archive.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <ostream>
#include <utility>

namespace marvok {

inline void PrintTo(const ArchiveEntry& entry, std::ostream* os) {
    *os << "(" << entry.Name.toStdString() << ", " << entry.Offset << ", " << entry.Size << ")";
}

} // namespace marvok

namespace marvok::test {

class RecordingProgress : public ArchiveProgress {
public:
    void show(const QString& title, const QString& text) override {
        calls << QStringLiteral("show|") + title + u'|' + text;
    }
    void text(const QString& text) override { calls << QStringLiteral("text|") + text; }
    void change(int position) override { calls << QStringLiteral("change|") + QString::number(position); }
    void hide() override { calls << QStringLiteral("hide"); }

    QStringList calls;
};

inline QByteArray bigEndian(quint32 value) {
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, 4);
}

// A well-formed archive of (name bytes, data) in the layout the games write.
inline QByteArray archiveBytes(const QList<std::pair<QByteArray, QByteArray>>& entries,
                               const QByteArray& magic = QByteArrayLiteral("BIGF")) {
    quint32 firstData = 24;
    for (const auto& [name, data] : entries)
        firstData += quint32(name.size()) + 9;
    QByteArray index;
    QByteArray payload;
    for (const auto& [name, data] : entries) {
        index +=
            bigEndian(firstData + quint32(payload.size())) + bigEndian(quint32(data.size())) + name + '\0';
        payload += data;
    }
    const quint32 length = firstData + quint32(payload.size());
    const char littleLength[4] = {char(length), char(length >> 8), char(length >> 16), char(length >> 24)};
    return magic + QByteArray(littleLength, 4) + bigEndian(quint32(entries.size())) +
           bigEndian(firstData - 1) + index + QByteArrayLiteral("L225\0\0\0\0") + payload;
}

} // namespace marvok::test

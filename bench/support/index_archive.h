#pragma once
// An archive of many small entries named as in the games' own archives, written byte by byte so that
// a benchmark of our reader does not depend on our writer.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdio>

namespace marvok::bench {

// A name of about 40 characters.
inline QByteArray indexArchiveEntryName(int k) {
    return "Data\\INI\\Object\\Infantry\\Soldier" + QByteArray::number(100000 + k) + ".ini";
}

// Writes `file` with `entries` entries, entry k holding the decimal digits of k; says so on standard
// error when it cannot.
inline void writeIndexArchive(const QString& file, int entries) {
    const auto appendBigEndian = [](QByteArray& out, quint32 value) {
        const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
        out.append(bytes, 4);
    };
    quint32 firstData = 24;
    for (int k = 0; k < entries; ++k)
        firstData += quint32(indexArchiveEntryName(k).size()) + 9;
    QByteArray index;
    QByteArray data;
    for (int k = 0; k < entries; ++k) {
        const QByteArray content = QByteArray::number(k);
        appendBigEndian(index, firstData + quint32(data.size()));
        appendBigEndian(index, quint32(content.size()));
        index += indexArchiveEntryName(k) + '\0';
        data += content;
    }
    QByteArray head("BIGF    ");
    appendBigEndian(head, quint32(entries));
    appendBigEndian(head, firstData - 1);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(head + index + QByteArray("L225\0\0\0\0", 8) + data) < 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
}

} // namespace marvok::bench

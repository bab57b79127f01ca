#include "csf/csf_file.h"

#include "core/text_codec.h"

#include <QFile>
#include <QSaveFile>
#include <limits>
#include <optional>

namespace marvok {
namespace {

constexpr qint64 HeaderSize = 24;
constexpr qint64 LanguageOffset = 20;
constexpr quint32 FormatVersion = 3;
// The games' largest tables are a few megabytes; anything far beyond is not a string table and is
// refused before it is loaded.
constexpr qint64 MaxFileSize = 256 * 1024 * 1024;
constexpr qint64 MaxFieldLength = std::numeric_limits<quint32>::max();
const QString WriteSource = QStringLiteral("mCSF.WriteCsf");

quint32 readUInt32(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// `lowerTag` is ASCII lower case; the file's tag may be in any case.
bool tagIs(const uchar* p, const char* lowerTag) {
    for (int i = 0; i < 4; ++i) {
        const uchar c = p[i];
        const uchar lower = c >= 'A' && c <= 'Z' ? uchar(c + ('a' - 'A')) : c;
        if (lower != uchar(lowerTag[i]))
            return false;
    }
    return true;
}

QString decodeInvertedUtf16(const uchar* p, quint32 units) {
    QString text(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (quint32 i = 0; i < units; ++i)
        out[i] = char16_t(~(p[2 * i] | p[2 * i + 1] << 8));
    return text;
}

CsfReadResult parseCsf(QByteArrayView bytes) {
    CsfReadResult result;
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    const qint64 size = bytes.size();
    if (size < 4 || !tagIs(data, " fsc")) {
        result.problem = CsfReadProblem::NotCsf;
        return result;
    }
    if (size > LanguageOffset)
        result.language = data[LanguageOffset];

    const auto stop = [&result](CsfReadProblem problem, qint64 offset) {
        result.problem = problem;
        result.problemOffset = offset;
        return result;
    };
    QString label;
    qint64 offset = HeaderSize;
    while (offset < size) {
        const uchar* record = data + offset;
        const qint64 left = size - offset;
        if (left < 4)
            return stop(CsfReadProblem::RecordPastEnd, offset);
        if (tagIs(record, " lbl")) {
            if (left < 12 || left - 12 < readUInt32(record + 8))
                return stop(CsfReadProblem::RecordPastEnd, offset);
            const quint32 length = readUInt32(record + 8);
            label = decodeWindows1252(QByteArrayView(record + 12, length));
            offset += 12 + qint64(length);
            continue;
        }
        const bool withExtra = tagIs(record, "wrts");
        if (!withExtra && !tagIs(record, " rts")) {
            offset += 3;
            continue;
        }
        if (result.table.size() == CsfMaxRows)
            return stop(CsfReadProblem::TooManyStrings, offset);
        if (left < 8)
            return stop(CsfReadProblem::RecordPastEnd, offset);
        const quint32 units = readUInt32(record + 4);
        qint64 end = 8 + 2 * qint64(units);
        if (end > left)
            return stop(CsfReadProblem::RecordPastEnd, offset);
        CsfEntry entry{label, decodeInvertedUtf16(record + 8, units), withExtra, {}};
        if (withExtra) {
            if (left - end < 4 || left - end - 4 < readUInt32(record + end))
                return stop(CsfReadProblem::RecordPastEnd, offset);
            const quint32 extraLength = readUInt32(record + end);
            entry.Extra = QByteArray(reinterpret_cast<const char*>(record + end + 4), extraLength);
            end += 4 + qint64(extraLength);
        }
        result.table.append(std::move(entry));
        offset += end;
    }
    if (result.table.isEmpty())
        result.problem = CsfReadProblem::NoStrings;
    return result;
}

void appendUInt32(QByteArray& out, quint32 value) {
    const char bytes[4] = {char(value & 0xFF), char(value >> 8 & 0xFF), char(value >> 16 & 0xFF),
                           char(value >> 24 & 0xFF)};
    out.append(bytes, 4);
}

void appendInvertedUtf16(QByteArray& out, const QString& text) {
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    char* p = out.data() + start;
    for (QChar c : text) {
        const char16_t unit = char16_t(~c.unicode());
        *p++ = char(unit & 0xFF);
        *p++ = char(unit >> 8);
    }
}

CsfWriteResult writeFailure(const QString& path, qint32 number, const QString& reason) {
    return {2, {}, {number, path + u": " + reason, WriteSource}};
}

// The whole file, or the row that keeps it from being written.
std::optional<QByteArray> encodeCsf(const CsfTable& table, quint8 language, qsizetype* badRow) {
    QList<QByteArray> names;
    names.reserve(table.size());
    qint64 total = HeaderSize;
    for (qsizetype i = 0; i < table.size(); ++i) {
        const CsfEntry& row = table[i];
        auto name = encodeWindows1252(row.Name);
        if (!name || row.Value.size() > MaxFieldLength || row.Extra.size() > MaxFieldLength) {
            *badRow = i;
            return std::nullopt;
        }
        total += 12 + name->size() + 8 + 2 * row.Value.size() + (row.HasExtra ? 4 + row.Extra.size() : 0);
        names.append(std::move(*name));
    }

    QByteArray out;
    out.reserve(total);
    out.append(" FSC", 4);
    appendUInt32(out, FormatVersion);
    appendUInt32(out, quint32(table.size()));
    appendUInt32(out, quint32(table.size()));
    appendUInt32(out, 0);
    appendUInt32(out, language);
    for (qsizetype i = 0; i < table.size(); ++i) {
        const CsfEntry& row = table[i];
        out.append(" LBL", 4);
        appendUInt32(out, 1);
        appendUInt32(out, quint32(names[i].size()));
        out.append(names[i]);
        out.append(row.HasExtra ? "WRTS" : " RTS", 4);
        appendUInt32(out, quint32(row.Value.size()));
        appendInvertedUtf16(out, row.Value);
        if (row.HasExtra) {
            appendUInt32(out, quint32(row.Extra.size()));
            out.append(row.Extra);
        }
    }
    return out;
}

} // namespace

CsfReadResult ReadCsf(const QString& path) {
    QFile file(path);
    CsfReadResult unreadable;
    unreadable.problem = CsfReadProblem::Unreadable;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return unreadable;
    return parseCsf(bytes);
}

CsfWriteResult WriteCsf(const QString& path, const CsfTable& table, quint8 language) {
    qsizetype badRow = -1;
    const std::optional<QByteArray> bytes = encodeCsf(table, language, &badRow);
    if (!bytes) {
        const CsfEntry& row = table[badRow];
        if (!fitsWindows1252(row.Name))
            return {Msg::CannotEncodeName, row.Name, {}};
        return writeFailure(path, 0, QStringLiteral("the string of %1 is too long").arg(row.Name));
    }

    // Unbuffered: QSaveFile does not notice a failure to flush its buffer and would commit a cut
    // file. Writing what is left once more after a short write gives the system's reason.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailure(path, file.error(), file.errorString());
    for (qint64 done = 0; done < bytes->size();) {
        const qint64 written = file.write(bytes->constData() + done, bytes->size() - done);
        if (written <= 0) {
            const CsfWriteResult failure = writeFailure(path, file.error(), file.errorString());
            file.cancelWriting();
            return failure;
        }
        done += written;
    }
    if (!file.commit())
        return writeFailure(path, file.error(), file.errorString());
    return {CsfMsg::Saved, path, {}};
}

} // namespace marvok

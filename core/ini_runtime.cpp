#include "core/ini_runtime.h"

#include "core/safe_write.h"
#include "core/text_codec.h"

#include <QFile>
#include <optional>
#include <vector>

namespace marvok {
namespace {

enum class Encoding { Ascii, Utf8, Windows1252 };

struct IniLine {
    QByteArray bytes; // without the line end
    QByteArray end;   // "\r\n", "\n" or empty for a last line without one
};

struct IniText {
    std::vector<IniLine> lines;
    Encoding encoding = Encoding::Ascii;

    QString decode(const QByteArray& bytes) const {
        return encoding == Encoding::Windows1252 ? decodeWindows1252(bytes) : QString::fromUtf8(bytes);
    }
};

Encoding detectEncoding(const QByteArray& bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii)
        return Encoding::Ascii;
    return isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
}

std::optional<IniText> load(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    IniText text;
    text.encoding = detectEncoding(bytes);
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        IniLine line;
        if (newline < 0) {
            line.bytes = bytes.mid(start);
            start = bytes.size();
        } else {
            line.bytes = bytes.mid(start, newline - start);
            line.end = "\n";
            start = newline + 1;
        }
        if (line.bytes.endsWith('\r')) {
            line.bytes.chop(1);
            line.end.prepend('\r');
        }
        text.lines.push_back(std::move(line));
    }
    return text;
}

// The section name of a line "[name]", or nothing.
std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.lastIndexOf(u']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

struct Entry {
    QString key;
    QString value;
};

std::optional<Entry> entryOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'['))
        return std::nullopt;
    const qsizetype equals = t.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    return Entry{t.left(equals).trimmed(), t.mid(equals + 1).trimmed()};
}

struct Location {
    int header = -1;     // line of the section header, -1 when the section is absent
    int sectionEnd = -1; // first line after the section
    int keyLine = -1;    // line of the key, -1 when absent
    int lastEntry = -1;  // last entry line of the section, -1 when it has none
    QString keySpelling; // the key as the file writes it
    QString value;
};

Location locate(const IniText& text, const QString& section, const QString& key) {
    Location where;
    const int count = static_cast<int>(text.lines.size());
    for (int i = 0; i < count; ++i) {
        const QString line = text.decode(text.lines[i].bytes);
        if (const auto name = sectionOf(line)) {
            if (where.header >= 0) {
                where.sectionEnd = i;
                return where;
            }
            if (name->compare(section, Qt::CaseInsensitive) == 0)
                where.header = i;
            continue;
        }
        if (where.header < 0)
            continue;
        if (const auto entry = entryOf(line)) {
            where.lastEntry = i;
            if (where.keyLine < 0 && entry->key.compare(key, Qt::CaseInsensitive) == 0) {
                where.keyLine = i;
                where.keySpelling = entry->key;
                where.value = entry->value;
            }
        }
    }
    where.sectionEnd = count;
    return where;
}

QByteArray encode(const QString& line, Encoding encoding) {
    if (encoding == Encoding::Utf8)
        return line.toUtf8();
    return *encodeWindows1252(line);
}

} // namespace

QString INIRuntime::ReadINI(const QString& Entete, const QString& Variable, const QString& FileName) const {
    const auto text = load(FileName);
    if (!text)
        return {};
    const Location where = locate(*text, Entete, Variable);
    if (where.keyLine < 0)
        return {};
    return where.value.left(MaxValueLength);
}

QString INIRuntime::WriteINI(const QString& Entete, const QString& Variable, const QString& Valeur,
                             const QString& FileName) const {
    static const QString kFailed = QStringLiteral("0");
    if (Entete.trimmed().isEmpty() || Variable.trimmed().isEmpty())
        return kFailed;
    // A line break in a value would start a new line of the file and could forge other entries.
    QString value = Valeur;
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');

    IniText text = load(FileName).value_or(IniText{});
    Location where = locate(text, Entete, Variable);
    const QString keyName = where.keyLine >= 0 ? where.keySpelling : Variable;
    const QString entryLine = keyName + u'=' + value;
    const QString headerLine = u'[' + Entete + u']';

    // Keep the file's encoding where the new text fits it.
    const bool fits = fitsWindows1252(entryLine) && fitsWindows1252(headerLine);
    Encoding target = text.encoding;
    if (target == Encoding::Ascii)
        target = fits ? Encoding::Windows1252 : Encoding::Utf8;
    if (target == Encoding::Windows1252 && !fits) {
        for (IniLine& line : text.lines)
            line.bytes = decodeWindows1252(line.bytes).toUtf8();
        target = Encoding::Utf8;
    }

    // A last line without a line end, or ending in a lone CR, must not run into the new one.
    const auto insertLine = [&text](int at, QByteArray bytes) {
        if (at > 0 && !text.lines[at - 1].end.endsWith('\n'))
            text.lines[at - 1].end = "\r\n";
        text.lines.insert(text.lines.begin() + at, IniLine{std::move(bytes), "\r\n"});
    };
    if (where.header < 0) {
        const int end = static_cast<int>(text.lines.size());
        insertLine(end, encode(headerLine, target));
        insertLine(end + 1, encode(entryLine, target));
    } else if (where.keyLine >= 0) {
        text.lines[where.keyLine].bytes = encode(entryLine, target);
        if (text.lines[where.keyLine].end.isEmpty())
            text.lines[where.keyLine].end = "\r\n";
    } else {
        insertLine((where.lastEntry >= 0 ? where.lastEntry : where.header) + 1, encode(entryLine, target));
    }

    const auto joined = [&text] {
        QByteArray out;
        for (const IniLine& line : text.lines)
            out += line.bytes + line.end;
        return out;
    };
    QByteArray out = joined();
    // Windows-1252 bytes that happen to be valid UTF-8 ("Ã©") would be read back as UTF-8 ("é"), the
    // new line's and the old ones' alike: such a file becomes UTF-8.
    if (target == Encoding::Windows1252 && detectEncoding(out) == Encoding::Utf8) {
        for (IniLine& line : text.lines)
            line.bytes = decodeWindows1252(line.bytes).toUtf8();
        out = joined();
    }
    return writeFileAtomically(FileName, out) ? QStringLiteral("1") : kFailed;
}

} // namespace marvok

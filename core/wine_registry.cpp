#include "core/wine_registry.h"

#include "core/paths.h"
#include "core/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <mutex>
#include <vector>

namespace marvok {

std::optional<QByteArray> parseHexBytes(QStringView list) {
    QByteArray bytes;
    for (QStringView part : list.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint byte = part.trimmed().toUInt(&ok, 16);
        if (!ok || byte > 0xFF)
            return std::nullopt;
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

namespace {

const QByteArray kSignature = "WINE REGISTRY Version 2";
const QString kSoftware = QStringLiteral("software\\");
const QString kWow6432Node = QStringLiteral("Software\\Wow6432Node\\");

// "\Software\X\" and "software\x" are the same key.
QString normalizedKey(const QString& key) {
    QString trimmed = key;
    while (trimmed.startsWith(u'\\'))
        trimmed.remove(0, 1);
    while (trimmed.endsWith(u'\\'))
        trimmed.chop(1);
    return trimmed.toCaseFolded();
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - '0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - 'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - 'A' + 10;
    return -1;
}

// Reads the escaped text from `pos` up to the unescaped `terminator` (not included); `pos` ends on
// the terminator. Nothing when the terminator never comes.
std::optional<QString> readEscaped(const QString& s, qsizetype& pos, QChar terminator) {
    QString out;
    while (pos < s.size()) {
        const QChar c = s[pos];
        if (c == terminator)
            return out;
        ++pos;
        if (c != u'\\' || pos >= s.size()) {
            out += c;
            continue;
        }
        const QChar e = s[pos++];
        switch (e.unicode()) {
        case 'a':
            out += QChar(7);
            break;
        case 'b':
            out += QChar(8);
            break;
        case 't':
            out += QChar(9);
            break;
        case 'n':
            out += QChar(10);
            break;
        case 'v':
            out += QChar(11);
            break;
        case 'f':
            out += QChar(12);
            break;
        case 'r':
            out += QChar(13);
            break;
        case 'e':
            out += QChar(27);
            break;
        case 'x': {
            // One to four hex digits.
            uint code = 0;
            int digits = 0;
            for (; digits < 4 && pos < s.size() && hexDigit(s[pos]) >= 0; ++digits)
                code = code * 16 + uint(hexDigit(s[pos++]));
            out += digits ? QChar(char16_t(code)) : e;
            break;
        }
        default:
            if (e >= u'0' && e <= u'7') {
                // One to three octal digits.
                uint code = uint(e.unicode() - '0');
                for (int digits = 1; digits < 3 && pos < s.size() && s[pos] >= u'0' && s[pos] <= u'7';
                     ++digits)
                    code = code * 8 + uint(s[pos++].unicode() - '0');
                out += QChar(char16_t(code));
            } else {
                out += e; // \\, \", \[, \] and anything else stand for themselves
            }
        }
    }
    return std::nullopt;
}

// A quoted text starting at `pos` (on the opening quote); `pos` ends after the closing quote.
std::optional<QString> readQuoted(const QString& s, qsizetype& pos) {
    if (pos >= s.size() || s[pos] != u'"')
        return std::nullopt;
    ++pos;
    auto text = readEscaped(s, pos, u'"');
    if (text)
        ++pos;
    return text;
}

bool isStringType(uint type) {
    return type == 1 || type == 2; // REG_SZ, REG_EXPAND_SZ
}

// The data after "=" of a value line.
WineValue parseData(const QString& data) {
    WineValue value;
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        if (auto text = readQuoted(data, pos)) {
            value.kind = WineValueKind::String;
            value.text = *text;
        }
        return value;
    }
    if (data.startsWith(u"dword:")) {
        const QStringView digits = QStringView(data).mid(6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (ok && digits.size() <= 8) {
            value.kind = WineValueKind::Dword;
            value.number = static_cast<qint32>(number);
        }
        return value;
    }
    // str(N):"..." and hex:/hex(N):..., N being the value's type in hex.
    const bool isStr = data.startsWith(u"str(");
    uint type = 3; // REG_BINARY, for plain "hex:"
    qsizetype pos = 0;
    if (isStr || data.startsWith(u"hex(")) {
        const qsizetype close = data.indexOf(u"):");
        bool ok = false;
        if (close > 4)
            type = QStringView(data).mid(4, close - 4).toUInt(&ok, 16);
        if (!ok)
            return value;
        pos = close + 2;
    } else if (data.startsWith(u"hex:")) {
        pos = 4;
    } else {
        return value;
    }
    if (isStr) {
        if (auto text = readQuoted(data, pos); text && isStringType(type)) {
            value.kind = WineValueKind::String;
            value.text = *text;
        }
        return value;
    }
    const auto bytes = parseHexBytes(QStringView(data).mid(pos));
    if (!bytes)
        return value;
    if (isStringType(type)) {
        value.kind = WineValueKind::String;
        value.text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes->constData()), bytes->size() / 2);
    } else if (type == 4 && !bytes->isEmpty()) { // REG_DWORD, little-endian
        quint32 number = 0;
        for (qsizetype i = 0; i < qMin<qsizetype>(4, bytes->size()); ++i)
            number |= quint32(static_cast<unsigned char>(bytes->at(i))) << (8 * i);
        value.kind = WineValueKind::Dword;
        value.number = static_cast<qint32>(number);
    }
    return value;
}

// The line [begin, end of line) without its CR, and the start of the next line.
QByteArrayView lineAt(const QByteArray& bytes, qsizetype begin, qsizetype limit, qsizetype* next) {
    qsizetype end = bytes.indexOf('\n', begin);
    if (end < 0 || end > limit)
        end = limit;
    *next = end < limit ? end + 1 : limit;
    QByteArrayView line(bytes.constData() + begin, end - begin);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

struct CacheEntry {
    QString path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    std::shared_ptr<const WineRegistryFile> file;
    QString error;
};

// A few entries are enough: one prefix, two files.
constexpr std::size_t kCacheEntries = 4;

} // namespace

std::optional<WineRegistryFile> WineRegistryFile::parse(QByteArray bytes, QString* error) {
    qsizetype next = 0;
    QByteArrayView first = lineAt(bytes, 0, bytes.size(), &next);
    if (first.startsWith("\xEF\xBB\xBF"))
        first = first.sliced(3);
    if (first.trimmed() != kSignature) {
        if (error)
            *error = QStringLiteral("not a Wine registry file");
        return std::nullopt;
    }
    WineRegistryFile file;
    file.m_bytes = std::move(bytes);
    const QByteArray& data = file.m_bytes;
    QString openKey; // the key whose block runs up to the next key line
    bool inHeader = true;
    for (qsizetype pos = next; pos < data.size(); pos = next) {
        const QByteArrayView line = lineAt(data, pos, data.size(), &next);
        if (line.startsWith('[')) {
            if (!openKey.isEmpty())
                file.m_blocks[openKey].end = pos;
            openKey.clear();
            inHeader = false;
            const QString text = decodeUtf8OrWindows1252(line);
            qsizetype at = 1;
            const auto name = readEscaped(text, at, u']');
            if (!name)
                continue;
            const QString key = normalizedKey(*name);
            if (key.isEmpty() || file.m_blocks.contains(key))
                continue; // the first block of a key wins
            file.m_blocks.insert(key, Block{next, data.size()});
            openKey = key;
        } else if (inHeader && line.trimmed() == "#arch=win64") {
            file.m_win64 = true;
        }
    }
    return file;
}

std::shared_ptr<const WineRegistryFile> WineRegistryFile::load(const QString& path, QString* error) {
    static std::mutex mutex;
    static std::vector<CacheEntry> cache;
    const auto fail = [error](const QString& why) -> std::shared_ptr<const WineRegistryFile> {
        if (error)
            *error = why;
        return nullptr;
    };
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    std::error_code failure;
    // Only regular files: a FIFO or a device named system.reg must not block start-up.
    if (!std::filesystem::is_regular_file(native, failure))
        return fail(u"cannot read " + path);
    const std::uintmax_t size = std::filesystem::file_size(native, failure);
    const auto modified = std::filesystem::last_write_time(native, failure);
    if (failure)
        return fail(u"cannot read " + path);

    std::lock_guard lock(mutex);
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->path == path && it->size == size && it->modified == modified) {
            if (!it->file && error)
                *error = it->error;
            return it->file;
        }
        if (it->path == path) {
            cache.erase(it);
            break;
        }
    }
    CacheEntry entry{path, size, modified, nullptr, QString()};
    if (size > std::uintmax_t(MaxWineRegistrySize)) {
        entry.error = path + u" is too large to be a registry file";
    } else {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            entry.error = u"cannot read " + path;
        } else if (auto parsed = parse(f.read(qint64(size)), &entry.error)) {
            entry.file = std::make_shared<const WineRegistryFile>(std::move(*parsed));
        } else {
            entry.error = path + u": " + entry.error;
        }
    }
    if (cache.size() >= kCacheEntries)
        cache.erase(cache.begin());
    cache.push_back(entry);
    if (!entry.file && error)
        *error = entry.error;
    return entry.file;
}

const WineRegistryFile::Block* WineRegistryFile::findBlock(const QString& key) const {
    const auto it = m_blocks.constFind(normalizedKey(key));
    return it == m_blocks.constEnd() ? nullptr : &it.value();
}

bool WineRegistryFile::hasKey(const QString& key) const {
    return findBlock(key) != nullptr;
}

std::optional<WineValue> WineRegistryFile::value(const QString& key, const QString& name) const {
    const Block* block = findBlock(key);
    if (!block)
        return std::nullopt;
    qsizetype next = 0;
    for (qsizetype pos = block->begin; pos < block->end; pos = next) {
        const QByteArrayView line = lineAt(m_bytes, pos, block->end, &next);
        if (!line.startsWith('"') && !line.startsWith('@'))
            continue; // comments, "#time=" and the like, continuation lines of other values
        QString text = decodeUtf8OrWindows1252(line);
        qsizetype at = 0;
        QString valueName;
        if (text.startsWith(u'@')) {
            at = 1;
        } else if (auto quoted = readQuoted(text, at)) {
            valueName = *quoted;
        } else {
            continue;
        }
        if (at >= text.size() || text[at] != u'=' || valueName.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        // Hex data goes on over lines ending with "\".
        QString data = text.mid(at + 1);
        while (data.endsWith(u'\\') && next < block->end) {
            data.chop(1);
            data += decodeUtf8OrWindows1252(lineAt(m_bytes, next, block->end, &next)).trimmed();
        }
        return parseData(data.trimmed());
    }
    return std::nullopt;
}

QString defaultWinePrefix() {
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty())
        prefix = QDir::homePath() + u"/.wine";
    prefix = QDir::cleanPath(prefix);
    return QFileInfo(joinPath(prefix, QStringLiteral("system.reg"))).isFile() ? prefix : QString();
}

std::optional<WineValue> readWineValue(const QString& prefix, WineRoot root, const QString& key,
                                       const QString& name) {
    if (prefix.isEmpty())
        return std::nullopt;
    const QString fileName =
        root == WineRoot::LocalMachine ? QStringLiteral("system.reg") : QStringLiteral("user.reg");
    const auto file = WineRegistryFile::load(joinPath(prefix, fileName));
    if (!file)
        return std::nullopt;
    const QString normalized = normalizedKey(key);
    if (root == WineRoot::LocalMachine && file->isWin64() && normalized.startsWith(kSoftware) &&
        !normalized.startsWith(normalizedKey(kWow6432Node) + u'\\')) {
        if (auto value = file->value(kWow6432Node + normalized.mid(kSoftware.size()), name))
            return value;
    }
    return file->value(normalized, name);
}

QString linuxPathInPrefix(const QString& prefix, const QString& windowsPath) {
    const QString path = windowsPath.trimmed();
    const auto isSeparator = [](QChar c) { return c == u'\\' || c == u'/'; };
    const bool hasDrive =
        path.size() >= 2 && path[1] == u':' && path[0].unicode() < 128 && path[0].isLetter();
    // "C:name" (relative to the drive's current folder) names nothing we can know.
    if (!hasDrive || (path.size() > 2 && !isSeparator(path[2])))
        return {};
    const QString dosdevices = joinPath(prefix, QStringLiteral("dosdevices"));
    const QString link = findEntryIgnoringCase(dosdevices, path.left(2).toLower());
    if (link.isEmpty())
        return {};
    const QString drive = QFileInfo(joinPath(dosdevices, link)).canonicalFilePath();
    if (drive.isEmpty() || !QFileInfo(drive).isDir())
        return {};

    QString rest = path.mid(2);
    rest.replace(u'/', u'\\');
    QStringList parts;
    for (const QString& part : rest.split(u'\\', Qt::SkipEmptyParts)) {
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != u".") {
            parts << part;
        }
    }
    QString result = drive;
    bool exists = true;
    for (const QString& part : parts) {
        const QString onDisk = exists ? findEntryIgnoringCase(result, part) : QString();
        exists = !onDisk.isEmpty();
        result = joinPath(result, exists ? onDisk : part);
    }
    return isSeparator(path.back()) ? withTrailingSeparator(result) : result;
}

} // namespace marvok

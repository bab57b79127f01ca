#include "core/registry_runtime.h"

#include "core/safe_write.h"
#include "core/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <vector>

namespace marvok {
namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");

struct Line {
    QString text;
    QByteArray raw; // the line's bytes as read, for lines of UTF-8 files kept as they were
    bool keepRaw = false;
};

enum class ValueKind { String, Dword, Other };

struct Value {
    QString name;
    ValueKind kind = ValueKind::Other;
    QString text;
    qint32 number = 0;
};

// One value entry of a block: its first line and the number of lines it spans (hex data may be
// continued on further lines that end with "\").
struct ValueEntry {
    int first = 0;
    int count = 1;
    // The last line still ends with "\": the block ended before the value did.
    bool continuesPastBlock = false;
    Value value;
};

QString rootName(quint32 hKey) {
    switch (hKey) {
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    default:
        return {};
    }
}

QString fullKeyName(quint32 hKey, const QString& path) {
    const QString root = rootName(hKey);
    if (root.isEmpty())
        return {};
    // Empty parts (a leading or trailing "\", or "\\" inside) name no key of their own.
    const QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    return parts.isEmpty() ? root : root + u'\\' + parts.join(u'\\');
}

std::optional<QString> keyOfHeader(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 3 || !t.startsWith(u'[') || !t.endsWith(u']') || t[1] == u'-')
        return std::nullopt;
    return t.mid(1, t.size() - 2);
}

QString escapeString(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out;
}

// Reads a quoted, escaped text starting at `pos` (on the opening quote); `pos` ends after the
// closing quote.
std::optional<QString> readQuoted(const QString& s, qsizetype& pos) {
    if (pos >= s.size() || s[pos] != u'"')
        return std::nullopt;
    QString out;
    for (++pos; pos < s.size(); ++pos) {
        const QChar c = s[pos];
        if (c == u'\\' && pos + 1 < s.size()) {
            out += s[++pos];
        } else if (c == u'"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::optional<Value> parseValue(const QString& logicalLine) {
    Value value;
    qsizetype pos = 0;
    const QString s = logicalLine.trimmed();
    if (s.startsWith(u'@')) {
        pos = 1;
    } else {
        const auto name = readQuoted(s, pos);
        if (!name)
            return std::nullopt;
        value.name = *name;
    }
    while (pos < s.size() && s[pos].isSpace())
        ++pos;
    if (pos >= s.size() || s[pos] != u'=')
        return std::nullopt;
    const QString data = s.mid(pos + 1).trimmed();
    if (data.startsWith(u'"')) {
        qsizetype p = 0;
        const auto text = readQuoted(data, p);
        if (text) {
            value.kind = ValueKind::String;
            value.text = *text;
        }
    } else if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        bool ok = false;
        const uint number = data.mid(6).trimmed().toUInt(&ok, 16);
        if (ok && data.size() - 6 <= 8) {
            value.kind = ValueKind::Dword;
            value.number = static_cast<qint32>(number);
        }
    } else if (data.startsWith(u"hex(1):", Qt::CaseInsensitive)) {
        if (const auto bytes = parseHexBytes(QStringView(data).mid(7))) {
            value.kind = ValueKind::String;
            value.text =
                QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes->constData()), bytes->size() / 2);
        }
    } else if (data.startsWith(u"hex(4):", Qt::CaseInsensitive)) {
        if (const auto bytes = parseHexBytes(QStringView(data).mid(7)); bytes && !bytes->isEmpty()) {
            quint32 number = 0;
            for (qsizetype i = 0; i < qMin<qsizetype>(4, bytes->size()); ++i)
                number |= quint32(static_cast<unsigned char>(bytes->at(i))) << (8 * i);
            value.kind = ValueKind::Dword;
            value.number = static_cast<qint32>(number);
        }
    }
    return value;
}

QString formatValueName(const QString& name) {
    return name.isEmpty() ? QStringLiteral("@") : u'"' + escapeString(name) + u'"';
}

QString formatString(const QString& name, const QString& data) {
    const bool plain = !data.contains(QChar(0)) && !data.contains(u'\n') && !data.contains(u'\r');
    if (plain)
        return formatValueName(name) + u"=\"" + escapeString(data) + u'"';
    QStringList bytes;
    const QString terminated = data + QChar(0);
    for (QChar c : terminated) {
        bytes << QString::asprintf("%02x", c.unicode() & 0xFF) << QString::asprintf("%02x", c.unicode() >> 8);
    }
    return formatValueName(name) + u"=hex(1):" + bytes.join(u',');
}

QString formatDword(const QString& name, qint32 number) {
    return formatValueName(name) + QString::asprintf("=dword:%08x", static_cast<quint32>(number));
}

class RegistryFile {
public:
    static RegistryFile load(const QString& path) {
        RegistryFile file;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return file;
        const QByteArray bytes = f.readAll();
        if (bytes.startsWith("\xFF\xFE")) {
            const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                                    (bytes.size() - 2) / 2);
            for (const QString& line : text.split(u'\n'))
                file.append(line.endsWith(u'\r') ? line.chopped(1) : line);
        } else {
            const bool utf8 = !bytes.startsWith("REGEDIT4");
            const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
            for (QByteArray raw : body.split('\n')) {
                if (raw.endsWith('\r'))
                    raw.chop(1);
                Line line;
                line.text = utf8 ? QString::fromUtf8(raw) : decodeWindows1252(raw);
                line.raw = raw;
                line.keepRaw = utf8;
                file.m_lines.push_back(std::move(line));
            }
        }
        // split() gives one empty line after the final line break; it is not a line of the file.
        if (!file.m_lines.empty() && file.m_lines.back().text.isEmpty())
            file.m_lines.pop_back();
        if (!file.m_lines.empty() && file.m_lines.front().text.trimmed() == u"REGEDIT4")
            file.m_lines.erase(file.m_lines.begin());
        if (!file.m_lines.empty() && file.m_lines.front().text != kHeader)
            file.insert(0, kHeader);
        return file;
    }

    // The line range [begin, end) of the block of `key` (after its header), or nothing.
    std::optional<std::pair<int, int>> findBlock(const QString& key) const {
        for (int i = 0; i < lineCount(); ++i) {
            const auto header = keyOfHeader(m_lines[i].text);
            if (header && header->compare(key, Qt::CaseInsensitive) == 0)
                return std::make_pair(i + 1, blockEnd(i + 1));
        }
        return std::nullopt;
    }

    std::vector<ValueEntry> values(std::pair<int, int> block) const {
        std::vector<ValueEntry> entries;
        for (int i = block.first; i < block.second; ++i) {
            ValueEntry entry;
            entry.first = i;
            QString logical = m_lines[i].text;
            while (logical.endsWith(u'\\') && i + 1 < block.second) {
                logical.chop(1);
                logical += m_lines[++i].text.trimmed();
            }
            entry.count = i - entry.first + 1;
            entry.continuesPastBlock = logical.endsWith(u'\\');
            if (auto value = parseValue(logical)) {
                entry.value = *value;
                entries.push_back(entry);
            }
        }
        return entries;
    }

    std::optional<Value> findValue(const QString& key, const QString& name) const {
        const auto block = findBlock(key);
        if (!block)
            return std::nullopt;
        for (const ValueEntry& entry : values(*block)) {
            if (entry.value.name.compare(name, Qt::CaseInsensitive) == 0)
                return entry.value;
        }
        return std::nullopt;
    }

    // Makes sure the key and its parents exist; returns the block of the key.
    std::pair<int, int> ensureKey(const QString& key) {
        const QStringList parts = key.split(u'\\', Qt::SkipEmptyParts);
        for (int depth = qMin(2, int(parts.size())); depth <= parts.size(); ++depth) {
            const QString partial = parts.mid(0, depth).join(u'\\');
            if (findBlock(partial))
                continue;
            if (lineCount() == 0)
                append(kHeader);
            if (!m_lines.back().text.trimmed().isEmpty())
                append(QString());
            append(u'[' + partial + u']');
        }
        return *findBlock(key);
    }

    // `format` makes the value's line from the value's name, spelled as the store already has it.
    template <typename Format> void setValue(const QString& key, const QString& name, Format format) {
        const auto block = ensureKey(key);
        const auto entries = values(block);
        for (const ValueEntry& entry : entries) {
            if (entry.value.name.compare(name, Qt::CaseInsensitive) == 0) {
                m_lines.erase(m_lines.begin() + entry.first, m_lines.begin() + entry.first + entry.count);
                insert(entry.first, format(entry.value.name));
                return;
            }
        }
        // After the last value of the block, or right after its header. A damaged last value whose
        // final line still ends with "\" would swallow a line put after it: the new one goes before it.
        int at = entries.empty() ? block.first : entries.back().first + entries.back().count;
        if (!entries.empty() && entries.back().continuesPastBlock)
            at = entries.back().first;
        insert(at, format(name));
    }

    bool removeValue(const QString& key, const QString& name) {
        const auto block = findBlock(key);
        if (!block)
            return false;
        for (const ValueEntry& entry : values(*block)) {
            if (entry.value.name.compare(name, Qt::CaseInsensitive) == 0) {
                m_lines.erase(m_lines.begin() + entry.first, m_lines.begin() + entry.first + entry.count);
                return true;
            }
        }
        return false;
    }

    // Removes the key's block and the blocks of its sub-keys.
    bool removeKey(const QString& key) {
        bool removed = false;
        for (int i = 0; i < lineCount();) {
            const auto header = keyOfHeader(m_lines[i].text);
            const bool matches = header && (header->compare(key, Qt::CaseInsensitive) == 0 ||
                                            header->startsWith(key + u'\\', Qt::CaseInsensitive));
            if (!matches) {
                ++i;
                continue;
            }
            m_lines.erase(m_lines.begin() + i, m_lines.begin() + blockEnd(i + 1));
            removed = true;
        }
        return removed;
    }

    bool save(const QString& path) const {
        QByteArray out;
        for (const Line& line : m_lines) {
            out += line.keepRaw ? line.raw : line.text.toUtf8();
            out += "\r\n";
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        return writeFileAtomically(path, out);
    }

private:
    int lineCount() const { return static_cast<int>(m_lines.size()); }

    int blockEnd(int from) const {
        int end = from;
        while (end < lineCount() && !keyOfHeader(m_lines[end].text))
            ++end;
        return end;
    }

    void append(const QString& text) { insert(lineCount(), text); }
    void insert(int at, const QString& text) {
        Line line;
        line.text = text;
        m_lines.insert(m_lines.begin() + at, std::move(line));
    }

    std::vector<Line> m_lines;
};

// The value in the Wine prefix, for the roots a prefix has, except the program's own settings key:
// a Windows copy of the program in the prefix keeps settings there that are not ours.
std::optional<WineValue> prefixValue(const QString& prefix, quint32 hKey, const QString& path,
                                     const QString& name) {
    if (prefix.isEmpty() || (hKey != HKEY_LOCAL_MACHINE && hKey != HKEY_CURRENT_USER))
        return std::nullopt;
    if (hKey == HKEY_LOCAL_MACHINE) {
        const QString key = fullKeyName(hKey, path);
        const QString settings = fullKeyName(hKey, SettingsKey);
        if (key.compare(settings, Qt::CaseInsensitive) == 0 ||
            key.startsWith(settings + u'\\', Qt::CaseInsensitive))
            return std::nullopt;
    }
    return readWineValue(prefix, hKey == HKEY_LOCAL_MACHINE ? WineRoot::LocalMachine : WineRoot::CurrentUser,
                         path, name);
}

} // namespace

QString RegistryRuntime::defaultStorePath() {
    const QString explicitPath = qEnvironmentVariable("MARVOK_REGISTRY");
    if (!explicitPath.isEmpty())
        return explicitPath;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + u"/.config";
    return config + u"/marvok/registry.reg";
}

RegistryRuntime::RegistryRuntime(QString storePath, QString winePrefix)
    : m_storePath(std::move(storePath))
    , m_winePrefix(std::move(winePrefix)) {}

void RegistryRuntime::SaveKey(quint32 hKey, const QString& strPath) {
    const QString key = fullKeyName(hKey, strPath);
    if (key.isEmpty())
        return;
    RegistryFile file = RegistryFile::load(m_storePath);
    if (file.findBlock(key))
        return;
    file.ensureKey(key);
    file.save(m_storePath);
}

QString RegistryRuntime::GetString(quint32 hKey, const QString& strPath, const QString& strValue) const {
    return GetString(hKey, strPath, strValue, nullptr);
}

QString RegistryRuntime::GetString(quint32 hKey, const QString& strPath, const QString& strValue,
                                   QString* fromPrefix) const {
    if (fromPrefix)
        fromPrefix->clear();
    QString text;
    if (const auto value = RegistryFile::load(m_storePath).findValue(fullKeyName(hKey, strPath), strValue)) {
        if (value->kind != ValueKind::String)
            return {};
        text = value->text;
    } else {
        const auto wine = prefixValue(m_winePrefix, hKey, strPath, strValue);
        if (!wine || wine->kind != WineValueKind::String)
            return {};
        text = wine->text;
        if (fromPrefix)
            *fromPrefix = m_winePrefix;
    }
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

void RegistryRuntime::SaveString(quint32 hKey, const QString& strPath, const QString& strValue,
                                 const QString& strdata) {
    const QString key = fullKeyName(hKey, strPath);
    if (key.isEmpty())
        return;
    RegistryFile file = RegistryFile::load(m_storePath);
    file.setValue(key, strValue, [&](const QString& name) { return formatString(name, strdata); });
    file.save(m_storePath);
}

qint32 RegistryRuntime::GetDword(quint32 hKey, const QString& strPath, const QString& strValueName) const {
    if (const auto value =
            RegistryFile::load(m_storePath).findValue(fullKeyName(hKey, strPath), strValueName))
        return value->kind == ValueKind::Dword ? value->number : 0;
    const auto wine = prefixValue(m_winePrefix, hKey, strPath, strValueName);
    return wine && wine->kind == WineValueKind::Dword ? wine->number : 0;
}

void RegistryRuntime::SaveDword(quint32 hKey, const QString& strPath, const QString& strValueName,
                                qint32 lData) {
    const QString key = fullKeyName(hKey, strPath);
    if (key.isEmpty())
        return;
    RegistryFile file = RegistryFile::load(m_storePath);
    file.setValue(key, strValueName, [&](const QString& name) { return formatDword(name, lData); });
    file.save(m_storePath);
}

void RegistryRuntime::DeleteKey(quint32 hKey, const QString& strKey) {
    RegistryFile file = RegistryFile::load(m_storePath);
    if (file.removeKey(fullKeyName(hKey, strKey)))
        file.save(m_storePath);
}

void RegistryRuntime::DeleteValue(quint32 hKey, const QString& strPath, const QString& strValue) {
    RegistryFile file = RegistryFile::load(m_storePath);
    if (file.removeValue(fullKeyName(hKey, strPath), strValue))
        file.save(m_storePath);
}

} // namespace marvok

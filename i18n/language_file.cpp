#include "i18n/language_file.h"

#include "core/ini_runtime.h"
#include "core/text_codec.h"

#include <QFile>
#include <QSet>

namespace marvok {

std::optional<LanguageFile> LanguageFile::read(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.readAll());
}

LanguageFile LanguageFile::parse(const QByteArray& bytes) {
    LanguageFile file;
    const QString text = decodeUtf8OrWindows1252(bytes);
    QSet<QString> seen;         // every section name met, so that a repeated section is ignored
    Section* current = nullptr; // the section being read; null outside one or in a repeated one
    for (const QStringView rawLine : QStringView(text).split(u'\n')) {
        const QStringView line = rawLine.trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close < 0)
                continue;
            const QString name = line.mid(1, close - 1).trimmed().toString().toCaseFolded();
            current = seen.contains(name) ? nullptr : &file.m_sections[name];
            seen.insert(name);
            continue;
        }
        if (!current || line.isEmpty() || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed().toString();
        const QString folded = key.toCaseFolded();
        if (current->values.contains(folded))
            continue;
        current->values.insert(folded,
                               line.mid(equals + 1).trimmed().left(INIRuntime::MaxValueLength).toString());
        current->keys << key;
    }
    return file;
}

QString LanguageFile::value(const QString& section, const QString& key) const {
    const auto found = m_sections.constFind(section.toCaseFolded());
    return found == m_sections.constEnd() ? QString() : found->values.value(key.toCaseFolded());
}

QStringList LanguageFile::keys(const QString& section) const {
    const auto found = m_sections.constFind(section.toCaseFolded());
    return found == m_sections.constEnd() ? QStringList() : found->keys;
}

} // namespace marvok

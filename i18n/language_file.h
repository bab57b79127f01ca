#pragma once
// A language file (".lng"): an INI file with three sections,
//   [Infos]      Language (the language's name; "Fr" marks the built-in French), Traductor, Version
//   [LNG]        one text per translation key, and the description of each start-up option by name
//   [MsgStrings] the text of a message by its number, "0" to "255"
// It is read whole, once, with the rules of INIRuntime: a section starts at "[name]"; section and
// key names match without regard to case and the first section or key of a name wins; the value is
// the text after the first "=", without surrounding blanks, cut to 254 characters; lines starting
// with ";" are ignored. The text is UTF-8 when the whole file is valid UTF-8, else Windows-1252.
#include <QHash>
#include <QString>
#include <optional>

namespace marvok {

class LanguageFile {
public:
    // Nothing when the file cannot be read.
    static std::optional<LanguageFile> read(const QString& path);
    static LanguageFile parse(const QByteArray& bytes);

    // Empty when the section or the key is absent.
    QString value(const QString& section, const QString& key) const;

    // The keys of `section` as the file spells them, in file order, each once.
    QStringList keys(const QString& section) const;

private:
    struct Section {
        QHash<QString, QString> values; // by case-folded key
        QStringList keys;               // as spelled, in file order
    };
    QHash<QString, Section> m_sections; // by case-folded name
};

} // namespace marvok

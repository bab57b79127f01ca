#include "core/ini_runtime.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

namespace marvok::fuzz {
namespace {

// What a language file is asked for when it is applied.
void readAsLanguageFile(const INIRuntime& ini, const QString& path) {
    for (const char* key : {"Language", "Traductor", "Version"})
        require(ini.ReadINI(QStringLiteral("Infos"), QLatin1String(key), path).size() <=
                    INIRuntime::MaxValueLength,
                "a value is at most 254 characters");
    for (const char* key : {"Tools", "Startup", "Save", "NoLogo"})
        require(ini.ReadINI(QStringLiteral("LNG"), QLatin1String(key), path).size() <=
                    INIRuntime::MaxValueLength,
                "a value is at most 254 characters");
    for (int message : {0, 2, 18, 28, 255})
        require(ini.ReadINI(QStringLiteral("MsgStrings"), QString::number(message), path).size() <=
                    INIRuntime::MaxValueLength,
                "a value is at most 254 characters");
}

// A name that a file line gives back unchanged: plain text that starts no comment or section and
// holds none of the characters that end a name.
bool isPlainName(const QString& name) {
    return isPlainAscii(name) && !name.isEmpty() && name == name.trimmed() && !name.startsWith(u';') &&
           !name.startsWith(u'[') && !name.contains(u'=') && !name.contains(u']');
}

} // namespace

// Input: section, key and value, each zero-ended, then the file.
void iniFile(QByteArrayView input) {
    const Fields fields = takeFields(input, 3);
    const QString& section = fields.fields[0];
    const QString& key = fields.fields[1];
    const QString& value = fields.fields[2];
    const QString folder = freshScratchFolder();
    const QString path = folder + u"/input.ini";
    writeInput(path, fields.content);

    const INIRuntime ini;
    readAsLanguageFile(ini, path);
    require(ini.ReadINI(section, key, path).size() <= INIRuntime::MaxValueLength,
            "a value is at most 254 characters");
    const QString otherBefore = ini.ReadINI(QStringLiteral("Infos"), QStringLiteral("Language"), path);

    const QString result = ini.WriteINI(section, key, value, path);
    const bool blankName = section.trimmed().isEmpty() || key.trimmed().isEmpty();
    require(result == (blankName ? u"0" : u"1"), "a write stores the entry unless a name is blank");
    require(treeBelow(folder) == QStringList{QStringLiteral("input.ini")}, "a write leaves no other file");
    if (blankName || !isPlainName(section) || !isPlainName(key) || !isPlainText(value))
        return;
    require(ini.ReadINI(section, key, path) == value.trimmed().left(INIRuntime::MaxValueLength),
            "a written value reads back");
    const bool sameEntry = section.compare(u"Infos", Qt::CaseInsensitive) == 0 &&
                           key.compare(u"Language", Qt::CaseInsensitive) == 0;
    if (!sameEntry)
        require(ini.ReadINI(QStringLiteral("Infos"), QStringLiteral("Language"), path) == otherBefore,
                "a write changes no other entry");
}

} // namespace marvok::fuzz

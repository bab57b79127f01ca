#include "core/ini_runtime.h"
#include "i18n/language_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

#include <QSet>

namespace marvok::fuzz {
namespace {

// Each key costs a read of the whole file through INIRuntime.
constexpr qsizetype MaxKeysCompared = 32;

} // namespace

// Input: a section and a key, each zero-ended, then the file. A language file is read whole, once,
// with the rules of INIRuntime: every value must be the one ReadINI gives.
void languageFile(QByteArrayView input) {
    const Fields fields = takeFields(input, 2);
    const QString folder = freshScratchFolder();
    const QString path = folder + u"/input.lng";
    writeInput(path, fields.content);

    const std::optional<LanguageFile> file = LanguageFile::read(path);
    require(file.has_value(), "a language file that exists is read");
    const INIRuntime ini;
    for (const QString& section :
         {QStringLiteral("Infos"), QStringLiteral("LNG"), QStringLiteral("MsgStrings"), fields.fields[0]}) {
        QStringList keys = file->keys(section);
        QSet<QString> folded;
        for (const QString& key : keys)
            folded.insert(key.toCaseFolded());
        require(folded.size() == keys.size(), "each key of a section is listed once");
        keys = keys.mid(0, MaxKeysCompared);
        keys << fields.fields[1] << QStringLiteral("Language") << QStringLiteral("0");
        for (const QString& key : keys)
            require(file->value(section, key) == ini.ReadINI(section, key, path),
                    "a language file reads as INIRuntime reads it");
    }
}

} // namespace marvok::fuzz

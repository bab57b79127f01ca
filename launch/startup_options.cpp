#include "launch/startup_options.h"

#include "core/paths.h"

namespace marvok {

QString optionsSection(GameKind game) {
    static const char* sections[GameCount] = {"Gen", "ZH", "BFME"};
    return QString::fromLatin1(sections[game]);
}

QString optionsValueName(GameKind game) {
    return optionsSection(game) + u"StartupOptions";
}

QString modValueName(GameKind game) {
    return optionsSection(game) + u"Mod";
}

QString optionsFilePath() {
    return joinPath(programFolder(), QStringLiteral("soptions.ini"));
}

QStringList splitOptionNames(const QString& list) {
    if (list.isEmpty())
        return {};
    return list.split(u',');
}

QStringList offeredOptions(const INIRuntime& ini, const QString& optionsFile, GameKind game) {
    return splitOptionNames(ini.ReadINI(optionsSection(game), QStringLiteral("Options"), optionsFile));
}

bool isOptionTicked(const QString& name, const QString& storedValue) {
    return storedValue.contains(name, Qt::CaseSensitive);
}

QString storedOptionsValue(const QStringList& names, const std::vector<bool>& ticked) {
    QString value;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i < qsizetype(ticked.size()) && ticked[i])
            value += u" -" + names[i];
    }
    return value;
}

} // namespace marvok

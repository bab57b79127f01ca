#include "csf/csf_demo.h"

#include "core/paths.h"
#include "csf/csf_file.h"

#include <QDir>

namespace marvok {
namespace {

constexpr quint8 kFrench = 3;

CsfEntry row(const char* name, const char* value) {
    return {QString::fromUtf8(name), QString::fromUtf8(value), false, {}};
}

CsfTable demoTable(GameKind game) {
    const bool middleEarth = game == BattleForMiddleEarth;
    CsfTable table = {
        row("GUI:Ok", "D'accord"),
        row("GUI:Cancel", "Annuler"),
        row("GUI:Options", "Options de jeu : son, vidéo, contrôles…"),
        row("GUI:QuitConfirm", "Êtes-vous sûr de vouloir quitter ?\nLa partie en cours sera perdue."),
        middleEarth
            ? row("CONTROLBAR:ToolTipBuildSoldier", "Entraîne des soldats du Gondor « élite » : 200 €.")
            : row("CONTROLBAR:ToolTipBuildRanger", "Entraîne un béret vert d'élite « rapide » : 225 €."),
        row("LOAD:Tip1", "Un cœur vaillant ne craint ni l'hiver ni l'été."),
        row("LANGUAGE:Russian", "Русский: Добро пожаловать, командир!"),
        row("LANGUAGE:Korean", "한국어: 환영합니다, 사령관님!"),
    };
    CsfEntry voiced = row(middleEarth ? "VOICE:GandalfSelect" : "VOICE:RangerSelect",
                          middleEarth ? "Un magicien n'est jamais en retard." : "Prêt à l'action !");
    voiced.HasExtra = true;
    voiced.Extra = middleEarth ? QByteArrayLiteral("gandalf_select01") : QByteArrayLiteral("vrangersea");
    table.append(voiced);
    return table;
}

} // namespace

bool addCsfDemoContent(const QString& gameFolder, GameKind game, QString* error) {
    if (!QDir().mkpath(gameFolder)) {
        *error = u"cannot create the folder " + gameFolder;
        return false;
    }
    const QString name =
        game == BattleForMiddleEarth ? QStringLiteral("lotr.csf") : QStringLiteral("generals.csf");
    const QString path = resolvePathIgnoringCase(gameFolder, name);
    const CsfWriteResult written = WriteCsf(path, demoTable(game), kFrench);
    if (!written.ok()) {
        *error = u"cannot write the sample string table: " + written.failure.description;
        return false;
    }
    return true;
}

} // namespace marvok

#include "shellmaps/shellmap_rotation.h"

#include "core/ini_runtime.h"
#include "core/paths.h"
#include "shellmaps/shellmap_catalogue.h"

#include <QFileInfo>
#include <cmath>

namespace marvok {
namespace {

const QString kStartup = QStringLiteral("Startup");
const QString kHideNotice = QStringLiteral("HideDetectedShellMapError");

} // namespace

QString rotationSettingsPath() {
    return joinPath(programFolder(), QStringLiteral("Settings.ini"));
}

bool isDetectedShellMapNoticeHidden() {
    return readWholeNumber(INIRuntime().ReadINI(kStartup, kHideNotice, rotationSettingsPath())).value_or(0) !=
           0;
}

bool setDetectedShellMapNoticeHidden(bool hidden) {
    return INIRuntime().WriteINI(kStartup, kHideNotice, hidden ? QStringLiteral("1") : QStringLiteral("0"),
                                 rotationSettingsPath()) == u"1";
}

int drawnEntry(int count, double x) {
    if (count <= 0)
        return 0;
    const int drawn = static_cast<int>(std::floor(count * x));
    return std::clamp(drawn, 0, count - 1);
}

bool rotateStartupShellMap(GameKind game, const GameEnvironment& env, const RotationHooks& hooks) {
    const QString& install = env.InstallFolder[game];
    if (install.isEmpty())
        return false;
    const std::optional<int> count = readCatalogueCount(cataloguePath(game));
    if (!count)
        return false;

    const QString active = gameFolderPath(install, activeFolderName(game));
    const QFileInfo activeInfo(active);
    if (activeInfo.isDir() && !activeInfo.isSymLink()) {
        if (const std::optional<int> index = activeEntryIndex(install, game)) {
            moveFolder(active, gameFolderPath(install, entryFolderName(*index)));
        } else {
            if (!isDetectedShellMapNoticeHidden() && hooks.showNotice)
                hooks.showNotice();
            moveFolder(active, gameFolderPath(install, BackupFolderName));
        }
        if (game != ZeroHour)
            return true;
    }

    const int drawn = drawnEntry(*count, hooks.random ? hooks.random() : 0.0);
    if (!moveFolder(gameFolderPath(install, entryFolderName(drawn)), active))
        return true;
    const INIRuntime ini;
    const QString marker = markerPath(active);
    ini.WriteINI(MarkerSection, QStringLiteral("ZephInstalled"), QStringLiteral("1"), marker);
    ini.WriteINI(MarkerSection, QStringLiteral("Index"), QString::number(drawn), marker);
    return true;
}

} // namespace marvok

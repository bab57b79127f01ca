#include "core/game_environment.h"

#include "core/paths.h"
#include "core/wine_registry.h"

#include <QFileInfo>

namespace marvok {
namespace {

std::unique_ptr<RegistryRuntime>& registryInstance() {
    static std::unique_ptr<RegistryRuntime> instance;
    return instance;
}

} // namespace

bool GameEnvironment::anyGameInstalled() const {
    return std::any_of(InstallFolder.begin(), InstallFolder.end(),
                       [](const QString& f) { return !f.isEmpty(); });
}

GameEnvironment& environment() {
    static GameEnvironment env;
    return env;
}

RegistryRuntime& registry() {
    if (!registryInstance())
        createServices();
    return *registryInstance();
}

INIRuntime& ini() {
    static INIRuntime instance;
    return instance;
}

void createServices(const QString& storePath) {
    registryInstance() = std::make_unique<RegistryRuntime>(storePath);
}

QString gameRegistryKey(GameKind game) {
    switch (game) {
    case Generals:
        return QStringLiteral("SOFTWARE\\Electronic Arts\\EA Games\\Generals");
    case ZeroHour:
        return QStringLiteral("SOFTWARE\\Electronic Arts\\EA Games\\Command and Conquer Generals Zero Hour");
    case BattleForMiddleEarth:
        return QStringLiteral("SOFTWARE\\Electronic Arts\\EA Games\\The Battle for Middle-Earth");
    }
    return {};
}

namespace {

struct UserFolder {
    QString path;
    QString prefix; // empty: the settings store
};

// A folder value, as a path of this file system: a Windows path read from a prefix goes through the
// prefix's drives; one whose drive cannot be found counts as absent.
UserFolder readFolder(const RegistryRuntime& store, quint32 hKey, const QString& key, const QString& name) {
    UserFolder folder;
    folder.path = store.GetString(hKey, key, name, &folder.prefix);
    if (!folder.prefix.isEmpty()) {
        folder.path = linuxPathInPrefix(folder.prefix, folder.path);
        if (folder.path.isEmpty())
            folder.prefix.clear();
    }
    return folder;
}

} // namespace

void readInstallFolders(const RegistryRuntime& store, GameEnvironment& env) {
    for (GameKind game : {ZeroHour, Generals, BattleForMiddleEarth}) {
        UserFolder folder =
            readFolder(store, HKEY_LOCAL_MACHINE, gameRegistryKey(game), QStringLiteral("InstallPath"));
        // A prefix keeps the keys of a game whose folder is gone; it is not installed.
        if (!folder.prefix.isEmpty() && !QFileInfo(folder.path).isDir())
            folder = {};
        env.InstallFolder[game] = folder.path;
        env.PrefixOf[game] = folder.prefix;
    }
}

void composePlayerFolders(const RegistryRuntime& store, GameEnvironment& env) {
    const UserFolder personal =
        readFolder(store, HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal"));
    const UserFolder appData =
        readFolder(store, HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("AppData"));
    const auto leaf = [&store](GameKind game) {
        return store.GetString(HKEY_LOCAL_MACHINE, gameRegistryKey(game), QStringLiteral("UserDataLeafName"));
    };
    // Inside a prefix the games made these folders; the case they gave them may not be ours.
    const auto join = [](const UserFolder& base, const QString& relative) {
        return base.prefix.isEmpty() ? joinPath(base.path, relative)
                                     : resolvePathIgnoringCase(base.path, relative);
    };
    const UserFolder* bases[GameCount] = {&personal, &personal, &appData};
    const QString leaves[GameCount] = {QStringLiteral("Command and Conquer Generals Data"), leaf(ZeroHour),
                                       leaf(BattleForMiddleEarth)};
    for (int game = 0; game < GameCount; ++game) {
        const UserFolder data{join(*bases[game], leaves[game]), bases[game]->prefix};
        env.ReplaysFolder[game] = join(data, QStringLiteral("Replays/"));
        env.MapsFolder[game] = join(data, QStringLiteral("Maps/"));
        env.PlayerFoldersPrefixOf[game] = data.prefix;
    }
}

} // namespace marvok

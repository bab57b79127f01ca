#include "core/game_environment.h"

#include "core/paths.h"

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

void readInstallFolders(const RegistryRuntime& store, GameEnvironment& env) {
    for (GameKind game : {ZeroHour, Generals, BattleForMiddleEarth})
        env.InstallFolder[game] =
            store.GetString(HKEY_LOCAL_MACHINE, gameRegistryKey(game), QStringLiteral("InstallPath"));
}

void composePlayerFolders(const RegistryRuntime& store, GameEnvironment& env) {
    const QString personal = store.GetString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal"));
    const QString appData = store.GetString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("AppData"));
    const auto leaf = [&store](GameKind game) {
        return store.GetString(HKEY_LOCAL_MACHINE, gameRegistryKey(game), QStringLiteral("UserDataLeafName"));
    };
    const QString dataFolders[GameCount] = {
        joinPath(personal, QStringLiteral("Command and Conquer Generals Data")),
        joinPath(personal, leaf(ZeroHour)),
        joinPath(appData, leaf(BattleForMiddleEarth)),
    };
    for (int game = 0; game < GameCount; ++game) {
        env.ReplaysFolder[game] = joinPath(dataFolders[game], QStringLiteral("Replays/"));
        env.MapsFolder[game] = joinPath(dataFolders[game], QStringLiteral("Maps/"));
    }
}

} // namespace marvok

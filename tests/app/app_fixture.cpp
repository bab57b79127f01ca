#include "tests/app/app_fixture.h"

#include <QDir>

namespace marvok::test {

GameSetup::GameSetup(std::initializer_list<GameKind> installed)
    : m_savedRegistry(qgetenv("MARVOK_REGISTRY"))
    , m_savedHome(qgetenv("MARVOK_HOME")) {
    qputenv("MARVOK_REGISTRY", store().toLocal8Bit());
    qputenv("MARVOK_HOME", programFolder().toLocal8Bit());
    QDir().mkpath(programFolder());
    environment() = GameEnvironment{};
    RegistryRuntime registry(store());
    for (GameKind game : installed) {
        QDir().mkpath(installFolder(game));
        registry.SaveString(HKEY_LOCAL_MACHINE, gameRegistryKey(game), QStringLiteral("InstallPath"),
                            installFolder(game));
    }
    registry.SaveString(HKEY_LOCAL_MACHINE, gameRegistryKey(ZeroHour), QStringLiteral("UserDataLeafName"),
                        QStringLiteral("Zero Hour Data"));
    registry.SaveString(HKEY_LOCAL_MACHINE, gameRegistryKey(BattleForMiddleEarth),
                        QStringLiteral("UserDataLeafName"), QStringLiteral("BFME Files"));
    registry.SaveString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal"),
                        m_folder.file(QStringLiteral("Documents")));
    registry.SaveString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("AppData"),
                        m_folder.file(QStringLiteral("AppData")));
}

GameSetup::~GameSetup() {
    environment() = GameEnvironment{};
    createServices(QString::fromLocal8Bit(m_savedRegistry));
    qputenv("MARVOK_REGISTRY", m_savedRegistry);
    qputenv("MARVOK_HOME", m_savedHome);
}

QString GameSetup::installFolder(GameKind game) const {
    static const char* names[GameCount] = {"Generals", "Zero Hour", "BFME"};
    // Stored without a trailing separator, as a user may write it.
    return m_folder.file(u"games/" + QString::fromLatin1(names[game]));
}

} // namespace marvok::test

#include "app/demo_environment.h"

#include "core/paths.h"
#include "core/registry_runtime.h"

#include <QDir>
#include <QFile>

namespace marvok::demo {
namespace {

const QString kShellFolders =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

struct GameKey {
    const char* key;
    const char* installFolder;
    const char* leafName; // UserDataLeafName; nullptr where the game has none
};

const GameKey kGames[3] = {
    {"SOFTWARE\\Electronic Arts\\EA Games\\Generals", "Command and Conquer Generals", nullptr},
    {"SOFTWARE\\Electronic Arts\\EA Games\\Command and Conquer Generals Zero Hour",
     "Command and Conquer Generals Zero Hour", "Command and Conquer Generals Zero Hour Data"},
    {"SOFTWARE\\Electronic Arts\\EA Games\\The Battle for Middle-Earth", "The Battle for Middle-earth",
     "My Battle for Middle-earth Files"},
};

} // namespace

DemoFolders foldersBelow(const QString& root) {
    DemoFolders f;
    f.root = QDir::cleanPath(QDir(root).absolutePath());
    f.registry = joinPath(f.root, QStringLiteral("registry.reg"));
    f.program = joinPath(f.root, QStringLiteral("program"));
    f.personal = joinPath(f.root, QStringLiteral("home/Documents"));
    f.appData = joinPath(f.root, QStringLiteral("home/AppData"));
    for (int game = 0; game < 3; ++game)
        f.install[game] = joinPath(f.root, u"games/" + QString::fromLatin1(kGames[game].installFolder));
    f.userData[0] = joinPath(f.personal, QStringLiteral("Command and Conquer Generals Data"));
    f.userData[1] = joinPath(f.personal, QString::fromLatin1(kGames[1].leafName));
    f.userData[2] = joinPath(f.appData, QString::fromLatin1(kGames[2].leafName));
    return f;
}

bool addGameSettings(const DemoFolders& folders) {
    QDir dir;
    bool ok = dir.mkpath(folders.program);
    for (int game = 0; game < 3; ++game) {
        ok = dir.mkpath(folders.install[game]) && ok;
        ok = dir.mkpath(joinPath(folders.userData[game], QStringLiteral("Replays"))) && ok;
        ok = dir.mkpath(joinPath(folders.userData[game], QStringLiteral("Maps"))) && ok;
    }
    RegistryRuntime registry(folders.registry);
    for (int game = 0; game < 3; ++game) {
        const QString key = QString::fromLatin1(kGames[game].key);
        registry.SaveString(HKEY_LOCAL_MACHINE, key, QStringLiteral("InstallPath"), folders.install[game]);
        if (kGames[game].leafName)
            registry.SaveString(HKEY_LOCAL_MACHINE, key, QStringLiteral("UserDataLeafName"),
                                QString::fromLatin1(kGames[game].leafName));
    }
    registry.SaveString(HKEY_CURRENT_USER, kShellFolders, QStringLiteral("Personal"), folders.personal);
    registry.SaveString(HKEY_CURRENT_USER, kShellFolders, QStringLiteral("AppData"), folders.appData);
    return ok && QFile::exists(folders.registry);
}

bool addDeliveredFiles(const DemoFolders& folders, const QString& deliveredFolder) {
    bool ok = true;
    for (const QString& name : listFolder(deliveredFolder, QStringLiteral("*.ini;*.lng"), EntryKind::Files)) {
        const QString target = joinPath(folders.program, name);
        QFile::remove(target);
        ok = QFile::copy(joinPath(deliveredFolder, name), target) && ok;
    }
    return ok;
}

bool makeDemoEnvironment(const QString& root, const QString& deliveredFolder, QString* error) {
    const DemoFolders folders = foldersBelow(root);
    if (QDir(folders.root).exists() && !QDir(folders.root).removeRecursively()) {
        *error = u"cannot remove the old demo folder " + folders.root;
        return false;
    }
    if (!addGameSettings(folders)) {
        *error = u"cannot create the settings store and folders below " + folders.root;
        return false;
    }
    if (!addDeliveredFiles(folders, deliveredFolder)) {
        *error = u"cannot copy the delivered files into " + folders.program;
        return false;
    }
    return true;
}

} // namespace marvok::demo

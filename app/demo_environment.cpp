#include "app/demo_environment.h"

#include "big/big_archive.h"
#include "big/big_demo.h"
#include "core/ini_runtime.h"
#include "core/game_environment.h"
#include "core/paths.h"
#include "core/registry_runtime.h"
#include "csf/csf_demo.h"
#include "launch/startup_options.h"
#include "install/install_demo.h"
#include "replays/replay_demo.h"
#include "shellmaps/shellmap_demo.h"

#include <QDir>
#include <QFile>
#include <functional>

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
    for (int game = 0; game < GameCount; ++game) {
        const QString key = gameRegistryKey(GameKind(game));
        registry.SaveString(HKEY_LOCAL_MACHINE, key, QStringLiteral("InstallPath"), folders.install[game]);
        if (kGames[game].leafName)
            registry.SaveString(HKEY_LOCAL_MACHINE, key, QStringLiteral("UserDataLeafName"),
                                QString::fromLatin1(kGames[game].leafName));
    }
    registry.SaveString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal"), folders.personal);
    registry.SaveString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("AppData"), folders.appData);
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

bool addLaunchSamples(const DemoFolders& folders) {
    RegistryRuntime registry(folders.registry);
    registry.SaveString(HKEY_LOCAL_MACHINE, SettingsKey, optionsValueName(Generals),
                        QStringLiteral(" -win -noshellmap"));
    registry.SaveString(HKEY_LOCAL_MACHINE, SettingsKey, optionsValueName(ZeroHour),
                        QStringLiteral(" -quickstart"));
    const char* maps[GameCount][3] = {
        {"Alpine Assault", "Tournament Desert", "Twilight Flame"},
        {"Defcon6", "Tournament Urban", "Winter Wolf"},
        {"Fords of Isen", "Helms Deep", "Rohan"},
    };
    bool ok = true;
    for (int game = 0; game < GameCount; ++game) {
        for (const char* map : maps[game]) {
            const QString name = QString::fromLatin1(map);
            const QString folder = joinPath(folders.userData[game], u"Maps/" + name);
            ok = QDir().mkpath(folder) && ok;
            QFile file(joinPath(folder, name + u".map"));
            ok = file.open(QIODevice::WriteOnly) && file.write("CkMp") == 4 && ok;
        }
    }
    // The runner shows what it would start instead of starting Wine.
    const QString runner = joinPath(folders.root, QStringLiteral("runner.sh"));
    QFile script(runner);
    const QByteArray body = R"(#!/bin/sh
# The demo's stand-in for wine: shows what would be started.
printf 'Would start:' >&2
printf ' [%s]' "$@" >&2
printf '\n' >&2
)";
    ok = script.open(QIODevice::WriteOnly) && script.write(body) == body.size() && ok;
    script.close();
    return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                 QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther) &&
           ok;
}

bool addModSamples(const DemoFolders& folders) {
    // Per game: two mods, one of them described, beside archives named like the game's own.
    const char* mods[GameCount][3] = {
        {"ProGen.big", "Blitzkrieg.big", "INI.big"},
        {"ShockWave.big", "Contra.big", "INIZH.big"},
        {"Edain.big", "Rotwk Units.big", "Data.big"},
    };
    const QString readme = joinPath(folders.root, QStringLiteral("mod-readme.txt"));
    QFile text(readme);
    bool ok = text.open(QIODevice::WriteOnly) && text.write("[Mod]\r\nName=Demo\r\n") > 0;
    text.close();
    for (int game = 0; game < GameCount; ++game) {
        for (const char* mod : mods[game]) {
            const QString archive = joinPath(folders.install[game], QString::fromLatin1(mod));
            ok = WriteArchive(archive, {SaveItem::fromFile(readme, QStringLiteral("Data\\INI\\Mod.ini"))}, {}, {},
                              nullptr) &&
                 ok;
        }
        const QString described = QString::fromLatin1(mods[game][0]).chopped(4);
        ok = INIRuntime().WriteINI(QStringLiteral("Mod"), QStringLiteral("Comments"),
                                   u"Mod de démonstration pour " + described,
                                   joinPath(folders.install[game], described + u".ini")) == u"1" &&
             ok;
    }
    return QFile::remove(readme) && ok;
}

bool addCsfSamples(const DemoFolders& folders) {
    QString error;
    for (int game = 0; game < GameCount; ++game) {
        if (!addCsfDemoContent(folders.install[game], GameKind(game), &error))
            return false;
    }
    return true;
}

bool addReplaySamples(const DemoFolders& folders) {
    for (int game = 0; game < GameCount; ++game) {
        if (!addReplayDemoContent(joinPath(folders.userData[game], QStringLiteral("Replays")),
                                  GameKind(game)))
            return false;
    }
    return true;
}

QString packagesFolder(const DemoFolders& folders) {
    return joinPath(folders.personal, QStringLiteral("Paquets à installer"));
}

QString shellMapArchivesFolder(const DemoFolders& folders) {
    return joinPath(folders.personal, QStringLiteral("ShellMaps à installer"));
}

bool makeDemoEnvironment(const QString& root, const QString& deliveredFolder, QString* error) {
    const DemoFolders folders = foldersBelow(root);
    if (QDir(folders.root).exists() && !QDir(folders.root).removeRecursively()) {
        *error = u"cannot remove the old demo folder " + folders.root;
        return false;
    }
    const std::pair<const char*, std::function<bool()>> steps[] = {
        {"the settings store and folders", [&] { return addGameSettings(folders); }},
        {"the delivered files", [&] { return addDeliveredFiles(folders, deliveredFolder); }},
        // A newcomer who reads no French sees the program in English.
        {"the choice of the English language file",
         [&] {
             const QString english = joinPath(folders.program, QStringLiteral("English.lng"));
             RegistryRuntime registry(folders.registry);
             registry.SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"), english);
             return QFile::exists(english) &&
                    registry.GetString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName")) == english;
         }},
        {"the start-up options, maps and runner", [&] { return addLaunchSamples(folders); }},
        {"the mods", [&] { return addModSamples(folders); }},
        {"the string tables", [&] { return addCsfSamples(folders); }},
        {"the replays", [&] { return addReplaySamples(folders); }},
        {"the BIG archives", [&] { return addBigDemoContent(folders.install[ZeroHour], folders.personal, nullptr); }},
        {"the packages to install", [&] { return writeInstallDemoArchives(packagesFolder(folders)); }},
        {"the ShellMaps",
         [&] {
             return addShellMapDemoContent(folders.program,
                                           {folders.install[0], folders.install[1], folders.install[2]},
                                           shellMapArchivesFolder(folders), nullptr);
         }},
    };
    for (const auto& [what, step] : steps) {
        if (!step()) {
            *error = u"cannot make " + QString::fromLatin1(what) + u" below " + folders.root;
            return false;
        }
    }
    return true;
}

} // namespace marvok::demo

#include "app/startup.h"

#include "app/form1.h"
#include "core/game_environment.h"
#include "core/message_box.h"
#include "core/paths.h"
#include "i18n/language_generator.h"
#include "install/install_dialogs.h"
#include "launch/launch_game.h"
#include "shellmaps/shellmap_dialogs.h"
#include "shellmaps/startup_shellmap.h"

namespace marvok {

QString commandLineFromArguments(const QStringList& arguments) {
    QStringList parts;
    for (const QString& argument : arguments)
        parts << (argument.contains(u' ') ? u'"' + argument + u'"' : argument);
    return parts.join(u' ');
}

StartupBranch dispatchBranch(const QString& commandLine, int* game) {
    if (commandLine.contains(u"/launch")) {
        int launched = -1;
        if (commandLine.contains(u"/zh"))
            launched = ZeroHour;
        else if (commandLine.contains(u"/gen"))
            launched = Generals;
        else if (commandLine.contains(u"/bfme"))
            launched = BattleForMiddleEarth;
        if (launched >= 0) {
            if (game)
                *game = launched;
            return StartupBranch::Launch;
        }
        return StartupBranch::MainWindow;
    }
    if (commandLine.contains(u"/genlanfile"))
        return StartupBranch::GenerateLanguageFile;
    if (!commandLine.isEmpty())
        return StartupBranch::Install;
    return StartupBranch::MainWindow;
}

namespace {

StartupResult showMainWindow() {
    environment().CurrentGame = Generals;
    auto* window = new Form1;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->load();
    return {window, true};
}

// The windows the language-file generator loads and walks, in this order.
std::vector<WindowLoader> generatorWindows() {
    return {loadWindow<Form1>(),
            loadWindow<Form2>(),
            loadWindow<Form3>(),
            loadWindow<Form4>(),
            loadWindow<frmInstallHome>(QString()),
            loadWindow<frmInstallMap>(),
            loadWindow<frmInstallRep>()};
}

} // namespace

StartupResult runStartup(const QString& commandLine) {
    seedProgramFolder();
    createServices();
    GameEnvironment& env = environment();
    readInstallFolders(registry(), env);
    if (!env.anyGameInstalled()) {
        ShowTableMessage(16);
        return {};
    }
    composePlayerFolders(registry(), env);
    env.TradFileName = registry().GetString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"));
    env.CommandLineAsTyped = commandLine;
    env.CommandLine = commandLine.toLower();

    int game = Generals;
    switch (dispatchBranch(env.CommandLine, &game)) {
    case StartupBranch::Launch:
        // A launch that fails ends in the main window instead of ending the program.
        if (PrepareStartupShellMap(GameKind(game)) && LaunchGame(GameKind(game)))
            return {};
        break;
    case StartupBranch::GenerateLanguageFile:
        CollectCaptions(generatorWindows());
        return {nullptr, true};
    case StartupBranch::Install:
        // The installer's own window; the program ends when it closes.
        openInstallHome(env.CommandLineAsTyped);
        return {nullptr, true};
    case StartupBranch::MainWindow:
        break;
    }
    return showMainWindow();
}

} // namespace marvok

#include "launch/launch_game.h"

#include "core/paths.h"
#include "launch/startup_options.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace marvok {

QString executableName(GameKind game) {
    return game == BattleForMiddleEarth ? QStringLiteral("lotrbfme.exe") : QStringLiteral("generals.exe");
}

QString buildLaunchCommandLine(GameKind game, const GameEnvironment& env, const RegistryRuntime& store) {
    QString options = store.GetString(HKEY_LOCAL_MACHINE, SettingsKey, optionsValueName(game));
    const QString mod = store.GetString(HKEY_LOCAL_MACHINE, SettingsKey, modValueName(game));
    if (!mod.isEmpty())
        options += u" -mod " + mod;
    return u'"' + joinPath(env.InstallFolder[game], executableName(game)) + u"\" " + options;
}

LaunchPlan launchPlan(const QString& commandLine) {
    LaunchPlan plan;
    plan.runner = qEnvironmentVariable("MARVOK_RUNNER", QStringLiteral("wine"));
    const qsizetype close = commandLine.indexOf(u'"', 1);
    plan.arguments << commandLine.mid(1, close - 1);
    plan.arguments << commandLine.mid(close + 1).split(u' ', Qt::SkipEmptyParts);
    return plan;
}

bool LaunchGame(GameKind game, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (game < Generals || game > BattleForMiddleEarth)
        return fail(QStringLiteral("unknown game"));
    const GameEnvironment& env = environment();
    if (!env.isInstalled(game))
        return fail(QStringLiteral("the game is not installed"));
    LaunchPlan plan = launchPlan(buildLaunchCommandLine(game, env, registry()));
    // The executable may be spelled in another case on this file system.
    const QString executable = existingPathIgnoringCase(env.InstallFolder[game], executableName(game));
    if (executable.isEmpty() || !QFileInfo(executable).isFile())
        return fail(u"cannot find " + plan.arguments.front());
    plan.arguments.front() = executable;
    const QString runner =
        QFileInfo(plan.runner).isAbsolute() ? plan.runner : QStandardPaths::findExecutable(plan.runner);
    if (runner.isEmpty())
        return fail(u"cannot start " + plan.runner);
    QProcess process;
    process.setProgram(runner);
    process.setArguments(plan.arguments);
    if (!env.PrefixOf[game].isEmpty()) {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.insert(QStringLiteral("WINEPREFIX"), env.PrefixOf[game]);
        process.setProcessEnvironment(variables);
    }
    if (!process.startDetached())
        return fail(u"cannot start " + plan.runner);
    return true;
}

} // namespace marvok

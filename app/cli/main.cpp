// marvok-cli: the program's BIG, CSF and replay code for modders' scripts.
#include "app/cli/big_commands.h"
#include "app/cli/cli_support.h"
#include "app/cli/csf_commands.h"
#include "app/cli/replay_commands.h"

#include <cstdio>

using namespace marvok::cli;

namespace {

const QString kOverview =
    QStringLiteral("Usage: marvok-cli COMMAND ARGUMENTS...\n"
                   "\n"
                   "BIG archives, CSF string tables and replays of Command & Conquer Generals, Zero Hour\n"
                   "and The Battle for Middle-earth, read and written by the same code as Marvok 2.\n"
                   "\n"
                   "Commands:\n");

const QString kOverviewEnd =
    QStringLiteral("\n"
                   "'marvok-cli COMMAND --help' tells more about each, as 'marvok-cli big pack --help'.\n"
                   "Exit status: 0 on success, 1 when the input is bad or a write fails (with a message on\n"
                   "standard error), 2 for a usage error.\n");

QString overview(const QList<Command>& commands) {
    QString text = kOverview;
    for (const Command& command : commands)
        text += QStringLiteral("  marvok-cli ") + command.words + u' ' + command.synopsis + u'\n';
    return text + kOverviewEnd;
}

int printOverview(const QList<Command>& commands) {
    writeOutput(overview(commands).toUtf8());
    return flushOutput() ? Success : Failed;
}

bool isHelp(const QString& argument) {
    return argument == u"--help" || argument == u"-h";
}

} // namespace

int main(int argc, char** argv) {
    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);
    const QList<Command> commands = bigCommands() + csfCommands() + replayCommands();

    if (arguments.isEmpty()) {
        writeErrorText(overview(commands));
        return UsageError;
    }
    if (isHelp(arguments[0]))
        return printOverview(commands);
    if (arguments[0] == u"--version") {
        writeOutput("marvok-cli " MARVOK_VERSION "\n");
        return flushOutput() ? Success : Failed;
    }

    const QString& group = arguments[0];
    QList<Command> inGroup;
    for (const Command& command : commands) {
        if (command.words.section(u' ', 0, 0) == group)
            inGroup << command;
    }
    if (inGroup.isEmpty())
        return usageError(QString(), QStringLiteral("unknown command \"%1\"").arg(group));
    if (arguments.size() < 2 || isHelp(arguments[1])) {
        if (arguments.size() < 2) {
            writeErrorText(overview(inGroup));
            return UsageError;
        }
        return printOverview(inGroup);
    }
    for (const Command& command : inGroup) {
        if (command.words.section(u' ', 1) == arguments[1])
            return runCommand(command, arguments.mid(2));
    }
    return usageError(group, QStringLiteral("unknown command \"%1\"").arg(arguments[1]));
}

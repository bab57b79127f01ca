#include "tests/cli/cli_runner.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace marvok::test {

CliRun runCli(const QStringList& arguments, const QString& workingFolder) {
    QProcess process;
    process.setProgram(QStringLiteral(MARVOK_CLI));
    process.setArguments(arguments);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start();
    process.closeWriteChannel();
    CliRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "marvok-cli " << arguments.join(u' ').toStdString() << " did not end normally";
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace marvok::test

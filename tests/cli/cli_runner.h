#pragma once
// Runs the built marvok-cli as a process.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

namespace marvok::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    // Standard error holds exactly one line.
    bool oneErrorLine() const {
        return err.endsWith('\n') && err.count('\n') == 1 && err.startsWith("marvok-cli: ");
    }
};

CliRun runCli(const QStringList& arguments, const QString& workingFolder = {});

inline std::ostream& operator<<(std::ostream& os, const CliRun& run) {
    return os << "exit " << run.exitCode << "\nstdout: " << run.out.toStdString()
              << "\nstderr: " << run.err.toStdString();
}

} // namespace marvok::test

#pragma once
// What every command of marvok-cli shares: its exit statuses, the parsing of its arguments, one-line
// messages on standard error, buffered standard output and the progress bar.
#include "big/archive_progress.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace marvok::cli {

enum ExitStatus { Success = 0, Failed = 1, UsageError = 2 };

struct Option {
    QString name; // "--big4"
    bool takesValue = false;
};

// The arguments of one command after its words ("big pack"): operands in order and the options given.
struct Arguments {
    QStringList operands;
    QHash<QString, QString> options; // a flag maps to an empty value
    bool help = false;

    bool has(const QString& option) const { return options.contains(option); }
};

// "--" ends the options; "--name=value" and "--name value" both give a value. Nothing, with `error`
// set, for an unknown option or a missing value.
std::optional<Arguments> parseArguments(const QStringList& arguments, const QList<Option>& options,
                                        QString* error);

struct Command {
    QString words; // "big pack"
    QString synopsis;
    QString help; // the text of --help, after the usage line
    QList<Option> options;
    qsizetype leastOperands = 0;
    qsizetype mostOperands = 0; // -1: no limit
    std::function<int(const Arguments&)> run;
};

// Parses the command's arguments, prints its help or a usage error, or runs it.
int runCommand(const Command& command, const QStringList& arguments);

// "marvok-cli: <words>: <message>" on standard error (without words for the program itself);
// returns Failed.
int fail(const QString& words, const QString& message);
// The same for a usage error, with a pointer to the help; returns UsageError.
int usageError(const QString& words, const QString& message);
// A message that does not end the command.
void warn(const QString& words, const QString& message);
// Text on standard error as it is.
void writeErrorText(const QString& text);

// Standard output, in large blocks. flushOutput is false when anything could not be written.
void writeOutput(QByteArrayView bytes);
bool flushOutput();

// A progress bar on standard error, drawn only when that is a terminal and once the operation has
// lasted a moment, so that quick commands and scripts see nothing of it.
class TerminalProgress : public ArchiveProgress {
public:
    explicit TerminalProgress(QString label);
    ~TerminalProgress() override;

    void show(const QString& title, const QString& text) override;
    void text(const QString&) override {}
    void change(int position) override;
    void hide() override;

private:
    void draw(int position);

    QString m_label;
    bool m_enabled = false;
    bool m_drawn = false;
    int m_position = -1;
    QElapsedTimer m_started;
};

} // namespace marvok::cli

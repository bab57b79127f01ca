#include "app/cli/cli_support.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace marvok::cli {
namespace {

constexpr int kBarWidth = 30;
// A bar for operations that end sooner would only flicker.
constexpr qint64 kDelayBeforeDrawingMs = 300;

void writeError(const QString& line) {
    writeErrorText(line + u'\n');
}

const Option* findOption(const QList<Option>& options, QStringView name) {
    for (const Option& option : options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

} // namespace

std::optional<Arguments> parseArguments(const QStringList& arguments, const QList<Option>& options,
                                        QString* error) {
    Arguments parsed;
    bool optionsEnded = false;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString& argument = arguments[k];
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-')) {
            parsed.operands << argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help" || argument == u"-h") {
            parsed.help = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        const Option* option = findOption(options, name);
        if (!option) {
            *error = QStringLiteral("unknown option %1").arg(name);
            return std::nullopt;
        }
        if (!option->takesValue) {
            if (equals >= 0) {
                *error = QStringLiteral("%1 takes no value").arg(name);
                return std::nullopt;
            }
            parsed.options.insert(name, QString());
        } else if (equals >= 0) {
            parsed.options.insert(name, argument.mid(equals + 1));
        } else if (k + 1 < arguments.size()) {
            parsed.options.insert(name, arguments[++k]);
        } else {
            *error = QStringLiteral("%1 needs a value").arg(name);
            return std::nullopt;
        }
    }
    return parsed;
}

int runCommand(const Command& command, const QStringList& arguments) {
    QString error;
    const std::optional<Arguments> parsed = parseArguments(arguments, command.options, &error);
    if (!parsed)
        return usageError(command.words, error);
    if (parsed->help) {
        writeOutput((u"Usage: marvok-cli " + command.words + u' ' + command.synopsis + u"\n\n" + command.help)
                        .toUtf8());
        return flushOutput() ? Success : Failed;
    }
    const qsizetype count = parsed->operands.size();
    if (count < command.leastOperands || (command.mostOperands >= 0 && count > command.mostOperands))
        return usageError(command.words, QStringLiteral("expects %1").arg(command.synopsis));
    return command.run(*parsed);
}

namespace {

QString prefix(const QString& words) {
    return words.isEmpty() ? QStringLiteral("marvok-cli: ") : u"marvok-cli: " + words + u": ";
}

} // namespace

int fail(const QString& words, const QString& message) {
    writeError(prefix(words) + message);
    return Failed;
}

int usageError(const QString& words, const QString& message) {
    const QString command = words.isEmpty() ? QStringLiteral("marvok-cli") : u"marvok-cli " + words;
    writeError(prefix(words) + message + u" (see " + command + u" --help)");
    return UsageError;
}

void warn(const QString& words, const QString& message) {
    writeError(prefix(words) + message);
}

void writeErrorText(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}

void writeOutput(QByteArrayView bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

bool flushOutput() {
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

TerminalProgress::TerminalProgress(QString label)
    : m_label(std::move(label))
    , m_enabled(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() {
    hide();
}

void TerminalProgress::show(const QString&, const QString&) {
    m_started.start();
    m_position = -1;
}

void TerminalProgress::change(int position) {
    position = std::clamp(position, 0, 100);
    if (!m_enabled || position == m_position || !m_started.isValid())
        return;
    if (!m_drawn && m_started.elapsed() < kDelayBeforeDrawingMs)
        return;
    m_position = position;
    draw(position);
}

void TerminalProgress::hide() {
    if (m_drawn) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
    m_drawn = false;
    m_started.invalidate();
}

void TerminalProgress::draw(int position) {
    const int filled = position * kBarWidth / 100;
    const QString bar = u'\r' + m_label + u" [" + QString(filled, u'#') + QString(kBarWidth - filled, u' ') +
                        u"] " + QString::number(position).rightJustified(3) + u'%';
    const QByteArray bytes = bar.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
    m_drawn = true;
}

} // namespace marvok::cli

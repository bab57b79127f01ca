#pragma once
// Writes that fail part-way, as on a disk that fills up: the work runs in a child process whose files
// may not grow past a limit (RLIMIT_FSIZE, with SIGXFSZ ignored so that the write fails with EFBIG
// instead of killing it). Tests run as root, which permissions do not stop; this limit stops root too.
#include <QByteArray>
#include <QString>
#include <cerrno>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace marvok::test {

// Runs `work` in a child process whose writes past `limit` bytes of a file fail, and returns the text
// it returned (its outcome, for the test to check), or nothing when the child did not end normally.
inline std::optional<QString> runWithFileSizeLimit(rlim_t limit, const std::function<QString()>& work) {
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered{};
        getrlimit(RLIMIT_FSIZE, &lowered);
        lowered.rlim_cur = limit;
        if (setrlimit(RLIMIT_FSIZE, &lowered) != 0)
            _exit(2);
        const QByteArray outcome = work().toUtf8();
        const bool sent = write(channel[1], outcome.constData(), size_t(outcome.size())) == outcome.size();
        // No exit handlers: they belong to the test process.
        _exit(sent ? 0 : 3);
    }
    close(channel[1]);
    QByteArray outcome;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        outcome.append(buffer, got);
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(outcome);
}

} // namespace marvok::test

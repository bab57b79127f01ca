#pragma once
// A Wine prefix made by a test: "system.reg" and "user.reg" in Wine's format, the drive links of
// "dosdevices" and folders on its drives.
#include "tests/support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace marvok::test {

enum class Arch { Win32, Win64 };

// A registry file as Wine writes it, around `body` (key blocks written with raw literals).
inline QByteArray wineRegistryText(const char* root, Arch arch, const QByteArray& body) {
    return QByteArray("WINE REGISTRY Version 2\n;; All keys relative to \\\\") + root + "\n\n" +
           (arch == Arch::Win64 ? "#arch=win64\n" : "#arch=win32\n") + "\n" + body;
}

class WinePrefix {
public:
    explicit WinePrefix(Arch arch = Arch::Win64)
        : m_arch(arch) {
        QDir().mkpath(driveC());
        QDir().mkpath(path() + QStringLiteral("/dosdevices"));
        linkDrive("c:", QStringLiteral("../drive_c"));
        linkDrive("z:", QStringLiteral("/"));
    }

    // Canonical, as the drive links resolve to it.
    QString path() const { return QFileInfo(m_folder.path()).canonicalFilePath() + QStringLiteral("/wine"); }
    QString driveC() const { return path() + QStringLiteral("/drive_c"); }
    Arch arch() const { return m_arch; }

    void writeSystem(const QByteArray& body) const {
        writeBytes(path() + QStringLiteral("/system.reg"), wineRegistryText("Machine", m_arch, body));
    }
    void writeUser(const QByteArray& body) const {
        writeBytes(path() + QStringLiteral("/user.reg"),
                   wineRegistryText("User\\\\S-1-5-21-0-0-0-1000", m_arch, body));
    }
    // A folder below drive C:, made with the spelling given.
    QString makeFolder(const QString& relative) const {
        const QString folder = driveC() + u'/' + relative;
        QDir().mkpath(folder);
        return folder;
    }
    void linkDrive(const char* drive, const QString& target) const {
        const QByteArray link =
            QFile::encodeName(path() + QStringLiteral("/dosdevices/") + QLatin1String(drive));
        ::unlink(link.constData());
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), link.constData()), 0);
    }

private:
    TempFolder m_folder;
    Arch m_arch;
};

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_saved(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedVariable() {
        if (m_had)
            qputenv(m_name, m_saved);
        else
            qunsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_saved;
};

} // namespace marvok::test

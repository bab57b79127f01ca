#include "big/replacing_file.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>
#include <system_error>

namespace marvok {
namespace {

std::filesystem::path nativePath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

ReplacingFile::ReplacingFile(const QString& target)
    : m_target(target) {
    // Writing through a link replaces what it points to, as an ordinary write would.
    const QFileInfo info(target);
    if (info.isSymLink() && info.exists())
        m_target = info.canonicalFilePath();
}

ReplacingFile::~ReplacingFile() {
    if (!m_committed && !m_file.fileName().isEmpty()) {
        m_file.close();
        m_file.remove();
    }
}

bool ReplacingFile::open() {
    constexpr auto mode = QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered;
    const QFileInfo target(m_target);
    if (target.isDir()) {
        m_error = QStringLiteral("C'est un dossier");
        return false;
    }
    if (!target.exists()) {
        m_file.setFileName(m_target);
        if (m_file.open(mode))
            return true;
        if (!m_file.exists()) {
            m_error = m_file.errorString();
            m_file.setFileName(QString());
            return false;
        }
    }
    // The target exists (or appeared meanwhile): write beside it.
    m_replacing = true;
    const QString stem = target.absolutePath() + QStringLiteral("/.") + target.fileName() + u'.';
    for (int attempt = 0; attempt < 16; ++attempt) {
        m_file.setFileName(stem + QString::number(QRandomGenerator::global()->generate(), 36) +
                           QStringLiteral(".tmp"));
        if (m_file.open(mode)) {
            // Through the name, so that a file system without permissions leaves no error on m_file.
            QFile::setPermissions(m_file.fileName(), QFile::permissions(m_target));
            return true;
        }
        if (!m_file.exists())
            break;
    }
    m_error = m_file.errorString();
    m_file.setFileName(QString());
    return false;
}

bool ReplacingFile::commit() {
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) {
        m_error = m_file.errorString();
        return false;
    }
    if (!m_replacing) {
        m_committed = true;
        return true;
    }
    std::error_code error;
    std::filesystem::rename(nativePath(m_file.fileName()), nativePath(m_target), error);
    if (error) {
        m_error = QString::fromStdString(error.message());
        return false;
    }
    m_committed = true;
    return true;
}

} // namespace marvok

#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace marvok::test {

TempFolder::TempFolder() {
    EXPECT_TRUE(m_dir.isValid());
}

QString TempFolder::file(const QString& relative) const {
    return m_dir.filePath(relative);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString realFixturesFolder() {
    const QString folder = QStringLiteral(MARVOK_REAL_FIXTURES);
    return QFileInfo(folder + QStringLiteral("/README.md")).exists() ? QDir::cleanPath(folder) : QString();
}

} // namespace marvok::test

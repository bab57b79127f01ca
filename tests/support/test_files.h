#pragma once
#include "tests/support/qt_printers.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace marvok::test {

// A temporary folder removed at the end of the test.
class TempFolder {
public:
    TempFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

// Writes `bytes` to `path`, creating its folders; fails the test when it cannot.
void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

// The folder of the real game files, or empty when it is absent.
QString realFixturesFolder();

} // namespace marvok::test

// Skips the test when the real game files are absent.
#define MARVOK_REQUIRE_REAL_FIXTURES()                                                                       \
    do {                                                                                                     \
        if (::marvok::test::realFixturesFolder().isEmpty())                                                  \
            GTEST_SKIP() << "the real game files of shared/fixtures/real are not on this machine";           \
    } while (false)

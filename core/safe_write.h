#pragma once
// Every file the program writes goes through a temporary file in the target's folder that replaces
// the target only once it is complete, so a failed or interrupted write leaves the old file intact.
// Writers that stream use QSaveFile directly, opened Unbuffered and written through writeFully.
#include <QByteArray>
#include <QString>

class QSaveFile;

namespace marvok {

// Writes `data` as the whole content of `path`. On failure the target is unchanged, no temporary
// file is left and `error` (when given) says why.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Writes all of `data` to `file`, going on after short writes; false when the system refuses.
bool writeFully(QSaveFile& file, const char* data, qint64 size);

} // namespace marvok

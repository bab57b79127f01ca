#include "core/safe_write.h"

#include <QSaveFile>

namespace marvok {

bool writeFully(QSaveFile& file, const char* data, qint64 size) {
    while (size > 0) {
        const qint64 written = file.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    // Unbuffered: with a buffer, a failure to flush it at commit() goes unnoticed and a cut-off file
    // would replace the target.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!writeFully(file, data.constData(), data.size())) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace marvok

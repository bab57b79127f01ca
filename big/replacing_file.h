#pragma once
// A file that takes its target's place only by commit(): until then, and whenever anything fails,
// the target is exactly as it was. An existing target is replaced by renaming a temporary file of
// its folder over it; a target that does not exist yet is created directly (exclusively) and
// removed again on failure, which spares a rename per extracted entry. Unlike QSaveFile it does not
// wait for the data to reach the disk before the rename, which would cost a disk flush for every
// extracted entry; the rename itself keeps a half-written file from ever replacing a good one.
#include <QFile>
#include <QString>

namespace marvok {

class ReplacingFile {
public:
    explicit ReplacingFile(const QString& target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Opens the file to write, unbuffered; a temporary file gets the permissions of the target.
    bool open();
    // The file being written.
    QFile& file() { return m_file; }
    // Closes the file and, for an existing target, renames the temporary file over it.
    bool commit();

    QString errorString() const { return m_error; }

private:
    QString m_target;
    QFile m_file;
    QString m_error;
    bool m_replacing = false;
    bool m_committed = false;
};

} // namespace marvok

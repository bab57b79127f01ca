#pragma once
// Single keys of INI files, with the behaviour of the Windows profile-file functions that the
// program's files and the ones it shares with other programs rely on:
// - a section starts at a line "[name]"; the lines "key=value" after it belong to it;
// - section and key names match without regard to case, and the first match wins;
// - the value is the text after the first "=", without surrounding blanks, cut to 254 characters;
// - blank lines, lines starting with ";" and anything else are ignored when reading and kept byte
//   for byte when writing;
// - a write replaces a key in place, appends a missing key at the end of its section and a missing
//   section at the end of the file, and creates a missing file (not a missing folder); new lines end
//   with CR LF.
// Text is read as UTF-8 when the whole file is valid UTF-8, else as Windows-1252. A file keeps its
// encoding when the new line fits it; a Windows-1252 file that must hold a character outside it, or
// whose bytes would then read as UTF-8, becomes UTF-8. Writes go through a temporary file, so a failed write leaves the file as it was.
#include <QString>

namespace marvok {

class INIRuntime {
public:
    static constexpr int MaxValueLength = 254;

    // "1" when the entry was stored, "0" when the write failed.
    QString WriteINI(const QString& Entete, const QString& Variable, const QString& Valeur,
                     const QString& FileName) const;

    // The value, at most 254 characters; empty when the file, the section or the key is absent.
    QString ReadINI(const QString& Entete, const QString& Variable, const QString& FileName) const;
};

} // namespace marvok

#pragma once
// mCSF: the games' compiled string tables.
//
// Layout (offsets 0-based, every integer 4 bytes little-endian, records back to back):
//   header, 24 bytes: " FSC", version 3, label count, string count, 0, language byte + 3 zero bytes
//   label:   " LBL", string count, name length L, L bytes of Windows-1252 name
//   string:  " RTS", length L in UTF-16 units, 2 x L bytes: UTF-16LE with every bit inverted
//   "WRTS":  a string record followed by a length E and E bytes of an extra 8-bit value (the name of
//            a sound file)
//
// The table is flat: one row per string, named after the label record before it. Writing gives each
// row a label of its own holding exactly one string, so a label without any string is dropped and a
// label with several strings becomes several labels of the same name.
//
// Reading is lenient so that files from any tool open: tags are compared without regard to case,
// label and string records may come in any order, no count is trusted, and anything else is stepped
// over 3 bytes at a time. Only the language byte at offset 20 is taken from the header. The whole file
// is read into memory (files over 256 MiB are refused) and walked in one go, fast enough that the
// window never needs to process events in between.
//
// Nothing here shows a message: the results say which one applies (18 for a read, 2, 28 or 19 for a
// write) and the page shows it.
#include "core/messages.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace marvok {

struct CsfEntry {
    QString Name;  // the label name
    QString Value; // the string
    // A "WRTS" string keeps its extra value and is written back as one.
    bool HasExtra = false;
    QByteArray Extra;

    friend bool operator==(const CsfEntry&, const CsfEntry&) = default;
};

using CsfTable = QList<CsfEntry>;

constexpr qsizetype CsfMaxRows = 32767;

namespace CsfMsg {
constexpr int ReadFailed = 18;
constexpr int Saved = 19;
} // namespace CsfMsg

// Why message 18 applies.
enum class CsfReadProblem {
    None,
    Unreadable,     // cannot be opened or read, or larger than any string table
    NotCsf,         // the first four bytes are not " FSC"
    RecordPastEnd,  // a record (or a tag) runs past the end of the file
    NoStrings,      // not a single string record
    TooManyStrings, // more than CsfMaxRows strings
};

struct CsfReadResult {
    // Every row read, also those before a failure.
    CsfTable table;
    // The byte at offset 20, -1 when the file is shorter. The page takes it only from a read that
    // succeeded.
    int language = -1;
    CsfReadProblem problem = CsfReadProblem::None;
    // Where the walk stopped on RecordPastEnd or TooManyStrings.
    qint64 problemOffset = -1;

    bool ok() const { return problem == CsfReadProblem::None; }
};

CsfReadResult ReadCsf(const QString& path);

struct CsfWriteResult {
    // CsfMsg::Saved after a complete write; Msg::CannotEncodeName when a label does not fit
    // Windows-1252 (nothing was written); 2 when writing failed (the file on disk is as it was).
    int message = 0;
    // The path for CsfMsg::Saved, the label name for Msg::CannotEncodeName.
    QString messageValue;
    // The details message 2 shows.
    FailureDetails failure;

    bool ok() const { return message == CsfMsg::Saved; }
};

// Writes `table` to `path`, replacing any file of that name only once the new file is complete.
CsfWriteResult WriteCsf(const QString& path, const CsfTable& table, quint8 language);

} // namespace marvok

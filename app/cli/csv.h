#pragma once
// CSV as RFC 4180 has it: fields separated by ",", records by CRLF (a bare LF is read too), a field
// with a comma, a quote or a line break in double quotes with its quotes doubled. Text is UTF-8.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace marvok::cli {

struct CsvField {
    QString text;
    bool quoted = false; // tells "" from an empty field
};

struct CsvRecord {
    QList<CsvField> fields;
    qsizetype line = 0; // where the record begins, counted from 1
};

// Appends one record. A field listed in `quoteEvenWhenEmpty` is written "" when it is empty.
void appendCsvRecord(QByteArray& out, const QStringList& fields, const QList<bool>& quoteEvenWhenEmpty = {});

// The records of `bytes` (a UTF-8 byte-order mark is skipped; empty lines are no records). Nothing,
// with `error` set to the line and the fault, for text that is not UTF-8 or quoting that is broken.
std::optional<QList<CsvRecord>> parseCsv(QByteArrayView bytes, QString* error);

} // namespace marvok::cli

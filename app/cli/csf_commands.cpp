#include "app/cli/csf_commands.h"

#include "app/cli/csv.h"
#include "core/safe_write.h"
#include "core/text_codec.h"
#include "csf/csf_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace marvok::cli {
namespace {

const QString kExport = QStringLiteral("csf export");
const QString kImport = QStringLiteral("csf import");
const QString kInfo = QStringLiteral("csf info");
const QString kLanguageOption = QStringLiteral("--language");

// Larger than any string table ReadCsf accepts, with room for quoting.
constexpr qint64 kMaxCsvLength = qint64(1) << 30;

// The languages the program offers, by their language byte.
struct Language {
    int code;
    const char* name;
};
constexpr Language kLanguages[] = {{0, "English"}, {2, "German"}, {3, "French"}, {8, "Korean"}};

QString languageName(int code) {
    for (const Language& language : kLanguages) {
        if (language.code == code)
            return QString::fromLatin1(language.name);
    }
    return QStringLiteral("unknown");
}

// A language byte 0 to 255, or one of the names above.
std::optional<quint8> parseLanguage(const QString& text) {
    bool ok = false;
    const int code = text.toInt(&ok);
    if (ok)
        return code >= 0 && code <= 255 ? std::optional<quint8>(quint8(code)) : std::nullopt;
    for (const Language& language : kLanguages) {
        if (text.compare(QLatin1String(language.name), Qt::CaseInsensitive) == 0)
            return quint8(language.code);
    }
    return std::nullopt;
}

std::optional<CsfReadResult> readTable(const QString& words, const QString& path, int* status) {
    CsfReadResult read = ReadCsf(path);
    QString why;
    switch (read.problem) {
    case CsfReadProblem::None:
        return read;
    case CsfReadProblem::Unreadable:
        why = QFileInfo::exists(path) ? QStringLiteral("cannot be read, or is larger than any string table")
                                      : QStringLiteral("does not exist");
        break;
    case CsfReadProblem::NotCsf:
        why = QStringLiteral("is not a CSF string table (it does not begin with \" FSC\")");
        break;
    case CsfReadProblem::RecordPastEnd:
        why = QStringLiteral("is cut: the record at offset %1 runs past the end of the file")
                  .arg(read.problemOffset);
        break;
    case CsfReadProblem::NoStrings:
        why = QStringLiteral("holds no string");
        break;
    case CsfReadProblem::TooManyStrings:
        why = QStringLiteral("holds more than %1 strings (the walk stopped at offset %2)")
                  .arg(CsfMaxRows)
                  .arg(read.problemOffset);
        break;
    }
    *status = fail(words, path + u' ' + why);
    return std::nullopt;
}

const QStringList kHeader{QStringLiteral("label"), QStringLiteral("text"), QStringLiteral("extra")};

int exportTable(const Arguments& arguments) {
    const QString& table = arguments.operands[0];
    const QString& csvPath = arguments.operands[1];
    int status = Failed;
    const std::optional<CsfReadResult> read = readTable(kExport, table, &status);
    if (!read)
        return status;
    QByteArray out;
    appendCsvRecord(out, kHeader);
    for (qsizetype k = 0; k < read->table.size(); ++k) {
        const CsfEntry& entry = read->table[k];
        // UTF-8 cannot carry half of a surrogate pair: the row would not come back as it was.
        if (!QStringView(entry.Value).isValidUtf16())
            return fail(kExport,
                        QStringLiteral("the string of row %1 (\"%2\") holds a lone UTF-16 surrogate, "
                                       "which UTF-8 cannot carry")
                            .arg(k + 1)
                            .arg(entry.Name));
        // An empty extra value written "" keeps its row a "WRTS" row.
        appendCsvRecord(out, {entry.Name, entry.Value, decodeWindows1252(entry.Extra)},
                        {false, false, entry.HasExtra});
    }
    QString error;
    if (!writeFileAtomically(csvPath, out, &error))
        return fail(kExport, QStringLiteral("cannot write %1: %2").arg(csvPath, error));
    return Success;
}

int importTable(const Arguments& arguments) {
    const QString& csvPath = arguments.operands[0];
    const QString& table = arguments.operands[1];
    if (!arguments.has(kLanguageOption))
        return usageError(kImport, QStringLiteral("--language CODE is required"));
    const std::optional<quint8> language = parseLanguage(arguments.options.value(kLanguageOption));
    if (!language)
        return usageError(kImport, QStringLiteral("--language takes a code from 0 to 255 or English, German, "
                                                  "French, Korean, not \"%1\"")
                                       .arg(arguments.options.value(kLanguageOption)));

    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(kImport, QStringLiteral("cannot read %1: %2").arg(csvPath, file.errorString()));
    if (file.size() > kMaxCsvLength)
        return fail(kImport, csvPath + QStringLiteral(" is larger than any string table"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(kImport, QStringLiteral("cannot read %1: %2").arg(csvPath, file.errorString()));

    QString error;
    const std::optional<QList<CsvRecord>> records = parseCsv(bytes, &error);
    if (!records)
        return fail(kImport, csvPath + QStringLiteral(", ") + error);
    const auto faultAt = [&](qsizetype line, const QString& why) {
        return fail(kImport, QStringLiteral("%1, line %2: %3").arg(csvPath).arg(line).arg(why));
    };
    if (records->isEmpty())
        return faultAt(1, QStringLiteral("the header label,text,extra is missing"));
    const CsvRecord& header = records->first();
    QStringList headerNames;
    for (const CsvField& field : header.fields)
        headerNames << field.text.trimmed().toLower();
    if (headerNames != kHeader)
        return faultAt(header.line, QStringLiteral("the header must be label,text,extra"));
    if (records->size() - 1 > CsfMaxRows)
        return fail(kImport, QStringLiteral("%1 has %2 rows; a string table holds at most %3")
                                 .arg(csvPath)
                                 .arg(records->size() - 1)
                                 .arg(CsfMaxRows));

    CsfTable rows;
    rows.reserve(records->size() - 1);
    for (qsizetype k = 1; k < records->size(); ++k) {
        const CsvRecord& record = (*records)[k];
        if (record.fields.size() != 3)
            return faultAt(
                record.line,
                QStringLiteral("%1 fields where label,text,extra are 3").arg(record.fields.size()));
        const CsvField& extra = record.fields[2];
        const std::optional<QByteArray> extraBytes = encodeWindows1252(extra.text);
        if (!extraBytes)
            return faultAt(record.line,
                           QStringLiteral("the extra value cannot be written in Windows-1252 (\"%1\")")
                               .arg(firstCharacterOutsideWindows1252(extra.text)));
        rows.append({record.fields[0].text, record.fields[1].text, extra.quoted || !extra.text.isEmpty(),
                     *extraBytes});
    }

    const CsfWriteResult written = WriteCsf(table, rows, *language);
    if (written.ok())
        return Success;
    if (written.message == Msg::CannotEncodeName)
        return fail(
            kImport,
            QStringLiteral("the label \"%1\" cannot be written in Windows-1252").arg(written.messageValue));
    return fail(kImport, written.failure.description);
}

int describeTable(const Arguments& arguments) {
    const QString& table = arguments.operands[0];
    int status = Failed;
    const std::optional<CsfReadResult> read = readTable(kInfo, table, &status);
    if (!read)
        return status;
    qsizetype extraRows = 0;
    QSet<QString> labels;
    for (const CsfEntry& entry : read->table) {
        extraRows += entry.HasExtra ? 1 : 0;
        labels.insert(entry.Name.toCaseFolded());
    }
    const QString text = QStringLiteral("language: %1 (%2)\nrows: %3\nWRTS rows: %4\nlabels: %5\n")
                             .arg(read->language)
                             .arg(languageName(read->language))
                             .arg(read->table.size())
                             .arg(extraRows)
                             .arg(labels.size());
    writeOutput(text.toUtf8());
    return flushOutput() ? Success : fail(kInfo, QStringLiteral("cannot write to standard output"));
}

} // namespace

QList<Command> csfCommands() {
    return {
        {kExport,
         QStringLiteral("TABLE OUT.csv"),
         QStringLiteral(
             "Writes the rows of a CSF string table as UTF-8 CSV (RFC 4180: CRLF between records,\n"
             "fields with a comma, a quote or a line break in double quotes) with the header\n"
             "label,text,extra and one record per string in file order. extra is the extra\n"
             "value of a \"WRTS\" string (a sound file name), empty for the others; a \"WRTS\"\n"
             "string with an empty extra value gets \"\" so that importing keeps it one.\n"),
         {},
         2,
         2,
         exportTable},
        {kImport,
         QStringLiteral("IN.csv TABLE --language CODE"),
         QStringLiteral("Writes a CSF string table from a CSV file as csf export writes it (a byte-order\n"
                        "mark and LF line ends are accepted). A record with a non-empty or quoted extra\n"
                        "value becomes a \"WRTS\" string. Export then import gives back the same rows.\n"
                        "The table replaces TABLE only once it is complete; labels and extra values must\n"
                        "fit Windows-1252.\n\n"
                        "  --language CODE   the language byte: 0 to 255, or English (0), German (2),\n"
                        "                    French (3), Korean (8)\n"),
         {{kLanguageOption, true}},
         2,
         2,
         importTable},
        {kInfo,
         QStringLiteral("TABLE"),
         QStringLiteral("Prints the language byte of a CSF string table and its name, the number of rows\n"
                        "(strings), of \"WRTS\" rows, and of labels (distinct names, compared without\n"
                        "regard to case as the games look them up).\n"),
         {},
         1,
         1,
         describeTable},
    };
}

} // namespace marvok::cli

#include "app/cli/csv.h"

#include "core/text_codec.h"

namespace marvok::cli {
namespace {

bool needsQuotes(const QString& field) {
    for (QChar c : field) {
        if (c == u',' || c == u'"' || c == u'\n' || c == u'\r')
            return true;
    }
    return false;
}

void appendField(QByteArray& out, const QString& field, bool quoteWhenEmpty) {
    if (needsQuotes(field) || (quoteWhenEmpty && field.isEmpty())) {
        QString quoted = field;
        quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        out += '"' + quoted.toUtf8() + '"';
    } else {
        out += field.toUtf8();
    }
}

} // namespace

void appendCsvRecord(QByteArray& out, const QStringList& fields, const QList<bool>& quoteEvenWhenEmpty) {
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (k > 0)
            out += ',';
        appendField(out, fields[k], quoteEvenWhenEmpty.value(k));
    }
    out += "\r\n";
}

std::optional<QList<CsvRecord>> parseCsv(QByteArrayView bytes, QString* error) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (!isValidUtf8(bytes)) {
        *error = QStringLiteral("the file is not UTF-8 text");
        return std::nullopt;
    }
    const QString text = QString::fromUtf8(bytes);
    const auto failAt = [&](qsizetype line, const QString& why) {
        *error = QStringLiteral("line %1: %2").arg(line).arg(why);
        return std::nullopt;
    };

    QList<CsvRecord> records;
    qsizetype line = 1;
    qsizetype at = 0;
    const qsizetype end = text.size();
    while (at < end) {
        CsvRecord record;
        record.line = line;
        for (;;) {
            CsvField field;
            if (at < end && text[at] == u'"') {
                const qsizetype opened = line;
                field.quoted = true;
                ++at;
                for (;;) {
                    const qsizetype quote = text.indexOf(u'"', at);
                    if (quote < 0)
                        return failAt(opened, QStringLiteral("a quoted field is not closed"));
                    const QStringView part = QStringView(text).sliced(at, quote - at);
                    field.text += part;
                    line += part.count(u'\n');
                    at = quote + 1;
                    if (at < end && text[at] == u'"') {
                        field.text += u'"';
                        ++at;
                        continue;
                    }
                    break;
                }
                if (at < end && text[at] != u',' && text[at] != u'\n' &&
                    !(text[at] == u'\r' && at + 1 < end && text[at + 1] == u'\n'))
                    return failAt(line, QStringLiteral("a closing quote is followed by text"));
            } else {
                qsizetype stop = at;
                while (stop < end && text[stop] != u',' && text[stop] != u'\n' &&
                       !(text[stop] == u'\r' && stop + 1 < end && text[stop + 1] == u'\n')) {
                    if (text[stop] == u'"')
                        return failAt(line,
                                      QStringLiteral("a quote inside a field that does not begin with one"));
                    ++stop;
                }
                field.text = text.sliced(at, stop - at);
                at = stop;
            }
            record.fields.append(std::move(field));
            if (at < end && text[at] == u',') {
                ++at;
                continue;
            }
            break;
        }
        at += at < end && text[at] == u'\r' ? 2 : 1;
        ++line;
        const bool emptyLine =
            record.fields.size() == 1 && !record.fields[0].quoted && record.fields[0].text.isEmpty();
        if (!emptyLine)
            records.append(std::move(record));
    }
    return records;
}

} // namespace marvok::cli

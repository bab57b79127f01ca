#pragma once
// What the fuzz targets share: the check of a property, a scratch folder per process, and the split
// of an input into a few fields and the file content.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace marvok::fuzz {

// Stops on a property that does not hold: prints `what` and aborts, which the fuzzer records as a
// crash with its input; under the regression test the handler reports it instead.
void require(bool holds, const char* what);
void setFailureHandler(std::function<void(const char* what)> handler);

// An empty folder for one input; the same path each time within a process.
QString freshScratchFolder();

void writeInput(const QString& path, QByteArrayView bytes);
QByteArray fileBytes(const QString& path);

// Every path below `folder` (folders included, links not followed), relative to it, sorted.
QStringList treeBelow(const QString& folder);

// The input as `count` zero-ended fields (UTF-8 when valid, else Windows-1252) followed by the file
// content; missing fields are empty and the content is then empty too.
struct Fields {
    QList<QString> fields;
    QByteArrayView content;
};
Fields takeFields(QByteArrayView input, int count);
// The bytes takeFields splits back into `fields` and `content`.
QByteArray joinFields(const QStringList& fields, QByteArrayView content);

// Printable ASCII only: names that a file line gives back as they are.
bool isPlainAscii(const QString& text);
// Printable characters only, no lone surrogates: values that a read after a write gives back.
bool isPlainText(const QString& text);

} // namespace marvok::fuzz

#include "tests/fuzz/fuzz_support.h"

#include "core/text_codec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace marvok::fuzz {
namespace {

std::function<void(const char*)>& failureHandler() {
    static std::function<void(const char*)> handler;
    return handler;
}

} // namespace

void require(bool holds, const char* what) {
    if (holds)
        return;
    if (failureHandler()) {
        failureHandler()(what);
        return;
    }
    std::fprintf(stderr, "fuzz property failed: %s\n", what);
    std::abort();
}

void setFailureHandler(std::function<void(const char*)> handler) {
    failureHandler() = std::move(handler);
}

QString freshScratchFolder() {
    static QTemporaryDir base;
    const QString folder = base.filePath(QStringLiteral("run"));
    QDir(folder).removeRecursively();
    require(QDir().mkpath(folder), "the scratch folder can be made");
    return folder;
}

void writeInput(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(bytes.data(), bytes.size()) == bytes.size(),
            "the input can be written");
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList treeBelow(const QString& folder) {
    QStringList paths;
    const QDir root(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << root.relativeFilePath(it.next());
    paths.sort();
    return paths;
}

Fields takeFields(QByteArrayView input, int count) {
    Fields result;
    qsizetype at = 0;
    for (int k = 0; k < count; ++k) {
        const qsizetype zero = at < input.size() ? input.indexOf('\0', at) : -1;
        if (zero < 0) {
            result.fields.append(decodeUtf8OrWindows1252(input.sliced(std::min(at, input.size()))));
            at = input.size();
            while (result.fields.size() < count)
                result.fields.append(QString());
            return result;
        }
        result.fields.append(decodeUtf8OrWindows1252(input.sliced(at, zero - at)));
        at = zero + 1;
    }
    result.content = input.sliced(at);
    return result;
}

QByteArray joinFields(const QStringList& fields, QByteArrayView content) {
    QByteArray bytes;
    for (const QString& field : fields)
        bytes += field.toUtf8() + '\0';
    return bytes + content.toByteArray();
}

bool isPlainAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

bool isPlainText(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() && !c.isSurrogate(); });
}

} // namespace marvok::fuzz

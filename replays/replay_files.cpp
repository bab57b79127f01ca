#include "replays/replay_files.h"

#include "core/paths.h"

#include <QFile>

namespace marvok {
namespace {

bool isPlainName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u"." && name != u"..";
}

QString quoted(const QString& name) {
    return u"« " + name + u" »";
}

} // namespace

ReplayRename renameReplay(const QString& folder, const QString& fileName, const QString& newTitle) {
    ReplayRename result;
    result.fileName = newTitle + u".rep";
    if (newTitle.trimmed().isEmpty()) {
        result.outcome = ReplayRename::EmptyTitle;
        return result;
    }
    if (!isPlainName(newTitle) || newTitle.startsWith(u'.')) {
        result.outcome = ReplayRename::InvalidTitle;
        return result;
    }
    if (!isPlainName(fileName)) {
        result.error = quoted(fileName) + u" n'est pas un replay de ce dossier.";
        return result;
    }
    if (result.fileName == fileName) {
        result.outcome = ReplayRename::Renamed;
        return result;
    }
    const QString existing = findEntryIgnoringCase(folder, result.fileName);
    if (!existing.isEmpty() && existing != fileName) {
        result.outcome = ReplayRename::NameTaken;
        return result;
    }
    // QFile::rename never replaces an existing file, so a replay that appeared meanwhile is kept.
    QFile file(joinPath(folder, fileName));
    if (!file.rename(joinPath(folder, result.fileName))) {
        result.error = quoted(fileName) + u" → " + quoted(result.fileName) + u" : " + file.errorString();
        return result;
    }
    result.outcome = ReplayRename::Renamed;
    return result;
}

bool deleteReplay(const QString& folder, const QString& fileName, QString* error) {
    if (!isPlainName(fileName)) {
        if (error)
            *error = quoted(fileName) + u" n'est pas un replay de ce dossier.";
        return false;
    }
    QFile file(joinPath(folder, fileName));
    if (!file.remove()) {
        if (error)
            *error = quoted(fileName) + u" : " + file.errorString();
        return false;
    }
    return true;
}

} // namespace marvok

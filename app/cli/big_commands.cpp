#include "app/cli/big_commands.h"

#include "big/big_archive.h"
#include "core/paths.h"
#include "core/text_codec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace marvok::cli {
namespace {

const QString kList = QStringLiteral("big list");
const QString kExtract = QStringLiteral("big extract");
const QString kPack = QStringLiteral("big pack");

// Tabs and line breaks in a name would break the lines of the listing.
void appendPrintable(QByteArray& out, const QString& text) {
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c == u'\x7F'; };
    if (std::none_of(text.begin(), text.end(), isControl)) {
        out += text.toUtf8();
        return;
    }
    QString shown;
    for (QChar c : text) {
        if (isControl(c))
            shown += QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else
            shown += c;
    }
    out += shown.toUtf8();
}

// The index, or a message on standard error.
std::optional<ArchiveEntries> readIndex(const QString& words, const QString& archive, int* status) {
    ArchiveEntries index;
    ArchiveFailure failure;
    switch (ReadArchiveIndex(archive, index, &failure)) {
    case IndexReadResult::Read:
        return index;
    case IndexReadResult::NotAnArchive:
        *status =
            fail(words, archive + QStringLiteral(" is not a BIG archive (it does not begin with \"BIG\")"));
        return std::nullopt;
    case IndexReadResult::Failed:
        break;
    }
    *status = fail(words, failure.details.description);
    return std::nullopt;
}

int listArchive(const Arguments& arguments) {
    const QString& archive = arguments.operands[0];
    int status = Failed;
    const std::optional<ArchiveEntries> index = readIndex(kList, archive, &status);
    if (!index)
        return status;
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return fail(kList, archive + u": " + file.errorString());
    QByteArray out;
    appendPrintable(out, decodeWindows1252(file.read(4)));
    out += '\n';
    for (const ArchiveEntry& entry : *index) {
        out += QByteArray::number(entry.Offset) + '\t' + QByteArray::number(entry.Size) + '\t';
        appendPrintable(out, entry.Name);
        out += '\n';
    }
    writeOutput(out);
    return flushOutput() ? Success : fail(kList, QStringLiteral("cannot write to standard output"));
}

// An entry name as a path below the extraction folder: "\" and "/" both separate folders, empty
// parts (a leading "/") are dropped.
QStringList nameParts(QString name) {
    name.replace(u'\\', u'/');
    return name.split(u'/', Qt::SkipEmptyParts);
}

QString matchKey(const QString& name) {
    return nameParts(name).join(u'/').toCaseFolded();
}

enum class Placement { Placed, Unsafe, Failed };

// Where entries go below the extraction folder. Folders are made as needed; an existing file or
// folder whose name differs only in case is used; nothing goes through a symbolic link below the
// folder, so that every file lands inside it. Each folder is listed once, not once per entry.
class ExtractionTree {
public:
    explicit ExtractionTree(const QString& root) { m_folders.insert(QString(), {root, {}, {}, false}); }

    // The path to extract `entryName` to, or `problem` says why there is none.
    Placement place(const QString& entryName, QString* path, QString* problem) {
        const QString fileName = extractionFileName(entryName);
        const QStringList parts = nameParts(entryName);
        if (fileName.isEmpty() || parts.isEmpty())
            return unsafe(problem, entryName,
                          QStringLiteral("names no file (its last part is empty, \".\" or \"..\")"));
        for (qsizetype k = 0; k + 1 < parts.size(); ++k) {
            if (parts[k] == u"." || parts[k] == u"..")
                return unsafe(problem, entryName, QStringLiteral("has a folder \".\" or \"..\" in its name"));
        }
        QString key;
        for (qsizetype k = 0; k + 1 < parts.size(); ++k) {
            const QString childKey = key + u'/' + parts[k].toCaseFolded();
            if (!m_folders.contains(childKey)) {
                const Placement made = addFolder(key, childKey, parts[k], entryName, problem);
                if (made != Placement::Placed)
                    return made;
            }
            key = childKey;
        }
        Folder& folder = m_folders[key];
        const QString onDisk = nameOnDisk(folder, fileName);
        *path = joinPath(folder.path, onDisk.isEmpty() ? fileName : onDisk);
        if (onDisk.isEmpty()) {
            remember(folder, fileName);
        } else if (QFileInfo(*path).isSymLink()) {
            return unsafe(problem, entryName,
                          QStringLiteral("would be written through the symbolic link ") + *path);
        }
        return Placement::Placed;
    }

private:
    struct Folder {
        QString path;
        QSet<QString> names;            // as on disk
        QHash<QString, QString> folded; // case-folded name -> the first such name on disk
        bool listed = false;
    };

    static Placement unsafe(QString* problem, const QString& entryName, const QString& why) {
        *problem = QStringLiteral("skipped the entry \"%1\": it %2").arg(entryName, why);
        return Placement::Unsafe;
    }

    static void remember(Folder& folder, const QString& name) {
        folder.names.insert(name);
        folder.folded.insert(name.toCaseFolded(), name);
    }

    // The exact name first, else the first one that differs only in case; empty when there is none.
    static QString nameOnDisk(Folder& folder, const QString& name) {
        if (!folder.listed) {
            const QStringList entries =
                listFolder(folder.path, QStringLiteral("*"), EntryKind::FilesAndFolders, true);
            // In reverse, so that of names differing only in case the first in order stays.
            for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry)
                remember(folder, *entry);
            folder.listed = true;
        }
        if (folder.names.contains(name))
            return name;
        return folder.folded.value(name.toCaseFolded());
    }

    Placement addFolder(const QString& parentKey, const QString& key, const QString& part,
                        const QString& entryName, QString* problem) {
        Folder& parent = m_folders[parentKey];
        const QString onDisk = nameOnDisk(parent, part);
        const QString path = joinPath(parent.path, onDisk.isEmpty() ? part : onDisk);
        if (onDisk.isEmpty()) {
            if (!QDir().mkdir(path)) {
                *problem = QStringLiteral("cannot create the folder ") + path;
                return Placement::Failed;
            }
            remember(parent, part);
            m_folders.insert(key, {path, {}, {}, true});
            return Placement::Placed;
        }
        const QFileInfo info(path);
        if (info.isSymLink())
            return unsafe(problem, entryName,
                          QStringLiteral("would be written through the symbolic link ") + path);
        if (!info.isDir())
            return unsafe(problem, entryName,
                          QStringLiteral("needs a folder where the file %1 is").arg(path));
        m_folders.insert(key, {path, {}, {}, false});
        return Placement::Placed;
    }

    QHash<QString, Folder> m_folders; // by the case-folded path below the root, "" for the root
};

int extractArchive(const Arguments& arguments) {
    const QString& archive = arguments.operands[0];
    const QString& folder = arguments.operands[1];
    int status = Failed;
    const std::optional<ArchiveEntries> index = readIndex(kExtract, archive, &status);
    if (!index)
        return status;

    // The entries asked for, checked before anything is written.
    QList<qsizetype> chosen;
    if (arguments.operands.size() == 2) {
        for (qsizetype k = 0; k < index->size(); ++k)
            chosen << k;
    } else {
        QHash<QString, bool> wanted;
        for (qsizetype k = 2; k < arguments.operands.size(); ++k)
            wanted.insert(matchKey(arguments.operands[k]), false);
        for (qsizetype k = 0; k < index->size(); ++k) {
            const auto found = wanted.find(matchKey((*index)[k].Name));
            if (found != wanted.end()) {
                found.value() = true;
                chosen << k;
            }
        }
        for (qsizetype k = 2; k < arguments.operands.size(); ++k) {
            if (!wanted.value(matchKey(arguments.operands[k])))
                return fail(
                    kExtract,
                    QStringLiteral("%1 has no entry named \"%2\"").arg(archive, arguments.operands[k]));
        }
    }

    const QFileInfo target(folder);
    if (target.exists() && !target.isDir())
        return fail(kExtract, folder + QStringLiteral(" is not a folder"));
    if (!target.exists() && !QDir().mkpath(folder))
        return fail(kExtract, QStringLiteral("cannot create the folder ") + folder);

    quint64 total = 0;
    for (qsizetype k : chosen)
        total += (*index)[k].Size;
    TerminalProgress progress(QStringLiteral("Extracting"));
    progress.show({}, {});
    ExtractionTree tree(folder);
    quint64 done = 0;
    bool skipped = false;
    for (qsizetype k : chosen) {
        const ArchiveEntry& entry = (*index)[k];
        QString path;
        QString problem;
        switch (tree.place(entry.Name, &path, &problem)) {
        case Placement::Placed:
            break;
        case Placement::Unsafe:
            progress.hide();
            warn(kExtract, problem);
            progress.show({}, {});
            skipped = true;
            continue;
        case Placement::Failed:
            progress.hide();
            return fail(kExtract, problem);
        }
        ArchiveFailure failure;
        if (!ExtractEntry(*index, k, archive, path, nullptr, &failure)) {
            progress.hide();
            return fail(kExtract, failure.details.description);
        }
        done += entry.Size;
        progress.change(total ? int(done * 100 / total) : 100);
    }
    progress.hide();
    return skipped ? Failed : Success;
}

// WriteArchive reports the positions of the page's window: 20 once the index is written, then 50
// to 60 through the entries. The bar shows the entries' part across its whole width.
class PackProgress : public ArchiveProgress {
public:
    void show(const QString& title, const QString& text) override { m_bar.show(title, text); }
    void text(const QString&) override {}
    void change(int position) override {
        if (position >= 50)
            m_bar.change((position - 50) * 10);
    }
    void hide() override { m_bar.hide(); }

private:
    TerminalProgress m_bar{QStringLiteral("Packing")};
};

struct PackedFile {
    QString path;
    QString name; // relative to the packed folder, "\" between folders
    QString key;  // the name case-folded, for the order
};

// Every file below `folder` (hidden ones too, through links; a folder reached again through a link
// is not walked twice), with its name in the archive. The walk is one pass per folder without any
// pattern, the type of each entry taken from the listing itself: listFolder, whose pattern and
// order serve single folders, would cost a pattern match and a sort per folder and a second pass
// for the subfolders. The order is made once, for all the names, afterwards.
QList<PackedFile> filesBelow(const QString& folder, const QString& archive) {
    const QFileInfo archiveInfo(archive);
    const QString skipped = archiveInfo.canonicalFilePath();
    const QString skippedName = archiveInfo.fileName();
    const qsizetype prefixLength = withTrailingSeparator(QDir(folder).path()).size();
    QList<PackedFile> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString path = it.next();
        // An archive written into the folder it packs is not part of itself.
        if (!skipped.isEmpty() && it.fileName() == skippedName &&
            QFileInfo(path).canonicalFilePath() == skipped)
            continue;
        QString name = path.mid(prefixLength);
        name.replace(u'/', u'\\');
        QString key = name.toCaseFolded();
        files.append({path, std::move(name), std::move(key)});
    }
    // lessIgnoringCase, with each name folded once instead of at every comparison: the same order
    // for every name an archive can hold (Windows-1252 has no character that folds to two).
    std::sort(files.begin(), files.end(), [](const PackedFile& a, const PackedFile& b) {
        return a.key != b.key ? a.key < b.key : a.name < b.name;
    });
    return files;
}

int packFolder(const Arguments& arguments) {
    const QString& folder = arguments.operands[0];
    const QString& archive = arguments.operands[1];
    if (!QFileInfo(folder).isDir())
        return fail(kPack, folder + QStringLiteral(" is not a folder"));
    const QList<PackedFile> files = filesBelow(folder, archive);
    SaveList list;
    list.reserve(files.size());
    for (const PackedFile& file : files)
        list << SaveItem::fromFile(file.path, file.name);

    PackProgress progress;
    ArchiveFailure failure;
    const ArchiveMagic magic =
        arguments.has(QStringLiteral("--big4")) ? ArchiveMagic::Big4 : ArchiveMagic::BigF;
    if (WriteArchive(archive, list, {}, {}, &progress, &failure, magic))
        return Success;
    // WriteArchive counts a pipe or a device as a missing file; the files are checked only now,
    // on failure, to spare a lookup per file.
    if (failure.details.number == ArchiveFailureNumber::FileNotFound) {
        for (const SaveItem& item : std::as_const(list)) {
            const QFileInfo info(item.SourcePath);
            if (info.exists() && !info.isFile())
                return fail(kPack, item.SourcePath +
                                       QStringLiteral(" is not a plain file (a pipe, a socket or a device)"));
        }
    }
    return fail(kPack, failure.details.description);
}

} // namespace

QList<Command> bigCommands() {
    return {
        {kList,
         QStringLiteral("ARCHIVE"),
         QStringLiteral("Prints the magic of a BIG archive (\"BIGF\", \"BIG4\"), then one line per entry in\n"
                        "the order of its index: offset, size and name, separated by tabs. Names are\n"
                        "printed in UTF-8; a control character in a name is shown as \\xNN.\n"),
         {},
         1,
         1,
         listArchive},
        {kExtract,
         QStringLiteral("ARCHIVE DIR [NAME...]"),
         QStringLiteral("Extracts every entry of a BIG archive, or only the entries named (compared\n"
                        "without regard to case, \"\\\" and \"/\" alike), into DIR, which is created when\n"
                        "missing. The folders of each name are kept: \"Data\\INI\\Weapon.ini\" becomes\n"
                        "DIR/Data/INI/Weapon.ini. An existing file or folder whose name differs only in\n"
                        "case is used. Nothing is written outside DIR: an entry whose name has a part\n"
                        "\".\" or \"..\", or that would be written through a symbolic link, is skipped\n"
                        "with a message, and the exit status is then 1. A named entry that the archive\n"
                        "does not hold is an error before anything is written.\n"),
         {},
         2,
         -1,
         extractArchive},
        {kPack,
         QStringLiteral("DIR ARCHIVE [--big4]"),
         QStringLiteral("Writes a new BIG archive of every file below DIR (hidden ones too, through\n"
                        "symbolic links), each named by its path relative to DIR with \"\\\" between\n"
                        "folders, in ascending order without regard to case. The archive replaces\n"
                        "ARCHIVE only once it is complete; names must fit Windows-1252 and the archive\n"
                        "4 GiB.\n\n"
                        "  --big4   write the magic \"BIG4\" of The Battle for Middle-earth instead of\n"
                        "           \"BIGF\", which Generals and Zero Hour require\n"),
         {{QStringLiteral("--big4"), false}},
         2,
         2,
         packFolder},
    };
}

} // namespace marvok::cli

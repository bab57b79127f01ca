#include "install/zip_archive.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

#include <QDir>
#include <QFileInfo>

namespace marvok::fuzz {

void zipExtraction(QByteArrayView input) {
    const QString folder = freshScratchFolder();
    const QString archive = folder + u"/input.zip";
    writeInput(archive, input);
    // Two levels down, so that a name climbing out by one or two levels would show in `folder`.
    const QString target = folder + u"/in/target";

    ccZip zip;
    zip.Init(archive);
    int questions = 0;
    zip.setPasswordQuestion([&questions](const QString&) -> std::optional<QString> {
        // A wrong password, then a right one for archives made with it, then none.
        ++questions;
        return questions == 1   ? QStringLiteral("wrong")
               : questions == 2 ? QStringLiteral("secret")
                                : QString();
    });
    for (const int keepFolders : {1, 0}) {
        const qint32 status = zip.Decompress(target, QString(), keepFolders);
        require(status == ZipStatus::Ok || status == ZipStatus::EntriesSkipped ||
                    status == ZipStatus::ArchiveUnreadable,
                "unpacking ends with a known status");
        require((status == ZipStatus::EntriesSkipped) == !zip.skippedEntries().isEmpty(),
                "entries passed over are listed");
        for (const QString& path : treeBelow(folder)) {
            require(path == u"input.zip" || path == u"in" || path == u"in/target" ||
                        path.startsWith(u"in/target/"),
                    "nothing lands outside the target folder");
            require(!QFileInfo(folder + u'/' + path).isSymLink(), "no link is made");
        }
        if (!keepFolders) {
            for (const QString& path : treeBelow(target))
                require(!path.contains(u'/') && QFileInfo(target + u'/' + path).isFile(),
                        "without folders every file lands directly in the target");
        }
        QDir(target).removeRecursively();
    }
}

} // namespace marvok::fuzz

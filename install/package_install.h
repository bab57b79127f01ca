#pragma once
// Installing maps, replays and mods delivered in a ZIP archive: the archive is unpacked into the
// temporary folder, what is recognised there is listed, and the chosen entries are copied into a
// game's folder.
//   maps     folders kept; a map is a folder X holding a file X.map (letter case ignored), at any
//            depth, since packs often come as "Maps\X\X.map"; installed as the folder X with every
//            file directly in it
//   replays  folders dropped; every "*.rep" file of the temporary folder
//   mods     folders kept; every "*.big" file directly in the temporary folder
// Only plain files and folders of the temporary folder are looked at, never links, and names
// beginning with "." are no entries: what unpacking refused stays out of the game's folders.
#include "install/zip_archive.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace marvok {

enum class PackageKind { Maps, Replays, Mods };

// Whether unpacking keeps the archive's folders for `kind`.
bool keepsFolders(PackageKind kind);

struct UnpackResult {
    // False when the temporary folder could not be emptied or made anew: what stands in it then may
    // come from another archive, so nothing of it is to be listed.
    bool folderReady = false;
    QList<ZipSkippedEntry> skipped;
};

// Deletes `temporaryFolder` with everything in it, read-only files too (a link standing in its place
// is removed, never followed), makes it anew and unpacks `archive` into it as `kind` needs.
UnpackResult unpackPackage(const QString& archive, PackageKind kind, const QString& temporaryFolder,
                           const ccZip::PasswordQuestion& question);

struct PackageEntry {
    QString name;   // as listed and installed: the map's folder name, or the file name
    QString source; // its path in the temporary folder
};

// The entries of `kind` found in `unpackedFolder`, in ascending order of name without regard to case.
// A map name found twice is listed once, the one nearest the top.
QList<PackageEntry> findPackageEntries(PackageKind kind, const QString& unpackedFolder);

struct InstallFailure {
    QString path;   // the file or folder that could not be written
    QString reason; // in French, as the message shows it
};

// Copies `entries`, in order, into `targetFolder` (created when missing): maps into a folder of their
// name (an existing one, whatever its letter case, is reused), replays and mods as files of the same
// name. Files of the same name are replaced, each through a temporary file beside it, and keep the
// modification time of their source. A step that fails is passed over and listed.
QList<InstallFailure> installPackageEntries(PackageKind kind, const QList<PackageEntry>& entries,
                                            const QString& targetFolder);

// One line per failure, for the message that reports them.
QString describeFailures(const QList<InstallFailure>& failures);

} // namespace marvok

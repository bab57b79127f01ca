#pragma once
// Paths and folder listing. The program was made for a file system that ignores letter case and
// returns names in ascending order; these helpers give the same behaviour on any file system, and
// nothing else in the program lists folders by pattern.
#include <QString>
#include <QStringList>

namespace marvok {

// The folder of the catalogues, options, language files and the temporary folder: $MARVOK_HOME when
// set; else the folder of the executable when the delivered files are beside it (a build tree, a
// program unpacked anywhere); else, for an installed program whose folder cannot be written, the
// user's $XDG_DATA_HOME/marvok (~/.local/share/marvok).
QString programFolder();

// Where an installed program keeps its delivered files: <prefix>/share/marvok for <prefix>/bin.
QString installedDefaultsFolder();

// Copies into the program's folder each installed delivered file it does not hold yet (all of them on
// the first start, new ones after an update) and never replaces one it has: the user may have
// changed it. Nothing to do for a program that runs beside its delivered files. Start-up calls it
// first. False, with `error` set, when the folder or a file cannot be written.
bool seedProgramFolder(QString* error = nullptr);

// `folder` and `relative` with exactly one separator between them. `relative` may be written with
// "\" or "/"; a trailing separator of `relative` is kept. An empty folder gives `relative` as it is.
QString joinPath(const QString& folder, const QString& relative);

// The folder with one trailing "/".
QString withTrailingSeparator(const QString& folder);

// Ascending order of names, compared without regard to case (ties broken by exact comparison so
// the order is stable).
bool lessIgnoringCase(const QString& a, const QString& b);

enum class EntryKind { Files = 1, Folders = 2, FilesAndFolders = 3 };

// The names (not paths) of the entries of `folder` that match one of the ";"-separated wildcard
// patterns ("*.rep", "*.jpg;*.gif"; "*.*" matches every name, as on Windows), without regard to case, in
// ascending order without regard to case. Hidden entries (a leading ".") are left out unless `includeHidden`.
// A missing folder gives an empty list.
QStringList listFolder(const QString& folder, const QString& patterns, EntryKind kind,
                       bool includeHidden = false);

// The name as it is on disk of the entry of `folder` whose name equals `name` without regard to
// case (the exact name first); empty when there is none.
QString findEntryIgnoringCase(const QString& folder, const QString& name);

// `relative` joined to `folder`, each part of it replaced by the spelling of an existing entry that
// differs only in case. Parts that do not exist yet keep their spelling: use this before creating a
// file or folder.
QString resolvePathIgnoringCase(const QString& folder, const QString& relative);

// `relative` joined to `folder` with the spelling found on disk, when every part of it exists (found
// without regard to case); empty otherwise.
QString existingPathIgnoringCase(const QString& folder, const QString& relative);

bool isHiddenName(const QString& name);

} // namespace marvok

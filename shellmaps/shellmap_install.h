#pragma once
// Adding a ShellMap delivered as a ZIP archive to a game's catalogue: the archive is unpacked into the
// temporary folder, every file directly in it; the name of its first "*.map" file tells which game the
// ShellMap is for; its files are copied into the next numbered catalogue folder of the chosen game and
// the entry's date, screenshot and the new count are written.
#include "core/game_environment.h"
#include "install/zip_archive.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace marvok {

// "tmp" in the program's folder, emptied and refilled for each archive.
QString temporaryFolder();

// Empties the temporary folder and unpacks `archive` into it. `question` asks for the password of an
// encrypted entry. False when the folder could not be made anew; a damaged or missing archive simply
// leaves less in it.
bool unpackIntoTemporaryFolder(const QString& archive, const ccZip::PasswordQuestion& question);

// The images the screenshot may be taken from: "*.jpg;*.gif;*.bmp;*.jpeg" of `folder`.
QString screenshotPatterns();
QStringList listImages(const QString& folder);

enum class ShellMapKind {
    Unknown,  // no "*.map" file, or the first is of another name
    ZeroHour, // "ShellMapMD.map"
    Generals, // "ShellMap1.map": Generals or The Battle for Middle-earth
};

// The kind told by the first "*.map" file of `folder` in listing order, letter case ignored.
ShellMapKind shellMapKindOf(const QString& folder);

// The game a ShellMap of `kind` goes to, or the message that refuses it: 13 (no ShellMap), 10 (a Zero
// Hour ShellMap and Zero Hour not chosen), 11 (a Generals ShellMap with Zero Hour chosen), or
// Msg::ShellMapGameNotInstalled. A Zero Hour ShellMap opened for a file given on the command line goes
// to Zero Hour whatever game is chosen, when Zero Hour is installed.
struct TargetChoice {
    std::optional<GameKind> game;
    int refusal = 0;
};
TargetChoice chooseTargetGame(ShellMapKind kind, GameKind chosen, bool forCommandLineFile,
                              const GameEnvironment& env);

struct ScreenshotChoice {
    enum Source {
        None,        // no screenshot
        FromArchive, // `image` names a file of the temporary folder, copied with the rest
        OtherFile,   // `image` is the full path of a file that stays where it is
    };
    Source source = None;
    QString image;
};

struct InstalledEntry {
    int index = 0;        // N: the entry's number
    QString folder;       // "Maps/ZephShellMap" + N of the target game
    QString screenShot;   // the value written
    QString writeResults; // "1" or "0" for the writes of Date, ScreenShot and Count, in that order
    bool succeeded() const { return !writeResults.contains(u'0'); }
};

// Makes the next catalogue entry of `target` from the files of `unpacked`: creates its folder (an
// existing one is kept), points the current catalogue at the game's catalogue, copies every file
// (replacing files of the same name) and writes "Date" (today in the short date format), "ScreenShot"
// and "Count". Copy failures are passed over; the writes are reported in `writeResults`.
InstalledEntry installCatalogueEntry(const QString& unpacked, GameKind target, const GameEnvironment& env,
                                     const ScreenshotChoice& screenshot);

// Today's date as the catalogue writes it.
QString catalogueDate();

} // namespace marvok

#pragma once
// A program folder and installed games in a temporary folder, the scripted dialog service, and ways to
// lay out catalogues, entry folders and archives and to read back what is on disk.
#include "core/scripted_dialogs.h"
#include "tests/app/app_fixture.h"

#include <QColor>
#include <QSize>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace marvok::test {

struct ZipEntry {
    QByteArray name;
    QByteArray data;
    QByteArray password; // empty: not encrypted
};

// Writes a ZIP archive with libzip.
void makeZip(const QString& path, const std::vector<ZipEntry>& entries);

// A small picture in the format of `path`'s extension.
void writePicture(const QString& path, const QColor& colour, QSize size = QSize(32, 20));

// The games installed in a fresh environment with its own program folder, and the scripted dialogs.
class ShellMapWorld {
public:
    explicit ShellMapWorld(std::initializer_list<GameKind> installed = {Generals, ZeroHour,
                                                                        BattleForMiddleEarth});

    // The text of a catalogue file: "Count" and, for each name, a section with all five values.
    static QByteArray catalogueText(int count, const QStringList& names);
    void writeCatalogueFile(GameKind game, const QByteArray& text);
    // Folder "Maps/<name>" of the game holding "id.txt" with `id`, and a marker when `marker` is
    // given (ZephInstalled, Index).
    void addFolder(GameKind game, const QString& name, const QString& id,
                   const QStringList& marker = QStringList());
    // The game's Maps folder as "<folder>:<id>[:<ZephInstalled>/<Index>]", sorted.
    QStringList mapsContent(GameKind game) const;
    // Every file below the program folder and the game's installation folder, with its bytes, to show
    // that nothing changed.
    QStringList snapshot(GameKind game) const;

    QString install(GameKind game) const { return games.installFolder(game); }

    GameSetup games;
    ScriptedDialogService dialogs;
};

class ShellMapTest : public ::testing::Test, public ShellMapWorld {};

} // namespace marvok::test

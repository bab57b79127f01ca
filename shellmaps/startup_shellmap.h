#pragma once
// The ShellMap step of a start from the command line ("/launch"), before the game is started, and its
// notice Form4 about a ShellMap moved aside.
#include "core/game_environment.h"
#include "shellmaps/shellmap_rotation.h"

#include <QDialog>

namespace marvok {

class VornCheckBox;

class Form4 : public QDialog {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);

    // The loading: applies the language file.
    void load();

private:
    void ok();

    VornCheckBox* m_hide; // Check1
};

// Runs the rotation for `game`, showing Form4 when a ShellMap is moved aside. False when the game's
// catalogue has no readable count (or the game is not installed): start-up then opens the main window
// instead of starting the game.
bool PrepareStartupShellMap(GameKind game);

// Where the rotation draws its entry; an empty source goes back to the system's generator.
void setShellMapRandomSource(RandomSource source);

} // namespace marvok

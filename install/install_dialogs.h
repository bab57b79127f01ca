#pragma once
// The install dialogs. frmInstallMap, frmInstallRep and frmInstallMod unpack a ZIP archive into the
// temporary folder, list the maps, replays or mods found in it and copy the chosen ones into the
// current game's folders. frmInstallHome, the window of a program started with a file, asks what the
// file holds and opens the matching dialog, or the ShellMap installer, for it.
//
// A dialog given the command line's file works in command-line mode: it takes that file instead of
// asking for one and lets the player choose the game to install into.
#include "install/package_install.h"
#include "shellmaps/shellmap_dialogs.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;

namespace marvok {

class UserControl1;
class VornOptionButton;

// Refills the list that shows what a dialog installed: ListInstalledMaps, ListReplays or ListMods of
// the main window. Empty when no main window is open.
using RefreshList = std::function<void()>;

class InstallDialog : public QDialog {
    Q_OBJECT
public:
    // The loading: takes the command line's file or asks for an archive, unpacks it into the
    // temporary folder and lists what it holds. False when the dialog closed on the way: the choice
    // of the archive was cancelled, or nothing was found (the dialog's message said so).
    bool load();

protected:
    InstallDialog(PackageKind kind, const QString& commandLineFile, RefreshList refresh, QWidget* parent);

private:
    bool commandLineMode() const { return !m_commandLineFile.isEmpty(); }
    void placeControls();
    void selectionChanged();
    std::optional<GameKind> targetGame();
    void install();

    PackageKind m_kind;
    QString m_commandLineFile;
    RefreshList m_refresh;
    QList<PackageEntry> m_entries; // in list order
    QListWidget* m_list;           // List1, File1 for replays
    QLabel* m_archive;             // Label3
    QLabel* m_gameCaption;         // Label4
    QComboBox* m_game;             // Combo1
    UserControl1* m_install;       // CommandButton2
    UserControl1* m_cancel;        // CommandButton3
};

class frmInstallMap : public InstallDialog {
    Q_OBJECT
public:
    explicit frmInstallMap(RefreshList listInstalledMaps = {}, const QString& commandLineFile = QString(),
                           QWidget* parent = nullptr);
};

class frmInstallRep : public InstallDialog {
    Q_OBJECT
public:
    explicit frmInstallRep(RefreshList listReplays = {}, const QString& commandLineFile = QString(),
                           QWidget* parent = nullptr);
};

class frmInstallMod : public InstallDialog {
    Q_OBJECT
public:
    explicit frmInstallMod(RefreshList listMods = {}, const QString& commandLineFile = QString(),
                           QWidget* parent = nullptr);
};

// Opens the install dialog of `kind` modally through the dialog service: its loading, then the
// dialog until it closes. `refresh` is called after an install. True when something was installed.
// The pages call it without `commandLineFile`; frmInstallHome passes its file.
bool openInstallDialog(PackageKind kind, const RefreshList& refresh, QWidget* parent = nullptr,
                       const QString& commandLineFile = QString());

// The lists of a main window to refresh after an install; all empty when none is open.
struct InstallRefresh {
    RefreshList listInstalledMaps;
    RefreshList listReplays;
    RefreshList listMods;
    ListShellMapsFunction listShellMaps;
};

class frmInstallHome : public QDialog {
    Q_OBJECT
public:
    // `file` as the command line gives it; double quotes around it are removed.
    explicit frmInstallHome(const QString& file, InstallRefresh refresh = {}, QWidget* parent = nullptr);

    // The loading: shows the file.
    void load();

    const QString& file() const { return m_file; }

private:
    void install();

    QString m_file;
    InstallRefresh m_refresh;
    QLabel* m_path;                               // Label3
    std::array<VornOptionButton*, 4> m_options{}; // Option1 to Option4
};

// The start-up branch for a file on the command line: frmInstallHome for `commandLineAsTyped`, loaded
// and shown as a window of its own that deletes itself when closed. It is then the program's only
// window, so the program ends when it closes.
frmInstallHome* openInstallHome(const QString& commandLineAsTyped);

// The path a command line gives: blanks around it and one pair of double quotes around it removed.
QString commandLineFilePath(const QString& commandLine);

} // namespace marvok

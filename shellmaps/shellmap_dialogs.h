#pragma once
// The two dialogs that add a ShellMap: Form2 takes the archive, unpacks it, tells from its map file
// which game it is for, lets the player pick a screenshot and makes the catalogue entry; Form3 then
// asks for the entry's name, description and web site.
#include "core/game_environment.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace marvok {

class UserControl1;
class VornCheckBox;
class VornOptionButton;

// Lists a game's catalogue again: the ShellMap page's ListShellMaps.
using ListShellMapsFunction = std::function<void(GameKind)>;

class Form2 : public QDialog {
    Q_OBJECT
public:
    // `commandLineArchive` is the file the program was started with, when the installer opens the
    // dialog for it; empty, the dialog asks for an archive.
    explicit Form2(const QString& commandLineArchive = QString(), QWidget* parent = nullptr);

    // The loading: sets the controls, selects the current game and runs "Choisir". False when the
    // player cancelled the choice of the archive, which closes the dialog.
    bool load();

private:
    bool chooseArchive();
    void showScreenshotControls(bool ticked);
    void checkChanged(bool& Cancel, int Value);
    void zipScreenshotSelected(int Value);
    void otherScreenshotSelected(int Value);
    void chooseOtherScreenshot();
    bool zipImageSelected() const;
    void next();

    QString m_pendingArchive;
    bool m_forCommandLineFile;
    QLabel* m_archive;             // Label4
    VornCheckBox* m_addScreenshot; // Check1
    QGroupBox* m_screenshotFrame;  // Frame1
    VornOptionButton* m_fromZip;   // Option1
    QListWidget* m_images;         // File1
    VornOptionButton* m_fromFile;  // Option2
    UserControl1* m_chooseImage;   // CommandButton1
    QLabel* m_ellipsis;            // Label3
    QLabel* m_imagePath;           // Label2
    QComboBox* m_game;             // Combo1
    UserControl1* m_next;          // CommandButton2
};

class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(ListShellMapsFunction listShellMaps = {}, QWidget* parent = nullptr);

    // The loading: shows the date and screenshot of the entry just made in the current catalogue.
    void load();

private:
    void install();

    ListShellMapsFunction m_listShellMaps;
    int m_entry = 0;
    QLineEdit* m_name;             // Text1
    QLabel* m_date;                // Label6
    QPlainTextEdit* m_description; // Text2
    QLineEdit* m_webSite;          // Text3
    QLabel* m_screenshot;          // Image1
};

// Opens Form2 modally and, once it has made an entry, Form3. True when an entry was made.
// `commandLineArchive` as for Form2; `listShellMaps` is called when Form3 has stored the entry.
bool openShellMapInstallation(const QString& commandLineArchive, const ListShellMapsFunction& listShellMaps,
                              QWidget* parent = nullptr);

} // namespace marvok

#pragma once
// The main window: the navigation column, the banner with the game switch, the eight pages (one
// shown at a time) with the home panel before the first choice, and the "Programme" page.
#include "core/game_environment.h"

#include <QPixmap>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QListWidget;

namespace marvok {

class BigEditorPage;
class ClickableLabel;
class CsfEditorPage;
class ReplaysPage;
class ShellMapsPage;
class MapsPage;
class ModsPage;
class StartupOptionsPage;
class UserControl1;

// A panel that paints a picture behind its children, as the page containers do.
class PicturePanel : public QWidget {
    Q_OBJECT
public:
    explicit PicturePanel(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

class Form1 : public QWidget {
    Q_OBJECT
public:
    // The page indexes of the panels and their links.
    enum Page {
        Startup = 0,
        ShellMaps = 1,
        Program = 2,
        Replays = 3,
        Maps = 4,
        BigEditor = 5,
        CsfEditor = 6,
        Mods = 7
    };
    static constexpr int PageCount = 8;

    explicit Form1(QWidget* parent = nullptr);

    // Runs the window's loading steps and shows it.
    void load();

    // Shows page `index`, hides the others and the replay details.
    void showPage(int index);
    void SwitchGame(GameKind game);

    PicturePanel* pagePanel(int index) const { return m_pages[index]; }
    // The replay details panel, which replaces the replay list when shown.
    PicturePanel* replayDetailsPanel() const { return m_replayDetails; }
    int bannerCell() const { return m_bannerCell; }

    StartupOptionsPage* startupOptionsPage() const { return m_startupOptions; }
    ModsPage* modsPage() const { return m_mods; }
    MapsPage* mapsPage() const { return m_maps; }
    CsfEditorPage* csfEditorPage() const { return m_csf; }
    ReplaysPage* replaysPage() const { return m_replays; }
    ShellMapsPage* shellMapsPage() const { return m_shellMaps; }
    BigEditorPage* bigEditorPage() const { return m_big; }

    // The position of a game's name label in the banner, in twips, as chosen or not.
    static QPoint gameLabelTwips(GameKind game, bool chosen);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildNavigation();
    void buildBanner();
    void buildPages();
    void buildHome();
    void buildProgramPage();
    // "Ajouter" on Cartes and Mods, "Installer" on Replays.
    void connectInstallers();

    void showBannerCell(int cell);
    // Text1, Text2 and where they come from, for `game`.
    void showGameFolders(GameKind game);
    void placeGameLabels(GameKind chosen);
    void hoverLink(int index);
    void clearLinkHover();
    void showAbout();
    void showLanguageFileInfo();
    void chooseLanguageFile();
    void saveLanguageFile();

    // Navigation
    QWidget* m_navigation = nullptr;          // Picture2
    QLabel* m_navigationBackground = nullptr; // Image8
    std::array<ClickableLabel*, PageCount> m_links{};
    ClickableLabel* m_aboutLink = nullptr; // Label49
    QLabel* m_decorationA = nullptr;       // Image1(0)
    QLabel* m_decorationB = nullptr;       // Image2(0)

    // Banner
    QLabel* m_banner = nullptr; // Picture3
    QPixmap m_bannerStrip;      // PictureClip1
    int m_bannerCell = -1;
    std::array<ClickableLabel*, GameCount> m_gameButtons{}; // Image3, Image5, Image7
    std::array<ClickableLabel*, GameCount> m_gameLabels{};  // Label54, Label55, Label56

    // Pages
    QPixmap m_pageBackground; // Picture5
    std::array<PicturePanel*, PageCount> m_pages{};
    PicturePanel* m_home = nullptr;                         // Picture6
    PicturePanel* m_replayDetails = nullptr;                // Picture4
    std::array<QLabel*, GameCount> m_notInstalledMarkers{}; // Image22, Image24, Image23 by game

    StartupOptionsPage* m_startupOptions = nullptr;
    ModsPage* m_mods = nullptr;
    MapsPage* m_maps = nullptr;
    CsfEditorPage* m_csf = nullptr;
    ReplaysPage* m_replays = nullptr;
    ShellMapsPage* m_shellMaps = nullptr;
    BigEditorPage* m_big = nullptr;

    // "Programme" page
    QLineEdit* m_installFolder = nullptr;  // Text1
    QLineEdit* m_personalFolder = nullptr; // Text2
    QLabel* m_foldersFromStore = nullptr;
    QLabel* m_foldersFromPrefix = nullptr;
    QLabel* m_prefixPath = nullptr;
    QListWidget* m_languageFiles = nullptr; // File1
    QString m_languageFolder;
    QLineEdit* m_chosenLanguageFile = nullptr; // Text6
    QLabel* m_language = nullptr;              // Label39
    QLabel* m_translator = nullptr;            // Label48
    QLabel* m_version = nullptr;               // Label53
};

} // namespace marvok

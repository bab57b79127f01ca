#include "app/form1.h"

#include "big/big_editor_page.h"
#include "controls/user_control1.h"
#include "core/clickable_label.h"
#include "core/dialog_service.h"
#include "core/message_box.h"
#include "core/paths.h"
#include "core/translation_keys.h"
#include "csf/csf_editor_page.h"
#include "i18n/translate_form.h"
#include "install/install_dialogs.h"
#include "launch/launch_pages.h"
#include "replays/replays_page.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmaps_page.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>

namespace marvok {
namespace {

// Layout, in pixels at 100% scaling.
constexpr int kNavigationWidth = 170;
constexpr int kBannerHeight = 100;
constexpr int kPageWidth = 660;
constexpr int kPageHeight = 470;
constexpr int kWindowWidth = kNavigationWidth + kPageWidth;
constexpr int kWindowHeight = kBannerHeight + kPageHeight;

const QColor kLinkColour(0, 34, 128);
const QColor kHoverColour(41, 109, 193);

const QString kLanguageFilter = QStringLiteral("Fichiers LNG|*.lng");

int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}

struct LinkInfo {
    int page;
    const char* caption;
    const char* key; // nullptr: no translation key
    const char* icon;
};

// The links from top to bottom, with the group heading "Options" before "Démarrage".
const LinkInfo kLinks[] = {
    {Form1::Maps, "Cartes", "Maps", "maps"},
    {Form1::ShellMaps, "ShellMaps", "ShellMaps", "shellmaps"},
    {Form1::Replays, "Replays", "Replays", "replays"},
    {Form1::BigEditor, "BIG Editor", nullptr, "big"},
    {Form1::CsfEditor, "CSF Editor", nullptr, "csf"},
    {Form1::Mods, "Mods", "Mods", "mods"},
    {Form1::Startup, "Démarrage", "Startup", "startup"},
    {Form1::Program, "Programme", "Program", "program"},
};

struct PageTitle {
    const char* name;
    const char* caption;
    const char* key;
};

const PageTitle kPageTitles[Form1::PageCount] = {
    {"Label4", "Options de démarrage", "StartupOptions"},
    {"Label20", "Gestion des ShellMaps", "ShellMapMgmt"},
    {"Label14", "Options des Marvok", "TTOptions"},
    {"Label26", "Gestion des replays", "ReplaysMgmt"},
    {"Label47", " Cartes installées", "InstMaps"},
    {"Label41", "BIG Editor", nullptr},
    {"Label40", "CSF Editor", nullptr},
    {"Label61", "Gestion des mods", "ModsMgmt"},
};

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// Through QIcon, which picks the @2x picture at 200% scaling.
QPixmap picture(const char* name) {
    const QString path = u":/app/" + utf8(name) + u".png";
    return QIcon(path).pixmap(QPixmap(path).size(), qApp->devicePixelRatio());
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const char* key = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(utf8(name));
    if (key)
        setTranslationKey(label, key);
    return label;
}

QLabel* makePicture(QWidget* parent, const QString& name, const QPixmap& pixmap, QPoint at) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(pixmap);
    label->setGeometry(QRect(at, pixmap.deviceIndependentSize().toSize()));
    return label;
}

QFont headingFont(QFont font, int pointSize) {
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

} // namespace

PicturePanel::PicturePanel(QWidget* parent)
    : QWidget(parent) {}

void PicturePanel::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void PicturePanel::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
}

Form1::Form1(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle);
    setWindowIcon(QIcon(QStringLiteral(":/app/icon.png")));
    setFixedSize(kWindowWidth, kWindowHeight);
    m_bannerStrip = picture("banner");
    m_pageBackground = picture("page_background");
    buildNavigation();
    buildBanner();
    buildPages();
    buildHome();
    buildProgramPage();
    m_startupOptions = new StartupOptionsPage(m_pages[Startup]);
    m_mods = new ModsPage(m_pages[Mods]);
    m_maps = new MapsPage(m_pages[Maps]);
    m_csf = new CsfEditorPage(m_pages[CsfEditor]);
    m_replays = new ReplaysPage(m_pages[Replays], m_replayDetails);
    m_shellMaps = new ShellMapsPage(m_pages[ShellMaps]);
    m_big = new BigEditorPage(m_pages[BigEditor]);
    connectInstallers();
}

void Form1::connectInstallers() {
    connect(m_maps->addButton(), &UserControl1::Click, this, [this] {
        openInstallDialog(
            PackageKind::Maps, [this] { m_maps->ListInstalledMaps(); }, this);
    });
    connect(m_mods->addButton(), &UserControl1::Click, this, [this] {
        openInstallDialog(
            PackageKind::Mods, [this] { m_mods->ListMods(); }, this);
    });
    connect(m_replays, &ReplaysPage::installRequested, this, [this] {
        openInstallDialog(
            PackageKind::Replays, [this] { m_replays->ListReplays(); }, this);
    });
}

void Form1::buildNavigation() {
    m_navigation = new QWidget(this);
    m_navigation->setObjectName(QStringLiteral("Picture2"));
    m_navigation->setGeometry(0, 0, kNavigationWidth, kWindowHeight);
    m_navigation->setMouseTracking(true);
    m_navigation->installEventFilter(this);
    m_navigation->setAutoFillBackground(true);
    QPalette column = m_navigation->palette();
    column.setColor(QPalette::Window, QColor(0xd9, 0xe3, 0xf0));
    m_navigation->setPalette(column);

    const QPixmap background = picture("navigation");
    m_navigationBackground = makePicture(m_navigation, QStringLiteral("Image8"), background, {0, 0});
    m_navigationBackground->setGeometry(0, 0, kNavigationWidth, kWindowHeight - 90);
    m_navigationBackground->setScaledContents(true);
    m_navigationBackground->setMouseTracking(true);
    m_navigationBackground->installEventFilter(this);

    auto* logo = makePicture(m_navigation, QStringLiteral("Image9"), picture("logo"), {14, 14});
    logo->setToolTip(ProgramTitle);

    int y = 96;
    const auto addHeading = [&](const char* name, const char* caption, const char* key) {
        QLabel* heading = makeLabel(m_navigation, name, utf8(caption), key);
        heading->setFont(headingFont(font(), 10));
        heading->setStyleSheet(QStringLiteral("color: #1d2b4a;"));
        heading->setGeometry(14, y, kNavigationWidth - 20, 20);
        y += 24;
    };
    const auto addLink = [&](ClickableLabel* link, const char* icon) {
        makePicture(m_navigation, u"Image" + utf8(icon), picture(icon), {18, y + 2});
        link->setGeometry(40, y, kNavigationWidth - 44, 20);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
        y += 22;
    };

    addHeading("Label1", "Gestion", "Tools");
    for (const LinkInfo& info : kLinks) {
        if (info.page == Startup) {
            y += 10;
            addHeading("Label34", "Options", "Options2");
        }
        auto* link = new ClickableLabel(m_navigation);
        link->setObjectName(arrayName("Label2", info.page));
        link->setText(utf8(info.caption));
        if (info.key)
            setTranslationKey(link, info.key);
        const int page = info.page;
        connect(link, &ClickableLabel::clicked, this, [this, page] { showPage(page); });
        connect(link, &ClickableLabel::mouseMoved, this, [this, page] { hoverLink(page); });
        m_links[page] = link;
        addLink(link, info.icon);
    }
    y += 10;
    m_aboutLink = new ClickableLabel(m_navigation);
    m_aboutLink->setObjectName(QStringLiteral("Label49"));
    m_aboutLink->setText(QStringLiteral("A propos de..."));
    setTranslationKey(m_aboutLink, "About");
    connect(m_aboutLink, &ClickableLabel::clicked, this, &Form1::showAbout);
    addLink(m_aboutLink, "about");

    clearLinkHover();

    // The decorative pair at the foot of the column swaps on hover.
    const int footY = kWindowHeight - 80;
    m_decorationA = makePicture(m_navigation, arrayName("Image1", 0), picture("decoration_a"), {28, footY});
    m_decorationB = makePicture(m_navigation, arrayName("Image2", 0), picture("decoration_b"), {92, footY});
    for (QLabel* decoration : {m_decorationA, m_decorationB}) {
        decoration->setMouseTracking(true);
        decoration->installEventFilter(this);
    }
}

void Form1::buildBanner() {
    m_banner = new QLabel(this);
    m_banner->setObjectName(QStringLiteral("Picture3"));
    m_banner->setGeometry(kNavigationWidth, 0, kPageWidth, kBannerHeight);
    m_banner->setScaledContents(true);

    const char* buttonNames[GameCount] = {"Image3", "Image5", "Image7"};
    const char* buttonPictures[GameCount] = {"button_generals", "button_zerohour", "button_bfme"};
    const char* labelNames[GameCount] = {"Label54", "Label55", "Label56"};
    const char* labelCaptions[GameCount] = {"Generals", "Heure H", "La Bataille pour la Terre du Milieu"};
    const char* labelKeys[GameCount] = {"Generals", "ZeroHour", "BFME"};
    const char* tips[GameCount] = {"Command & Conquer Generals", "Command & Conquer Generals: Heure H",
                                   "La Bataille pour la Terre du Milieu"};
    for (int game = 0; game < GameCount; ++game) {
        const QPoint labelAt(twipsToPixels(gameLabelTwips(GameKind(game), false).x()), 0);
        auto* button = new ClickableLabel(m_banner);
        button->setObjectName(utf8(buttonNames[game]));
        button->setPixmap(picture(buttonPictures[game]));
        button->setGeometry(labelAt.x() + 2, 34, 48, 48);
        button->setCursor(Qt::PointingHandCursor);
        button->setToolTip(utf8(tips[game]));
        connect(button, &ClickableLabel::clicked, this, [this, game] { SwitchGame(GameKind(game)); });
        m_gameButtons[game] = button;

        auto* label = new ClickableLabel(m_banner);
        label->setObjectName(utf8(labelNames[game]));
        label->setText(utf8(labelCaptions[game]));
        setTranslationKey(label, labelKeys[game]);
        label->setStyleSheet(QStringLiteral("color: white;"));
        label->setFont(headingFont(font(), 8));
        // Room up to the next game's label, so a translated name fits too.
        const int widths[GameCount] = {56, 94, 300};
        label->resize(widths[game], label->sizeHint().height());
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &ClickableLabel::clicked, this, [this, game] { SwitchGame(GameKind(game)); });
        m_gameLabels[game] = label;
    }
    placeGameLabels(environment().CurrentGame);
}

void Form1::buildPages() {
    for (int index = 0; index < PageCount; ++index) {
        auto* panel = new PicturePanel(this);
        panel->setObjectName(arrayName("Picture1", index));
        panel->setGeometry(kNavigationWidth, kBannerHeight, kPageWidth, kPageHeight);
        panel->hide();
        QLabel* title = makeLabel(panel, kPageTitles[index].name, utf8(kPageTitles[index].caption),
                                  kPageTitles[index].key);
        title->setFont(headingFont(font(), 14));
        title->setStyleSheet(QStringLiteral("color: #1d2b4a;"));
        title->setGeometry(16, 10, kPageWidth - 32, 30);
        m_pages[index] = panel;
    }
    m_replayDetails = new PicturePanel(this);
    m_replayDetails->setObjectName(QStringLiteral("Picture4"));
    m_replayDetails->setGeometry(kNavigationWidth, kBannerHeight, kPageWidth, kPageHeight);
    m_replayDetails->hide();
}

void Form1::buildHome() {
    m_home = new PicturePanel(this);
    m_home->setObjectName(QStringLiteral("Picture6"));
    m_home->setGeometry(kNavigationWidth, kBannerHeight, kPageWidth, kPageHeight);
    m_home->setPicture(m_pageBackground);
    m_home->lower();

    // Generals on the left, The Battle for Middle-earth in the middle, Zero Hour on the right.
    struct GamePicture {
        GameKind game;
        const char* name;
        const char* marker;
        const char* picture;
    };
    const GamePicture pictures[] = {
        {Generals, "Image20", "Image22", "game_generals"},
        {BattleForMiddleEarth, "Image19", "Image23", "game_bfme"},
        {ZeroHour, "Image21", "Image24", "game_zerohour"},
    };
    const int width = 180;
    const int gap = (kPageWidth - 3 * width) / 4;
    for (int i = 0; i < 3; ++i) {
        const QPoint at(gap + i * (width + gap), 90);
        makePicture(m_home, utf8(pictures[i].name), picture(pictures[i].picture), at);
        QLabel* marker =
            makePicture(m_home, utf8(pictures[i].marker), picture("not_installed"), at + QPoint(66, 96));
        marker->setToolTip(QStringLiteral("Non installé"));
        marker->hide();
        m_notInstalledMarkers[pictures[i].game] = marker;
    }
    QLabel* welcome =
        makeLabel(m_home, "Label50", QStringLiteral("Choisissez une page dans la colonne de gauche."));
    welcome->setGeometry(0, 380, kPageWidth, 24);
    welcome->setAlignment(Qt::AlignCenter);
    welcome->setStyleSheet(QStringLiteral("color: #1d2b4a;"));
}

void Form1::buildProgramPage() {
    PicturePanel* page = m_pages[Program];
    const auto addText = [page](const char* name, const char* text, QRect at, const char* key = nullptr) {
        QLabel* label = makeLabel(page, name, utf8(text), key);
        label->setGeometry(at);
        label->setWordWrap(true);
        return label;
    };
    const auto addHeading = [&](const char* name, const char* text, QRect at, const char* key = nullptr) {
        QLabel* label = addText(name, text, at, key);
        label->setFont(headingFont(font(), 10));
        label->setStyleSheet(QStringLiteral("color: #1d2b4a;"));
        return label;
    };
    const auto addField = [page](const char* name, QRect at, const QString& tip) {
        auto* field = new QLineEdit(page);
        field->setObjectName(utf8(name));
        field->setGeometry(at);
        field->setToolTip(tip);
        return field;
    };

    const char* installTip = "Répertoire dans lequel est installé le jeux.";
    const char* personalTip =
        "Répertoire dans lequel se trouvent les cartes, les sauvegardes, et les replays du joueur.";
    addText("Label15", "Répertoire d'installation :", {20, 50, 300, 18});
    m_installFolder = addField("Text1", {20, 68, 620, 22}, utf8(installTip));
    addText("Label17", installTip, {20, 92, 620, 18})->setStyleSheet(QStringLiteral("color: #555;"));
    addText("Label16", "Répertoire personnel :", {20, 116, 300, 18});
    m_personalFolder = addField("Text2", {20, 134, 620, 22}, utf8(personalTip));
    addText("Label18", personalTip, {20, 158, 620, 18})->setStyleSheet(QStringLiteral("color: #555;"));
    // Where the folders above come from: our settings store or a Wine prefix.
    m_foldersFromStore = addText("lblFoldersFromStore", "Ces dossiers viennent des réglages de Marvok.",
                                 {20, 180, 620, 18}, "FoldersFromStore");
    m_foldersFromPrefix =
        addText("lblFoldersFromPrefix", "Ces dossiers viennent du préfixe Wine :", {20, 180, 250, 18},
                "FoldersFromPrefix");
    m_prefixPath = addText("lblPrefixPath", "", {270, 180, 370, 18});
    for (QLabel* label : {m_foldersFromStore, m_foldersFromPrefix, m_prefixPath})
        label->setStyleSheet(QStringLiteral("color: #2e5e2e;"));
    addText(
        "Label19",
        "Avertissement : Si vous modifiez ces informations, le programme pourra ne plus fonctionner "
        "correctement. Modifiez ces informations uniquement si le jeux n'est pas détecté ou si elles sont "
        "erronées.",
        {20, 202, 620, 52})
        ->setStyleSheet(QStringLiteral("color: #8a1c1c;"));
    addText("Label46", "Aucune option n'est disponible pour l'instant", {20, 256, 620, 18});

    addHeading("Label22", "Fichier de langue :", {20, 280, 300, 20}, "LangFile");
    m_languageFiles = new QListWidget(page);
    m_languageFiles->setObjectName(QStringLiteral("File1"));
    m_languageFiles->setGeometry(20, 304, 220, 100);
    connect(m_languageFiles, &QListWidget::itemClicked, this, &Form1::showLanguageFileInfo);

    m_chosenLanguageFile = addField("Text6", {20, 410, 220, 22}, {});
    auto* choose = new UserControl1(page);
    choose->setObjectName(QStringLiteral("UserControl15"));
    choose->setCaption(QStringLiteral("Choisir"));
    setTranslationKey(choose, "Choose");
    choose->setGeometry(248, 410, 80, 21);
    connect(choose, &UserControl1::Click, this, &Form1::chooseLanguageFile);

    addHeading("Label35", "Informations", {270, 304, 200, 20});
    addText("Label36", "Language :", {270, 330, 90, 18});
    m_language = addText("Label39", "-", {360, 330, 280, 18});
    addText("Label37", "Traductor :", {270, 352, 90, 18});
    m_translator = addText("Label48", "-", {360, 352, 280, 18});
    addText("Label52", "Version :", {270, 374, 90, 18});
    m_version = addText("Label53", "-", {360, 374, 280, 18});

    auto* save = new UserControl1(page);
    save->setObjectName(QStringLiteral("UserControl16"));
    save->setCaption(QStringLiteral("Enregistrer"));
    setTranslationKey(save, "Save");
    save->setGeometry(540, 440, 100, 21);
    connect(save, &UserControl1::Click, this, &Form1::saveLanguageFile);
}

void Form1::load() {
    if (inGeneratorMode())
        return;
    GameEnvironment& env = environment();
    for (PicturePanel* page : m_pages)
        page->setPicture(m_pageBackground);
    m_replayDetails->setPicture(m_pageBackground);
    showBannerCell(0);
    show();
    for (int game = 0; game < GameCount; ++game)
        m_gameButtons[game]->setEnabled(env.isInstalled(GameKind(game)));
    translateAtLoading(this);
    currentCatalogue() = cataloguePath(Generals);
    for (int game = 0; game < GameCount; ++game)
        m_notInstalledMarkers[game]->setVisible(!env.isInstalled(GameKind(game)));
    m_replays->ListReplays();
    m_shellMaps->ListShellMaps(Generals);
    m_maps->ListInstalledMaps();
    m_mods->ListMods();
    showGameFolders(Generals);
    m_csf->attachLanguageCodes();

    m_languageFolder = programFolder();
    m_languageFiles->clear();
    m_languageFiles->addItems(listFolder(m_languageFolder, QStringLiteral("*.lng"), EntryKind::Files));
    m_big->loadPreviewWindow(this);
    m_startupOptions->LoadStartupOptions();
}

void Form1::closeEvent(QCloseEvent* event) {
    m_big->unloadPreviewWindow();
    QWidget::closeEvent(event);
}

void Form1::showPage(int index) {
    for (ClickableLabel* link : m_links) {
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, kLinkColour);
        link->setPalette(palette);
    }
    m_home->hide();
    for (int i = 0; i < PageCount; ++i)
        m_pages[i]->setVisible(i == index);
    m_big->setPreviewShown(index == BigEditor);
    m_replayDetails->hide();
}

void Form1::SwitchGame(GameKind game) {
    GameEnvironment& env = environment();
    if (game == env.CurrentGame)
        return;
    env.CurrentGame = game;
    showBannerCell(game);
    placeGameLabels(game);
    m_replays->ListReplays();
    showGameFolders(game);
    m_shellMaps->ListShellMaps(game);
    m_mods->ListMods();
    m_startupOptions->LoadStartupOptions();
    m_maps->ListInstalledMaps();
    if (m_replayDetails->isVisible()) {
        m_replayDetails->hide();
        m_pages[Replays]->show();
    }
}

QPoint Form1::gameLabelTwips(GameKind game, bool chosen) {
    static const QPoint chosenAt[GameCount] = {{70, 120}, {960, 120}, {2390, 120}};
    static const QPoint otherAt[GameCount] = {{90, 130}, {980, 130}, {2400, 130}};
    return chosen ? chosenAt[game] : otherAt[game];
}

void Form1::showGameFolders(GameKind game) {
    const GameEnvironment& env = environment();
    m_installFolder->setText(env.InstallFolder[game]);
    m_personalFolder->setText(env.ReplaysFolder[game]);
    const QString prefix =
        !env.PrefixOf[game].isEmpty() ? env.PrefixOf[game] : env.PlayerFoldersPrefixOf[game];
    m_foldersFromStore->setVisible(prefix.isEmpty());
    m_foldersFromPrefix->setVisible(!prefix.isEmpty());
    m_prefixPath->setVisible(!prefix.isEmpty());
    m_prefixPath->setText(prefix);
}

void Form1::showBannerCell(int cell) {
    m_bannerCell = cell;
    const int cellHeight = m_bannerStrip.height() / GameCount;
    m_banner->setPixmap(m_bannerStrip.copy(0, cell * cellHeight, m_bannerStrip.width(), cellHeight));
}

void Form1::placeGameLabels(GameKind chosen) {
    for (int game = 0; game < GameCount; ++game) {
        const QPoint twips = gameLabelTwips(GameKind(game), game == chosen);
        m_gameLabels[game]->move(twipsToPixels(twips.x()), twipsToPixels(twips.y()));
    }
}

void Form1::hoverLink(int index) {
    for (int i = 0; i < PageCount; ++i) {
        QFont font = m_links[i]->font();
        font.setUnderline(i == index);
        m_links[i]->setFont(font);
        QPalette palette = m_links[i]->palette();
        palette.setColor(QPalette::WindowText, i == index ? kHoverColour : kLinkColour);
        m_links[i]->setPalette(palette);
    }
}

void Form1::clearLinkHover() {
    for (ClickableLabel* link : m_links) {
        QFont font = link->font();
        font.setUnderline(false);
        link->setFont(font);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, kLinkColour);
        link->setPalette(palette);
    }
    QPalette palette = m_aboutLink->palette();
    palette.setColor(QPalette::WindowText, kLinkColour);
    m_aboutLink->setPalette(palette);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_navigationBackground) {
            clearLinkHover();
        } else if (watched == m_decorationA) {
            m_decorationA->hide();
            m_decorationB->show();
        } else if (watched == m_decorationB) {
            m_decorationB->hide();
            m_decorationA->show();
        } else if (watched == m_navigation) {
            m_decorationA->show();
            m_decorationB->show();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::showAbout() {
    const QString translator =
        environment().TradFileName.isEmpty()
            ? QString()
            : ini().ReadINI(QStringLiteral("Infos"), QStringLiteral("Traductor"), environment().TradFileName);
    QStringList lines;
    lines << u"Marvok version " + QStringLiteral(MARVOK_VERSION);
    if (!translator.isEmpty())
        lines << QString() << u"Language file by " + translator;
    else
        lines << QString();
    lines << QStringLiteral("Marvok is free software, provided as is, without any warranty.");
    lines << QString()
          << QStringLiteral("Command & Conquer and EA GAMES are registered trademarks of Electronic Arts.");
    lines << QString()
          << QStringLiteral("This program uses the DevIL library, https://openil.sourceforge.net/");
    dialogs().messageBox(-1, lines.join(QStringLiteral("\r\n")), MsgStyle::Information, ProgramTitle);
}

void Form1::showLanguageFileInfo() {
    const QListWidgetItem* item = m_languageFiles->currentItem();
    if (!item)
        return;
    const QString path = joinPath(m_languageFolder, item->text());
    const QString section = QStringLiteral("Infos");
    m_language->setText(ini().ReadINI(section, QStringLiteral("Language"), path));
    m_translator->setText(ini().ReadINI(section, QStringLiteral("Traductor"), path));
    m_version->setText(ini().ReadINI(section, QStringLiteral("Version"), path));
}

void Form1::chooseLanguageFile() {
    const QString path = dialogs().openFile(QString(), kLanguageFilter, m_languageFolder);
    if (!path.isEmpty())
        m_chosenLanguageFile->setText(path);
}

void Form1::saveLanguageFile() {
    // With no file selected the built-in French is chosen: storing the bare folder would blank
    // every translated caption at the next start.
    const QListWidgetItem* item = m_languageFiles->currentItem();
    const QString path = item && item->isSelected() ? joinPath(m_languageFolder, item->text()) : QString();
    registry().SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"), path);
    ShowTableMessage(0);
}

} // namespace marvok

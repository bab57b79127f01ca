#include "install/install_dialogs.h"

#include "controls/control_factory.h"
#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/dialog_service.h"
#include "core/game_environment.h"
#include "core/message_box.h"
#include "i18n/translate_form.h"
#include "shellmaps/shellmap_install.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace marvok {
namespace {

const QString kArchiveFilter = QStringLiteral("Fichiers compressés ZIP|*.zip");

QLabel* makeBoldPathLabel(QWidget* parent, const char* name, QRect at) {
    QLabel* label = makePathLabel(parent, name, "-", at);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void showPath(QLabel* label, const QString& path) {
    label->setText(path);
    label->setToolTip(path);
}

struct DialogTexts {
    const char* name;
    const char* title;
    const char* instruction;
    const char* instructionKey;
    const char* listName;
    int emptyMessage;
    int successMessage;
};

DialogTexts textsOf(PackageKind kind) {
    switch (kind) {
    case PackageKind::Maps:
        break;
    case PackageKind::Replays:
        return {"frmInstallRep",
                "Installer des replays",
                "Sélectionnez les replays à installer :",
                "SelectReplay",
                "File1",
                23,
                22};
    case PackageKind::Mods:
        return {"frmInstallMod",
                "Installer des mods",
                "Sélectionnez les mods à installer :",
                "SelectMods",
                "List1",
                26,
                27};
    }
    return {"frmInstallMap",
            "Installer des cartes",
            "Sélectionnez les cartes à installer :",
            "SelectMaps",
            "List1",
            21,
            20};
}

QString gameName(GameKind game) {
    static const char* names[GameCount] = {"Generals", "Generals : Heure H",
                                           "Bataille pour la Terre du Milieu"};
    return QString::fromUtf8(names[game]);
}

// Where `kind` goes for `game`.
QString targetFolder(PackageKind kind, GameKind game) {
    const GameEnvironment& env = environment();
    switch (kind) {
    case PackageKind::Maps:
        return env.MapsFolder[game];
    case PackageKind::Replays:
        return env.ReplaysFolder[game];
    case PackageKind::Mods:
        break;
    }
    return env.InstallFolder[game];
}

constexpr int kWidth = 420;
constexpr int kMargin = 14;
constexpr int kHomeHeight = 196;

// The colour of the main window's headings.
void showAsHeading(QLabel* label) {
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setStyleSheet(QStringLiteral("color: #1d2b4a;"));
}

} // namespace

QString commandLineFilePath(const QString& commandLine) {
    QString path = commandLine.trimmed();
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.mid(1, path.size() - 2);
    return path;
}

InstallDialog::InstallDialog(PackageKind kind, const QString& commandLineFile, RefreshList refresh,
                             QWidget* parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_commandLineFile(commandLineFilePath(commandLineFile))
    , m_refresh(std::move(refresh)) {
    const DialogTexts texts = textsOf(kind);
    setObjectName(QString::fromLatin1(texts.name));
    setWindowTitle(QString::fromUtf8(texts.title));

    showAsHeading(makeLabel(this, "Label1", texts.instruction, texts.instructionKey,
                            {kMargin, 12, kWidth - 2 * kMargin, 18}));
    m_list = named(new QListWidget(this), texts.listName);
    m_list->setStyleSheet(QStringLiteral("QListWidget::item { padding: 2px 4px; }"));
    m_list->setGeometry(kMargin, 34, kWidth - 2 * kMargin, 190);
    // A click picks or drops an entry, so several are chosen without a modifier key.
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    makeLabel(this, "Label2", "Fichier : ", "File", {kMargin, 236, 60, 18});
    m_archive = makeBoldPathLabel(this, "Label3", {74, 236, kWidth - 74 - kMargin, 18});
    m_gameCaption = makeLabel(this, "Label4", "Jeu :", "Game", {kMargin, 266, 60, 18});
    m_game = named(new QComboBox(this), "Combo1");
    m_game->setGeometry(74, 263, kWidth - 74 - kMargin, 24);
    for (int game = 0; game < GameCount; ++game)
        m_game->addItem(gameName(GameKind(game)));
    m_game->setCurrentIndex(-1);
    m_install = makeButton(this, "CommandButton2", "Installer", "Install", {0, 0, 88, 21});
    m_install->setEnabled(false);
    m_cancel = makeButton(this, "CommandButton3", "Annuler", "Cancel", {0, 0, 88, 21});
    placeControls();

    connect(m_list, &QListWidget::itemSelectionChanged, this, &InstallDialog::selectionChanged);
    connect(m_install, &UserControl1::Click, this, &InstallDialog::install);
    connect(m_cancel, &UserControl1::Click, this, &QDialog::reject);
}

// The game row is there only in command-line mode; without it the buttons move up.
void InstallDialog::placeControls() {
    const bool withGame = commandLineMode();
    m_gameCaption->setVisible(withGame);
    m_game->setVisible(withGame);
    const int buttonsTop = withGame ? 302 : 270;
    m_install->move(kWidth - kMargin - 2 * 88 - 8, buttonsTop);
    m_cancel->move(kWidth - kMargin - 88, buttonsTop);
    setFixedSize(kWidth, buttonsTop + 21 + kMargin);
}

bool InstallDialog::load() {
    translateAtLoading(this);
    if (inGeneratorMode())
        return true;
    QString archive = m_commandLineFile;
    if (archive.isEmpty())
        archive = dialogs().openFile(QString(), kArchiveFilter, QString());
    if (archive.isEmpty()) {
        reject();
        return false;
    }
    showPath(m_archive, archive);
    const QString unpacked = temporaryFolder();
    const UnpackResult unpacking = unpackPackage(archive, m_kind, unpacked, [](const QString& prompt) {
        return dialogs().inputBox(prompt, QString(), QString());
    });
    m_entries = unpacking.folderReady ? findPackageEntries(m_kind, unpacked) : QList<PackageEntry>();
    for (const PackageEntry& entry : m_entries)
        m_list->addItem(entry.name);
    if (m_entries.isEmpty()) {
        ShowTableMessage(textsOf(m_kind).emptyMessage);
        reject();
        return false;
    }
    return true;
}

void InstallDialog::selectionChanged() {
    m_install->setEnabled(!m_list->selectedItems().isEmpty());
}

// The game chosen for the install, or nothing after saying why there is none.
std::optional<GameKind> InstallDialog::targetGame() {
    GameKind game = environment().CurrentGame;
    if (commandLineMode()) {
        if (m_game->currentIndex() < 0) {
            ShowTableMessage(Msg::InstallGameNotChosen);
            return std::nullopt;
        }
        game = GameKind(m_game->currentIndex());
    }
    // A game that is not installed has no folder for mods, and only makeshift player folders.
    if (!environment().isInstalled(game)) {
        ShowTableMessage(Msg::InstallGameNotInstalled, gameName(game));
        return std::nullopt;
    }
    return game;
}

void InstallDialog::install() {
    const std::optional<GameKind> game = targetGame();
    if (!game)
        return;
    environment().CurrentGame = *game;
    QList<PackageEntry> selected;
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->isSelected())
            selected.append(m_entries[row]);
    }
    const QList<InstallFailure> failures =
        installPackageEntries(m_kind, selected, targetFolder(m_kind, *game));
    if (failures.isEmpty())
        ShowTableMessage(textsOf(m_kind).successMessage);
    else
        ShowTableMessage(Msg::InstallCopyFailed, describeFailures(failures));
    if (m_refresh)
        m_refresh();
    accept();
}

frmInstallMap::frmInstallMap(RefreshList listInstalledMaps, const QString& commandLineFile, QWidget* parent)
    : InstallDialog(PackageKind::Maps, commandLineFile, std::move(listInstalledMaps), parent) {}

frmInstallRep::frmInstallRep(RefreshList listReplays, const QString& commandLineFile, QWidget* parent)
    : InstallDialog(PackageKind::Replays, commandLineFile, std::move(listReplays), parent) {}

frmInstallMod::frmInstallMod(RefreshList listMods, const QString& commandLineFile, QWidget* parent)
    : InstallDialog(PackageKind::Mods, commandLineFile, std::move(listMods), parent) {}

bool openInstallDialog(PackageKind kind, const RefreshList& refresh, QWidget* parent,
                       const QString& commandLineFile) {
    std::unique_ptr<InstallDialog> dialog;
    switch (kind) {
    case PackageKind::Maps:
        dialog = std::make_unique<frmInstallMap>(refresh, commandLineFile, parent);
        break;
    case PackageKind::Replays:
        dialog = std::make_unique<frmInstallRep>(refresh, commandLineFile, parent);
        break;
    case PackageKind::Mods:
        dialog = std::make_unique<frmInstallMod>(refresh, commandLineFile, parent);
        break;
    }
    if (!dialog->load())
        return false;
    return dialogs().runModal(*dialog) == QDialog::Accepted;
}

frmInstallHome::frmInstallHome(const QString& file, InstallRefresh refresh, QWidget* parent)
    : QDialog(parent)
    , m_file(commandLineFilePath(file))
    , m_refresh(std::move(refresh)) {
    setObjectName(QStringLiteral("frmInstallHome"));
    setWindowTitle(QStringLiteral("Installer un fichier"));
    setFixedSize(kWidth, kHomeHeight);

    showAsHeading(makeLabel(this, "Label1", "Fichier :", "File", {kMargin, 14, 70, 18}));
    m_path = makeBoldPathLabel(this, "Label3", {88, 14, kWidth - 88 - kMargin, 18});
    showAsHeading(makeLabel(this, "Label2", "Options :", "Options", {kMargin, 46, 70, 18}));
    const struct {
        const char* name;
        const char* caption;
        const char* key;
    } options[] = {{"Option1", "Installer une shellmap", "InstallShellmap"},
                   {"Option2", "Installer une/des carte(s)", "InstallMap"},
                   {"Option3", "Installer un/des replay(s)", "InstallReplay"},
                   {"Option4", "Installer un/des mod(s)", "InstallMod"}};
    for (int i = 0; i < 4; ++i) {
        auto* option = named(new VornOptionButton(this), options[i].name, options[i].key);
        option->setCaption(QString::fromUtf8(options[i].caption));
        option->setGeometry(88, 46 + 26 * i, kWidth - 88 - kMargin, 18);
        m_options[i] = option;
    }
    m_options[0]->setValue(1);

    UserControl1* install = makeButton(this, "CommandButton2", "Installer", "Install",
                                       {kWidth - kMargin - 2 * 88 - 8, kHomeHeight - kMargin - 21, 88, 21});
    UserControl1* cancel = makeButton(this, "CommandButton3", "Annuler", "Cancel",
                                      {kWidth - kMargin - 88, kHomeHeight - kMargin - 21, 88, 21});
    connect(install, &UserControl1::Click, this, &frmInstallHome::install);
    connect(cancel, &UserControl1::Click, this, &QDialog::reject);
}

void frmInstallHome::load() {
    translateAtLoading(this);
    if (inGeneratorMode())
        return;
    showPath(m_path, m_file);
}

void frmInstallHome::install() {
    if (m_options[0]->value() == 1) {
        openShellMapInstallation(m_file, m_refresh.listShellMaps, this);
        return;
    }
    if (m_options[1]->value() == 1)
        openInstallDialog(PackageKind::Maps, m_refresh.listInstalledMaps, this, m_file);
    else if (m_options[2]->value() == 1)
        openInstallDialog(PackageKind::Replays, m_refresh.listReplays, this, m_file);
    else if (m_options[3]->value() == 1)
        openInstallDialog(PackageKind::Mods, m_refresh.listMods, this, m_file);
}

frmInstallHome* openInstallHome(const QString& commandLineAsTyped) {
    auto* window = new frmInstallHome(commandLineAsTyped);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->load();
    window->show();
    return window;
}

} // namespace marvok

#include "launch/launch_pages.h"

#include "controls/control_factory.h"
#include "controls/user_control1.h"
#include "core/game_environment.h"
#include "core/message_box.h"
#include "launch/installed_maps.h"
#include "launch/mods.h"
#include "launch/startup_options.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace marvok {
namespace {

// Pages sit below the panel's title.
constexpr int kTop = 48;

void fillPanel(QWidget* page, QWidget* panel) {
    page->setGeometry(0, kTop, panel->width(), panel->height() - kTop);
}

} // namespace

StartupOptionsPage::StartupOptionsPage(QWidget* panel)
    : QWidget(panel)
    , m_options(new QListWidget(this))
    , m_description(makeLabel(this, "Label57", "-", nullptr, {260, 0, 380, 200})) {
    setObjectName(QStringLiteral("StartupOptionsPage"));
    fillPanel(this, panel);
    m_options->setObjectName(QStringLiteral("ListView2"));
    m_options->setGeometry(16, 0, 230, 340);
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    connect(m_options, &QListWidget::itemClicked, this, &StartupOptionsPage::showDescription);
    UserControl1* save = makeButton(this, "UserControl12", "Enregistrer", "Save", {540, 380, 100, 21});
    connect(save, &UserControl1::Click, this, &StartupOptionsPage::save);
}

void StartupOptionsPage::LoadStartupOptions() {
    const GameKind game = environment().CurrentGame;
    const QStringList names = offeredOptions(ini(), optionsFilePath(), game);
    m_options->clear();
    const QString stored = registry().GetString(HKEY_LOCAL_MACHINE, SettingsKey, optionsValueName(game));
    for (const QString& name : names) {
        auto* row = new QListWidgetItem(name, m_options);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(isOptionTicked(name, stored) ? Qt::Checked : Qt::Unchecked);
    }
}

void StartupOptionsPage::showDescription(QListWidgetItem* item) {
    const QString& languageFile = environment().TradFileName;
    m_description->setText(languageFile.isEmpty()
                               ? QString()
                               : ini().ReadINI(QStringLiteral("LNG"), item->text(), languageFile));
}

void StartupOptionsPage::save() {
    QStringList names;
    std::vector<bool> ticked;
    for (int row = 0; row < m_options->count(); ++row) {
        names << m_options->item(row)->text();
        ticked.push_back(m_options->item(row)->checkState() == Qt::Checked);
    }
    registry().SaveString(HKEY_LOCAL_MACHINE, SettingsKey, optionsValueName(environment().CurrentGame),
                          storedOptionsValue(names, ticked));
    ShowTableMessage(8);
}

ModsPage::ModsPage(QWidget* panel)
    : QWidget(panel)
    , m_mods(new QListWidget(this))
    , m_fileName(makeLabel(this, "Label58", "-", nullptr, {350, 20, 290, 20}))
    , m_description(new QLineEdit(this))
    , m_add(makeButton(this, "UserControl19", "Ajouter", "Add", {16, 380, 90, 21})) {
    setObjectName(QStringLiteral("ModsPage"));
    fillPanel(this, panel);
    makeLabel(this, "Label62", "Mods installés :", "InstalledMods", {16, 0, 300, 18});
    m_mods->setObjectName(QStringLiteral("ListView3"));
    m_mods->setGeometry(16, 20, 300, 350);
    makeLabel(this, "Label60", "Fichier :", "File", {350, 0, 290, 18});
    QFont bold = m_fileName->font();
    bold.setBold(true);
    m_fileName->setFont(bold);
    makeLabel(this, "Label59", "Description :", "Description", {350, 52, 290, 18});
    m_description->setObjectName(QStringLiteral("Text7"));
    m_description->setGeometry(350, 72, 290, 22);
    UserControl1* remove = makeButton(this, "UserControl110", "Supprimer", "Delete", {114, 380, 90, 21});

    connect(m_mods, &QListWidget::itemChanged, this, &ModsPage::tickChanged);
    connect(m_mods, &QListWidget::itemClicked, this, &ModsPage::showMod);
    connect(m_description, &QLineEdit::textEdited, this, &ModsPage::writeDescription);
    connect(remove, &UserControl1::Click, this, &ModsPage::deleteMod);
}

void ModsPage::ListMods() {
    const GameEnvironment& env = environment();
    const QString stored =
        registry().GetString(HKEY_LOCAL_MACHINE, SettingsKey, modValueName(env.CurrentGame));
    m_filling = true;
    m_mods->clear();
    for (const QString& archive : listModArchives(env.InstallFolder[env.CurrentGame], env.CurrentGame)) {
        auto* row = new QListWidgetItem(archive.chopped(4), m_mods);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(archive == stored ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    m_fileName->setText(QStringLiteral("-"));
    m_description->clear();
}

void ModsPage::tickChanged(QListWidgetItem* item) {
    if (m_filling)
        return;
    const bool ticked = item->checkState() == Qt::Checked;
    const QString chosen = ticked ? item->text() + u".big" : QString();
    registry().SaveString(HKEY_LOCAL_MACHINE, SettingsKey, modValueName(environment().CurrentGame), chosen);
    m_filling = true;
    for (int row = 0; row < m_mods->count(); ++row) {
        QListWidgetItem* other = m_mods->item(row);
        other->setCheckState(ticked && other->text() == item->text() ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void ModsPage::showMod(QListWidgetItem* item) {
    const QString& folder = environment().InstallFolder[environment().CurrentGame];
    m_fileName->setText(item->text() + u".big");
    m_description->setText(ini().ReadINI(QStringLiteral("Mod"), QStringLiteral("Comments"),
                                         modDescriptionPath(folder, item->text())));
}

void ModsPage::writeDescription(const QString& text) {
    const QListWidgetItem* item = m_mods->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString& folder = environment().InstallFolder[environment().CurrentGame];
    ini().WriteINI(QStringLiteral("Mod"), QStringLiteral("Comments"), text,
                   modDescriptionPath(folder, item->text()));
}

void ModsPage::deleteMod() {
    const QListWidgetItem* item = m_mods->currentItem();
    if (!item || !item->isSelected() || item->text().isEmpty())
        return;
    if (ShowTableMessage(25) == MsgResult::Yes) {
        QString error;
        if (!deleteModArchive(environment().InstallFolder[environment().CurrentGame], item->text(), &error))
            ShowTableMessage(Msg::DeleteFailed, error);
    }
    ListMods();
}

MapsPage::MapsPage(QWidget* panel)
    : QWidget(panel)
    , m_maps(new QListWidget(this))
    , m_add(makeButton(this, "UserControl13", "Ajouter", "Add", {16, 380, 90, 21}))
    , m_delete(makeButton(this, "UserControl14", "Supprimer", "Delete", {114, 380, 90, 21})) {
    setObjectName(QStringLiteral("MapsPage"));
    fillPanel(this, panel);
    m_maps->setObjectName(QStringLiteral("List2"));
    m_maps->setGeometry(16, 0, 400, 370);
    m_delete->setEnabled(false);
    connect(m_maps, &QListWidget::itemClicked, m_delete, [this] { m_delete->setEnabled(true); });
    connect(m_delete, &UserControl1::Click, this, &MapsPage::deleteMap);
}

void MapsPage::ListInstalledMaps() {
    m_maps->clear();
    m_maps->addItems(listInstalledMaps(environment().MapsFolder[environment().CurrentGame]));
}

void MapsPage::deleteMap() {
    const QListWidgetItem* item = m_maps->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString name = item->text();
    if (ShowTableMessage(9, name) != MsgResult::Yes)
        return;
    QString error;
    if (!deleteInstalledMap(environment().MapsFolder[environment().CurrentGame], name, &error))
        ShowTableMessage(Msg::DeleteFailed, error);
    // The list shows what is really left, also after a failure.
    ListInstalledMaps();
}

} // namespace marvok

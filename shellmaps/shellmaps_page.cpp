#include "shellmaps/shellmaps_page.h"

#include "controls/control_factory.h"
#include "controls/user_control1.h"
#include "core/ini_runtime.h"
#include "core/message_box.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmap_dialogs.h"
#include "shellmaps/shellmap_removal.h"
#include "shellmaps/shellmaps_artwork.h"

#include <QLabel>
#include <QListWidget>

namespace marvok {
namespace {

// Pages sit below the panel's title.
constexpr int kTop = 48;
const QRect kScreenshotArea(304, 20, 336, 210);

} // namespace

ShellMapsPage::ShellMapsPage(QWidget* panel)
    : QWidget(panel)
    , m_list(new QListWidget(this))
    , m_name(makeLabel(this, "SMName", "", nullptr, {304, 238, 336, 22}))
    , m_date(makeLabel(this, "SMDate", "", nullptr, {398, 266, 242, 18}))
    , m_description(makeLabel(this, "SMDescription", "", nullptr, {398, 288, 242, 62}))
    , m_url(makeLabel(this, "SMURL", "", nullptr, {304, 354, 336, 18}))
    , m_screenshot(makeLabel(this, "Image4", "", nullptr, kScreenshotArea))
    , m_add(makeButton(this, "CommandButton1", "Ajouter", "Add", {16, 380, 90, 21})) {
    setObjectName(QStringLiteral("ShellMapsPage"));
    setGeometry(0, kTop, panel->width(), panel->height() - kTop);

    makeLabel(this, "Label21", "ShellMaps installées :", "InstShellMaps", {16, 0, 260, 18});
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(16, 20, 268, 350);

    m_screenshot->setAlignment(Qt::AlignCenter);
    m_screenshot->setFrameShape(QFrame::Box);
    m_screenshot->setStyleSheet(QStringLiteral("QLabel { background: #151d2b; color: #8b9bb4; }"));
    m_screenshot->setPixmap(noScreenshotPicture().scaled(kScreenshotArea.size() - QSize(2, 2),
                                                         Qt::KeepAspectRatio, Qt::SmoothTransformation));

    QFont title = m_name->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.15);
    m_name->setFont(title);
    makeLabel(this, "Label24", "Date :", "Date", {304, 266, 92, 18});
    makeLabel(this, "Label25", "Description :", "Description", {304, 288, 92, 18});
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    QPalette link = m_url->palette();
    link.setColor(QPalette::WindowText, QColor(0, 34, 128));
    m_url->setPalette(link);
    m_url->setTextInteractionFlags(Qt::TextSelectableByMouse);

    UserControl1* remove = makeButton(this, "CommandButton2", "Supprimer", "Delete", {114, 380, 90, 21});
    connect(m_list, &QListWidget::itemClicked, this, &ShellMapsPage::showEntry);
    connect(m_add, &UserControl1::Click, this, &ShellMapsPage::addShellMap);
    connect(remove, &UserControl1::Click, this, &ShellMapsPage::deleteShellMap);
}

void ShellMapsPage::ListShellMaps(GameKind game) {
    currentCatalogue() = cataloguePath(game);
    const QString& catalogue = currentCatalogue();
    const int count = std::min(catalogueCount(catalogue), MaxCatalogueEntries);
    m_list->clear();
    const INIRuntime ini;
    for (int index = 0; index < count; ++index)
        m_list->addItem(ini.ReadINI(entrySection(index), QStringLiteral("Name"), catalogue));
}

void ShellMapsPage::showEntry(QListWidgetItem* item) {
    const CatalogueEntry entry = readCatalogueEntry(currentCatalogue(), m_list->row(item));
    m_name->setText(item->text());
    m_date->setText(entry.date);
    m_description->setText(entry.description);
    m_url->setText(entry.url);
    if (entry.screenShot.isEmpty()) {
        m_screenshot->clear();
        return;
    }
    // A picture that cannot be read leaves the one shown.
    const QPixmap picture(entry.screenShot);
    if (!picture.isNull())
        m_screenshot->setPixmap(picture.scaled(kScreenshotArea.size() - QSize(2, 2), Qt::KeepAspectRatio,
                                               Qt::SmoothTransformation));
}

void ShellMapsPage::addShellMap() {
    openShellMapInstallation(
        QString(), [this](GameKind game) { ListShellMaps(game); }, window());
}

void ShellMapsPage::deleteShellMap() {
    const QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected())
        return;
    if (ShowTableMessage(4, item->text()) != MsgResult::Yes)
        return;
    const GameKind game = environment().CurrentGame;
    RemoveShellMap(qint16(m_list->row(item) + 1), game);
    m_list->clear();
    ListShellMaps(game);
}

bool RemoveShellMap(qint16 row, GameKind game) {
    QString detail;
    if (removeCatalogueEntry(row, game, environment().InstallFolder[game], &detail))
        return true;
    ShowTableMessage(15, detail);
    return false;
}

} // namespace marvok

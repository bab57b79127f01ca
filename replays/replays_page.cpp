#include "replays/replays_page.h"

#include "controls/control_factory.h"
#include "controls/user_control1.h"
#include "core/clickable_label.h"
#include "core/game_environment.h"
#include "core/message_box.h"
#include "core/paths.h"
#include "core/translation_keys.h"
#include "replays/replay_files.h"
#include "replays/replay_list.h"
#include "replays/replay_players.h"

#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <array>
#include <functional>
#include <utility>

namespace marvok {

// lstRep: tells the page when an in-place edit has ended, once its editor is gone, so that a
// message about the new title never meets a half-closed editor.
class ReplayListView : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void()> editEnded;

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        QTreeWidget::closeEditor(editor, hint);
        if (editEnded)
            editEnded();
    }
};

namespace {

// The page sits below the list panel's title.
constexpr int kTop = 48;
constexpr int kMargin = 16;

// Columns of lstRep: Titre, Date, Version, Joueurs; Carte takes the rest.
constexpr std::array<int, 4> kColumnWidths = {220, 84, 72, 66};
constexpr int kColumnCount = 5;
constexpr int kRowHeight = 22;

const QColor kHeadingColour(0x1d, 0x2b, 0x4a);

// Rows are sorted on the title as the folder listing is: without regard to case.
class ReplayItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        return lessIgnoringCase(text(0), other.text(0));
    }
};

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// The page's labels keep their text in their top left corner.
QLabel* makeTopLabel(QWidget* parent, const char* name, const char* text, const char* key, QRect at) {
    QLabel* label = makeLabel(parent, name, text, key, at);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* makeValue(QWidget* parent, const char* name, QRect at) {
    QLabel* label = makeTopLabel(parent, name, "-", nullptr, at);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QAction* makeAction(QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(utf8(text));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void styleHeading(QLabel* label, int pointSize) {
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kHeadingColour);
    label->setPalette(palette);
}

void notifyRenameRefused(const ReplayRename& rename, const QString& title) {
    switch (rename.outcome) {
    case ReplayRename::Renamed:
        break;
    case ReplayRename::EmptyTitle:
        ShowTableMessage(Msg::ReplayTitleEmpty);
        break;
    case ReplayRename::InvalidTitle:
        ShowTableMessage(Msg::ReplayTitleInvalid, title);
        break;
    case ReplayRename::NameTaken:
        ShowTableMessage(Msg::ReplayNameTaken, rename.fileName);
        break;
    case ReplayRename::Failed:
        ShowTableMessage(Msg::ReplayRenameFailed, rename.error);
        break;
    }
}

} // namespace

ReplaysPage::ReplaysPage(QWidget* listPanel, QWidget* detailsPanel)
    : QWidget(listPanel)
    , m_listPanel(listPanel)
    , m_detailsPanel(detailsPanel)
    , m_details(new QWidget(detailsPanel)) {
    setObjectName(QStringLiteral("ReplaysPage"));
    setGeometry(0, kTop, listPanel->width(), listPanel->height() - kTop);
    m_details->setObjectName(QStringLiteral("ReplayDetails"));
    m_details->setGeometry(detailsPanel->rect());
    buildListPanel();
    buildDetailsPanel();
}

ReplaysPage::~ReplaysPage() {
    // The details live in the other panel, which may outlive the page.
    delete m_details.data();
}

void ReplaysPage::buildListPanel() {
    const int listWidth = width() - 2 * kMargin;
    m_rows = new ReplayListView(this);
    m_rows->setObjectName(QStringLiteral("lstRep"));
    m_rows->setGeometry(kMargin, 24, listWidth, 352);
    m_rows->setColumnCount(kColumnCount);
    m_rows->setHeaderHidden(true);
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setAlternatingRowColors(true);
    m_rows->setAllColumnsShowFocus(true);
    m_rows->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers); // the menu starts the edit
    m_rows->setTextElideMode(Qt::ElideRight);
    m_rows->setContextMenuPolicy(Qt::CustomContextMenu);
    m_rows->header()->setStretchLastSection(true);
    for (int column = 0; column < int(kColumnWidths.size()); ++column)
        m_rows->setColumnWidth(column, kColumnWidths[column]);

    // The column names stand above the columns they name.
    struct ColumnLabel {
        const char* name;
        const char* caption;
        const char* key;
    };
    const ColumnLabel labels[kColumnCount] = {{"Label7", "Titre", "Title"},
                                              {"Label10", "Date", "Date2"},
                                              {"Label11", "Version", "Version2"},
                                              {"Label12", "Joueurs", "Players2"},
                                              {"Label23", "Carte", "Map2"}};
    int left = kMargin + m_rows->frameWidth() + 4;
    for (int column = 0; column < kColumnCount; ++column) {
        const int columnWidth = column < int(kColumnWidths.size()) ? kColumnWidths[column] : 120;
        QLabel* label;
        if (column == 0) {
            m_titleColumn = new ClickableLabel(this);
            m_titleColumn->setText(utf8(labels[0].caption));
            m_titleColumn->setObjectName(QString::fromLatin1(labels[0].name));
            setTranslationKey(m_titleColumn, labels[0].key);
            m_titleColumn->setCursor(Qt::PointingHandCursor);
            m_titleColumn->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label = m_titleColumn;
        } else {
            label = makeTopLabel(this, labels[column].name, labels[column].caption, labels[column].key, {});
        }
        styleHeading(label, font().pointSize());
        label->setGeometry(left, 4, columnWidth - 8, 18);
        left += columnWidth;
    }
    m_sortArrow = new QLabel(this);
    m_sortArrow->setObjectName(QStringLiteral("sortArrow"));
    styleHeading(m_sortArrow, qMax(6, font().pointSize() - 2));
    m_sortArrow->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_install = makeButton(this, "cmdInstall", "Installer", "Install", {kMargin, 388, 100, 21});
    auto* details =
        makeButton(this, "cmdDetails", "Details >>", "Details", {width() - kMargin - 100, 388, 100, 21});

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mnuRep"));
    QAction* detailsAction = makeAction(m_menu, "mnuDetails", "Détails");
    QAction* deleteAction = makeAction(m_menu, "mnuDelete", "Supprimer");
    QAction* renameAction = makeAction(m_menu, "mnuRename", "Renommer");
    m_installAction = makeAction(m_menu, "mnuInstall", "Installer");
    m_menu->setDefaultAction(detailsAction);

    connect(m_titleColumn, &ClickableLabel::clicked, this, &ReplaysPage::reverseSortOrder);
    connect(details, &UserControl1::Click, this, &ReplaysPage::showDetails);
    connect(m_rows, &QTreeWidget::itemDoubleClicked, this, &ReplaysPage::showDetails);
    connect(m_rows, &QWidget::customContextMenuRequested, this, &ReplaysPage::openMenu);
    connect(detailsAction, &QAction::triggered, this, &ReplaysPage::showDetails);
    connect(deleteAction, &QAction::triggered, this, &ReplaysPage::deleteSelected);
    connect(renameAction, &QAction::triggered, this, &ReplaysPage::renameSelected);
    connect(m_install, &UserControl1::Click, this, &ReplaysPage::installRequested);
    connect(m_installAction, &QAction::triggered, this, &ReplaysPage::installRequested);
    connect(m_rows, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* row, int column) {
        if (!m_updatingRows && column == 0)
            m_editedRow = row;
    });
    m_rows->editEnded = [this] { titleEditEnded(); };
    sortRows();
}

void ReplaysPage::buildDetailsPanel() {
    m_title = makeTopLabel(m_details, "Label38", "Replay %RepName%", nullptr, {kMargin, 10, 628, 30});
    styleHeading(m_title, 14);
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter); // as the pages' titles stand

    const int captionWidth = 64;
    const int valueLeft = kMargin + captionWidth;
    const int valueWidth = 210 - captionWidth;
    makeTopLabel(m_details, "Label27", "Date :", "Date", {kMargin, 60, captionWidth, 20});
    m_date = makeValue(m_details, "Label31", {valueLeft, 60, valueWidth, 20});
    makeTopLabel(m_details, "Label28", "Version :", "Version", {kMargin, 84, captionWidth, 20});
    m_version = makeValue(m_details, "Label30", {valueLeft, 84, valueWidth, 20});
    makeTopLabel(m_details, "Label32", "Carte :", "Map", {kMargin, 108, captionWidth, 20});
    m_map = makeValue(m_details, "Label33", {valueLeft, 108, valueWidth, 40});
    m_map->setWordWrap(true);

    // Through an icon, so that the sharper copy is taken at 200% scaling.
    const QIcon mapPicture(QStringLiteral(":/replays/map.png"));
    const QSize mapSize = mapPicture.availableSizes().value(0);
    auto* picture = new QLabel(m_details);
    picture->setObjectName(QStringLiteral("Image6"));
    picture->setPixmap(mapPicture.pixmap(mapSize, m_details->devicePixelRatioF()));
    picture->setGeometry(QRect(QPoint(kMargin + 15, 160), mapSize));

    const int treeLeft = 250;
    makeTopLabel(m_details, "Label29", "Joueurs :", "Players", {treeLeft, 60, 200, 20});
    m_players = new QTreeWidget(m_details);
    m_players->setObjectName(QStringLiteral("lstPlayers"));
    m_players->setGeometry(treeLeft, 82, m_details->width() - kMargin - treeLeft, 340);
    m_players->setHeaderHidden(true);
    m_players->setColumnCount(1);
    m_players->setIconSize(QSize(16, 16));
    m_players->setUniformRowHeights(true);
    m_players->setSelectionMode(QAbstractItemView::SingleSelection);
    m_players->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* previous =
        makeButton(m_details, "CommandButton3", "<< Précédent", "Previous", {kMargin, 436, 110, 21});
    auto* remove = makeButton(m_details, "CommandButton5", "Supprimer", "Delete",
                              {m_details->width() - kMargin - 110, 436, 110, 21});
    connect(previous, &UserControl1::Click, this, &ReplaysPage::showList);
    connect(remove, &UserControl1::Click, this, &ReplaysPage::deleteSelected);
}

QIcon ReplaysPage::playerImage(int number) {
    static const char* const names[PlayerImage::Count] = {
        "faction_unknown", "faction_blue", "faction_red", "faction_green", "observers",
        "team1",           "team2",        "team3",       "team4",         "team5",
        "team6",           "team7",        "team8",       "no_team",       "root"};
    if (number < 1 || number > PlayerImage::Count)
        return {};
    const QString file = u":/replays/" + QString::fromLatin1(names[number - 1]) + u".png";
    QIcon icon;
    // The same picture when selected, rather than the style's tinted one.
    icon.addFile(file, QSize(), QIcon::Normal);
    icon.addFile(file, QSize(), QIcon::Selected);
    return icon;
}

void ReplaysPage::ListReplays() {
    const GameEnvironment& env = environment();
    const QString& folder = env.ReplaysFolder[env.CurrentGame];
    m_updatingRows = true;
    m_editedRow = nullptr;
    m_rows->clear();
    QList<QTreeWidgetItem*> items;
    if (!folder.isEmpty()) {
        for (const ReplayRow& row : listReplays(folder)) {
            auto* item = new ReplayItem(row.columns());
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            item->setData(0, FileNameRole, row.fileName);
            item->setData(0, SlotListRole, row.slotList);
            item->setToolTip(0, row.title);
            item->setToolTip(4, row.map);
            item->setSizeHint(0, QSize(0, kRowHeight));
            items.append(item);
        }
    }
    m_rows->addTopLevelItems(items);
    sortRows();
    m_updatingRows = false;
}

void ReplaysPage::ShowReplayDetails(const QTreeWidgetItem* row) {
    if (!row)
        return;
    m_title->setText(u"Replay " + row->text(0));
    m_version->setText(row->text(2));
    m_date->setText(row->text(1));
    m_map->setText(row->text(4));

    m_players->clear();
    const PlayersTree tree =
        buildPlayersTree(row->data(0, SlotListRole).toByteArray(), environment().CurrentGame);
    QHash<QString, QTreeWidgetItem*> byKey;
    for (const PlayerNode& node : tree.nodes) {
        QTreeWidgetItem* parent = byKey.value(node.parentKey);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_players);
        item->setText(0, node.text);
        item->setIcon(0, playerImage(node.image));
        item->setData(0, NodeKeyRole, node.key);
        item->setData(0, NodeImageRole, node.image);
        byKey.insert(node.key, item);
    }
    m_players->expandAll();
}

void ReplaysPage::showList() {
    m_detailsPanel->hide();
    m_listPanel->show();
}

void ReplaysPage::showDetails() {
    const QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    ShowReplayDetails(row);
    m_detailsPanel->show();
    m_detailsPanel->raise();
    m_listPanel->hide();
}

QTreeWidgetItem* ReplaysPage::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = m_rows->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void ReplaysPage::reverseSortOrder() {
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortRows();
}

void ReplaysPage::sortRows() {
    m_rows->sortItems(0, m_sortOrder);
    // The arrow follows the caption, which a language file may have changed.
    m_titleColumn->resize(m_titleColumn->sizeHint().width(), m_titleColumn->height());
    m_sortArrow->setGeometry(m_titleColumn->geometry().right() + 4, m_titleColumn->y() + 1, 14,
                             m_titleColumn->height());
    m_sortArrow->setText(QString(QChar(m_sortOrder == Qt::AscendingOrder ? 0x25B2 : 0x25BC)));
}

void ReplaysPage::openMenu(const QPoint& at) {
    m_menu->popup(m_rows->viewport()->mapToGlobal(at));
}

void ReplaysPage::renameSelected() {
    if (QTreeWidgetItem* row = selectedRow())
        m_rows->editItem(row, 0);
}

void ReplaysPage::titleEditEnded() {
    QTreeWidgetItem* row = std::exchange(m_editedRow, nullptr);
    if (!row)
        return;
    const GameEnvironment& env = environment();
    const QString fileName = row->data(0, FileNameRole).toString();
    const QString title = row->text(0);
    const ReplayRename rename = renameReplay(env.ReplaysFolder[env.CurrentGame], fileName, title);
    m_updatingRows = true;
    if (rename.outcome == ReplayRename::Renamed)
        row->setData(0, FileNameRole, rename.fileName);
    else // every command finds the file through the row, so it keeps the title it has on disk
        row->setText(0, fileName.chopped(std::min<qsizetype>(4, fileName.size())));
    row->setToolTip(0, row->text(0));
    m_updatingRows = false;
    notifyRenameRefused(rename, title);
}

void ReplaysPage::deleteSelected() {
    const QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    if (ShowTableMessage(5) != MsgResult::Yes)
        return;
    const GameEnvironment& env = environment();
    QString error;
    if (!deleteReplay(env.ReplaysFolder[env.CurrentGame], row->data(0, FileNameRole).toString(), &error)) {
        ShowTableMessage(Msg::ReplayDeleteFailed, error);
        return;
    }
    showList();
    ListReplays();
}

} // namespace marvok

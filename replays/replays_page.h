#pragma once
// The "Replays" page: the list panel with the replays of the current game and the details panel
// with one replay's players, which replace each other in the same place. The page fills the list
// panel below its title and the whole details panel.
#include <QIcon>
#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace marvok {

class ClickableLabel;
class ReplayListView;
class UserControl1;

class ReplaysPage : public QWidget {
    Q_OBJECT
public:
    // Data kept in column 0 of each row of lstRep.
    static constexpr int FileNameRole = Qt::UserRole;     // the replay's name on disk
    static constexpr int SlotListRole = Qt::UserRole + 1; // QByteArray, for the players tree
    // Data of each node of lstPlayers.
    static constexpr int NodeKeyRole = Qt::UserRole;
    static constexpr int NodeImageRole = Qt::UserRole + 1; // its picture's number in ImageList1

    ReplaysPage(QWidget* listPanel, QWidget* detailsPanel);
    ~ReplaysPage() override;

    // Refills lstRep from the current game's replays folder, in the chosen order.
    void ListReplays();

    // Fills the details panel from `row` of lstRep; showing the panel is the caller's business.
    void ShowReplayDetails(const QTreeWidgetItem* row);

    // The list panel in place of the details panel.
    void showList();
    // The details of the selected row in place of the list; nothing without a selected row.
    void showDetails();

    // "Installer" and the menu's "Installer" both emit installRequested.
    UserControl1* installButton() const { return m_install; }
    QAction* installAction() const { return m_installAction; }

    // Picture `number` (1 to 15) of ImageList1; a null icon for other numbers.
    static QIcon playerImage(int number);

signals:
    void installRequested();

private:
    void buildListPanel();
    void buildDetailsPanel();
    QTreeWidgetItem* selectedRow() const;
    void reverseSortOrder();
    void sortRows();
    void openMenu(const QPoint& at);
    void renameSelected();
    void titleEditEnded();
    void deleteSelected();

    QWidget* m_listPanel;        // Picture1(3)
    QWidget* m_detailsPanel;     // Picture4
    QPointer<QWidget> m_details; // what the page put into Picture4

    ReplayListView* m_rows = nullptr;        // lstRep
    ClickableLabel* m_titleColumn = nullptr; // Label7
    QLabel* m_sortArrow = nullptr;
    UserControl1* m_install = nullptr; // cmdInstall
    QMenu* m_menu = nullptr;           // mnuRep
    QAction* m_installAction = nullptr;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_updatingRows = false;
    QTreeWidgetItem* m_editedRow = nullptr; // a row whose title the in-place edit changed

    QLabel* m_title = nullptr;        // Label38
    QLabel* m_date = nullptr;         // Label31
    QLabel* m_version = nullptr;      // Label30
    QLabel* m_map = nullptr;          // Label33
    QTreeWidget* m_players = nullptr; // lstPlayers
};

} // namespace marvok

#pragma once
// The "ShellMaps" page: the current game's ShellMap catalogue, the details and screenshot of the entry
// clicked, "Ajouter" (the installation dialogs) and "Supprimer". It fills the panel it is given,
// below the panel's title.
#include "core/game_environment.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace marvok {

class UserControl1;

class ShellMapsPage : public QWidget {
    Q_OBJECT
public:
    explicit ShellMapsPage(QWidget* panel);

    // Points the current catalogue at `game`'s catalogue and lists its entries.
    void ListShellMaps(GameKind game);

    UserControl1* addButton() const { return m_add; }

private:
    void showEntry(QListWidgetItem* item);
    void addShellMap();
    void deleteShellMap();

    QListWidget* m_list;   // ListView1
    QLabel* m_name;        // SMName
    QLabel* m_date;        // SMDate
    QLabel* m_description; // SMDescription
    QLabel* m_url;         // SMURL
    QLabel* m_screenshot;  // Image4
    UserControl1* m_add;   // CommandButton1
};

// Removes entry row-1 (row counted from 1) of `game`'s catalogue with its folder; message 15 names
// why when it is refused. True when it was removed.
bool RemoveShellMap(qint16 row, GameKind game);

} // namespace marvok

#pragma once
// The pages of the main window for start-up options ("Démarrage"), mods ("Mods") and installed maps
// ("Cartes"). Each page fills the panel it is given, below the panel's title.
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace marvok {

class UserControl1;

class StartupOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit StartupOptionsPage(QWidget* panel);

    // Refills the list for the current game and ticks the stored options.
    void LoadStartupOptions();

private:
    void showDescription(QListWidgetItem* item);
    void save();

    QListWidget* m_options; // ListView2
    QLabel* m_description;  // Label57
};

class ModsPage : public QWidget {
    Q_OBJECT
public:
    explicit ModsPage(QWidget* panel);

    // Refills the list for the current game and ticks the chosen mod.
    void ListMods();

    // "Ajouter"; the install dialog connects to it.
    UserControl1* addButton() const { return m_add; }

private:
    void tickChanged(QListWidgetItem* item);
    void showMod(QListWidgetItem* item);
    void writeDescription(const QString& text);
    void deleteMod();

    QListWidget* m_mods;      // ListView3
    QLabel* m_fileName;       // Label58
    QLineEdit* m_description; // Text7
    UserControl1* m_add;      // UserControl19
    bool m_filling = false;
};

class MapsPage : public QWidget {
    Q_OBJECT
public:
    explicit MapsPage(QWidget* panel);

    void ListInstalledMaps();

    UserControl1* addButton() const { return m_add; }

private:
    void deleteMap();

    QListWidget* m_maps;    // List2
    UserControl1* m_add;    // UserControl13
    UserControl1* m_delete; // UserControl14
};

} // namespace marvok

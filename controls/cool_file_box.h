#pragma once
// The program's folder tree: the desktop folder as root, "Poste de travail" with the mounted volumes,
// the documents folder and, where the system has one, the network places. A folder is listed only
// when it is first opened (a placeholder child gives it its expand mark until then); files can be
// shown too, filtered on the last four characters of their names.
//
// Every node's key is a marker and the node's full path: "*desk*/home/me/Desktop/", "*root*/media/usb/",
// "*root*/home/me/Desktop/Mod.big". Folder paths end with "/", file paths do not. The path is also
// kept apart from the key, so that a name holding "*" cannot confuse it.
#include <QCursor>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace marvok {

// A mounted volume as "Poste de travail" shows it.
struct MountedVolume {
    enum Type { Removable, Fixed, Network, Optical, Other };
    QString root; // the mount point, ending with "/"
    Type type = Other;

    bool operator==(const MountedVolume&) const = default;
};

// The volumes of a mount table in the form of /proc/mounts, in its order, without the system's own
// file systems (proc, sysfs, tmpfs, ...) and without mount points that are not folders. `sysBlock` is
// where the block devices tell whether they are removable (/sys/class/block).
QList<MountedVolume> mountedVolumes(const QByteArray& mountTable,
                                    const QString& sysBlock = QStringLiteral("/sys/class/block"));
QList<MountedVolume> mountedVolumes();

class CoolFileBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool ShowFiles READ ShowFiles WRITE setShowFiles)
    Q_PROPERTY(bool ShowHiddenFiles READ ShowHiddenFiles WRITE setShowHiddenFiles)
    Q_PROPERTY(QString Filter READ Filter WRITE setFilter)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)

public:
    // The properties the control starts with; the root is listed with them.
    struct Properties {
        bool ShowFiles = false;
        bool ShowHiddenFiles = false;
        QString Filter;
        int BorderStyle = 0;
        int Appearance = 1;
        int MousePointer = 0;
        QPixmap MouseIcon;
        // Empty: the system's desktop and documents folders.
        QString DesktopFolder;
        QString DocumentsFolder;
    };

    enum NodeKind { Desktop, Computer, Documents, NetworkPlaces, Drive, Folder, File, Placeholder };

    // The texts of the special nodes and of the placeholders.
    static inline const QString DesktopText = QStringLiteral("Bureau");
    static inline const QString ComputerText = QStringLiteral("Poste de travail");
    static inline const QString DocumentsText = QStringLiteral("Mes documents");
    static inline const QString NetworkPlacesText = QStringLiteral("Favoris Réseau");
    static inline const QString SpecialPlaceholderText = QStringLiteral("***BIDON***");
    static inline const QString FolderPlaceholderText = QStringLiteral("BIDON");
    // Files shown in one folder at most.
    static constexpr int MaxFilesPerFolder = 10001;

    explicit CoolFileBox(QWidget* parent = nullptr);
    CoolFileBox(QWidget* parent, const Properties& properties);

    // A node's key; during NodeClick, its full path.
    static QString Key(const QTreeWidgetItem* node);
    // A node's full path: "" for "Poste de travail", a trailing "/" for folders and volumes.
    static QString FullPath(const QTreeWidgetItem* node);
    static NodeKind Kind(const QTreeWidgetItem* node);
    // Whether the node's folder has been listed.
    static bool isListed(const QTreeWidgetItem* node);

    QTreeWidget* tree() const { return m_tree; } // trv_File
    QTreeWidgetItem* rootNode() const { return m_root; }
    // The images of the tree by key ("*desk*", "*CloseFolder*", ...).
    QIcon image(const QString& key) const { return m_images.value(key); }

    bool ShowFiles() const { return m_properties.ShowFiles; }
    void setShowFiles(bool show) { m_properties.ShowFiles = show; }
    bool ShowHiddenFiles() const { return m_properties.ShowHiddenFiles; }
    void setShowHiddenFiles(bool show) { m_properties.ShowHiddenFiles = show; }
    QString Filter() const { return m_properties.Filter; }
    void setFilter(const QString& filter) { m_properties.Filter = filter; }
    // 0 none, 1 a single line.
    int BorderStyle() const { return m_properties.BorderStyle; }
    void setBorderStyle(int style);
    // 0 flat, 1 three-dimensional.
    int Appearance() const { return m_properties.Appearance; }
    void setAppearance(int appearance);
    // The pointer numbers of the original controls: 0 default, 1 arrow, 2 cross, 3 I-beam, 11 busy,
    // 12 forbidden, 13 arrow and busy, 99 MouseIcon.
    int MousePointer() const { return m_properties.MousePointer; }
    void setMousePointer(int pointer);
    QPixmap MouseIcon() const { return m_properties.MouseIcon; }
    void setMouseIcon(const QPixmap& icon);

    // Whether a file of this name is listed under the current Filter.
    bool passesFilter(const QString& fileName) const;

    void Refresh();

signals:
    void Click();
    void DblClick();
    // Key codes are Qt's; Shift holds 1 for Shift, 2 for Control and 4 for Alt.
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    // Button: 1 left, 2 right, 4 middle; X and Y in pixels in the tree.
    void MouseDown(int Button, int Shift, int X, int Y);
    void MouseMove(int Button, int Shift, int X, int Y);
    void MouseUp(int Button, int Shift, int X, int Y);
    // While this runs, Key(Node) is the node's full path.
    void NodeClick(QTreeWidgetItem* Node);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start();
    void loadImages();
    void listNode(QTreeWidgetItem* node);
    void listDrives(QTreeWidgetItem* computer);
    void listFolderEntries(QTreeWidgetItem* node);
    void nodeClicked(QTreeWidgetItem* node);
    QIcon fileIcon(const QString& fileName);
    void applyFrame();

    Properties m_properties;
    QTreeWidget* m_tree;
    QTreeWidgetItem* m_root = nullptr;
    QHash<QString, QIcon> m_images;    // iml_Icone
    QHash<QString, QIcon> m_fileIcons; // by file type, so that every file does not cost a look-up
};

} // namespace marvok

#pragma once
// The "BIG Editor" page of the main window: an archive picked in the folder tree is shown as a tree
// of folders and entries, entries are ticked and extracted, files are added and removed, and the
// tree is saved as a new archive. The tree is the edit model: nothing reaches disk before
// "Enregistrer", which writes the nodes in the order they were added.
//
// Node keys: "BIG:" and the entry's number for an entry of the open archive, the file's path for a
// file added from disk, the name prefix up to its last separator ("d\e\") for a folder. Names may
// separate folders with "\" or "/"; folder keys always use "\".
#include "big/form6.h"

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace marvok {

class CoolFileBox;
class UserControl1;
struct ArchiveFailure;

class BigEditorPage : public QWidget {
    Q_OBJECT
public:
    enum class NodeKind { Folder, Entry, NewFile };

    // The page fills `panel` below the panel's title.
    explicit BigEditorPage(QWidget* panel);
    ~BigEditorPage() override;

    // What a click on a file of CoolFileBox1 does: opens `path` when it ends in "big".
    void openArchive(const QString& path);

    // The preview window. Loading of the main window: creates Form6 as a tool window of
    // `mainWindow`, shows it against the main window's right edge and hides it again.
    void loadPreviewWindow(QWidget* mainWindow);
    // Page switching: shown exactly while this page is the current one.
    void setPreviewShown(bool shown);
    // Closing of the main window.
    void unloadPreviewWindow();
    Form6* previewWindow() const { return m_preview; }

    QTreeWidget* archiveTree() const { return m_tree; } // TreeView1
    CoolFileBox* folderTree() const { return m_files; } // CoolFileBox1

    static QString nodeKey(const QTreeWidgetItem* node);
    static NodeKind nodeKind(const QTreeWidgetItem* node);
    // The texts of the node's folders and its own, joined with "\".
    static QString treePath(const QTreeWidgetItem* node);
    // The keys of the folder nodes in the tree.
    QStringList KnownFolders() const { return m_knownFolders.keys(); }

private:
    enum State { Start, Opened, New, Changed, Saved, Cancelled };
    void applyState(State state);

    void newArchive();
    void addFile();
    void deleteNode();
    void save();
    void cancel();
    void extract();
    void nodeClicked(QTreeWidgetItem* node);
    void nodeChanged(QTreeWidgetItem* node);

    void clearTree();
    QTreeWidgetItem* makeNode(const QString& text, const QString& key, NodeKind kind);
    // Places `name` in the tree below its folders, creating the missing ones; the leaf is added
    // unless `shouldAdd` says no once the folders are there. With `topLevel`, nodes at the root are
    // collected there instead of being added to the tree, so that opening adds them in one go.
    QTreeWidgetItem* placeName(const QString& name, const QString& leafKey, NodeKind leafKind,
                               QList<QTreeWidgetItem*>* topLevel, QList<QTreeWidgetItem*>* createdFolders);
    void forgetSubtree(QTreeWidgetItem* node);
    static void reportFailure(const ArchiveFailure& failure);

    CoolFileBox* m_files;                            // CoolFileBox1
    QTreeWidget* m_tree;                             // TreeView1
    UserControl1* m_newArchive;                      // cmdBNew
    UserControl1* m_saveButton;                      // cmdBSave
    UserControl1* m_cancelButton;                    // cmdBCancel
    UserControl1* m_extract;                         // cmdBExtract
    UserControl1* m_add;                             // cmdBAdd
    UserControl1* m_delete;                          // cmdBDelete
    QIcon m_fileImage;                               // image 1
    QIcon m_folderImage;                             // image 2
    QHash<QString, QTreeWidgetItem*> m_knownFolders; // KnownFolders
    QHash<QString, QTreeWidgetItem*> m_addedFiles;   // nodes of files added from disk, by path
    qint64 m_nextSerial = 0;                         // the order nodes were added in
    bool m_ticking = false;
    QPointer<Form6> m_preview;
};

} // namespace marvok

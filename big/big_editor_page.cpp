#include "big/big_editor_page.h"

#include "big/big_archive.h"
#include "big/general_operations.h"
#include "big/window_progress.h"
#include "controls/control_factory.h"
#include "controls/cool_file_box.h"
#include "controls/user_control1.h"
#include "core/dialog_service.h"
#include "core/game_environment.h"
#include "core/message_box.h"
#include "core/text_codec.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <utility>

namespace marvok {
namespace {

// The page sits below the panel's title.
constexpr int kTop = 48;

constexpr int KeyRole = Qt::UserRole;
constexpr int KindRole = Qt::UserRole + 1;
constexpr int SerialRole = Qt::UserRole + 2;

const QString kEntryPrefix = QStringLiteral("BIG:");
const QString kAddFilter = QStringLiteral("Tous les fichiers (*.*)|*.*");
const QString kSaveFilter = QStringLiteral("Fichiers BIG|*.big|Tous les fichiers (*.*)|*.*");
const QString kNamePrompt =
    QStringLiteral("Veuillez entrer le nom qui servira à identifier ce fichier dans le fichier BIG.");
const QString kExtractPrompt = QStringLiteral("Extract files in :");
// Lines of message 50 before the rest is only counted.
constexpr int kListedFailures = 15;

enum class Flag { Off, On, Same };
using enum Flag;

struct StateFlags {
    Flag newShown, saveShown, saveEnabled, cancelShown, extractEnabled, addEnabled, deleteEnabled;
};

// Indexed by BigEditorPage::State; columns as in StateFlags.
constexpr StateFlags kStates[] = {
    {On, Off, Off, Off, Off, Off, Off},     // start
    {Same, Same, Same, Same, Same, On, On}, // opened
    {Off, On, Off, On, Off, On, On},        // new
    {Off, On, On, On, Off, On, On},         // changed
    {On, Off, Same, Off, Off, Off, Off},    // saved
    {On, Off, Same, Off, On, Off, Off},     // cancelled
};

void setFlag(Flag flag, void (QWidget::*set)(bool), QWidget* widget) {
    if (flag != Same)
        (widget->*set)(flag == On);
}

bool isSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

// The user's documents folder as the settings store gives it (the demo environment sets one), else
// the system's.
QString documentsFolder() {
    const QString personal =
        registry().GetString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal"));
    return !personal.isEmpty() && QFileInfo(personal).isDir() ? personal : QString();
}

// The name "Ajouter" proposes for a file: its path without the root, with the archive's separator.
QString proposedName(const QString& path) {
    QString name = QDir::fromNativeSeparators(path);
    const QString root = QFileInfo(name).absoluteDir().rootPath();
    if (name.startsWith(root))
        name.remove(0, root.size());
    return name.replace(u'/', u'\\');
}

qsizetype entryNumberOf(const QString& key) {
    bool ok = false;
    const qsizetype number = key.mid(kEntryPrefix.size()).toLongLong(&ok);
    return ok ? number : -1;
}

} // namespace

BigEditorPage::BigEditorPage(QWidget* panel)
    : QWidget(panel)
    , m_files(nullptr)
    , m_tree(new QTreeWidget(this))
    , m_newArchive(makeButton(this, "cmdBNew", "Nouveau fichier BIG", "NewBig", {16, 372, 250, 21}))
    , m_saveButton(makeButton(this, "cmdBSave", "Enregistrer", "Save", {16, 372, 121, 21}))
    , m_cancelButton(makeButton(this, "cmdBCancel", "Annuler", "Cancel", {145, 372, 121, 21}))
    , m_extract(makeButton(this, "cmdBExtract", "Extraire", "Extract", {528, 372, 116, 21}))
    , m_add(makeButton(this, "cmdBAdd", "Ajouter", "Add", {276, 372, 116, 21}))
    , m_delete(makeButton(this, "cmdBDelete", "Supprimer", "Delete", {402, 372, 116, 21})) {
    setObjectName(QStringLiteral("BigEditorPage"));
    setGeometry(0, kTop, panel->width(), panel->height() - kTop);

    CoolFileBox::Properties properties;
    properties.ShowFiles = true;
    properties.Filter = QStringLiteral("*.big");
    properties.DocumentsFolder = documentsFolder();
    m_files = new CoolFileBox(this, properties);
    m_files->setObjectName(QStringLiteral("CoolFileBox1"));
    m_files->setGeometry(16, 0, 250, 362);

    m_tree->setObjectName(QStringLiteral("TreeView1"));
    m_tree->setGeometry(276, 0, 368, 362);
    m_tree->setHeaderHidden(true);
    // Every row is one line of text: the tree lays out an archive of 100,000 entries at once.
    m_tree->setUniformRowHeights(true);
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    m_tree->setIconSize(QSize(16, 16));
    m_fileImage =
        QIcon::fromTheme(QStringLiteral("text-x-generic"), style()->standardIcon(QStyle::SP_FileIcon));
    m_folderImage = QIcon::fromTheme(QStringLiteral("folder"), style()->standardIcon(QStyle::SP_DirIcon));

    connect(m_files, &CoolFileBox::NodeClick, this,
            [this](QTreeWidgetItem* node) { openArchive(CoolFileBox::Key(node)); });
    connect(m_tree, &QTreeWidget::itemClicked, this, &BigEditorPage::nodeClicked);
    connect(m_tree, &QTreeWidget::itemChanged, this, &BigEditorPage::nodeChanged);
    connect(m_newArchive, &UserControl1::Click, this, &BigEditorPage::newArchive);
    connect(m_add, &UserControl1::Click, this, &BigEditorPage::addFile);
    connect(m_delete, &UserControl1::Click, this, &BigEditorPage::deleteNode);
    connect(m_saveButton, &UserControl1::Click, this, &BigEditorPage::save);
    connect(m_cancelButton, &UserControl1::Click, this, &BigEditorPage::cancel);
    connect(m_extract, &UserControl1::Click, this, &BigEditorPage::extract);

    applyState(Start);
}

BigEditorPage::~BigEditorPage() {
    unloadPreviewWindow();
}

void BigEditorPage::applyState(State state) {
    const StateFlags& flags = kStates[state];
    setFlag(flags.newShown, &QWidget::setVisible, m_newArchive);
    setFlag(flags.saveShown, &QWidget::setVisible, m_saveButton);
    setFlag(flags.saveEnabled, &QWidget::setEnabled, m_saveButton);
    setFlag(flags.cancelShown, &QWidget::setVisible, m_cancelButton);
    setFlag(flags.extractEnabled, &QWidget::setEnabled, m_extract);
    setFlag(flags.addEnabled, &QWidget::setEnabled, m_add);
    setFlag(flags.deleteEnabled, &QWidget::setEnabled, m_delete);
}

QString BigEditorPage::nodeKey(const QTreeWidgetItem* node) {
    return node->data(0, KeyRole).toString();
}

BigEditorPage::NodeKind BigEditorPage::nodeKind(const QTreeWidgetItem* node) {
    return NodeKind(node->data(0, KindRole).toInt());
}

QString BigEditorPage::treePath(const QTreeWidgetItem* node) {
    QStringList parts;
    for (const QTreeWidgetItem* at = node; at; at = at->parent())
        parts.prepend(at->text(0));
    return parts.join(u'\\');
}

QTreeWidgetItem* BigEditorPage::makeNode(const QString& text, const QString& key, NodeKind kind) {
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, KeyRole, key);
    node->setData(0, KindRole, int(kind));
    node->setData(0, SerialRole, m_nextSerial++);
    node->setCheckState(0, Qt::Unchecked);
    node->setIcon(0, kind == NodeKind::Folder ? m_folderImage : m_fileImage);
    return node;
}

QTreeWidgetItem* BigEditorPage::placeName(const QString& name, const QString& leafKey, NodeKind leafKind,
                                          QList<QTreeWidgetItem*>* topLevel,
                                          QList<QTreeWidgetItem*>* createdFolders) {
    const auto addUnder = [&](QTreeWidgetItem* parent, QTreeWidgetItem* node) {
        if (parent)
            parent->addChild(node);
        else if (topLevel)
            topLevel->append(node);
        else
            m_tree->addTopLevelItem(node);
    };
    qsizetype lastSeparator = -1;
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (isSeparator(name[i])) {
            lastSeparator = i;
            break;
        }
    }
    QTreeWidgetItem* parent = nullptr;
    if (lastSeparator >= 0) {
        QString keys = name.left(lastSeparator + 1);
        keys.replace(u'/', u'\\');
        // Entries of one folder usually follow each other: their folder is known as a whole.
        parent = m_knownFolders.value(keys);
        const bool walk = !parent;
        for (qsizetype start = 0, i = 0; walk && i <= lastSeparator; ++i) {
            if (!isSeparator(name[i]))
                continue;
            const QString folderName = name.mid(start, i - start);
            start = i + 1;
            // A leading separator or a doubled one names no folder.
            if (folderName.isEmpty())
                continue;
            const QString key = keys.left(i + 1);
            QTreeWidgetItem* folder = m_knownFolders.value(key);
            if (!folder) {
                folder = makeNode(folderName, key, NodeKind::Folder);
                addUnder(parent, folder);
                m_knownFolders.insert(key, folder);
                if (createdFolders)
                    createdFolders->append(folder);
            }
            parent = folder;
        }
    }
    if (leafKind == NodeKind::NewFile && m_addedFiles.contains(leafKey))
        return nullptr;
    QTreeWidgetItem* leaf = makeNode(name.mid(lastSeparator + 1), leafKey, leafKind);
    addUnder(parent, leaf);
    if (leafKind == NodeKind::NewFile)
        m_addedFiles.insert(leafKey, leaf);
    return leaf;
}

void BigEditorPage::clearTree() {
    m_knownFolders.clear();
    m_addedFiles.clear();
    m_tree->clear();
}

void BigEditorPage::reportFailure(const ArchiveFailure& failure) {
    if (failure.message == 2)
        ShowFailure(failure.details);
    else
        ShowTableMessage(failure.message, failure.value);
}

void BigEditorPage::openArchive(const QString& path) {
    if (path.right(3).toLower() != u"big")
        return;
    clearTree();
    ArchiveFailure failure;
    const IndexReadResult read = ReadArchiveIndex(path, &failure);
    if (read != IndexReadResult::Read) {
        m_add->setEnabled(false);
        m_delete->setEnabled(false);
        m_extract->setEnabled(false);
        if (read == IndexReadResult::Failed)
            reportFailure(failure);
        return;
    }
    CurrentArchivePath() = path;

    const ArchiveEntries& index = ArchiveIndex();
    QList<QTreeWidgetItem*> topLevel;
    m_tree->setUpdatesEnabled(false);
    for (qsizetype number = 0; number < index.size(); ++number)
        placeName(index[number].Name, kEntryPrefix + QString::number(number), NodeKind::Entry, &topLevel,
                  nullptr);
    m_tree->addTopLevelItems(topLevel);
    // Every folder is expanded as it is made; here they are all new.
    m_tree->expandAll();
    m_tree->setUpdatesEnabled(true);
    applyState(Opened);
}

void BigEditorPage::newArchive() {
    applyState(New);
    clearTree();
}

void BigEditorPage::addFile() {
    applyState(Changed);
    const QString source = dialogs().openFile(QString(), kAddFilter, QString());
    if (source.isEmpty())
        return;
    // A cancelled box answers an empty name, as the original's did: the file goes to the root.
    const QString name =
        dialogs().inputBox(kNamePrompt, ProgramTitle, proposedName(source)).value_or(QString());
    if (!fitsWindows1252(name)) {
        ShowTableMessage(Msg::CannotEncodeName, name);
        return;
    }
    QList<QTreeWidgetItem*> createdFolders;
    placeName(name, source, NodeKind::NewFile, nullptr, &createdFolders);
    for (QTreeWidgetItem* folder : createdFolders)
        folder->setExpanded(true);
}

void BigEditorPage::forgetSubtree(QTreeWidgetItem* node) {
    const QString key = nodeKey(node);
    switch (nodeKind(node)) {
    case NodeKind::Folder:
        if (m_knownFolders.value(key) == node)
            m_knownFolders.remove(key);
        break;
    case NodeKind::NewFile:
        if (m_addedFiles.value(key) == node)
            m_addedFiles.remove(key);
        break;
    case NodeKind::Entry:
        break;
    }
    for (int i = 0; i < node->childCount(); ++i)
        forgetSubtree(node->child(i));
}

void BigEditorPage::deleteNode() {
    QTreeWidgetItem* node = m_tree->currentItem();
    if (!node || !node->isSelected())
        return;
    applyState(Changed);
    forgetSubtree(node);
    delete node;
}

void BigEditorPage::save() {
    std::vector<std::pair<qint64, const QTreeWidgetItem*>> nodes;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (nodeKind(*it) != NodeKind::Folder)
            nodes.emplace_back((*it)->data(0, SerialRole).toLongLong(), *it);
    }
    std::sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    SaveList list;
    list.reserve(qsizetype(nodes.size()));
    for (const auto& [serial, node] : nodes) {
        const QString key = nodeKey(node);
        if (nodeKind(node) == NodeKind::Entry)
            list.append(SaveItem::kept(entryNumberOf(key)));
        else
            list.append(SaveItem::fromFile(key, treePath(node)));
    }

    const QString path = dialogs().saveFile(QString(), kSaveFilter, QString());
    // Nothing is written, and the tree stays as it is to go on editing.
    if (path.isEmpty())
        return;
    WindowProgress progress;
    ArchiveFailure failure;
    if (!WriteArchive(path, list, &progress, &failure)) {
        // The archive on disk is as it was; the tree keeps the changes so that nothing is lost.
        reportFailure(failure);
        return;
    }
    // Saved over the open archive: its index must describe the new file.
    if (!CurrentArchivePath().isEmpty() && QFileInfo(path) == QFileInfo(CurrentArchivePath()))
        ReadArchiveIndex(path);
    applyState(Saved);
    clearTree();
}

void BigEditorPage::cancel() {
    applyState(Cancelled);
    clearTree();
}

void BigEditorPage::nodeChanged(QTreeWidgetItem* node) {
    // Only the user's ticks spread, and only to the direct children.
    if (m_ticking)
        return;
    m_ticking = true;
    const Qt::CheckState state = node->checkState(0);
    for (int i = 0; i < node->childCount(); ++i)
        node->child(i)->setCheckState(0, state);
    m_ticking = false;
}

void BigEditorPage::nodeClicked(QTreeWidgetItem* node) {
    const NodeKind kind = nodeKind(node);
    m_extract->setEnabled(kind == NodeKind::Entry ||
                          (kind == NodeKind::Folder && node->checkState(0) == Qt::Checked));
    if (!m_preview)
        return;
    PreviewNode preview;
    preview.text = node->text(0);
    switch (kind) {
    case NodeKind::Folder:
        preview.kind = PreviewNode::Folder;
        break;
    case NodeKind::Entry:
        preview.kind = PreviewNode::Entry;
        preview.entryNumber = entryNumberOf(nodeKey(node));
        break;
    case NodeKind::NewFile:
        preview.kind = PreviewNode::NewFile;
        preview.sourcePath = nodeKey(node);
        break;
    }
    m_preview->ShowPreview(preview);
}

void BigEditorPage::extract() {
    const QString folder = dialogs().chooseFolder(kExtractPrompt);
    if (folder.isEmpty())
        return;
    const ArchiveEntries& index = ArchiveIndex();
    WindowProgress progress;
    QStringList failures;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const QTreeWidgetItem* node = *it;
        if (nodeKind(node) != NodeKind::Entry || node->checkState(0) != Qt::Checked)
            continue;
        const qsizetype number = entryNumberOf(nodeKey(node));
        const QString name = number >= 0 && number < index.size() ? index[number].Name : node->text(0);
        // Only a plain file name lands in the folder: nothing is ever written outside it.
        const QString target = extractionTargetPath(folder, name);
        if (target.isEmpty()) {
            failures << name + QStringLiteral(" : ce nom ne peut pas servir de nom de fichier");
            continue;
        }
        if (FileExists(target)) {
            MessageFileName() = target;
            ShowTableMessage(1);
        }
        ArchiveFailure failure;
        if (!ExtractEntry(number, CurrentArchivePath(), target, &progress, &failure))
            failures << name + u" : " + failure.details.description;
    }
    progress.hide();
    if (failures.isEmpty()) {
        ShowTableMessage(17);
        return;
    }
    // Telling of success when entries were left out would hide the loss.
    const qsizetype count = failures.size();
    if (count > kListedFailures) {
        failures.resize(kListedFailures);
        failures << u"... et " + QString::number(count - kListedFailures) + u" autres.";
    }
    ShowTableMessage(Msg::BigExtractionIncomplete, failures.join(QStringLiteral("\r\n")));
}

void BigEditorPage::loadPreviewWindow(QWidget* mainWindow) {
    unloadPreviewWindow();
    m_preview = new Form6(mainWindow);
    m_preview->placeAtLoading();
}

void BigEditorPage::setPreviewShown(bool shown) {
    if (!m_preview)
        return;
    if (shown) {
        m_preview->dock();
        m_preview->show();
    } else {
        m_preview->hide();
    }
}

void BigEditorPage::unloadPreviewWindow() {
    delete m_preview.data();
}

} // namespace marvok

#include "controls/cool_file_box.h"

#include "core/paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeDatabase>
#include <QMouseEvent>
#include <QSet>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace marvok {
namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int PathRole = Qt::UserRole + 1;
constexpr int KindRole = Qt::UserRole + 2;
constexpr int ListedRole = Qt::UserRole + 3;

const QString kDesktopMarker = QStringLiteral("*desk*");
const QString kComputerMarker = QStringLiteral("*root*");
const QString kDocumentsMarker = QStringLiteral("*MyDocuments*");
const QString kNetworkMarker = QStringLiteral("*NetHood*");
const QString kCloseFolder = QStringLiteral("*CloseFolder*");
const QString kOpenFolder = QStringLiteral("*OpenFolder*");
const QString kHardDrive = QStringLiteral("*HardDrive*");
const QString kLanDrive = QStringLiteral("*LanDrive*");
const QString kCdRom = QStringLiteral("*CDRom*");
const QString kFloppy = QStringLiteral("*Floppy*");

// The images of the tree, in the order the control loads them: the desktop's icon theme first, the
// style's own pictures when no theme is installed.
struct ImageSource {
    const QString& key;
    const char* themeName;
    QStyle::StandardPixmap standard;
};
const ImageSource kImageSources[] = {
    {kDesktopMarker, "user-desktop", QStyle::SP_DesktopIcon},
    {kComputerMarker, "computer", QStyle::SP_ComputerIcon},
    {kDocumentsMarker, "folder-documents", QStyle::SP_DirHomeIcon},
    {kNetworkMarker, "folder-remote", QStyle::SP_DriveNetIcon},
    {kCloseFolder, "folder", QStyle::SP_DirClosedIcon},
    {kOpenFolder, "folder-open", QStyle::SP_DirOpenIcon},
    {kHardDrive, "drive-harddisk", QStyle::SP_DriveHDIcon},
    {kLanDrive, "network-server", QStyle::SP_DriveNetIcon},
    {kCdRom, "media-optical", QStyle::SP_DriveCDIcon},
    {kFloppy, "drive-removable-media", QStyle::SP_DriveFDIcon},
};

// File systems of the system itself, which a user does not browse as volumes.
const QSet<QByteArray> kSystemFileSystems = {
    "autofs",          "binfmt_misc", "bpf",         "cgroup",     "cgroup2",
    "configfs",        "debugfs",     "devpts",      "devtmpfs",   "efivarfs",
    "fuse.gvfsd-fuse", "fuse.lxcfs",  "fuse.portal", "fusectl",    "hugetlbfs",
    "mqueue",          "nfsd",        "nsfs",        "overlay",    "proc",
    "pstore",          "ramfs",       "rpc_pipefs",  "securityfs", "selinuxfs",
    "squashfs",        "sysfs",       "tmpfs",       "tracefs",
};
const QSet<QByteArray> kNetworkFileSystems = {
    "9p",         "afs",       "ceph",  "cifs", "davfs", "fuse.curlftpfs", "fuse.rclone", "fuse.s3fs",
    "fuse.sshfs", "glusterfs", "ncpfs", "nfs",  "nfs4",  "smb3",           "smbfs",       "sshfs",
};
const QSet<QByteArray> kOpticalFileSystems = {"iso9660", "udf"};

// Mount points below these belong to the system.
const QString kSystemFolders[] = {QStringLiteral("/proc/"), QStringLiteral("/sys/"), QStringLiteral("/dev/"),
                                  QStringLiteral("/snap/")};

// /proc/mounts writes blanks, tabs, line breaks and "\" in octal.
QByteArray unescapeMountField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && value < 256) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

bool isSystemMountPoint(const QString& root) {
    if (root.startsWith(u"/run/"))
        return !root.startsWith(u"/run/media/");
    for (const QString& folder : kSystemFolders) {
        if (root.startsWith(folder))
            return true;
    }
    return false;
}

QByteArray readFirstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readLine().trimmed();
}

// Whether the block device `device` (/dev/sdb1, /dev/disk/by-label/USB) sits on a removable disk.
bool isRemovableDevice(const QString& device, const QString& sysBlock) {
    const QString resolved = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(resolved.isEmpty() ? device : resolved).fileName();
    QString entry = QFileInfo(joinPath(sysBlock, name)).canonicalFilePath();
    if (entry.isEmpty())
        return false;
    // A partition's folder lies inside its disk's.
    if (QFileInfo::exists(joinPath(entry, QStringLiteral("partition"))))
        entry = QFileInfo(entry).path();
    return readFirstLine(joinPath(entry, QStringLiteral("removable"))) == "1" || entry.contains(u"/usb");
}

MountedVolume::Type volumeType(const QByteArray& device, const QByteArray& fileSystem, const QString& root,
                               const QString& sysBlock) {
    if (kNetworkFileSystems.contains(fileSystem) || device.startsWith("//"))
        return MountedVolume::Network;
    const QString devicePath = QFile::decodeName(device);
    const bool blockDevice = devicePath.startsWith(u"/dev/");
    if (kOpticalFileSystems.contains(fileSystem) || devicePath.startsWith(u"/dev/sr"))
        return MountedVolume::Optical;
    if (blockDevice)
        return isRemovableDevice(devicePath, sysBlock) ? MountedVolume::Removable : MountedVolume::Fixed;
    // The root of a container or a live system has no disk of its own, but is where everything is.
    if (root == u"/")
        return MountedVolume::Fixed;
    return MountedVolume::Other;
}

const QString& volumeImage(MountedVolume::Type type) {
    static const QString none;
    switch (type) {
    case MountedVolume::Removable:
        return kFloppy;
    case MountedVolume::Fixed:
        return kHardDrive;
    case MountedVolume::Network:
        return kLanDrive;
    case MountedVolume::Optical:
        return kCdRom;
    case MountedVolume::Other:
        break;
    }
    return none;
}

QTreeWidgetItem* makeNode(const QString& text, const QString& key, const QString& path,
                          CoolFileBox::NodeKind kind, const QIcon& icon) {
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, KeyRole, key);
    node->setData(0, PathRole, path);
    node->setData(0, KindRole, int(kind));
    if (!icon.isNull())
        node->setIcon(0, icon);
    return node;
}

void addPlaceholder(QTreeWidgetItem* node, const QString& text) {
    node->addChild(makeNode(text, CoolFileBox::Key(node) + CoolFileBox::SpecialPlaceholderText, {},
                            CoolFileBox::Placeholder, {}));
}

int shiftMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

int buttonMask(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

// Restores the normal pointer however listing ends.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

QString networkPlacesFolder() {
    // GVFS keeps the network shares the user has opened as folders there.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return {};
    const QString folder = joinPath(runtime, QStringLiteral("gvfs"));
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString folderOrSystem(const QString& chosen, QStandardPaths::StandardLocation location) {
    return withTrailingSeparator(chosen.isEmpty() ? QStandardPaths::writableLocation(location) : chosen);
}

} // namespace

QList<MountedVolume> mountedVolumes(const QByteArray& mountTable, const QString& sysBlock) {
    QList<MountedVolume> volumes;
    for (const QByteArray& line : mountTable.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const QByteArray device = unescapeMountField(fields[0]);
        const QString root = withTrailingSeparator(QFile::decodeName(unescapeMountField(fields[1])));
        const QByteArray& fileSystem = fields[2];
        if (root != u"/" && (kSystemFileSystems.contains(fileSystem) || isSystemMountPoint(root)))
            continue;
        if (!QFileInfo(root).isDir())
            continue;
        const MountedVolume volume{root, volumeType(device, fileSystem, root, sysBlock)};
        // A folder mounted over again shows what was mounted last, in the first one's place.
        const auto known = std::find_if(volumes.begin(), volumes.end(),
                                        [&](const MountedVolume& v) { return v.root == root; });
        if (known != volumes.end())
            *known = volume;
        else
            volumes.append(volume);
    }
    return volumes;
}

QList<MountedVolume> mountedVolumes() {
    QFile table(QStringLiteral("/proc/mounts"));
    if (!table.open(QIODevice::ReadOnly))
        return {{QStringLiteral("/"), MountedVolume::Fixed}};
    return mountedVolumes(table.readAll());
}

CoolFileBox::CoolFileBox(QWidget* parent)
    : CoolFileBox(parent, Properties()) {}

CoolFileBox::CoolFileBox(QWidget* parent, const Properties& properties)
    : QWidget(parent)
    , m_properties(properties)
    , m_tree(new QTreeWidget(this)) {
    m_tree->setObjectName(QStringLiteral("trv_File"));
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setMouseTracking(true);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    applyFrame();
    setMousePointer(m_properties.MousePointer);

    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &CoolFileBox::listNode);
    connect(m_tree, &QTreeWidget::itemClicked, this, &CoolFileBox::nodeClicked);
    start();
}

QString CoolFileBox::Key(const QTreeWidgetItem* node) {
    return node->data(0, KeyRole).toString();
}

QString CoolFileBox::FullPath(const QTreeWidgetItem* node) {
    return node->data(0, PathRole).toString();
}

CoolFileBox::NodeKind CoolFileBox::Kind(const QTreeWidgetItem* node) {
    return NodeKind(node->data(0, KindRole).toInt());
}

bool CoolFileBox::isListed(const QTreeWidgetItem* node) {
    return node->data(0, ListedRole).toBool();
}

void CoolFileBox::start() {
    BusyPointer busy;
    loadImages();
    const QString desktop = folderOrSystem(m_properties.DesktopFolder, QStandardPaths::DesktopLocation);
    m_root =
        makeNode(DesktopText, kDesktopMarker + desktop, desktop, Desktop, m_images.value(kDesktopMarker));
    m_tree->addTopLevelItem(m_root);
    listNode(m_root);
    m_root->setExpanded(true);
    Refresh();
}

void CoolFileBox::loadImages() {
    QStyle* style = this->style();
    for (const ImageSource& source : kImageSources)
        m_images.insert(source.key, QIcon::fromTheme(QString::fromLatin1(source.themeName),
                                                     style->standardIcon(source.standard)));
    // A folder shows itself open while it is selected.
    QIcon folder;
    const QSize size(16, 16);
    for (const QSize& each : {size, size * 2}) {
        folder.addPixmap(m_images.value(kCloseFolder).pixmap(each), QIcon::Normal);
        folder.addPixmap(m_images.value(kOpenFolder).pixmap(each), QIcon::Selected);
    }
    m_images.insert(kCloseFolder, folder);
}

void CoolFileBox::listNode(QTreeWidgetItem* node) {
    if (isListed(node) || Kind(node) == Placeholder || Kind(node) == File)
        return;
    BusyPointer busy;
    node->setData(0, ListedRole, true);
    if (node->childCount() > 0 && Kind(node->child(0)) == Placeholder)
        delete node->takeChild(0);

    switch (Kind(node)) {
    case Desktop: {
        auto* computer =
            makeNode(ComputerText, kComputerMarker, QString(), Computer, m_images.value(kComputerMarker));
        const QString documents =
            folderOrSystem(m_properties.DocumentsFolder, QStandardPaths::DocumentsLocation);
        auto* myDocuments = makeNode(DocumentsText, kDocumentsMarker + documents, documents, Documents,
                                     m_images.value(kDocumentsMarker));
        addPlaceholder(myDocuments, SpecialPlaceholderText);
        node->addChild(computer);
        node->addChild(myDocuments);
        const QString network = networkPlacesFolder();
        if (!network.isEmpty()) {
            const QString path = withTrailingSeparator(network);
            auto* places = makeNode(NetworkPlacesText, kNetworkMarker + path, path, NetworkPlaces,
                                    m_images.value(kNetworkMarker));
            addPlaceholder(places, SpecialPlaceholderText);
            node->addChild(places);
        }
        listDrives(computer);
        listFolderEntries(node);
        break;
    }
    case Computer:
        listDrives(node);
        break;
    default:
        listFolderEntries(node);
        break;
    }
}

void CoolFileBox::listDrives(QTreeWidgetItem* computer) {
    computer->setData(0, ListedRole, true);
    QList<QTreeWidgetItem*> drives;
    for (const MountedVolume& volume : mountedVolumes()) {
        auto* drive = makeNode(volume.root, Key(computer) + volume.root, volume.root, Drive,
                               m_images.value(volumeImage(volume.type)));
        addPlaceholder(drive, SpecialPlaceholderText);
        drives.append(drive);
    }
    computer->addChildren(drives);
}

void CoolFileBox::listFolderEntries(QTreeWidgetItem* node) {
    const QString path = withTrailingSeparator(FullPath(node));
    const QString key = Key(node);
    const bool hidden = m_properties.ShowHiddenFiles;
    QList<QTreeWidgetItem*> children;
    const QIcon folderIcon = m_images.value(kCloseFolder);
    for (const QString& name : listFolder(path, QStringLiteral("*.*"), EntryKind::Folders, hidden)) {
        auto* folder = makeNode(name, key + name + u'/', path + name + u'/', Folder, folderIcon);
        folder->addChild(
            makeNode(FolderPlaceholderText, key + name + u'/' + SpecialPlaceholderText, {}, Placeholder, {}));
        children.append(folder);
    }
    if (m_properties.ShowFiles) {
        int files = 0;
        for (const QString& name : listFolder(path, QStringLiteral("*.*"), EntryKind::Files, hidden)) {
            if (!passesFilter(name))
                continue;
            if (files++ == MaxFilesPerFolder)
                break;
            children.append(makeNode(name, key + name, path + name, File, fileIcon(name)));
        }
    }
    node->addChildren(children);
}

bool CoolFileBox::passesFilter(const QString& fileName) const {
    return m_properties.Filter.isEmpty() ||
           m_properties.Filter.contains(fileName.right(4), Qt::CaseInsensitive);
}

QIcon CoolFileBox::fileIcon(const QString& fileName) {
    static const QMimeDatabase mimeTypes;
    const QMimeType type = mimeTypes.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    const auto cached = m_fileIcons.constFind(type.name());
    if (cached != m_fileIcons.constEnd())
        return *cached;
    static const QFileIconProvider provider;
    const QIcon icon = QIcon::fromTheme(
        type.iconName(), QIcon::fromTheme(type.genericIconName(), provider.icon(QFileIconProvider::File)));
    m_fileIcons.insert(type.name(), icon);
    return icon;
}

void CoolFileBox::nodeClicked(QTreeWidgetItem* node) {
    if (Kind(node) == Placeholder)
        return;
    const QString key = Key(node);
    node->setData(0, KeyRole, FullPath(node));
    emit NodeClick(node);
    node->setData(0, KeyRole, key);
}

void CoolFileBox::Refresh() {
    m_tree->viewport()->update();
}

void CoolFileBox::setBorderStyle(int style) {
    m_properties.BorderStyle = style;
    applyFrame();
}

void CoolFileBox::setAppearance(int appearance) {
    m_properties.Appearance = appearance;
    applyFrame();
}

void CoolFileBox::applyFrame() {
    if (m_properties.Appearance == 1) {
        m_tree->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else if (m_properties.BorderStyle == 1) {
        m_tree->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_tree->setLineWidth(1);
    } else {
        m_tree->setFrameStyle(QFrame::NoFrame);
    }
}

void CoolFileBox::setMousePointer(int pointer) {
    m_properties.MousePointer = pointer;
    static const QHash<int, Qt::CursorShape> shapes = {
        {1, Qt::ArrowCursor},   {2, Qt::CrossCursor},      {3, Qt::IBeamCursor},    {4, Qt::ArrowCursor},
        {5, Qt::SizeAllCursor}, {6, Qt::SizeBDiagCursor},  {7, Qt::SizeVerCursor},  {8, Qt::SizeFDiagCursor},
        {9, Qt::SizeHorCursor}, {10, Qt::UpArrowCursor},   {11, Qt::WaitCursor},    {12, Qt::ForbiddenCursor},
        {13, Qt::BusyCursor},   {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor},
    };
    QWidget* surface = m_tree->viewport();
    if (pointer == 99 && !m_properties.MouseIcon.isNull())
        surface->setCursor(QCursor(m_properties.MouseIcon));
    else if (shapes.contains(pointer))
        surface->setCursor(shapes.value(pointer));
    else
        surface->unsetCursor();
}

void CoolFileBox::setMouseIcon(const QPixmap& icon) {
    m_properties.MouseIcon = icon;
    setMousePointer(m_properties.MousePointer);
}

bool CoolFileBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            emit KeyDown(key->key(), shiftMask(key->modifiers()));
            if (!key->text().isEmpty())
                emit KeyPress(key->text().at(0).unicode());
        } else if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            emit KeyUp(key->key(), shiftMask(key->modifiers()));
        }
    } else if (watched == m_tree->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            emit MouseDown(buttonMask(mouse->button()), shiftMask(mouse->modifiers()), at.x(), at.y());
            break;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            emit MouseMove(buttonMask(mouse->buttons()), shiftMask(mouse->modifiers()), at.x(), at.y());
            break;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            emit MouseUp(buttonMask(mouse->button()), shiftMask(mouse->modifiers()), at.x(), at.y());
            emit Click();
            break;
        }
        case QEvent::MouseButtonDblClick:
            emit DblClick();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace marvok

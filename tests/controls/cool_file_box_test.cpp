#include "controls/cool_file_box.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;
using namespace marvok::test;

namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QString& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name)) {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedVariable() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

class CoolFileBoxTest : public ::testing::Test {
protected:
    CoolFileBoxTest()
        : runtime("XDG_RUNTIME_DIR", QString()) {}

    void create(bool showFiles, const QString& filter = {}, bool showHidden = false) {
        CoolFileBox::Properties properties;
        properties.ShowFiles = showFiles;
        properties.Filter = filter;
        properties.ShowHiddenFiles = showHidden;
        properties.DesktopFolder = desktop.path();
        properties.DocumentsFolder = documents.path();
        box = std::make_unique<CoolFileBox>(nullptr, properties);
        box->resize(300, 600);
        box->show();
    }

    static QStringList texts(const QTreeWidgetItem* node) {
        QStringList list;
        for (int i = 0; i < node->childCount(); ++i)
            list << node->child(i)->text(0);
        return list;
    }

    static QTreeWidgetItem* child(QTreeWidgetItem* node, const QString& text) {
        for (int i = 0; i < node->childCount(); ++i) {
            if (node->child(i)->text(0) == text)
                return node->child(i);
        }
        ADD_FAILURE() << "no child " << text.toStdString() << " in " << texts(node).join(u", ").toStdString();
        return nullptr;
    }

    QTreeWidgetItem* open(QTreeWidgetItem* node, const QString& text) {
        QTreeWidgetItem* found = child(node, text);
        if (found)
            found->setExpanded(true);
        return found;
    }

    void click(QTreeWidgetItem* node) {
        box->tree()->scrollToItem(node);
        QTest::mouseClick(box->tree()->viewport(), Qt::LeftButton, {},
                          box->tree()->visualItemRect(node).center());
    }

    void makeFolder(const QString& relative) { QDir().mkpath(desktop.file(relative)); }
    void makeFile(const QString& relative) { writeBytes(desktop.file(relative), "x"); }

    // Desktop/Games: two folders, two archives and a text, hidden ones of each kind.
    void makeGames() {
        makeFolder(QStringLiteral("Games/Data"));
        makeFolder(QStringLiteral("Games/Empty"));
        makeFolder(QStringLiteral("Games/.hidden"));
        for (const char* name : {"Mod.big", "MOD2.BIG", "readme.txt", ".secret.big", "big"})
            makeFile(u"Games/" + QString::fromLatin1(name));
    }

    ScopedVariable runtime; // no network places unless a test makes them
    TempFolder desktop;
    TempFolder documents;
    std::unique_ptr<CoolFileBox> box;
};

} // namespace

TEST_F(CoolFileBoxTest, TheDesktopHoldsTheComputerTheDocumentsAndItsOwnFolders) {
    makeFolder(QStringLiteral("Games"));
    makeFile(QStringLiteral("Mod.big"));
    makeFolder(QStringLiteral("Letters"));
    writeBytes(documents.file(QStringLiteral("Saved/x.ini")), "x");
    create(true, QStringLiteral("*.big"));

    QTreeWidgetItem* root = box->rootNode();
    EXPECT_EQ(box->tree()->objectName(), QStringLiteral("trv_File"));
    EXPECT_EQ(root->text(0), QStringLiteral("Bureau"));
    EXPECT_EQ(CoolFileBox::Key(root), u"*desk*" + desktop.path() + u'/');
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(texts(root),
              QStringList({QStringLiteral("Poste de travail"), QStringLiteral("Mes documents"),
                           QStringLiteral("Games"), QStringLiteral("Letters"), QStringLiteral("Mod.big")}));
    EXPECT_FALSE(root->icon(0).isNull());

    QTreeWidgetItem* computer = root->child(0);
    EXPECT_EQ(CoolFileBox::Key(computer), QStringLiteral("*root*"));
    EXPECT_EQ(CoolFileBox::FullPath(computer), QString());
    const QList<MountedVolume> volumes = mountedVolumes();
    ASSERT_EQ(computer->childCount(), volumes.size());
    for (int i = 0; i < volumes.size(); ++i) {
        QTreeWidgetItem* drive = computer->child(i);
        EXPECT_EQ(drive->text(0), volumes[i].root);
        EXPECT_EQ(CoolFileBox::Key(drive), u"*root*" + volumes[i].root);
        ASSERT_EQ(drive->childCount(), 1);
        EXPECT_EQ(drive->child(0)->text(0), QStringLiteral("***BIDON***"));
    }
    // The computer is listed with the root, so opening it lists nothing twice.
    computer->setExpanded(true);
    EXPECT_EQ(computer->childCount(), volumes.size());

    QTreeWidgetItem* myDocuments = root->child(1);
    const QString documentsKey = u"*MyDocuments*" + documents.path() + u'/';
    EXPECT_EQ(CoolFileBox::Key(myDocuments), documentsKey);
    ASSERT_EQ(texts(myDocuments), QStringList({QStringLiteral("***BIDON***")}));
    EXPECT_EQ(CoolFileBox::Key(myDocuments->child(0)), documentsKey + u"***BIDON***");
    myDocuments->setExpanded(true);
    EXPECT_EQ(texts(myDocuments), QStringList({QStringLiteral("Saved")}));
    EXPECT_EQ(CoolFileBox::Key(myDocuments->child(0)), documentsKey + u"Saved/");

    QTreeWidgetItem* games = child(root, QStringLiteral("Games"));
    EXPECT_EQ(texts(games), QStringList({QStringLiteral("BIDON")}));
    EXPECT_FALSE(CoolFileBox::isListed(games));
}

TEST_F(CoolFileBoxTest, NetworkPlacesAppearWhenTheSystemHasAFolderForThem) {
    TempFolder runtimeFolder;
    QDir().mkpath(runtimeFolder.file(QStringLiteral("gvfs/smb-share:server=srv,share=docs")));
    ScopedVariable withNetwork("XDG_RUNTIME_DIR", runtimeFolder.path());
    create(false);
    QTreeWidgetItem* places = child(box->rootNode(), QStringLiteral("Favoris Réseau"));
    ASSERT_NE(places, nullptr);
    EXPECT_EQ(box->rootNode()->indexOfChild(places), 2);
    const QString path = runtimeFolder.file(QStringLiteral("gvfs/"));
    EXPECT_EQ(CoolFileBox::Key(places), u"*NetHood*" + path);
    places->setExpanded(true);
    EXPECT_EQ(texts(places), QStringList({QStringLiteral("smb-share:server=srv,share=docs")}));
}

TEST_F(CoolFileBoxTest, AFolderIsListedWhenFirstOpenedFoldersFirst) {
    makeGames();
    create(true, QStringLiteral("*.big"));
    QTreeWidgetItem* games = open(box->rootNode(), QStringLiteral("Games"));
    EXPECT_TRUE(CoolFileBox::isListed(games));
    EXPECT_EQ(texts(games),
              QStringList({QStringLiteral("Data"), QStringLiteral("Empty"), QStringLiteral("big"),
                           QStringLiteral("Mod.big"), QStringLiteral("MOD2.BIG")}));
    const QString gamesPath = desktop.path() + QStringLiteral("/Games/");
    QTreeWidgetItem* data = child(games, QStringLiteral("Data"));
    EXPECT_EQ(CoolFileBox::FullPath(data), gamesPath + u"Data/");
    EXPECT_EQ(CoolFileBox::Key(data), u"*desk*" + gamesPath + u"Data/");
    EXPECT_EQ(CoolFileBox::Key(data->child(0)), u"*desk*" + gamesPath + u"Data/***BIDON***");
    EXPECT_EQ(CoolFileBox::Key(child(games, QStringLiteral("Mod.big"))), u"*desk*" + gamesPath + u"Mod.big");
    EXPECT_FALSE(child(games, QStringLiteral("Mod.big"))->icon(0).isNull());

    // An empty folder loses its expand mark once opened.
    QTreeWidgetItem* empty = open(games, QStringLiteral("Empty"));
    EXPECT_EQ(empty->childCount(), 0);
}

TEST_F(CoolFileBoxTest, FilesFollowShowFilesTheFilterAndShowHiddenFiles) {
    makeGames();
    struct Case {
        bool showFiles;
        const char* filter;
        bool showHidden;
        QStringList shown;
    };
    const Case cases[] = {
        {true,
         "",
         false,
         {QStringLiteral("Data"), QStringLiteral("Empty"), QStringLiteral("big"), QStringLiteral("Mod.big"),
          QStringLiteral("MOD2.BIG"), QStringLiteral("readme.txt")}},
        {false, "*.big", false, {QStringLiteral("Data"), QStringLiteral("Empty")}},
        {true,
         "*.txt",
         false,
         {QStringLiteral("Data"), QStringLiteral("Empty"), QStringLiteral("readme.txt")}},
        {true,
         "*.big",
         true,
         {QStringLiteral(".hidden"), QStringLiteral("Data"), QStringLiteral("Empty"),
          QStringLiteral(".secret.big"), QStringLiteral("big"), QStringLiteral("Mod.big"),
          QStringLiteral("MOD2.BIG")}},
    };
    for (const Case& c : cases) {
        create(c.showFiles, QString::fromLatin1(c.filter), c.showHidden);
        EXPECT_EQ(texts(open(box->rootNode(), QStringLiteral("Games"))), c.shown) << c.filter;
    }
}

TEST_F(CoolFileBoxTest, ChangedPropertiesApplyToFoldersListedAfterwards) {
    makeFile(QStringLiteral("A/a.big"));
    makeFile(QStringLiteral("B/b.big"));
    create(false);
    QTreeWidgetItem* a = open(box->rootNode(), QStringLiteral("A"));
    EXPECT_EQ(a->childCount(), 0);
    box->setShowFiles(true);
    box->setFilter(QStringLiteral("*.big"));
    a->setExpanded(false);
    a->setExpanded(true);
    EXPECT_EQ(a->childCount(), 0);
    EXPECT_EQ(texts(open(box->rootNode(), QStringLiteral("B"))), QStringList({QStringLiteral("b.big")}));
}

TEST_F(CoolFileBoxTest, AFolderShowsAtMostTenThousandAndOneFiles) {
    makeFolder(QStringLiteral("Many/Sub"));
    for (int k = 0; k < CoolFileBox::MaxFilesPerFolder + 20; ++k) {
        QFile file(desktop.file(QStringLiteral("Many/f%1.big").arg(k, 5, 10, QLatin1Char('0'))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    create(true, QStringLiteral("*.big"));
    QTreeWidgetItem* many = open(box->rootNode(), QStringLiteral("Many"));
    ASSERT_EQ(many->childCount(), 1 + CoolFileBox::MaxFilesPerFolder);
    EXPECT_EQ(many->child(0)->text(0), QStringLiteral("Sub"));
    EXPECT_EQ(many->child(CoolFileBox::MaxFilesPerFolder)->text(0), QStringLiteral("f10000.big"));
}

TEST_F(CoolFileBoxTest, NodeClickHandsOverTheFullPathAsTheKey) {
    makeGames();
    makeFolder(QStringLiteral("Games/a*b"));
    create(true, QStringLiteral("*.big"));
    QStringList handed;
    QObject::connect(box.get(), &CoolFileBox::NodeClick, box.get(),
                     [&](QTreeWidgetItem* node) { handed << CoolFileBox::Key(node); });
    QTreeWidgetItem* games = open(box->rootNode(), QStringLiteral("Games"));
    const QString gamesPath = desktop.path() + QStringLiteral("/Games/");
    click(child(games, QStringLiteral("Mod.big")));
    click(games);
    click(child(games, QStringLiteral("a*b")));
    QTreeWidgetItem* computer = box->rootNode()->child(0);
    click(computer);
    QTreeWidgetItem* slash = child(computer, QStringLiteral("/"));
    ASSERT_NE(slash, nullptr);
    click(slash);
    EXPECT_EQ(handed, QStringList({gamesPath + u"Mod.big", gamesPath, gamesPath + u"a*b/", QString(),
                                   QStringLiteral("/")}));
    // The key is back once the event is over.
    EXPECT_EQ(CoolFileBox::Key(child(games, QStringLiteral("Mod.big"))), u"*desk*" + gamesPath + u"Mod.big");
}

TEST_F(CoolFileBoxTest, ASubfolderKeepsItsOpenedStateWhenItsParentIsClosed) {
    makeFolder(QStringLiteral("Only/Inner/Deep"));
    create(false);
    QTreeWidgetItem* only = open(box->rootNode(), QStringLiteral("Only"));
    QTreeWidgetItem* inner = open(only, QStringLiteral("Inner"));
    only->setExpanded(false);
    only->setExpanded(true);
    ASSERT_EQ(only->childCount(), 1);
    EXPECT_EQ(only->child(0), inner);
    EXPECT_TRUE(inner->isExpanded());
    EXPECT_EQ(texts(inner), QStringList({QStringLiteral("Deep")}));
}

TEST_F(CoolFileBoxTest, TheTreesEventsArePassedOn) {
    create(false);
    QSignalSpy down(box.get(), &CoolFileBox::MouseDown);
    QSignalSpy clicked(box.get(), &CoolFileBox::Click);
    QSignalSpy key(box.get(), &CoolFileBox::KeyDown);
    QSignalSpy typed(box.get(), &CoolFileBox::KeyPress);
    QTest::mouseClick(box->tree()->viewport(), Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::keyClick(box->tree(), Qt::Key_A);
    ASSERT_EQ(down.size(), 1);
    EXPECT_EQ(down[0][0].toInt(), 2);
    EXPECT_EQ(down[0][1].toInt(), 1);
    EXPECT_EQ(clicked.size(), 1);
    ASSERT_EQ(key.size(), 1);
    EXPECT_EQ(key[0][0].toInt(), int(Qt::Key_A));
    ASSERT_EQ(typed.size(), 1);
    EXPECT_EQ(typed[0][0].toInt(), int(u'a'));
}

TEST(MountedVolumes, TheSystemsOwnFileSystemsAreLeftOut) {
    TempFolder sys;
    // A USB stick's partition, as the kernel lays it out, and a fixed disk.
    writeBytes(sys.file(QStringLiteral("sdb/removable")), "1\n");
    writeBytes(sys.file(QStringLiteral("sdb/sdb1/partition")), "1\n");
    QFile::link(sys.file(QStringLiteral("sdb/sdb1")), sys.file(QStringLiteral("sdb1")));
    writeBytes(sys.file(QStringLiteral("sda/removable")), "0\n");
    TempFolder mounts;
    for (const char* folder : {"usb stick", "nfs", "cd", "data", "tmp"})
        QDir().mkpath(mounts.file(QString::fromLatin1(folder)));
    const QByteArray root = QFile::encodeName(mounts.path());
    const QByteArray table = "proc /proc proc rw 0 0\n"
                             "/dev/sda /  ext4 rw 0 0\n"
                             "sysfs /sys sysfs rw 0 0\n"
                             "/dev/sdb1 " +
                             root +
                             "/usb\\040stick vfat rw 0 0\n"
                             "server:/export " +
                             root +
                             "/nfs nfs4 rw 0 0\n"
                             "/dev/sr0 " +
                             root +
                             "/cd iso9660 ro 0 0\n"
                             "tmpfs " +
                             root +
                             "/tmp tmpfs rw 0 0\n"
                             "/dev/sda2 " +
                             root +
                             "/data ext4 rw 0 0\n"
                             "/dev/sda2 " +
                             root +
                             "/not-a-folder ext4 rw 0 0\n"
                             "/dev/sdb1 " +
                             root + "/data vfat rw 0 0\n";
    const QString base = mounts.path() + u'/';
    EXPECT_EQ(mountedVolumes(table, sys.path()),
              (QList<MountedVolume>{{QStringLiteral("/"), MountedVolume::Fixed},
                                    {base + u"usb stick/", MountedVolume::Removable},
                                    {base + u"nfs/", MountedVolume::Network},
                                    {base + u"cd/", MountedVolume::Optical},
                                    {base + u"data/", MountedVolume::Removable}}));
}

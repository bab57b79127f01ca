#include "controls/user_control1.h"
#include "core/ini_runtime.h"
#include "core/messages.h"
#include "core/paths.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmap_removal.h"
#include "shellmaps/shellmaps_page.h"
#include "tests/shellmaps/shellmap_fixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <functional>

using namespace marvok;
using marvok::test::ShellMapTest;

namespace {

QStringList texts(std::initializer_list<const char*> items) {
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

// Three entries A, B, C of `game` with their folders.
void threeEntries(test::ShellMapWorld& world, GameKind game) {
    world.writeCatalogueFile(game, test::ShellMapWorld::catalogueText(3, texts({"A", "B", "C"})));
    for (int i = 0; i < 3; ++i)
        world.addFolder(game, u"ZephShellMap" + QString::number(i), QString(QChar(u'A' + i)));
}

class PageTest : public ShellMapTest {
protected:
    PageTest() { panel.resize(660, 470); }

    template <typename T = QWidget> T* child(const char* name) {
        T* found = panel.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QStringList rows() {
        auto* list = child<QListWidget>("ListView1");
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    void clickRow(int row) {
        auto* list = child<QListWidget>("ListView1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void press(const char* button) {
        auto* control = child<UserControl1>(button);
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }
    QColor screenshotColour() {
        const QPixmap picture = child<QLabel>("Image4")->pixmap();
        if (picture.isNull())
            return {};
        const QImage image = picture.toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }
    DialogCall lastMessage() {
        const auto messages = dialogs.messages();
        return messages.empty() ? DialogCall() : messages.back();
    }

    QWidget panel;
};

} // namespace

TEST_F(PageTest, ListsOneRowPerEntryOfTheGamesCatalogue) {
    ShellMapsPage page(&panel);
    page.ListShellMaps(Generals);
    EXPECT_EQ(rows(), QStringList());
    EXPECT_EQ(currentCatalogue(), joinPath(games.programFolder(), QStringLiteral("GenShellMaps.ini")));

    writeCatalogueFile(ZeroHour,
                       catalogueText(3, {QStringLiteral("Alpha"), QString(), QStringLiteral("Gamma")}));
    page.ListShellMaps(ZeroHour);
    EXPECT_EQ(rows(), texts({"Alpha", "", "Gamma"}));
    EXPECT_EQ(currentCatalogue(), joinPath(games.programFolder(), QStringLiteral("HHShellMaps.ini")));

    writeCatalogueFile(BattleForMiddleEarth, "[Global]\r\nCount=trois\r\n[ShellMap0]\r\nName=X\r\n");
    page.ListShellMaps(BattleForMiddleEarth);
    EXPECT_EQ(rows(), QStringList());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(PageTest, ARowClickShowsTheEntrysDetailsAndScreenshot) {
    const QString red = joinPath(games.folder(), QStringLiteral("red.png"));
    test::writePicture(red, Qt::red);
    writeCatalogueFile(Generals, "[Global]\r\nCount=3\r\n"
                                 "[ShellMap0]\r\nName=Désert\r\nDate=01/02/2024\r\nDescription=Sable\r\n"
                                 "URL=http://example.org/d\r\nScreenShot=" +
                                     red.toUtf8() +
                                     "\r\n"
                                     "[ShellMap1]\r\nName=Active\r\nScreenShot=/nowhere/shot.png\r\n"
                                     "[ShellMap2]\r\nName=Sans image\r\nDate=03/02/2024\r\n");
    ShellMapsPage page(&panel);
    const QColor builtIn = screenshotColour();
    EXPECT_TRUE(builtIn.isValid());
    page.ListShellMaps(Generals);

    clickRow(0);
    EXPECT_EQ(child<QLabel>("SMName")->text(), QStringLiteral("Désert"));
    EXPECT_EQ(child<QLabel>("SMDate")->text(), QStringLiteral("01/02/2024"));
    EXPECT_EQ(child<QLabel>("SMDescription")->text(), QStringLiteral("Sable"));
    EXPECT_EQ(child<QLabel>("SMURL")->text(), QStringLiteral("http://example.org/d"));
    EXPECT_EQ(screenshotColour(), QColor(Qt::red));

    // A screenshot that cannot be read keeps the picture shown.
    clickRow(1);
    EXPECT_EQ(child<QLabel>("SMName")->text(), QStringLiteral("Active"));
    EXPECT_EQ(child<QLabel>("SMDate")->text(), QString());
    EXPECT_EQ(screenshotColour(), QColor(Qt::red));

    clickRow(2);
    EXPECT_EQ(child<QLabel>("SMDate")->text(), QStringLiteral("03/02/2024"));
    EXPECT_TRUE(child<QLabel>("Image4")->pixmap().isNull());
}

TEST_F(PageTest, DeleteAsksFirstAndKeepsTheCatalogueOfEveryGame) {
    for (GameKind game : {Generals, ZeroHour, BattleForMiddleEarth}) {
        SCOPED_TRACE(game);
        threeEntries(*this, game);
        environment().CurrentGame = game;
        ShellMapsPage page(&panel);
        page.ListShellMaps(game);
        const QStringList before = snapshot(game);

        clickRow(1);
        dialogs.answerMessage(MsgResult::No);
        press("CommandButton2");
        const DialogCall question = lastMessage();
        EXPECT_EQ(question.number, 4);
        EXPECT_EQ(question.text, QStringLiteral("Êtes-vous sûr de vouloir supprimer la ShellMap \"B\"?"));
        EXPECT_EQ(question.style, 36);
        EXPECT_EQ(question.title, QStringLiteral("Supprimer une ShellMap"));
        EXPECT_EQ(snapshot(game), before);

        clickRow(1);
        dialogs.answerMessage(MsgResult::Yes);
        press("CommandButton2");
        EXPECT_EQ(lastMessage().number, 4); // and no failure after it
        EXPECT_EQ(rows(), texts({"A", "C"}));
        EXPECT_EQ(mapsContent(game), texts({"ZephShellMap0:A", "ZephShellMap1:C"}));
        const QString catalogue = cataloguePath(game);
        EXPECT_EQ(catalogueCount(catalogue), 2);
        // Entry C now carries number 1 with every value of its old section.
        const CatalogueEntry moved = readCatalogueEntry(catalogue, 1);
        EXPECT_EQ(moved,
                  (CatalogueEntry{QStringLiteral("02/01/2024"), QString(), QStringLiteral("C"),
                                  QStringLiteral("Description 2"), QStringLiteral("http://example.org/2")}));
        EXPECT_EQ(readCatalogueEntry(catalogue, 0).name, QStringLiteral("A"));
        EXPECT_FALSE(QFile::exists(setAsideCataloguePath(game)));
        dialogs.clear();
    }
}

TEST_F(PageTest, RemovingBeforeTheActiveEntryRenumbersItsMarker) {
    writeCatalogueFile(ZeroHour, catalogueText(3, texts({"A", "", "C"})));
    addFolder(ZeroHour, QStringLiteral("ZephShellMap0"), QStringLiteral("A"));
    addFolder(ZeroHour, QStringLiteral("ZephShellMap1"), QStringLiteral("empty name"));
    addFolder(ZeroHour, QStringLiteral("ShellMapMD"), QStringLiteral("C"), texts({"1", "2"}));

    ASSERT_TRUE(RemoveShellMap(1, ZeroHour));
    EXPECT_EQ(mapsContent(ZeroHour), texts({"ShellMapMD:C:1/1", "ZephShellMap0:empty name"}));
    EXPECT_EQ(catalogueCount(cataloguePath(ZeroHour)), 2);
    EXPECT_EQ(readCatalogueEntry(cataloguePath(ZeroHour), 0).description, QStringLiteral("Description 1"));
    EXPECT_EQ(readCatalogueEntry(cataloguePath(ZeroHour), 1).name, QStringLiteral("C"));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PageTest, AnEntryWhoseFolderIsGoneCanStillBeRemoved) {
    threeEntries(*this, BattleForMiddleEarth);
    QDir(joinPath(install(BattleForMiddleEarth), QStringLiteral("Maps/ZephShellMap0"))).removeRecursively();
    ASSERT_TRUE(RemoveShellMap(1, BattleForMiddleEarth));
    EXPECT_EQ(mapsContent(BattleForMiddleEarth), texts({"ZephShellMap0:B", "ZephShellMap1:C"}));
    EXPECT_EQ(readCatalogueEntry(cataloguePath(BattleForMiddleEarth), 0).name, QStringLiteral("B"));
}

TEST(PageRemoval, ARefusedRemovalChangesNothing) {
    struct Refusal {
        const char* what;
        std::function<void(test::ShellMapWorld&)> prepare;
        qint16 row;
        QString detail;
    };
    const Refusal refusals[] = {
        {"the entry is the active one",
         [](test::ShellMapWorld& w) {
             QDir(joinPath(w.install(Generals), QStringLiteral("Maps/ZephShellMap1"))).removeRecursively();
             w.addFolder(Generals, QStringLiteral("ShellMap1"), QStringLiteral("B"), texts({"1", "1"}));
         },
         2, RemovalDetail::ActiveEntry},
        {"a set-aside catalogue is in the way",
         [](test::ShellMapWorld&) { test::writeBytes(setAsideCataloguePath(Generals), "[Global]\r\n"); }, 2,
         RemovalDetail::NotFound},
        {"a folder cannot take its new number",
         [](test::ShellMapWorld& w) {
             w.addFolder(Generals, QStringLiteral("zephshellmap1"), QStringLiteral("stray"));
         },
         1, RemovalDetail::SortFailed},
        {"the row is not in the catalogue", [](test::ShellMapWorld&) {}, 4, RemovalDetail::NotFound},
        {"there is no catalogue", [](test::ShellMapWorld&) { QFile::remove(cataloguePath(Generals)); }, 1,
         RemovalDetail::NotFound},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        test::ShellMapWorld world;
        threeEntries(world, Generals);
        refusal.prepare(world);
        const QStringList before = world.snapshot(Generals);

        EXPECT_FALSE(RemoveShellMap(refusal.row, Generals));
        ASSERT_EQ(world.dialogs.messages().size(), 1u);
        const DialogCall message = world.dialogs.messages().front();
        EXPECT_EQ(message.number, 15);
        EXPECT_EQ(message.text, u"Erreur dans la suppression de la shellmap : " + refusal.detail);
        EXPECT_EQ(message.style, 16);
        EXPECT_EQ(message.title, QStringLiteral("Marvok 2"));
        EXPECT_EQ(world.snapshot(Generals), before);
    }
}

TEST_F(PageTest, DeleteWithoutASelectedRowDoesNothing) {
    threeEntries(*this, Generals);
    ShellMapsPage page(&panel);
    page.ListShellMaps(Generals);
    press("CommandButton2");
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(rows(), texts({"A", "B", "C"}));
}

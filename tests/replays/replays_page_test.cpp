#include "replays/replays_page.h"

#include "controls/user_control1.h"
#include "core/clickable_label.h"
#include "core/messages.h"
#include "core/scripted_dialogs.h"
#include "core/translation_keys.h"
#include "replays/replay_players.h"
#include "replays/replay_writer.h"
#include "tests/app/app_fixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::GameSetup;

namespace {

class ReplaysPageTest : public ::testing::Test {
protected:
    ReplaysPageTest() {
        createServices(games.store());
        readInstallFolders(registry(), environment());
        composePlayerFolders(registry(), environment());
        // Two bare panels in the same place, as the main window has them.
        host.resize(660, 470);
        listPanel = new QWidget(&host);
        detailsPanel = new QWidget(&host);
        listPanel->setObjectName(QStringLiteral("Picture1(3)"));
        detailsPanel->setObjectName(QStringLiteral("Picture4"));
        listPanel->setGeometry(0, 0, 660, 470);
        detailsPanel->setGeometry(0, 0, 660, 470);
        detailsPanel->hide();
        page = new ReplaysPage(listPanel, detailsPanel);
        host.show();
    }

    QString folder(GameKind game = Generals) const { return environment().ReplaysFolder[game]; }

    void addReplay(const QString& title, const QByteArray& mapPath, const QByteArray& slotList,
                   GameKind game = Generals, const QString& version = QStringLiteral("Version 1.08"),
                   QDate modified = {2024, 3, 5}) {
        ReplayRecording recording;
        recording.game = game;
        recording.versionText = version;
        recording.gameInformation = gameInformationText(game, mapPath, slotList);
        const QString path = folder(game) + title + u".rep";
        QDir().mkpath(folder(game));
        ASSERT_TRUE(writeReplay(path, recording));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(modified, QTime(21, 0)), QFileDevice::FileModificationTime));
    }

    template <typename T = QWidget> T* child(const char* name) {
        T* found = host.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTreeWidget* rows() { return child<QTreeWidget>("lstRep"); }
    QStringList titles() {
        QStringList texts;
        for (int i = 0; i < rows()->topLevelItemCount(); ++i)
            texts << rows()->topLevelItem(i)->text(0);
        return texts;
    }
    QPoint rowCentre(int row) { return rows()->visualItemRect(rows()->topLevelItem(row)).center(); }
    void clickRow(int row) { QTest::mouseClick(rows()->viewport(), Qt::LeftButton, {}, rowCentre(row)); }
    void press(const char* button) {
        auto* control = child<UserControl1>(button);
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }
    // Opens mnuRep over `row` with the right button; the window system asks for the menu as the
    // button goes down.
    QMenu* openMenu(int row) {
        QWidget* viewport = rows()->viewport();
        const QPoint at = rowCentre(row);
        QTest::mousePress(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QCoreApplication::sendEvent(viewport, &request);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
        auto* menu = child<QMenu>("mnuRep");
        EXPECT_TRUE(menu && menu->isVisible());
        return menu;
    }
    void chooseFromMenu(int row, const char* item) {
        QMenu* menu = openMenu(row);
        auto* action = menu->findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        EXPECT_FALSE(menu->isVisible());
    }
    // "Renommer" on `row`, then `text` typed in place of the title and Enter.
    void renameRow(int row, const QString& text) {
        chooseFromMenu(row, "mnuRename");
        auto* editor = rows()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits the edit after the key press
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(rows()->findChild<QLineEdit*>(), nullptr);
    }
    bool replayExists(const QString& fileName) { return QFile::exists(folder() + fileName); }

    GameSetup games;
    ScriptedDialogService dialogs;
    QWidget host;
    QWidget* listPanel;
    QWidget* detailsPanel;
    ReplaysPage* page;
};

const QByteArray kDuel = "HAnna,0,0,TT,0,2,0,0,1:HBruno,0,0,TT,1,3,1,1,1:X:X:X:X:X:X";

} // namespace

TEST_F(ReplaysPageTest, TheListShowsTheCurrentGamesReplaysInFiveColumns) {
    addReplay(QStringLiteral("Duel"), "03maps/tournament desert", kDuel);
    addReplay(QStringLiteral("Entraînement"), "03userdata/maps/defcon6",
              "HAnna,0,0,TT,0,2,0,0,1:CE,1,3,1,1:O:X", Generals, QStringLiteral("Version 1.07"),
              {2023, 12, 31});
    QFile::copy(folder() + QStringLiteral("Duel.rep"), folder() + QStringLiteral("Copie.txt"));
    test::writeBytes(folder() + QStringLiteral("Notes.rep"), "not a replay");
    addReplay(QStringLiteral("Gondor"), "maps/map mp fords of isen", kDuel, BattleForMiddleEarth,
              QStringLiteral("Version 1.03"));

    page->ListReplays();
    ASSERT_EQ(rows()->topLevelItemCount(), 2);
    const QTreeWidgetItem* duel = rows()->topLevelItem(0);
    const QTreeWidgetItem* training = rows()->topLevelItem(1);
    EXPECT_EQ(duel->text(0), QStringLiteral("Duel"));
    EXPECT_EQ(duel->text(1), QStringLiteral("05/03/2024"));
    EXPECT_EQ(duel->text(2), QStringLiteral("1.08"));
    EXPECT_EQ(duel->text(3), QStringLiteral("2"));
    EXPECT_EQ(duel->text(4), QStringLiteral("Tournament desert"));
    EXPECT_EQ(duel->data(0, ReplaysPage::FileNameRole).toString(), QStringLiteral("Duel.rep"));
    EXPECT_EQ(duel->data(0, ReplaysPage::SlotListRole).toByteArray(), kDuel);
    const QStringList trainingColumns = {QStringLiteral("Entraînement"), QStringLiteral("31/12/2023"),
                                         QStringLiteral("1.07"), QStringLiteral("2"),
                                         QStringLiteral("Defcon6")};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(training->text(column), trainingColumns[column]);
    EXPECT_TRUE(training->icon(0).isNull());

    environment().CurrentGame = BattleForMiddleEarth;
    page->ListReplays();
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Gondor")}));
    environment().CurrentGame = ZeroHour; // its folder does not exist
    page->ListReplays();
    EXPECT_EQ(rows()->topLevelItemCount(), 0);
}

TEST_F(ReplaysPageTest, EveryControlCarriesItsNameCaptionAndKey) {
    struct Expected {
        const char* name;
        const char* caption;
        const char* key; // empty: none
    };
    const Expected labels[] = {
        {"Label7", "Titre", "Title"},        {"Label10", "Date", "Date2"},
        {"Label11", "Version", "Version2"},  {"Label12", "Joueurs", "Players2"},
        {"Label23", "Carte", "Map2"},        {"Label38", "Replay %RepName%", ""},
        {"Label27", "Date :", "Date"},       {"Label31", "-", ""},
        {"Label28", "Version :", "Version"}, {"Label30", "-", ""},
        {"Label32", "Carte :", "Map"},       {"Label33", "-", ""},
        {"Label29", "Joueurs :", "Players"},
    };
    for (const Expected& expected : labels) {
        auto* label = child<QLabel>(expected.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(expected.caption)) << expected.name;
        EXPECT_EQ(translationKey(label), QString::fromUtf8(expected.key)) << expected.name;
    }
    const Expected buttons[] = {{"cmdDetails", "Details >>", "Details"},
                                {"cmdInstall", "Installer", "Install"},
                                {"CommandButton5", "Supprimer", "Delete"},
                                {"CommandButton3", "<< Précédent", "Previous"}};
    for (const Expected& expected : buttons) {
        auto* button = child<UserControl1>(expected.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->caption(), QString::fromUtf8(expected.caption)) << expected.name;
        EXPECT_EQ(translationKey(button), QString::fromUtf8(expected.key)) << expected.name;
    }
    EXPECT_TRUE(listPanel->isAncestorOf(rows()));
    EXPECT_TRUE(detailsPanel->isAncestorOf(child("lstPlayers")));
    EXPECT_TRUE(detailsPanel->isAncestorOf(child("Image6")));
    EXPECT_FALSE(child<QLabel>("Image6")->pixmap().isNull());

    auto* menu = child<QMenu>("mnuRep");
    QStringList items;
    for (QAction* action : menu->actions())
        items << action->objectName() + u' ' + action->text();
    EXPECT_EQ(items,
              QStringList({QStringLiteral("mnuDetails Détails"), QStringLiteral("mnuDelete Supprimer"),
                           QStringLiteral("mnuRename Renommer"), QStringLiteral("mnuInstall Installer")}));
    EXPECT_EQ(menu->defaultAction()->objectName(), QStringLiteral("mnuDetails"));
}

TEST_F(ReplaysPageTest, DetailsReplaceTheListAndPreviousBringsItBack) {
    addReplay(QStringLiteral("Duel"), "03maps/tournament desert", kDuel);
    addReplay(QStringLiteral("Match"), "03maps/alpine assault", "HAnna,0,0,TT,0,2,0,0,1:X", Generals,
              QStringLiteral("Version 1.07"), {2024, 11, 9});
    page->ListReplays();
    EXPECT_TRUE(child<UserControl1>("cmdDetails")->isEnabled());
    press("cmdDetails"); // nothing selected yet
    EXPECT_TRUE(listPanel->isVisible());
    EXPECT_FALSE(detailsPanel->isVisible());

    clickRow(1);
    press("cmdDetails");
    EXPECT_FALSE(listPanel->isVisible());
    EXPECT_TRUE(detailsPanel->isVisible());
    EXPECT_EQ(child<QLabel>("Label38")->text(), QStringLiteral("Replay Match"));
    EXPECT_EQ(child<QLabel>("Label31")->text(), QStringLiteral("09/11/2024"));
    EXPECT_EQ(child<QLabel>("Label30")->text(), QStringLiteral("1.07"));
    EXPECT_EQ(child<QLabel>("Label33")->text(), QStringLiteral("Alpine assault"));

    press("CommandButton3");
    EXPECT_TRUE(listPanel->isVisible());
    EXPECT_FALSE(detailsPanel->isVisible());
    // Nothing is re-read or cleared on the way back.
    EXPECT_EQ(child<QLabel>("Label38")->text(), QStringLiteral("Replay Match"));

    // A double click as the window system delivers it: a click, then the double click.
    clickRow(0);
    QTest::mouseDClick(rows()->viewport(), Qt::LeftButton, {}, rowCentre(0));
    QTest::mouseRelease(rows()->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_TRUE(detailsPanel->isVisible());
    EXPECT_EQ(child<QLabel>("Label38")->text(), QStringLiteral("Replay Duel"));
    page->showList();

    chooseFromMenu(1, "mnuDetails");
    EXPECT_TRUE(detailsPanel->isVisible());
    EXPECT_FALSE(listPanel->isVisible());
    EXPECT_EQ(child<QLabel>("Label38")->text(), QStringLiteral("Replay Match"));
    EXPECT_EQ(dialogs.calls().size(), 0u);
}

TEST_F(ReplaysPageTest, ThePlayersTreeGroupsThePlayersByTeam) {
    struct Case {
        GameKind game;
        QByteArray slotList;
        QStringList players; // "group key > node key | text | image", group by group, in slot order
    };
    const Case cases[] = {
        {ZeroHour,
         "HAnna,0,0,TT,2,6,1,0,1:CM,3,8,2,1:O:X:X:X:X:X",
         {QStringLiteral("Team 0 > Anna (Pinpoint Townes) | Anna (Pinpoint Townes) | 2"),
          QStringLiteral("Team 1 > IA1 | IA Moyen (Ta Hun Kwai) | 3")}},
        {Generals,
         "HAnna,0,0,TT,0,-1,0,7,1:CE,1,3,1,8:HMarc,0,0,TT,-1,-2,-1,-1,1:CH,2,4,2,-1:O:HBob,0,0,TT,3,2,4,-1,1:"
         "X:X",
         {QStringLiteral("obs > Marc | Marc | 4"), QStringLiteral("Team 7 > Anna | Anna | 1"),
          QStringLiteral("Team -1 > IA1 | IA Facile | 3"), QStringLiteral("Team -1 > IA3 | IA Difficile | 4"),
          QStringLiteral("Team -1 > Bob | Bob | 2")}},
        {BattleForMiddleEarth,
         "HAnna,0,0,TT,0,4,0,0,1:CM,1,6,1,1:CE,1,2,1,1",
         {QStringLiteral("Team 0 > Anna (Gondor) | Anna (Gondor) | 1"),
          QStringLiteral("Team 1 > IA1 | IA Moyen (Mordor) | 1"),
          QStringLiteral("Team 1 > IA2 | IA Facile | 1")}},
        {ZeroHour, "X:X:X:X:X:X:X:X", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slotList.constData());
        QDir(folder(c.game)).removeRecursively();
        addReplay(QStringLiteral("Partie"), "03maps/alpine assault", c.slotList, c.game);
        environment().CurrentGame = c.game;
        page->ListReplays();
        clickRow(0);
        press("cmdDetails");
        page->showList();

        auto* tree = child<QTreeWidget>("lstPlayers");
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        const QTreeWidgetItem* root = tree->topLevelItem(0);
        EXPECT_EQ(root->text(0), QStringLiteral("Joueurs"));
        EXPECT_EQ(root->data(0, ReplaysPage::NodeKeyRole).toString(), QStringLiteral("Players"));
        EXPECT_EQ(root->data(0, ReplaysPage::NodeImageRole).toInt(), 15);
        EXPECT_TRUE(root->isExpanded());
        QStringList groups;
        QStringList players;
        ASSERT_EQ(root->childCount(), 10);
        for (int g = 0; g < root->childCount(); ++g) {
            const QTreeWidgetItem* group = root->child(g);
            const QString groupKey = group->data(0, ReplaysPage::NodeKeyRole).toString();
            groups << groupKey + u' ' + group->text(0) + u' ' +
                          QString::number(group->data(0, ReplaysPage::NodeImageRole).toInt());
            EXPECT_TRUE(group->isExpanded());
            EXPECT_FALSE(group->icon(0).isNull());
            for (int p = 0; p < group->childCount(); ++p) {
                const QTreeWidgetItem* player = group->child(p);
                players << groupKey + u" > " + player->data(0, ReplaysPage::NodeKeyRole).toString() + u" | " +
                               player->text(0) + u" | " +
                               QString::number(player->data(0, ReplaysPage::NodeImageRole).toInt());
                EXPECT_FALSE(player->icon(0).isNull());
                EXPECT_EQ(player->childCount(), 0);
            }
        }
        EXPECT_EQ(
            groups,
            QStringList({QStringLiteral("obs Observateurs 5"), QStringLiteral("Team 0 Equipe 1 6"),
                         QStringLiteral("Team 1 Equipe 2 7"), QStringLiteral("Team 2 Equipe 3 8"),
                         QStringLiteral("Team 3 Equipe 4 9"), QStringLiteral("Team 4 Equipe 5 10"),
                         QStringLiteral("Team 5 Equipe 6 11"), QStringLiteral("Team 6 Equipe 7 12"),
                         QStringLiteral("Team 7 Equipe 8 13"), QStringLiteral("Team -1 Sans Equipe 14")}));
        EXPECT_EQ(players, c.players);
    }
}

TEST_F(ReplaysPageTest, ImageListHoldsFifteenSmallPictures) {
    for (int number = 1; number <= PlayerImage::Count; ++number) {
        const QIcon icon = ReplaysPage::playerImage(number);
        ASSERT_FALSE(icon.isNull()) << number;
        EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16)) << number;
        EXPECT_EQ(icon.pixmap(16, QIcon::Selected).toImage(), icon.pixmap(16).toImage()) << number;
    }
    EXPECT_TRUE(ReplaysPage::playerImage(0).isNull());
    EXPECT_TRUE(ReplaysPage::playerImage(16).isNull());
    for (const char* name : {"faction_unknown", "observers", "team8", "no_team", "root"}) {
        const QPixmap sharp(u":/replays/" + QString::fromLatin1(name) + u"@2x.png");
        EXPECT_EQ(sharp.size(), QSize(32, 32)) << name;
    }
}

TEST_F(ReplaysPageTest, ClickingTitreReversesTheOrder) {
    for (const char* title : {"b", "A", "c"})
        addReplay(QString::fromLatin1(title), "03maps/alpine assault", kDuel);
    page->ListReplays();
    const QStringList ascending = {QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")};
    const QStringList descending = {QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("A")};
    EXPECT_EQ(titles(), ascending);
    auto* heading = child<ClickableLabel>("Label7");
    const QString upwards = child<QLabel>("sortArrow")->text();
    QTest::mouseClick(heading, Qt::LeftButton);
    EXPECT_EQ(titles(), descending);
    EXPECT_NE(child<QLabel>("sortArrow")->text(), upwards);
    page->ListReplays(); // a new listing keeps the order chosen
    EXPECT_EQ(titles(), descending);
    QTest::mouseClick(heading, Qt::LeftButton);
    EXPECT_EQ(titles(), ascending);
}

TEST_F(ReplaysPageTest, DeletingAsksFirstAndOnlyYesDeletes) {
    for (const char* title : {"Duel", "Final", "Match"})
        addReplay(QString::fromLatin1(title), "03maps/alpine assault", kDuel);
    page->ListReplays();

    // No from the details panel: the file and the panel stay.
    clickRow(1);
    press("cmdDetails");
    dialogs.answerMessage(MsgResult::No);
    press("CommandButton5");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    const DialogCall question = dialogs.messages().back();
    EXPECT_EQ(question.number, 5);
    EXPECT_EQ(question.text, QStringLiteral("Êtes-vous sûr de vouloir supprimer ce replay?"));
    EXPECT_EQ(question.style, MsgStyle::YesNoQuestion);
    EXPECT_TRUE(replayExists(QStringLiteral("Final.rep")));
    EXPECT_TRUE(detailsPanel->isVisible());

    // Yes from the details panel: back to the list, read anew.
    dialogs.answerMessage(MsgResult::Yes);
    press("CommandButton5");
    EXPECT_FALSE(replayExists(QStringLiteral("Final.rep")));
    EXPECT_TRUE(listPanel->isVisible());
    EXPECT_FALSE(detailsPanel->isVisible());
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Duel"), QStringLiteral("Match")}));

    // From the menu, on the row under the pointer; the list panel stays.
    dialogs.answerMessage(MsgResult::Yes);
    chooseFromMenu(1, "mnuDelete");
    EXPECT_FALSE(replayExists(QStringLiteral("Match.rep")));
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Duel")}));
    EXPECT_TRUE(listPanel->isVisible());
    EXPECT_EQ(dialogs.messages().size(), 3u);
}

TEST_F(ReplaysPageTest, RenamingInPlaceRenamesTheFile) {
    addReplay(QStringLiteral("Match 1"), "03maps/alpine assault", kDuel);
    addReplay(QStringLiteral("Zulu"), "03maps/alpine assault", kDuel);
    page->ListReplays();
    renameRow(0, QStringLiteral("Final"));
    EXPECT_FALSE(replayExists(QStringLiteral("Match 1.rep")));
    EXPECT_TRUE(replayExists(QStringLiteral("Final.rep")));
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Final"), QStringLiteral("Zulu")}));
    EXPECT_EQ(rows()->topLevelItem(0)->data(0, ReplaysPage::FileNameRole).toString(),
              QStringLiteral("Final.rep"));

    // The row now leads to the new file; a change of case alone is a rename too.
    renameRow(0, QStringLiteral("FINAL"));
    EXPECT_TRUE(replayExists(QStringLiteral("FINAL.rep")));
    EXPECT_FALSE(replayExists(QStringLiteral("Final.rep")));
    clickRow(0);
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdDetails");
    press("CommandButton5");
    EXPECT_FALSE(replayExists(QStringLiteral("FINAL.rep")));
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Zulu")}));
    EXPECT_EQ(dialogs.messages().size(), 1u);
}

TEST_F(ReplaysPageTest, ARefusedTitleIsExplainedAndTheRowKeepsItsTitle) {
    struct Case {
        QString title;
        int message;
        QString text;
    };
    const QString tooLong(300, u'x');
    const Case cases[] = {
        {QString(), Msg::ReplayTitleEmpty, QStringLiteral("Veuillez entrer un titre pour le replay.")},
        {QStringLiteral("   "), Msg::ReplayTitleEmpty,
         QStringLiteral("Veuillez entrer un titre pour le replay.")},
        {QStringLiteral("../Escape"), Msg::ReplayTitleInvalid,
         QStringLiteral(
             "Le titre \"../Escape\" ne peut pas servir de nom de fichier : il ne doit contenir ni / ni "
             "\\ et ne doit pas commencer par un point.")},
        {QStringLiteral("a\\b"), Msg::ReplayTitleInvalid, {}},
        {QStringLiteral(".cache"), Msg::ReplayTitleInvalid, {}},
        {QStringLiteral("Zulu"), Msg::ReplayNameTaken,
         QStringLiteral(
             "Un fichier nommé \"Zulu.rep\" existe déjà dans le dossier des replays. Veuillez choisir "
             "un autre titre.")},
        {QStringLiteral("zULU"), Msg::ReplayNameTaken, {}},
        {QStringLiteral("Notes"), Msg::ReplayNameTaken, {}}, // not a replay, but a file all the same
        {tooLong, Msg::ReplayRenameFailed, {}},              // the file system refuses
    };
    addReplay(QStringLiteral("Match 1"), "03maps/alpine assault", kDuel);
    addReplay(QStringLiteral("Zulu"), "03maps/alpine assault", kDuel);
    test::writeBytes(folder() + QStringLiteral("notes.REP"), "text");
    page->ListReplays();
    const QStringList before = QDir(folder()).entryList(QDir::Files);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.left(20).toStdString());
        dialogs.clear();
        renameRow(0, c.title);
        ASSERT_EQ(dialogs.messages().size(), 1u);
        const DialogCall message = dialogs.messages().back();
        EXPECT_EQ(message.number, c.message);
        if (!c.text.isEmpty()) {
            EXPECT_EQ(message.text, c.text);
        }
        EXPECT_EQ(message.style, messageInfo(c.message).style);
        EXPECT_EQ(titles(), QStringList({QStringLiteral("Match 1"), QStringLiteral("Zulu")}));
        EXPECT_EQ(rows()->topLevelItem(0)->data(0, ReplaysPage::FileNameRole).toString(),
                  QStringLiteral("Match 1.rep"));
        EXPECT_EQ(QDir(folder()).entryList(QDir::Files), before);
    }
    EXPECT_FALSE(QFile::exists(folder() + QStringLiteral("../Escape.rep")));

    // Leaving the edit with Escape changes nothing and says nothing.
    dialogs.clear();
    chooseFromMenu(0, "mnuRename");
    auto* editor = rows()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("Other"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Match 1"), QStringLiteral("Zulu")}));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(ReplaysPageTest, FileSystemRefusalsAreReportedAndTheRowStays) {
    addReplay(QStringLiteral("Gone"), "03maps/alpine assault", kDuel);
    addReplay(QStringLiteral("Locked"), "03maps/alpine assault", kDuel);
    page->ListReplays();
    // Behind the page's back: one replay disappears, the other becomes a folder that cannot be
    // deleted like a file.
    ASSERT_TRUE(QFile::remove(folder() + QStringLiteral("Gone.rep")));
    ASSERT_TRUE(QFile::remove(folder() + QStringLiteral("Locked.rep")));
    test::writeBytes(folder() + QStringLiteral("Locked.rep/inside"), "x");

    renameRow(0, QStringLiteral("Back"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages().back().number, Msg::ReplayRenameFailed);
    EXPECT_TRUE(dialogs.messages().back().text.contains(QStringLiteral("Gone.rep")));
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Gone"), QStringLiteral("Locked")}));
    EXPECT_FALSE(replayExists(QStringLiteral("Back.rep")));

    clickRow(1);
    press("cmdDetails");
    dialogs.answerMessage(MsgResult::Yes);
    press("CommandButton5");
    ASSERT_EQ(dialogs.messages().size(), 3u);
    const DialogCall failure = dialogs.messages().back();
    EXPECT_EQ(failure.number, Msg::ReplayDeleteFailed);
    EXPECT_EQ(failure.style, MsgStyle::Critical);
    EXPECT_TRUE(failure.text.startsWith(QStringLiteral("Le replay n'a pas pu être supprimé.")));
    EXPECT_TRUE(failure.text.contains(QStringLiteral("Locked.rep")));
    EXPECT_TRUE(QFile::exists(folder() + QStringLiteral("Locked.rep/inside")));
    EXPECT_TRUE(detailsPanel->isVisible());
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Gone"), QStringLiteral("Locked")}));
}

TEST_F(ReplaysPageTest, InstallerIsOfferedByTheButtonAndTheMenu) {
    addReplay(QStringLiteral("Duel"), "03maps/alpine assault", kDuel);
    page->ListReplays();
    int requests = 0;
    QObject::connect(page, &ReplaysPage::installRequested, [&] { ++requests; });
    press("cmdInstall");
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(page->installButton(), child<UserControl1>("cmdInstall"));
    chooseFromMenu(0, "mnuInstall");
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(page->installAction()->objectName(), QStringLiteral("mnuInstall"));
}

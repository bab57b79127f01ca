#include "big/big_archive.h"
#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/scripted_dialogs.h"
#include "core/translation_keys.h"
#include "install/install_demo.h"
#include "install/install_dialogs.h"
#include "shellmaps/shellmap_install.h"
#include "tests/app/app_fixture.h"
#include "tests/support/widget_actions.h"

#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>
#include <zip.h>

using namespace marvok;
using marvok::test::GameSetup;
using marvok::test::click;
using marvok::test::clickRow;
using marvok::test::in;

namespace {

struct Entry {
    QByteArray name;
    QByteArray data; // a link's target for a link
    bool link = false;
    QDateTime modified = {};
    QByteArray password = {};
};

QStringList texts(std::initializer_list<const char*> utf8) {
    QStringList list;
    for (const char* text : utf8)
        list << QString::fromUtf8(text);
    return list;
}

Entry symbolicLink(const char* name, const char* target) {
    return {name, target, true};
}

void makeZip(const QString& path, const std::vector<Entry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << error;
    for (const Entry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.data.constData(),
                                                 static_cast<zip_uint64_t>(entry.data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, entry.name.constData(), source, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(index, 0) << entry.name.constData() << ": " << zip_strerror(archive);
        const auto at = static_cast<zip_uint64_t>(index);
        if (entry.link) {
            ASSERT_EQ(zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX,
                                                       static_cast<zip_uint32_t>(S_IFLNK | 0777) << 16),
                      0);
        }
        if (entry.modified.isValid()) {
            ASSERT_EQ(zip_file_set_mtime(archive, at, time_t(entry.modified.toSecsSinceEpoch()), 0), 0);
        }
        if (!entry.password.isEmpty()) {
            ASSERT_EQ(zip_file_set_encryption(archive, at, ZIP_EM_AES_256, entry.password.constData()), 0);
        }
    }
    ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

// Every file below `folder` as "relative/path=content", sorted; links marked with "@".
QStringList filesBelow(const QString& folder, const QStringList& leftOut = {}) {
    QStringList files;
    QDirIterator walk(folder, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        if (std::any_of(leftOut.begin(), leftOut.end(),
                        [&](const QString& p) { return relative.startsWith(p); }))
            continue;
        if (walk.fileInfo().isSymLink())
            files << u'@' + relative;
        else
            files << relative + u'=' + QString::fromUtf8(test::readBytes(path));
    }
    files.sort();
    return files;
}

QStringList rows(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

const char* listName(PackageKind kind) {
    return kind == PackageKind::Replays ? "File1" : "List1";
}

std::vector<int> numbers(const std::vector<DialogCall>& messages) {
    std::vector<int> found;
    for (const DialogCall& call : messages)
        found.push_back(call.number);
    return found;
}

class InstallWorld {
public:
    explicit InstallWorld(std::initializer_list<GameKind> installed = {Generals, ZeroHour,
                                                                       BattleForMiddleEarth})
        : games(installed)
        , archive(joinPath(games.folder(), QStringLiteral("pack.zip"))) {
        createServices(games.store());
        readInstallFolders(registry(), environment());
        composePlayerFolders(registry(), environment());
    }

    static QString targetOf(PackageKind kind, GameKind game) {
        const GameEnvironment& env = environment();
        return kind == PackageKind::Maps      ? env.MapsFolder[game]
               : kind == PackageKind::Replays ? env.ReplaysFolder[game]
                                              : env.InstallFolder[game];
    }

    // Everything in the test's folder except the archive and what the dialogs unpack.
    QStringList everything() const {
        return filesBelow(games.folder(), {QStringLiteral("pack.zip"), QStringLiteral("program/tmp/"),
                                           QStringLiteral("registry.reg")});
    }

    // Opens the dialog as a page does; `drive` gets it shown.
    bool open(PackageKind kind, const std::function<int(QDialog&)>& drive) {
        dialogs.answerOpenFile(archive);
        dialogs.driveModal(drive);
        return openInstallDialog(kind, [this] { ++refreshed; });
    }

    GameSetup games;
    ScriptedDialogService dialogs;
    QString archive;
    int refreshed = 0;
};

// Selects every row and presses "Installer".
int installAll(QDialog& dialog, const char* list) {
    auto* entries = in<QListWidget>(dialog, list);
    for (int row = 0; row < entries->count(); ++row)
        clickRow(entries, row);
    click(in<UserControl1>(dialog, "CommandButton2"));
    return dialog.result();
}

// Archive contents -> entries listed -> files installed (below the game's folder for the kind).
struct PackageCase {
    const char* label;
    PackageKind kind;
    std::vector<Entry> contents;
    std::vector<const char*> listed;
    std::vector<const char*> installed;
};

QStringList texts(const std::vector<const char*>& utf8) {
    QStringList list;
    for (const char* text : utf8)
        list << QString::fromUtf8(text);
    return list;
}

std::vector<PackageCase> packageCases() {
    using P = PackageKind;
    return {
        {"MapWithItsPreview",
         P::Maps,
         {{"Desert/Desert.map", "map"}, {"Desert/Desert.tga", "tga"}},
         {"Desert"},
         {"Desert/Desert.map=map", "Desert/Desert.tga=tga"}},
        {"FolderWithoutAMapOfItsName", P::Maps, {{"Desert/Other.map", "map"}}, {}, {}},
        {"MapPackInAMapsFolderLetterCaseIgnored",
         P::Maps,
         {{"readme.txt", "lisez-moi"},
          {"Maps/Oasis/Oasis.map", "oasis"},
          {"Maps/Oasis/Oasis.tga", "tga"},
          {"Maps/Delta/delta.MAP", "delta"},
          {"Maps/Notes/ideas.txt", "rien"}},
         {"Delta", "Oasis"},
         {"Delta/delta.MAP=delta", "Oasis/Oasis.map=oasis", "Oasis/Oasis.tga=tga"}},
        {"MapFilesOnlyNoSubfoldersHiddenFilesToo",
         P::Maps,
         {{"Desert/Desert.map", "map"}, {"Desert/.settings", "hidden"}, {"Desert/old/Desert.bak", "old"}},
         {"Desert"},
         {"Desert/.settings=hidden", "Desert/Desert.map=map"}},
        {"SameMapNameTwiceTheNearestTheTopWins",
         P::Maps,
         {{"Old/Maps/Desert/Desert.map", "old"}, {"Desert/Desert.map", "new"}},
         {"Desert"},
         {"Desert/Desert.map=new"}},
        {"MapEntriesUnpackingRefusedStayOut",
         P::Maps,
         {{"../Evil/Evil.map", "evil"},
          {"Desert/../../Escape/Escape.map", "escape"},
          {"/tmp/Abs/Abs.map", "abs"},
          symbolicLink("Linked/Linked.map", "/etc/passwd"),
          symbolicLink("Desert/Desert.tga", "/etc/passwd"),
          {"Desert/Desert.map", "map"}},
         {"Desert"},
         {"Desert/Desert.map=map"}},
        {"ReplayFoldersDropped",
         P::Replays,
         {{"Games/1v1/Final.rep", "rep"}},
         {"Final.rep"},
         {"Final.rep=rep"}},
        {"ReplaysOnlyAndNoMacintoshShadowFiles",
         P::Replays,
         {{"b.REP", "b"}, {"notes.txt", "txt"}, {"__MACOSX/._b.REP", "shadow"}, {"a.rep", "a"}},
         {"a.rep", "b.REP"},
         {"a.rep=a", "b.REP=b"}},
        {"NoReplay", P::Replays, {{"notes.txt", "txt"}}, {}, {}},
        {"ReplayEntriesUnpackingRefusedStayOut",
         P::Replays,
         {{"../../outside.rep", "out"}, symbolicLink("linked.rep", "/etc/passwd"), {"ok.rep", "ok"}},
         {"ok.rep"},
         {"ok.rep=ok"}},
        {"ModInAFolderIsNoMod", P::Mods, {{"Data/Mod.big", "big"}}, {}, {}},
        {"ModAtTheTop", P::Mods, {{"Mod.big", "big"}, {"Mod.ini", "ini"}}, {"Mod.big"}, {"Mod.big=big"}},
        {"ModsAreFilesNotFolders",
         P::Mods,
         {{"B.big", "b"}, {"a.BIG", "a"}, {"readme.txt", "txt"}, {"Folder.big/inner.txt", "inner"}},
         {"a.BIG", "B.big"},
         {"B.big=b", "a.BIG=a"}},
    };
}

void PrintTo(const PackageCase& row, std::ostream* os) {
    *os << row.label;
}

class PackageCases : public ::testing::TestWithParam<PackageCase> {};

} // namespace

TEST_P(PackageCases, ListAndInstallIntoTheCurrentGame) {
    const PackageCase& row = GetParam();
    InstallWorld world;
    environment().CurrentGame = ZeroHour;
    makeZip(world.archive, row.contents);
    const QString target = InstallWorld::targetOf(row.kind, ZeroHour);
    const QStringList before = world.everything();

    QStringList listed;
    const bool installed = world.open(row.kind, [&](QDialog& dialog) {
        listed = rows(in<QListWidget>(dialog, listName(row.kind)));
        return installAll(dialog, listName(row.kind));
    });

    const int empty = row.kind == PackageKind::Maps ? 21 : row.kind == PackageKind::Replays ? 23 : 26;
    const int success = row.kind == PackageKind::Maps ? 20 : row.kind == PackageKind::Replays ? 22 : 27;
    EXPECT_EQ(listed, texts(row.listed));
    EXPECT_EQ(filesBelow(target), texts(row.installed));
    EXPECT_EQ(installed, !row.listed.empty());
    EXPECT_EQ(numbers(world.dialogs.messages()), std::vector<int>{row.listed.empty() ? empty : success});
    EXPECT_EQ(world.refreshed, row.listed.empty() ? 0 : 1);
    EXPECT_EQ(environment().CurrentGame, ZeroHour);
    // Nothing else was written anywhere, inside or outside the games' folders.
    QStringList written = world.everything();
    for (const QString& file : before)
        written.removeOne(file);
    QStringList expected;
    const QString relativeTarget = QDir(world.games.folder()).relativeFilePath(target);
    for (const QString& file : texts(row.installed))
        expected << relativeTarget + u'/' + file;
    EXPECT_EQ(written, expected);
    EXPECT_FALSE(QFileInfo::exists(joinPath(world.games.folder(), QStringLiteral("Evil"))));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/Abs/Abs.map")));
}

INSTANTIATE_TEST_SUITE_P(Packages, PackageCases, ::testing::ValuesIn(packageCases()),
                         [](const ::testing::TestParamInfo<PackageCase>& info) {
                             return std::string(info.param.label);
                         });

namespace {

class InstallTest : public ::testing::Test, public InstallWorld {};

} // namespace

TEST_F(InstallTest, TheDialogsCarryTheirNamesCaptionsAndKeys) {
    const struct {
        PackageKind kind;
        const char* name;
        const char* title;
        const char* instruction;
        const char* key;
    } dialogsToCheck[] = {
        {PackageKind::Maps, "frmInstallMap", "Installer des cartes",
         "Sélectionnez les cartes à installer :", "SelectMaps"},
        {PackageKind::Replays, "frmInstallRep", "Installer des replays",
         "Sélectionnez les replays à installer :", "SelectReplay"},
        {PackageKind::Mods, "frmInstallMod", "Installer des mods",
         "Sélectionnez les mods à installer :", "SelectMods"},
    };
    const auto check = [](QWidget& window, const char* name, const char* text, const char* key) {
        QWidget* control = in(window, name);
        ASSERT_NE(control, nullptr);
        const QString shown = control->property("caption").isValid() ? control->property("caption").toString()
                                                                     : control->property("text").toString();
        EXPECT_EQ(shown, QString::fromUtf8(text)) << name;
        EXPECT_EQ(translationKey(control), QLatin1String(key)) << name;
    };
    for (const auto& expected : dialogsToCheck) {
        std::unique_ptr<InstallDialog> dialog;
        if (expected.kind == PackageKind::Maps)
            dialog = std::make_unique<frmInstallMap>();
        else if (expected.kind == PackageKind::Replays)
            dialog = std::make_unique<frmInstallRep>();
        else
            dialog = std::make_unique<frmInstallMod>();
        EXPECT_EQ(dialog->objectName(), QLatin1String(expected.name));
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(expected.title));
        check(*dialog, "Label1", expected.instruction, expected.key);
        check(*dialog, "Label2", "Fichier : ", "File");
        check(*dialog, "Label3", "-", "");
        check(*dialog, "Label4", "Jeu :", "Game");
        check(*dialog, "CommandButton2", "Installer", "Install");
        check(*dialog, "CommandButton3", "Annuler", "Cancel");
        EXPECT_FALSE(in<UserControl1>(*dialog, "CommandButton2")->isEnabled());
        auto* games = in<QComboBox>(*dialog, "Combo1");
        EXPECT_EQ(games->count(), 3);
        EXPECT_EQ(games->itemText(0), QStringLiteral("Generals"));
        EXPECT_EQ(games->itemText(1), QStringLiteral("Generals : Heure H"));
        EXPECT_EQ(games->itemText(2), QStringLiteral("Bataille pour la Terre du Milieu"));
        EXPECT_EQ(games->currentIndex(), -1);
        EXPECT_NE(in<QListWidget>(*dialog, listName(expected.kind)), nullptr);
    }

    frmInstallHome home(QStringLiteral("pack.zip"));
    EXPECT_EQ(home.windowTitle(), QStringLiteral("Installer un fichier"));
    check(home, "Label1", "Fichier :", "File");
    check(home, "Label2", "Options :", "Options");
    check(home, "Option1", "Installer une shellmap", "InstallShellmap");
    check(home, "Option2", "Installer une/des carte(s)", "InstallMap");
    check(home, "Option3", "Installer un/des replay(s)", "InstallReplay");
    check(home, "Option4", "Installer un/des mod(s)", "InstallMod");
    check(home, "CommandButton2", "Installer", "Install");
    check(home, "CommandButton3", "Annuler", "Cancel");
    EXPECT_EQ(in<VornOptionButton>(home, "Option1")->value(), 1);
    for (const char* other : {"Option2", "Option3", "Option4"})
        EXPECT_EQ(in<VornOptionButton>(home, other)->value(), 0);
    // Top to bottom in their order.
    EXPECT_LT(in(home, "Option1")->y(), in(home, "Option2")->y());
    EXPECT_LT(in(home, "Option2")->y(), in(home, "Option3")->y());
    EXPECT_LT(in(home, "Option3")->y(), in(home, "Option4")->y());
}

TEST_F(InstallTest, OnlyTheSelectedEntriesAreInstalledAndInstallerFollowsTheSelection) {
    makeZip(archive, {{"One.big", "1"}, {"Two.big", "2"}, {"Three.big", "3"}});
    // A game folder that is gone is made again, as the player's folders are.
    ASSERT_TRUE(QDir(games.installFolder(Generals)).removeRecursively());
    open(PackageKind::Mods, [&](QDialog& dialog) {
        auto* list = in<QListWidget>(dialog, "List1");
        auto* install = in<UserControl1>(dialog, "CommandButton2");
        EXPECT_EQ(rows(list), texts({"One.big", "Three.big", "Two.big"}));
        EXPECT_FALSE(in(dialog, "Label4")->isVisible());
        EXPECT_FALSE(in(dialog, "Combo1")->isVisible());
        EXPECT_EQ(in<QLabel>(dialog, "Label3")->text(), archive);
        EXPECT_FALSE(install->isEnabled());
        clickRow(list, 1);
        EXPECT_TRUE(install->isEnabled());
        clickRow(list, 1);
        EXPECT_FALSE(install->isEnabled());
        clickRow(list, 2);
        clickRow(list, 0);
        click(install);
        return dialog.result();
    });
    EXPECT_EQ(filesBelow(games.installFolder(Generals)), texts({"One.big=1", "Two.big=2"}));
    EXPECT_EQ(numbers(dialogs.messages()), std::vector<int>{27});
    ASSERT_FALSE(dialogs.calls().empty());
    EXPECT_EQ(dialogs.calls().front().kind, DialogCall::Kind::OpenFile);
    EXPECT_EQ(dialogs.calls().front().filter, QStringLiteral("Fichiers compressés ZIP|*.zip"));
}

TEST_F(InstallTest, AMapIsInstalledOverItsExistingFolder) {
    const QString maps = environment().MapsFolder[Generals];
    test::writeBytes(joinPath(maps, QStringLiteral("desert/desert.map")), "old map");
    test::writeBytes(joinPath(maps, QStringLiteral("desert/notes.txt")), "kept");
    makeZip(archive, {{"Desert/Desert.map", "new map"}, {"Desert/Desert.tga", "tga"}});
    // Left by the last install: the temporary folder is emptied first.
    test::writeBytes(joinPath(temporaryFolder(), QStringLiteral("Stale/Stale.map")), "old archive");
    open(PackageKind::Maps, [&](QDialog& dialog) {
        EXPECT_EQ(rows(in<QListWidget>(dialog, "List1")), texts({"Desert"}));
        return installAll(dialog, "List1");
    });
    EXPECT_EQ(filesBelow(maps),
              texts({"desert/Desert.tga=tga", "desert/desert.map=new map", "desert/notes.txt=kept"}));
    EXPECT_EQ(numbers(dialogs.messages()), std::vector<int>{20});
}

TEST_F(InstallTest, ACancelledChoiceOrAnUnreadableArchiveClosesTheDialog) {
    EXPECT_FALSE(openInstallDialog(PackageKind::Maps, [this] { ++refreshed; }));
    EXPECT_TRUE(dialogs.messages().empty());

    test::writeBytes(archive, "not a zip archive");
    dialogs.answerOpenFile(archive);
    EXPECT_FALSE(openInstallDialog(PackageKind::Replays, [this] { ++refreshed; }));
    EXPECT_EQ(numbers(dialogs.messages()), std::vector<int>{23});
    EXPECT_EQ(refreshed, 0);
    for (const DialogCall& call : dialogs.calls())
        EXPECT_NE(call.kind, DialogCall::Kind::Modal);
}

TEST_F(InstallTest, ACopyThatFailsIsNamedAndNotReportedAsSuccess) {
    const QString replays = environment().ReplaysFolder[Generals];
    // A folder where the second replay should go: it cannot be replaced by a file.
    QDir().mkpath(joinPath(replays, QStringLiteral("b.rep")));
    makeZip(archive, {{"a.rep", "a"}, {"b.rep", "b"}});
    open(PackageKind::Replays, [&](QDialog& dialog) { return installAll(dialog, "File1"); });
    EXPECT_EQ(filesBelow(replays), texts({"a.rep=a"}));
    const std::vector<DialogCall> messages = dialogs.messages();
    ASSERT_EQ(numbers(messages), std::vector<int>{Msg::InstallCopyFailed});
    EXPECT_TRUE(
        messages[0].text.contains(QDir::toNativeSeparators(joinPath(replays, QStringLiteral("b.rep")))))
        << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].style, MsgStyle::Critical);
    EXPECT_EQ(refreshed, 1); // a.rep is there to be listed

    // A maps folder that cannot be made.
    dialogs.clear();
    const QString maps = environment().MapsFolder[Generals];
    test::writeBytes(QDir::cleanPath(maps), "a file in the way");
    makeZip(archive, {{"Desert/Desert.map", "map"}});
    open(PackageKind::Maps, [&](QDialog& dialog) { return installAll(dialog, "List1"); });
    ASSERT_EQ(numbers(dialogs.messages()), std::vector<int>{Msg::InstallCopyFailed});
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QDir::toNativeSeparators(maps)));
}

TEST_F(InstallTest, AnInstalledReplayKeepsTheDateTheArchiveGivesIt) {
    const QDateTime played(QDate(2024, 9, 14), QTime(21, 7, 0));
    makeZip(archive, {{"Tournoi/Finale.rep", "rep", false, played, "secret"}});
    dialogs.answerInput(QStringLiteral("secret"));
    open(PackageKind::Replays, [&](QDialog& dialog) { return installAll(dialog, "File1"); });
    const QFileInfo installed(joinPath(environment().ReplaysFolder[Generals], QStringLiteral("Finale.rep")));
    ASSERT_TRUE(installed.isFile());
    EXPECT_EQ(installed.lastModified(), played);
    const auto input =
        std::find_if(dialogs.calls().begin(), dialogs.calls().end(),
                     [](const DialogCall& call) { return call.kind == DialogCall::Kind::Input; });
    ASSERT_NE(input, dialogs.calls().end());
    EXPECT_EQ(input->text, QStringLiteral("Please Enter The Password!"));
    EXPECT_TRUE(input->title.isEmpty());
}

TEST_F(InstallTest, InTheGeneratorTheLoadingDoesNothing) {
    environment().CommandLine = QStringLiteral("/genlanfile");
    frmInstallMap dialog;
    EXPECT_TRUE(dialog.load());
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(in<QLabel>(dialog, "Label3")->text(), QStringLiteral("-"));
    frmInstallHome home(QStringLiteral("pack.zip"));
    home.load();
    EXPECT_EQ(in<QLabel>(home, "Label3")->text(), QStringLiteral("-"));
}

namespace {

class CommandLineTest : public ::testing::Test, public InstallWorld {
protected:
    CommandLineTest()
        : InstallWorld({Generals, BattleForMiddleEarth}) {}
};

} // namespace

// Started as "marvok <file>": the path as typed, in quotes because it holds a blank.
TEST_F(CommandLineTest, TheFileIsInstalledIntoTheChosenGameAndTheProgramEndsWithTheLastWindow) {
    const QString typed = joinPath(games.folder(), QStringLiteral("Mes Packs/Pack Désert.ZIP"));
    QDir().mkpath(QFileInfo(typed).path());
    makeZip(typed, {{"Maps/Desert/Desert.map", "map"}});
    environment().CommandLineAsTyped = u'"' + typed + u'"';
    environment().CommandLine = environment().CommandLineAsTyped.toLower();
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);

    QPointer<frmInstallHome> home = openInstallHome(environment().CommandLineAsTyped);
    ASSERT_TRUE(home);
    EXPECT_TRUE(home->isVisible());
    EXPECT_EQ(in<QLabel>(*home, "Label3")->text(), typed);
    click(in(*home, "Option2"));
    EXPECT_EQ(in<VornOptionButton>(*home, "Option1")->value(), 0);

    dialogs.driveModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("frmInstallMap"));
        EXPECT_EQ(in<QLabel>(dialog, "Label3")->text(), typed);
        EXPECT_TRUE(in(dialog, "Label4")->isVisible());
        auto* game = in<QComboBox>(dialog, "Combo1");
        EXPECT_TRUE(game->isVisible());
        EXPECT_EQ(game->currentIndex(), -1);
        auto* list = in<QListWidget>(dialog, "List1");
        EXPECT_EQ(rows(list), texts({"Desert"}));
        clickRow(list, 0);
        auto* install = in<UserControl1>(dialog, "CommandButton2");

        click(install); // no game chosen
        game->setCurrentIndex(ZeroHour);
        click(install); // a game that is not installed
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialog.isVisible());

        game->setCurrentIndex(BattleForMiddleEarth);
        click(install);
        return dialog.result();
    });
    click(in(*home, "CommandButton2"));

    const std::vector<DialogCall> messages = dialogs.messages();
    ASSERT_EQ(numbers(messages),
              std::vector<int>({Msg::InstallGameNotChosen, Msg::InstallGameNotInstalled, 20}));
    EXPECT_EQ(messages[1].text,
              messageText(Msg::InstallGameNotInstalled, QStringLiteral("Generals : Heure H")));
    for (const DialogCall& call : dialogs.calls())
        EXPECT_NE(call.kind, DialogCall::Kind::OpenFile);
    EXPECT_EQ(environment().CurrentGame, BattleForMiddleEarth);
    EXPECT_EQ(filesBelow(environment().MapsFolder[BattleForMiddleEarth]), texts({"Desert/Desert.map=map"}));
    EXPECT_TRUE(filesBelow(environment().MapsFolder[Generals]).isEmpty());

    // The home window is there again for the same file, until it is closed; then the program's event
    // loop ends by itself, since no window is left.
    ASSERT_TRUE(home);
    EXPECT_TRUE(home->isVisible());
    QTimer::singleShot(0, home, [&] { click(in(*home, "CommandButton3")); });
    bool endedByItself = true;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        endedByItself = false;
        QApplication::exit(1);
    });
    guard.start(20000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(endedByItself);
    EXPECT_EQ(lastWindowClosed.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(home);
}

TEST_F(CommandLineTest, EachOptionOpensItsDialogForTheFile) {
    makeZip(archive, {{"Desert/Desert.map", "map"}, {"Final.rep", "rep"}, {"Mod.big", "big"}});
    frmInstallHome home(u'"' + archive + u'"');
    home.load();
    home.show();
    const struct {
        const char* option;
        const char* window;
        const char* pathLabel;
    } cases[] = {{"Option1", "Form2", "Label4"},
                 {"Option2", "frmInstallMap", "Label3"},
                 {"Option3", "frmInstallRep", "Label3"},
                 {"Option4", "frmInstallMod", "Label3"}};
    for (const auto& expected : cases) {
        click(in(home, expected.option));
        QString opened;
        QString path;
        dialogs.driveModal([&](QDialog& dialog) {
            opened = dialog.objectName();
            path = in<QLabel>(dialog, expected.pathLabel)->text();
            EXPECT_EQ(dialog.parentWidget(), &home);
            click(in(dialog, "CommandButton3"));
            return dialog.result();
        });
        click(in(home, "CommandButton2"));
        EXPECT_EQ(opened, QLatin1String(expected.window));
        EXPECT_EQ(path, archive);
        EXPECT_TRUE(home.isVisible());
    }
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(InstallTest, TheDemoPackagesInstall) {
    const QString folder = joinPath(games.folder(), QStringLiteral("demo"));
    QString error;
    ASSERT_TRUE(writeInstallDemoArchives(folder, &error)) << error.toStdString();
    environment().CurrentGame = ZeroHour;
    const struct {
        PackageKind kind;
        const char* file;
        std::initializer_list<const char*> listed;
    } packages[] = {
        {PackageKind::Maps, "Pack de cartes.zip", {"Col du Loup", "Delta", "Oasis"}},
        {PackageKind::Replays, "Pack de replays.zip", {"Demi-finale.rep", "Duel du soir.rep", "Finale.rep"}},
        {PackageKind::Mods, "Mod Hiver rouge.zip", {"Hiver rouge.big"}},
    };
    for (const auto& package : packages) {
        archive = joinPath(folder, QString::fromUtf8(package.file));
        QStringList listed;
        open(package.kind, [&](QDialog& dialog) {
            listed = rows(in<QListWidget>(dialog, listName(package.kind)));
            return installAll(dialog, listName(package.kind));
        });
        EXPECT_EQ(listed, texts(package.listed)) << package.file;
    }
    EXPECT_EQ(numbers(dialogs.messages()), std::vector<int>({20, 22, 27}));
    const GameEnvironment& env = environment();
    for (const char* map : {"Col du Loup", "Delta", "Oasis"}) {
        const QString name = QString::fromUtf8(map);
        EXPECT_TRUE(QFileInfo(joinPath(env.MapsFolder[ZeroHour], name + u'/' + name + QStringLiteral(".map")))
                        .isFile())
            << map;
    }
    const QFileInfo finale(joinPath(env.ReplaysFolder[ZeroHour], QStringLiteral("Finale.rep")));
    EXPECT_TRUE(test::readBytes(finale.filePath()).startsWith("GENREP"));
    EXPECT_EQ(finale.lastModified().date(), QDate(2024, 9, 14));
    ArchiveEntries index;
    ASSERT_EQ(
        ReadArchiveIndex(joinPath(env.InstallFolder[ZeroHour], QStringLiteral("Hiver rouge.big")), index),
        IndexReadResult::Read);
    EXPECT_EQ(index.size(), 3);
}

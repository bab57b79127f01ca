#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/ini_runtime.h"
#include "core/paths.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmap_rotation.h"
#include "shellmaps/startup_shellmap.h"
#include "tests/shellmaps/shellmap_fixture.h"

#include <QDialog>
#include <QDir>
#include <QTest>

using namespace marvok;
using marvok::test::ShellMapTest;

namespace {

struct RotationCase {
    const char* what;
    GameKind game;
    QStringList before; // "<folder>:<id>[:<ZephInstalled>[/<Index>]]" inside Maps
    const char* count;  // the catalogue's "Count"; nullptr: no catalogue
    const char* hide;   // HideDetectedShellMapError; nullptr: not set
    double draw;
    bool succeeds;
    QStringList after; // as mapsContent() gives it
    bool notice;
};

QStringList list(std::initializer_list<const char*> items) {
    QStringList texts;
    for (const char* item : items)
        texts << QString::fromUtf8(item);
    return texts;
}

const RotationCase kCases[] = {
    {"Generals: the first start activates the drawn entry", Generals, list({"ZephShellMap0:e0"}), "1",
     nullptr, 0.0, true, list({"ShellMap1:e0:1/0"}), false},
    {"Generals: the next start puts it back and activates nothing", Generals, list({"ShellMap1:e0:1/0"}), "1",
     nullptr, 0.0, true, list({"ZephShellMap0:e0:1/0"}), false},
    {"Generals: a ShellMap of the player's is moved aside after the notice", Generals,
     list({"ShellMap1:own", "ZephShellMap0:e0"}), "1", nullptr, 0.0, true,
     list({"ShellMapSAV:own", "ZephShellMap0:e0"}), true},
    {"a setting of 0 shows the notice", Generals, list({"ShellMap1:own"}), "1", "0", 0.0, true,
     list({"ShellMapSAV:own"}), true},
    {"a setting that is not a number shows the notice", Generals, list({"ShellMap1:own"}), "1", "oui", 0.0,
     true, list({"ShellMapSAV:own"}), true},
    {"a setting of 1 hides the notice", Generals, list({"ShellMap1:own"}), "1", "1", 0.0, true,
     list({"ShellMapSAV:own"}), false},
    {"a marker other than exactly 1 is not ours", Generals, list({"ShellMap1:own:yes/0"}), "1", "1", 0.0,
     true, list({"ShellMapSAV:own:yes/0"}), false},
    {"a marker without Index names entry 0", Generals, list({"ShellMap1:e0:1"}), "1", nullptr, 0.0, true,
     list({"ZephShellMap0:e0:1/"}), false},
    {"the active folder is found whatever its letter case", Generals, list({"shellmap1:e0:1/0"}), "1",
     nullptr, 0.0, true, list({"ZephShellMap0:e0:1/0"}), false},
    {"The Battle for Middle-earth draws among its entries", BattleForMiddleEarth,
     list({"ZephShellMap0:e0", "ZephShellMap1:e1"}), "2", nullptr, 0.75, true,
     list({"ShellMap1:e1:1/1", "ZephShellMap0:e0"}), false},
    {"Zero Hour puts the active entry back and then draws", ZeroHour,
     list({"ShellMapMD:e2:1/2", "ZephShellMap0:e0", "ZephShellMap1:e1"}), "3", nullptr, 0.5, true,
     list({"ShellMapMD:e1:1/1", "ZephShellMap0:e0", "ZephShellMap2:e2:1/2"}), false},
    {"Zero Hour may draw the same entry again", ZeroHour,
     list({"ShellMapMD:e2:1/2", "ZephShellMap0:e0", "ZephShellMap1:e1"}), "3", nullptr, 0.99, true,
     list({"ShellMapMD:e2:1/2", "ZephShellMap0:e0", "ZephShellMap1:e1"}), false},
    {"Zero Hour moves a ShellMap of the player's aside and then draws", ZeroHour,
     list({"ShellMapMD:own", "ZephShellMap0:e0", "ZephShellMap1:e1"}), "2", nullptr, 0.9, true,
     list({"ShellMapMD:e1:1/1", "ShellMapSAV:own", "ZephShellMap0:e0"}), true},
    {"an existing backup folder stops both moves", ZeroHour,
     list({"ShellMapMD:own", "ShellMapSAV:old", "ZephShellMap0:e0"}), "1", nullptr, 0.0, true,
     list({"ShellMapMD:own", "ShellMapSAV:old", "ZephShellMap0:e0"}), true},
    {"an entry without folder leaves nothing active", Generals, list({}), "0", nullptr, 0.0, true, list({}),
     false},
    {"without a catalogue nothing is touched", Generals, list({"ShellMap1:own", "ZephShellMap0:e0"}), nullptr,
     nullptr, 0.0, false, list({"ShellMap1:own", "ZephShellMap0:e0"}), false},
    {"a count that is not a number fails the same way", ZeroHour, list({"ShellMapMD:e0:1/0"}), "deux",
     nullptr, 0.0, false, list({"ShellMapMD:e0:1/0"}), false},
};

void lay(test::ShellMapWorld& world, const RotationCase& c) {
    for (const QString& folder : c.before) {
        const QStringList parts = folder.split(u':');
        world.addFolder(c.game, parts[0], parts[1], parts.size() > 2 ? parts[2].split(u'/') : QStringList());
    }
    if (c.count)
        world.writeCatalogueFile(c.game, "[Global]\r\nCount=" + QByteArray(c.count) + "\r\n");
    if (c.hide)
        INIRuntime().WriteINI(QStringLiteral("Startup"), QStringLiteral("HideDetectedShellMapError"),
                              QString::fromLatin1(c.hide), rotationSettingsPath());
}

int noticesShown(const ScriptedDialogService& dialogs) {
    return int(std::count_if(dialogs.calls().begin(), dialogs.calls().end(), [](const DialogCall& call) {
        return call.kind == DialogCall::Kind::Modal && call.windowName == u"Form4";
    }));
}

// Closes the notice with "OK", ticking "Ne plus afficher ce message" first when `hide`.
void answerNotice(ScriptedDialogService& dialogs, bool hide) {
    dialogs.driveModal([hide](QDialog& notice) {
        if (hide) {
            auto* check = notice.findChild<VornCheckBox*>(QStringLiteral("Check1"));
            QTest::mouseClick(check, Qt::LeftButton, {}, check->rect().center());
        }
        auto* ok = notice.findChild<UserControl1*>(QStringLiteral("Command1"));
        QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
        return notice.result();
    });
}

QString noticeSetting() {
    return INIRuntime().ReadINI(QStringLiteral("Startup"), QStringLiteral("HideDetectedShellMapError"),
                                rotationSettingsPath());
}

class RotationTest : public ShellMapTest {
protected:
    ~RotationTest() override { setShellMapRandomSource({}); }
};

} // namespace

TEST_F(RotationTest, EachCaseLeavesTheMapsFolderAsExpected) {
    for (const RotationCase& c : kCases) {
        SCOPED_TRACE(c.what);
        test::ShellMapWorld world;
        lay(world, c);
        const double draw = c.draw;
        setShellMapRandomSource([draw] { return draw; });
        if (c.notice)
            answerNotice(world.dialogs, false);
        EXPECT_EQ(PrepareStartupShellMap(c.game), c.succeeds);
        EXPECT_EQ(world.mapsContent(c.game), c.after);
        EXPECT_EQ(noticesShown(world.dialogs), c.notice ? 1 : 0);
        EXPECT_EQ(world.dialogs.unexpected(), 0);
    }
}

TEST_F(RotationTest, TheNoticeStoresWhetherItShowsAgain) {
    writeCatalogueFile(Generals, "[Global]\r\nCount=1\r\n");
    addFolder(Generals, QStringLiteral("ShellMap1"), QStringLiteral("own"));
    answerNotice(dialogs, false);
    ASSERT_TRUE(PrepareStartupShellMap(Generals));
    EXPECT_EQ(noticeSetting(), QStringLiteral("0"));

    QDir(joinPath(install(Generals), QStringLiteral("Maps/ShellMapSAV"))).removeRecursively();
    addFolder(Generals, QStringLiteral("ShellMap1"), QStringLiteral("own"));
    answerNotice(dialogs, true);
    ASSERT_TRUE(PrepareStartupShellMap(Generals));
    EXPECT_EQ(noticeSetting(), QStringLiteral("1"));
    EXPECT_EQ(noticesShown(dialogs), 2);

    QDir(joinPath(install(Generals), QStringLiteral("Maps/ShellMapSAV"))).removeRecursively();
    addFolder(Generals, QStringLiteral("ShellMap1"), QStringLiteral("own"));
    ASSERT_TRUE(PrepareStartupShellMap(Generals));
    EXPECT_EQ(noticesShown(dialogs), 2);
    EXPECT_EQ(mapsContent(Generals), QStringList({QStringLiteral("ShellMapSAV:own")}));
}

TEST(RotationDraw, EveryEntryCanBeDrawn) {
    EXPECT_EQ(drawnEntry(0, 0.7), 0);
    EXPECT_EQ(drawnEntry(3, 0.0), 0);
    EXPECT_EQ(drawnEntry(3, 0.34), 1);
    EXPECT_EQ(drawnEntry(3, 0.999999), 2);
    EXPECT_EQ(drawnEntry(3, 1.0), 2); // a source that reaches 1 still names an entry
}

TEST(RotationWithoutGame, AGameThatIsNotInstalledFails) {
    test::ShellMapWorld world({Generals});
    world.writeCatalogueFile(ZeroHour, "[Global]\r\nCount=1\r\n");
    EXPECT_FALSE(PrepareStartupShellMap(ZeroHour));
}

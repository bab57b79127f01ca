#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/ini_runtime.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/translation_keys.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmap_dialogs.h"
#include "shellmaps/shellmap_install.h"
#include "shellmaps/shellmaps_page.h"
#include "shellmaps/startup_shellmap.h"
#include "tests/shellmaps/shellmap_fixture.h"
#include "tests/support/widget_actions.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using namespace marvok;
using marvok::test::ShellMapTest;
using marvok::test::ZipEntry;
using marvok::test::click;
using marvok::test::clickRow;
using marvok::test::in;

namespace {

QByteArray jpegBytes(const QColor& colour) {
    QImage picture(40, 25, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG");
    return bytes;
}

// "Suivant >>" of Form2, "Installer" of Form3.
int pressNext(QDialog& form) {
    click(in<UserControl1>(form, "CommandButton2"));
    return form.result();
}

int cancel(QDialog& form) {
    click(in<UserControl1>(form, "CommandButton3"));
    return form.result();
}

class InstallTest : public ShellMapTest {
protected:
    InstallTest()
        : archive(joinPath(games.folder(), QStringLiteral("pack.zip"))) {}

    // An archive whose files lie in a folder, as archives often come.
    void makeArchive(const QByteArray& mapName, bool withImage = true) {
        std::vector<ZipEntry> entries = {{"Pack/" + mapName, "CkMp map", {}},
                                         {"Pack/readme.txt", "Lisez-moi", {}}};
        if (withImage)
            entries.push_back({"Pack/shot.jpg", jpegBytes(Qt::blue), {}});
        test::makeZip(archive, entries);
    }

    QString value(GameKind game, const QString& section, const char* key) const {
        return INIRuntime().ReadINI(section, QLatin1String(key), cataloguePath(game));
    }

    // Runs the dialogs for `archive` as the page does; `form2` drives Form2, `form3` (when given) Form3.
    bool runInstallation(const std::function<int(QDialog&)>& form2,
                         const std::function<int(QDialog&)>& form3 = {},
                         const QString& commandLineArchive = QString()) {
        if (commandLineArchive.isEmpty())
            dialogs.answerOpenFile(archive);
        dialogs.driveModal(form2);
        if (form3)
            dialogs.driveModal(form3);
        return openShellMapInstallation(commandLineArchive,
                                        [this](GameKind game) { listed.push_back(game); });
    }

    QString archive;
    std::vector<GameKind> listed;
};

} // namespace

TEST_F(InstallTest, AnArchiveBecomesTheNextEntryWithItsScreenshotAndInformation) {
    makeArchive("ShellMap1.map");
    writeCatalogueFile(Generals, catalogueText(1, {QStringLiteral("Ancienne")}));
    test::writeBytes(joinPath(temporaryFolder(), QStringLiteral("stale.map")), "left by the last install");
    const QString entryFolder = joinPath(install(Generals), QStringLiteral("Maps/ZephShellMap1"));

    const bool made = runInstallation(
        [&](QDialog& form) {
            EXPECT_EQ(form.windowTitle(), QStringLiteral("Ajouter une ShellMap"));
            EXPECT_EQ(in<QLabel>(form, "Label4")->text(), archive);
            EXPECT_EQ(in<QComboBox>(form, "Combo1")->currentIndex(), Generals);
            auto* images = in<QListWidget>(form, "File1");
            EXPECT_EQ(images->count(), 1);
            EXPECT_EQ(images->item(0)->text(), QStringLiteral("shot.jpg"));
            auto* check = in<VornCheckBox>(form, "Check1");
            EXPECT_TRUE(check->isEnabled());
            EXPECT_FALSE(in<QGroupBox>(form, "Frame1")->isEnabled());
            EXPECT_FALSE(in<UserControl1>(form, "CommandButton1")->isEnabled());
            auto* next = in<UserControl1>(form, "CommandButton2");
            EXPECT_TRUE(next->isEnabled());

            click(check);
            EXPECT_TRUE(in<QGroupBox>(form, "Frame1")->isEnabled());
            EXPECT_TRUE(in<VornOptionButton>(form, "Option1")->isEnabled());
            click(in<VornOptionButton>(form, "Option1"));
            EXPECT_FALSE(next->isEnabled()); // no image chosen yet
            clickRow(images, 0);
            EXPECT_TRUE(next->isEnabled());
            return pressNext(form);
        },
        [&](QDialog& form) {
            EXPECT_EQ(in<QLabel>(form, "Label6")->text(), catalogueDate());
            const QImage shown = in<QLabel>(form, "Image1")->pixmap().toImage();
            const QColor middle = shown.pixelColor(shown.width() / 2, shown.height() / 2);
            EXPECT_GT(middle.blue(), 200);
            EXPECT_LT(middle.red(), 60);
            EXPECT_EQ(in<QLineEdit>(form, "Text1")->text(), QStringLiteral("ShellMap"));
            in<QLineEdit>(form, "Text1")->setText(QStringLiteral("Canyon"));
            in<QPlainTextEdit>(form, "Text2")->setPlainText(QStringLiteral("Deux lignes\nde texte"));
            in<QLineEdit>(form, "Text3")->setText(QStringLiteral("http://example.org/canyon"));
            click(in<UserControl1>(form, "CommandButton2"));
            return form.result();
        });

    EXPECT_TRUE(made);
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(listFolder(entryFolder, QStringLiteral("*.*"), EntryKind::FilesAndFolders),
              QStringList({QStringLiteral("readme.txt"), QStringLiteral("ShellMap1.map"),
                           QStringLiteral("shot.jpg")}));
    EXPECT_EQ(value(Generals, QStringLiteral("Global"), "Count"), QStringLiteral("2"));
    const CatalogueEntry entry = readCatalogueEntry(cataloguePath(Generals), 1);
    EXPECT_EQ(entry, (CatalogueEntry{catalogueDate(), joinPath(entryFolder, QStringLiteral("shot.jpg")),
                                     QStringLiteral("Canyon"), QStringLiteral("Deux lignes de texte"),
                                     QStringLiteral("http://example.org/canyon")}));
    EXPECT_EQ(readCatalogueEntry(cataloguePath(Generals), 0).name, QStringLiteral("Ancienne"));
    EXPECT_EQ(listed, std::vector<GameKind>({Generals}));
    EXPECT_EQ(currentCatalogue(), cataloguePath(Generals));
}

TEST(InstallTable, TheMapFileChoosesTheGame) {
    struct Case {
        const char* what;
        QByteArray map; // empty: no map file
        GameKind chosen;
        bool commandLine;
        GameKind uninstalled; // one game taken out of the environment; Generals stays
        int refusal;          // 0: installed
        GameKind target;
    };
    const Case cases[] = {
        {"a Zero Hour ShellMap needs Zero Hour chosen", "ShellMapMD.map", Generals, false, Generals, 10, {}},
        {"letter case does not matter", "shellmapmd.map", ZeroHour, false, Generals, 0, ZeroHour},
        {"given on the command line it goes to Zero Hour", "ShellMapMD.map", Generals, true, Generals, 0,
         ZeroHour},
        {"a Generals ShellMap does not go to Zero Hour", "ShellMap1.map", ZeroHour, false, Generals, 11, {}},
        {"a Generals ShellMap may go to The Battle for Middle-earth", "SHELLMAP1.MAP", BattleForMiddleEarth,
         false, Generals, 0, BattleForMiddleEarth},
        {"another map file is no ShellMap", "Desert.map", Generals, false, Generals, 13, {}},
        {"no map file at all", "", Generals, false, Generals, 13, {}},
        {"a chosen game that is not installed is refused",
         "ShellMap1.map",
         BattleForMiddleEarth,
         false,
         BattleForMiddleEarth,
         Msg::ShellMapGameNotInstalled,
         {}},
        {"Zero Hour not installed",
         "ShellMapMD.map",
         ZeroHour,
         false,
         ZeroHour,
         Msg::ShellMapGameNotInstalled,
         {}},
        {"Zero Hour not installed, from the command line",
         "ShellMapMD.map",
         Generals,
         true,
         ZeroHour,
         10,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ShellMapWorld world;
        const QString zip = joinPath(world.games.folder(), QStringLiteral("pack.zip"));
        std::vector<ZipEntry> entries = {{"Pack/shot.jpg", jpegBytes(Qt::green), {}}};
        if (!c.map.isEmpty())
            entries.push_back({"Pack/" + c.map, "CkMp", {}});
        test::makeZip(zip, entries);
        if (c.uninstalled != Generals)
            environment().InstallFolder[c.uninstalled].clear();
        if (!c.commandLine)
            world.dialogs.answerOpenFile(zip);
        world.dialogs.driveModal([&](QDialog& form) {
            in<QComboBox>(form, "Combo1")->setCurrentIndex(c.chosen);
            const int result = pressNext(form);
            if (c.refusal != 0) {
                EXPECT_TRUE(form.isVisible()); // the dialog stays open
                return cancel(form);
            }
            return result;
        });
        if (c.refusal == 0)
            world.dialogs.driveModal(cancel);
        const bool made = openShellMapInstallation(c.commandLine ? u'"' + zip + u'"' : QString(), {});

        EXPECT_EQ(made, c.refusal == 0);
        const auto messages = world.dialogs.messages();
        if (c.refusal == 0) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(catalogueCount(cataloguePath(c.target)), 1);
            // Closing the information dialog leaves the entry without a name.
            EXPECT_EQ(INIRuntime().ReadINI(QStringLiteral("ShellMap0"), QStringLiteral("Name"),
                                           cataloguePath(c.target)),
                      QString());
            EXPECT_TRUE(QFile::exists(
                joinPath(world.install(c.target), u"Maps/ZephShellMap0/" + QString::fromLatin1(c.map))));
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].number, c.refusal);
            EXPECT_EQ(messages[0].style, 16);
            for (GameKind game : {Generals, ZeroHour, BattleForMiddleEarth})
                EXPECT_FALSE(QFile::exists(cataloguePath(game)));
        }
        EXPECT_EQ(world.dialogs.unexpected(), 0);
    }
}

TEST_F(InstallTest, TheRefusalOfAGameNotInstalledNamesIt) {
    makeArchive("ShellMap1.map");
    environment().InstallFolder[BattleForMiddleEarth].clear();
    runInstallation([](QDialog& form) {
        in<QComboBox>(form, "Combo1")->setCurrentIndex(BattleForMiddleEarth);
        pressNext(form);
        return cancel(form);
    });
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(
        dialogs.messages()[0].text,
        QStringLiteral("Le jeu Bataille pour la Terre du Milieu n'a pas été détecté sur votre ordinateur. "
                       "Impossible d'installer la ShellMap."));
}

TEST(InstallTable, TheScreenshotValueFollowsTheChoices) {
    struct Case {
        const char* what;
        bool tick;
        int option; // 0 none, 1 the archive's image, 2 another file
        bool chooseOther;
        const char* expected; // "entry": the archive's image in the entry's folder, "other", or empty
    };
    const Case cases[] = {
        {"no screenshot asked for", false, 0, true, ""},
        {"asked for, nothing chosen", true, 0, false, ""},
        {"asked for, another file chosen without an option", true, 0, true, "other"},
        {"the archive's image", true, 1, false, "entry"},
        {"another file", true, 2, true, "other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ShellMapWorld world;
        const QString zip = joinPath(world.games.folder(), QStringLiteral("pack.zip"));
        test::makeZip(zip, {{"ShellMap1.map", "CkMp", {}}, {"shot.jpg", jpegBytes(Qt::blue), {}}});
        const QString other = joinPath(world.games.folder(), QStringLiteral("elsewhere/other.bmp"));
        test::writePicture(other, Qt::yellow);
        world.dialogs.answerOpenFile(zip);
        world.dialogs.driveModal([&](QDialog& form) {
            if (c.tick)
                click(in<VornCheckBox>(form, "Check1"));
            if (c.option == 1) {
                click(in<VornOptionButton>(form, "Option1"));
                clickRow(in<QListWidget>(form, "File1"), 0);
            } else if (c.option == 2) {
                click(in<VornOptionButton>(form, "Option2"));
            }
            if (c.chooseOther && c.tick) {
                world.dialogs.answerOpenFile(other);
                click(in<UserControl1>(form, "CommandButton1"));
                EXPECT_EQ(in<QLabel>(form, "Label2")->text(), other);
                EXPECT_TRUE(in<QLabel>(form, "Label3")->isVisible());
            }
            return pressNext(form);
        });
        world.dialogs.driveModal(cancel);
        ASSERT_TRUE(openShellMapInstallation(QString(), {}));
        const QString expected =
            QString::fromLatin1(c.expected) == u"entry"
                ? joinPath(world.install(Generals), QStringLiteral("Maps/ZephShellMap0/shot.jpg"))
                : (QString::fromLatin1(c.expected) == u"other" ? other : QString());
        EXPECT_EQ(readCatalogueEntry(cataloguePath(Generals), 0).screenShot, expected);
        const auto images = std::count_if(world.dialogs.calls().begin(), world.dialogs.calls().end(),
                                          [](const DialogCall& call) {
                                              return call.kind == DialogCall::Kind::OpenFile &&
                                                     call.filter == u"Images|*.jpeg;*.jpg;*.bmp;*.gif";
                                          });
        EXPECT_EQ(images, c.chooseOther && c.tick ? 1 : 0);
    }
}

TEST_F(InstallTest, AnArchiveWithoutImagesLeavesOnlyTheOtherFile) {
    makeArchive("ShellMap1.map", false);
    runInstallation([this](QDialog& form) {
        auto* fromZip = in<VornOptionButton>(form, "Option1");
        auto* fromFile = in<VornOptionButton>(form, "Option2");
        EXPECT_FALSE(fromZip->isEnabled());
        EXPECT_EQ(fromFile->value(), 1);
        // No screenshot is asked for yet, so nothing holds the installation back.
        EXPECT_TRUE(in<UserControl1>(form, "CommandButton2")->isEnabled());
        click(in<VornCheckBox>(form, "Check1"));
        EXPECT_FALSE(fromZip->isEnabled());
        EXPECT_TRUE(fromFile->isEnabled());
        EXPECT_TRUE(in<UserControl1>(form, "CommandButton1")->isEnabled());
        // Cancelling another choice of archive closes the dialog.
        dialogs.answerOpenFile(QString());
        click(in<UserControl1>(form, "CommandButton4"));
        EXPECT_FALSE(form.isVisible());
        return form.result();
    });
    EXPECT_FALSE(QFile::exists(cataloguePath(Generals)));
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(InstallTest, CancellingTheArchiveChoiceClosesWithoutAChange) {
    const QString left = joinPath(temporaryFolder(), QStringLiteral("left.map"));
    test::writeBytes(left, "from the last install");
    dialogs.answerOpenFile(QString());
    EXPECT_FALSE(openShellMapInstallation(QString(), {}));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].filter, QStringLiteral("Fichiers ZIP (*.zip)|*.zip"));
    EXPECT_TRUE(QFile::exists(left));
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(InstallTest, AnEncryptedArchiveAsksForItsPassword) {
    test::makeZip(archive, {{"ShellMap1.map", "CkMp", "secret"}});
    dialogs.answerInput(QStringLiteral("secret"));
    runInstallation(pressNext, cancel);
    const auto input =
        std::find_if(dialogs.calls().begin(), dialogs.calls().end(),
                     [](const DialogCall& call) { return call.kind == DialogCall::Kind::Input; });
    ASSERT_NE(input, dialogs.calls().end());
    EXPECT_EQ(input->text, QStringLiteral("Please Enter The Password!"));
    EXPECT_EQ(input->title, QString());
    EXPECT_EQ(input->initialPath, QString());
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(
        QFile::exists(joinPath(install(Generals), QStringLiteral("Maps/ZephShellMap0/ShellMap1.map"))));
}

TEST_F(InstallTest, FailedWritesAreReportedWithTheirDigits) {
    makeArchive("ShellMap1.map");
    // A folder where the catalogue should be: every write fails.
    QDir().mkpath(cataloguePath(Generals));
    runInstallation([](QDialog& form) {
        pressNext(form);
        EXPECT_TRUE(form.isVisible());
        return cancel(form);
    });
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].number, 12);
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral("Erreur pendant l'installation de la ShellMap.\r\n\r\nCode d'erreur : 000"));
    EXPECT_EQ(dialogs.messages()[0].style, 0);
    // The copied files stay.
    EXPECT_TRUE(
        QFile::exists(joinPath(install(Generals), QStringLiteral("Maps/ZephShellMap0/ShellMap1.map"))));
}

TEST_F(InstallTest, TheInformationDialogNeedsANameAndReportsFailedWrites) {
    writeCatalogueFile(ZeroHour, "[Global]\r\nCount=1\r\n[ShellMap0]\r\nDate=05/06/2024\r\n");
    currentCatalogue() = cataloguePath(ZeroHour);
    environment().CurrentGame = ZeroHour;
    {
        Form3 form([this](GameKind game) { listed.push_back(game); });
        form.load();
        dialogs.driveModal([](QDialog& dialog) {
            EXPECT_EQ(in<QLabel>(dialog, "Label6")->text(), QStringLiteral("05/06/2024"));
            in<QLineEdit>(dialog, "Text1")->clear();
            click(in<UserControl1>(dialog, "CommandButton2"));
            EXPECT_TRUE(dialog.isVisible());
            in<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("Banquise"));
            click(in<UserControl1>(dialog, "CommandButton2"));
            return dialog.result();
        });
        EXPECT_EQ(dialogs.runModal(form), QDialog::Accepted);
    }
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].number, 24);
    EXPECT_EQ(dialogs.messages()[0].style, 48);
    EXPECT_EQ(value(ZeroHour, QStringLiteral("ShellMap0"), "Name"), QStringLiteral("Banquise"));
    EXPECT_EQ(value(ZeroHour, QStringLiteral("ShellMap0"), "URL"), QStringLiteral("http://"));
    EXPECT_EQ(listed, std::vector<GameKind>({ZeroHour}));

    dialogs.clear();
    currentCatalogue() = joinPath(games.folder(), QStringLiteral("a folder"));
    QDir().mkpath(currentCatalogue());
    Form3 failing;
    failing.load();
    dialogs.driveModal([](QDialog& dialog) {
        click(in<UserControl1>(dialog, "CommandButton2"));
        EXPECT_TRUE(dialog.isVisible());
        return cancel(dialog);
    });
    EXPECT_EQ(dialogs.runModal(failing), QDialog::Rejected);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral("Erreur pendant l'enregistrement des informations.\r\n\r\nCode d'erreur : 000"));
}

TEST_F(InstallTest, AddOnThePageInstallsAndListsTheNewEntry) {
    makeArchive("ShellMap1.map");
    QWidget panel;
    panel.resize(660, 470);
    ShellMapsPage page(&panel);
    page.ListShellMaps(Generals);
    dialogs.answerOpenFile(archive);
    dialogs.driveModal(pressNext);
    dialogs.driveModal([](QDialog& form) {
        in<QLineEdit>(form, "Text1")->setText(QStringLiteral("Canyon"));
        return pressNext(form);
    });
    click(page.addButton());
    auto* list = panel.findChild<QListWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Canyon"));
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(InstallTest, EveryControlCarriesItsNameAndTranslationKey) {
    const std::pair<const char*, const char*> form2Keys[] = {
        {"Label1", "File"},           {"Label5", "Game"},           {"Frame1", "Capture"},
        {"Option1", "CaptureZIP"},    {"Option2", "CaptureFile"},   {"Check1", "AddCapture"},
        {"CommandButton1", "Choose"}, {"CommandButton4", "Choose"}, {"CommandButton2", "Next"},
        {"CommandButton3", "Cancel"}, {"Label4", nullptr},          {"File1", nullptr},
        {"Label2", nullptr},          {"Label3", nullptr},          {"Combo1", nullptr},
    };
    const std::pair<const char*, const char*> form3Keys[] = {
        {"Frame1", "GeneralInfo"},    {"Label1", "Name"},    {"Label3", "Date"},
        {"Label4", "Comment"},        {"Label7", "WebSite"}, {"CommandButton2", "Install"},
        {"CommandButton3", "Cancel"}, {"Text1", nullptr},    {"Label6", nullptr},
        {"Text2", nullptr},           {"Text3", nullptr},    {"Image1", nullptr},
    };
    const std::pair<const char*, const char*> form4Keys[] = {
        {"Label1", "ShellMapDetected"}, {"Check1", "HideMessage"}, {"Command1", "OK"}};
    const auto check = [](QWidget& window, const auto& keys) {
        for (const auto& [name, key] : keys) {
            SCOPED_TRACE(name);
            const QWidget* control = window.findChild<QWidget*>(QString::fromLatin1(name));
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(translationKey(control), QString::fromLatin1(key ? key : ""));
        }
    };
    Form2 form2;
    check(form2, form2Keys);
    Form3 form3;
    check(form3, form3Keys);
    Form4 form4;
    check(form4, form4Keys);
    EXPECT_EQ(form4.windowTitle(), QStringLiteral("ShellMap détectée"));

    QWidget panel;
    panel.resize(660, 470);
    ShellMapsPage page(&panel);
    const std::pair<const char*, const char*> pageKeys[] = {
        {"Label21", "InstShellMaps"}, {"Label24", "Date"},          {"Label25", "Description"},
        {"CommandButton1", "Add"},    {"CommandButton2", "Delete"}, {"ListView1", nullptr},
        {"SMName", nullptr},          {"SMDate", nullptr},          {"SMDescription", nullptr},
        {"SMURL", nullptr},           {"Image4", nullptr},
    };
    check(panel, pageKeys);
}

#include "app/startup.h"
#include "controls/user_control1.h"
#include "core/messages.h"
#include "core/scripted_dialogs.h"
#include "core/text_codec.h"
#include "i18n/language_generator.h"
#include "tests/app/app_fixture.h"
#include "tests/i18n/every_window.h"
#include "tests/i18n/i18n_fixture.h"

#include <QApplication>
#include <QFile>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;
using marvok::test::GameSetup;
using marvok::test::readBytes;
using marvok::test::TempFolder;
using marvok::test::writeBytes;

namespace {

const QStringList kHeader = {QStringLiteral(";Fichier de langue pour Marvok"),
                             QString(),
                             QStringLiteral("[Infos]"),
                             QStringLiteral("Language="),
                             QStringLiteral("Traductor="),
                             QStringLiteral("Version=2.2.5"),
                             QString(),
                             QStringLiteral("[LNG]")};

QString keyOf(const QString& line) {
    return line.left(line.indexOf(u'='));
}

class GeneratorTest : public ::testing::Test {
protected:
    void TearDown() override { MsgStrings().fill(QString()); }

    // Runs start-up on `commandLine` with an English language file chosen in the settings, and
    // takes the generator window.
    void generate(const QString& commandLine) {
        games = std::make_unique<GameSetup>();
        const QString language = folder.file(QStringLiteral("English.lng"));
        writeBytes(language,
                   test::languageFileBytes(QStringLiteral("English"),
                                           {QStringLiteral("Save=Save"), QStringLiteral("Tools=Management")},
                                           {QStringLiteral("5=Delete this replay?")}));
        RegistryRuntime(games->store())
            .SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"), language);
        const StartupResult result = runStartup(commandLine);
        EXPECT_EQ(result.mainWindow, nullptr);
        EXPECT_TRUE(result.windowOpened);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == u"Form5")
                generator.reset(static_cast<Form5*>(window));
        }
        ASSERT_NE(generator, nullptr);
    }
    void save() {
        auto* button = generator->findChild<UserControl1*>(QStringLiteral("Command1"));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    TempFolder folder;
    ScriptedDialogService dialogs;
    std::unique_ptr<GameSetup> games;
    std::unique_ptr<Form5> generator;
};

} // namespace

TEST_F(GeneratorTest, ListsEveryKeyOnceWithItsFrenchCaptionAndSavesTheTemplate) {
    generate(QStringLiteral("/genlanfile"));
    EXPECT_EQ(generator->windowTitle(), QStringLiteral("LNG File Generator"));
    EXPECT_EQ(generator->status(), QStringLiteral("Finished"));
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_TRUE(window == generator.get() || !window->isVisible()) << window->objectName().toStdString();
    // The stored language file is not applied in generator mode.
    EXPECT_EQ(MsgStrings()[5], QString());

    const QStringList lines = generator->lines();
    const QStringList navigation = {
        QStringLiteral("Tools=Gestion"),       QStringLiteral("Maps=Cartes"),
        QStringLiteral("ShellMaps=ShellMaps"), QStringLiteral("Replays=Replays"),
        QStringLiteral("Mods=Mods"),           QStringLiteral("Options2=Options"),
        QStringLiteral("Startup=Démarrage"),   QStringLiteral("Program=Programme"),
        QStringLiteral("About=A propos de...")};
    EXPECT_EQ(lines.mid(0, navigation.size()), navigation);
    EXPECT_EQ(lines.count(QStringLiteral("Save=Enregistrer")), 1);
    for (const char* line :
         {"AddCapture=Ajouter une capture d'écran",
          "Comment=Commentaire :", "HideMessage=Ne plus afficher ce message",
          "InstallReplay=Installer un/des replay(s)", "SelectReplay=Sélectionnez les replays à installer :"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;

    // Each key once: every key of the windows walked, which leave out frmInstallMod and Form6.
    QStringList keys;
    for (const QString& line : lines)
        keys << keyOf(line);
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    QStringList expected = test::everyWindowKey();
    expected.removeAll(QStringLiteral("SelectMods"));
    expected.removeAll(QStringLiteral("Size"));
    // The BIG page's keys are walked once the main window holds the page.
    if (!keys.contains(QStringLiteral("NewBig"))) {
        expected.removeAll(QStringLiteral("NewBig"));
        expected.removeAll(QStringLiteral("Extract"));
    }
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()), QSet<QString>(expected.begin(), expected.end()));

    const QString path = folder.file(QStringLiteral("Template.lng"));
    dialogs.answerSaveFile(path);
    save();
    EXPECT_EQ(generator->status(), QStringLiteral("File saved"));
    const QByteArray bytes = readBytes(path);
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_TRUE(bytes.contains("Startup=D\xe9marrage\r\n")); // Windows-1252
    QStringList written = decodeWindows1252(bytes.chopped(2)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(written.mid(0, kHeader.size()), kHeader);
    EXPECT_EQ(written.mid(kHeader.size()), lines);
    EXPECT_FALSE(bytes.chopped(2).contains("\n\n"));
}

TEST_F(GeneratorTest, AnExtraWordLetsTheWindowsLoadAndTranslateThemselves) {
    generate(QStringLiteral("/genlanfile extra"));
    EXPECT_EQ(generator->status(), QStringLiteral("Finished"));
    const QStringList lines = generator->lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Save=Save")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Tools=Management")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Cancel=Annuler")));
    EXPECT_EQ(MsgStrings()[5], QStringLiteral("Delete this replay?"));
}

TEST(Form5, SavingOverALongerFileLeavesExactlyTheNewContent) {
    TempFolder folder;
    ScriptedDialogService dialogs;
    Form5 generator;
    generator.addLine(QStringLiteral("Save=Enregistrer"));
    generator.addLine(QStringLiteral("StartupOptions=Options de démarrage"));
    const QString path = folder.file(QStringLiteral("Old.lng"));
    writeBytes(path, QByteArray(64 * 1024, 'x'));
    dialogs.answerSaveFile(path);
    generator.saveLng();
    EXPECT_EQ(generator.status(), QStringLiteral("File saved"));
    EXPECT_EQ(readBytes(path),
              QByteArray(";Fichier de langue pour Marvok\r\n\r\n[Infos]\r\nLanguage=\r\nTraductor=\r\n"
                         "Version=2.2.5\r\n\r\n[LNG]\r\nSave=Enregistrer\r\n"
                         "StartupOptions=Options de d\xe9marrage\r\n"));
    // The list stays, to be saved again under another name.
    EXPECT_EQ(generator.lines().size(), 2);
}

TEST(Form5, ACancelledOrFailedSaveWritesNothingAndStaysOnSaving) {
    TempFolder folder;
    struct Case {
        const char* what;
        QString answer;
    };
    const Case cases[] = {{"cancelled", QString()},
                          {"folder missing", folder.file(QStringLiteral("missing/Template.lng"))}};
    for (const Case& c : cases) {
        ScriptedDialogService dialogs;
        Form5 generator;
        generator.addLine(QStringLiteral("Save=Enregistrer"));
        dialogs.answerSaveFile(c.answer);
        generator.saveLng();
        EXPECT_EQ(generator.status(), QStringLiteral("Saving...")) << c.what;
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].kind, DialogCall::Kind::SaveFile);
        EXPECT_EQ(dialogs.calls()[0].filter, QString());
    }
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("missing"))));
}

TEST(Form5, CaptionsOutsideWindows1252AreSavedAsUtf8) {
    TempFolder folder;
    ScriptedDialogService dialogs;
    Form5 generator;
    generator.addLine(QStringLiteral("Save=Сохранить"));
    const QString path = folder.file(QStringLiteral("Russian.lng"));
    dialogs.answerSaveFile(path);
    generator.saveLng();
    EXPECT_TRUE(readBytes(path).endsWith(QStringLiteral("[LNG]\r\nSave=Сохранить\r\n").toUtf8()));
}

#include "app/form1.h"
#include "app/startup.h"
#include "big/form6.h"
#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/ini_runtime.h"
#include "core/message_box.h"
#include "core/scripted_dialogs.h"
#include "core/translation_keys.h"
#include "i18n/language_file.h"
#include "i18n/translate_form.h"
#include "install/install_dialogs.h"
#include "shellmaps/shellmap_dialogs.h"
#include "tests/app/app_fixture.h"
#include "tests/i18n/i18n_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;
using marvok::test::GameSetup;
using marvok::test::languageFileBytes;
using marvok::test::TempFolder;
using marvok::test::writeBytes;

namespace {

QString caption(const QObject* control) {
    QString text;
    EXPECT_TRUE(controlCaption(control, &text)) << control->objectName().toStdString();
    return text;
}

class TranslateFormTest : public ::testing::Test {
protected:
    void SetUp() override { MsgStrings().fill(QString()); }
    void TearDown() override { MsgStrings().fill(QString()); }

    QString languageFile(const QByteArray& bytes) {
        const QString path = folder.file(QStringLiteral("Language.lng"));
        writeBytes(path, bytes);
        return path;
    }
    // Starts the program with `languageFile` chosen in the settings.
    void start(const QString& languageFile) {
        games = std::make_unique<GameSetup>();
        RegistryRuntime(games->store())
            .SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"), languageFile);
        window.reset(runStartup(QString()).mainWindow);
        ASSERT_NE(window, nullptr);
    }
    template <typename T = QObject> T* child(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TempFolder folder;
    ScriptedDialogService dialogs;
    std::unique_ptr<GameSetup> games;
    std::unique_ptr<Form1> window;
};

// A window with one control of each kind that has a caption.
struct SmallWindow {
    QWidget window;
    UserControl1* button = new UserControl1(&window);
    QLabel* label = new QLabel(QStringLiteral("Fichier :"), &window);
    QGroupBox* frame = new QGroupBox(QStringLiteral("Capture d'écran"), &window);
    VornCheckBox* check = new VornCheckBox(frame);

    SmallWindow() {
        button->setCaption(QStringLiteral("Enregistrer"));
        setTranslationKey(button, "Save");
        setTranslationKey(label, "File");
        setTranslationKey(frame, "Capture");
        check->setCaption(QStringLiteral("Ajouter une capture d'écran"));
        setTranslationKey(check, "AddCapture");
        windowLoaded(&window);
    }
    QStringList captions() const {
        return {button->caption(), label->text(), frame->title(), check->caption()};
    }
};

} // namespace

TEST_F(TranslateFormTest, OnlyTheLanguageFrExactlyIsTheBuiltInFrench) {
    const QStringList french = {QStringLiteral("Enregistrer"), QStringLiteral("Fichier :"),
                                QStringLiteral("Capture d'écran"),
                                QStringLiteral("Ajouter une capture d'écran")};
    const QStringList english = {QStringLiteral("Save"), QStringLiteral("File:"),
                                 QStringLiteral("Screenshot"), QStringLiteral("Add a screenshot")};
    struct Case {
        const char* language;
        bool applied;
    };
    const Case cases[] = {{"Fr", false}, {" Fr ", false}, {"fr", true}, {"FR", true}, {"English", true}};
    for (const Case& c : cases) {
        MsgStrings().fill(QString());
        SmallWindow small;
        TranslateForm(languageFile(languageFileBytes(
            QString::fromLatin1(c.language),
            {QStringLiteral("Save=Save"), QStringLiteral("file=File:"), QStringLiteral("Capture=Screenshot"),
             QStringLiteral("AddCapture=Add a screenshot")},
            {QStringLiteral("5=Delete this replay?")})));
        EXPECT_EQ(small.captions(), c.applied ? english : french) << c.language;
        EXPECT_EQ(MsgStrings()[5], c.applied ? QStringLiteral("Delete this replay?") : QString())
            << c.language;
    }
}

TEST_F(TranslateFormTest, ASharedKeyReachesEveryControlThatCarriesIt) {
    start(languageFile(languageFileBytes(QStringLiteral("English"),
                                         {QStringLiteral("Save=Save"), QStringLiteral("Tools=Management")})));
    const QStringList saveButtons = test::captionsOfKey(window.get(), QStringLiteral("Save"));
    for (const char* name : {"UserControl12", "UserControl16", "cmdCSave"})
        EXPECT_TRUE(saveButtons.contains(QString::fromLatin1(name) + u"=Save")) << name;
    for (const QString& button : saveButtons)
        EXPECT_TRUE(button.endsWith(u"=Save")) << button.toStdString();
    EXPECT_EQ(caption(child("Label1")), QStringLiteral("Management"));
}

TEST_F(TranslateFormTest, MessagesAreRefilledAndOnlyTranslatedOnesChange) {
    MsgStrings()[8] = QStringLiteral("left from before");
    SmallWindow small;
    TranslateForm(languageFile(
        languageFileBytes(QStringLiteral("English"), {}, {QStringLiteral("5=Delete this replay?")})));
    ShowTableMessage(5);
    ShowTableMessage(8);
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Delete this replay?"));
    EXPECT_EQ(shown[0].style, MsgStyle::YesNoQuestion);
    EXPECT_EQ(shown[1].text, QStringLiteral("Options enregistrées."));
}

TEST_F(TranslateFormTest, ADialogLoadingAppliesTheFileToEveryOpenWindow) {
    start(QString());
    EXPECT_EQ(caption(child("Label1")), QStringLiteral("Gestion"));
    // The preview window is a tool window of the main window and does not load the file itself.
    auto* preview = new Form6(window.get());
    environment().TradFileName = languageFile(languageFileBytes(
        QStringLiteral("English"), {QStringLiteral("Tools=Management"), QStringLiteral("Size=Size:"),
                                    QStringLiteral("Comment=Comment:")}));
    qsizetype openWithDialog = 0;
    {
        Form3 dialog({}, window.get());
        dialog.load();
        const QList<QWidget*> open = openWindows();
        openWithDialog = open.size();
        ASSERT_GE(open.size(), 3);
        EXPECT_EQ(open.first(), window.get());
        EXPECT_TRUE(open.contains(preview));
        EXPECT_EQ(open.last(), &dialog);
        EXPECT_EQ(caption(child("Label1")), QStringLiteral("Management"));
        EXPECT_EQ(caption(preview->findChild<QLabel*>(QStringLiteral("Label2"))), QStringLiteral("Size:"));
        EXPECT_EQ(caption(dialog.findChild<QLabel*>(QStringLiteral("Label4"))), QStringLiteral("Comment:"));
    }
    EXPECT_EQ(openWindows().size(), openWithDialog - 1);
    EXPECT_TRUE(openWindows().contains(preview));
}

TEST_F(TranslateFormTest, EachInstallDialogTranslatesItselfAndTheMainWindowFirstThing) {
    start(QString());
    environment().TradFileName = languageFile(languageFileBytes(
        QStringLiteral("English"),
        {QStringLiteral("Tools=Management"), QStringLiteral("Options=Options:"),
         QStringLiteral("SelectMaps=Select the maps"), QStringLiteral("SelectReplay=Select the replays"),
         QStringLiteral("SelectMods=Select the mods")}));
    struct Case {
        std::function<std::unique_ptr<QDialog>()> make;
        const char* label;
        QString translated;
    };
    // The three list dialogs ask for an archive and are cancelled: they translate before that.
    const auto cancelled = [this](auto dialog) {
        dialogs.answerOpenFile(QString());
        EXPECT_FALSE(dialog->load());
        return std::unique_ptr<QDialog>(std::move(dialog));
    };
    const Case cases[] = {
        {[] {
             auto home = std::make_unique<frmInstallHome>(QStringLiteral("pack.zip"));
             home->load();
             return std::unique_ptr<QDialog>(std::move(home));
         },
         "Label2", QStringLiteral("Options:")},
        {[&] { return cancelled(std::make_unique<frmInstallMap>()); }, "Label1",
         QStringLiteral("Select the maps")},
        {[&] { return cancelled(std::make_unique<frmInstallRep>()); }, "Label1",
         QStringLiteral("Select the replays")},
        {[&] { return cancelled(std::make_unique<frmInstallMod>()); }, "Label1",
         QStringLiteral("Select the mods")},
    };
    for (const Case& c : cases) {
        setControlCaption(child("Label1"), QStringLiteral("Gestion"));
        const std::unique_ptr<QDialog> dialog = c.make();
        EXPECT_EQ(caption(dialog->findChild<QObject*>(QString::fromLatin1(c.label))), c.translated)
            << dialog->objectName().toStdString();
        EXPECT_EQ(caption(child("Label1")), QStringLiteral("Management"))
            << dialog->objectName().toStdString();
    }
}

TEST_F(TranslateFormTest, AnUnreadableFileChangesNothing) {
    MsgStrings()[5] = QStringLiteral("from an earlier file");
    start(folder.file(QStringLiteral("moved away.lng")));
    EXPECT_EQ(caption(child("Label1")), QStringLiteral("Gestion"));
    EXPECT_EQ(caption(child("UserControl16")), QStringLiteral("Enregistrer"));
    EXPECT_EQ(MsgStrings()[5], QStringLiteral("from an earlier file"));
}

TEST_F(TranslateFormTest, AnAbsentOrEmptyKeyKeepsTheFrenchCaption) {
    // An older, partial file: "Install" is absent and "Save" is empty.
    start(languageFile(languageFileBytes(QStringLiteral("English"),
                                         {QStringLiteral("Tools=Management"), QStringLiteral("Save=  ")})));
    EXPECT_EQ(caption(child("Label1")), QStringLiteral("Management"));
    EXPECT_EQ(caption(child("cmdInstall")), QStringLiteral("Installer"));
    for (const QString& button : test::captionsOfKey(window.get(), QStringLiteral("Save")))
        EXPECT_TRUE(button.endsWith(u"=Enregistrer")) << button.toStdString();
}

TEST(LanguageFile, ReadsAsTheIniReaderDoes) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("rules.lng"));
    const QByteArray longValue(300, 'x');
    writeBytes(path, "; comment\r\n"
                     "Orphan=outside any section\r\n"
                     "[infos]\r\n"
                     "  Language =  English  \r\n"
                     "[LNG\r\n"
                     "Eq=a=b\r\n"
                     "[lng]\r\n"
                     "save=Save\r\n"
                     "SAVE=second\r\n"
                     ";Tools=commented\r\n"
                     "Long=" +
                         longValue +
                         "\r\n"
                         "Accent=\xe9t\xe9\n"
                         "[LNG]\r\n"
                         "Later=in a repeated section\r\n");
    const INIRuntime ini;
    const auto file = LanguageFile::read(path);
    ASSERT_TRUE(file.has_value());
    const std::pair<const char*, const char*> lookups[] = {
        {"Infos", "Language"}, {"LNG", "Save"},  {"LNG", "Eq"},  {"LNG", "Tools"},  {"LNG", "Long"},
        {"LNG", "Accent"},     {"LNG", "Later"}, {"", "Orphan"}, {"Missing", "Key"}};
    for (const auto& [section, key] : lookups) {
        const QString s = QString::fromLatin1(section);
        const QString k = QString::fromLatin1(key);
        EXPECT_EQ(file->value(s, k), ini.ReadINI(s, k, path)) << section << " " << key;
    }
    EXPECT_EQ(file->value(QStringLiteral("LNG"), QStringLiteral("Save")), QStringLiteral("Save"));
    EXPECT_EQ(file->value(QStringLiteral("LNG"), QStringLiteral("Accent")), QStringLiteral("été"));
    EXPECT_EQ(file->value(QStringLiteral("LNG"), QStringLiteral("Long")).size(), INIRuntime::MaxValueLength);
    EXPECT_FALSE(LanguageFile::read(folder.file(QStringLiteral("absent.lng"))).has_value());
}

#include "core/message_box.h"
#include "core/scripted_dialogs.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

using namespace marvok;

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override {
        MsgStrings().fill(QString());
        MessageFileName().clear();
    }
    ScriptedDialogService dialogs;
};

const FailureDetails kFailure{53, QStringLiteral("Fichier introuvable"), QStringLiteral("mBIG")};

} // namespace

TEST_F(MessageBoxTest, Message1ShowsTheFileNameOnlyWithoutTranslation) {
    MessageFileName() = QStringLiteral("/x/a.ini");
    ShowTableMessage(1);
    MsgStrings()[1] = QStringLiteral("The file exists.");
    ShowTableMessage(1);
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Le fichier spécifé existe déjà.\r\n\r\nFile : /x/a.ini"));
    EXPECT_EQ(shown[0].style, 16);
    EXPECT_EQ(shown[0].title, QStringLiteral("Extraction de BIG"));
    EXPECT_EQ(shown[1].text, QStringLiteral("The file exists."));
}

TEST_F(MessageBoxTest, Message2AddsTheDetailsWithTheLabelsOfItsLanguage) {
    ShowFailure(kFailure);
    MsgStrings()[2] = QStringLiteral("An error occurred.");
    ShowFailure(kFailure);
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text,
              QStringLiteral("Une erreur s'est produite, l'application va se terminer. Veuillez "
                             "signaler cette erreur au concepteur du programme\r\n\r\nDetails :\r\n"
                             "Error 53 : Fichier introuvable, source : mBIG"));
    EXPECT_EQ(shown[0].title, QStringLiteral("Marvok 2"));
    EXPECT_EQ(shown[1].text, QStringLiteral("An error occurred.\r\n\r\nDétails :\r\nErreur n° 53 : Fichier "
                                            "introuvable, source : mBIG"));
}

TEST_F(MessageBoxTest, TranslationsReplaceTheTextAndKeepTheButtons) {
    MsgStrings()[3] = QStringLiteral("Overwrite?");
    dialogs.answerMessage(MsgResult::Cancel);
    EXPECT_EQ(ShowTableMessage(3, QStringLiteral("/x/a.csf")), MsgResult::Cancel);
    MsgStrings()[16] = QString(); // an empty translation falls back to French
    ShowTableMessage(16);
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Overwrite?"));
    EXPECT_EQ(shown[0].style, 35);
    EXPECT_EQ(shown[1].number, 16);
    EXPECT_EQ(shown[1].title, QStringLiteral("Erreur"));
    EXPECT_TRUE(shown[1].text.startsWith(QStringLiteral("Impossible de détecter")));
}

TEST_F(MessageBoxTest, TheButtonPressedIsTheResult) {
    dialogs.answerMessage(MsgResult::Yes);
    dialogs.answerMessage(MsgResult::No);
    EXPECT_EQ(ShowTableMessage(5), MsgResult::Yes);
    EXPECT_EQ(ShowTableMessage(5), MsgResult::No);
    EXPECT_EQ(dialogs.messages()[0].style, 36);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("Êtes-vous sûr de vouloir supprimer ce replay?"));
    // Unanswered, a question takes its safe choice.
    EXPECT_EQ(ShowTableMessage(25), MsgResult::No);
    EXPECT_EQ(ShowTableMessage(3, QStringLiteral("f")), MsgResult::Cancel);
}

TEST(MessageTable, ValuesGoWhereTheTextSays) {
    EXPECT_EQ(messageText(3, QStringLiteral("a.csf")),
              QStringLiteral("Le fichier a.csf existe déjà. Êtes-vous sûr de vouloir l'écraser?"));
    EXPECT_EQ(messageText(4, QStringLiteral("Zeph")),
              QStringLiteral("Êtes-vous sûr de vouloir supprimer la ShellMap \"Zeph\"?"));
    EXPECT_EQ(messageText(19, QStringLiteral("a.csf")), QStringLiteral("a.csf enregistré avec succès."));
    EXPECT_TRUE(messageInfo(6).text.isEmpty());
    EXPECT_TRUE(messageInfo(7).text.isEmpty());
    for (int number :
         {0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27})
        EXPECT_FALSE(messageInfo(number).text.isEmpty()) << number;
}

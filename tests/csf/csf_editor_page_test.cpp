#include "controls/user_control1.h"
#include "core/messages.h"
#include "core/scripted_dialogs.h"
#include "core/translation_keys.h"
#include "csf/csf_editor_page.h"
#include "tests/app/app_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace marvok;
using marvok::test::GameSetup;
using marvok::test::readBytes;
using marvok::test::TempFolder;
using marvok::test::writeBytes;

namespace {

CsfEntry row(const QString& name, const QString& value) {
    return {name, value, false, {}};
}

CsfTable threeRows() {
    return {row(QStringLiteral("GUI:Ok"), QStringLiteral("D'accord")),
            row(QStringLiteral("GUI:Cancel"), QStringLiteral("Annuler")),
            row(QStringLiteral("GUI:Quit"), QStringLiteral("Quitter"))};
}

// The shown and enabled flags of the page-state table, in its column order.
struct PageFlags {
    bool newShown, saveShown, saveEnabled, cancelShown, addEnabled, deleteEnabled, chooseEnabled,
        textsEnabled;
    friend bool operator==(const PageFlags&, const PageFlags&) = default;
};

void PrintTo(const PageFlags& f, std::ostream* os) {
    *os << "{new " << f.newShown << ", save " << f.saveShown << '/' << f.saveEnabled << ", cancel "
        << f.cancelShown << ", add " << f.addEnabled << ", delete " << f.deleteEnabled << ", choose "
        << f.chooseEnabled << ", texts " << f.textsEnabled << '}';
}

class CsfPageTest : public ::testing::Test {
protected:
    CsfPageTest() {
        createServices(games.store());
        readInstallFolders(registry(), environment());
        panel.resize(660, 470);
        page = new CsfEditorPage(&panel);
    }

    template <typename T = QWidget> T* child(const char* name) {
        T* found = panel.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* list() { return child<QListWidget>("List1"); }
    QLineEdit* path() { return child<QLineEdit>("Text3"); }
    QLineEdit* name() { return child<QLineEdit>("Text4"); }
    QPlainTextEdit* value() { return child<QPlainTextEdit>("Text5"); }
    QComboBox* language() { return child<QComboBox>("cmbLanguage"); }

    // Presses a button as a user can: only when it is shown and enabled.
    void press(const char* button) {
        auto* control = child<UserControl1>(button);
        ASSERT_FALSE(control->isHidden()) << button;
        ASSERT_TRUE(control->isEnabled()) << button;
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }
    void clickLine(int row) {
        QListWidget* lines = list();
        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {},
                          lines->visualItemRect(lines->item(row)).center());
    }
    // Types `text` key by key (QTest::keyClicks sends Latin-1 characters only).
    void type(QWidget* box, const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // A key that changes nothing.
    void tapShift(QWidget* box) { QTest::keyClick(box, Qt::Key_Shift); }

    QString file(const char* fileName) { return games.folder() + u'/' + QString::fromLatin1(fileName); }
    QString writeTable(const char* fileName, const CsfTable& table, quint8 languageCode = 3) {
        const QString target = file(fileName);
        EXPECT_TRUE(WriteCsf(target, table, languageCode).ok());
        return target;
    }
    void open(const QString& target) {
        dialogs.answerOpenFile(target);
        press("UserControl11");
    }
    void freshPage() {
        delete page;
        page = new CsfEditorPage(&panel);
    }
    QStringList lines() {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->item(i)->text();
        return texts;
    }
    QStringList tableNames() {
        QStringList names;
        for (const CsfEntry& entry : page->table())
            names << entry.Name;
        return names;
    }
    PageFlags flags() {
        const auto shown = [this](const char* n) { return !child<UserControl1>(n)->isHidden(); };
        const auto enabled = [this](const char* n) { return child<QWidget>(n)->isEnabled(); };
        EXPECT_EQ(name()->isEnabled(), value()->isEnabled());
        return {shown("cmdCNew"),   shown("cmdCSave"),     enabled("cmdCSave"),      shown("cmdCCancel"),
                enabled("cmdCAdd"), enabled("cmdCDelete"), enabled("UserControl11"), enabled("Text4")};
    }
    std::vector<int> messageNumbers() {
        std::vector<int> numbers;
        for (const DialogCall& call : dialogs.messages())
            numbers.push_back(call.number);
        return numbers;
    }

    GameSetup games;
    ScriptedDialogService dialogs;
    QWidget panel;
    CsfEditorPage* page = nullptr;
};

} // namespace

TEST_F(CsfPageTest, EveryControlHasItsNameCaptionAndKey) {
    struct Control {
        const char* name;
        const char* caption;
        const char* key;
    };
    const Control controls[] = {
        {"Label42", "Fichier CSF :", "CSFFile"}, {"Label43", "Nom :", "Name"},
        {"Label44", "Valeur :", "Value"},        {"Label45", "Langue du fichier :", "FileLang"},
        {"UserControl11", "Choisir", "Choose"},  {"cmdCNew", "Nouveau fichier CSF", "NewCSF"},
        {"cmdCSave", "Enregistrer", "Save"},     {"cmdCCancel", "Annuler", "Cancel"},
        {"cmdCAdd", "Ajouter", "Add"},           {"cmdCDelete", "Supprimer", "Delete"},
    };
    for (const Control& control : controls) {
        QObject* found = child<QObject>(control.name);
        ASSERT_NE(found, nullptr);
        const QString caption = qobject_cast<QLabel*>(found) ? qobject_cast<QLabel*>(found)->text()
                                                             : found->property("caption").toString();
        EXPECT_EQ(caption, QString::fromUtf8(control.caption)) << control.name;
        EXPECT_EQ(translationKey(found), QString::fromLatin1(control.key)) << control.name;
    }
    for (const char* box : {"Text3", "List1", "Text4", "Text5", "cmbLanguage"})
        EXPECT_NE(child<QObject>(box), nullptr);
    EXPECT_EQ(list()->selectionMode(), QAbstractItemView::SingleSelection);

    // Every control lies inside the panel below its title.
    for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect onPanel = control->geometry().translated(page->pos());
        EXPECT_TRUE(QRect(0, 44, 660, 426).contains(onPanel)) << control->objectName().toStdString();
    }
    // "Nouveau fichier CSF" stands where "Enregistrer" and "Annuler" stand side by side.
    const QRect pair = child("cmdCSave")->geometry().united(child("cmdCCancel")->geometry());
    EXPECT_EQ(child("cmdCNew")->geometry(), pair);
}

TEST_F(CsfPageTest, TheLanguageBoxOffersFourCodesAndNothingIsSelectedAtStart) {
    QComboBox* box = language();
    ASSERT_EQ(box->count(), 4);
    const char* texts[] = {"Anglais", "Allemand", "Français", "Coréen"};
    const int codes[] = {0, 2, 3, 8};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(box->itemText(i), QString::fromUtf8(texts[i]));
        EXPECT_EQ(box->itemData(i).toInt(), codes[i]);
    }
    EXPECT_EQ(box->currentIndex(), -1);
    page->attachLanguageCodes();
    EXPECT_EQ(box->count(), 4);
    EXPECT_EQ(box->itemData(3).toInt(), 8);
}

TEST_F(CsfPageTest, ThePageStateTableRowByRow) {
    const QString saved = file("saved.csf");
    const QString opened = writeTable("three.csf", threeRows());
    struct Step {
        const char* action;
        std::function<void()> run;
        PageFlags expected;
    };
    const Step steps[] = {
        {"start", [] {}, {true, false, false, false, false, false, true, false}},
        {"new",
         [&] {
             dialogs.answerSaveFile(saved);
             press("cmdCNew");
         },
         {false, true, false, true, true, false, false, false}},
        {"added", [&] { press("cmdCAdd"); }, {false, true, true, true, true, true, false, true}},
        {"deleted, the list empty",
         [&] { press("cmdCDelete"); },
         {false, true, true, true, true, false, false, true}},
        {"added twice",
         [&] {
             press("cmdCAdd");
             press("cmdCAdd");
         },
         {false, true, true, true, true, true, false, true}},
        {"line clicked", [&] { clickLine(0); }, {false, true, true, true, true, true, false, true}},
        {"deleted, a line left",
         [&] { press("cmdCDelete"); },
         {false, true, true, true, true, true, false, true}},
        {"edited without a selected line",
         [&] { tapShift(value()); },
         {false, true, true, true, true, true, false, true}},
        {"saved",
         [&] {
             language()->setCurrentIndex(2);
             press("cmdCSave");
         },
         {true, false, true, false, false, false, true, true}},
        {"opened", [&] { open(opened); }, {true, false, true, false, true, true, true, true}},
        {"line clicked after opening",
         [&] { clickLine(1); },
         {true, false, true, false, true, true, true, true}},
        {"edited",
         [&] { type(name(), QStringLiteral("X")); },
         {false, true, true, true, true, true, false, true}},
        {"cancelled", [&] { press("cmdCCancel"); }, {true, false, true, false, false, false, true, true}},
        {"opened again", [&] { open(opened); }, {true, false, true, false, true, true, true, true}},
        {"added to an opened file",
         [&] { press("cmdCAdd"); },
         {false, true, true, true, true, true, true, true}},
        // "Choisir" stays enabled after "Ajouter" on an opened file, and opening leaves the save pair.
        {"opened while the save pair is shown",
         [&] { open(opened); },
         {false, true, true, true, true, true, true, true}},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(flags(), step.expected) << step.action;
    }
}

TEST_F(CsfPageTest, ChoisirShowsTheRowsOfTheChosenFile) {
    const QString target = writeTable("three.csf", threeRows(), 2);
    open(target);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, DialogCall::Kind::OpenFile);
    EXPECT_EQ(dialogs.calls()[0].filter, QStringLiteral("Fichier CSF|*.csf"));
    EXPECT_EQ(dialogs.calls()[0].initialPath, environment().InstallFolder[Generals]);
    EXPECT_EQ(path()->text(), target);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("GUI:Ok"), QStringLiteral("GUI:Cancel"),
                                    QStringLiteral("GUI:Quit")}));
    EXPECT_EQ(page->table(), threeRows());
    EXPECT_EQ(language()->currentText(), QStringLiteral("Allemand"));
    EXPECT_TRUE(dialogs.messages().empty());

    clickLine(2);
    EXPECT_EQ(name()->text(), QStringLiteral("GUI:Quit"));
    EXPECT_EQ(value()->toPlainText(), QStringLiteral("Quitter"));

    // Cancelling the dialog changes nothing; the next dialog starts at the current file.
    press("UserControl11");
    EXPECT_EQ(dialogs.calls().back().initialPath, target);
    EXPECT_EQ(page->table(), threeRows());
    EXPECT_EQ(list()->count(), 3);
    EXPECT_EQ(name()->text(), QStringLiteral("GUI:Quit"));
}

TEST_F(CsfPageTest, TheLanguageByteSelectsItsEntryAndSavingKeepsIt) {
    struct Case {
        int code;
        const char* shown;
    };
    const Case cases[] = {{0, "Anglais"},
                          {2, "Allemand"},
                          {3, "Français"},
                          {8, "Coréen"},
                          // A byte the box does not offer gets an entry of its own.
                          {15, "Autre langue (code 15)"}};
    for (const Case& c : cases) {
        const QString target = writeTable("lang.csf", threeRows(), quint8(c.code));
        open(target);
        EXPECT_EQ(language()->currentText(), QString::fromUtf8(c.shown)) << c.code;
        EXPECT_EQ(language()->count(), c.code == 15 ? 5 : 4);
        clickLine(0);
        tapShift(name());
        dialogs.answerMessage(MsgResult::Yes);
        press("cmdCSave");
        EXPECT_EQ(messageNumbers(), (std::vector<int>{3, 19})) << c.code;
        EXPECT_EQ(quint8(readBytes(target).at(20)), c.code);
        dialogs.clear();
    }
    // The choice made by the user is the one written.
    open(file("lang.csf"));
    language()->setCurrentIndex(1);
    clickLine(0);
    tapShift(name());
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    EXPECT_EQ(ReadCsf(file("lang.csf")).language, 2);
    // The entry of another byte goes with its file.
    writeTable("lang.csf", threeRows(), 15);
    open(file("lang.csf"));
    open(writeTable("korean.csf", threeRows(), 8));
    EXPECT_EQ(language()->count(), 4);
    EXPECT_EQ(language()->currentText(), QStringLiteral("Coréen"));
}

TEST_F(CsfPageTest, AFileThatCannotBeReadGivesMessage18AndItsFirstRows) {
    open(writeTable("good.csf", threeRows(), 8));
    QByteArray cut = readBytes(file("good.csf"));
    cut.chop(3); // the last string runs past the end
    writeBytes(file("cut.csf"), cut);
    dialogs.clear();
    open(file("cut.csf"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].number, 18);
    EXPECT_EQ(dialogs.messages()[0].style, MsgStyle::Critical);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("GUI:Ok"), QStringLiteral("GUI:Cancel")}));
    EXPECT_EQ(page->table().size(), 2);
    EXPECT_EQ(language()->currentText(), QStringLiteral("Coréen")); // left as it was
    EXPECT_EQ(path()->text(), file("cut.csf"));

    writeBytes(file("other.csf"), "not a string table");
    open(file("other.csf"));
    EXPECT_EQ(dialogs.messages().back().number, 18);
    EXPECT_EQ(list()->count(), 0);
}

TEST_F(CsfPageTest, EveryKeyReleaseCopiesTheTextsIntoTheSelectedRow) {
    open(writeTable("three.csf", threeRows()));
    clickLine(1);
    EXPECT_EQ(name()->text(), QStringLiteral("GUI:Cancel"));
    type(name(), QStringLiteral("Now"));
    EXPECT_EQ(page->table()[1].Name, QStringLiteral("GUI:CancelNow"));
    EXPECT_EQ(list()->item(1)->text(), QStringLiteral("GUI:CancelNow"));
    value()->moveCursor(QTextCursor::End);
    type(value(), QStringLiteral(" tout"));
    EXPECT_EQ(page->table()[1].Value, QStringLiteral("Annuler tout"));
    QTest::keyClick(value(), Qt::Key_Return);
    type(value(), QStringLiteral("ici"));
    EXPECT_EQ(page->table()[1].Value, QStringLiteral("Annuler tout\nici"));

    // A line chosen with the keyboard is the one that the boxes show and change.
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(name()->text(), QStringLiteral("GUI:Quit"));
    type(value(), QStringLiteral("!"));
    EXPECT_EQ(page->table()[2].Value, QStringLiteral("!Quitter"));
    EXPECT_EQ(page->table()[1].Value, QStringLiteral("Annuler tout\nici"));

    // A text entered without a key (an input method, a paste with the mouse) counts too.
    clickLine(0);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("한"));
    QCoreApplication::sendEvent(value(), &commit);
    EXPECT_EQ(page->table()[0].Value, QStringLiteral("한D'accord"));
    EXPECT_TRUE(child("cmdCSave")->isEnabled());
}

TEST_F(CsfPageTest, TextThatIsOnlyShownReachesTheFileUnchanged) {
    // Line breaks as CR LF, a non-breaking space and a lone CR: a text box would change them.
    const QString awkward = QStringLiteral("Ligne 1\r\nLigne\u00A02 :\rfin");
    CsfTable table = threeRows();
    table[1].Value = awkward;
    const QString target = writeTable("awkward.csf", table);
    const QByteArray before = readBytes(target);
    open(target);
    clickLine(1);
    tapShift(value());
    QTest::keyClick(value(), Qt::Key_Left);
    tapShift(name());
    EXPECT_FALSE(child("cmdCSave")->isHidden());
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    EXPECT_EQ(readBytes(target), before);
}

TEST_F(CsfPageTest, AjouterAddsNameNonameWithText) {
    dialogs.answerSaveFile(file("new.csf"));
    press("cmdCNew");
    EXPECT_EQ(dialogs.calls()[0].kind, DialogCall::Kind::SaveFile);
    EXPECT_EQ(dialogs.calls()[0].filter, QStringLiteral("Fichier CSF|*.csf"));
    EXPECT_EQ(path()->text(), file("new.csf"));
    press("cmdCAdd");
    press("cmdCAdd");
    EXPECT_EQ(lines(), QStringList({QStringLiteral("NAME:NONAME"), QStringLiteral("NAME:NONAME")}));
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_TRUE(list()->item(1)->isSelected());
    EXPECT_EQ(name()->text(), QStringLiteral("NAME:NONAME"));
    EXPECT_EQ(value()->toPlainText(), QStringLiteral("TEXT"));
    language()->setCurrentIndex(0);
    press("cmdCSave");
    const CsfReadResult read = ReadCsf(file("new.csf"));
    const CsfEntry added = row(QStringLiteral("NAME:NONAME"), QStringLiteral("TEXT"));
    EXPECT_EQ(read.table, CsfTable({added, added}));
    EXPECT_EQ(read.language, 0);
    EXPECT_EQ(messageNumbers(), std::vector<int>{19});
    EXPECT_EQ(dialogs.messages()[0].text, file("new.csf") + QStringLiteral(" enregistré avec succès."));
    EXPECT_EQ(dialogs.messages()[0].style, MsgStyle::Information);
}

TEST_F(CsfPageTest, ANewFileAfterAnOpenedOneStartsEmpty) {
    open(writeTable("three.csf", threeRows()));
    clickLine(0);
    dialogs.answerSaveFile(file("fresh.csf"));
    press("cmdCNew");
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(page->table().isEmpty());
    EXPECT_EQ(name()->text(), QString());
    press("cmdCAdd");
    press("cmdCSave"); // "Français" is still chosen from the opened file
    EXPECT_EQ(ReadCsf(file("fresh.csf")).table,
              CsfTable({row(QStringLiteral("NAME:NONAME"), QStringLiteral("TEXT"))}));
}

TEST_F(CsfPageTest, AjouterAtTheRowLimitSaysSo) {
    CsfTable full(CsfMaxRows, row(QStringLiteral("L"), QStringLiteral("t")));
    open(writeTable("full.csf", full));
    ASSERT_EQ(list()->count(), CsfMaxRows);
    press("cmdCAdd");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].number, Msg::CsfTableFull);
    EXPECT_EQ(dialogs.messages()[0].text, messageText(Msg::CsfTableFull));
    EXPECT_EQ(list()->count(), CsfMaxRows);
    EXPECT_EQ(page->table().size(), CsfMaxRows);
    EXPECT_TRUE(child("cmdCSave")->isHidden());
}

TEST_F(CsfPageTest, SupprimerRemovesTheSelectedRowAndLine) {
    const QString target = writeTable("three.csf", threeRows());
    open(target);
    // Nothing selected: nothing happens.
    const PageFlags before = flags();
    press("cmdCDelete");
    EXPECT_EQ(page->table(), threeRows());
    EXPECT_EQ(flags(), before);

    clickLine(1);
    press("cmdCDelete");
    EXPECT_EQ(lines(), QStringList({QStringLiteral("GUI:Ok"), QStringLiteral("GUI:Quit")}));
    EXPECT_EQ(tableNames(), lines());
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    EXPECT_EQ(name()->text(), QStringLiteral("GUI:Cancel"));
    EXPECT_EQ(value()->toPlainText(), QStringLiteral("Annuler"));
    // Typing now changes no row.
    type(value(), QStringLiteral("zzz"));
    type(name(), QStringLiteral("zzz"));
    EXPECT_EQ(page->table(), CsfTable({threeRows()[0], threeRows()[2]}));

    // The last line: "Supprimer" is disabled, "Enregistrer" stays, and the file has no rows.
    clickLine(0);
    press("cmdCDelete");
    clickLine(0);
    press("cmdCDelete");
    EXPECT_FALSE(child("cmdCDelete")->isEnabled());
    EXPECT_TRUE(child("cmdCSave")->isEnabled());
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    EXPECT_EQ(readBytes(target),
              QByteArray::fromHex("20465343 03000000 00000000 00000000 00000000 03000000"));
}

TEST_F(CsfPageTest, EnregistrerOnAnExistingFileFollowsTheAnswerToMessage3) {
    const CsfTable original = threeRows();
    struct Case {
        const char* answer;
        int result;
        const char* otherPath; // the file-save dialog's answer after No; nullptr: cancelled
        bool writesTarget, writesOther, cancels;
    };
    const Case cases[] = {
        {"Yes", MsgResult::Yes, nullptr, true, false, false},
        {"No, another existing file", MsgResult::No, "other.csf", false, true, false},
        {"No, dialog cancelled", MsgResult::No, nullptr, false, false, false},
        {"Cancel", MsgResult::Cancel, nullptr, false, false, true},
    };
    for (const Case& c : cases) {
        const QString target = writeTable("target.csf", original);
        const QString other = writeTable("other.csf", {row(QStringLiteral("OTHER"), QStringLiteral("x"))});
        const QByteArray targetBefore = readBytes(target);
        const QByteArray otherBefore = readBytes(other);
        dialogs.clear();
        freshPage();
        open(target);
        clickLine(0);
        type(value(), QStringLiteral("!"));
        dialogs.answerMessage(c.result);
        if (c.otherPath)
            dialogs.answerSaveFile(file(c.otherPath));
        press("cmdCSave");

        ASSERT_GE(dialogs.messages().size(), 1u) << c.answer;
        const DialogCall question = dialogs.messages()[0];
        EXPECT_EQ(question.number, 3);
        EXPECT_EQ(question.text,
                  u"Le fichier " + target + u" existe déjà. Êtes-vous sûr de vouloir l'écraser?");
        EXPECT_EQ(question.style, MsgStyle::YesNoCancelQuestion);
        // Only one question: the path chosen after No is not tested again.
        const std::vector<int> numbers = messageNumbers();
        EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 3), 1) << c.answer;

        CsfTable edited = original;
        edited[0].Value = QStringLiteral("!D'accord");
        EXPECT_EQ(readBytes(target) == targetBefore, !c.writesTarget) << c.answer;
        EXPECT_EQ(readBytes(other) == otherBefore, !c.writesOther) << c.answer;
        if (c.writesTarget) {
            EXPECT_EQ(ReadCsf(target).table, edited);
        }
        if (c.writesOther) {
            EXPECT_EQ(ReadCsf(other).table, edited);
            EXPECT_EQ(path()->text(), other);
        }
        if (c.result == MsgResult::No) {
            const auto saveDialog =
                std::find_if(dialogs.calls().begin(), dialogs.calls().end(),
                             [](const DialogCall& call) { return call.kind == DialogCall::Kind::SaveFile; });
            ASSERT_NE(saveDialog, dialogs.calls().end());
            EXPECT_EQ(saveDialog->filter, QStringLiteral("Fichiers CSF|*.csf"));
        }
        if (c.cancels) {
            EXPECT_EQ(list()->count(), 0);
            EXPECT_EQ(path()->text(), QString());
            EXPECT_EQ(name()->text(), QString());
            EXPECT_TRUE(page->table().isEmpty());
            EXPECT_FALSE(child("cmdCNew")->isHidden());
        }
        const bool written = c.writesTarget || c.writesOther;
        EXPECT_EQ(messageNumbers().back(), written ? 19 : 3) << c.answer;
        EXPECT_EQ(child("cmdCSave")->isHidden(), written || c.cancels) << c.answer;
    }
}

TEST_F(CsfPageTest, WithoutALanguageNothingIsWritten) {
    dialogs.answerSaveFile(file("new.csf"));
    press("cmdCNew");
    press("cmdCAdd");
    const PageFlags before = flags();
    press("cmdCSave");
    EXPECT_FALSE(QFile::exists(file("new.csf")));
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(flags(), before);
    EXPECT_EQ(list()->count(), 1);

    // On an existing file the overwrite question still comes first.
    writeBytes(file("new.csf"), "keep");
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    EXPECT_EQ(messageNumbers(), std::vector<int>{3});
    EXPECT_EQ(readBytes(file("new.csf")), QByteArray("keep"));
}

TEST_F(CsfPageTest, AnnulerDropsTheEditsWithoutWriting) {
    const QString target = writeTable("three.csf", threeRows());
    const QByteArray before = readBytes(target);
    open(target);
    clickLine(0);
    type(name(), QStringLiteral("changed"));
    press("cmdCCancel");
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(path()->text(), QString());
    EXPECT_EQ(name()->text(), QString());
    EXPECT_EQ(value()->toPlainText(), QString());
    EXPECT_EQ(readBytes(target), before);
    EXPECT_TRUE(dialogs.calls().size() == 1); // the open dialog only

    // The rows went with the lines: a row added now is line 0 and row 0.
    tapShift(value());
    press("cmdCAdd");
    EXPECT_EQ(tableNames(), QStringList{QStringLiteral("NAME:NONAME")});
    // With no file named any more, "Enregistrer" asks for one.
    dialogs.answerSaveFile(file("again.csf"));
    press("cmdCSave");
    EXPECT_EQ(dialogs.calls()[1].kind, DialogCall::Kind::SaveFile);
    EXPECT_EQ(ReadCsf(file("again.csf")).table.size(), 1);
}

TEST_F(CsfPageTest, UnicodeTextIsShownEditedAndWrittenWhole) {
    const QString mixed = QStringLiteral("Привет € œ “citation” 한국어 😀");
    CsfTable table = threeRows();
    table[0] = row(QStringLiteral("MENU:Über"), mixed);
    const QString target = writeTable("unicode.csf", table);
    open(target);
    EXPECT_EQ(lines()[0], QStringLiteral("MENU:Über"));
    clickLine(0);
    EXPECT_EQ(value()->toPlainText(), mixed);
    value()->moveCursor(QTextCursor::End);
    type(value(), QStringLiteral(" ёж 말"));
    type(name(), QStringLiteral("é"));
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    table[0] = row(QStringLiteral("MENU:Überé"), mixed + QStringLiteral(" ёж 말"));
    EXPECT_EQ(ReadCsf(target).table, table);
}

TEST_F(CsfPageTest, WrtsRowsAreEditedAndStayWrts) {
    CsfTable table = threeRows();
    table[2].HasExtra = true;
    table[2].Extra = QByteArrayLiteral("vquit01");
    const QString target = writeTable("voiced.csf", table);
    open(target);
    clickLine(2);
    EXPECT_EQ(value()->toPlainText(), QStringLiteral("Quitter"));
    type(value(), QStringLiteral("Vite ! "));
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    table[2].Value = QStringLiteral("Vite ! Quitter");
    EXPECT_EQ(ReadCsf(target).table, table);
    EXPECT_TRUE(readBytes(target).contains("WRTS"));
}

TEST_F(CsfPageTest, ALabelNameOutsideWindows1252IsRefused) {
    const QString target = writeTable("three.csf", threeRows());
    const QByteArray before = readBytes(target);
    open(target);
    clickLine(1);
    type(name(), QStringLiteral("한"));
    clickLine(0);
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    ASSERT_EQ(messageNumbers(), (std::vector<int>{3, Msg::CannotEncodeName}));
    EXPECT_EQ(dialogs.messages()[1].text, messageText(Msg::CannotEncodeName, QStringLiteral("GUI:Cancel한")));
    EXPECT_EQ(readBytes(target), before);
    // The row to rename is shown, and the edits are kept.
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(name()->text(), QStringLiteral("GUI:Cancel한"));
    EXPECT_FALSE(child("cmdCSave")->isHidden());

    QTest::keyClick(name(), Qt::Key_Backspace);
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    EXPECT_EQ(messageNumbers().back(), 19);
    EXPECT_EQ(ReadCsf(target).table, threeRows());
}

TEST_F(CsfPageTest, AFailedWriteShowsMessage2AndThePageGoesOn) {
    const QString target = games.folder() + QStringLiteral("/missing/folder/new.csf");
    dialogs.answerSaveFile(target);
    press("cmdCNew");
    press("cmdCAdd");
    language()->setCurrentIndex(2);
    press("cmdCSave");
    ASSERT_EQ(messageNumbers(), std::vector<int>{2});
    const DialogCall failure = dialogs.messages()[0];
    EXPECT_TRUE(failure.text.startsWith(messageInfo(2).text));
    EXPECT_TRUE(failure.text.contains(QStringLiteral("Details :"))) << failure.text.toStdString();
    EXPECT_TRUE(failure.text.contains(target)) << failure.text.toStdString();
    EXPECT_FALSE(QFile::exists(target));
    // Nothing is lost: the rows are still there to save elsewhere.
    EXPECT_FALSE(child("cmdCSave")->isHidden());
    EXPECT_EQ(page->table().size(), 1);
    path()->setText(file("elsewhere.csf"));
    press("cmdCSave");
    EXPECT_EQ(messageNumbers().back(), 19);
}

TEST_F(CsfPageTest, TheRealTablesOpenAndTheKoreanOneShowsHangul) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    for (const char* name : {"zh-mod-english.csf", "bfme-korean.csf"}) {
        const QString copy = file(name);
        ASSERT_TRUE(QFile::copy(test::realFixturesFolder() + u'/' + QString::fromLatin1(name), copy));
        dialogs.clear();
        open(copy);
        EXPECT_TRUE(dialogs.messages().empty()) << name;
        const CsfReadResult read = ReadCsf(copy);
        EXPECT_EQ(page->table(), read.table);
        EXPECT_EQ(list()->count(), read.table.size());
    }
    // The Korean table: language byte 15, text in Hangul.
    EXPECT_EQ(language()->currentText(), QStringLiteral("Autre langue (code 15)"));
    int hangulRow = -1;
    for (qsizetype i = 0; i < page->table().size() && hangulRow < 0; ++i) {
        for (QChar c : page->table()[i].Value) {
            if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3) {
                hangulRow = int(i);
                break;
            }
        }
    }
    ASSERT_GE(hangulRow, 0);
    list()->scrollToItem(list()->item(hangulRow));
    clickLine(hangulRow);
    EXPECT_EQ(value()->toPlainText(), page->table()[hangulRow].Value);
    EXPECT_EQ(value()->toPlainText().toUcs4(), page->table()[hangulRow].Value.toUcs4());

    // Saved again unchanged, the rows and the language byte come back.
    const CsfTable rows = page->table();
    tapShift(value());
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    const CsfReadResult again = ReadCsf(file("bfme-korean.csf"));
    EXPECT_EQ(again.table, rows);
    EXPECT_EQ(again.language, 15);
}

TEST_F(CsfPageTest, AFileWhoseNameDiffersOnlyInCaseIsTheOneReplaced) {
    const QString target = writeTable("menu.csf", threeRows());
    dialogs.answerSaveFile(file("MENU.CSF"));
    press("cmdCNew");
    press("cmdCAdd");
    language()->setCurrentIndex(0);
    dialogs.answerMessage(MsgResult::Yes);
    press("cmdCSave");
    EXPECT_EQ(messageNumbers(), (std::vector<int>{3, 19}));
    EXPECT_EQ(dialogs.messages()[0].text, messageText(3, target));
    EXPECT_EQ(ReadCsf(target).table.size(), 1);
    EXPECT_EQ(QDir(games.folder()).entryList({QStringLiteral("*.csf"), QStringLiteral("*.CSF")}, QDir::Files),
              QStringList{QStringLiteral("menu.csf")});
}

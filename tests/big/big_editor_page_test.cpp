#include "big/general_operations.h"
#include "big/window_progress.h"
#include "core/messages.h"
#include "core/progress_window.h"
#include "core/translation_keys.h"
#include "tests/big/big_page_test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

using namespace marvok;
using namespace marvok::test;

namespace {

const Entries kThree = {{"a.ini", "aaa"}, {"d\\b.ini", "bbbbb"}, {"d\\e\\c.ini", "cc"}};

struct Buttons {
    bool newShown, saveShown, saveEnabled, cancelShown, extractEnabled, addEnabled, deleteEnabled;
    bool operator==(const Buttons&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Buttons& b) {
    return os << "new " << b.newShown << ", save " << b.saveShown << "/" << b.saveEnabled << ", cancel "
              << b.cancelShown << ", extract " << b.extractEnabled << ", add " << b.addEnabled << ", delete "
              << b.deleteEnabled;
}

class BigEditorPageTest : public PageTest {
protected:
    Buttons buttons() const {
        return {button("cmdBNew")->isVisible(),     button("cmdBSave")->isVisible(),
                button("cmdBSave")->isEnabled(),    button("cmdBCancel")->isVisible(),
                button("cmdBExtract")->isEnabled(), button("cmdBAdd")->isEnabled(),
                button("cmdBDelete")->isEnabled()};
    }

    QString source(const QString& name, const QByteArray& bytes) {
        const QString path = folder.file(u"sources/" + name);
        writeBytes(path, bytes);
        return path;
    }

    // Saves the tree as `target` and returns the archive's entries.
    ArchiveEntries saveAs(const QString& target) {
        dialogs.answerSaveFile(target);
        press("cmdBSave");
        ArchiveEntries written;
        EXPECT_EQ(ReadArchiveIndex(target, written), IndexReadResult::Read);
        return written;
    }

    // "Extraire" into `target`, once a click on an entry has enabled it.
    void extractInto(const QString& target) {
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            if (BigEditorPage::nodeKind(*it) == BigEditorPage::NodeKind::Entry) {
                click(*it);
                break;
            }
        }
        ASSERT_TRUE(button("cmdBExtract")->isEnabled());
        dialogs.answerFolder(target);
        press("cmdBExtract");
    }

    static QByteArray dataOf(const QString& archive, const ArchiveEntry& entry) {
        return readBytes(archive).mid(entry.Offset, entry.Size);
    }
};

} // namespace

TEST_F(BigEditorPageTest, ControlsCarryTheirNamesCaptionsAndKeys) {
    const std::pair<const char*, const char*> expected[] = {
        {"cmdBNew", "NewBig"},      {"cmdBSave", "Save"}, {"cmdBCancel", "Cancel"},
        {"cmdBExtract", "Extract"}, {"cmdBAdd", "Add"},   {"cmdBDelete", "Delete"},
    };
    for (const auto& [name, key] : expected)
        EXPECT_EQ(translationKey(button(name)), QString::fromLatin1(key)) << name;
    EXPECT_EQ(button("cmdBNew")->caption(), QStringLiteral("Nouveau fichier BIG"));
    EXPECT_EQ(button("cmdBAdd")->caption(), QStringLiteral("Ajouter"));
    EXPECT_NE(panel.findChild<QWidget*>(QStringLiteral("CoolFileBox1")), nullptr);
    EXPECT_NE(panel.findChild<QTreeWidget*>(QStringLiteral("TreeView1")), nullptr);
    // Start: only "Nouveau fichier BIG" can be used.
    EXPECT_EQ(buttons(), (Buttons{true, false, false, false, false, false, false}));
}

TEST_F(BigEditorPageTest, OpeningShowsFoldersAndEntriesWithTheirKeys) {
    const QString path = writeArchive(QStringLiteral("three.big"), kThree);
    page->openArchive(path);
    EXPECT_EQ(shape(), QStringList({QStringLiteral("a.ini BIG:0"), QStringLiteral("d d\\"),
                                    QStringLiteral(".b.ini BIG:1"), QStringLiteral(".e d\\e\\"),
                                    QStringLiteral("..c.ini BIG:2")}));
    EXPECT_TRUE(node(QStringLiteral("d\\"))->isExpanded());
    EXPECT_TRUE(node(QStringLiteral("d\\e\\"))->isExpanded());
    QStringList known = page->KnownFolders();
    known.sort();
    EXPECT_EQ(known, QStringList({QStringLiteral("d\\"), QStringLiteral("d\\e\\")}));
    EXPECT_EQ(CurrentArchivePath(), path);
    EXPECT_EQ(node(QStringLiteral("BIG:2"))->checkState(0), Qt::Unchecked);
    // Opened: Add and Delete, the rest as it was.
    EXPECT_EQ(buttons(), (Buttons{true, false, false, false, false, true, true}));
}

TEST_F(BigEditorPageTest, NamesWithSlashesShareFoldersWithBackslashNames) {
    page->openArchive(writeArchive(
        QStringLiteral("slashes.big"),
        {{"/art/x.tga", "1"}, {"Data/INI\\a.ini", "2"}, {"Data\\INI/b.ini", "3"}, {"Data\\\\c.ini", "4"}}));
    EXPECT_EQ(shape(), QStringList({QStringLiteral("art \\art\\"), QStringLiteral(".x.tga BIG:0"),
                                    QStringLiteral("Data Data\\"), QStringLiteral(".INI Data\\INI\\"),
                                    QStringLiteral("..a.ini BIG:1"), QStringLiteral("..b.ini BIG:2"),
                                    QStringLiteral(".c.ini BIG:3")}));
}

TEST_F(BigEditorPageTest, WhatIsNotAnArchiveLeavesAnEmptyTree) {
    const QString good = writeArchive(QStringLiteral("good.big"), kThree);
    page->openArchive(good);

    // Not ending in "big": nothing happens at all.
    page->openArchive(writeArchive(QStringLiteral("other.dat"), kThree));
    EXPECT_EQ(tree()->topLevelItemCount(), 2);

    // Not starting with "BIG": an empty tree, no message.
    const QString text = folder.file(QStringLiteral("x.BIG"));
    writeBytes(text, "plain text");
    page->openArchive(text);
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(button("cmdBAdd")->isEnabled());
    EXPECT_FALSE(button("cmdBDelete")->isEnabled());
    EXPECT_FALSE(button("cmdBExtract")->isEnabled());
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(CurrentArchivePath(), good);
}

TEST_F(BigEditorPageTest, ABrokenIndexIsReportedAndThePageGoesOn) {
    const QString good = writeArchive(QStringLiteral("good.big"), kThree);
    page->openArchive(good);
    // An index that announces more entries than the file holds.
    QByteArray bytes = archiveBytes(kThree);
    bytes.replace(8, 4, bigEndian(5000));
    const QString broken = folder.file(QStringLiteral("broken.big"));
    writeBytes(broken, bytes);
    page->openArchive(broken);

    ASSERT_EQ(dialogs.messages().size(), 1u);
    const DialogCall shown = dialogs.messages()[0];
    EXPECT_EQ(shown.number, 2);
    EXPECT_EQ(shown.style, MsgStyle::Critical);
    EXPECT_TRUE(shown.text.contains(QStringLiteral("Error 62 : "))) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QStringLiteral("source : mBIG.ReadArchiveIndex")));
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(button("cmdBAdd")->isEnabled());
    // The last good archive is still the open one.
    EXPECT_EQ(CurrentArchivePath(), good);
    EXPECT_EQ(ArchiveIndex().size(), 3);
    page->openArchive(good);
    EXPECT_EQ(tree()->topLevelItemCount(), 2);
}

TEST_F(BigEditorPageTest, ButtonsFollowTheStateTable) {
    const QString path = writeArchive(QStringLiteral("three.big"), kThree);
    const Buttons newRow{false, true, false, true, false, true, true};
    const Buttons changed{false, true, true, true, false, true, true};

    press("cmdBNew");
    EXPECT_EQ(buttons(), newRow);
    page->openArchive(path); // opened changes Add and Delete only
    EXPECT_EQ(buttons(), newRow);
    dialogs.answerOpenFile(QString()); // "Ajouter" changes the state even when cancelled
    press("cmdBAdd");
    EXPECT_EQ(buttons(), changed);
    press("cmdBCancel");
    EXPECT_EQ(buttons(), (Buttons{true, false, true, false, true, false, false}));
    EXPECT_EQ(tree()->topLevelItemCount(), 0);

    page->openArchive(path);
    click(node(QStringLiteral("BIG:0")));
    press("cmdBDelete");
    EXPECT_EQ(buttons(), changed);
    saveAs(folder.file(QStringLiteral("saved.big")));
    EXPECT_EQ(buttons(), (Buttons{true, false, true, false, false, false, false}));
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_TRUE(page->KnownFolders().isEmpty());
}

TEST_F(BigEditorPageTest, AddedFilesGoUnderTheirFoldersAndAreSavedInTheOrderAdded) {
    const QString path = writeArchive(QStringLiteral("three.big"), kThree);
    page->openArchive(path);
    const QString added = source(QStringLiteral("new.ini"), "new data");
    add(added, QStringLiteral("d\\new.ini"));

    // The proposed name is the file's path without its root, with the archive's separator.
    const DialogCall& input = dialogs.calls().back();
    ASSERT_EQ(input.kind, DialogCall::Kind::Input);
    EXPECT_EQ(
        input.text,
        QStringLiteral("Veuillez entrer le nom qui servira à identifier ce fichier dans le fichier BIG."));
    EXPECT_EQ(input.initialPath, added.mid(1).replace(u'/', u'\\'));
    EXPECT_EQ(dialogs.calls()[0].filter, QStringLiteral("Tous les fichiers (*.*)|*.*"));

    QTreeWidgetItem* leaf = node(added);
    EXPECT_EQ(leaf->text(0), QStringLiteral("new.ini"));
    EXPECT_EQ(leaf->parent(), node(QStringLiteral("d\\")));

    const QString saved = folder.file(QStringLiteral("saved.big"));
    const ArchiveEntries written = saveAs(saved);
    EXPECT_EQ(dialogs.calls().back().filter,
              QStringLiteral("Fichiers BIG|*.big|Tous les fichiers (*.*)|*.*"));
    EXPECT_EQ(names(written), QStringList({QStringLiteral("a.ini"), QStringLiteral("d\\b.ini"),
                                           QStringLiteral("d\\e\\c.ini"), QStringLiteral("d\\new.ini")}));
    EXPECT_EQ(dataOf(saved, written[1]), "bbbbb");
    EXPECT_EQ(dataOf(saved, written[3]), "new data");
}

TEST_F(BigEditorPageTest, SavingFollowsTheOrderOfAddingNotTheTree) {
    press("cmdBNew");
    const QString one = source(QStringLiteral("1.ini"), "1");
    const QString two = source(QStringLiteral("2.ini"), "22");
    const QString three = source(QStringLiteral("3.ini"), "333");
    add(one, QStringLiteral("x\\1.ini"));
    add(two, QStringLiteral("2.ini"));
    add(three, QStringLiteral("x\\3.ini"));
    EXPECT_EQ(shape(),
              QStringList({QStringLiteral("x x\\"), u".1.ini " + one, u".3.ini " + three, u"2.ini " + two}));
    const QString saved = folder.file(QStringLiteral("saved.big"));
    EXPECT_EQ(names(saveAs(saved)),
              QStringList({QStringLiteral("x\\1.ini"), QStringLiteral("2.ini"), QStringLiteral("x\\3.ini")}));
}

TEST_F(BigEditorPageTest, AddingTheSameFileTwiceKeepsOneNode) {
    press("cmdBNew");
    const QString file = source(QStringLiteral("f.ini"), "f");
    add(file, QStringLiteral("d\\f.ini"));
    // The second time the folders are placed, then the file is refused without a word.
    add(file, QStringLiteral("z\\f.ini"));
    EXPECT_EQ(shape(), QStringList({QStringLiteral("d d\\"), u".f.ini " + file, QStringLiteral("z z\\")}));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(BigEditorPageTest, ACancelledNamePromptAddsTheFileAtTheRootWithoutName) {
    press("cmdBNew");
    const QString file = source(QStringLiteral("f.ini"), "f");
    dialogs.answerOpenFile(file);
    dialogs.cancelInput();
    press("cmdBAdd");
    EXPECT_EQ(shape(), QStringList({u' ' + file}));
}

TEST_F(BigEditorPageTest, ANewArchiveMakesItsOwnFolders) {
    page->openArchive(writeArchive(QStringLiteral("three.big"), kThree));
    press("cmdBNew");
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    const QString file = source(QStringLiteral("f.ini"), "f");
    add(file, QStringLiteral("d\\f.ini"));
    EXPECT_EQ(shape(), QStringList({QStringLiteral("d d\\"), u".f.ini " + file}));
    EXPECT_TRUE(node(QStringLiteral("d\\"))->isExpanded());
}

TEST_F(BigEditorPageTest, ANameTheArchiveCannotHoldIsRefused) {
    press("cmdBNew");
    add(source(QStringLiteral("f.ini"), "f"), QStringLiteral("Карта\\f.ini"));
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    ASSERT_EQ(messageNumbers(), std::vector<int>{Msg::CannotEncodeName});
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("Карта\\f.ini")));
    // A name Windows-1252 holds is taken as typed.
    add(source(QStringLiteral("g.ini"), "g"), QStringLiteral("Décor\\g.ini"));
    EXPECT_EQ(tree()->topLevelItem(0)->text(0), QStringLiteral("Décor"));
}

TEST_F(BigEditorPageTest, DeletingRemovesTheSelectedNodeWithWhatIsBelow) {
    page->openArchive(writeArchive(QStringLiteral("three.big"), kThree));
    // Nothing selected: nothing happens, the state included.
    tree()->clearSelection();
    press("cmdBDelete");
    EXPECT_EQ(tree()->topLevelItemCount(), 2);
    EXPECT_FALSE(button("cmdBSave")->isVisible());

    click(node(QStringLiteral("d\\")));
    press("cmdBDelete");
    EXPECT_EQ(shape(), QStringList({QStringLiteral("a.ini BIG:0")}));
    EXPECT_TRUE(page->KnownFolders().isEmpty());
    // The folder comes back fresh for a file added under it.
    const QString file = source(QStringLiteral("f.ini"), "f");
    add(file, QStringLiteral("d\\e\\f.ini"));
    EXPECT_EQ(shape(), QStringList({QStringLiteral("a.ini BIG:0"), QStringLiteral("d d\\"),
                                    QStringLiteral(".e d\\e\\"), u"..f.ini " + file}));
    const QString saved = folder.file(QStringLiteral("saved.big"));
    EXPECT_EQ(names(saveAs(saved)), QStringList({QStringLiteral("a.ini"), QStringLiteral("d\\e\\f.ini")}));
}

TEST_F(BigEditorPageTest, ACancelledSaveWritesNothingAndKeepsTheEdits) {
    page->openArchive(writeArchive(QStringLiteral("three.big"), kThree));
    add(source(QStringLiteral("f.ini"), "f"), QStringLiteral("f.ini"));
    const QStringList before = shape();
    dialogs.answerSaveFile(QString());
    press("cmdBSave");
    EXPECT_EQ(shape(), before);
    EXPECT_TRUE(button("cmdBSave")->isVisible());
    EXPECT_TRUE(button("cmdBSave")->isEnabled());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({QStringLiteral("three.big")}));
}

TEST_F(BigEditorPageTest, AnEmptyTreeIsSavedAsAnArchiveWithoutEntries) {
    press("cmdBNew");
    // A file chooser closed without a choice is enough to allow saving.
    dialogs.answerOpenFile(QString());
    press("cmdBAdd");
    const QString saved = folder.file(QStringLiteral("empty.big"));
    EXPECT_TRUE(saveAs(saved).isEmpty());
    EXPECT_EQ(readBytes(saved), QByteArrayLiteral("BIGF\x18\0\0\0\0\0\0\0\0\0\0\x17L225\0\0\0\0"));
}

TEST_F(BigEditorPageTest, AFailedSaveLeavesTheTargetAndTheTreeAsTheyWere) {
    page->openArchive(writeArchive(QStringLiteral("three.big"), kThree));
    const QString file = source(QStringLiteral("gone.ini"), "soon gone");
    add(file, QStringLiteral("gone.ini"));
    QFile::remove(file);
    const QString target = folder.file(QStringLiteral("target.big"));
    writeBytes(target, "the user's archive");
    const QStringList before = shape();

    dialogs.answerSaveFile(target);
    press("cmdBSave");
    ASSERT_EQ(messageNumbers(), std::vector<int>{2});
    EXPECT_TRUE(dialogs.messages()[0].text.contains(file));
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("source : mBIG.WriteArchive")));
    EXPECT_EQ(readBytes(target), "the user's archive");
    EXPECT_EQ(shape(), before);
    EXPECT_TRUE(button("cmdBSave")->isVisible());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("target.big"), QStringLiteral("three.big")}));
}

TEST_F(BigEditorPageTest, SavingOverTheOpenArchiveKeepsItsData) {
    const QString path = writeArchive(QStringLiteral("three.big"), kThree);
    page->openArchive(path);
    click(node(QStringLiteral("BIG:1")));
    press("cmdBDelete");
    const ArchiveEntries written = saveAs(path);
    EXPECT_EQ(names(written), QStringList({QStringLiteral("a.ini"), QStringLiteral("d\\e\\c.ini")}));
    EXPECT_EQ(dataOf(path, written[1]), "cc");
    // The open archive's index describes the new file.
    EXPECT_EQ(ArchiveIndex(), written);
}

TEST_F(BigEditorPageTest, TickingAFolderTicksItsDirectChildrenOnly) {
    page->openArchive(writeArchive(QStringLiteral("three.big"), kThree));
    node(QStringLiteral("d\\"))->setCheckState(0, Qt::Checked);
    EXPECT_EQ(node(QStringLiteral("BIG:1"))->checkState(0), Qt::Checked);
    EXPECT_EQ(node(QStringLiteral("d\\e\\"))->checkState(0), Qt::Checked);
    EXPECT_EQ(node(QStringLiteral("BIG:2"))->checkState(0), Qt::Unchecked);
    EXPECT_EQ(node(QStringLiteral("BIG:0"))->checkState(0), Qt::Unchecked);
    node(QStringLiteral("d\\"))->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(node(QStringLiteral("d\\e\\"))->checkState(0), Qt::Unchecked);
}

TEST_F(BigEditorPageTest, TheExtractButtonFollowsTheClickedNode) {
    page->openArchive(writeArchive(QStringLiteral("three.big"), kThree));
    const QString file = source(QStringLiteral("f.ini"), "f");
    add(file, QStringLiteral("f.ini"));
    struct Case {
        QString key;
        bool ticked;
        bool enabled;
    };
    const Case cases[] = {
        {QStringLiteral("BIG:2"), false, true},
        {QStringLiteral("d\\"), false, false},
        {QStringLiteral("BIG:0"), true, true},
        {QStringLiteral("d\\e\\"), true, true},
        {file, false, false},
        {file, true, false},
    };
    for (const Case& c : cases) {
        QTreeWidgetItem* item = node(c.key);
        item->setCheckState(0, c.ticked ? Qt::Checked : Qt::Unchecked);
        click(item);
        EXPECT_EQ(button("cmdBExtract")->isEnabled(), c.enabled) << c.key.toStdString();
    }
}

TEST_F(BigEditorPageTest, ExtractionWritesTheTickedEntriesIntoTheChosenFolder) {
    const QString path =
        writeArchive(QStringLiteral("same.big"),
                     {{"d\\x.ini", "first"}, {"e\\x.ini", "second"}, {"y.ini", "y"}, {"z.ini", ""}});
    page->openArchive(path);
    const QString target = folder.file(QStringLiteral("out"));
    QDir().mkpath(target);
    writeBytes(target + QStringLiteral("/y.ini"), "an older and longer y");
    for (const char* key : {"BIG:0", "BIG:1", "BIG:2", "BIG:3"})
        node(QString::fromLatin1(key))->setCheckState(0, Qt::Checked);

    extractInto(target);
    const DialogCall& chooser = dialogs.calls().front();
    EXPECT_EQ(chooser.kind, DialogCall::Kind::Folder);
    EXPECT_EQ(chooser.text, QStringLiteral("Extract files in :"));
    // The second x.ini replaces the first, and so does y.ini the older one: message 1 each time.
    ASSERT_EQ(messageNumbers(), (std::vector<int>{1, 1, 17}));
    const DialogCall exists = dialogs.messages()[0];
    EXPECT_EQ(exists.text, u"Le fichier spécifé existe déjà.\r\n\r\nFile : " + target + u"/x.ini");
    EXPECT_EQ(exists.title, QStringLiteral("Extraction de BIG"));
    EXPECT_EQ(exists.style, MsgStyle::Critical);
    EXPECT_EQ(dialogs.messages()[2].text, QStringLiteral("Extraction terminée avec succès."));
    EXPECT_EQ(readBytes(target + QStringLiteral("/x.ini")), "second");
    EXPECT_EQ(readBytes(target + QStringLiteral("/y.ini")), "y");
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("/z.ini")).isFile());
    EXPECT_EQ(QFileInfo(target + QStringLiteral("/z.ini")).size(), 0);
    EXPECT_EQ(currentProgressWindow(), nullptr);
}

TEST_F(BigEditorPageTest, ExtractingWithNothingTickedOrNoFolderWritesNothing) {
    page->openArchive(writeArchive(QStringLiteral("three.big"), kThree));
    const QString target = folder.file(QStringLiteral("out"));
    QDir().mkpath(target);
    extractInto(target);
    EXPECT_EQ(messageNumbers(), std::vector<int>{17});
    EXPECT_TRUE(QDir(target).isEmpty());

    dialogs.clear();
    node(QStringLiteral("BIG:0"))->setCheckState(0, Qt::Checked);
    extractInto(QString());
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(QDir(target).isEmpty());
}

TEST_F(BigEditorPageTest, HostileNamesNeverLeaveTheChosenFolder) {
    // An entry whose data lies past the end of the file comes last.
    QByteArray bytes = archiveBytes({{"..\\..\\evil.ini", "1"},
                                     {"/etc/passwd", "2"},
                                     {"d/../up.ini", "3"},
                                     {"ok\\..", "4"},
                                     {"dir\\", "5"},
                                     {"d\\.", "6"},
                                     {"far.ini", "7"}});
    const qsizetype lastRecord = bytes.indexOf("far.ini") - 8;
    bytes.replace(lastRecord, 4, bigEndian(quint32(bytes.size())));
    const QString path = folder.file(QStringLiteral("hostile.big"));
    writeBytes(path, bytes);
    page->openArchive(path);
    for (QTreeWidgetItemIterator it(tree()); *it; ++it)
        (*it)->setCheckState(0, Qt::Checked);

    const QString target = folder.file(QStringLiteral("a/b/out"));
    QDir().mkpath(target);
    extractInto(target);
    QStringList written = QDir(target).entryList(QDir::Files);
    EXPECT_EQ(written,
              QStringList({QStringLiteral("evil.ini"), QStringLiteral("passwd"), QStringLiteral("up.ini")}));
    EXPECT_EQ(readBytes(target + QStringLiteral("/passwd")), "2");
    EXPECT_EQ(QDir(folder.file(QStringLiteral("a/b"))).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(folder.file(QStringLiteral("a"))).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({QStringLiteral("hostile.big")}));

    // What was left out is told, not reported as a success.
    ASSERT_EQ(messageNumbers(), std::vector<int>{Msg::BigExtractionIncomplete});
    const QString told = dialogs.messages()[0].text;
    for (const char* name : {"ok\\..", "dir\\", "d\\.", "far.ini"})
        EXPECT_TRUE(told.contains(QString::fromLatin1(name))) << name << "\n" << told.toStdString();
    EXPECT_FALSE(told.contains(QStringLiteral("evil.ini")));
}

TEST_F(BigEditorPageTest, RealArchivesOpenExtractAndSaveAgain) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    for (const char* file : {"bigf-small.big", "bigf-multiple-files.big", "big4-empty-entry.big"}) {
        SCOPED_TRACE(file);
        const QString path = realFixturesFolder() + u'/' + QString::fromLatin1(file);
        const QByteArray original = readBytes(path);
        page->openArchive(path);
        ASSERT_EQ(CurrentArchivePath(), path);
        const ArchiveEntries index = ArchiveIndex();
        ASSERT_FALSE(index.isEmpty());
        int leaves = 0;
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            (*it)->setCheckState(0, Qt::Checked);
            if (BigEditorPage::nodeKind(*it) == BigEditorPage::NodeKind::Entry) {
                EXPECT_EQ(BigEditorPage::nodeKey(*it), u"BIG:" + QString::number(leaves));
                ++leaves;
            }
        }
        EXPECT_EQ(leaves, index.size());

        TempFolder out;
        dialogs.clear();
        extractInto(out.path());
        EXPECT_EQ(messageNumbers(), std::vector<int>{17});
        for (const ArchiveEntry& entry : index)
            EXPECT_EQ(readBytes(extractionTargetPath(out.path(), entry.Name)),
                      original.mid(entry.Offset, entry.Size));

        // Open and save: the same names, order and data.
        const QString saved = out.file(QStringLiteral("saved.big"));
        dialogs.answerOpenFile(QString());
        press("cmdBAdd"); // only to reach the editing state
        const ArchiveEntries written = saveAs(saved);
        EXPECT_EQ(names(written), names(index));
        for (qsizetype k = 0; k < index.size(); ++k)
            EXPECT_EQ(dataOf(saved, written[k]), original.mid(index[k].Offset, index[k].Size));
    }
}

TEST(WindowProgress, TheProgressWindowShowsWhatWritingAndExtractionReport) {
    WindowProgress progress;
    progress.show(QStringLiteral("Extraction"), QStringLiteral("/out/a.ini"));
    frmProgress* window = currentProgressWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Extraction"));
    EXPECT_EQ(window->label()->text(), QStringLiteral("/out/a.ini"));
    progress.change(50);
    EXPECT_EQ(window->bar()->value(), 50);
    // The next entry reuses the window.
    progress.show(QStringLiteral("Extraction"), QStringLiteral("/out/b.ini"));
    EXPECT_EQ(currentProgressWindow(), window);
    EXPECT_EQ(window->label()->text(), QStringLiteral("/out/b.ini"));
    progress.show(QStringLiteral("Création de /out.big"), QStringLiteral("Ecriture du header"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Création de /out.big"));
    progress.text(QStringLiteral("Ecriture des fichiers"));
    EXPECT_EQ(window->label()->text(), QStringLiteral("Ecriture des fichiers"));
    progress.hide();
    EXPECT_EQ(currentProgressWindow(), nullptr);
}

#pragma once
// The BIG page in a bare panel, driven through its widgets and the scripted dialogs.
#include "big/big_archive.h"
#include "big/big_editor_page.h"
#include "controls/user_control1.h"
#include "core/scripted_dialogs.h"
#include "tests/big/big_test_support.h"
#include "tests/support/test_files.h"

#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>
#include <memory>

namespace marvok::test {

using Entries = QList<std::pair<QByteArray, QByteArray>>;

class PageTest : public ::testing::Test {
protected:
    PageTest() {
        panel.resize(660, 470);
        page = std::make_unique<BigEditorPage>(&panel);
        panel.show();
    }

    QTreeWidget* tree() const { return page->archiveTree(); }

    QString writeArchive(const QString& name, const Entries& entries) {
        const QString path = folder.file(name);
        writeBytes(path, archiveBytes(entries));
        return path;
    }

    // Each node in tree order as "depth text key", depth shown by leading dots.
    QStringList shape() const {
        QStringList lines;
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            int depth = 0;
            for (const QTreeWidgetItem* at = (*it)->parent(); at; at = at->parent())
                ++depth;
            lines << QString(depth, u'.') + (*it)->text(0) + u' ' + BigEditorPage::nodeKey(*it);
        }
        return lines;
    }

    QTreeWidgetItem* node(const QString& key) const {
        for (QTreeWidgetItemIterator it(tree()); *it; ++it) {
            if (BigEditorPage::nodeKey(*it) == key)
                return *it;
        }
        ADD_FAILURE() << "no node " << key.toStdString();
        return nullptr;
    }

    void click(QTreeWidgetItem* item) {
        tree()->scrollToItem(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
    }

    UserControl1* button(const char* name) const {
        auto* found = panel.findChild<UserControl1*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void press(const char* name) {
        UserControl1* control = button(name);
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }

    // "Ajouter" of `source` under the typed `name`.
    void add(const QString& source, const QString& name) {
        dialogs.answerOpenFile(source);
        dialogs.answerInput(name);
        press("cmdBAdd");
    }

    // The numbers of the messages shown since the last clear.
    std::vector<int> messageNumbers() const {
        std::vector<int> numbers;
        for (const DialogCall& call : dialogs.messages())
            numbers.push_back(call.number);
        return numbers;
    }

    static QStringList names(const ArchiveEntries& index) {
        QStringList list;
        for (const ArchiveEntry& entry : index)
            list << entry.Name;
        return list;
    }

    TempFolder folder;
    ScriptedDialogService dialogs;
    QWidget panel;
    std::unique_ptr<BigEditorPage> page;
};

} // namespace marvok::test

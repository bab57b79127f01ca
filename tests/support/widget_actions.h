#pragma once
// Finding a window's controls by object name and clicking them as a user would.
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace marvok::test {

template <typename T = QWidget> T* in(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

inline void clickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace marvok::test

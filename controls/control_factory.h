#pragma once
// Building a window's controls by hand: each gets its object name, the translation key that a
// language file looks up (none when `key` is null), its caption and its place.
#include "controls/user_control1.h"
#include "core/translation_keys.h"

#include <QLabel>
#include <QRect>

namespace marvok {

template <typename T> T* named(T* control, const char* name, const char* key = nullptr) {
    control->setObjectName(QString::fromLatin1(name));
    if (key)
        setTranslationKey(control, key);
    return control;
}

// `text` and `caption` are UTF-8.
QLabel* makeLabel(QWidget* parent, const char* name, const char* text, const char* key, QRect at);
UserControl1* makeButton(QWidget* parent, const char* name, const char* caption, const char* key, QRect at);
// A label for a path too long for it: it keeps the whole path as its text and shows the middle cut.
QLabel* makePathLabel(QWidget* parent, const char* name, const char* text, QRect at);

} // namespace marvok

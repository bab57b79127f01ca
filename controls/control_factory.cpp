#include "controls/control_factory.h"

namespace marvok {

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, const char* key, QRect at) {
    auto* label = named(new QLabel(QString::fromUtf8(text), parent), name, key);
    label->setGeometry(at);
    return label;
}

UserControl1* makeButton(QWidget* parent, const char* name, const char* caption, const char* key, QRect at) {
    auto* button = named(new UserControl1(parent), name, key);
    button->setCaption(QString::fromUtf8(caption));
    button->setGeometry(at);
    return button;
}

} // namespace marvok

#include "controls/control_factory.h"

#include <QPainter>

namespace marvok {
namespace {

class PathLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width()));
    }
};

} // namespace

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

QLabel* makePathLabel(QWidget* parent, const char* name, const char* text, QRect at) {
    auto* label = named(new PathLabel(QString::fromUtf8(text), parent), name);
    label->setGeometry(at);
    return label;
}

} // namespace marvok

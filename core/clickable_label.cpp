#include "core/clickable_label.h"

#include <QMouseEvent>

namespace marvok {

ClickableLabel::ClickableLabel(QWidget* parent)
    : QLabel(parent) {
    setMouseTracking(true);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    // A disabled label receives no mouse events, so a click here always counts.
    if (click)
        emit clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    emit mouseMoved();
}

} // namespace marvok

#include "controls/user_control1.h"

#include "controls/skin_artwork.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace marvok {
namespace {

constexpr int EdgeWidth = 6;
constexpr int CellWidth = 6;

// The button is drawn in Tahoma 8.25 pt; where Tahoma is missing the font system's sans-serif stands in.
QFont buttonFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

constexpr int captionFlags = Qt::TextShowMnemonic | Qt::TextSingleLine;

} // namespace

UserControl1::UserControl1(QWidget* parent)
    : CaptionedControl(parent) {
    setFont(buttonFont());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    m_hoverTimer.setInterval(3);
    connect(&m_hoverTimer, &QTimer::timeout, this, &UserControl1::hoverTick);
}

UserControl1::Look UserControl1::currentLook() const {
    if (!isEnabled())
        return DisabledLook;
    if (m_pressed)
        return PressedLook;
    if (pointerInside())
        return HoverLook;
    if (m_focused)
        return FocusLook;
    return NormalLook;
}

QSize UserControl1::sizeHint() const {
    const int textWidth = fontMetrics().size(captionFlags, caption()).width();
    return {qMax(75, textWidth + 4 * EdgeWidth), CellHeight};
}

bool UserControl1::pointerInside() const {
    return isVisible() && rect().contains(mapFromGlobal(QCursor::pos()));
}

void UserControl1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap skin = skin::buttonSkin(devicePixelRatioF());
    const int row = currentLook();
    // A button taller than the windows' 21 pixels stretches the cells to its height.
    const int w = width();
    const int h = height();
    const auto drawCell = [&](int column, const QRectF& target) {
        const QPixmap cell =
            skin::cellOf(skin, QRect(column * CellWidth, row * CellHeight, CellWidth, CellHeight));
        painter.drawPixmap(target, cell, QRectF(cell.rect()));
    };
    drawCell(0, QRectF(0, 0, EdgeWidth, h));
    if (w > 2 * EdgeWidth)
        drawCell(1, QRectF(EdgeWidth, 0, w - 2 * EdgeWidth, h));
    drawCell(2, QRectF(w - EdgeWidth, 0, EdgeWidth, h));

    // Centred on the button, so a caption wider than the button overflows both edges equally.
    const QSize text = fontMetrics().size(captionFlags, caption());
    const int x = qRound((w - 4 - text.width()) / 2.0 + 2);
    const int y = qRound((h - 4 - text.height()) / 2.0 + 2);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(x, y), text), Qt::AlignHCenter | Qt::AlignTop | captionFlags, caption());
}

void UserControl1::setPressed(bool pressed) {
    m_pressed = pressed;
    update();
}

void UserControl1::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_mouseHeld = true;
    setPressed(true);
}

void UserControl1::mouseMoveEvent(QMouseEvent* event) {
    if (m_mouseHeld && (event->buttons() & Qt::LeftButton)) {
        const bool inside = rect().contains(event->position().toPoint());
        if (inside != m_pressed)
            setPressed(inside);
    } else if (event->buttons() == Qt::NoButton && !m_hovered) {
        m_hovered = true;
        update();
        m_hoverTimer.start();
    }
}

void UserControl1::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_mouseHeld) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_mouseHeld = false;
    setPressed(false);
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

// Space clicks when it comes up, as on a standard button, so a held key does not repeat the click;
// Enter clicks at once, and once.
void UserControl1::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_spaceHeld = true;
            setPressed(true);
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat()) {
            setPressed(false);
            emit Click();
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        focusNextPrevChild(false);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        focusNextPrevChild(true);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    update();
}

void UserControl1::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_spaceHeld) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_spaceHeld = false;
    setPressed(false);
    emit Click();
}

// Two controls with the same access key: the key moves the focus instead of clicking.
void UserControl1::accessKeyPressed(bool ambiguous) {
    if (ambiguous)
        setFocus(Qt::ShortcutFocusReason);
    else if (isEnabled())
        emit Click();
    update();
}

void UserControl1::focusInEvent(QFocusEvent* event) {
    m_focused = true;
    update();
    QWidget::focusInEvent(event);
}

// A Space held while the focus leaves must not leave the button looking pressed.
void UserControl1::focusOutEvent(QFocusEvent* event) {
    m_focused = false;
    if (m_spaceHeld) {
        m_spaceHeld = false;
        m_pressed = false;
    }
    update();
    QWidget::focusOutEvent(event);
}

void UserControl1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            m_pressed = m_mouseHeld = m_spaceHeld = false;
            m_hovered = false;
            m_hoverTimer.stop();
        }
        update();
    } else if (event->type() == QEvent::FontChange) {
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

void UserControl1::hideEvent(QHideEvent* event) {
    m_hovered = false;
    m_hoverTimer.stop();
    QWidget::hideEvent(event);
}

// The pointer can leave without a mouse event reaching the button (a window opening over it, a
// fast move); the timer watches it while it is over the button and stops once it has gone.
void UserControl1::hoverTick() {
    const bool inside = pointerInside();
    if (inside && !m_hovered) {
        m_hovered = true;
        update();
    } else if (!inside && m_hovered) {
        m_hovered = false;
        update();
        m_hoverTimer.stop();
    }
}

} // namespace marvok

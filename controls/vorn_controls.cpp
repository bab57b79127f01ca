#include "controls/vorn_controls.h"

#include "controls/skin_artwork.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace marvok {
namespace {

constexpr int captionFlags = Qt::TextShowMnemonic | Qt::TextSingleLine;
// The focus rectangle starts 3 pixels left of the caption and ends 3 pixels after it.
constexpr int FocusLeft = 17;
constexpr int FocusMargin = 6;

VornToggleControl::Glyph ticked(VornToggleControl::Glyph unticked, bool isTicked) {
    return static_cast<VornToggleControl::Glyph>(unticked + (isTicked ? 4 : 0));
}

} // namespace

VornToggleControl::VornToggleControl(QPixmap (*glyphStrip)(qreal), QWidget* parent)
    : CaptionedControl(parent)
    , m_glyphStrip(glyphStrip) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(GlyphSize, GlyphSize);
    m_hoverTimer.setInterval(1);
    connect(&m_hoverTimer, &QTimer::timeout, this, &VornToggleControl::hoverTick);
}

QColor VornToggleControl::backColor() const {
    return m_backColor.isValid() ? m_backColor : palette().color(QPalette::Window);
}

void VornToggleControl::setBackColor(const QColor& colour) {
    m_backColor = colour;
    update();
}

QColor VornToggleControl::foreColor() const {
    return m_foreColor.isValid() ? m_foreColor : palette().color(QPalette::WindowText);
}

void VornToggleControl::setForeColor(const QColor& colour) {
    m_foreColor = colour;
    update();
}

void VornToggleControl::setBackStyle(int style) {
    m_backStyle = style;
    update();
}

QSize VornToggleControl::sizeHint() const {
    const QSize text = fontMetrics().size(captionFlags, caption());
    return {FocusLeft + text.width() + FocusMargin, qMax(GlyphSize, text.height()) + 2};
}

void VornToggleControl::storeValue(int value) {
    m_value = value;
    m_glyph = restingGlyph();
    update();
}

VornToggleControl::Glyph VornToggleControl::glyph() const {
    // A control made inside a disabled window has seen no change of its own state yet.
    return isEnabled() ? m_glyph : restingGlyph();
}

void VornToggleControl::chooseGlyph(Glyph glyph) {
    if (glyph == m_glyph)
        return;
    m_glyph = glyph;
    update();
}

VornToggleControl::Glyph VornToggleControl::restingGlyph() const {
    const bool isTicked = m_value == 1;
    if (!isEnabled())
        return ticked(UntickedDisabled, isTicked);
    return ticked(m_hovered ? UntickedHover : UntickedNormal, isTicked);
}

VornToggleControl::Glyph VornToggleControl::pressedGlyph() const {
    return ticked(UntickedPressed, m_value == 1);
}

void VornToggleControl::perform() {
    activate();
    emit Click();
}

void VornToggleControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_backStyle != 0)
        painter.fillRect(rect(), backColor());

    const QSize text = fontMetrics().size(captionFlags, caption());
    const int textTop = (height() - text.height()) / 2;
    painter.setPen(foreColor());
    painter.drawText(QRect(CaptionLeft, textTop, qMax(0, width() - CaptionLeft), text.height()),
                     Qt::AlignLeft | Qt::AlignTop | captionFlags, caption());

    const QPixmap strip = m_glyphStrip(devicePixelRatioF());
    const QPixmap cell = skin::cellOf(strip, QRect(glyph() * GlyphSize, 0, GlyphSize, GlyphSize));
    painter.drawPixmap(QRectF(0, qRound((height() - GlyphSize) / 2.0), GlyphSize, GlyphSize), cell,
                       QRectF(cell.rect()));

    if (m_focused) {
        painter.setPen(QPen(foreColor(), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            QRectF(FocusLeft + 0.5, textTop + 0.5, text.width() + FocusMargin - 1, text.height() - 1));
    }
}

// Any button but the right one presses the control.
void VornToggleControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton || m_pressButton != Qt::NoButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressButton = event->button();
    chooseGlyph(pressedGlyph());
}

void VornToggleControl::mouseMoveEvent(QMouseEvent* event) {
    if (m_pressButton == Qt::LeftButton && (event->buttons() & Qt::LeftButton)) {
        // Dragged out, the control shows that letting go there will not change it.
        const bool inside = rect().contains(event->position().toPoint());
        chooseGlyph(inside ? pressedGlyph() : ticked(UntickedNormal, m_value == 1));
        return;
    }
    if ((event->buttons() & Qt::LeftButton) || m_spaceHeld)
        return;
    if (!m_hovered) {
        m_hovered = true;
        m_hoverTimer.start();
    }
    chooseGlyph(restingGlyph());
}

// Letting go outside the control changes nothing, as with any button.
void VornToggleControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != m_pressButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressButton = Qt::NoButton;
    if (rect().contains(event->position().toPoint()))
        perform();
    chooseGlyph(restingGlyph());
}

void VornToggleControl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_spaceHeld = true;
            chooseGlyph(pressedGlyph());
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
    }
}

// A Space that went down elsewhere, or the repeats of a held one, do nothing.
void VornToggleControl::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_spaceHeld) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_spaceHeld = false;
    perform();
    chooseGlyph(restingGlyph());
}

void VornToggleControl::accessKeyPressed(bool ambiguous) {
    setFocus(Qt::ShortcutFocusReason);
    if (!ambiguous)
        perform();
}

void VornToggleControl::focusInEvent(QFocusEvent* event) {
    m_focused = true;
    update();
    QWidget::focusInEvent(event);
}

void VornToggleControl::focusOutEvent(QFocusEvent* event) {
    m_focused = false;
    if (m_spaceHeld) {
        m_spaceHeld = false;
        chooseGlyph(restingGlyph());
    }
    update();
    QWidget::focusOutEvent(event);
}

void VornToggleControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        m_foreColor = isEnabled() ? palette().color(QPalette::Active, QPalette::ButtonText)
                                  : palette().color(QPalette::Disabled, QPalette::WindowText);
        if (!isEnabled()) {
            m_hovered = m_spaceHeld = false;
            m_pressButton = Qt::NoButton;
            m_hoverTimer.stop();
        }
        m_glyph = restingGlyph();
        update();
    } else if (event->type() == QEvent::FontChange) {
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

void VornToggleControl::hideEvent(QHideEvent* event) {
    m_hovered = false;
    m_hoverTimer.stop();
    if (m_pressButton == Qt::NoButton && !m_spaceHeld)
        m_glyph = restingGlyph();
    QWidget::hideEvent(event);
}

// Runs while the pointer is over the control, so that leaving it, also under a window that opened
// on top, brings back the resting glyph; then it stops.
void VornToggleControl::hoverTick() {
    const QPoint pointer = QCursor::pos();
    const bool onTop = rect().contains(mapFromGlobal(pointer)) && QApplication::widgetAt(pointer) == this;
    if (onTop) {
        m_hovered = true;
        return;
    }
    m_hovered = false;
    m_hoverTimer.stop();
    if (m_pressButton == Qt::NoButton && !m_spaceHeld)
        chooseGlyph(restingGlyph());
}

VornCheckBox::VornCheckBox(QWidget* parent)
    : VornToggleControl(&skin::checkGlyphs, parent) {}

void VornCheckBox::setValue(int Value) {
    const int proposed = Value != 0 ? 1 : 0;
    if (proposed == value())
        return;
    bool cancel = false;
    emit Changed(cancel, proposed);
    if (!cancel)
        storeValue(proposed);
}

void VornCheckBox::activate() {
    setValue(value() == 1 ? 0 : 1);
}

VornOptionButton::VornOptionButton(QWidget* parent)
    : VornToggleControl(&skin::optionGlyphs, parent) {}

void VornOptionButton::setValue(int Value) {
    const int selected = Value != 0 ? 1 : 0;
    if (selected == value())
        return;
    if (selected == 1) {
        // Frames do not separate groups: every option button of the window counts.
        const QList<VornOptionButton*> buttons = window()->findChildren<VornOptionButton*>();
        for (VornOptionButton* other : buttons) {
            if (other != this && other->group() == m_group)
                other->setValue(0);
        }
    }
    storeValue(selected);
    emit Changed(selected);
}

void VornOptionButton::activate() {
    setValue(1);
}

} // namespace marvok

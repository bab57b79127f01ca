#pragma once
// The program's push button. It draws itself from a skin of five looks, centres its caption ("&"
// marks the access key) and raises Click when clicked with the mouse, Space, Enter or its access key.
#include "controls/captioned_control.h"

#include <QTimer>

namespace marvok {

class UserControl1 : public CaptionedControl {
    Q_OBJECT

public:
    // The rows of the skin.
    enum Look { NormalLook = 0, HoverLook = 1, FocusLook = 2, PressedLook = 3, DisabledLook = 4 };

    // The height of the skin's cells and of the windows' buttons.
    static constexpr int CellHeight = 21;

    explicit UserControl1(QWidget* parent = nullptr);

    // The look a redraw would use now: it follows the pointer as it is at this moment.
    Look currentLook() const;
    bool isPressed() const { return m_pressed; }

    QSize sizeHint() const override;

signals:
    void Click();

protected:
    void accessKeyPressed(bool ambiguous) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool pointerInside() const;
    void hoverTick();
    void setPressed(bool pressed);

    bool m_focused = false;
    bool m_pressed = false;
    bool m_hovered = false;
    bool m_mouseHeld = false;
    bool m_spaceHeld = false;
    QTimer m_hoverTimer;
};

} // namespace marvok

#pragma once
// The program's own check box and option button: a 13 x 13 glyph from a strip of eight, the caption
// beside it ("&" marks the access key, "&&" is a plain "&") and a dotted focus rectangle. The option
// button keeps one selected button per group number among the option buttons of its window.
#include "controls/captioned_control.h"

#include <QColor>
#include <QTimer>

namespace marvok {

// The machinery the two controls share.
class VornToggleControl : public CaptionedControl {
    Q_OBJECT
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(int backStyle READ backStyle WRITE setBackStyle)
    Q_PROPERTY(int value READ value WRITE setValue)

public:
    // The cells of the glyph strip; the ticked ones follow the unticked ones.
    enum Glyph {
        UntickedNormal = 0,
        UntickedHover = 1,
        UntickedPressed = 2,
        UntickedDisabled = 3,
        TickedNormal = 4,
        TickedHover = 5,
        TickedPressed = 6,
        TickedDisabled = 7,
    };
    static constexpr int GlyphSize = 13;
    static constexpr int CaptionLeft = 20;

    // The window's background colour until one is set.
    QColor backColor() const;
    void setBackColor(const QColor& colour);
    // The window's text colour until one is set; enabling or disabling replaces it with the system's
    // colour for button text or for disabled text.
    QColor foreColor() const;
    void setForeColor(const QColor& colour);
    // 1 paints the background with backColor, 0 leaves it see-through.
    int backStyle() const { return m_backStyle; }
    void setBackStyle(int style);

    // 1 ticked (selected), 0 not; any other number counts as 1.
    int value() const { return m_value; }
    virtual void setValue(int Value) = 0;

    // The glyph last chosen, drawn by every paint.
    Glyph glyph() const;

    QSize sizeHint() const override;

signals:
    void Click();

protected:
    VornToggleControl(QPixmap (*glyphStrip)(qreal), QWidget* parent);

    // What a click or Space does.
    virtual void activate() = 0;
    // Stores a value already agreed to and shows it.
    void storeValue(int value);

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
    void chooseGlyph(Glyph glyph);
    Glyph restingGlyph() const;
    Glyph pressedGlyph() const;
    void perform();
    void hoverTick();

    QPixmap (*m_glyphStrip)(qreal);
    QColor m_backColor;
    QColor m_foreColor;
    int m_backStyle = 1;
    int m_value = 0;
    Glyph m_glyph = UntickedNormal;
    bool m_focused = false;
    bool m_hovered = false;
    bool m_spaceHeld = false;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    QTimer m_hoverTimer;
};

class VornCheckBox : public VornToggleControl {
    Q_OBJECT

public:
    explicit VornCheckBox(QWidget* parent = nullptr);

    // Raises Changed with the proposed value; a handler that sets Cancel keeps the old value.
    // Nothing happens when the value does not change.
    void setValue(int Value) override;

signals:
    void Changed(bool& Cancel, int Value);

protected:
    void activate() override;
};

class VornOptionButton : public VornToggleControl {
    Q_OBJECT
    Q_PROPERTY(qint16 group READ group WRITE setGroup)

public:
    explicit VornOptionButton(QWidget* parent = nullptr);

    qint16 group() const { return m_group; }
    void setGroup(qint16 group) { m_group = group; }

    // Selecting first clears the other option buttons of the window with the same group (each
    // raising its own Changed), then raises Changed once the value is stored. Nothing happens when
    // the value does not change.
    void setValue(int Value) override;

signals:
    void Changed(int Value);

protected:
    void activate() override;

private:
    qint16 m_group = 0;
};

} // namespace marvok

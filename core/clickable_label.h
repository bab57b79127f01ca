#pragma once
// A label that reports clicks and the mouse moving over it: the navigation links, the game
// buttons and their names, and column headings are labels in this program.
#include <QLabel>

namespace marvok {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace marvok

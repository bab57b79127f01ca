#include "controls/user_control1.h"

#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;

namespace {

// A shown, active window with three buttons side by side, the pointer parked away from them.
class ButtonWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->setGeometry(100, 100, 340, 60);
        for (int i = 0; i < 3; ++i) {
            buttons[i] = new UserControl1(window.get());
            buttons[i]->setObjectName(QStringLiteral("UserControl1%1").arg(i));
            buttons[i]->setGeometry(10 + 110 * i, 20, 100, UserControl1::CellHeight);
        }
        button = buttons[1];
        button->setCaption(QStringLiteral("&Enregistrer"));
        parkPointer();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void parkPointer() { QCursor::setPos(window->mapToGlobal(QPoint(330, 55))); }

    QPoint outside() const { return QPoint(button->width() + 30, 5); }

    std::unique_ptr<QWidget> window;
    UserControl1* buttons[3] = {};
    UserControl1* button = nullptr;
};

} // namespace

TEST_F(ButtonWindow, CaptionDefaultsToTheNameAndIsAProperty) {
    EXPECT_EQ(buttons[0]->caption(), QStringLiteral("UserControl10"));
    buttons[0]->setObjectName(QStringLiteral("cmdBSave"));
    EXPECT_EQ(buttons[0]->caption(), QStringLiteral("cmdBSave"));
    EXPECT_TRUE(buttons[0]->setProperty("caption", QStringLiteral("Choisir")));
    EXPECT_EQ(buttons[0]->caption(), QStringLiteral("Choisir"));
    EXPECT_EQ(button->property("caption").toString(), QStringLiteral("&Enregistrer"));
    EXPECT_EQ(button->sizeHint().height(), UserControl1::CellHeight);
    EXPECT_GT(button->sizeHint().width(),
              button->fontMetrics().horizontalAdvance(QStringLiteral("Enregistrer")));
}

TEST_F(ButtonWindow, LookFollowsTheState) {
    EXPECT_EQ(button->currentLook(), UserControl1::NormalLook);
    button->setFocus();
    EXPECT_EQ(button->currentLook(), UserControl1::FocusLook);
    QTest::mouseMove(button);
    EXPECT_EQ(button->currentLook(), UserControl1::HoverLook); // hover wins over focus
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(button->currentLook(), UserControl1::PressedLook);
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(button->currentLook(), UserControl1::HoverLook);
    parkPointer();
    EXPECT_EQ(button->currentLook(), UserControl1::FocusLook);
    buttons[0]->setFocus();
    EXPECT_EQ(button->currentLook(), UserControl1::NormalLook);
}

TEST_F(ButtonWindow, DisabledShowsItsLookAndNeverClicks) {
    QSignalSpy clicks(button, &UserControl1::Click);
    button->setFocus();
    button->setEnabled(false);
    QTest::mouseMove(button);
    EXPECT_EQ(button->currentLook(), UserControl1::DisabledLook);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(button->currentLook(), UserControl1::DisabledLook);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ButtonWindow, PressAndReleaseInsideClicksOnce) {
    QSignalSpy clicks(button, &UserControl1::Click);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ButtonWindow, DraggingOutAndInTogglesThePressedLook) {
    QSignalSpy clicks(button, &UserControl1::Click);
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_TRUE(button->isPressed());
    QTest::mouseMove(button, outside());
    EXPECT_FALSE(button->isPressed());
    QTest::mouseMove(button, QPoint(20, 10));
    EXPECT_TRUE(button->isPressed());
    QTest::mouseMove(button, outside());
    QTest::mouseRelease(button, Qt::LeftButton, {}, outside());
    EXPECT_FALSE(button->isPressed());
    EXPECT_EQ(clicks.count(), 0);

    // Out and back in before letting go is still a click.
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseMove(button, outside());
    QTest::mouseMove(button, QPoint(20, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ButtonWindow, SpacePressesAndClicksWhenReleased) {
    QSignalSpy clicks(button, &UserControl1::Click);
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(button->currentLook(), UserControl1::PressedLook);
    EXPECT_EQ(clicks.count(), 0);
    // The repeats of a held key neither click nor release.
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(button, &repeatUp);
    QApplication::sendEvent(button, &repeatDown);
    EXPECT_EQ(button->currentLook(), UserControl1::PressedLook);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button->currentLook(), UserControl1::FocusLook);
}

TEST_F(ButtonWindow, EnterClicksOncePerPress) {
    QSignalSpy clicks(button, &UserControl1::Click);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 2);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(button, &repeat);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ButtonWindow, FocusLeavingWhileSpaceIsHeldReleasesTheButton) {
    QSignalSpy clicks(button, &UserControl1::Click);
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    buttons[2]->setFocus();
    EXPECT_FALSE(button->isPressed());
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ButtonWindow, AccessKeyClicks) {
    QSignalSpy clicks(button, &UserControl1::Click);
    buttons[0]->setFocus();
    QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);

    // "&&" is a plain ampersand, not a marker.
    button->setCaption(QStringLiteral("Tout && rien"));
    QTest::keyClick(window.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ButtonWindow, ArrowKeysMoveTheFocus) {
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Right);
    EXPECT_TRUE(buttons[2]->hasFocus());
    QTest::keyClick(buttons[2], Qt::Key_Up);
    EXPECT_TRUE(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Left);
    EXPECT_TRUE(buttons[0]->hasFocus());
    QTest::keyClick(buttons[0], Qt::Key_Down);
    EXPECT_TRUE(button->hasFocus());
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST_F(ButtonWindow, HoverTimerRedrawsWhenThePointerHasGone) {
    QTest::mouseMove(button);
    ASSERT_EQ(button->currentLook(), UserControl1::HoverLook);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
    PaintCounter counter;
    button->installEventFilter(&counter);
    // Jumping away gives the button no mouse event; only its timer notices.
    parkPointer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 1000));
    EXPECT_EQ(button->currentLook(), UserControl1::NormalLook);
}

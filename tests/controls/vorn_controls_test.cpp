#include "controls/vorn_controls.h"

#include <QCursor>
#include <QFrame>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;
using Glyph = VornToggleControl::Glyph;

namespace {

// A shown, active window; the pointer parked away from the controls.
class ToggleWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->setGeometry(100, 100, 400, 200);
        parkPointer();
    }

    void showWindow() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void parkPointer() { QCursor::setPos(window->mapToGlobal(QPoint(395, 195))); }

    template <typename Control> Control* add(QWidget* parent, const QString& name, int top) {
        auto* control = new Control(parent);
        control->setObjectName(name);
        control->setCaption(name);
        control->setGeometry(10, top, 150, 17);
        return control;
    }

    static QPoint outside() { return QPoint(200, 8); }

    std::unique_ptr<QWidget> window;
};

} // namespace

TEST_F(ToggleWindow, CheckBoxGlyphFollowsPointerButtonAndValue) {
    auto* box = add<VornCheckBox>(window.get(), QStringLiteral("Check1"), 10);
    showWindow();
    EXPECT_EQ(box->glyph(), VornToggleControl::UntickedNormal);
    QTest::mouseMove(box);
    EXPECT_EQ(box->glyph(), VornToggleControl::UntickedHover);
    QTest::mousePress(box, Qt::LeftButton);
    EXPECT_EQ(box->glyph(), VornToggleControl::UntickedPressed);
    QTest::mouseRelease(box, Qt::LeftButton);
    EXPECT_EQ(box->value(), 1);
    EXPECT_EQ(box->glyph(), VornToggleControl::TickedHover);
    QTest::mousePress(box, Qt::LeftButton);
    EXPECT_EQ(box->glyph(), VornToggleControl::TickedPressed);
    QTest::mouseRelease(box, Qt::LeftButton);
    EXPECT_EQ(box->value(), 0);

    box->setValue(1);
    // Only the timer sees the pointer leave without a mouse event.
    parkPointer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->glyph() == VornToggleControl::TickedNormal; }, 1000));
    box->setEnabled(false);
    EXPECT_EQ(box->glyph(), VornToggleControl::TickedDisabled);
    box->setValue(0);
    EXPECT_EQ(box->glyph(), VornToggleControl::UntickedDisabled);
}

TEST_F(ToggleWindow, CheckBoxChangedCanCancel) {
    auto* box = add<VornCheckBox>(window.get(), QStringLiteral("Check1"), 10);
    showWindow();
    QList<int> proposed;
    bool refuse = false;
    QObject::connect(box, &VornCheckBox::Changed, box, [&](bool& Cancel, int Value) {
        proposed << Value;
        Cancel = refuse;
    });
    QSignalSpy clicks(box, &VornToggleControl::Click);

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->value(), 1);
    refuse = true;
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->value(), 1);
    EXPECT_EQ(box->glyph(), VornToggleControl::TickedNormal);
    box->setValue(0);
    EXPECT_EQ(box->value(), 1);
    refuse = false;
    box->setValue(5); // any number but 0 ticks; it is ticked already, so nothing is proposed
    box->setValue(0);
    EXPECT_EQ(box->value(), 0);
    EXPECT_EQ(proposed, (QList<int>{1, 0, 0, 0}));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ToggleWindow, OnlyACompleteClickWithoutTheRightButtonToggles) {
    auto* box = add<VornCheckBox>(window.get(), QStringLiteral("Check1"), 10);
    showWindow();
    QTest::mouseClick(box, Qt::RightButton);
    EXPECT_EQ(box->value(), 0);
    EXPECT_EQ(box->glyph(), VornToggleControl::UntickedNormal);

    QTest::mousePress(box, Qt::LeftButton);
    QTest::mouseMove(box, outside());
    EXPECT_EQ(box->glyph(), VornToggleControl::UntickedNormal);
    QTest::mouseRelease(box, Qt::LeftButton, {}, outside());
    EXPECT_EQ(box->value(), 0);

    QTest::mouseClick(box, Qt::MiddleButton);
    EXPECT_EQ(box->value(), 1);
}

TEST_F(ToggleWindow, SpaceTogglesWhenReleased) {
    auto* box = add<VornCheckBox>(window.get(), QStringLiteral("Check1"), 10);
    showWindow();
    box->setFocus();
    QSignalSpy clicks(box, &VornToggleControl::Click);
    QTest::keyPress(box, Qt::Key_Space);
    EXPECT_EQ(box->glyph(), VornToggleControl::UntickedPressed);
    EXPECT_EQ(box->value(), 0);
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(box, &repeatUp);
    EXPECT_EQ(box->value(), 0);
    QTest::keyRelease(box, Qt::Key_Space);
    EXPECT_EQ(box->value(), 1);
    EXPECT_EQ(box->glyph(), VornToggleControl::TickedNormal);
    EXPECT_EQ(clicks.count(), 1);

    // A Space that went down elsewhere does nothing here.
    QTest::keyRelease(box, Qt::Key_Space);
    EXPECT_EQ(box->value(), 1);
}

TEST_F(ToggleWindow, AccessKeyFocusesAndToggles) {
    auto* box = add<VornCheckBox>(window.get(), QStringLiteral("Check1"), 10);
    auto* other = add<VornCheckBox>(window.get(), QStringLiteral("Check2"), 40);
    box->setCaption(QStringLiteral("Ajouter une &capture d'écran"));
    showWindow();
    other->setFocus();
    QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->value(), 1);
}

TEST_F(ToggleWindow, OptionButtonsKeepOneSelectedPerGroupAcrossFrames) {
    auto* frame1 = new QFrame(window.get());
    frame1->setGeometry(0, 0, 200, 100);
    auto* frame2 = new QFrame(window.get());
    frame2->setGeometry(200, 0, 200, 100);
    auto* option1 = add<VornOptionButton>(frame1, QStringLiteral("Option1"), 10);
    auto* option2 = add<VornOptionButton>(frame1, QStringLiteral("Option2"), 40);
    auto* option3 = add<VornOptionButton>(frame2, QStringLiteral("Option3"), 10);
    auto* otherGroup = add<VornOptionButton>(frame2, QStringLiteral("Option4"), 40);
    otherGroup->setGroup(1);
    otherGroup->setValue(1);
    showWindow();

    QStringList changes;
    for (VornOptionButton* option : {option1, option2, option3, otherGroup}) {
        QObject::connect(option, &VornOptionButton::Changed, option, [&changes, option](int Value) {
            changes << option->objectName() + QLatin1Char('=') + QString::number(Value);
        });
    }
    QTest::mouseClick(option1, Qt::LeftButton);
    QTest::mouseClick(option3, Qt::LeftButton);
    EXPECT_EQ(changes, (QStringList{QStringLiteral("Option1=1"), QStringLiteral("Option1=0"),
                                    QStringLiteral("Option3=1")}));

    changes.clear();
    option2->setValue(1);
    EXPECT_EQ(changes, (QStringList{QStringLiteral("Option3=0"), QStringLiteral("Option2=1")}));
    EXPECT_EQ(option1->value() + option2->value() + option3->value(), 1);
    EXPECT_EQ(otherGroup->value(), 1);

    // Clicking the selected one changes nothing; right clicks do nothing.
    changes.clear();
    QTest::mouseClick(option2, Qt::LeftButton);
    QTest::mouseClick(option1, Qt::RightButton);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(option2->value(), 1);
}

TEST_F(ToggleWindow, ArrowKeysMoveTheFocusWithoutSelecting) {
    auto* option1 = add<VornOptionButton>(window.get(), QStringLiteral("Option1"), 10);
    auto* option2 = add<VornOptionButton>(window.get(), QStringLiteral("Option2"), 40);
    auto* option3 = add<VornOptionButton>(window.get(), QStringLiteral("Option3"), 70);
    showWindow();
    option1->setFocus();
    QTest::keyClick(option1, Qt::Key_Down);
    EXPECT_TRUE(option2->hasFocus());
    QTest::keyClick(option2, Qt::Key_Right);
    EXPECT_TRUE(option3->hasFocus());
    QTest::keyClick(option3, Qt::Key_Up);
    QTest::keyClick(option2, Qt::Key_Left);
    EXPECT_TRUE(option1->hasFocus());
    EXPECT_EQ(option1->value() + option2->value() + option3->value(), 0);

    QTest::keyClick(option1, Qt::Key_Space);
    EXPECT_EQ(option1->value(), 1);
}

TEST_F(ToggleWindow, DisabledControlPassesTheFocusOn) {
    auto* first = add<VornCheckBox>(window.get(), QStringLiteral("Check1"), 10);
    auto* disabled = add<VornOptionButton>(window.get(), QStringLiteral("Option1"), 40);
    auto* last = add<VornCheckBox>(window.get(), QStringLiteral("Check2"), 70);
    disabled->setEnabled(false);
    showWindow();
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(last->hasFocus());
    disabled->setFocus();
    EXPECT_FALSE(disabled->hasFocus());
}

TEST_F(ToggleWindow, EnablingSetsTheSystemTextColour) {
    auto* box = add<VornCheckBox>(window.get(), QStringLiteral("Check1"), 10);
    box->setForeColor(Qt::red);
    box->setEnabled(false);
    EXPECT_EQ(box->foreColor(), box->palette().color(QPalette::Disabled, QPalette::WindowText));
    box->setEnabled(true);
    EXPECT_EQ(box->foreColor(), box->palette().color(QPalette::Active, QPalette::ButtonText));
}

TEST_F(ToggleWindow, PropertiesAndSmallestSize) {
    auto* option = new VornOptionButton(window.get());
    option->setObjectName(QStringLiteral("Option1"));
    EXPECT_EQ(option->caption(), QStringLiteral("Option1"));
    EXPECT_TRUE(option->setProperty("caption", QStringLiteral("Capture d'écran du fichier ZIP")));
    EXPECT_EQ(option->caption(), QStringLiteral("Capture d'écran du fichier ZIP"));
    EXPECT_EQ(option->backStyle(), 1);
    EXPECT_EQ(option->backColor(), window->palette().color(QPalette::Window));
    EXPECT_TRUE(option->setProperty("group", QVariant::fromValue<qint16>(3)));
    EXPECT_EQ(option->group(), 3);
    option->resize(5, 5);
    EXPECT_EQ(option->size(), QSize(13, 13));
}

#include "controls/xp_button.h"

#include "controls/property_bag.h"
#include "controls/system_colours.h"

#include <QCursor>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace tradumar {
namespace {

ButtonFace faceOf(const XpButton& button) {
    return ButtonFace{button.size(),      button.squareStyle(), button.backColor(),
                      button.foreColor(), button.caption(),     button.buttonFont()};
}

// What the window shows of the button, as a plain image.
QImage shown(XpButton& button) {
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool shows(XpButton& button, ButtonLook look) {
    return shown(button) == renderButtonLook(look, faceOf(button), currentSystemColours());
}

class XpButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->setGeometry(50, 50, 300, 120);
        button = new XpButton(host.get());
        button->setObjectName(QStringLiteral("XP_button1"));
        button->initProperties();
        button->setGeometry(20, 20, 60, 25);
        other = new QLineEdit(host.get());
        other->setGeometry(120, 20, 80, 25);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
        moveAway();
    }

    void TearDown() override { host.reset(); }

    void moveOver(QPoint at = QPoint(10, 10)) { QTest::mouseMove(button, at); }
    void moveAway() { QTest::mouseMove(host.get(), QPoint(250, 100)); }
    bool waitForLeave() {
        return QTest::qWaitFor([&] { return !button->isHoverTracking(); }, 1000);
    }
    QTimer* leaveTimer() { return button->findChild<QTimer*>(QStringLiteral("Timer1")); }

    std::unique_ptr<QWidget> host;
    XpButton* button = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(XpButtonTest, NewButtonShowsItsOwnNameBlackOnTheHighlightGradientSquare) {
    EXPECT_EQ(button->caption(), QStringLiteral("XP_button1"));
    EXPECT_EQ(button->foreColor(), 0u);
    EXPECT_EQ(button->backColor(), SystemColours::classic().buttonHighlight);
    EXPECT_TRUE(button->squareStyle());
    EXPECT_EQ(button->apparence(), 0);
    EXPECT_TRUE(button->buttonEnabled());
    EXPECT_EQ(button->buttonFont(), ButtonFont{});
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, LeaveTimerIsThreeMillisecondsAndIdleAtFirst) {
    ASSERT_NE(leaveTimer(), nullptr);
    EXPECT_EQ(leaveTimer()->interval(), 3);
    EXPECT_FALSE(leaveTimer()->isActive());
}

TEST_F(XpButtonTest, PressShowsPressedAndReleaseShowsNormalThenClicks) {
    QSignalSpy clicks(button, &XpButton::click);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button->isMouseDown());
    EXPECT_TRUE(shows(*button, ButtonLook::Pressed));
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(button->isMouseDown());
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(button->isClickedMark());
}

TEST_F(XpButtonTest, RightButtonShowsPressedButDoesNotClick) {
    QSignalSpy clicks(button, &XpButton::click);
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_TRUE(shows(*button, ButtonLook::Pressed));
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->isClickedMark());
}

TEST_F(XpButtonTest, ReleasingOutsideTheButtonIsNoClick) {
    QSignalSpy clicks(button, &XpButton::click);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->isMouseDown());
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, HoverStartsTheTimerAndLeavingEndsItWithTheRestingLook) {
    moveOver();
    EXPECT_TRUE(button->isHoverTracking());
    EXPECT_TRUE(leaveTimer()->isActive());
    EXPECT_TRUE(shows(*button, ButtonLook::Hover));

    // Still over the button: the timer keeps running and the look stays.
    QTest::qWait(20);
    EXPECT_TRUE(button->isHoverTracking());
    EXPECT_TRUE(shows(*button, ButtonLook::Hover));

    moveAway();
    ASSERT_TRUE(waitForLeave());
    EXPECT_FALSE(leaveTimer()->isActive());
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, AWidgetLyingOverTheButtonCountsAsLeaving) {
    auto* cover = new QWidget(host.get());
    cover->setGeometry(50, 20, 30, 25); // over the button's right half
    cover->show();
    cover->raise();
    moveOver(QPoint(10, 10));
    ASSERT_TRUE(button->isHoverTracking());
    QTest::mouseMove(cover, QPoint(10, 10));
    ASSERT_TRUE(waitForLeave());
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, MovesWithAButtonHeldDrawNoHover) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(button, QPoint(12, 12));
    EXPECT_FALSE(button->isHoverTracking());
    EXPECT_TRUE(shows(*button, ButtonLook::Pressed));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(12, 12));
}

TEST_F(XpButtonTest, ClickedThenLeftShowsTheLightBlueFrameAndFocusBackShowsBlue) {
    moveOver();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(button->hasFocus());
    ASSERT_TRUE(button->isClickedMark());
    moveOver(QPoint(11, 11));
    EXPECT_TRUE(shows(*button, ButtonLook::Hover));

    moveAway();
    ASSERT_TRUE(waitForLeave());
    EXPECT_TRUE(shows(*button, ButtonLook::ClickedAway));

    // Another window taking the focus for a while (a chooser opened by the
    // click) does not make the button forget it was clicked...
    QWidget elsewhere;
    elsewhere.setGeometry(400, 300, 100, 50);
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    EXPECT_TRUE(button->isClickedMark());
    EXPECT_TRUE(shows(*button, ButtonLook::ClickedAway));

    // ...and coming back shows the focus look.
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    ASSERT_TRUE(button->hasFocus());
    EXPECT_TRUE(shows(*button, ButtonLook::Focused));

    // Focus moving to another control ends it all.
    other->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(button->isClickedMark());
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, FocusWithoutAClickDrawsNothingNew) {
    moveOver();
    button->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(button->hasFocus());
    EXPECT_TRUE(shows(*button, ButtonLook::Hover));
    moveAway();
    ASSERT_TRUE(waitForLeave());
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, KeyboardDoesNotClick) {
    QSignalSpy clicks(button, &XpButton::click);
    button->setFocus(Qt::TabFocusReason);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(button, key);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, DisabledButtonIgnoresClicksHoverAndFocus) {
    QSignalSpy clicks(button, &XpButton::click);
    button->setButtonEnabled(false);
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));

    moveOver();
    EXPECT_FALSE(button->isHoverTracking());
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button->isMouseDown());
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->isClickedMark());
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));

    button->setFocus(Qt::TabFocusReason);
    other->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));

    button->setCaption(QStringLiteral("Otro"));
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));

    // BackColor changes while disabled keep the disabled look up.
    button->setBackColor(0x00FF00);
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));

    button->setButtonEnabled(true);
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, ApparenceSetsTheShapeOnlyForZeroAndOne) {
    button->setApparence(1);
    EXPECT_FALSE(button->squareStyle());
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
    button->setApparence(2);
    EXPECT_EQ(button->apparence(), 2);
    EXPECT_FALSE(button->squareStyle());
    button->setApparence(0);
    EXPECT_TRUE(button->squareStyle());
    button->setApparence(-7);
    EXPECT_TRUE(button->squareStyle());
    EXPECT_EQ(button->apparence(), -7);
}

TEST_F(XpButtonTest, SettersRedrawAndReportTheirProperty) {
    QSignalSpy changes(button, &XpButton::propertyChanged);
    button->setCaption(QStringLiteral("Abrir"));
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
    button->setForeColor(0x0000FF);
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
    button->setBackColor(0x80FF80);
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
    button->setButtonFont(ButtonFont{QStringLiteral("Arial"), 10, true, true, true});
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
    button->setApparence(1);
    button->setButtonEnabled(false);

    QStringList names;
    for (const auto& args : changes)
        names << args.at(0).toString();
    EXPECT_EQ(names, (QStringList{"Caption", "ForeColor", "BackColor", "Font", "Apparence", "Enabled"}));
}

TEST_F(XpButtonTest, ResizingRedrawsTheRestingLook) {
    moveOver();
    ASSERT_TRUE(shows(*button, ButtonLook::Hover));
    button->resize(90, 30);
    EXPECT_EQ(button->surface().size(), QSize(90, 30));
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

TEST_F(XpButtonTest, SystemColoursAreReadWhenDrawing) {
    SystemColours system = SystemColours::classic();
    system.buttonFace = rgbColour(10, 20, 30);
    system.buttonShadow = rgbColour(90, 80, 70);
    ScopedSystemColours scoped(system);
    button->setButtonEnabled(false);
    EXPECT_EQ(fromQRgb(shown(*button).pixel(5, 5)), rgbColour(10, 20, 30));
    EXPECT_TRUE(shows(*button, ButtonLook::Disabled));
}

// Stored properties.

QStringList namesOf(const PropertyBag& bag) {
    QStringList names;
    for (const auto& [name, value] : bag.entries())
        names << name;
    return names;
}

TEST_F(XpButtonTest, WritingLeavesDefaultsOutButAlwaysStoresBackColor) {
    PropertyBag bag;
    button->writeProperties(bag);
    EXPECT_EQ(namesOf(bag), QStringList{QStringLiteral("backcolor")});
    EXPECT_EQ(bag.readProperty(QStringLiteral("BackColor")).toLongLong(), 0xFFFFFF);
}

TEST_F(XpButtonTest, WritingFollowsTheStoredOrder) {
    button->setCaption(QStringLiteral("Buscar"));
    button->setButtonEnabled(false);
    button->setForeColor(0x123456);
    button->setApparence(1);
    button->setButtonFont(ButtonFont{QStringLiteral("Tahoma"), 9.75, true, true, true});
    PropertyBag bag;
    button->writeProperties(bag);
    EXPECT_EQ(namesOf(bag),
              (QStringList{"caption", "enabled", "backcolor", "forecolor", "fontname", "fontsize", "fontbold",
                           "fontitalic", "fontunderline", "apparence"}));
}

TEST_F(XpButtonTest, StoredPropertiesRoundTrip) {
    button->setCaption(QStringLiteral("Año & día"));
    button->setButtonEnabled(false);
    button->setBackColor(0x80C0FF);
    button->setForeColor(0x00FF00);
    button->setApparence(2);
    button->setButtonFont(ButtonFont{QStringLiteral("Tahoma"), 9.75, true, false, true});
    PropertyBag bag;
    button->writeProperties(bag);

    XpButton restored;
    restored.setObjectName(QStringLiteral("XP_button1"));
    restored.readProperties(bag);
    EXPECT_EQ(restored.caption(), button->caption());
    EXPECT_EQ(restored.buttonEnabled(), false);
    EXPECT_EQ(restored.backColor(), 0x80C0FFu);
    EXPECT_EQ(restored.foreColor(), 0x00FF00u);
    EXPECT_EQ(restored.apparence(), 2);
    EXPECT_TRUE(restored.squareStyle()); // 2 leaves the shape as created
    EXPECT_EQ(restored.buttonFont(), button->buttonFont());

    PropertyBag again;
    restored.writeProperties(again);
    EXPECT_EQ(again.entries(), bag.entries());
}

TEST_F(XpButtonTest, MissingStoredValuesTakeTheirDefaults) {
    SystemColours system = SystemColours::classic();
    system.buttonHighlight = rgbColour(250, 240, 230);
    ScopedSystemColours scoped(system);

    XpButton restored;
    restored.setObjectName(QStringLiteral("XP_button7"));
    restored.setCaption(QStringLiteral("antes"));
    restored.setForeColor(0x0000FF);
    restored.setApparence(1);
    restored.setButtonFont(ButtonFont{QStringLiteral("Tahoma"), 12, true, true, true});
    restored.readProperties(PropertyBag{});
    EXPECT_EQ(restored.caption(), QStringLiteral("XP_button7"));
    EXPECT_TRUE(restored.buttonEnabled());
    EXPECT_EQ(restored.backColor(), rgbColour(250, 240, 230));
    EXPECT_EQ(restored.foreColor(), 0u);
    EXPECT_EQ(restored.apparence(), 0);
    EXPECT_TRUE(restored.squareStyle());
    EXPECT_EQ(restored.buttonFont(), ButtonFont{});
}

TEST_F(XpButtonTest, TheProjectDialogsStoredButton) {
    PropertyBag stored;
    stored.setProperty(QStringLiteral("_extentx"), 661);
    stored.setProperty(QStringLiteral("_extenty"), 450);
    stored.setProperty(QStringLiteral("caption"), QStringLiteral("..."));
    stored.setProperty(QStringLiteral("backcolor"), 0xFFFFFF);
    stored.setProperty(QStringLiteral("fontname"), QStringLiteral("MS Sans Serif"));
    stored.setProperty(QStringLiteral("fontsize"), 8.25);

    QSignalSpy changes(button, &XpButton::propertyChanged);
    button->readProperties(stored);
    EXPECT_EQ(button->caption(), QStringLiteral("..."));
    EXPECT_EQ(button->backColor(), 0xFFFFFFu);
    EXPECT_EQ(button->buttonFont().name, QStringLiteral("MS Sans Serif"));
    EXPECT_DOUBLE_EQ(button->buttonFont().size, 8.25);
    EXPECT_TRUE(button->buttonEnabled());
    // Read in order through the setters; the font's values go onto the font.
    QStringList names;
    for (const auto& args : changes)
        names << args.at(0).toString();
    EXPECT_EQ(names, (QStringList{"Caption", "Enabled", "BackColor", "ForeColor", "Apparence"}));

    button->resize(25, 17);
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));

    PropertyBag written;
    button->writeProperties(written);
    EXPECT_EQ(namesOf(written), (QStringList{"caption", "backcolor", "fontname", "fontsize"}));
    EXPECT_EQ(written.readProperty(QStringLiteral("fontsize")).toDouble(), 8.25);
}

TEST_F(XpButtonTest, StoredFontSizesAreReadAsNumbers) {
    PropertyBag stored;
    stored.setProperty(QStringLiteral("fontsize"), QStringLiteral("8"));
    button->readProperties(stored);
    EXPECT_DOUBLE_EQ(button->buttonFont().size, 8.0);
    PropertyBag written;
    button->writeProperties(written);
    EXPECT_FALSE(written.contains(QStringLiteral("fontsize")));

    stored.setProperty(QStringLiteral("fontsize"), QStringLiteral("grande"));
    button->readProperties(stored);
    EXPECT_DOUBLE_EQ(button->buttonFont().size, 8.0);
    stored.setProperty(QStringLiteral("fontsize"), QStringLiteral("nan"));
    button->readProperties(stored);
    EXPECT_DOUBLE_EQ(button->buttonFont().size, 8.0);
    EXPECT_TRUE(shows(*button, ButtonLook::Normal));
}

} // namespace
} // namespace tradumar

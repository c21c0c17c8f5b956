#include "controls/xp_button.h"

#include "controls/property_bag.h"
#include "controls/system_colours.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "button_looks.h"
#include "support/window_harness.h"

namespace tradumar::testsupport {
namespace {

// What the button shows, against the stored look of its sample face (row 0).
bool shows(XpButton& button, ButtonLook look) {
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32) == storedLook(0, look);
}

class XpButtonTest : public ::testing::Test {
protected:
    void SetUp() override { place(); }

    // A window holding a new button "XP_button1" at 60 x 25, a field and a widget that may cover the button.
    void place() {
        host = std::make_unique<QWidget>();
        host->setGeometry(50, 50, 300, 120);
        button = new XpButton(host.get());
        button->setObjectName(QStringLiteral("XP_button1"));
        button->initProperties();
        button->setGeometry(20, 20, 60, 25);
        other = new QLineEdit(host.get());
        other->setGeometry(120, 20, 80, 25);
        cover = new QWidget(host.get());
        cover->setGeometry(50, 20, 30, 25); // over the button's right half
        cover->hide();
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
        QTest::mouseMove(host.get(), QPoint(250, 100));
    }
    // The pointer left: the leave check notices at its next tick.
    void waitForLeave() {
        if (auto* timer = child<QTimer>(*button, "Timer1"); timer->isActive())
            fire(timer);
        EXPECT_FALSE(button->isHoverTracking());
    }

    using Act = std::function<void()>;
    const QPoint at{10, 10};
    const Act pressLeft = [this] { QTest::mousePress(button, Qt::LeftButton, {}, at); };
    const Act releaseLeft = [this] { QTest::mouseRelease(button, Qt::LeftButton, {}, at); };
    const Act pressRight = [this] { QTest::mousePress(button, Qt::RightButton, {}, at); };
    const Act releaseRight = [this] { QTest::mouseRelease(button, Qt::RightButton, {}, at); };
    const Act releaseOutside = [this] { QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(70, 10)); };
    const Act moveOver = [this] { QTest::mouseMove(button, at + QPoint(moves++ % 2, 0)); };
    const Act moveHeld = [this] { QTest::mouseMove(button, QPoint(12, 12)); };
    const Act moveAway = [this] { QTest::mouseMove(host.get(), QPoint(250, 100)), waitForLeave(); };
    const Act moveOntoCover = [this] { cover->show(), QTest::mouseMove(cover, at), waitForLeave(); };
    const Act keys = [this] {
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(button, key);
    };
    const Act focusByTab = [this] { button->setFocus(Qt::TabFocusReason); };
    const Act focusOther = [this] { other->setFocus(Qt::TabFocusReason); };
    const Act disable = [this] { button->setButtonEnabled(false); };
    const Act enable = [this] { button->setButtonEnabled(true); };
    const Act setCaptionAgain = [this] { button->setCaption(button->caption()); };
    const Act setBackColorWhite = [this] { button->setBackColor(0xFFFFFF); };
    // A chooser opened by the click takes the focus for a while, then gives it back.
    const Act otherWindowActive = [this] {
        elsewhere.setGeometry(400, 300, 100, 50);
        elsewhere.show();
        elsewhere.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    };
    const Act backToWindow = [this] {
        host->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(host.get()));
    };

    std::unique_ptr<QWidget> host;
    XpButton* button = nullptr;
    QLineEdit* other = nullptr;
    QWidget* cover = nullptr;
    QWidget elsewhere;
    int moves = 0;
};

TEST_F(XpButtonTest, ShowsTheLookItsStateCallsFor) {
    using L = ButtonLook;
    struct Script {
        const char* what;
        std::vector<std::pair<Act, ButtonLook>> steps; // each act, and the look it leaves
        int clicks;
    };
    const Script scripts[] = {
        {"left click", {{pressLeft, L::Pressed}, {releaseLeft, L::Normal}}, 1},
        {"right click", {{pressRight, L::Pressed}, {releaseRight, L::Normal}}, 0},
        {"released outside", {{pressLeft, L::Pressed}, {releaseOutside, L::Normal}}, 0},
        {"moves with a button held", {{pressLeft, L::Pressed}, {moveHeld, L::Pressed}}, 0},
        {"hover and leave", {{moveOver, L::Hover}, {moveOver, L::Hover}, {moveAway, L::Normal}}, 0},
        {"a widget over the button", {{moveOver, L::Hover}, {moveOntoCover, L::Normal}}, 0},
        {"focus without a click", {{moveOver, L::Hover}, {focusByTab, L::Hover}, {moveAway, L::Normal}}, 0},
        {"the keyboard does not click", {{focusByTab, L::Normal}, {keys, L::Normal}}, 0},
        {"clicked, left, focus away and back",
         {{moveOver, L::Hover},
          {pressLeft, L::Pressed},
          {releaseLeft, L::Normal},
          {moveOver, L::Hover},
          {moveAway, L::ClickedAway},
          {otherWindowActive, L::ClickedAway},
          {backToWindow, L::Focused},
          {focusOther, L::Normal},
          {focusByTab, L::Normal}},
         1},
        {"disabled",
         {{disable, L::Disabled},
          {moveOver, L::Disabled},
          {pressLeft, L::Disabled},
          {releaseLeft, L::Disabled},
          {focusByTab, L::Disabled},
          {focusOther, L::Disabled},
          {setCaptionAgain, L::Disabled},
          {setBackColorWhite, L::Disabled},
          {enable, L::Normal}},
         0},
    };
    for (const auto& script : scripts) {
        SCOPED_TRACE(script.what);
        place();
        QSignalSpy clicks(button, &XpButton::click);
        for (std::size_t i = 0; i < script.steps.size(); ++i) {
            script.steps[i].first();
            EXPECT_TRUE(shows(*button, script.steps[i].second)) << "after step " << i + 1;
        }
        EXPECT_EQ(clicks.count(), script.clicks);
        QTest::mouseRelease(button, Qt::LeftButton); // no button left held for the next script
    }
}

TEST_F(XpButtonTest, SettersRedrawWithTheNewValues) {
    button->setCaption(QStringLiteral("Ab"));
    button->setApparence(1);
    button->resize(40, 20);
    EXPECT_TRUE(button->surface() == storedLook(2, ButtonLook::Normal)); // resizing redraws too
    button->setApparence(2); // kept, but leaves the shape as it was
    EXPECT_EQ(button->apparence(), 2);
    EXPECT_FALSE(button->squareStyle());
    button->setApparence(0);
    button->setBackColor(0xFFFFFE);
    button->setForeColor(0xFF0000);
    button->setCaption(QStringLiteral("&Ab&&c"));
    button->setButtonFont({QStringLiteral("MS Sans Serif"), 8.25, true});
    button->resize(50, 24);
    EXPECT_TRUE(button->surface() == storedLook(3, ButtonLook::Normal));

    // The system colours are asked for at each drawing.
    ScopedSystemColours odd(lookSamples()[6].system);
    button->setCaption(QStringLiteral("Sí"));
    button->setButtonFont({});
    button->setForeColor(0);
    button->setBackColor(0x80C0FF);
    button->resize(40, 22);
    EXPECT_TRUE(button->surface() == storedLook(6, ButtonLook::Normal));
    button->setButtonEnabled(false);
    EXPECT_TRUE(button->surface() == storedLook(6, ButtonLook::Disabled));
}

QString entries(const PropertyBag& bag) {
    QStringList out;
    for (const auto& [name, value] : bag.entries())
        out << name + QLatin1Char('=') + value.toString();
    return out.join(QLatin1Char(','));
}

// Stored values read into the button and written back: names match without
// regard to case, values equal to their default are left out (BackColor is
// always written), a font size that is no positive number takes the default.
TEST_F(XpButtonTest, StoredValuesComeBackAsTheyWereLeavingDefaultsOut) {
    const QString all =
        "caption=Año & día,enabled=false,backcolor=16777215,forecolor=1193046,fontname=Tahoma,"
        "fontsize=9.75,fontbold=true,fontitalic=true,fontunderline=true,apparence=2";
    const std::pair<std::vector<std::pair<const char*, QVariant>>, QString> cases[] = {
        {{}, "backcolor=16777215"},
        {{{"Caption", "Año & día"},
          {"Enabled", false},
          {"BackColor", 0xFFFFFF},
          {"ForeColor", 0x123456},
          {"FontName", "Tahoma"},
          {"FontSize", 9.75},
          {"FontBold", true},
          {"FontItalic", true},
          {"FontUnderline", true},
          {"Apparence", 2}},
         all},
        {{{"_ExtentX", 661}, {"CAPTION", "..."}, {"FontSize", 8.25}, {"enabled", true}},
         "caption=...,backcolor=16777215,fontsize=8.25"},
        {{{"FontSize", "8"}}, "backcolor=16777215"},
        {{{"FontName", "MS Sans Serif"}}, "backcolor=16777215,fontname=MS Sans Serif"}, // compared exactly
        {{{"FontSize", "grande"}}, "backcolor=16777215"},
        {{{"FontSize", "nan"}}, "backcolor=16777215"},
        {{{"FontSize", -3}}, "backcolor=16777215"},
    };
    for (const auto& [stored, written] : cases) {
        PropertyBag in, out;
        for (const auto& [name, value] : stored)
            in.setProperty(QLatin1String(name), value);
        button->readProperties(in);
        button->writeProperties(out);
        EXPECT_EQ(entries(out), written);
    }
    EXPECT_TRUE(button->squareStyle()); // apparence 2 left the shape as created

    // What the stored values lack takes its default, the highlight as the system gives it now.
    SystemColours system = SystemColours::classic();
    system.buttonHighlight = rgbColour(250, 240, 230);
    ScopedSystemColours scoped(system);
    XpButton restored;
    restored.setObjectName(QStringLiteral("XP_button7"));
    restored.readProperties(PropertyBag{});
    EXPECT_EQ(restored.caption(), "XP_button7");
    EXPECT_TRUE(restored.buttonEnabled() && restored.squareStyle());
    EXPECT_EQ(restored.backColor(), rgbColour(250, 240, 230));
    EXPECT_EQ(restored.foreColor(), 0u);
    EXPECT_EQ(restored.apparence(), 0);
    EXPECT_EQ(restored.buttonFont(), ButtonFont{});
}

} // namespace
} // namespace tradumar::testsupport

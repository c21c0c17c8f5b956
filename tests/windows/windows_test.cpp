#include "support/shown_text.h"
#include "support/window_harness.h"
#include "windows/about_window.h"
#include "windows/splash_window.h"

namespace tradumar::testsupport {
namespace {

TEST(SplashWindow, ShowsTheNameAndClosesOnAClickOrAfterItsTime) {
    enum class Close { ClickPicture, ClickName, Timer };
    for (const Close how : {Close::ClickPicture, Close::ClickName, Close::Timer}) {
        SplashWindow splash;
        splash.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
        expectTexts(splash,
                    {{"lblNombre", "Tradumar"}, {"lblVersion", "1.0"}, {"lblCredito", "Equipo Tradumar"}});
        if (how == Close::Timer)
            fire(child<QTimer>(splash, "Timer1"));
        else // through the window, as the desktop delivers a click
            QTest::mouseClick(splash.windowHandle(), Qt::LeftButton, {},
                              how == Close::ClickName ? QPoint(240, 50) : QPoint(20, 20));
        EXPECT_FALSE(splash.isVisible());
        EXPECT_EQ(splash.result(), QDialog::Accepted);
    }
}

TEST(SplashWindow, IsLeftOutOnRequest) {
    qunsetenv("TRADUMAR_NO_SPLASH");
    EXPECT_TRUE(SplashWindow::wanted({"tradumar"}));
    EXPECT_FALSE(SplashWindow::wanted({"tradumar", "--no-splash"}));
    qputenv("TRADUMAR_NO_SPLASH", "1");
    EXPECT_FALSE(SplashWindow::wanted({"tradumar"}));
    qunsetenv("TRADUMAR_NO_SPLASH");
}

TEST(AboutWindow, TheCreditsRiseToMinusTheirHeightExactlyAndEnterAgainFromBelow) {
    AboutWindow about;
    about.show();
    auto* panel = child<QWidget>(about, "Picture2");
    auto* timer = child<QTimer>(about, "Timer1");
    // Panel top in twips after so many timeouts of Timer1 (three steps each).
    const std::map<int, int> expected = {{0, 2640},    {1, 2625},   {353, -2655}, {354, 2645},
                                         {707, -2650}, {708, 2650}, {1062, 2655}, {1416, -2655}};
    int lowest = 0;
    for (int tick = 0; tick <= 1416; ++tick) {
        if (tick > 0)
            fire(timer);
        lowest = std::min(lowest, about.panelTop());
        EXPECT_LE(std::abs(panel->y() * 15 - about.panelTop()), 7) << tick; // to the nearest pixel
        if (const auto it = expected.find(tick); it != expected.end()) {
            EXPECT_EQ(about.panelTop(), it->second) << tick;
        }
    }
    EXPECT_EQ(lowest, -2655);
}

} // namespace
} // namespace tradumar::testsupport

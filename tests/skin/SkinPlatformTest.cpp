#include "skin/SkinPlatform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using namespace pixolo;

TEST(SkinPlatform, WorkAreaLiesWithinTheScreen)
{
    const TRect screen = GetScreenWorkArea(false);
    const TRect work = GetScreenWorkArea(true);
    ASSERT_FALSE(IsNullRect(screen));
    EXPECT_EQ(screen, toTRect(QGuiApplication::primaryScreen()->geometry()));
    EXPECT_TRUE(PointWithinRect(screen, { work.Left, work.Top }));
    EXPECT_TRUE(PointWithinRect(screen, { work.Right, work.Bottom }));
}

TEST(SkinPlatform, MonitorOfAWindowOrThePrimaryScreen)
{
    QWidget window;
    window.setGeometry(10, 10, 100, 80);
    EXPECT_EQ(GetMonitorWorkArea(&window, false), GetScreenWorkArea(false));
    EXPECT_EQ(GetMonitorWorkArea(nullptr, true), GetScreenWorkArea(true));
}

TEST(SkinPlatform, WindowAlphaBecomesOpacity)
{
    QWidget window;
    SetWindowAlpha(&window, 200);
    EXPECT_NEAR(window.windowOpacity(), 200 / 255.0, 0.01);
    SetWindowAlpha(&window, 400);
    EXPECT_NEAR(window.windowOpacity(), 1.0, 0.01);
    SetWindowAlpha(nullptr, 10); // no window, nothing to do
    EXPECT_TRUE(IsWindows5x());
    EXPECT_FALSE(IsWindowsXP());
}

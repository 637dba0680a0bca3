// Where the main window goes on screens of every size, and how a second start reaches the running copy.
#include "app/WindowPlacement.h"
#include "app/InstanceActivation.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace pixolo;
using WindowPlacement::Screen;

namespace
{

// The main window as the skin frames it: 729 × 467 of client and the frame around it.
const QSize kWindow(759, 515);
const QPoint kWanted(226, 139);

Screen screenOf(QRect geometry, int panelHeight = 0)
{
    return { geometry, geometry.adjusted(0, 0, 0, -panelHeight) };
}

TEST(WindowPlacementTest, ItsOwnPlaceWhereTheWindowFits)
{
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, { screenOf(QRect(0, 0, 1280, 1024), 40) }, 0), kWanted);
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, { screenOf(QRect(0, 0, 1920, 1080)) }, 0), kWanted);
    // 1024 × 768 with a 48-pixel panel at the bottom: 139 + 515 = 654 still fits above 720.
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, { screenOf(QRect(0, 0, 1024, 768), 48) }, 0), kWanted);
}

TEST(WindowPlacementTest, MovedNotResizedOntoASmallScreen)
{
    // 800 × 600 with a panel: as far right and down as it must, no further.
    const QPoint small = WindowPlacement::fit(kWanted, kWindow, { screenOf(QRect(0, 0, 800, 600), 30) }, 0);
    EXPECT_EQ(small, QPoint(800 - 759, 570 - 515));
    // A panel on the left or at the top: the available area, not the screen, is what counts.
    const Screen leftPanel { QRect(0, 0, 800, 600), QRect(64, 24, 736, 576) };
    const Screen leftPanelWide { QRect(0, 0, 1024, 600), QRect(64, 24, 960, 576) };
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, { leftPanelWide }, 0), QPoint(kWanted.x(), 600 - 515));
    EXPECT_EQ(WindowPlacement::fit(QPoint(10, 5), kWindow, { leftPanelWide }, 0), QPoint(64, 24));
    // Narrower than the window: its left edge at the area's.
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, { leftPanel }, 0), QPoint(64, 600 - 515));
    // Larger than the area (2× scaling on 1280 × 1024 leaves 640 × 512): the top left, where the caption is,
    // stays inside.
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, { screenOf(QRect(0, 0, 640, 512), 20) }, 0), QPoint(0, 0));
}

TEST(WindowPlacementTest, TheScreenHoldingThePlaceElseThePrimaryOne)
{
    // Two screens side by side, the point on the left one: placed there as it fits.
    const std::vector<Screen> sideBySide { screenOf(QRect(0, 0, 1280, 1024)), screenOf(QRect(1280, 0, 800, 600)) };
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, sideBySide, 1), kWanted);
    // The small screen on the left holds the point: moved inside it, not onto the large one beside it.
    const std::vector<Screen> smallFirst { screenOf(QRect(0, 0, 800, 600)), screenOf(QRect(800, 0, 1920, 1080)) };
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, smallFirst, 1), QPoint(800 - 759, 600 - 515));
    // No screen holds the point (the left screen is away): onto the primary screen.
    const std::vector<Screen> rightOnly { screenOf(QRect(1280, 0, 1024, 768)), screenOf(QRect(2304, 0, 800, 600)) };
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, rightOnly, 0), QPoint(1280, 139));
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, rightOnly, 1), QPoint(2304, 600 - 515));
    EXPECT_EQ(WindowPlacement::fit(kWanted, kWindow, {}, 0), kWanted);
}

TEST(InstanceActivationTest, ASecondStartReachesTheRunningCopyWhichComesForward)
{
    QTemporaryDir runtime;
    const QString channel = InstanceActivation::channelFor(runtime.filePath(QStringLiteral("Pixolo.lock")));
    EXPECT_EQ(channel, runtime.filePath(QStringLiteral("Pixolo.activate")));
    // Nobody listens: the second copy hears nothing and goes on with its message.
    EXPECT_FALSE(InstanceActivation::request(channel, 200));

    int activations = 0;
    QObject owner;
    ASSERT_TRUE(InstanceActivation::listen(channel, &owner, [&] { ++activations; }));
    // The second copy is another process; here another thread asks while this one serves.
    std::atomic<bool> done = false;
    bool answered = false;
    std::thread second([&] {
        answered = InstanceActivation::request(channel, 2000);
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 3000));
    second.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(activations, 1);

    // A socket left by a killed copy does not keep the next one from listening.
    QObject next;
    EXPECT_TRUE(InstanceActivation::listen(channel, &next, [] {}));
}

} // namespace

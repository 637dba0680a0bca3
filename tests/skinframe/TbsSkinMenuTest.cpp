// The skinned menu engine on offscreen windows: size and place of the popups, the keyboard, the mouse, submenus,
// and the order in which a chosen item's command runs.
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include "MenuTesting.h"
#include "skin/ControlMenu.h"
#include "skin/SkinPaint.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

// The system menu of a main window in its normal state.
struct SystemMenu {
    SystemMenu()
    {
        minimize = addItem(menu, QStringLiteral("Mi&nimize"));
        minimize->setObjectName(QStringLiteral("SKF_MINITEM"));
        rollUp = addItem(menu, QStringLiteral("Ro&llUp"));
        rollUp->setObjectName(QStringLiteral("SKF_ROLLUP"));
        menu.addSeparator();
        close = addItem(menu, QStringLiteral("&Close"));
        close->setObjectName(QStringLiteral("SKF_CLOSE"));
        close->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
        close->setShortcutContext(Qt::WidgetShortcut);
    }
    QMenu menu;
    QAction *minimize = nullptr;
    QAction *rollUp = nullptr;
    QAction *close = nullptr;
};

class SkinMenuTest : public testing::Test
{
protected:
    void TearDown() override
    {
        m_window.menu->CloseAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TbsSkinPopupWindow *open(QMenu &items, TRect anchor = { 100, 50, 116, 66 }, QObject *control = nullptr)
    {
        m_window.menu->OpenMenu(control, m_window.store, 0, anchor, &items, false);
        return m_window.menu->TopPopup();
    }

    int levels() const { return int(m_window.menu->Popups().size()); }

    MenuWindow m_window;
};

TEST_F(SkinMenuTest, APopupOpensBelowItsAnchorWithTheFirstEnabledItemHighlighted)
{
    SystemMenu system;
    system.minimize->setEnabled(false);
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(m_window.menu->Visible());
    EXPECT_TRUE(popup->HasPopupData());
    EXPECT_TRUE(popup->HasItemEntry());
    EXPECT_EQ(popup->pos(), QPoint(100, 66));
    // Items 22 pixels high, the separator 8, and 6 pixels of the popup picture around them.
    EXPECT_EQ(popup->height(), 3 * 22 + 8 + 6);
    EXPECT_EQ(popup->ItemsRect(), (TRect { 3, 3, popup->width() - 3, 77 }));
    EXPECT_EQ(popup->Items()[2]->ItemRect, (TRect { 3, 47, popup->width() - 3, 55 }));
    EXPECT_EQ(popup->ActiveIndex(), 1);
    EXPECT_TRUE(popup->Items()[1]->Active);
    EXPECT_FALSE(popup->Items()[0]->Active);
}

TEST_F(SkinMenuTest, TheWidthHoldsTheWidestCaptionWithItsShortCutAndTheSkinsMargins)
{
    SystemMenu system;
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    const QFontMetrics metrics(popup->ItemFont());
    int widest = 0;
    for (const QString &text :
        { QStringLiteral("Mi&nimize"), QStringLiteral("Ro&llUp"), QStringLiteral("&Close  Alt+F4") }) {
        widest = std::max(widest, metrics.boundingRect(QRect(), Qt::TextShowMnemonic, text).width() + 2);
    }
    // Popup picture 40 wide around items 34 wide; the item's text starts 12 in and ends 4 short of its 60 pixels.
    EXPECT_EQ(popup->width(), 6 + widest + 19 + 19 + 12 + 4);
}

TEST_F(SkinMenuTest, NearTheBottomRightCornerThePopupOpensAboveInsideTheWorkArea)
{
    SystemMenu system;
    TbsSkinPopupWindow *popup = open(system.menu, { 780, 570, 796, 586 });
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->geometry().right(), 799);
    EXPECT_EQ(popup->geometry().bottom(), 569) << "its bottom edge meets the anchor's top";
}

TEST_F(SkinMenuTest, NearTheTopLeftCornerThePopupStaysInsideTheWorkArea)
{
    SystemMenu system;
    m_window.menu->SetWorkAreaOverride({ 50, 20, 800, 600 });
    TbsSkinPopupWindow *popup = open(system.menu, { 10, 0, 10, 0 });
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->pos(), QPoint(50, 0));
}

TEST_F(SkinMenuTest, WithThreeItemsAtMostFiveItemsScrollBehindMarkers)
{
    QMenu items;
    for (int i = 1; i <= 5; ++i) {
        addItem(items, QStringLiteral("Item %1").arg(i));
    }
    m_window.menu->SetMaxMenuItemsInWindow(3);
    TbsSkinPopupWindow *popup = open(items);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->Scrolling());
    EXPECT_TRUE(popup->Limited());
    EXPECT_EQ(popup->height(), 3 * 22 + 20 + 6);
    EXPECT_EQ(popup->VisibleCount(), 3);
    EXPECT_EQ(popup->pos(), QPoint(100, 66)) << "a popup limited by the item count keeps its normal place";
    EXPECT_EQ(popup->Items()[0]->ItemRect.Top, 13) << "below the upper marker's band";
    EXPECT_FALSE(popup->Items()[3]->Visible);

    // The keyboard takes the view along, and wraps to the last page.
    for (int i = 0; i < 3; ++i) {
        key(popup, Qt::Key_Down);
    }
    EXPECT_EQ(popup->ActiveIndex(), 3);
    EXPECT_EQ(popup->FirstVisibleIndex(), 1);
    EXPECT_TRUE(popup->Items()[3]->Visible);
    key(popup, Qt::Key_Down);
    key(popup, Qt::Key_Down);
    EXPECT_EQ(popup->ActiveIndex(), 0);
    EXPECT_EQ(popup->FirstVisibleIndex(), 0);
    key(popup, Qt::Key_Up);
    EXPECT_EQ(popup->ActiveIndex(), 4);
    EXPECT_EQ(popup->FirstVisibleIndex(), 2);
}

TEST_F(SkinMenuTest, HoveringTheLowerMarkerScrollsOneItemAtATime)
{
    QMenu items;
    for (int i = 1; i <= 5; ++i) {
        addItem(items, QStringLiteral("Item %1").arg(i));
    }
    m_window.menu->SetMaxMenuItemsInWindow(3);
    TbsSkinPopupWindow *popup = open(items);
    ASSERT_NE(popup, nullptr);
    const TRect r = popup->ItemsRect();
    sendMouse(popup, QEvent::MouseMove, QPoint(r.Left + 10, r.Bottom - 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(popup->ScrollDirection(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup->FirstVisibleIndex() == 2; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup->ScrollDirection() == 0; }, 2000)) << "it stops at the end";
}

TEST_F(SkinMenuTest, DownAndUpWrapAndSkipSeparatorsAndDisabledItems)
{
    QMenu items;
    addItem(items, QStringLiteral("First"));
    items.addSeparator();
    addItem(items, QStringLiteral("Off"), false);
    addItem(items, QStringLiteral("Last"));
    TbsSkinPopupWindow *popup = open(items);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->ActiveIndex(), 0);
    key(popup, Qt::Key_Down);
    EXPECT_EQ(popup->ActiveIndex(), 3);
    EXPECT_FALSE(popup->Items()[0]->Active);
    key(popup, Qt::Key_Down);
    EXPECT_EQ(popup->ActiveIndex(), 0) << "down on the last enabled item wraps to the first";
    key(popup, Qt::Key_Up);
    EXPECT_EQ(popup->ActiveIndex(), 3);
}

TEST_F(SkinMenuTest, ArrowsReturnWhenNoItemCanBeHighlighted)
{
    QMenu items;
    addItem(items, QStringLiteral("Off"), false);
    items.addSeparator();
    addItem(items, QStringLiteral("Off too"), false);
    TbsSkinPopupWindow *popup = open(items);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->ActiveIndex(), -1);
    key(popup, Qt::Key_Down);
    key(popup, Qt::Key_Up);
    EXPECT_EQ(popup->ActiveIndex(), -1);
    key(popup, Qt::Key_Return);
    EXPECT_TRUE(m_window.menu->Visible());
}

// A menu with a submenu: Open, More ▸ (Deep, Deeper).
struct NestedMenu {
    NestedMenu()
    {
        open = addItem(root, QStringLiteral("&Open"));
        more.setTitle(QStringLiteral("&More"));
        deep = addItem(more, QStringLiteral("&Deep"));
        addItem(more, QStringLiteral("D&eeper"));
        root.addMenu(&more);
    }
    QMenu root;
    QMenu more;
    QAction *open = nullptr;
    QAction *deep = nullptr;
};

TEST_F(SkinMenuTest, ChoosingAnItemClosesEveryLevelBeforeItsCommandRuns)
{
    NestedMenu nested;
    NoticeCounter control;
    TbsSkinPopupWindow *popup = open(nested.root, { 100, 50, 116, 66 }, &control);
    ASSERT_NE(popup, nullptr);
    key(popup, Qt::Key_Down);
    key(popup, Qt::Key_Right);
    ASSERT_EQ(levels(), 2);
    EXPECT_TRUE(popup->Items()[1]->Down);
    EXPECT_EQ(m_window.menu->TopPopup()->x(), popup->x() + popup->Items()[1]->ItemRect.Right + 1)
        << "the submenu opens right of its item";

    int levelsWhenRun = -1;
    bool visibleWhenRun = true;
    int closedWhenRun = -1;
    int commandsWhenRun = -1;
    QObject::connect(nested.deep, &QAction::triggered, [&] {
        levelsWhenRun = levels();
        visibleWhenRun = m_window.menu->Visible();
        closedWhenRun = control.closed;
        commandsWhenRun = control.commands;
    });
    key(m_window.menu->TopPopup(), Qt::Key_Return);
    EXPECT_EQ(levelsWhenRun, 0);
    EXPECT_FALSE(visibleWhenRun);
    EXPECT_EQ(closedWhenRun, 1) << "the control hears of the closed menu first";
    EXPECT_EQ(commandsWhenRun, 0);
    EXPECT_EQ(control.commands, 1) << "and of the command after it ran";
}

TEST_F(SkinMenuTest, EscClosesOneLevelAtATime)
{
    NestedMenu nested;
    int closes = 0;
    TbsSkinPopupWindow *popup = open(nested.root);
    ASSERT_NE(popup, nullptr);
    m_window.menu->SetMenuCloseHandler([&] { ++closes; });
    key(popup, Qt::Key_Down);
    key(popup, Qt::Key_Right);
    ASSERT_EQ(levels(), 2);
    key(m_window.menu->TopPopup(), Qt::Key_Escape);
    EXPECT_EQ(levels(), 1);
    EXPECT_FALSE(popup->Items()[1]->Down) << "the item whose submenu closed is drawn up again";
    EXPECT_EQ(closes, 0);
    key(popup, Qt::Key_Escape);
    EXPECT_EQ(levels(), 0);
    EXPECT_FALSE(m_window.menu->Visible());
    EXPECT_EQ(closes, 1);
}

TEST_F(SkinMenuTest, LeftClosesASubmenuButNotTheLastLevel)
{
    NestedMenu nested;
    TbsSkinPopupWindow *popup = open(nested.root);
    ASSERT_NE(popup, nullptr);
    key(popup, Qt::Key_Down);
    key(popup, Qt::Key_Right);
    key(m_window.menu->TopPopup(), Qt::Key_Left);
    EXPECT_EQ(levels(), 1);
    key(popup, Qt::Key_Left);
    EXPECT_EQ(levels(), 1);
}

TEST_F(SkinMenuTest, AnItemWithChildrenOpensAfterTheDelayUnlessTheMouseMovesOn)
{
    NestedMenu nested;
    TbsSkinPopupWindow *popup = open(nested.root);
    ASSERT_NE(popup, nullptr);
    hoverItem(popup, *popup->Items()[1]);
    EXPECT_TRUE(m_window.menu->WaitTimerActive());
    EXPECT_EQ(levels(), 1);
    hoverItem(popup, *popup->Items()[0]);
    EXPECT_FALSE(m_window.menu->WaitTimerActive()) << "moving to a sibling cancels the opening";
    EXPECT_EQ(levels(), 1);
    hoverItem(popup, *popup->Items()[1]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return levels() == 2; }, 2000));
    EXPECT_EQ(m_window.menu->TopPopup()->ParentItem(), &nested.more);
}

TEST_F(SkinMenuTest, ClickingAnItemRunsItButTheReleaseOfTheOpeningPressDoesNot)
{
    SystemMenu system;
    int minimized = 0;
    QObject::connect(system.minimize, &QAction::triggered, [&] { ++minimized; });
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    const QPoint first = itemCentre(*popup->Items()[0]);
    sendMouse(popup, QEvent::MouseButtonRelease, first, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(minimized, 0);
    EXPECT_TRUE(m_window.menu->Visible());
    clickItem(popup, *popup->Items()[0]);
    EXPECT_EQ(minimized, 1);
    EXPECT_FALSE(m_window.menu->Visible());
}

TEST_F(SkinMenuTest, APressOutsideEveryLevelEndsTheMenuAndTellsTheWindow)
{
    SystemMenu system;
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    int runs = 0;
    for (QAction *action : system.menu.actions()) {
        QObject::connect(action, &QAction::triggered, [&] { ++runs; });
    }
    sendMouse(popup, QEvent::MouseButtonPress, QPoint(-50, -30), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(m_window.menu->Visible());
    EXPECT_EQ(levels(), 0);
    EXPECT_EQ(runs, 0);
}

TEST_F(SkinMenuTest, AnAccessKeyRunsItsItem)
{
    SystemMenu system;
    int closes = 0;
    QObject::connect(system.close, &QAction::triggered, [&] { ++closes; });
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_C);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(m_window.menu->Visible());
}

TEST_F(SkinMenuTest, TheSkinnedLookComesFromThePopupAndItemPictures)
{
    SystemMenu system;
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    const QImage image = popup->PaintWindow();
    const QImage windowPicture
        = m_window.store->ActivePicture(m_window.store->PopupWindow.windowpictureindex)->toRgb32();
    const QImage itemPicture = m_window.store->ActivePicture(1)->toRgb32();
    // Corners of the popup picture stay as they are.
    EXPECT_EQ(image.pixel(1, 1), windowPicture.pixel(1, 1));
    EXPECT_EQ(image.pixel(popup->width() - 2, popup->height() - 2), windowPicture.pixel(38, 38));
    // The highlighted item (Minimize, the first) is drawn from the entry's active rectangle (0, 22, 60, 44), the others
    // from its normal one (0, 0, 60, 22); compared where the two looks differ, left of the text (which starts at 12).
    QPoint spot(-1, -1);
    for (int y = 0; y < 22 && spot.x() < 0; ++y) {
        for (int x = 0; x < 12 && spot.x() < 0; ++x) {
            if (itemPicture.pixel(x, y) != itemPicture.pixel(x, y + 22)) {
                spot = QPoint(x, y);
            }
        }
    }
    ASSERT_GE(spot.x(), 0) << "the two looks must differ left of the text";
    const TbsSkinMenuItem &active = *popup->Items()[0];
    const TbsSkinMenuItem &normal = *popup->Items()[1];
    EXPECT_EQ(image.pixel(normal.ItemRect.Left + spot.x(), normal.ItemRect.Top + spot.y()), itemPicture.pixel(spot));
    EXPECT_EQ(image.pixel(active.ItemRect.Left + spot.x(), active.ItemRect.Top + spot.y()),
        itemPicture.pixel(spot + QPoint(0, 22)));
    // The popup is shaped by its mask.
    ASSERT_TRUE(popup->Shape().has_value());
    EXPECT_TRUE(popup->Shape()->contains(QPoint(popup->width() / 2, popup->height() / 2)));
    EXPECT_NE(*popup->Shape(), QRegion(popup->rect()));
}

TEST_F(SkinMenuTest, TheTextColourFollowsTheItemsState)
{
    SystemMenu system;
    system.minimize->setEnabled(false);
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    const auto colours = [&](int index) {
        const QImage image = popup->ItemImage(*popup->Items()[size_t(index)]);
        QSet<QRgb> found;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                found.insert(image.pixel(x, y) & 0xFFFFFF);
            }
        }
        return found;
    };
    EXPECT_TRUE(colours(0).contains(0x808080)) << "disabled: grey 8421504";
    EXPECT_TRUE(colours(1).contains(0xFF8000)) << "highlighted: orange 33023";
    EXPECT_TRUE(colours(3).contains(0x000000)) << "normal: black";
    EXPECT_FALSE(colours(3).contains(0xFF8000));
}

TEST_F(SkinMenuTest, WithoutAStoreThePlainLookIsDrawn)
{
    SystemMenu system;
    m_window.menu->OpenMenu(nullptr, nullptr, 0, { 100, 50, 116, 66 }, &system.menu, false);
    TbsSkinPopupWindow *popup = m_window.menu->TopPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(popup->HasPopupData());
    EXPECT_EQ(popup->height(), 3 * 20 + 4 + 4);
    EXPECT_EQ(popup->ItemsRect(), (TRect { 2, 2, popup->width() - 2, popup->height() - 2 }));
    EXPECT_FALSE(popup->Shape().has_value());
    const QImage highlighted = popup->ItemImage(*popup->Items()[0]);
    EXPECT_EQ(highlighted.pixel(0, 0) & 0xFFFFFF, 0x000080u) << "navy frame";
    EXPECT_EQ(highlighted.pixel(2, 2) & 0xFFFFFF, 0xB6BDD2u) << "light blue fill";
}

TEST_F(SkinMenuTest, OpeningAgainReplacesTheOpenMenuAndEndsItOnce)
{
    SystemMenu system;
    NoticeCounter first;
    NoticeCounter second;
    int firstCloses = 0;
    open(system.menu, { 100, 50, 116, 66 }, &first);
    m_window.menu->SetMenuCloseHandler([&] { ++firstCloses; });
    open(system.menu, { 300, 50, 316, 66 }, &second);
    EXPECT_EQ(levels(), 1);
    EXPECT_EQ(firstCloses, 1);
    EXPECT_EQ(first.closed, 1);
    EXPECT_EQ(second.closed, 0) << "the new menu's control is not told of the old menu's end";
    m_window.menu->CloseAll();
    EXPECT_EQ(firstCloses, 1);
    EXPECT_EQ(second.closed, 1);
}

TEST_F(SkinMenuTest, NothingOpensForAnItemWithoutChildrenOrAStartPastThem)
{
    QMenu empty;
    EXPECT_EQ(open(empty), nullptr);
    SystemMenu system;
    m_window.menu->OpenMenu(nullptr, m_window.store, 4, { 0, 0, 0, 0 }, &system.menu, false);
    EXPECT_FALSE(m_window.menu->Visible());
    m_window.menu->OpenMenu(nullptr, m_window.store, 3, { 0, 0, 0, 0 }, &system.menu, false);
    EXPECT_TRUE(m_window.menu->Visible());
    EXPECT_EQ(m_window.menu->TopPopup()->Items().size(), 1u);
}

TEST_F(SkinMenuTest, ACommandThatClosesTheWindowLeavesNothingBehind)
{
    SystemMenu system;
    QPointer<TbsSkinMenu> engine = m_window.menu;
    QObject::connect(system.close, &QAction::triggered, [&] { m_window.form.reset(); });
    TbsSkinPopupWindow *popup = open(system.menu);
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_C);
    EXPECT_TRUE(engine.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_window.form = std::make_unique<QWidget>();
    m_window.menu = new TbsSkinMenu(m_window.form.get(), m_window.form.get());
}

// --- TbsSkinPopupMenu -----------------------------------------------------------------------------------------

TEST_F(SkinMenuTest, APopupMenuShowsThroughTheEngineOfItsWindow)
{
    TbsSkinPopupMenu popupMenu(m_window.form.get());
    addItem(popupMenu, QStringLiteral("One"));
    addItem(popupMenu, QStringLiteral("Two"));
    int shown = 0;
    int closed = 0;
    QObject::connect(&popupMenu, &QMenu::aboutToShow, [&] { ++shown; });
    popupMenu.OnMenuClose = [&] { ++closed; };
    int begun = 0;
    m_window.menu->FormBeginMenu = [&] { ++begun; };
    popupMenu.Popup(200, 100);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(begun, 1);
    ASSERT_EQ(levels(), 1);
    EXPECT_EQ(m_window.menu->TopPopup()->pos(), QPoint(200, 100));
    EXPECT_FALSE(popupMenu.isVisible()) << "the framework's own menu stays closed";
    m_window.menu->CloseAll();
    EXPECT_EQ(closed, 1);
}

TEST_F(SkinMenuTest, APopupMenuWithoutASkinnedWindowShowsNothing)
{
    QWidget bare;
    TbsSkinPopupMenu popupMenu(&bare);
    addItem(popupMenu, QStringLiteral("One"));
    popupMenu.Popup(10, 10);
    EXPECT_FALSE(popupMenu.isVisible());
    EXPECT_FALSE(popupMenu.PopupForControl(&bare, 10, 10));
}

TEST_F(SkinMenuTest, AControlsMenuOpensAsTheSkinnedMenuOfItsWindow)
{
    QWidget *control = new QWidget(m_window.form.get());
    QMenu items;
    addItem(items, QStringLiteral("Undo"), false);
    items.addSeparator();
    QAction *copy = addItem(items, QStringLiteral("Copy"));
    int copies = 0;
    QObject::connect(copy, &QAction::triggered, [&] { ++copies; });
    ASSERT_TRUE(popupControlMenu(control, &items, QPoint(150, 120)));
    ASSERT_EQ(levels(), 1);
    EXPECT_EQ(m_window.menu->TopPopup()->pos(), QPoint(150, 120));
    EXPECT_EQ(m_window.menu->TopPopup()->ActiveIndex(), 2);
    key(m_window.menu->TopPopup(), Qt::Key_Return);
    EXPECT_EQ(copies, 1);

    m_window.menu->FormMenusSkinData = [] { return static_cast<TbsSkinData *>(nullptr); };
    EXPECT_FALSE(popupControlMenu(control, &items, QPoint(150, 120))) << "no store: nothing is shown";
}

} // namespace

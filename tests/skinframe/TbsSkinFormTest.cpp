// The skinned form on real (offscreen) windows: attachment, objects, the mouse, activation, skin messages, window
// states and commands, drags, painting.
#include "FrameTesting.h"

#include "skin/SkinMessage.h"
#include "skin/SkinPlatform.h"
#include "skin/SkinPreview.h"
#include "skinframe/TbsSkinForm.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace pixolo
{
namespace
{

using namespace test;

constexpr QSize kMainSize(757, 523);

// A window with the skin of Pixolo's main window (or of its About window), shown and active.
struct SkinnedWindow {
    explicit SkinnedWindow(TbsBorderIcons icons = biSystemMenu | biMinimize | biRollUp,
        TFormBorderStyle border = bsSizeable, QSize client = QSize(729, 467), bool withSkin = true)
        : window(std::make_unique<QWidget>())
    {
        window->setWindowTitle(QStringLiteral("Pixolo frame test"));
        form = new TbsSkinForm(window.get());
        form->SetBorderStyle(border);
        form->SetBorderIcons(icons);
        if (withSkin) {
            stored = new TbsCompressedStoredSkin(window.get());
            stored->SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
            store = new TbsSkinData(window.get());
            form->SetSkinData(store);
            store->SetCompressedStoredSkin(stored);
        }
        form->resizeForClient(client);
        window->move(20, 20);
    }

    void show()
    {
        window->show();
        window->activateWindow();
        active = QTest::qWaitForWindowActive(window.get());
    }

    TbsActiveSkinObject *object(const char *name) const
    {
        for (const auto &o : form->ObjectList()) {
            if (o->IDName == QLatin1String(name)) {
                return o.get();
            }
        }
        return nullptr;
    }
    TbsSkinStdButtonObject *button(const char *name) const
    {
        return dynamic_cast<TbsSkinStdButtonObject *>(object(name));
    }
    QPoint at(const char *name) const { return centre(object(name)->ObjectRect); }
    QPoint caption() const { return QPoint(300, 18); }

    std::unique_ptr<QWidget> window;
    bool active = false;
    TbsSkinForm *form = nullptr;
    TbsCompressedStoredSkin *stored = nullptr;
    TbsSkinData *store = nullptr;
};

enum Notice { AboutToChange, Changed };

// A control stand-in in the client area, bound to a store as controls are: it records the notices of that store
// meant for its window.
class MessageProbe final : public QWidget
{
public:
    MessageProbe(QWidget *parent, TbsSkinData *store)
        : QWidget(parent)
    {
        connect(store, &TbsSkinData::aboutToChange, this, [this, store](QWidget *window) {
            if (window == this->window()) {
                received.append({ AboutToChange, store });
            }
        });
        connect(store, &TbsSkinData::changed, this, [this, store](QWidget *window) {
            if (window == this->window()) {
                received.append({ Changed, store });
            }
        });
    }
    QList<std::pair<Notice, TbsSkinData *>> received;
};

class TbsSkinFormTest : public testing::Test
{
protected:
    // The offscreen platform cannot shape windows and says so at every shape: the tests read the shape from the
    // window instead.
    static void SetUpTestSuite()
    {
        s_previousHandler
            = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
                  if (!text.contains(QLatin1String("does not support"))) {
                      s_previousHandler(type, context, text);
                  }
              });
    }
    static void TearDownTestSuite() { qInstallMessageHandler(s_previousHandler); }
    static inline QtMessageHandler s_previousHandler = nullptr;

    void TearDown() override
    {
        TbsSkinForm::SetPopupMenuHook({});
        TbsSkinForm::SetApplicationMainForm(nullptr);
    }
};

TEST_F(TbsSkinFormTest, WindowBecomesFramelessShapedWithTheClientAtTheClientRectangle)
{
    SkinnedWindow main;
    main.show();
    EXPECT_EQ(main.window->size(), kMainSize);
    EXPECT_TRUE(main.window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(main.form->ClientWidget()->geometry(), QRect(15, 33, 729, 467));
    EXPECT_TRUE(main.form->ClientWidget()->isVisible());
    EXPECT_EQ(main.window->mask(), *formRegion(*main.store, kMainSize));

    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    EXPECT_EQ(about.window->size(), QSize(462, 372));
    EXPECT_EQ(about.form->ClientWidget()->geometry(), QRect(15, 33, 434, 316));
}

TEST_F(TbsSkinFormTest, OwnerMustBeAWindow)
{
    QWidget parent;
    auto *child = new QWidget(&parent);
    EXPECT_THROW(TbsSkinForm form(child), std::invalid_argument);
    EXPECT_TRUE(child->findChildren<TbsSkinForm *>().isEmpty());
}

TEST_F(TbsSkinFormTest, ObjectsAreTheCaptionAndCaptionButtonsWithTheirIconsApplied)
{
    SkinnedWindow main;
    QStringList names;
    for (const auto &o : main.form->ObjectList()) {
        names << o->IDName;
    }
    // Neither the menu item nor the main-menu-bar entries (one is a kind of standard button) make objects.
    EXPECT_EQ(
        names, (QStringList { "caption1", "rollupbutton", "closebutton", "minbutton", "maxbutton", "sysmenubutton" }));
    EXPECT_NE(dynamic_cast<TbsSkinCaptionObject *>(main.object("caption1")), nullptr);
    EXPECT_EQ(main.button("closebutton")->command, cmClose);
    EXPECT_TRUE(main.button("minbutton")->ObjectEnabled);
    EXPECT_FALSE(main.button("maxbutton")->ObjectEnabled); // drawn by the frame picture, inert
    EXPECT_TRUE(main.button("maxbutton")->ObjectVisible);
    EXPECT_EQ(main.button("rollupbutton")->Hint, QStringLiteral("Roll Up"));
    EXPECT_EQ(main.button("sysmenubutton")->Hint, QStringLiteral("System menu"));

    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    EXPECT_FALSE(about.button("minbutton")->ObjectEnabled);
    EXPECT_FALSE(about.button("maxbutton")->ObjectEnabled);
    EXPECT_TRUE(about.button("rollupbutton")->ObjectEnabled);
    EXPECT_TRUE(about.button("closebutton")->ObjectEnabled);
}

TEST_F(TbsSkinFormTest, PressLeaveReleaseOutsideRunsNoCommandAndTheButtonComesUp)
{
    SkinnedWindow main;
    main.show();
    TbsSkinStdButtonObject *rollUp = main.button("rollupbutton");
    const QRect look = toQRect(rollUp->ObjectRect);
    const QImage upLook = main.form->frameImage().copy(look);
    const QImage downLook = main.store->ActivePicture(3)->toRgb32().copy(toQRect(rollUp->downrect));

    press(main.window.get(), main.at("rollupbutton"));
    EXPECT_TRUE(rollUp->Pressed);
    EXPECT_EQ(main.form->frameImage().copy(look), downLook);

    drag(main.window.get(), QPoint(300, 300));
    EXPECT_FALSE(rollUp->MouseOver);
    EXPECT_EQ(main.form->frameImage().copy(look), upLook); // off the button it shows up while held
    release(main.window.get(), QPoint(300, 300));
    EXPECT_FALSE(rollUp->Pressed);
    EXPECT_FALSE(main.form->RollUpState());
    EXPECT_EQ(main.window->height(), 523);
    EXPECT_EQ(main.form->PressedObjectIndex(), -1);

    // Back over the button before letting go: the command runs.
    press(main.window.get(), main.at("rollupbutton"));
    drag(main.window.get(), QPoint(300, 300));
    drag(main.window.get(), main.at("rollupbutton"));
    EXPECT_EQ(main.form->frameImage().copy(look), downLook);
    release(main.window.get(), main.at("rollupbutton"));
    EXPECT_TRUE(main.form->RollUpState());
}

TEST_F(TbsSkinFormTest, RollUpButtonAndCaptionDoubleClickRollUpAndBack)
{
    SkinnedWindow main;
    main.show();
    click(main.window.get(), main.at("rollupbutton"));
    EXPECT_TRUE(main.form->RollUpState());
    EXPECT_EQ(main.window->size(), QSize(757, 56));
    EXPECT_FALSE(main.form->ClientWidget()->isVisible());
    click(main.window.get(), main.at("rollupbutton"));
    EXPECT_EQ(main.window->size(), kMainSize);
    EXPECT_TRUE(main.form->ClientWidget()->isVisible());
    EXPECT_EQ(main.form->ClientWidget()->geometry(), QRect(15, 33, 729, 467));

    doubleClick(main.window.get(), main.caption());
    EXPECT_EQ(main.window->height(), 56);
    doubleClick(main.window.get(), main.caption());
    EXPECT_EQ(main.window->height(), 523);

    // Without the roll-up icon the command does nothing.
    SkinnedWindow plain(biSystemMenu);
    plain.show();
    plain.form->SetRollUpState(true);
    EXPECT_FALSE(plain.form->RollUpState());
}

TEST_F(TbsSkinFormTest, InactiveFormHighlightsNothing)
{
    SkinnedWindow main;
    main.show();
    SkinnedWindow other;
    other.window->move(300, 300);
    other.show();
    ASSERT_FALSE(main.window->isActiveWindow());
    hover(main.window.get(), main.at("closebutton"));
    EXPECT_EQ(main.form->HotObjectIndex(), -1);
    EXPECT_FALSE(main.button("closebutton")->MouseOver);
    main.form->UpdateHotObject(main.at("closebutton").x(), main.at("closebutton").y(), true);
    EXPECT_EQ(main.form->HotObjectIndex(), -1);

    // Active, the same move makes it hot.
    main.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.window.get()));
    hover(main.window.get(), main.at("closebutton"));
    EXPECT_TRUE(main.button("closebutton")->MouseOver);
}

TEST_F(TbsSkinFormTest, ClicksOnTheFrameOfAnInactiveWindowCountAndSoDoTheNextOnes)
{
    SkinnedWindow main;
    main.show();
    SkinnedWindow other;
    other.show();
    ASSERT_FALSE(main.window->isActiveWindow());
    // The click activates the window; the window system reports the activation only after the click.
    click(main.window.get(), main.at("rollupbutton"));
    EXPECT_TRUE(main.form->RollUpState());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.window.get()));
    click(main.window.get(), main.at("rollupbutton"));
    EXPECT_FALSE(main.form->RollUpState());
}

TEST_F(TbsSkinFormTest, CaptionFollowsActivation)
{
    SkinnedWindow main;
    int activated = 0;
    int deactivated = 0;
    main.form->OnActivate = [&] { ++activated; };
    main.form->OnDeActivate = [&] { ++deactivated; };
    main.show();
    auto *caption = dynamic_cast<TbsSkinCaptionObject *>(main.object("caption1"));
    EXPECT_TRUE(caption->ActiveState);
    EXPECT_GE(activated, 1);
    const auto whitePixels = [&] {
        const QImage image = main.form->frameImage().copy(toQRect(caption->ObjectRect));
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixel(x, y) == qRgb(255, 255, 255);
            }
        }
        return count;
    };
    EXPECT_GT(whitePixels(), 0); // white title while active

    SkinnedWindow other;
    other.show();
    EXPECT_FALSE(caption->ActiveState);
    EXPECT_GE(deactivated, 1);
    EXPECT_EQ(whitePixels(), 0); // silver while inactive
}

TEST_F(TbsSkinFormTest, OtherStoresChangeReloadsOnlyTheControlsBoundToIt)
{
    SkinnedWindow main;
    auto *probe = new MessageProbe(main.form->ClientWidget(), main.store);
    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    main.show();
    const QImage before = main.form->frameImage();
    main.object("caption1")->MouseOver = true; // marks the objects of this skin application
    about.object("caption1")->MouseOver = true;
    probe->received.clear();

    about.store->SetCompressedStoredSkin(about.stored); // the About store reloads and tells every window
    EXPECT_TRUE(main.object("caption1")->MouseOver); // main frame untouched
    EXPECT_FALSE(about.object("caption1")->MouseOver); // About frame rebuilt
    EXPECT_EQ(main.form->frameImage(), before);
    EXPECT_TRUE(probe->received.isEmpty()); // bound to the main store, the About store's reload passes it by

    probe->received.clear();
    main.store->SetCompressedStoredSkin(main.stored);
    EXPECT_FALSE(main.object("caption1")->MouseOver);
    EXPECT_EQ(probe->received,
        (QList<std::pair<Notice, TbsSkinData *>> { { AboutToChange, main.store }, { Changed, main.store } }));
}

TEST_F(TbsSkinFormTest, FailedReloadLeavesNothingPointingIntoTheEmptyObjectList)
{
    SkinnedWindow main;
    main.show();
    const QPoint rollUp = main.at("rollupbutton");
    press(main.window.get(), rollUp);
    ASSERT_NE(main.form->PressedObjectIndex(), -1);

    auto *broken = new TbsCompressedStoredSkin(main.window.get());
    broken->SetCompressedData(QByteArray("not a packed skin"));
    EXPECT_ANY_THROW(main.store->SetCompressedStoredSkin(broken));
    EXPECT_TRUE(main.store->Empty());
    EXPECT_TRUE(main.form->ObjectList().empty());
    EXPECT_EQ(main.form->PressedObjectIndex(), -1);
    EXPECT_EQ(main.form->HotObjectIndex(), -1);
    drag(main.window.get(), rollUp + QPoint(1, 0));
    release(main.window.get(), rollUp);
    hover(main.window.get(), rollUp);

    // The plain frame takes over once the failed load is over.
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.window->mask().isEmpty(); }, 2000));
    EXPECT_FALSE(main.form->SkinInUse());
    EXPECT_EQ(main.form->ClientWidget()->geometry().topLeft(), QPoint(3, 22));
    main.form->frameImage();
    EXPECT_EQ(main.form->ObjectList().size(), 6u); // the plain frame's standard buttons, made at its first paint

    main.store->SetCompressedStoredSkin(main.stored);
    EXPECT_TRUE(main.form->SkinInUse());
    EXPECT_EQ(main.form->ClientWidget()->geometry().topLeft(), QPoint(15, 33));
}

TEST_F(TbsSkinFormTest, FrameImageEqualsTheSkinToolsRenderOutsideTheCaptionText)
{
    SkinnedWindow main;
    main.show();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("form.png"));
    QProcess tool;
    tool.start(QStringLiteral(PIXOLO_SKINPACK),
        { QStringLiteral("render"), QStringLiteral(PIXOLO_PACKED_SKIN), QStringLiteral("form"), QStringLiteral("757"),
            QStringLiteral("523"), png });
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QImage rendered = QImage(png).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(rendered.size(), kMainSize);

    const QImage shown = main.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), kMainSize);
    const QRect text = toQRect(main.object("caption1")->ObjectRect);
    int compared = 0;
    int differentInText = 0;
    for (int y = 0; y < 523; ++y) {
        for (int x = 0; x < 757; ++x) {
            const QRgb expected = rendered.pixel(x, y);
            if (qAlpha(expected) == 0) {
                continue; // outside the window's shape
            }
            if (text.contains(x, y)) {
                differentInText += (shown.pixel(x, y) & 0xFFFFFF) != (expected & 0xFFFFFF);
                continue;
            }
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 757 * 523 * 9 / 10);
    EXPECT_GT(differentInText, 50); // the title is there
}

TEST_F(TbsSkinFormTest, CloseButtonComesUpBeforeTheWindowIsAskedToClose)
{
    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    about.show();
    bool pressedAtClose = true;
    struct CloseWatch final : QObject {
        std::function<void()> onClose;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Close) {
                onClose();
            }
            return false;
        }
    } watch;
    watch.onClose = [&] { pressedAtClose = about.button("closebutton")->Pressed; };
    about.window->installEventFilter(&watch);
    click(about.window.get(), about.at("closebutton"));
    EXPECT_FALSE(pressedAtClose);
    EXPECT_FALSE(about.window->isVisible());
}

TEST_F(TbsSkinFormTest, DisabledButtonsIgnoreTheMouse)
{
    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    about.show();
    click(about.window.get(), about.at("minbutton"));
    click(about.window.get(), about.at("maxbutton"));
    EXPECT_FALSE(about.window->isMinimized());
    EXPECT_EQ(about.form->SkinWindowState(), wsNormal);
    EXPECT_EQ(about.window->size(), QSize(462, 372));
    EXPECT_FALSE(about.button("minbutton")->Pressed);
}

TEST_F(TbsSkinFormTest, MainWindowsMinimiseTakesEverySkinnedWindowAndRestoreBringsThemBack)
{
    SkinnedWindow main;
    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    TbsSkinForm::SetApplicationMainForm(main.window.get());
    main.show();
    about.show();
    main.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.window.get()));
    int restored = 0;
    main.form->OnRestore = [&] { ++restored; };

    click(main.window.get(), main.at("minbutton"));
    EXPECT_TRUE(main.window->isMinimized());
    EXPECT_TRUE(about.window->isMinimized());
    EXPECT_EQ(main.form->SkinWindowState(), wsNormal); // the main form's own state stays

    main.window->showNormal(); // as a task bar restores it
    EXPECT_FALSE(main.window->isMinimized());
    EXPECT_FALSE(about.window->isMinimized());
    EXPECT_EQ(restored, 1);
}

TEST_F(TbsSkinFormTest, SecondaryWindowsMinimiseIntoSlotsAlongTheBottom)
{
    SkinnedWindow main;
    SkinnedWindow first;
    SkinnedWindow second;
    TbsSkinForm::SetApplicationMainForm(main.window.get());
    first.show();
    second.show();
    const QRect firstBounds = first.window->geometry();
    first.form->SetSkinWindowState(wsMinimized);
    second.form->SetSkinWindowState(wsMinimized);
    const TRect area = GetMonitorWorkArea(first.window.get(), true);
    EXPECT_EQ(first.window->geometry(), QRect(area.Left, area.Bottom - 56, 176, 56));
    EXPECT_EQ(second.window->geometry(), QRect(area.Left + 176, area.Bottom - 56, 176, 56));
    EXPECT_EQ(first.form->HitTest({ 2, 30 }), HTOBJECT); // no sizing while minimised

    first.form->SetSkinWindowState(wsNormal);
    EXPECT_EQ(first.window->geometry(), firstBounds);
    EXPECT_TRUE(first.form->RestoreBounds().isEmpty());
}

TEST_F(TbsSkinFormTest, SystemMenuOpensThroughTheMenuHook)
{
    SkinnedWindow main;
    main.show();
    QStringList captions;
    QRect anchor;
    TbsSkinForm::SetPopupMenuHook([&](TbsSkinForm &, const std::vector<SystemMenuItem> &items, const QRect &at) {
        captions.clear();
        for (const SystemMenuItem &item : items) {
            captions << item.Caption;
        }
        anchor = at;
        return true;
    });
    press(main.window.get(), main.at("sysmenubutton"));
    release(main.window.get(), main.at("sysmenubutton"));
    EXPECT_EQ(captions, (QStringList { "Mi&nimize", "Ro&llUp", "-", "&Close" }));
    EXPECT_EQ(anchor, toQRect(main.object("sysmenubutton")->ObjectRect).translated(main.window->pos()));
    EXPECT_TRUE(main.form->MenuMode());
    EXPECT_TRUE(main.button("sysmenubutton")->Pressed); // down while its menu is open

    sendSkinMessage(main.window.get(), SKIN_MSG_MENU_CLOSED, nullptr, 0);
    EXPECT_FALSE(main.form->MenuMode());
    EXPECT_FALSE(main.button("sysmenubutton")->Pressed);

    main.form->SetRollUpState(true);
    std::vector<SystemMenuItem> items = main.form->GetSystemMenuItems();
    QStringList rolled;
    for (const SystemMenuItem &item : items) {
        rolled << item.Caption;
    }
    EXPECT_EQ(rolled, (QStringList { "Mi&nimize", "&Restore", "-", "&Close" }));
    EXPECT_EQ(items.back().ShortCut, QStringLiteral("Alt+F4"));
    items[1].OnClick(); // Restore unrolls
    EXPECT_FALSE(main.form->RollUpState());

    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    QStringList aboutMenu;
    for (const SystemMenuItem &item : about.form->GetSystemMenuItems()) {
        aboutMenu << item.Caption;
    }
    EXPECT_EQ(aboutMenu, (QStringList { "Ro&llUp", "-", "&Close" }));
}

TEST_F(TbsSkinFormTest, WithoutAMenuTheSystemMenuButtonComesUpAndItsDoubleClickCloses)
{
    // A menu that cannot open (the hook shows nothing).
    TbsSkinForm::SetPopupMenuHook(
        [](TbsSkinForm &, const std::vector<SystemMenuItem> &, const QRect &) { return false; });
    SkinnedWindow main;
    main.show();
    click(main.window.get(), main.at("sysmenubutton"));
    EXPECT_FALSE(main.button("sysmenubutton")->Pressed);
    EXPECT_FALSE(main.form->MenuMode());
    doubleClick(main.window.get(), main.at("sysmenubutton"));
    EXPECT_FALSE(main.window->isVisible());
}

TEST_F(TbsSkinFormTest, FrameMovesAndSizesTheWindowWhereNoWindowManagerDoes)
{
    SkinnedWindow main;
    main.show();
    QWidget *w = main.window.get();
    const QPoint start = w->pos();
    const QPoint grip = w->mapToGlobal(main.caption());
    press(w, main.caption());
    for (int step = 1; step <= 10; ++step) {
        sendMouseAtScreen(w, QEvent::MouseMove, grip + QPoint(10 * step, 5 * step), Qt::NoButton, Qt::LeftButton);
    }
    sendMouseAtScreen(w, QEvent::MouseButtonRelease, grip + QPoint(100, 50), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(w->pos(), start + QPoint(100, 50));
    EXPECT_EQ(w->size(), kMainSize);

    // The right edge dragged far to the left: the window stops at its minimum width, frame and client laid out.
    const QPoint edge = w->mapToGlobal(QPoint(754, 300));
    press(w, QPoint(754, 300));
    sendMouseAtScreen(w, QEvent::MouseMove, edge - QPoint(300, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w->width(), 757 - 300);
    sendMouseAtScreen(w, QEvent::MouseMove, edge - QPoint(1000, 0), Qt::NoButton, Qt::LeftButton);
    sendMouseAtScreen(w, QEvent::MouseButtonRelease, edge - QPoint(1000, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(w->size(), QSize(176, 523));
    EXPECT_EQ(w->pos(), start + QPoint(100, 50));
    EXPECT_EQ(main.form->ClientWidget()->geometry(), QRect(15, 33, 148, 467));
    EXPECT_EQ(w->mask().boundingRect(), QRect(0, 0, 176, 523));
    EXPECT_EQ(main.object("closebutton")->ObjectRect, main.object("closebutton")->skinrect);

    // A window of single border is not sized by its frame.
    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    about.show();
    const QPoint aboutEdge = about.window->mapToGlobal(QPoint(459, 200));
    press(about.window.get(), QPoint(459, 200));
    sendMouseAtScreen(about.window.get(), QEvent::MouseMove, aboutEdge - QPoint(100, 0), Qt::NoButton, Qt::LeftButton);
    sendMouseAtScreen(
        about.window.get(), QEvent::MouseButtonRelease, aboutEdge - QPoint(100, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(about.window->size(), QSize(462, 372));
}

TEST_F(TbsSkinFormTest, MagneticEdgesSnapAManualMove)
{
    SkinnedWindow main;
    main.form->SetMagnetic(true);
    main.show();
    QWidget *w = main.window.get();
    const TRect area = GetMonitorWorkArea(w, true);
    w->move(area.Left + 50, area.Top + 50);
    const QPoint grip = w->mapToGlobal(main.caption());
    press(w, main.caption());
    sendMouseAtScreen(w, QEvent::MouseMove, grip - QPoint(47, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w->x(), area.Left); // 3 pixels from the edge: stuck to it
    sendMouseAtScreen(w, QEvent::MouseMove, grip - QPoint(45, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w->x(), area.Left); // the cursor 2 pixels on: still stuck
    sendMouseAtScreen(w, QEvent::MouseMove, grip - QPoint(20, 0), Qt::NoButton, Qt::LeftButton);
    sendMouseAtScreen(w, QEvent::MouseButtonRelease, grip - QPoint(20, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(w->x(), area.Left + 30);
}

TEST_F(TbsSkinFormTest, CursorShowsTheSizingDirection)
{
    SkinnedWindow main;
    main.show();
    hover(main.window.get(), QPoint(754, 300));
    EXPECT_EQ(main.window->cursor().shape(), Qt::SizeHorCursor);
    hover(main.window.get(), QPoint(754, 520));
    EXPECT_EQ(main.window->cursor().shape(), Qt::SizeFDiagCursor);
    hover(main.window.get(), main.caption());
    EXPECT_EQ(main.window->cursor().shape(), Qt::ArrowCursor);

    SkinnedWindow about(biSystemMenu | biRollUp, bsSingle, QSize(434, 316));
    about.show();
    hover(about.window.get(), QPoint(459, 200));
    EXPECT_EQ(about.window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(TbsSkinFormTest, FadeInWhenTranslucent)
{
    SkinnedWindow plain;
    plain.show();
    EXPECT_DOUBLE_EQ(plain.window->windowOpacity(), 1.0); // neither set: shown at once

    SkinnedWindow translucent;
    translucent.form->SetAlphaBlend(true);
    translucent.form->SetAlphaBlendValue(200);
    translucent.window->show();
    EXPECT_DOUBLE_EQ(translucent.window->windowOpacity(), 0.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return translucent.window->windowOpacity() > 0.0; }, 2000));
    EXPECT_NEAR(translucent.window->windowOpacity(), 200 / 255.0, 0.01);

    SkinnedWindow animated;
    animated.form->SetAlphaBlendAnimation(true);
    animated.window->show();
    EXPECT_DOUBLE_EQ(animated.window->windowOpacity(), 0.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return animated.window->windowOpacity() > 0.99; }, 2000));
}

TEST_F(TbsSkinFormTest, PlainFrameWhileNoSkinIsLoaded)
{
    SkinnedWindow plain(biSystemMenu | biMinimize | biRollUp, bsSizeable, QSize(400, 300), false);
    plain.show();
    EXPECT_FALSE(plain.form->SkinInUse());
    EXPECT_EQ(plain.window->size(), QSize(406, 325));
    EXPECT_EQ(plain.form->ClientWidget()->geometry(), QRect(3, 22, 400, 300));
    const QImage frame = plain.form->frameImage();
    ASSERT_EQ(plain.form->ObjectList().size(), 6u);
    const TRect close = plain.object("closebutton")->ObjectRect;
    EXPECT_EQ(close, (TRect { 386, 4, 403, 21 })); // 17 pixels square at the right
    EXPECT_EQ(plain.object("sysmenubutton")->ObjectRect, (TRect { 3, 4, 20, 21 }));
    EXPECT_EQ(frame.pixel(close.Left, close.Top), FrameColors::btnFace().rgb());
    EXPECT_EQ(plain.form->HitTest({ 1, 1 }), HTTOPLEFT);
    EXPECT_EQ(plain.form->HitTest({ 200, 10 }), HTCAPTION);

    hover(plain.window.get(), centre(close));
    EXPECT_EQ(plain.form->frameImage().pixel(close.Left, close.Top), qRgb(0, 0, 128)); // navy frame when hot
    click(plain.window.get(), centre(close));
    EXPECT_FALSE(plain.window->isVisible());
}

TEST_F(TbsSkinFormTest, PaintFrameRequestIsAnswered)
{
    SkinnedWindow main;
    QImage image(kMainSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    EXPECT_EQ(sendSkinMessage(main.window.get(), SKIN_MSG_PAINT_FRAME, &painter, SKIN_PAINT_FRAME_PARAM),
        SKIN_PAINT_FRAME_PARAM);
    painter.end();
    EXPECT_EQ(image, main.form->frameImage());
    EXPECT_EQ(sendSkinMessage(main.window.get(), SKIN_MSG_PAINT_FRAME, &painter, 1), 0);
}

} // namespace
} // namespace pixolo

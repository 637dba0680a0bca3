// Both windows in their skinned frames: the frame's settings, where the controls live, and what closing the main
// window by its frame does to the camera.
#include "app/GlobalVariant.h"
#include "app/ProductTexts.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "app/WindowPlacement.h"
#include "capture/TFilterGraph.h"
#include "platform/MessageBox.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinframe/TbsActiveSkinObject.h"
#include "skinframe/TbsSkinForm.h"

#include <QImage>
#include <QSet>

#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace pixolo;

namespace
{

class FrameWiringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        rcGlobalVariant.sAppPath = programDir.path() + QLatin1Char('/');
        rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
        rcGlobalVariant.sAppTitle = ProductTexts::decode(ProductTexts::kTitle);
        MessageBox::setHandler([this](const MessageBox::Message &message) { messages << message.text; });
    }

    void TearDown() override { MessageBox::setHandler({}); }

    QTemporaryDir programDir;
    QStringList messages;
};

TEST_F(FrameWiringTest, BothWindowsAreFramedWithTheirButtonsAndKeepTheirControlsInTheClientArea)
{
    TfrmMain main;
    ASSERT_NE(main.bsSkinForm1, nullptr);
    EXPECT_EQ(main.bsSkinForm1->SkinData(), main.bsSkinData1);
    EXPECT_TRUE(main.bsSkinForm1->SkinInUse());
    EXPECT_EQ(main.bsSkinForm1->BorderIcons(), biSystemMenu | biMinimize | biRollUp);
    EXPECT_EQ(main.bsSkinForm1->BorderStyle(), bsSizeable);
    // At (226, 139) where the screen has room for it (the offscreen screen is small: moved onto it).
    EXPECT_EQ(main.size(), QSize(757, 523));
    EXPECT_EQ(main.pos(), WindowPlacement::fitOnScreens(QPoint(226, 139), QSize(757, 523)));
    QWidget *client = main.bsSkinForm1->ClientWidget();
    EXPECT_EQ(client->geometry(), QRect(15, 33, 729, 467));
    for (QWidget *control : QList<QWidget *> {
             main.bsSkinPanel1, main.bsSkinPanel2, main.bsSkinPanel3, main.bsSkinPanel4, main.bsSkinPanel5 }) {
        EXPECT_EQ(control->parentWidget(), client) << control->objectName().toStdString();
    }
    // Docked in the client area: the content panel fills what the edge strips leave.
    EXPECT_EQ(main.bsSkinPanel4->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(main.bsSkinPanel5->x(), 11);

    TfrmAbout about;
    ASSERT_NE(about.bsSkinForm1, nullptr);
    EXPECT_EQ(about.bsSkinForm1->SkinData(), about.bsSkinData1);
    EXPECT_EQ(about.bsSkinForm1->BorderIcons(), biSystemMenu | biRollUp);
    EXPECT_EQ(about.bsSkinForm1->BorderStyle(), bsSingle);
    EXPECT_EQ(about.size(), QSize(462, 372));
    EXPECT_EQ(about.bsSkinForm1->ClientWidget()->geometry(), QRect(15, 33, 434, 316));
    EXPECT_EQ(about.bsSkinPanel1->parentWidget(), about.bsSkinForm1->ClientWidget());
}

TEST_F(FrameWiringTest, ClosingTheMainWindowByItsFrameStopsTheCamera)
{
    TfrmMain main;
    main.show();
    ASSERT_TRUE(main.FilterGraph->Active());
    messages.clear();
    main.bsSkinForm1->CloseForm(); // what its close button and its system menu's Close do
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(main.FilterGraph->Active());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(FrameWiringTest, RollingUpAndBackLeavesEveryControlWhereItWas)
{
    TfrmMain main;
    main.show();
    QWidget *client = main.bsSkinForm1->ClientWidget();
    const auto layout = [&] {
        std::vector<QRect> places;
        for (const QWidget *control : client->findChildren<QWidget *>()) {
            places.push_back(control->geometry());
        }
        return places;
    };
    const std::vector<QRect> before = layout();
    const QSize size = main.size();
    for (int round = 0; round < 2; ++round) { // the first round trip was the one that moved the status bar
        main.bsSkinForm1->SetRollUpState(true);
        EXPECT_LT(main.height(), size.height());
        main.bsSkinForm1->SetRollUpState(false);
        EXPECT_EQ(main.size(), size);
        EXPECT_TRUE(client->isVisible());
        EXPECT_EQ(layout(), before) << "round " << round;
    }
}

TEST_F(FrameWiringTest, AWindowMaximisedByTheWindowSystemGoesBackToItsSizeAndStillRollsUp)
{
    TfrmMain main;
    main.show();
    const QSize size = main.size();
    main.setWindowState(Qt::WindowMaximized); // as a window manager that ignores the offered functions does
    EXPECT_TRUE(QTest::qWaitFor([&] { return !(main.windowState() & Qt::WindowMaximized) && main.size() == size; }))
        << main.width() << "x" << main.height();
    main.bsSkinForm1->SetRollUpState(true);
    EXPECT_LT(main.height(), size.height());
    main.bsSkinForm1->SetRollUpState(false);
    EXPECT_EQ(main.size(), size);
}

// The picture of a frame object as the window shows it.
QImage objectLook(QWidget &window, TbsSkinForm &form, const QString &name)
{
    for (const auto &object : form.ObjectList()) {
        if (object->IDName == name) {
            const TRect &r = object->ObjectRect;
            return window.grab(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top))
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        }
    }
    ADD_FAILURE() << "no frame object " << name.toStdString();
    return {};
}

TEST_F(FrameWiringTest, TheAboutWindowsMinimizeButtonLooksDisabledAndTheMainWindowsDoesNot)
{
    TfrmMain main;
    TfrmAbout about;
    main.show();
    about.show();
    const QImage mainMinimize = objectLook(main, *main.bsSkinForm1, QStringLiteral("minbutton"));
    const QImage aboutMinimize = objectLook(about, *about.bsSkinForm1, QStringLiteral("minbutton"));
    const QImage aboutMaximize = objectLook(about, *about.bsSkinForm1, QStringLiteral("maxbutton"));
    ASSERT_EQ(mainMinimize.size(), QSize(16, 16));
    ASSERT_EQ(aboutMinimize.size(), QSize(16, 16));
    EXPECT_NE(aboutMinimize, mainMinimize);
    // Disabled is drawn the quiet way the never-enabled maximize button is: the same box, glyphs in its colour.
    auto colours = [](const QImage &image) {
        QSet<QRgb> set;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                set.insert(image.pixel(x, y));
            }
        }
        return set;
    };
    EXPECT_EQ(colours(aboutMinimize), colours(aboutMaximize));
    EXPECT_NE(colours(mainMinimize), colours(aboutMaximize));
}

} // namespace

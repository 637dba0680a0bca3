// The skinned hint as a component: its window's size and place, its look, the one active component of a window,
// and the delays of an object hint.
#include "skinframe/TbsSkinHint.h"

#include "MenuTesting.h"

#include <QBitmap>
#include <QCursor>
#include <QPainter>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

class SkinHintTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(200, 100);
        m_store = pixoloStore(&m_form);
        m_hint = new TbsSkinHint(&m_form);
        m_hint->SetSkinData(m_store);
        TbsSkinHint::SetApplicationMainForm(&m_form);
    }
    void TearDown() override { TbsSkinHint::SetApplicationMainForm(nullptr); }

    TbsSkinHintWindow *show(const QString &text, QPoint at = QPoint(100, 100))
    {
        TbsSkinHintWindow *window = m_hint->HintWindow();
        window->ShowHintAt({ at.x(), at.y(), at.x(), at.y() }, text);
        return window;
    }

    QWidget m_form;
    TbsSkinData *m_store = nullptr;
    TbsSkinHint *m_hint = nullptr;
};

TEST_F(SkinHintTest, WithThisSkinAHintIsTenWiderAndTwoHigherThanItsTextButNeverSmallerThanThePicture)
{
    for (const QString &text :
        { QStringLiteral("i"), QStringLiteral("Choose the folder for the photos"), QStringLiteral("two\nlines") }) {
        TbsSkinHintWindow *window = show(text);
        ASSERT_TRUE(window->isVisible());
        ASSERT_EQ(window->Store(), m_store);
        const QSize t = window->textSize(text);
        EXPECT_EQ(window->size(), QSize(std::max(t.width() + 10, 29), std::max(t.height() + 2, 17)))
            << text.toStdString();
    }
}

TEST_F(SkinHintTest, AWideTextStartsAtTheClientRectanglesLeftAndIsCentredInItsHeight)
{
    const QString text = QStringLiteral("Choose the folder for the photos");
    TbsSkinHintWindow *window = show(text);
    const QSize t = window->textSize(text);
    ASSERT_GT(t.width() + 10, 29);
    EXPECT_EQ(window->TextOrigin().x(), 9);
    EXPECT_EQ(window->NewPoints().ClRect, (TRect { 9, 1, window->width() - 1, window->height() - 1 }));
    // The text is drawn black over the stretched picture, whose corners stay as they are.
    const QImage image = window->PaintHint();
    const QImage picture = m_store->ActivePicture(7)->toRgb32();
    EXPECT_EQ(image.pixel(0, 0), picture.pixel(0, 0));
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), picture.pixel(28, 16));
    bool black = false;
    for (int x = 9; x < 9 + t.width() && !black; ++x) {
        for (int y = 0; y < image.height() && !black; ++y) {
            black = (image.pixel(x, y) & 0xFFFFFF) == 0;
        }
    }
    EXPECT_TRUE(black);
    EXPECT_FALSE(window->Shape().has_value()) << "the hint picture has no mask";
}

TEST_F(SkinHintTest, AHintPastTheScreensEdgesFlipsToTheOtherSideOfThePoint)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    TbsSkinHintWindow *window = show(QStringLiteral("Snapshot"), QPoint(screen.right() - 5, 100));
    EXPECT_EQ(window->geometry().right() + 1, screen.right() - 5 - 2) << "right edge 2 pixels left of the point";
    EXPECT_EQ(window->y(), 100);
    window = show(QStringLiteral("Snapshot"), QPoint(100, screen.bottom() - 3));
    EXPECT_EQ(window->geometry().bottom() + 1, screen.bottom() - 3 - 2) << "bottom edge 2 pixels above the point";
    EXPECT_EQ(window->x(), 100);
}

TEST_F(SkinHintTest, WithoutAStoreThePlainLookTakesTheTextAndFourPixels)
{
    m_hint->SetSkinData(nullptr);
    const QString text = QStringLiteral("Delay");
    TbsSkinHintWindow *window = show(text);
    EXPECT_EQ(window->Store(), nullptr);
    EXPECT_EQ(window->size(), window->textSize(text) + QSize(4, 4));
    const QImage image = window->PaintHint();
    EXPECT_EQ(image.pixel(0, 0), QGuiApplication::palette().color(QPalette::Dark).rgb()) << "the one-pixel frame";
}

TEST_F(SkinHintTest, OnlyOneComponentOfAWindowIsActiveAndWithoutOneNoHintShows)
{
    auto *second = new TbsSkinHint(&m_form);
    EXPECT_TRUE(m_hint->Active());
    second->SetActive(true);
    EXPECT_FALSE(m_hint->Active());
    EXPECT_EQ(TbsSkinHint::FindActiveSkinHint(&m_form), second);
    QWidget other;
    auto *elsewhere = new TbsSkinHint(&other);
    elsewhere->SetActive(true);
    EXPECT_TRUE(second->Active()) << "a component of another window is no rival";

    second->SetActive(false);
    EXPECT_EQ(TbsSkinHint::FindActiveSkinHint(&m_form), nullptr);
    TbsSkinHintWindow window;
    window.ShowHintAt({ 10, 10, 10, 10 }, QStringLiteral("nothing"));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SkinHintTest, AnObjectHintShowsAfterThePauseBelowTheCursorAndHidesAfterTheHidePause)
{
    m_hint->SetHintPause(20);
    m_hint->SetHintHidePause(40);
    QCursor::setPos(QPoint(300, 200));
    m_hint->ShowHintDelayed(QStringLiteral("Close"));
    EXPECT_TRUE(m_hint->HintTimerActive());
    EXPECT_FALSE(m_hint->HintWindow()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_hint->HintWindow()->isVisible(); }, 2000));
    EXPECT_EQ(m_hint->HintWindow()->pos(),
        QPoint(QCursor::pos().x(), QCursor::pos().y() + TbsSkinHint::CursorHeightMargin()));
    EXPECT_EQ(m_hint->HintWindow()->Text(), QStringLiteral("Close"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_hint->HintWindow()->isVisible(); }, 2000));
    EXPECT_FALSE(m_hint->HintTimerActive());
}

TEST_F(SkinHintTest, CancellingHidesTheHintAndDropsWhatWasPending)
{
    m_hint->ShowHintAtCursor();
    ASSERT_TRUE(m_hint->HintWindow()->isVisible());
    m_hint->CancelHint();
    EXPECT_FALSE(m_hint->HintWindow()->isVisible());
    m_hint->ShowHintDelayed(QStringLiteral("Minimize"));
    m_hint->CancelHint();
    EXPECT_FALSE(m_hint->HintTimerActive());
}

TEST_F(SkinHintTest, TheShowHintNotificationCanChangeOrRefuseTheHint)
{
    m_hint->OnShowHint = [](QString &text, bool &canShow) {
        canShow = text != QStringLiteral("secret");
        text = text.toUpper();
    };
    m_hint->ShowHintDelayed(QStringLiteral("roll up"));
    m_hint->ShowHintAtCursor();
    EXPECT_EQ(m_hint->HintWindow()->Text(), QStringLiteral("ROLL UP"));
    m_hint->CancelHint();
    m_hint->ShowHintDelayed(QStringLiteral("secret"));
    m_hint->ShowHintAtCursor();
    EXPECT_FALSE(m_hint->HintWindow()->isVisible());
}

TEST(CursorHeightMarginTest, CountsTheRowsFromTheHotSpotToTheLowestVisibleRow)
{
    QBitmap shape(16, 16);
    shape.fill(Qt::color0);
    QBitmap mask(16, 16);
    mask.fill(Qt::color0);
    {
        QPainter painter(&mask);
        painter.fillRect(2, 0, 5, 12, Qt::color1); // rows 0 to 11 visible
    }
    EXPECT_EQ(TbsSkinHint::CursorHeightMargin(QCursor(shape, mask, 0, 2)), 9);

    QImage image(16, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y <= 14; ++y) {
        image.setPixel(3, y, qRgba(0, 0, 0, 255));
    }
    EXPECT_EQ(TbsSkinHint::CursorHeightMargin(QCursor(QPixmap::fromImage(image), 3, 4)), 10);
    EXPECT_GE(TbsSkinHint::CursorHeightMargin(QCursor(Qt::ArrowCursor)), 16) << "a system cursor: its height";
}

} // namespace

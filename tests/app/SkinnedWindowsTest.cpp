// Both windows' controls bound to their own window's skin, offscreen: sizes the skin gives, the tab order, the About
// window's click on its own area, and the browse button with an empty or relative path.
#include "app/GlobalVariant.h"
#include "app/ProductTexts.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "capture/TVideoWindow.h"
#include "platform/DesktopServices.h"
#include "platform/MessageBox.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"
#include "skinframe/TbsSkinForm.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace pixolo;

namespace
{

class SkinnedWindowsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        rcGlobalVariant.sAppPath = m_programDir.path() + QLatin1Char('/');
        rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
        rcGlobalVariant.sAppTitle = ProductTexts::decode(ProductTexts::kTitle);
        MessageBox::setHandler([](const MessageBox::Message &) {});
        DesktopServices::setOpenFolderHandler([this](const QString &path) { m_opened << path; });
        m_main = std::make_unique<TfrmMain>();
        frmMain = m_main.get();
        m_main->show();
        m_about = std::make_unique<TfrmAbout>();
    }

    void TearDown() override
    {
        m_about.reset();
        m_main.reset();
        MessageBox::setHandler({});
        DesktopServices::setOpenFolderHandler({});
    }

    QTemporaryDir m_programDir;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<TfrmAbout> m_about;
    QStringList m_opened;
};

TEST_F(SkinnedWindowsTest, MainWindowControlsDrawFromTheMainStoreAtTheSkinsSizes)
{
    TfrmMain &w = *m_main;
    const QList<SkinBoundControl *> controls { w.bsSkinPanel1, w.bsSkinPanel5, w.bsSkinPanel6, w.bsSkinPanel7,
        w.bsSkinStdLabel1, w.bsSkinSpeedButton1, w.edtsPath, w.bsSkinButton1, w.bsSkinButton4, w.cbDelay,
        w.bsSkinStatusBar1, w.bsSkinStatusPanel1 };
    for (SkinBoundControl *control : controls) {
        EXPECT_EQ(control->SkinData(), w.bsSkinData1);
        EXPECT_NE(control->SkinIndex(), -1) << control->SkinDataName().toStdString();
    }
    // Buttons keep the form's widths and take the skin's height; so do the edit, the check box and the status bar.
    EXPECT_EQ(w.bsSkinButton1->size(), QSize(60, 21));
    EXPECT_EQ(w.bsSkinButton2->size(), QSize(75, 21));
    EXPECT_EQ(w.edtsPath->size(), QSize(157, 22));
    EXPECT_EQ(w.cbDelay->size(), QSize(60, 22));
    EXPECT_EQ(w.bsSkinSpeedButton1->size(), QSize(25, 25));
    EXPECT_EQ(w.bsSkinStatusBar1->geometry(), QRect(0, 467 - 24, 729, 24));
    // The framed boxes hold the preview and the picture three pixels inside their frames.
    EXPECT_EQ(w.bsSkinPanel6->AlignRect(), QRect(3, 3, 320, 240));
    EXPECT_FALSE(w.bsSkinData1->EnableSkinEffects());
    EXPECT_FALSE(w.cbDelay->Flat());
}

// The content panel's tab order: the preview's box (0, its video window a tab stop), the picture's box (1, none),
// the path (2), the four buttons (3 to 6) and the delay box (7), then round again.
TEST_F(SkinnedWindowsTest, TabWalksThePathTheFolderButtonTheButtonsAndTheDelayBox)
{
    TfrmMain &w = *m_main;
    QApplication::setActiveWindow(&w);
    w.edtsPath->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w.edtsPath);
    const QList<QWidget *> order { w.bsSkinSpeedButton1, w.bsSkinButton1, w.bsSkinButton2, w.bsSkinButton3,
        w.bsSkinButton4, w.cbDelay, w.VideoWindow, w.edtsPath };
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next)
            << next->objectName().toStdString() << ", not " << QApplication::focusWidget()->objectName().toStdString();
    }
}

TEST_F(SkinnedWindowsTest, TheAboutWindowsLinkAndButtonTakeTurnsWithTabAndTheButtonStarts)
{
    TfrmAbout &about = *m_about;
    about.show();
    QApplication::setActiveWindow(&about);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    EXPECT_EQ(QApplication::focusWidget(), about.bsSkinButton1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), about.Label4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), about.bsSkinButton1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), about.Label4);
}

TEST_F(SkinnedWindowsTest, AboutControlsUseTheAboutStoreExceptTheBigLabel)
{
    TfrmAbout &a = *m_about;
    EXPECT_TRUE(a.bsSkinData1->EnableSkinEffects());
    for (SkinBoundControl *control : std::initializer_list<SkinBoundControl *> {
             a.bsSkinPanel1, a.Label1, a.Label4, a.bsSkinButton1, a.bsSkinPanel5, a.Label6, a.Label00, a.Label01 }) {
        EXPECT_EQ(control->SkinData(), a.bsSkinData1);
    }
    EXPECT_EQ(a.bsSkinStdLabel1->SkinData(), nullptr);
    EXPECT_EQ(a.Label1->size(), QSize(368, 21));
    // The headings and the link keep their own blue; the description lines take the skin's colour.
    EXPECT_EQ(a.Label00->textFont().Color, clBlue);
    EXPECT_EQ(a.Label01->textFont().Color, clBlue);
    EXPECT_EQ(a.Label4->textFont().Color, clBlue);
    EXPECT_EQ(a.Label4->textFont().Style, fsUnderline);
    EXPECT_NE(a.Label6->textFont().Color, clWindowText);
    EXPECT_EQ(a.Label6->textFont().Height, -13);
}

TEST_F(SkinnedWindowsTest, ReloadOfTheAboutSkinLeavesTheMainWindowsControlsAlone)
{
    // Sized behind the skin's back: applying the main window's skin would bring them back.
    m_main->bsSkinButton2->setGeometry(446, 272, 75, 30);
    m_about->bsSkinButton1->setGeometry(320, 8, 75, 30);
    m_about->bsSkinData1->SetCompressedStoredSkin(m_about->bsCompressedStoredSkin1);
    EXPECT_EQ(m_about->bsSkinButton1->height(), 21);
    EXPECT_EQ(m_main->bsSkinButton2->height(), 30);
}

TEST_F(SkinnedWindowsTest, AClickOnTheAboutWindowsOwnAreaClosesItOnRelease)
{
    m_about->SetProductIndex(2);
    m_about->show();
    m_about->bsSkinPanel1->hide(); // uncovers the window's own area between the side strips
    QWidget *client = m_about->bsSkinForm1->ClientWidget();
    const QPoint own = client->mapTo(m_about.get(), m_about->bsSkinPanel1->geometry().center());
    ASSERT_EQ(m_about->childAt(own), client);
    QTest::mousePress(m_about.get(), Qt::LeftButton, {}, own);
    EXPECT_TRUE(m_about->isVisible()); // not on the press
    QTest::mouseRelease(m_about.get(), Qt::LeftButton, {}, own);
    EXPECT_FALSE(m_about->isVisible());

    // Pressed on the own area but let go over a control: no click on the window.
    m_about->show();
    QTest::mousePress(m_about.get(), Qt::LeftButton, {}, own);
    QTest::mouseRelease(
        m_about.get(), Qt::LeftButton, {}, client->mapTo(m_about.get(), m_about->bsSkinPanel5->geometry().center()));
    EXPECT_TRUE(m_about->isVisible());
}

TEST_F(SkinnedWindowsTest, BrowseWithAnEmptyPathOpensThePicturesFolderWhichTheEditShows)
{
    const QByteArray home = qgetenv("HOME");
    const QTemporaryDir privateHome;
    qputenv("HOME", privateHome.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (privateHome.path() + QStringLiteral("/.config")).toLocal8Bit());
    m_main->hide();
    m_main->show(); // the edit is filled when the window is shown
    m_main->edtsPath->SetText(QString());
    EXPECT_EQ(m_main->edtsPath->placeholderText(), privateHome.path() + QStringLiteral("/Pictures/"));
    m_main->bsSkinButton1Click(nullptr);
    EXPECT_TRUE(QFileInfo(privateHome.path() + QStringLiteral("/Pictures")).isDir());
    m_main->edtsPath->SetText(QStringLiteral("photos/"));
    m_main->bsSkinButton1Click(nullptr);
    qputenv("HOME", home);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(m_opened,
        (QStringList {
            privateHome.path() + QStringLiteral("/Pictures/"), QDir::current().filePath(QStringLiteral("photos/")) }));
}

} // namespace

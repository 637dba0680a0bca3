// The windows' skinned menus: the photo-folder edit's context menu shown by the main window's menu engine, and the
// About window's system menu and morphing button.
#include "app/GlobalVariant.h"
#include "app/ProductTexts.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "platform/MessageBox.h"
#include "skin/TbsSkinData.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/TbsSkinMenu.h"
#include "skinframe/TbsSkinPopupWindow.h"

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

class MenuWiringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        rcGlobalVariant.sAppPath = programDir.path() + QLatin1Char('/');
        rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
        rcGlobalVariant.sAppTitle = ProductTexts::decode(ProductTexts::kTitle);
        MessageBox::setHandler([](const MessageBox::Message &) {});
    }
    void TearDown() override
    {
        MessageBox::setHandler({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QStringList captions(const TbsSkinPopupWindow *popup)
    {
        QStringList list;
        for (const auto &item : popup->Items()) {
            list << (item->IsSeparator() ? QStringLiteral("-") : item->Caption());
        }
        return list;
    }

    QTemporaryDir programDir;
};

TEST_F(MenuWiringTest, TheFolderEditsContextMenuIsTheMainWindowsSkinnedMenu)
{
    TfrmMain main;
    main.show();
    main.edtsPath->SetText(QStringLiteral("/srv/photos/"));
    main.edtsPath->setCursorPosition(0);
    const QPoint at = main.edtsPath->mapToGlobal(QPoint(20, 5));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 5), at);
    QApplication::sendEvent(main.edtsPath, &event);

    TbsSkinMenu *menu = main.bsSkinForm1->SkinMenu();
    ASSERT_TRUE(menu->Visible());
    TbsSkinPopupWindow *popup = menu->TopPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->HasPopupData()) << "drawn from the main window's skin";
    EXPECT_EQ(popup->pos(), at);
    EXPECT_EQ(captions(popup), (QStringList { "Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All" }));
    EXPECT_TRUE(main.bsSkinForm1->MenuMode());

    // Nothing selected and nothing to undo, cut or delete: Select All is the item the keyboard starts on.
    EXPECT_EQ(popup->ActiveIndex(), 7);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(menu->Visible());
    EXPECT_FALSE(main.bsSkinForm1->MenuMode());
    EXPECT_EQ(main.edtsPath->selectedText(), QStringLiteral("/srv/photos/"));
    EXPECT_EQ(main.edtsPath->ContextMenu(), nullptr) << "the edit freed its menu after the command";
}

TEST_F(MenuWiringTest, TheAboutWindowMorphsItsButtonAndItsSystemMenuClosesIt)
{
    TfrmAbout about;
    about.SetProductIndex(2);
    about.show();
    ASSERT_TRUE(about.bsSkinData1->EnableSkinEffects());
    TbsSkinButton *ok = about.bsSkinButton1;
    const QPoint inside(5, 5);
    QEnterEvent enter(inside, inside, ok->mapToGlobal(inside));
    QApplication::sendEvent(ok, &enter);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ok->MorphFactor() > 0 && ok->MorphFactor() < 1; }, 2000))
        << "the button morphs toward its hot look";
    EXPECT_TRUE(QTest::qWaitFor([&] { return ok->MorphFactor() == 1; }, 2000));

    for (int shown = 0; shown < 2; ++shown) {
        about.bsSkinForm1->ShowSystemMenuAt(about.x() + 40, about.y() + 18);
        TbsSkinMenu *menu = about.bsSkinForm1->SkinMenu();
        ASSERT_EQ(menu->Popups().size(), 1u) << "one level, however often the window was shown";
        EXPECT_EQ(captions(menu->TopPopup()), (QStringList { "Ro&llUp", "-", "&Close" }));
        QTest::keyClick(menu->TopPopup(), Qt::Key_C);
        EXPECT_FALSE(about.isVisible());
        EXPECT_FALSE(menu->Visible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        about.show();
    }
}

} // namespace

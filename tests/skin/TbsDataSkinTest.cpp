// The skin data classes: made from their type words, reading their own sections with their defaults.
#include "SkinContainer.h"

#include "platform/EConvertError.h"
#include "skin/SkinIni.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsDataSkinObject.h"
#include "skin/TbsDataSkinPopupWindow.h"

#include <gtest/gtest.h>

using namespace pixolo;
using pixolo::test::ini;

namespace
{

template <class T> T *as(const std::unique_ptr<TbsDataSkinControl> &data)
{
    return dynamic_cast<T *>(data.get());
}

template <class T> T *as(const std::unique_ptr<TbsDataSkinObject> &data)
{
    return dynamic_cast<T *>(data.get());
}

// Reads an entry of the given type from the given lines.
template <class Root> std::unique_ptr<Root> loaded(const char *type, std::initializer_list<const char *> lines);

template <> std::unique_ptr<TbsDataSkinControl> loaded(const char *type, std::initializer_list<const char *> lines)
{
    auto data = CreateSkinControlData(QString::fromLatin1(type), QStringLiteral("e"));
    data->LoadData(ini(lines));
    return data;
}

template <> std::unique_ptr<TbsDataSkinObject> loaded(const char *type, std::initializer_list<const char *> lines)
{
    auto data = CreateSkinObjectData(QString::fromLatin1(type), QStringLiteral("e"));
    data->LoadData(ini(lines));
    return data;
}

constexpr const char *s_controlWords[]
    = { "panel", "expanel", "menubutton", "button", "checkradio", "gauge", "splitter", "trackbar", "label", "stdlabel",
          "updown", "grid", "tab", "mainmenubar", "controlbar", "memo", "edit", "checklistbox", "listbox", "combobox",
          "scrollbar", "spinedit", "scrollbox", "treeview", "bevel", "slider", "listview", "richedit" };
constexpr const char *s_objectWords[]
    = { "menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton", "button", "caption", "animate", "userobject" };

template <class Root> QStringList saved(const Root &data)
{
    SkinIni out;
    data.SaveData(out);
    return out.GetStrings();
}

} // namespace

TEST(TbsDataSkinTest, EveryTypeWordMakesItsOwnClassAndNothingElseMakesOne)
{
    for (const char *word : s_controlWords) {
        const auto data = CreateSkinControlData(QString::fromLatin1(word), QStringLiteral("name"));
        ASSERT_TRUE(data) << word;
        EXPECT_STREQ(data->TypeWord(), word);
        EXPECT_EQ(data->IDName, "name");
    }
    for (const char *word : s_objectWords) {
        const auto data = CreateSkinObjectData(QString::fromLatin1(word), QStringLiteral("name"));
        ASSERT_TRUE(data) << word;
        EXPECT_STREQ(data->TypeWord(), word);
    }
    for (const char *word : { "", "header", "Button", "PANEL", "menuitem " }) {
        EXPECT_FALSE(CreateSkinControlData(QString::fromLatin1(word), "x")) << word;
        EXPECT_FALSE(CreateSkinObjectData(QString::fromLatin1(word), "x")) << word;
    }
    // The class tree: a menu button is a button, a standard button a frame button, a memo an edit.
    EXPECT_TRUE(as<TbsDataSkinButtonControl>(CreateSkinControlData("menubutton", "m")));
    EXPECT_TRUE(as<TbsDataSkinButton>(CreateSkinObjectData("mainmenubarbutton", "m")));
    EXPECT_TRUE(as<TbsDataSkinEditControl>(CreateSkinControlData("memo", "m")));
    EXPECT_FALSE(as<TbsDataSkinCustomControl>(CreateSkinControlData("stdlabel", "m")));
}

// A new object must hold exactly what an empty section reads: the constructor's defaults and the readers'
// defaults are written in two places, and this keeps them equal for every class.
TEST(TbsDataSkinTest, ANewObjectEqualsOneReadFromAnEmptySection)
{
    const SkinIni empty = ini({ "[other]", "skinrect=1,2,3,4" });
    for (const char *word : s_controlWords) {
        const auto fresh = CreateSkinControlData(QString::fromLatin1(word), "e");
        const auto read = CreateSkinControlData(QString::fromLatin1(word), "e");
        read->LoadData(empty);
        EXPECT_EQ(saved(*fresh), saved(*read)) << word;
    }
    for (const char *word : s_objectWords) {
        const auto fresh = CreateSkinObjectData(QString::fromLatin1(word), "e");
        const auto read = CreateSkinObjectData(QString::fromLatin1(word), "e");
        read->LoadData(empty);
        EXPECT_EQ(saved(*fresh), saved(*read)) << word;
    }
}

TEST(TbsDataSkinTest, SavedSectionsReadBackTheSame)
{
    const auto button = loaded<TbsDataSkinControl>("button",
        { "[e]", "pictureindex=3", "skinrect=0,1,66,22", "righttoppoint=52,11", "fontstyle=fsbold,fsitalic",
            "morphing=1", "morphkind=mkpush", "animateinterval=40", "showfocus=1", "fontname=Tahoma" });
    SkinIni out;
    button->SaveData(out);
    auto again = CreateSkinControlData("button", "e");
    again->LoadData(out);
    EXPECT_EQ(saved(*again), saved(*button));
    const auto *b = as<TbsDataSkinButtonControl>(again);
    EXPECT_EQ(b->fontstyle, fsBold | fsItalic);
    EXPECT_EQ(b->morphkind, mkPush);
    EXPECT_EQ(b->fontname, "Tahoma");
    EXPECT_EQ(b->righttoppoint, (TPoint { 52, 11 }));

    const auto caption = loaded<TbsDataSkinObject>("caption",
        { "[e]", "skinrect=30,10,102,26", "alignment=taleftjustify", "shadow=1", "activefontcolor=$FFFFFF" });
    SkinIni objects;
    caption->SaveData(objects);
    auto captionAgain = CreateSkinObjectData("caption", "e");
    captionAgain->LoadData(objects);
    EXPECT_EQ(saved(*captionAgain), saved(*caption));
    EXPECT_EQ(as<TbsDataSkinCaption>(captionAgain)->activefontcolor, 0xFFFFFF);
}

TEST(TbsDataSkinTest, SavingReplacesTheWholeSection)
{
    SkinIni out = ini({ "[e]", "stale=1" });
    CreateSkinControlData("bevel", "e")->SaveData(out);
    EXPECT_FALSE(out.ValueExists("e", "stale"));
    EXPECT_TRUE(out.ValueExists("e", "lightcolor"));
}

TEST(TbsDataSkinTest, ButtonWithoutAnimationKeysKeepsTheirDefaults)
{
    const auto data = loaded<TbsDataSkinControl>("button", { "[e]", "skinrect=0,1,66,22", "righttoppoint=52,11" });
    const auto *b = as<TbsDataSkinButtonControl>(data);
    EXPECT_EQ(b->animateskinrect, TRect {});
    EXPECT_EQ(b->framecount, 0);
    EXPECT_EQ(b->animateinterval, 25);
    EXPECT_FALSE(b->showfocus);
    EXPECT_EQ(b->fontname, "Arial");
    EXPECT_EQ(b->fontheight, 14);
}

TEST(TbsDataSkinTest, StandardLabelHoverColourDefaultsToBlue)
{
    EXPECT_EQ(as<TbsDataSkinStdLabelControl>(loaded<TbsDataSkinControl>("stdlabel", { "[e]", "activefontcolor=33023" }))
                  ->activefontcolor,
        33023);
    EXPECT_EQ(
        as<TbsDataSkinStdLabelControl>(loaded<TbsDataSkinControl>("stdlabel", { "[e]" }))->activefontcolor, 16711680);
}

TEST(TbsDataSkinTest, UpDownEndsWithNullPointsWhateverItsSectionSays)
{
    const auto data = loaded<TbsDataSkinControl>(
        "updown", { "[e]", "lefttoppoint=5,5", "rightbottompoint=9,9", "clientrect=1,1,9,9", "upbuttonrect=0,0,8,8" });
    const auto *u = as<TbsDataSkinUpDownControl>(data);
    EXPECT_EQ(u->lefttoppoint, TPoint {});
    EXPECT_EQ(u->rightbottompoint, TPoint {});
    EXPECT_EQ(u->clientrect, TRect {});
    EXPECT_EQ(u->upbuttonrect, (TRect { 0, 0, 8, 8 }));
}

TEST(TbsDataSkinTest, AnimateNeverMorphsAndUserObjectReadsOnlyItsRectangle)
{
    EXPECT_FALSE(loaded<TbsDataSkinObject>("animate", { "[e]", "morphing=1" })->morphing);
    const auto user = loaded<TbsDataSkinObject>(
        "userobject", { "[e]", "hint=Help", "activepictureindex=2", "morphing=1", "skinrect=1,2,3,4" });
    EXPECT_EQ(user->hint, QString());
    EXPECT_EQ(user->activepictureindex, -1);
    EXPECT_FALSE(user->morphing);
    EXPECT_EQ(user->skinrect, (TRect { 1, 2, 3, 4 }));
    SkinIni out;
    user->SaveData(out);
    EXPECT_EQ(out.GetStrings(), (QStringList { "[e]", "skinrect=1,2,3,4", "" }));
}

struct CommandCase {
    const char *line;
    TbsStdCommand expected;
};

class SkinCommandTest : public testing::TestWithParam<CommandCase>
{
};

TEST_P(SkinCommandTest, CommandWordsAreExactAndAnyOtherIsMinimizeToTray)
{
    const auto data = loaded<TbsDataSkinObject>("stdbutton", { "[e]", GetParam().line });
    EXPECT_EQ(as<TbsDataSkinStdButton>(data)->command, GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Words, SkinCommandTest,
    testing::Values(CommandCase { "command=cmclose", cmClose }, CommandCase { "command=cmmaximize", cmMaximize },
        CommandCase { "command=cmminimize", cmMinimize }, CommandCase { "command=cmsysmenu", cmSysMenu },
        CommandCase { "command=cmdefault", cmDefault }, CommandCase { "command=cmrollup", cmRollUp },
        CommandCase { "command=cmminimizetotray", cmMinimizeToTray },
        CommandCase { "command=cmhelp", cmMinimizeToTray }, CommandCase { "command=CMCLOSE", cmMinimizeToTray },
        CommandCase { "no command key", cmDefault }));

TEST(TbsDataSkinTest, CommandsAreWrittenBackAsWords)
{
    const auto data = loaded<TbsDataSkinObject>("stdbutton", { "[e]", "command=cmhelp" });
    SkinIni out;
    data->SaveData(out);
    EXPECT_EQ(out.ReadString("e", "command", ""), "cmminimizetotray");
}

TEST(TbsDataSkinTest, OnlyTheMisspeltKeyGivesTheDisabledLook)
{
    const auto right = loaded<TbsDataSkinObject>("stdbutton", { "[e]", "disableskinrsect=1,2,3,4" });
    const auto wrong = loaded<TbsDataSkinObject>("stdbutton", { "[e]", "disabledskinrect=1,2,3,4" });
    EXPECT_EQ(as<TbsDataSkinButton>(right)->disableskinrsect, (TRect { 1, 2, 3, 4 }));
    EXPECT_EQ(as<TbsDataSkinButton>(wrong)->disableskinrsect, TRect {});
}

TEST(TbsDataSkinTest, KeyNamesIgnoreCaseAndBadRectanglesRaise)
{
    const auto item = loaded<TbsDataSkinObject>("menuitem", { "[E]", "unenabledfontColor=8421504" });
    EXPECT_EQ(as<TbsDataSkinMenuItem>(item)->unenabledfontcolor, 8421504);
    auto panel = CreateSkinControlData("panel", "e");
    EXPECT_THROW(panel->LoadData(ini({ "[e]", "clientrect=3,3,37" })), EConvertError);
}

TEST(TbsDataSkinTest, WindowSectionsReadTheirOwnKeys)
{
    const SkinIni d
        = ini({ "[POPUPWINDOW]", "windowpictureindex=2", "maskpictureindex=4", "itemsrect=3,3,37,37", "topstretch=1",
            "[HINTWINDOW]", "windowpictureindex=7", "lefttoppoint=9,1", "clientrect=9,1,28,16", "fontcolor=255" });
    TbsDataSkinPopupWindow popup;
    popup.LoadFromIni(d);
    EXPECT_EQ(popup.windowpictureindex, 2);
    EXPECT_EQ(popup.maskpictureindex, 4);
    EXPECT_EQ(popup.itemsrect, (TRect { 3, 3, 37, 37 }));
    EXPECT_TRUE(popup.topstretch);
    EXPECT_FALSE(popup.leftstretch);
    TbsDataSkinHintWindow hint;
    hint.LoadFromIni(d);
    EXPECT_EQ(hint.windowpictureindex, 7);
    EXPECT_EQ(hint.maskpictureindex, -1);
    EXPECT_EQ(hint.lefttoppoint, (TPoint { 9, 1 }));
    EXPECT_EQ(hint.clientrect, (TRect { 9, 1, 28, 16 }));
    EXPECT_EQ(hint.fontcolor, 255);
    EXPECT_EQ(hint.fontname, "Arial");
}

// Pixolo's own skin, as the program carries it: what the windows need of it is there and consistent.
#include "storedskin/StoredSkin.h"
#include "platform/FontSet.h"
#include "skin/SkinIni.h"
#include "skin/TbsSkinData.h"

#include <QFile>

#include <gtest/gtest.h>

#include <set>

using namespace pixolo;

namespace
{

bool within(const TRect &inner, const TRect &outer)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right
        && inner.Bottom <= outer.Bottom;
}

TRect pictureRect(const TBitmap &bitmap)
{
    return { 0, 0, bitmap.Width(), bitmap.Height() };
}

// One load of the built-in skin for the whole suite: the tests only read it.
class StoredSkinTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_skin = new TbsCompressedStoredSkin;
        s_skin->SetCompressedData(pixoloStoredSkin().toByteArray());
        s_store = new TbsSkinData;
        s_store->SetCompressedStoredSkin(s_skin);
    }

    static void TearDownTestSuite()
    {
        delete s_store;
        delete s_skin;
    }

    template <class T> static const T &control(const char *name)
    {
        const int i = s_store->FindControlIndex(QString::fromLatin1(name));
        EXPECT_GE(i, 0) << name;
        const auto *data = dynamic_cast<const T *>(s_store->ControlList.at(size_t(i)).get());
        EXPECT_NE(data, nullptr) << name;
        return *data;
    }

    template <class T> static const T &object(const char *name)
    {
        const int i = s_store->FindObjectIndex(QString::fromLatin1(name));
        EXPECT_GE(i, 0) << name;
        const auto *data = dynamic_cast<const T *>(s_store->ObjectList.at(size_t(i)).get());
        EXPECT_NE(data, nullptr) << name;
        return *data;
    }

    static inline TbsCompressedStoredSkin *s_skin = nullptr;
    static inline TbsSkinData *s_store = nullptr;
};

} // namespace

TEST_F(StoredSkinTest, IsAMaximumCompressionStreamOfAVersionThreeContainer)
{
    const QByteArrayView bytes = pixoloStoredSkin();
    ASSERT_GT(bytes.size(), 2);
    EXPECT_EQ(uchar(bytes[0]), 0x78);
    EXPECT_EQ(uchar(bytes[1]), 0xDA);
    TMemoryStream container;
    s_skin->DecompressToStream(container);
    container.SetPosition(0);
    EXPECT_EQ(readContainerInteger(container), 3);
    // Our own art inflates to its own size (the figure is in the tool's describe output), not to 196004 bytes.
    EXPECT_GT(container.Size(), 100000);
}

TEST_F(StoredSkinTest, CarriesTheFormPicturesAndEightNumberedOnes)
{
    ASSERT_FALSE(s_store->Empty());
    EXPECT_EQ(s_store->Picture.Width(), 176);
    EXPECT_EQ(s_store->Picture.Height(), 147);
    EXPECT_EQ(s_store->Picture.PixelFormat(), pf8bit);
    EXPECT_TRUE(s_store->InActivePicture.Empty());
    EXPECT_EQ(s_store->MaskPicture.Width(), 176);
    EXPECT_EQ(s_store->MaskPicture.Height(), 147);
    EXPECT_EQ(s_store->MaskPicture.PixelFormat(), pf1bit);
    ASSERT_EQ(s_store->ActivePictures.size(), 8u);
    for (const TBitmap &picture : s_store->ActivePictures) {
        const TPixelFormat f = picture.PixelFormat();
        EXPECT_TRUE(f == pf1bit || f == pf8bit || f == pf24bit);
    }
    EXPECT_EQ(s_store->ActivePictures[4].PixelFormat(), pf1bit); // the popup window's mask
}

TEST_F(StoredSkinTest, LoadsTwelveObjectsAndFiftyOneControls)
{
    ASSERT_EQ(s_store->ObjectList.size(), 12u);
    EXPECT_EQ(s_store->ControlList.size(), 51u); // its 52nd entry, "header:header", makes nothing
    std::set<std::string> types;
    for (const auto &o : s_store->ObjectList) {
        types.insert(o->TypeWord());
    }
    EXPECT_EQ(
        types, (std::set<std::string> { "caption", "stdbutton", "menuitem", "mainmenubaritem", "mainmenubarbutton" }));
    EXPECT_EQ(s_store->FindObjectIndex("MENUITEM"), 6);
    EXPECT_EQ(s_store->FindObjectIndex("menuitem"), -1);
    EXPECT_EQ(s_store->FindControlIndex("Panel"), -1);
    EXPECT_EQ(s_store->FindControlIndex("header"), -1);
}

TEST_F(StoredSkinTest, FormInformationIsAsTheFrameExpectsIt)
{
    EXPECT_EQ(s_store->lefttoppoint, (TPoint { 48, 35 }));
    EXPECT_EQ(s_store->righttoppoint, (TPoint { 99, 34 }));
    EXPECT_EQ(s_store->leftbottompoint, (TPoint { 20, 117 }));
    EXPECT_EQ(s_store->rightbottompoint, (TPoint { 141, 117 }));
    EXPECT_EQ(s_store->clientrect, (TRect { 15, 33, 163, 124 }));
    EXPECT_EQ(s_store->maskrectarea, (TRect { 5, 6, 170, 141 }));
    EXPECT_EQ(s_store->borderwidth, 5);
    EXPECT_FALSE(s_store->MaskPictureName.isEmpty());
    for (const TPoint &p : { s_store->hittestlefttoppoint, s_store->hittestrighttoppoint,
             s_store->hittestleftbottompoint, s_store->hittestrightbottompoint }) {
        EXPECT_FALSE(IsNullPoint(p));
    }
    EXPECT_TRUE(IsNullRect(s_store->buttonsrect));
    EXPECT_TRUE(IsNullRect(s_store->captionrect));
    EXPECT_FALSE(s_store->autorenderinginactiveimage);
    EXPECT_TRUE(s_store->InActivePictureName.isEmpty());
    EXPECT_EQ(s_store->formminwidth, 0);
    EXPECT_EQ(s_store->bgpictureindex, -1);
    EXPECT_EQ(s_store->SkinColors.cbtnface, 0); // no [SKINCOLORS]: every colour reads 0
    EXPECT_EQ(s_store->SkinColors.cbtnshadow, 0);
}

TEST_F(StoredSkinTest, TheCaptionWidensAndTheButtonsMoveWithTheRightEdge)
{
    const TRect tl { 0, 0, s_store->lefttoppoint.X, s_store->lefttoppoint.Y };
    const TRect tr { s_store->righttoppoint.X, 0, s_store->Picture.Width(), s_store->righttoppoint.Y };
    const auto &caption = object<TbsDataSkinCaption>("caption1");
    EXPECT_TRUE(pointInRect(tl, { caption.skinrect.Left, caption.skinrect.Top }));
    EXPECT_TRUE(pointInRect(tr, { caption.skinrect.Right, caption.skinrect.Bottom }));
    EXPECT_TRUE(IsNullRect(caption.activeskinrect));
    EXPECT_EQ(caption.fontname, "Arial");
    EXPECT_EQ(caption.fontheight, 14);
    EXPECT_EQ(caption.fontstyle, fsBold);
    EXPECT_EQ(caption.activefontcolor, 16777215);
    EXPECT_EQ(caption.fontcolor, 12632256);
    EXPECT_EQ(caption.alignment, taCenter);
    EXPECT_TRUE(caption.shadow);
    EXPECT_EQ(caption.shadowcolor, 0);
    EXPECT_EQ(caption.activeshadowcolor, 0);
    EXPECT_EQ(caption.textrect, (TRect { 2, 1, RectWidth(caption.skinrect) - 1, 14 }));

    const struct {
        const char *name;
        TbsStdCommand command;
        const char *hint;
    } buttons[] = { { "rollupbutton", cmRollUp, "RollUp" }, { "closebutton", cmClose, "Close" },
        { "minbutton", cmMinimize, "Minimize" }, { "maxbutton", cmMaximize, "Maximize" },
        { "sysmenubutton", cmSysMenu, "System menu" } };
    for (const auto &b : buttons) {
        const auto &data = object<TbsDataSkinStdButton>(b.name);
        EXPECT_EQ(data.command, b.command) << b.name;
        EXPECT_EQ(data.hint, QString::fromLatin1(b.hint));
        EXPECT_FALSE(data.skinrectinapicture);
        EXPECT_TRUE(RectWithinRect(data.skinrect, b.command == cmSysMenu ? tl : tr)) << b.name;
        // A pressed look only: no hover look, no morph.
        EXPECT_TRUE(IsNullRect(data.activeskinrect));
        EXPECT_FALSE(data.morphing);
        const TBitmap *picture = s_store->ActivePicture(data.activepictureindex);
        ASSERT_NE(picture, nullptr) << b.name;
        EXPECT_FALSE(IsNullRect(data.downrect));
        EXPECT_TRUE(within(data.downrect, pictureRect(*picture)));
        EXPECT_EQ(RectWidth(data.downrect), RectWidth(data.skinrect));
    }
}

TEST_F(StoredSkinTest, MenusAndHintsUseTheirStatedPictures)
{
    EXPECT_EQ(s_store->PopupWindow.windowpictureindex, 2);
    EXPECT_EQ(s_store->PopupWindow.maskpictureindex, 4);
    const auto &item = object<TbsDataSkinMenuItem>("MENUITEM");
    EXPECT_EQ(item.activepictureindex, 1);
    EXPECT_EQ(RectHeight(item.skinrect), 22);
    EXPECT_EQ(RectHeight(item.dividerrect), 8);
    EXPECT_EQ(item.fontcolor, 0);
    EXPECT_EQ(item.activefontcolor, 33023);
    EXPECT_EQ(item.unenabledfontcolor, 8421504);
    const auto &hint = s_store->HintWindow;
    EXPECT_EQ(hint.windowpictureindex, 7);
    EXPECT_EQ(s_store->ActivePictures[7].Width(), 29);
    EXPECT_EQ(s_store->ActivePictures[7].Height(), 17);
    EXPECT_EQ(hint.lefttoppoint, (TPoint { 9, 1 }));
    EXPECT_EQ(hint.righttoppoint, (TPoint { 27, 1 }));
    EXPECT_EQ(hint.leftbottompoint, (TPoint { 9, 15 }));
    EXPECT_EQ(hint.rightbottompoint, (TPoint { 27, 15 }));
    EXPECT_EQ(hint.clientrect, (TRect { 9, 1, 28, 16 }));
    EXPECT_EQ(hint.maskpictureindex, -1);
    EXPECT_EQ(hint.fontname, "Arial");
    EXPECT_EQ(hint.fontheight, 14);
    EXPECT_EQ(hint.fontcolor, 0);
}

TEST_F(StoredSkinTest, TheWindowsControlEntriesHaveTheirStatedShapes)
{
    const auto &button = control<TbsDataSkinButtonControl>("button");
    EXPECT_EQ(button.skinrect, (TRect { 0, 1, 66, 22 }));
    EXPECT_EQ(button.lefttoppoint.X, 10);
    EXPECT_EQ(button.righttoppoint, (TPoint { 52, 11 }));
    EXPECT_EQ(button.leftbottompoint, TPoint {});
    EXPECT_EQ(button.rightbottompoint, TPoint {});
    EXPECT_FALSE(button.stretcheffect);
    EXPECT_EQ(button.animateskinrect, TRect {});
    EXPECT_EQ(button.framecount, 0);
    EXPECT_EQ(button.animateinterval, 25);
    EXPECT_FALSE(button.showfocus);
    control<TbsDataSkinButtonControl>("toolbutton");
    EXPECT_EQ(control<TbsDataSkinStdLabelControl>("stdlabel").activefontcolor, 33023);
    EXPECT_EQ(RectHeight(control<TbsDataSkinEditControl>("edit").skinrect), 22);
    control<TbsDataSkinLabelControl>("label");
    control<TbsDataSkinLabelControl>("statuspanel");

    // The panel grows both ways and keeps its children three pixels inside its frame.
    const auto &panel = control<TbsDataSkinPanelControl>("panel");
    EXPECT_TRUE(panel.rightbottompoint.X != 0 && panel.rightbottompoint.Y != 0);
    EXPECT_EQ(panel.clientrect.Left, 3);
    EXPECT_EQ(panel.clientrect.Top, 3);
    EXPECT_EQ(panel.bgpictureindex, -1);
    // The status bar and the check box grow in width only: only their right-top points are set.
    for (const TbsDataSkinCustomControl *c :
        { static_cast<const TbsDataSkinCustomControl *>(&control<TbsDataSkinPanelControl>("statusbar")),
            static_cast<const TbsDataSkinCustomControl *>(&control<TbsDataSkinCheckRadioControl>("checkbox")) }) {
        EXPECT_FALSE(c->righttoppoint.X == 0 && c->righttoppoint.Y == 0) << c->IDName.toStdString();
        EXPECT_TRUE(c->rightbottompoint.X == 0 || c->rightbottompoint.Y == 0) << c->IDName.toStdString();
    }
    const auto &check = control<TbsDataSkinCheckRadioControl>("checkbox");
    EXPECT_LT(check.checkimagearea.Right, check.textarea.Right); // the check image stays put as the box widens
}

// Every picture an entry names exists, and every image rectangle lies inside its picture.
TEST_F(StoredSkinTest, EveryEntryPointsIntoAnExistingPicture)
{
    for (const auto &c : s_store->ControlList) {
        if (c->pictureindex < 0) {
            continue;
        }
        const TBitmap *picture = s_store->ActivePicture(c->pictureindex);
        ASSERT_NE(picture, nullptr) << c->IDName.toStdString();
        EXPECT_TRUE(within(c->skinrect, pictureRect(*picture))) << c->IDName.toStdString();
        const auto *custom = dynamic_cast<const TbsDataSkinCustomControl *>(c.get());
        if (custom && !IsNullRect(custom->clientrect)) {
            EXPECT_TRUE(within(custom->clientrect, { 0, 0, RectWidth(c->skinrect), RectHeight(c->skinrect) }))
                << c->IDName.toStdString();
        }
    }
    for (const auto &o : s_store->ObjectList) {
        const TBitmap *picture = s_store->ActivePicture(o->activepictureindex);
        if (o->activepictureindex >= 0) {
            ASSERT_NE(picture, nullptr) << o->IDName.toStdString();
        }
        if (!picture && o->skinrectinapicture) {
            ADD_FAILURE() << o->IDName.toStdString() << ": its skin rectangle lies in no picture";
            continue;
        }
        const TRect frame = o->skinrectinapicture ? pictureRect(*picture) : pictureRect(s_store->Picture);
        EXPECT_TRUE(within(o->skinrect, frame)) << o->IDName.toStdString();
    }
}

// The program carries exactly what the sources in skins/pixolo pack to: the build is fresh and deterministic.
TEST_F(StoredSkinTest, TheSourcesPackToTheBytesTheProgramCarries)
{
    TbsCompressedStoredSkin fromSources;
    fromSources.ImportSkinFolder(QStringLiteral(PIXOLO_SOURCE_DIR "/skins/pixolo/skin.ini"));
    EXPECT_EQ(fromSources.CompressedData(), pixoloStoredSkin().toByteArray());
}

// Every font the skin names is one the program maps to its chosen families: a name left out would be drawn by
// whatever the machine prefers for it.
TEST_F(StoredSkinTest, EveryFontItNamesIsInTheFontSet)
{
    QFile file(QStringLiteral(PIXOLO_SOURCE_DIR "/skins/pixolo/skin.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const SkinIni ini(SkinIni::splitLines(file.readAll()));
    int names = 0;
    for (const QString &line : ini.GetStrings()) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        if (key.endsWith(QStringLiteral("fontname"), Qt::CaseInsensitive)) {
            ++names;
            EXPECT_FALSE(fontFamiliesFor(line.section(QLatin1Char('='), 1)).isEmpty()) << line.toStdString();
        }
    }
    EXPECT_GT(names, 0);
}

// The skin data store: decoding containers, the fixed sections and their corrections, the entry lists, the
// change messages; and the two imports of the stored skin component.
#include "SkinContainer.h"

#include "platform/EConvertError.h"
#include "skin/BmpFile.h"
#include "skin/SkinMessage.h"
#include "skin/TbsResourceStrData.h"
#include "skin/TbsSkinData.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

const QByteArray s_description = "[VERSION]\r\n"
                                 "skinname=Mini\r\n"
                                 "[PICTURES]\r\n"
                                 "picture=p.bmp\r\n"
                                 "mask=m.bmp\r\n"
                                 "activepicturescount=1\r\n"
                                 "0=a.bmp\r\n"
                                 "[FORMINFO]\r\n"
                                 "lefttoppoint=48,35\r\n"
                                 "righttoppoint=99,34\r\n"
                                 "leftbottompoint=20,117\r\n"
                                 "rightbottompoint=141,117\r\n"
                                 "clientrect=15,33,163,124\r\n"
                                 "maskrectarea=5,6,170,141\r\n"
                                 "[POPUPWINDOW]\r\n"
                                 "windowpictureindex=0\r\n"
                                 "[HINTWINDOW]\r\n"
                                 "windowpictureindex=0\r\n"
                                 "[SKINOBJECTS]\r\n"
                                 "count=3\r\n"
                                 "0=caption1:caption\r\n"
                                 "1=broken entry\r\n"
                                 "2=MENUITEM:menuitem\r\n"
                                 "[SKINCONTROLS]\r\n"
                                 "count=4\r\n"
                                 "0=panel:panel\r\n"
                                 "1=header:header\r\n"
                                 "2=button:button\r\n"
                                 "3=panel:label\r\n"
                                 "[caption1]\r\n"
                                 "skinrect=30,10,102,26\r\n"
                                 "[panel]\r\n"
                                 "pictureindex=0\r\n";

// A small skin: the form pictures, one numbered picture and the description above (or another text).
ContainerBuilder miniSkin(qint32 version = 3, const QByteArray &text = s_description)
{
    ContainerBuilder b;
    b.integer(version);
    formPictures(b);
    return b.integer(1).bitmap(solidBitmap(2, 2, pf24bit, qRgb(1, 2, 3))).raw(text);
}

enum Notice { AboutToChange, Changed, AfterChange, StringsChanged };

struct Message {
    Notice notice;
    TbsSkinData *store;
    QWidget *window;
    bool operator==(const Message &) const = default;
};

// Records the notices of the stores it listens to, with the window each is meant for.
class MessageLog : public QObject
{
public:
    void listen(TbsSkinData *store)
    {
        const auto record = [this, store](Notice notice) {
            return [this, store, notice](QWidget *window) { messages.push_back({ notice, store, window }); };
        };
        connect(store, &TbsSkinData::aboutToChange, this, record(AboutToChange));
        connect(store, &TbsSkinData::changed, this, record(Changed));
        connect(store, &TbsSkinData::afterChange, this, record(AfterChange));
        connect(store, &TbsSkinData::stringsChanged, this, record(StringsChanged));
    }
    std::vector<Message> messages;
    std::vector<Notice> numbers() const
    {
        std::vector<Notice> n;
        for (const Message &m : messages) {
            n.push_back(m.notice);
        }
        return n;
    }
    std::vector<QWidget *> windows() const
    {
        std::vector<QWidget *> w;
        for (const Message &m : messages) {
            w.push_back(m.window);
        }
        return w;
    }
};

class TbsSkinDataTest : public testing::Test
{
protected:
    void SetUp() override { m_log.listen(&m_store); }

    void load(const ContainerBuilder &container)
    {
        container.into(m_storedSkin);
        m_store.LoadStoredSkin(m_storedSkin);
    }

    // Replaces [FORMINFO] of the small skin and loads it.
    void loadFormInfo(const char *lines, const char *mask = "m.bmp")
    {
        QByteArray text = "[PICTURES]\r\nmask=" + QByteArray(mask) + "\r\n[FORMINFO]\r\n" + lines;
        load(miniSkin(3, text));
    }

    QWidget m_window;
    MessageLog m_log;
    TbsSkinData m_store { &m_window };
    TbsCompressedStoredSkin m_storedSkin;
};

const std::vector<Notice> s_loadMessages { AboutToChange, Changed, AfterChange };

} // namespace

TEST_F(TbsSkinDataTest, AnEmptyStoredSkinLoadsNothingAndSaysNothing)
{
    EXPECT_TRUE(m_storedSkin.IsEmpty());
    m_store.SetCompressedStoredSkin(&m_storedSkin);
    EXPECT_TRUE(m_store.Empty());
    EXPECT_TRUE(m_log.messages.empty());
}

TEST_F(TbsSkinDataTest, LoadsPicturesDescriptionAndEntries)
{
    load(miniSkin());
    ASSERT_FALSE(m_store.Empty());
    EXPECT_EQ(m_store.Picture.Width(), 4);
    EXPECT_EQ(m_store.Picture.PixelFormat(), pf8bit);
    EXPECT_TRUE(m_store.InActivePicture.Empty());
    EXPECT_EQ(m_store.MaskPicture.PixelFormat(), pf1bit);
    ASSERT_EQ(m_store.ActivePictures.size(), 1u);
    EXPECT_EQ(m_store.ActivePictures[0].toRgb32().pixel(1, 1), qRgb(1, 2, 3));
    EXPECT_EQ(m_store.skinname, "Mini");
    EXPECT_EQ(m_store.PictureName, "p.bmp");
    EXPECT_EQ(m_store.MaskPictureName, "m.bmp");
    EXPECT_EQ(m_store.ActivePictureNames, QStringList { "a.bmp" });
    EXPECT_EQ(m_store.PopupWindow.windowpictureindex, 0);
    // Unknown type words and entries without ':' make nothing.
    ASSERT_EQ(m_store.ObjectList.size(), 2u);
    EXPECT_EQ(m_store.ObjectList[1]->IDName, "MENUITEM");
    ASSERT_EQ(m_store.ControlList.size(), 3u);
    EXPECT_EQ(m_store.ObjectList[0]->skinrect, (TRect { 30, 10, 102, 26 }));
    EXPECT_EQ(m_store.ControlList[0]->pictureindex, 0);
}

// The pictures keep the format they were stored in and are ready for painting once the skin is in: every paint
// gets the same converted pixels rather than converting them again.
TEST_F(TbsSkinDataTest, PicturesAreConvertedForPaintingOnceWhenTheSkinLoads)
{
    const TBitmap loose = solidBitmap(2, 2, pf24bit, qRgb(1, 2, 3));
    EXPECT_NE(loose.toRgb32().cacheKey(), loose.toRgb32().cacheKey()); // a bitmap of its own converts every time

    load(miniSkin());
    for (const TBitmap *picture : { &m_store.Picture, &m_store.MaskPicture, &m_store.ActivePictures.at(0) }) {
        const QImage painted = picture->toRgb32();
        EXPECT_EQ(painted.format(), QImage::Format_RGB32);
        EXPECT_EQ(painted.cacheKey(), picture->toRgb32().cacheKey());
        EXPECT_EQ(painted, picture->image().convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_EQ(m_store.Picture.PixelFormat(), pf8bit);
    EXPECT_EQ(m_store.ActivePicture(0)->toRgb32().cacheKey(), m_store.ActivePictures[0].toRgb32().cacheKey());
}

TEST_F(TbsSkinDataTest, APictureChangedAfterTheLoadPaintsWithItsNewPixels)
{
    load(miniSkin());
    TBitmap &picture = m_store.ActivePictures.at(0);
    uchar *row = picture.ScanLine(1);
    row[3] = 9; // blue of pixel (1, 1): rows are blue, green, red
    EXPECT_EQ(picture.toRgb32().pixel(1, 1), qRgb(1, 2, 9));
    picture.SetPixelFormat(pf8bit);
    EXPECT_EQ(picture.toRgb32(), picture.image().convertToFormat(QImage::Format_RGB32));
    m_store.Picture.SetSize(1, 1);
    EXPECT_EQ(m_store.Picture.toRgb32().size(), QSize(1, 1));
    m_store.MaskPicture.Clear();
    EXPECT_TRUE(m_store.MaskPicture.toRgb32().isNull());
}

TEST_F(TbsSkinDataTest, LookupsAreExactAndFindTheFirstEntry)
{
    load(miniSkin());
    EXPECT_EQ(m_store.FindObjectIndex("MENUITEM"), 1);
    EXPECT_EQ(m_store.FindObjectIndex("menuitem"), -1);
    EXPECT_EQ(m_store.FindControlIndex("panel"), 0);
    EXPECT_EQ(m_store.FindControlIndex("Panel"), -1);
    EXPECT_EQ(m_store.FindControlIndex("header"), -1);
    EXPECT_STREQ(m_store.ControlList[size_t(m_store.FindControlIndex("panel"))]->TypeWord(), "panel");
}

TEST_F(TbsSkinDataTest, PictureIndexesOutsideTheListMeanNoPicture)
{
    load(miniSkin());
    EXPECT_NE(m_store.ActivePicture(0), nullptr);
    for (const int index : { -1, -2, 1, 1000, INT_MAX }) {
        EXPECT_EQ(m_store.ActivePicture(index), nullptr) << index;
    }
}

TEST_F(TbsSkinDataTest, ALoadSendsItsThreeMessagesToTheOwnerWithTheStore)
{
    load(miniSkin());
    ASSERT_EQ(m_log.numbers(), s_loadMessages);
    for (const Message &m : m_log.messages) {
        EXPECT_EQ(m.store, &m_store);
        EXPECT_EQ(m.window, &m_window);
    }
}

TEST_F(TbsSkinDataTest, AssigningTheSameStoredSkinTwiceReloadsTwice)
{
    miniSkin().into(m_storedSkin);
    m_store.SetCompressedStoredSkin(&m_storedSkin);
    m_store.SetCompressedStoredSkin(&m_storedSkin);
    EXPECT_EQ(m_log.numbers(),
        (std::vector<Notice> { AboutToChange, Changed, AfterChange, AboutToChange, Changed, AfterChange }));
    EXPECT_EQ(m_store.ObjectList.size(), 2u); // the second load replaced the first, it did not add to it
}

TEST_F(TbsSkinDataTest, OtherSkinnedWindowsHearTheStoreAfterItsOwner)
{
    QWidget other;
    TbsSkinData otherStore(&other); // registers the other window
    m_log.listen(&otherStore);
    load(miniSkin());
    ASSERT_EQ(m_log.messages.size(), 6u);
    EXPECT_EQ(m_log.messages[0].window, &m_window);
    EXPECT_EQ(m_log.messages[1].window, &other);
    EXPECT_EQ(m_log.messages[1].store, &m_store); // the other window's receivers bound to this store act on it
    EXPECT_TRUE(otherStore.Empty());
}

TEST_F(TbsSkinDataTest, TheOwnerComesFirstThenTheOthersInTheirRegistrationOrder)
{
    QWidget first;
    registerSkinWindow(&first);
    QWidget second;
    registerSkinWindow(&second);
    QWidget owner; // registered last, by its store
    TbsSkinData store(&owner);
    registerSkinWindow(&first); // a second registration keeps the first place
    m_log.listen(&store);
    miniSkin().into(m_storedSkin);
    store.LoadStoredSkin(m_storedSkin);
    const std::vector<QWidget *> round { &owner, &m_window, &first, &second };
    std::vector<QWidget *> expected;
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), round.begin(), round.end());
    }
    EXPECT_EQ(m_log.windows(), expected);
}

TEST_F(TbsSkinDataTest, DestroyedWindowsDropOutEvenDuringANotice)
{
    auto gone = std::make_unique<QWidget>();
    registerSkinWindow(gone.get());
    gone.reset();
    auto closed = std::make_unique<QWidget>();
    registerSkinWindow(closed.get());
    // The owner's receiver closes the other window before that window's turn comes.
    QObject::connect(&m_store, &TbsSkinData::aboutToChange, &m_window, [&](QWidget *window) {
        if (window == &m_window) {
            closed.reset();
        }
    });
    load(miniSkin());
    EXPECT_EQ(m_log.windows(), (std::vector<QWidget *> { &m_window, &m_window, &m_window }));
}

TEST_F(TbsSkinDataTest, AStoreWithoutAWindowTellsEverySkinnedWindow)
{
    QWidget other;
    registerSkinWindow(&other);
    QWidget notAWindow(&other);
    TbsSkinData inner(&notAWindow);
    TbsSkinData loose;
    m_log.listen(&inner);
    m_log.listen(&loose);
    inner.SetResourceStrData(nullptr);
    loose.SetResourceStrData(nullptr);
    EXPECT_EQ(m_log.messages,
        (std::vector<Message> { { StringsChanged, &inner, &m_window }, { StringsChanged, &inner, &other },
            { StringsChanged, &loose, &m_window }, { StringsChanged, &loose, &other } }));
}

TEST_F(TbsSkinDataTest, VersionFourIsRejectedAfterTheStoreWasCleared)
{
    load(miniSkin());
    m_log.messages.clear();
    load(miniSkin(4));
    EXPECT_TRUE(m_store.Empty());
    EXPECT_TRUE(m_store.ObjectList.empty());
    EXPECT_TRUE(m_store.ControlList.empty());
    EXPECT_TRUE(m_store.ActivePictures.empty());
    EXPECT_TRUE(m_store.Picture.Empty());
    EXPECT_TRUE(m_store.MaskPictureName.isEmpty());
    EXPECT_EQ(m_store.PopupWindow.windowpictureindex, -1);
    EXPECT_EQ(m_store.HintWindow.windowpictureindex, -1);
    EXPECT_EQ(m_store.SkinColors.cbtnface, int(0xFF00000Fu)); // back to the system colours
    EXPECT_EQ(m_log.numbers(), std::vector<Notice> { AboutToChange });
}

class ContainerVersionTest : public TbsSkinDataTest, public testing::WithParamInterface<qint32>
{
};

TEST_P(ContainerVersionTest, OnlyVersionTwoCarriesTwoMorePictures)
{
    const qint32 version = GetParam();
    ContainerBuilder b;
    b.integer(version);
    formPictures(b);
    if (version == 2) {
        b.flagged(solidBitmap(3, 3, pf24bit, qRgb(9, 9, 9))).flagged(TBitmap());
    }
    load(b.integer(0).raw(s_description));
    EXPECT_FALSE(m_store.Empty());
    EXPECT_EQ(m_store.ObjectList.size(), 2u);
    EXPECT_TRUE(m_store.ActivePictures.empty()); // count 0: the description follows at once
}

INSTANTIATE_TEST_SUITE_P(Versions, ContainerVersionTest, testing::Values(-1, 0, 1, 2, 3));

TEST_F(TbsSkinDataTest, AnyNonZeroFlagMeansAnEmptyPictureWithNothingAfterIt)
{
    ContainerBuilder b;
    b.integer(3).flagged(solidBitmap(4, 3, pf8bit, qRgb(1, 1, 1))).raw(QByteArray(1, '\x07'));
    b.flagged(solidBitmap(4, 3, pf1bit, qRgb(255, 255, 255))).integer(0).raw(s_description);
    load(b);
    EXPECT_TRUE(m_store.InActivePicture.Empty());
    EXPECT_EQ(m_store.MaskPicture.Width(), 4);
    EXPECT_FALSE(m_store.Empty());
}

TEST_F(TbsSkinDataTest, ADescriptionWithoutAFinalLineBreakReadsTheSame)
{
    load(miniSkin(3, s_description.chopped(2)));
    EXPECT_EQ(m_store.ControlList[0]->pictureindex, 0);
    EXPECT_EQ(m_store.ControlList.size(), 3u);
}

TEST_F(TbsSkinDataTest, AContainerWithoutTextLoadsEmptyLists)
{
    load(miniSkin(3, QByteArray()));
    EXPECT_FALSE(m_store.Empty());
    EXPECT_TRUE(m_store.ObjectList.empty());
    EXPECT_EQ(m_store.SkinColors.cbtnface, 0); // [SKINCOLORS] missing: every colour reads 0
}

TEST_F(TbsSkinDataTest, DamagedDataRaisesAndLeavesTheStoreEmpty)
{
    load(miniSkin());
    QByteArray damaged = m_storedSkin.CompressedData();
    for (qsizetype i = 10; i < 60; ++i) {
        damaged[i] = char(~damaged[i]);
    }
    m_storedSkin.SetCompressedData(damaged);
    try {
        m_store.LoadStoredSkin(m_storedSkin);
        ADD_FAILURE() << "damaged data loaded";
    } catch (const EDecompressionError &e) {
        EXPECT_STREQ(e.what(), "compression error");
    }
    EXPECT_TRUE(m_store.Empty());
    EXPECT_TRUE(m_store.ObjectList.empty());
}

TEST_F(TbsSkinDataTest, CutOrLyingContainersRaiseCleanly)
{
    ContainerBuilder noVersion;
    noVersion.raw("ab");
    EXPECT_THROW(load(noVersion), EReadError);

    ContainerBuilder lyingBitmap;
    QByteArray bmp = writeBmp(solidBitmap(4, 3, pf8bit, qRgb(1, 1, 1)));
    bmp[2] = char(0x7F); // says it is longer than what follows
    lyingBitmap.integer(3).raw(QByteArray(1, '\0')).raw(bmp);
    EXPECT_THROW(load(lyingBitmap), EInvalidGraphic);

    ContainerBuilder tooManyPictures;
    tooManyPictures.integer(3);
    formPictures(tooManyPictures).integer(1000000).bitmap(solidBitmap(1, 1, pf24bit, 0));
    EXPECT_THROW(load(tooManyPictures), EInvalidGraphic);
    EXPECT_TRUE(m_store.Empty());
    EXPECT_EQ(m_store.ActivePictures.size(), 2u); // what was read so far stays, unused while Empty
    EXPECT_EQ(m_store.ActivePicture(1), nullptr);

    EXPECT_THROW(load(miniSkin(3, "[FORMINFO]\r\nclientrect=1,2\r\n")), EConvertError);
    EXPECT_TRUE(m_store.Empty());
}

// Regression: a count of two billion made the store read two billion missing keys.
TEST_F(TbsSkinDataTest, AHugeEntryCountReadsOnlyTheEntriesThatExist)
{
    load(miniSkin(3,
        "[SKINCONTROLS]\r\ncount=2147483647\r\n0=panel:panel\r\n1=edit:edit\r\n"
        "[SKINOBJECTS]\r\ncount=2000000000\r\n"));
    EXPECT_EQ(m_store.ControlList.size(), 2u);
    EXPECT_TRUE(m_store.ObjectList.empty());
}

TEST_F(TbsSkinDataTest, CornerPointsInsideTheClientAreaStayAndTheMaskAreaAlreadyHoldsIt)
{
    loadFormInfo("lefttoppoint=48,35\r\nrighttoppoint=99,34\r\nleftbottompoint=20,117\r\nrightbottompoint=141,117\r\n"
                 "clientrect=15,33,163,124\r\nmaskrectarea=5,6,170,141\r\nhittestlefttoppoint=16,16\r\n"
                 "hittestrighttoppoint=160,16\r\nhittestleftbottompoint=16,131\r\nhittestrightbottompoint=160,131\r\n");
    EXPECT_EQ(m_store.lefttoppoint, (TPoint { 48, 35 }));
    EXPECT_EQ(m_store.righttoppoint, (TPoint { 99, 34 }));
    EXPECT_EQ(m_store.leftbottompoint, (TPoint { 20, 117 }));
    EXPECT_EQ(m_store.rightbottompoint, (TPoint { 141, 117 }));
    EXPECT_EQ(m_store.maskrectarea, (TRect { 5, 6, 170, 141 }));
    EXPECT_EQ(m_store.hittestrightbottompoint, (TPoint { 160, 131 }));
}

TEST_F(TbsSkinDataTest, WithAMaskTheMaskAreaTakesTheClientAreaAndNullHitPointsTakeTheCorners)
{
    loadFormInfo("lefttoppoint=10,2\r\nrighttoppoint=90,2\r\nleftbottompoint=10,80\r\nrightbottompoint=95,99\r\n"
                 "clientrect=15,33,80,90\r\nhittestrighttoppoint=0,7\r\nhittestleftbottompoint=3,4\r\n");
    EXPECT_EQ(m_store.maskrectarea, (TRect { 15, 33, 80, 90 })); // empty: becomes the client area
    EXPECT_EQ(m_store.hittestlefttoppoint, (TPoint { 10, 2 })); // the corner points before clamping
    EXPECT_EQ(m_store.hittestrighttoppoint, (TPoint { 90, 2 })); // X = 0 counts as null
    EXPECT_EQ(m_store.hittestleftbottompoint, (TPoint { 3, 4 })); // not null: kept
    EXPECT_EQ(m_store.hittestrightbottompoint, (TPoint { 95, 99 }));
    // Then the corners are clamped into the client area.
    EXPECT_EQ(m_store.lefttoppoint, (TPoint { 15, 33 }));
    EXPECT_EQ(m_store.righttoppoint, (TPoint { 80, 33 }));
    EXPECT_EQ(m_store.leftbottompoint, (TPoint { 15, 80 }));
    EXPECT_EQ(m_store.rightbottompoint, (TPoint { 80, 90 }));

    loadFormInfo("clientrect=15,33,80,90\r\nmaskrectarea=20,10,70,95\r\n");
    EXPECT_EQ(m_store.maskrectarea, (TRect { 15, 10, 80, 95 })); // grown to hold the client area
}

TEST_F(TbsSkinDataTest, WithoutAMaskOrWithCornersSharingACoordinateNothingMoves)
{
    loadFormInfo("lefttoppoint=1,1\r\nrightbottompoint=200,200\r\nclientrect=15,33,80,90\r\n", "");
    EXPECT_EQ(m_store.maskrectarea, TRect {});
    EXPECT_EQ(m_store.hittestlefttoppoint, TPoint {});
    EXPECT_EQ(m_store.lefttoppoint, (TPoint { 15, 33 })); // the clamping does not depend on the mask
    EXPECT_EQ(m_store.rightbottompoint, (TPoint { 80, 90 }));

    loadFormInfo("righttoppoint=200,1\r\nclientrect=15,33,80,90\r\n", "");
    EXPECT_EQ(m_store.righttoppoint, (TPoint { 200, 1 })); // LT and RB both 0,0: no clamping at all
}

TEST_F(TbsSkinDataTest, ForgetsADestroyedStoredSkinButKeepsItsData)
{
    auto skin = std::make_unique<TbsCompressedStoredSkin>();
    miniSkin().into(*skin);
    m_store.SetCompressedStoredSkin(skin.get());
    skin.reset();
    EXPECT_EQ(m_store.CompressedStoredSkin(), nullptr);
    EXPECT_FALSE(m_store.Empty());
    EXPECT_EQ(m_store.ObjectList.size(), 2u);
}

TEST_F(TbsSkinDataTest, ReplaceableTextsAnnounceThemselves)
{
    auto strings = std::make_unique<TbsResourceStrData>();
    m_store.SetResourceStrData(strings.get());
    m_store.SetResourceStrData(nullptr);
    EXPECT_EQ(m_log.numbers(), (std::vector<Notice> { StringsChanged, StringsChanged }));
    m_store.SetResourceStrData(strings.get());
    strings.reset();
    EXPECT_EQ(m_store.ResourceStrData(), nullptr);
}

TEST(TbsResourceStrDataTest, LooksTextsUpByNameWithoutRegardToCase)
{
    TbsResourceStrData strings;
    EXPECT_EQ(strings.CharSet(), 1);
    EXPECT_EQ(strings.ResStrings().size(), 115); // every name the built-in table lists
    EXPECT_EQ(strings.GetResourceString("MI_ROLLUPCAPTION"), "Ro&llUp");
    EXPECT_EQ(strings.GetResourceString("menubutton_hint"), "System menu");
    EXPECT_EQ(strings.GetResourceString("EDIT_SELECTALL"), "Select All");
    EXPECT_EQ(strings.GetResourceString("MI_ROLLUP"), QString()); // a prefix is not a name
    strings.SetResStrings({ "A=x=y", "a=second", "B" });
    EXPECT_EQ(strings.GetResourceString("a"), "x=y");
    EXPECT_EQ(strings.GetResourceString("B"), QString());
    EXPECT_EQ(strings.GetResourceString("C"), QString());
}

class ImportTest : public testing::Test
{
protected:
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    TbsCompressedStoredSkin m_skin;
};

TEST_F(ImportTest, PacksAFolderThatTheStoreReadsBack)
{
    saveBmpFile(solidBitmap(4, 3, pf8bit, qRgb(7, 7, 7)), m_dir.filePath("p.bmp"));
    saveBmpFile(solidBitmap(4, 3, pf1bit, qRgb(255, 255, 255)), m_dir.filePath("m.bmp"));
    saveBmpFile(solidBitmap(2, 2, pf24bit, qRgb(1, 2, 3)), m_dir.filePath("a.bmp"));
    write("skin.ini", s_description.chopped(2) + "\n"); // any line break; no need for CR LF
    m_skin.ImportSkinFolder(m_dir.filePath("skin.ini"));
    ASSERT_FALSE(m_skin.IsEmpty());

    TbsSkinData store;
    store.LoadStoredSkin(m_skin);
    EXPECT_EQ(store.Picture.PixelFormat(), pf8bit);
    EXPECT_TRUE(store.InActivePicture.Empty());
    EXPECT_EQ(store.MaskPicture.PixelFormat(), pf1bit);
    ASSERT_EQ(store.ActivePictures.size(), 1u);
    EXPECT_EQ(store.ObjectList.size(), 2u);
    // The text is stored line by line, each ended by CR LF.
    TMemoryStream container;
    m_skin.DecompressToStream(container);
    EXPECT_TRUE(container.Data().endsWith("pictureindex=0\r\n"));
}

TEST_F(ImportTest, ADescriptionWithoutTheFiveSectionsChangesNothing)
{
    m_skin.SetCompressedData("old");
    write("skin.ini", "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n");
    m_skin.ImportSkinFolder(m_dir.filePath("skin.ini"));
    EXPECT_EQ(m_skin.CompressedData(), "old");
}

TEST_F(ImportTest, AMissingPictureRaisesAfterTheDataWasCleared)
{
    m_skin.SetCompressedData("old");
    write("skin.ini", "[VERSION]\n[PICTURES]\npicture=missing.bmp\n[FORMINFO]\n[SKINOBJECTS]\n[SKINCONTROLS]\n");
    EXPECT_THROW(m_skin.ImportSkinFolder(m_dir.filePath("skin.ini")), EFOpenError);
    EXPECT_TRUE(m_skin.IsEmpty());
    EXPECT_THROW(m_skin.ImportSkinFolder(m_dir.filePath("no-such.ini")), EFOpenError);
}

TEST_F(ImportTest, APictureCountBeyondTheNamesIsAMissingFile)
{
    saveBmpFile(solidBitmap(2, 2, pf24bit, qRgb(1, 2, 3)), m_dir.filePath("a.bmp"));
    write("skin.ini",
        "[VERSION]\n[PICTURES]\nactivepicturescount=3\n0=a.bmp\n[FORMINFO]\n[SKINOBJECTS]\n"
        "[SKINCONTROLS]\n");
    EXPECT_THROW(m_skin.ImportSkinFolder(m_dir.filePath("skin.ini")), EFOpenError);
}

TEST_F(ImportTest, ACompressedSkinFileGivesItsStream)
{
    ContainerBuilder file;
    file.integer(3).integer(5).raw("zlib!trailing");
    write("skin.bin", file.inflated());
    m_skin.ImportCompressedFile(m_dir.filePath("skin.bin"));
    EXPECT_EQ(m_skin.CompressedData(), "zlib!");

    ContainerBuilder newer;
    newer.integer(4).integer(5).raw("zlib!");
    write("newer.bin", newer.inflated());
    m_skin.ImportCompressedFile(m_dir.filePath("newer.bin"));
    EXPECT_TRUE(m_skin.IsEmpty());

    ContainerBuilder lying;
    lying.integer(3).integer(100).raw("short");
    write("lying.bin", lying.inflated());
    EXPECT_THROW(m_skin.ImportCompressedFile(m_dir.filePath("lying.bin")), EReadError);
    EXPECT_TRUE(m_skin.IsEmpty());

    ContainerBuilder none;
    none.integer(3).integer(0);
    write("none.bin", none.inflated());
    m_skin.ImportCompressedFile(m_dir.filePath("none.bin"));
    EXPECT_TRUE(m_skin.IsEmpty());
}

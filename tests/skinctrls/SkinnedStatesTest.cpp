// Skinned controls over time: binding and the store's notices, button and check box states under the mouse and
// keys, morphs with and without the store's effects, and the panels' skinned client areas.
#include "skin/SkinText.h"
#include "skinctrls/DefaultLook.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"

#include "../support/Images.h"
#include "ControlTesting.h"
#include "SkinTesting.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

template <class Control> Control *boundControl(SkinnedForm &skin, const char *name, QRect bounds)
{
    auto *control = new Control(skin.form.get());
    control->SetSkinDataName(QString::fromLatin1(name));
    control->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    control->SetSkinData(skin.store);
    return control;
}

// A panel that counts how often it applies its skin.
class CountingPanel final : public TbsSkinPanel
{
public:
    using TbsSkinPanel::TbsSkinPanel;
    void ApplySkin() override
    {
        ++applied;
        TbsSkinPanel::ApplySkin();
    }
    int applied = 0;
};

TEST(SkinBindingTest, NameThatTheStoreDoesNotHoldGivesTheDefaultLookAndSize)
{
    SkinnedForm skin;
    skin.load();
    auto *box = boundControl<TbsSkinCheckRadioBox>(skin, "Checkbox", { 0, 0, 150, 25 }); // names match exactly
    box->SetFlat(false);
    box->SetDefaultWidth(60);
    box->SetDefaultHeight(22);
    box->ApplySkin();
    EXPECT_EQ(box->SkinIndex(), -1);
    EXPECT_EQ(box->size(), QSize(60, 22));
    EXPECT_EQ(box->paintImage().pixel(30, 1), rgb(clBtnFace)); // the plain look
    box->SetSkinDataName(QStringLiteral("checkbox"));
    box->ApplySkin();
    EXPECT_NE(box->SkinIndex(), -1);
    EXPECT_NE(box->paintImage().pixel(30, 1), rgb(clBtnFace));
}

TEST(SkinBindingTest, DestroyedStoreGivesTheDefaultLookAtTheNextPaint)
{
    auto skin = std::make_unique<SkinnedForm>();
    skin->load();
    QWidget other;
    auto *button = new TbsSkinButton(&other);
    button->SetBounds(0, 0, 75, 25);
    button->SetSkinData(skin->store);
    ASSERT_EQ(button->height(), 21);
    ASSERT_NE(button->paintImage().pixel(0, 10), rgb(clBtnShadow));
    skin.reset();
    EXPECT_EQ(button->SkinData(), nullptr);
    EXPECT_EQ(button->paintImage().pixel(0, 10), rgb(clBtnShadow)); // the plain look's edge
}

TEST(SkinBindingTest, ControlsFollowTheirStoreThroughTheirWindow)
{
    SkinnedForm skin;
    auto *panel = boundControl<CountingPanel>(skin, "panel", { 0, 0, 100, 100 });
    auto *tool = boundControl<TbsSkinSpeedButton>(skin, "toolbutton", { 0, 0, 40, 40 });
    EXPECT_EQ(panel->applied, 0); // an empty store applies nothing
    skin.load();
    EXPECT_EQ(panel->applied, 1);
    EXPECT_EQ(tool->size(), QSize(25, 25)); // the tool button's fixed skin size

    // Before a reload the windowed control forgets its entry; the windowless one keeps nothing to forget. What
    // they hold is seen from a receiver that comes after them, while the old data is still there.
    int panelIndex = 0;
    int toolIndex = -1;
    QObject::connect(skin.store, &TbsSkinData::aboutToChange, skin.form.get(), [&] {
        panelIndex = panel->SkinIndex();
        toolIndex = tool->SkinIndex();
    });
    skin.load();
    EXPECT_EQ(panelIndex, -1);
    EXPECT_NE(toolIndex, -1);
    EXPECT_EQ(panel->applied, 2);
    EXPECT_NE(panel->SkinIndex(), -1);
}

TEST(SkinBindingTest, EachReloadAppliesOnceHoweverOftenTheStoreWasBound)
{
    SkinnedForm skin;
    auto *panel = boundControl<CountingPanel>(skin, "panel", { 0, 0, 100, 100 });
    panel->SetSkinData(skin.store);
    panel->SetSkinData(skin.store);
    skin.load();
    EXPECT_EQ(panel->applied, 1);
    skin.load();
    EXPECT_EQ(panel->applied, 2);
    // Bound elsewhere, the first store's reloads no longer reach it.
    SkinnedForm other;
    panel->SetSkinData(other.store);
    skin.load();
    EXPECT_EQ(panel->applied, 2);
}

// The panels log, in order, which of them applied a skin.
class LoggingPanel final : public TbsSkinPanel
{
public:
    LoggingPanel(QWidget *parent, std::vector<QString> &log)
        : TbsSkinPanel(parent)
        , m_log(log)
    {
    }
    void ApplySkin() override
    {
        m_log.push_back(objectName());
        TbsSkinPanel::ApplySkin();
    }

private:
    std::vector<QString> &m_log;
};

// A control may draw from the store of another window: it hears that store, on that window's turn: after the
// store's own window, whatever order the controls were bound in.
TEST(SkinBindingTest, AControlHearsTheStoreItIsBoundToAfterTheStoresOwnWindow)
{
    SkinnedForm main;
    SkinnedForm about(true);
    std::vector<QString> log;
    const auto make = [&](SkinnedForm &on, const char *name, TbsSkinData *store) {
        auto *panel = new LoggingPanel(on.form.get(), log);
        panel->setObjectName(QString::fromLatin1(name));
        panel->SetSkinDataName(QStringLiteral("panel"));
        panel->SetSkinData(store);
        return panel;
    };
    make(main, "main bound to about", about.store);
    make(main, "main", main.store);
    make(about, "about", about.store);
    about.load();
    EXPECT_EQ(log, (std::vector<QString> { "about", "main bound to about" }));
    log.clear();
    main.load();
    EXPECT_EQ(log, std::vector<QString> { "main" });
}

// One fixed-size panel entry on a picture of one colour: `size` is the skin rectangle's.
QByteArray onePanelSkin(QSize size)
{
    return "[VERSION]\r\nskinname=test\r\n"
           "[PICTURES]\r\npicture=form.bmp\r\nmask=formmask.bmp\r\nactivepicturescount=1\r\n0=controls.bmp\r\n"
           "[FORMINFO]\r\nlefttoppoint=9,8\r\nrighttoppoint=20,8\r\nleftbottompoint=9,16\r\n"
           "rightbottompoint=20,16\r\nclientrect=5,6,24,19\r\nmaskrectarea=5,6,24,19\r\n"
           "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=1\r\n0=panel:panel\r\n"
           "[panel]\r\npictureindex=0\r\nskinrect=0,0,"
        + QByteArray::number(size.width()) + "," + QByteArray::number(size.height()) + "\r\n";
}

void useOnePanelSkin(SkinnedForm &skin, QSize size, QRgb colour)
{
    skin.useFolder(onePanelSkin(size),
        { { QStringLiteral("form.bmp"), coordinateImage(30, 24) },
            { QStringLiteral("formmask.bmp"), filledImage(30, 24, qRgb(0, 0, 0)) },
            { QStringLiteral("controls.bmp"), filledImage(40, 40, colour) } });
}

// A reload reaches the controls of the window, which take the new entry's size and paint its picture; a control in
// a window the store does not tell is not resized, but paints nothing from the freed skin: its next paint reads the
// new one.
TEST(SkinBindingTest, ControlsPaintTheNewSkinAfterAReload)
{
    SkinnedForm skin;
    useOnePanelSkin(skin, QSize(10, 6), qRgb(200, 0, 0));
    skin.load();
    ASSERT_FALSE(skin.store->Empty());
    auto *panel = boundControl<TbsSkinPanel>(skin, "panel", { 0, 0, 50, 50 });
    QWidget unregistered;
    auto *outside = new TbsSkinPanel(&unregistered);
    outside->SetSkinDataName(QStringLiteral("panel"));
    outside->SetSkinData(skin.store);
    ASSERT_EQ(panel->size(), QSize(10, 6));
    ASSERT_EQ(outside->size(), QSize(10, 6));
    EXPECT_EQ(panel->paintImage(), filledImage(10, 6, qRgb(200, 0, 0)));

    useOnePanelSkin(skin, QSize(12, 4), qRgb(0, 0, 200));
    skin.load();
    EXPECT_EQ(panel->size(), QSize(12, 4));
    EXPECT_EQ(panel->paintImage(), filledImage(12, 4, qRgb(0, 0, 200)));
    EXPECT_EQ(outside->size(), QSize(10, 6));
    EXPECT_EQ(outside->paintImage().pixel(0, 0), qRgb(0, 0, 200));
}

// The About window's store reloading tells every window, but only its own controls act on it.
TEST(SkinBindingTest, ReloadOfOneWindowsStoreLeavesTheOthersControlsAlone)
{
    SkinnedForm main;
    SkinnedForm about(true);
    auto *mainButton = boundControl<TbsSkinButton>(main, "button", { 0, 0, 75, 25 });
    auto *mainPanel = boundControl<CountingPanel>(main, "panel", { 0, 30, 100, 100 });
    auto *aboutButton = boundControl<TbsSkinButton>(about, "button", { 0, 0, 75, 25 });
    main.load();
    about.load();
    ASSERT_EQ(mainPanel->applied, 1);
    // Sized behind the skin's back: only applying the skin brings them back to the skin's height.
    mainButton->setGeometry(0, 0, 75, 30);
    aboutButton->setGeometry(0, 0, 75, 30);
    about.load();
    EXPECT_EQ(aboutButton->height(), 21);
    EXPECT_EQ(mainButton->height(), 30);
    EXPECT_EQ(mainPanel->applied, 1);
    main.load();
    EXPECT_EQ(mainButton->height(), 21);
}

class SkinnedButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_button = boundControl<TbsSkinButton>(m_skin, "button", { 10, 10, 75, 25 });
        m_button->SetCaption(QStringLiteral("拍照(F8)"));
        m_button->OnClick = [this](QObject *) { ++m_clicks; };
        m_skin.form->show();
        QApplication::setActiveWindow(m_skin.form.get());
        m_skin.load();
        m_entry = &m_skin.entryAs<TbsDataSkinButtonControl>(QStringLiteral("button"));
        TRect text = m_entry->clientrect;
        text.Right += 75 - RectWidth(m_entry->skinrect);
        m_text = toQRect(text);
    }

    bool shows(const TRect &state)
    {
        return sameOutside(m_button->paintImage(),
            builtSkinImage(*m_skin.store, QStringLiteral("button"), state, m_button->size()), { m_text });
    }

    SkinnedForm m_skin;
    TbsSkinButton *m_button = nullptr;
    const TbsDataSkinButtonControl *m_entry = nullptr;
    QRect m_text;
    int m_clicks = 0;
};

TEST_F(SkinnedButtonTest, PressDragOffAndReleaseFiresNothingAndDraggingBackShowsItDown)
{
    m_button->SetCanFocused(false); // no focus look in the way: hot and down only
    enter(m_button);
    press(m_button, QPoint(5, 5));
    EXPECT_TRUE(shows(m_entry->downskinrect));
    drag(m_button, QPoint(200, 5));
    EXPECT_TRUE(shows(m_entry->skinrect)); // off the button it looks up
    drag(m_button, QPoint(6, 6));
    EXPECT_TRUE(shows(m_entry->downskinrect)); // back over it: down again
    drag(m_button, QPoint(200, 5));
    release(m_button, QPoint(200, 5));
    EXPECT_EQ(m_clicks, 0);
    EXPECT_FALSE(m_button->Down());
    EXPECT_TRUE(shows(m_entry->skinrect));
}

TEST_F(SkinnedButtonTest, SpaceShowsItDownUntilReleased)
{
    m_button->setFocus();
    QTest::keyPress(m_button, Qt::Key_Space);
    EXPECT_TRUE(shows(m_entry->downskinrect));
    QTest::keyRelease(m_button, Qt::Key_Space);
    EXPECT_EQ(m_clicks, 1);
    EXPECT_TRUE(shows(m_entry->activeskinrect)); // still focused
}

// Each channel mixed: (1 − k) · from + k · to, rounded.
QImage blendOf(const QImage &from, const QImage &to, double k)
{
    QImage out(from.size(), QImage::Format_RGB32);
    for (int y = 0; y < from.height(); ++y) {
        for (int x = 0; x < from.width(); ++x) {
            const QRgb a = from.pixel(x, y);
            const QRgb b = to.pixel(x, y);
            const auto mix = [k](int p, int q) { return int(std::nearbyint((1 - k) * p + k * q)); };
            out.setPixel(x, y, qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b))));
        }
    }
    return out;
}

TEST(SkinMorphTest, ButtonMorphsInFiveStepsOnlyWhenTheStoreHasEffects)
{
    SkinnedForm plain(false);
    SkinnedForm effects(true);
    auto *still = boundControl<TbsSkinButton>(plain, "button", { 0, 0, 75, 25 });
    auto *morphing = boundControl<TbsSkinButton>(effects, "button", { 0, 0, 75, 25 });
    plain.load();
    effects.load();
    const auto &entry = effects.entryAs<TbsDataSkinButtonControl>(QStringLiteral("button"));
    ASSERT_TRUE(entry.morphing);

    enter(still);
    EXPECT_FALSE(still->morphActive());
    EXPECT_EQ(still->MorphFactor(), 1.0); // at once
    EXPECT_EQ(still->findChildren<QTimer *>().size(), 0);

    const QSize size = morphing->size();
    const QImage normal = builtSkinImage(*effects.store, QStringLiteral("button"), entry.skinrect, size);
    const QImage active = builtSkinImage(*effects.store, QStringLiteral("button"), entry.activeskinrect, size);
    enter(morphing);
    ASSERT_TRUE(morphing->morphActive());
    EXPECT_EQ(morphing->MorphFactor(), 0.0);
    std::vector<double> factors;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (factors.empty() || factors.back() != morphing->MorphFactor()) {
                factors.push_back(morphing->MorphFactor());
                if (factors.size() == 3) {
                    // Between the two looks the button shows their blend.
                    EXPECT_TRUE(sameOutside(morphing->paintImage(), blendOf(normal, active, factors.back())));
                }
            }
            return morphing->MorphFactor() == 1.0;
        },
        5000));
    ASSERT_EQ(factors.size(), 6u); // 0, then five 20-ms steps of 0.2
    EXPECT_NEAR(factors[1], 0.2, 1e-9);
    EXPECT_TRUE(sameOutside(morphing->paintImage(), active));

    leave(morphing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return morphing->MorphFactor() == 0.0; }, 5000));
    EXPECT_TRUE(sameOutside(morphing->paintImage(), normal));
    // The timer goes once the morph has run.
    EXPECT_TRUE(QTest::qWaitFor([&] { return morphing->findChildren<QTimer *>().isEmpty(); }, 5000));
}

TEST(SkinMorphTest, CheckBoxMorphsOnlyWhenTheStoreHasEffects)
{
    SkinnedForm plain(false);
    SkinnedForm effects(true);
    auto *still = boundControl<TbsSkinCheckRadioBox>(plain, "checkbox", { 0, 0, 60, 22 });
    auto *morphing = boundControl<TbsSkinCheckRadioBox>(effects, "checkbox", { 0, 0, 60, 22 });
    still->SetFlat(false);
    morphing->SetFlat(false);
    plain.load();
    effects.load();
    enter(still);
    EXPECT_EQ(still->MorphFactor(), 1.0);
    enter(morphing);
    EXPECT_TRUE(morphing->morphActive());
    EXPECT_LT(morphing->MorphFactor(), 1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return morphing->MorphFactor() == 1.0; }, 5000));
    morphing->SetFlat(true); // a flat box never morphs
    EXPECT_FALSE(morphing->morphActive());
}

// A button entry with a strip of three animation frames beside each other, on a picture of coordinate colours.
TEST(SkinAnimationTest, EnteringRunsTheFramesForwardAndLeavingRunsThemBack)
{
    SkinnedForm skin(true);
    skin.useFolder("[VERSION]\r\nskinname=test\r\n"
                   "[PICTURES]\r\npicture=form.bmp\r\nmask=formmask.bmp\r\nactivepicturescount=1\r\n"
                   "0=controls.bmp\r\n"
                   "[FORMINFO]\r\nlefttoppoint=9,8\r\nrighttoppoint=20,8\r\nleftbottompoint=9,16\r\n"
                   "rightbottompoint=20,16\r\nclientrect=5,6,24,19\r\nmaskrectarea=5,6,24,19\r\n"
                   "[SKINOBJECTS]\r\ncount=0\r\n"
                   "[SKINCONTROLS]\r\ncount=1\r\n0=button:button\r\n"
                   "[button]\r\npictureindex=0\r\nskinrect=0,0,10,6\r\nactiveskinrect=10,0,20,6\r\n"
                   "animateskinrect=0,10,30,16\r\nframecount=3\r\nanimateinterval=30\r\n",
        { { QStringLiteral("form.bmp"), coordinateImage(30, 24) },
            { QStringLiteral("formmask.bmp"), filledImage(30, 24, qRgb(0, 0, 0)) },
            { QStringLiteral("controls.bmp"), coordinateImage(40, 20) } });
    auto *button = boundControl<TbsSkinButton>(skin, "button", { 0, 0, 10, 6 });
    button->SetCanFocused(false);
    skin.load();
    ASSERT_EQ(button->size(), QSize(10, 6));
    const auto from = [&](int left, int top) {
        return mapsTo(button->paintImage(), [=](int x, int y) { return QPoint(left + x, top + y); });
    };
    EXPECT_TRUE(from(0, 0));
    enter(button);
    std::vector<int> forward;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const int frame = button->AnimationFrame();
            if (frame != 0 && (forward.empty() || forward.back() != frame)) {
                forward.push_back(frame);
                EXPECT_TRUE(from(10 * (frame - 1), 10)) << "frame " << frame; // in place of the active image
            }
            return frame == 0;
        },
        5000));
    EXPECT_EQ(forward, (std::vector<int> { 1, 2, 3 }));
    EXPECT_TRUE(from(10, 0)); // the run over: the active image
    leave(button);
    std::vector<int> backward;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const int frame = button->AnimationFrame();
            if (frame != 0 && (backward.empty() || backward.back() != frame)) {
                backward.push_back(frame);
                EXPECT_TRUE(from(10 * (frame - 1), 10)) << "frame " << frame; // in place of the normal image
            }
            return frame == 0;
        },
        5000));
    EXPECT_EQ(backward, (std::vector<int> { 3, 2, 1 }));
    EXPECT_TRUE(from(0, 0));
}

TEST(SkinnedCheckBoxTest, SpaceTicksOnReleaseOnceHoweverLongItIsHeld)
{
    SkinnedForm skin;
    auto *box = boundControl<TbsSkinCheckRadioBox>(skin, "checkbox", { 0, 0, 60, 22 });
    box->SetFlat(false);
    box->SetCanFocused(true);
    int clicks = 0;
    box->OnClick = [&clicks](QObject *) { ++clicks; };
    skin.form->show();
    QApplication::setActiveWindow(skin.form.get());
    skin.load();
    const auto &entry = skin.entryAs<TbsDataSkinCheckRadioControl>(QStringLiteral("checkbox"));
    const QImage checked = skin.store->ActivePicture(entry.pictureindex)->toRgb32().copy(toQRect(entry.checkimagerect));
    const auto showsTick = [&] {
        const QPoint place = box->CheckImagePlace().topLeft();
        const QImage image = box->paintImage();
        for (int y = 0; y < checked.height(); ++y) {
            for (int x = 0; x < checked.width(); ++x) {
                if (checked.pixel(x, y) != checked.pixel(0, checked.height() - 1)
                    && (image.pixel(place + QPoint(x, y)) & 0xFFFFFF) != (checked.pixel(x, y) & 0xFFFFFF)) {
                    return false;
                }
            }
        }
        return true;
    };
    box->setFocus();
    QTest::keyPress(box, Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(box, &repeat);
    QApplication::sendEvent(box, &repeat);
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(showsTick());
    QTest::keyRelease(box, Qt::Key_Space);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(showsTick());
}

TEST(SkinnedPanelTest, FramedPanelKeepsItsChildrenThreePixelsInside)
{
    SkinnedForm skin;
    auto *framed = boundControl<TbsSkinPanel>(skin, "panel", { 22, 12, 326, 246 });
    auto *child = new TbsSkinPanel(framed);
    child->SetAlign(alClient);
    auto *strip = boundControl<TbsSkinPanel>(skin, "panel", { 0, 0, 100, 40 });
    strip->SetBorderStyle(bvNone);
    auto *stripChild = new TbsSkinPanel(strip);
    stripChild->SetAlign(alClient);
    EXPECT_EQ(child->geometry(), QRect(1, 1, 324, 244)); // without a skin: inside the one-pixel edge
    skin.load();
    EXPECT_EQ(child->geometry(), QRect(3, 3, 320, 240));
    EXPECT_EQ(stripChild->geometry(), QRect(0, 0, 100, 40)); // a borderless strip gives its whole area
}

TEST(SkinnedPanelTest, RolledUpSkinnedPanelKeepsWhatLiesOutsideItsClientArea)
{
    SkinnedForm skin;
    auto *panel = boundControl<TbsSkinPanel>(skin, "panel", { 0, 0, 120, 100 });
    skin.load();
    panel->SetRollUpMode(true);
    panel->SetRollUpState(true);
    EXPECT_EQ(panel->height(), 6); // the 3-pixel frame above and below the client
    EXPECT_EQ(panel->RealHeight(), 100);
    panel->SetRollUpState(false);
    EXPECT_EQ(panel->height(), 100);
}

TEST(SkinnedPanelTest, SkinCaptionStaysInsideTheMappedCaptionRectangle)
{
    SkinnedForm skin;
    auto *box = boundControl<TbsSkinPanel>(skin, "groupbox", { 0, 0, 150, 90 });
    skin.load();
    const QImage plain = box->paintImage();
    box->SetCaption(QStringLiteral("Camera"));
    const QImage captioned = box->paintImage();
    const QRect caption = box->CaptionRect();
    EXPECT_EQ(caption,
        toQRect(box->MapSkinRect(skin.entryAs<TbsDataSkinPanelControl>(QStringLiteral("groupbox")).captionrect)));
    EXPECT_TRUE(sameOutside(captioned, plain, { caption }));
    EXPECT_FALSE(sameOutside(captioned, plain)); // the caption is drawn
}

TEST(SkinnedLabelTest, AutoSizeGrowsByWhatTheSkinsClientAreaLacks)
{
    SkinnedForm skin;
    auto *label = boundControl<TbsSkinLabel>(skin, "label", { 0, 0, 60, 21 });
    auto *docked = boundControl<TbsSkinLabel>(skin, "label", { 0, 30, 60, 21 });
    docked->SetAlign(alTop);
    skin.load();
    const auto &entry = skin.entryAs<TbsDataSkinLabelControl>(QStringLiteral("label"));
    const QString text = QStringLiteral("感谢您使用本软件，欢迎提出宝贵意见。");
    label->SetCaption(text);
    docked->SetCaption(text);
    const int textWidth = textExtent(label->textFont().toQFont(), text).width();
    const int clientWidth = RectWidth(entry.clientrect); // the label is at its skin width
    ASSERT_GT(textWidth, clientWidth);
    const int dockedWidth = docked->width();
    label->SetAutoSize(true);
    docked->SetAutoSize(true);
    EXPECT_EQ(label->width(), 60 + textWidth - clientWidth);
    EXPECT_EQ(docked->width(), dockedWidth); // docked to the top: its width is the parent's
}

} // namespace

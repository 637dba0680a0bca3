// What a screen reader learns of each skinned control: role, name, description, states, actions, and the events
// that tell it of changes.
#include "skinctrls/ControlAccessibility.h"

#include "skinctrls/TImage.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinCheckRadioBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include "ControlTesting.h"

#include "skin/AccessibilityEvents.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace pixolo;
using namespace pixolo::test;

namespace
{

// One event a screen reader would have been told of.
struct Told {
    QObject *object = nullptr;
    QAccessible::Event type = QAccessible::InvalidEvent;
    int child = -1;
    QAccessible::State changed;
};

std::vector<Told> s_told;

void record(const QAccessibleEvent &event)
{
    Told told { event.object(), event.type(), event.child(), {} };
    if (event.type() == QAccessible::StateChanged) {
        told.changed = static_cast<const QAccessibleStateChangeEvent &>(event).changedStates();
    }
    s_told.push_back(told);
}

class ControlAccessibilityTest : public testing::Test
{
protected:
    void SetUp() override
    {
        installControlAccessibility();
        // What a screen reader would be told goes to the recorder.
        setAccessibilityWatcher(record);
        s_told.clear();
        m_form.resize(300, 200);
    }
    void TearDown() override { setAccessibilityWatcher({}); }

    void showActive()
    {
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    }

    static QAccessibleInterface *of(QWidget *widget)
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        EXPECT_NE(iface, nullptr);
        return iface;
    }

    static bool toldOf(QObject *object, QAccessible::Event type)
    {
        return std::any_of(
            s_told.begin(), s_told.end(), [&](const Told &t) { return t.object == object && t.type == type; });
    }

    QWidget m_form;
};

TEST_F(ControlAccessibilityTest, EachControlHasItsRoleAndItsCaptionAsName)
{
    auto *button = new TbsSkinButton(&m_form);
    button->SetCaption(QStringLiteral("拍照(F8)"));
    auto *tool = new TbsSkinSpeedButton(&m_form);
    tool->SetCaption(QStringLiteral("&Open"));
    auto *box = new TbsSkinCheckRadioBox(&m_form);
    box->SetCaption(QStringLiteral("延时"));
    auto *radio = new TbsSkinCheckRadioBox(&m_form);
    radio->SetRadio(true);
    auto *stdLabel = new TbsSkinStdLabel(&m_form);
    stdLabel->SetCaption(QStringLiteral("照片存储路径:"));
    auto *label = new TbsSkinLabel(&m_form);
    label->SetCaption(QStringLiteral("Fish && Chips"));
    auto *panel = new TbsSkinPanel(&m_form);
    auto *captioned = new TbsSkinPanel(&m_form);
    captioned->SetCaptionMode(true);
    captioned->SetCaption(QStringLiteral("&Camera"));
    auto *statusBar = new TbsSkinStatusBar(&m_form);
    auto *statusPanel = new TbsSkinStatusPanel(statusBar);
    statusPanel->SetCaption(QStringLiteral("Ready"));
    auto *image = new TImage(&m_form);
    image->setAccessibleName(QStringLiteral("最近的照片"));

    const struct {
        QWidget *control;
        QAccessible::Role role;
        QString name;
    } rows[] = {
        { button, QAccessible::Button, QStringLiteral("拍照(F8)") },
        { tool, QAccessible::Button, QStringLiteral("Open") }, // the access key's '&' is not read
        { box, QAccessible::CheckBox, QStringLiteral("延时") }, { radio, QAccessible::RadioButton, QString() },
        { stdLabel, QAccessible::StaticText, QStringLiteral("照片存储路径:") },
        { label, QAccessible::StaticText, QStringLiteral("Fish & Chips") }, // "&&" is one '&'
        { panel, QAccessible::Pane, QString() }, { captioned, QAccessible::Grouping, QStringLiteral("Camera") },
        { statusBar, QAccessible::StatusBar, QString() },
        { statusPanel, QAccessible::StaticText, QStringLiteral("Ready") },
        { image, QAccessible::Graphic, QStringLiteral("最近的照片") }, // the accessible name where no caption is
    };
    for (const auto &row : rows) {
        QAccessibleInterface *iface = of(row.control);
        ASSERT_NE(iface, nullptr) << row.control->metaObject()->className();
        EXPECT_EQ(iface->role(), row.role) << row.control->metaObject()->className();
        EXPECT_EQ(iface->text(QAccessible::Name), row.name) << row.control->metaObject()->className();
    }
}

TEST_F(ControlAccessibilityTest, AStandardLabelThatShowsAmpersandsReadsThem)
{
    auto *label = new TbsSkinStdLabel(&m_form);
    label->SetShowAccelChar(false);
    label->SetCaption(QStringLiteral("R&D"));
    EXPECT_EQ(of(label)->text(QAccessible::Name), QStringLiteral("R&D"));
}

TEST_F(ControlAccessibilityTest, TheHintIsTheDescriptionShownOrNot)
{
    auto *button = new TbsSkinButton(&m_form);
    button->SetHint(QStringLiteral("拍照快捷键F8"));
    auto *box = new TbsSkinCheckRadioBox(&m_form);
    box->SetHint(QStringLiteral("勾选 延时"));
    box->SetShowHint(true);
    EXPECT_EQ(of(button)->text(QAccessible::Description), QStringLiteral("拍照快捷键F8"));
    EXPECT_EQ(of(box)->text(QAccessible::Description), QStringLiteral("勾选 延时"));
}

TEST_F(ControlAccessibilityTest, TheEditKeepsTheFrameworksTextInterface)
{
    auto *edit = new TbsSkinEdit(&m_form);
    edit->SetText(QStringLiteral("/home/user/Pictures"));
    edit->setAccessibleName(QStringLiteral("照片存储路径"));
    edit->SetHint(QStringLiteral("用于设置照片的存储路径"));
    edit->SetShowHint(true);
    QAccessibleInterface *iface = of(edit);
    EXPECT_EQ(iface->role(), QAccessible::EditableText);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("照片存储路径"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("用于设置照片的存储路径"));
    ASSERT_NE(iface->textInterface(), nullptr);
    EXPECT_EQ(iface->textInterface()->text(0, iface->textInterface()->characterCount()),
        QStringLiteral("/home/user/Pictures"));
}

TEST_F(ControlAccessibilityTest, ButtonStatesFollowFocusPressingDefaultAndEnabled)
{
    auto *button = new TbsSkinButton(&m_form);
    auto *other = new TbsSkinButton(&m_form);
    other->move(0, 40);
    showActive();
    button->setFocus();
    QAccessible::State s = of(button)->state();
    EXPECT_TRUE(s.focusable);
    EXPECT_TRUE(s.focused);
    EXPECT_FALSE(s.pressed);
    EXPECT_FALSE(of(other)->state().focused);

    button->SetDown(true);
    EXPECT_TRUE(of(button)->state().pressed);
    button->SetDown(false);
    button->SetDefault(true);
    EXPECT_TRUE(of(button)->state().defaultButton);

    other->SetEnabled(false);
    EXPECT_TRUE(of(other)->state().disabled);
}

TEST_F(ControlAccessibilityTest, CheckBoxStatesAreCheckableCheckedAndMixed)
{
    auto *box = new TbsSkinCheckRadioBox(&m_form);
    box->SetAllowGrayed(true);
    QAccessible::State s = of(box)->state();
    EXPECT_TRUE(s.checkable);
    EXPECT_FALSE(s.checked);
    box->SetChecked(true);
    EXPECT_TRUE(of(box)->state().checked);
    box->SetState(cbGrayed);
    s = of(box)->state();
    EXPECT_FALSE(s.checked);
    EXPECT_TRUE(s.checkStateMixed);
}

TEST_F(ControlAccessibilityTest, ActionsPressButtonsToggleBoxesAndFollowLinks)
{
    auto *button = new TbsSkinButton(&m_form);
    int clicks = 0;
    button->OnClick = [&](QObject *) { ++clicks; };
    auto *box = new TbsSkinCheckRadioBox(&m_form);
    auto *link = new TbsSkinLabel(&m_form);
    int followed = 0;
    link->OnClick = [&](QObject *) { ++followed; };
    auto *text = new TbsSkinLabel(&m_form);

    QAccessibleActionInterface *press = of(button)->actionInterface();
    ASSERT_NE(press, nullptr);
    ASSERT_TRUE(press->actionNames().contains(QAccessibleActionInterface::pressAction()));
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);

    QAccessibleActionInterface *toggle = of(box)->actionInterface();
    ASSERT_TRUE(toggle->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    toggle->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(box->Checked());
    toggle->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(box->Checked());

    EXPECT_EQ(of(link)->role(), QAccessible::Link);
    EXPECT_TRUE(of(link)->state().linked);
    of(link)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(followed, 1);
    EXPECT_FALSE(of(text)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

    // A disabled button offers nothing and does nothing.
    button->SetEnabled(false);
    EXPECT_FALSE(of(button)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    of(button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlAccessibilityTest, TickingTheBoxWithSpaceTellsOfTheCheckedState)
{
    auto *box = new TbsSkinCheckRadioBox(&m_form);
    box->SetCanFocused(true);
    showActive();
    box->setFocus();
    s_told.clear();
    QTest::keyClick(box, Qt::Key_Space);
    ASSERT_TRUE(box->Checked());
    const auto told = std::find_if(s_told.begin(), s_told.end(),
        [&](const Told &t) { return t.object == box && t.type == QAccessible::StateChanged; });
    ASSERT_NE(told, s_told.end());
    EXPECT_TRUE(told->changed.checked);
    EXPECT_TRUE(of(box)->state().checked);

    // Setting the same state again is no change.
    s_told.clear();
    box->SetChecked(true);
    EXPECT_FALSE(toldOf(box, QAccessible::StateChanged));
}

TEST_F(ControlAccessibilityTest, ANewCaptionAndAPressAreTold)
{
    auto *button = new TbsSkinButton(&m_form);
    button->SetCaption(QStringLiteral("关于"));
    s_told.clear();
    button->SetCaption(QStringLiteral("关于"));
    EXPECT_FALSE(toldOf(button, QAccessible::NameChanged)) << "the same caption is no change";
    button->SetCaption(QStringLiteral("关闭"));
    EXPECT_TRUE(toldOf(button, QAccessible::NameChanged));
    s_told.clear();
    button->SetDown(true);
    ASSERT_TRUE(toldOf(button, QAccessible::StateChanged));
    EXPECT_TRUE(s_told.back().changed.pressed);
}

TEST_F(ControlAccessibilityTest, AFocusedToolButtonClicksWithSpaceAndEnterAndShowsAMark)
{
    auto *edit = new TbsSkinEdit(&m_form);
    auto *tool = new TbsSkinSpeedButton(&m_form);
    tool->move(200, 0);
    int clicks = 0;
    tool->OnClick = [&](QObject *) { ++clicks; };
    EXPECT_EQ(tool->focusPolicy(), Qt::NoFocus) << "a tool button takes no focus unless asked";
    tool->setTakesFocus(true);
    showActive();
    const QImage unfocused = rendered(tool);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_TRUE(tool->hasFocus()) << "Tab reaches it";
    EXPECT_TRUE(of(tool)->state().focused);
    const QImage focused = rendered(tool);
    EXPECT_NE(focused, unfocused);
    EXPECT_EQ(focused.pixel(3, 3), rgb(clBtnText)) << "the dotted mark starts at its corner";

    QTest::keyPress(tool, Qt::Key_Space);
    EXPECT_TRUE(tool->Down());
    EXPECT_EQ(clicks, 0) << "a click comes with the release";
    QTest::keyRelease(tool, Qt::Key_Space);
    EXPECT_FALSE(tool->Down());
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(tool, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);

    // A mouse press does not take the focus from the edit.
    edit->setFocus();
    click(tool);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(clicks, 3);
}

TEST_F(ControlAccessibilityTest, AFocusedLinkFollowsWithEnterAndSpaceAndShowsAMark)
{
    auto *link = new TbsSkinLabel(&m_form);
    link->resize(200, 20);
    link->SetCaption(QStringLiteral("www.example.org"));
    int followed = 0;
    link->OnClick = [&](QObject *) { ++followed; };
    link->SetTabStop(true);
    showActive();
    link->clearFocus(); // the window gave it the focus as its first tab stop
    ASSERT_FALSE(link->hasFocus());
    const QImage unfocused = rendered(link);
    link->setFocus();
    ASSERT_TRUE(link->hasFocus());
    EXPECT_NE(rendered(link), unfocused);
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(followed, 2);

    // A label that runs nothing lets the keys go on.
    auto *text = new TbsSkinLabel(&m_form);
    text->SetTabStop(true);
    text->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(text, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

} // namespace

#pragma once

#include "skin/SkinGeometry.h"

#include <array>

namespace pixolo::layout
{

// Where every piece of the skin lies. The art is drawn at these places and the description names the same ones,
// so the two cannot drift apart.

// The form picture: 176 × 147, client rectangle 15,33,163,124; corner points 48,35 / 99,34 / 20,117 / 141,117.
constexpr int formWidth = 176;
constexpr int formHeight = 147;
constexpr TRect client { 15, 33, 163, 124 };
constexpr TRect maskArea { 5, 6, 170, 141 };
constexpr TPoint lefttop { 48, 35 };
constexpr TPoint righttop { 99, 34 };
constexpr TPoint leftbottom { 20, 117 };
constexpr TPoint rightbottom { 141, 117 };
constexpr int topRadius = 6;
constexpr int bottomRadius = 4;

// Frame objects. The caption starts in the top-left corner area and ends in the top-right one, so it widens with
// the window; the buttons lie wholly inside the top-right area (right edge below 176), so they move with it.
constexpr TRect caption { 30, 10, 102, 26 };
constexpr TRect sysMenu { 8, 9, 24, 25 };
constexpr TRect rollUp { 103, 9, 119, 25 };
constexpr TRect minimize { 120, 9, 136, 25 };
constexpr TRect maximize { 137, 9, 153, 25 };
constexpr TRect close { 154, 9, 170, 25 };
// Their pressed looks in picture 3, in this order: system menu, roll-up, minimize, maximize, close.
constexpr std::array<TRect, 5> frameButtons { sysMenu, rollUp, minimize, maximize, close };
constexpr TRect pressed(int i)
{
    return { 16 * i, 0, 16 * i + 16, 16 };
}
// After them, the minimize button's disabled look (the About window has no minimize): quiet like the maximize
// button, which no window of Pixolo enables and the frame picture already draws that way.
constexpr TRect minimizeDisabled = pressed(int(frameButtons.size()));

// Picture 0: controls.
constexpr std::array<TRect, 4> button { { { 0, 1, 66, 22 }, { 0, 23, 66, 44 }, { 0, 45, 66, 66 }, { 0, 67, 66, 88 } } };
constexpr std::array<TRect, 4> tool { { { 70, 0, 95, 25 }, { 95, 0, 120, 25 }, { 120, 0, 145, 25 },
    { 145, 0, 170, 25 } } };
constexpr std::array<TRect, 2> checkBack { { { 0, 90, 80, 112 }, { 0, 112, 80, 134 } } };
// unchecked, checked, active unchecked, active checked, disabled unchecked, disabled checked
constexpr TRect checkImage(int i)
{
    return { 82 + 14 * i, 90, 96 + 14 * i, 104 };
}
constexpr TRect radioImage(int i)
{
    return { 82 + 14 * i, 104, 96 + 14 * i, 118 };
}
constexpr std::array<TRect, 2> edit { { { 0, 136, 60, 158 }, { 0, 158, 60, 180 } } };
constexpr std::array<TRect, 2> buttonEdit { { { 62, 136, 122, 158 }, { 62, 158, 122, 180 } } };
constexpr TRect buttonEditButton { 40, 3, 56, 19 }; // where the embedded button lies, in control coordinates
// active, down, disabled looks of the embedded button
constexpr std::array<TRect, 3> editButton { { { 124, 139, 140, 155 }, { 142, 139, 158, 155 },
    { 160, 139, 176, 155 } } };
constexpr TRect label { 0, 182, 60, 203 };
constexpr TRect statusPanel { 62, 182, 122, 200 };
constexpr TRect well { 124, 182, 164, 222 };
// Spin buttons, 16 × 10: rows normal up, normal down, active up, active down, pressed up, pressed down.
constexpr TRect spinArrow(int state, bool isDown)
{
    const int row = 2 * state + (isDown ? 1 : 0);
    return { 172, 10 * row, 188, 10 * row + 10 };
}
constexpr int controlsWidth = 200;
constexpr int controlsHeight = 224;

// Picture 1: menu items.
constexpr TRect menuItem { 0, 0, 60, 22 };
constexpr TRect menuItemActive { 0, 22, 60, 44 };
constexpr TRect menuDivider { 0, 44, 60, 52 };
constexpr int menuGlyphColumn = 24;

// Pictures 2 and 4: the popup window and its mask.
constexpr int popupSize = 40;

// Picture 5: panels.
constexpr TRect panel { 0, 0, 40, 40 };
constexpr TRect toolPanel { 0, 42, 40, 70 };
constexpr TRect bigToolPanel { 42, 42, 82, 82 };
constexpr TRect groupBox { 0, 84, 60, 144 };
constexpr TRect groupPlate { 62, 84, 82, 99 };
constexpr TRect exPanel { 84, 84, 144, 144 };
constexpr TRect rollUpPanel { 0, 146, 60, 206 };
constexpr TRect markFrame { 62, 146, 72, 162 };
constexpr TRect statusBar { 0, 208, 60, 232 };
constexpr TRect gripper { 62, 208, 75, 221 };
// Small panel buttons, 12 × 12: rows close / roll / restore, columns normal / active / down.
constexpr TRect panelButton(int row, int state)
{
    return { 84 + 14 * state, 146 + 14 * row, 96 + 14 * state, 158 + 14 * row };
}
constexpr int panelsWidth = 160;
constexpr int panelsHeight = 240;

// Picture 6: the kinds of control this program does not use, and the main menu bar.
enum Direction { up, down, left, right };
enum State { normal, active, pushed };
constexpr TRect arrow(State s, Direction d)
{
    return { 16 * d, 16 * s, 16 * d + 16, 16 * s + 16 };
}
constexpr TRect hThumb(State s)
{
    return { 64, 16 * s, 94, 16 * s + 16 };
}
constexpr TRect vThumb(State s)
{
    return { 96 + 16 * s, 0, 112 + 16 * s, 30 };
}
constexpr TRect hTrack { 0, 48, 60, 64 };
constexpr TRect vTrack { 144, 0, 160, 60 };
constexpr TRect gauge { 0, 66, 60, 82 };
constexpr TRect gaugeBar { 0, 84, 60, 96 };
constexpr TRect vGauge { 160, 0, 176, 60 };
constexpr TRect vGaugeBar { 178, 0, 190, 60 };
constexpr TRect smallGauge { 0, 98, 60, 108 };
constexpr TRect smallGaugeBar { 0, 110, 60, 118 };
constexpr TRect hTrackBar { 0, 120, 60, 140 };
constexpr std::array<TRect, 2> hTrackThumb { { { 62, 120, 72, 140 }, { 74, 120, 84, 140 } } };
constexpr TRect vTrackBar { 192, 0, 212, 60 };
constexpr std::array<TRect, 2> vTrackThumb { { { 214, 0, 234, 10 }, { 214, 12, 234, 22 } } };
constexpr TRect hSplitter { 0, 142, 60, 148 };
constexpr TRect hGrip { 62, 142, 82, 148 };
constexpr TRect vSplitter { 236, 0, 242, 60 };
constexpr TRect vGrip { 244, 0, 250, 20 };
constexpr std::array<TRect, 3> tab { { { 0, 150, 60, 172 }, { 62, 150, 122, 172 }, { 124, 150, 184, 172 } } };
constexpr TRect tabPage { 186, 150, 226, 190 };
constexpr TRect menuBar { 0, 192, 60, 214 };
constexpr std::array<TRect, 3> menuBarItem { { { 62, 192, 102, 212 }, { 104, 192, 144, 212 },
    { 146, 192, 186, 212 } } };
// Main menu bar buttons, 12 × 12: system menu, minimize, maximize, close; normal row then pressed row.
constexpr TRect menuBarButton(int i, bool isDown)
{
    return { 14 * i, isDown ? 230 : 216, 14 * i + 12, isDown ? 242 : 228 };
}
constexpr TRect controlBar { 64, 216, 124, 240 };
constexpr int extrasWidth = 256;
constexpr int extrasHeight = 256;

// Picture 7: the hint window, 29 × 17.
constexpr int hintWidth = 29;
constexpr int hintHeight = 17;

} // namespace pixolo::layout

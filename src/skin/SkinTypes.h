#pragma once

#include "skin/SkinGeometry.h" // TPoint, TRect

namespace pixolo
{

// Font styles of the skin description, as a set of bits.
enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = int;

enum TAlignment : int { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// Transitions between two looks of a skinned part.
enum TMorphKind : int { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };

// Effects that derive an inactive frame from the active one.
enum TbsInActiveEffect : int { ieBrightness, ieDarkness, ieGrayscale, ieNoise, ieSplitBlur, ieInvert };

// Commands of the frame's standard buttons.
enum TbsStdCommand : int { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

} // namespace pixolo

#pragma once

#include "skin/SkinTypes.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace pixolo
{

// What a point of a skinned window is, for moving, sizing and the frame objects. The numbers are fixed: tests,
// logs and the objects' events use them.
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;
constexpr int HTLEFT = 10;
constexpr int HTRIGHT = 11;
constexpr int HTTOP = 12;
constexpr int HTTOPLEFT = 13;
constexpr int HTTOPRIGHT = 14;
constexpr int HTBOTTOM = 15;
constexpr int HTBOTTOMLEFT = 16;
constexpr int HTBOTTOMRIGHT = 17;
constexpr int HTOBJECT = 19; // a frame area the skinned form handles itself (objects, plain frame)

inline bool isSizingHitCode(int code)
{
    return code >= HTLEFT && code <= HTBOTTOMRIGHT;
}

// The caption buttons and system-menu commands a skinned window offers.
enum TbsBorderIcon : int {
    biSystemMenu = 1,
    biMinimize = 2,
    biMaximize = 4,
    biRollUp = 8,
    biMinimizeToTray = 16,
};
using TbsBorderIcons = int;

// The window states the skinned frame carries out itself.
enum TWindowState : int { wsNormal, wsMinimized, wsMaximized };

// The form's border: sizeable ones can be resized by their frame; tool windows get the smaller plain frame.
enum TFormBorderStyle : int { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// Where a window goes when it is first shown.
enum TbsPositionInMonitor : int { bspDefault, bspScreenCenter, bspDesktopCenter };

inline bool isSizeable(TFormBorderStyle style)
{
    return style == bsSizeable || style == bsSizeToolWin;
}

inline bool isToolWindow(TFormBorderStyle style)
{
    return style == bsToolWindow || style == bsSizeToolWin;
}

// A font of the plain frame: family, height (negative = character height, positive = cell height), style and
// colour.
struct FrameFont {
    QString Name = QStringLiteral("Arial");
    int Height = 14;
    TFontStyles Style = fsBold;
    QColor Color;

    QFont toQFont() const;
};

// The desktop colours the plain frame and the plain caption buttons are drawn in, from the application palette
// (the same roles the skinned controls use for these system colours).
struct FrameColors {
    static QColor btnFace();
    static QColor btnText();
    static QColor btnShadow();
    static QColor btnHighlight();
    static QColor light3D();
    static QColor darkShadow3D();
};

// A 0x00BBGGRR colour of the skin description.
inline QColor skinColor(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace pixolo

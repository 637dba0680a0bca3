#include "Art.h"

#include "Layout.h"
#include "Palette.h"

namespace pixolo
{

using namespace palette;
namespace L = layout;

namespace
{

// ---- glyphs (pixel art; 'x' is the glyph colour) -------------------------------------------------------------

void cameraGlyph(QImage &image, int x, int y)
{
    pixelArt(image, x, y,
        { "....xxxx......", //
            ".xxxxxxxxxxxx.", //
            "xxxxxxxxxxxoox", //
            "xxxxx...xxxxxx", //
            "xxxx.....xxxxx", //
            "xxxx..w..xxxxx", //
            "xxxx.....xxxxx", //
            "xxxxx...xxxxxx", //
            "xxxxxxxxxxxxxx", //
            ".xxxxxxxxxxxx." },
        { { 'x', QColor(0xe8, 0xf0, 0xf7) }, { 'o', accent }, { 'w', white } });
}

enum FrameGlyph { glyphRollUp, glyphMinimize, glyphMaximize, glyphClose };

void frameGlyph(QImage &image, int x, int y, FrameGlyph g, QColor colour)
{
    switch (g) {
    case glyphRollUp:
        pixelArt(
            image, x, y + 2, { "....x....", "...xxx...", "..xxxxx..", ".xxxxxxx.", "xxxxxxxxx" }, { { 'x', colour } });
        break;
    case glyphMinimize:
        pixelArt(image, x, y + 6, { "xxxxxxxxx", "xxxxxxxxx" }, { { 'x', colour } });
        break;
    case glyphMaximize:
        pixelArt(image, x, y,
            { "xxxxxxxxx", "xxxxxxxxx", "x.......x", "x.......x", "x.......x", "x.......x", "xxxxxxxxx" },
            { { 'x', colour } });
        break;
    case glyphClose:
        pixelArt(image, x, y - 1,
            { "xx.....xx", "xxx...xxx", ".xxx.xxx.", "..xxxxx..", "...xxx...", "..xxxxx..", ".xxx.xxx.", "xxx...xxx",
                "xx.....xx" },
            { { 'x', colour } });
        break;
    }
}

void checkGlyph(QImage &image, int x, int y, QColor colour)
{
    pixelArt(image, x, y, { "........x", ".......xx", "x.....xx.", "xx...xx..", ".xx.xx...", "..xxx....", "...x....." },
        { { 'x', colour } });
}

void arrowGlyph(QImage &image, const TRect &cell, L::Direction d, QColor colour)
{
    const int cx = cell.Left + RectWidth(cell) / 2;
    const int cy = cell.Top + RectHeight(cell) / 2;
    for (int i = 0; i < 4; ++i) {
        switch (d) {
        case L::up:
            hline(image, cx - i, cx + i + 1, cy - 2 + i, colour);
            break;
        case L::down:
            hline(image, cx - i, cx + i + 1, cy + 1 - i, colour);
            break;
        case L::left:
            vline(image, cx - 2 + i, cy - i, cy + i + 1, colour);
            break;
        case L::right:
            vline(image, cx + 1 - i, cy - i, cy + i + 1, colour);
            break;
        }
    }
}

// ---- the frame -------------------------------------------------------------------------------------------------

bool insideWindow(int x, int y)
{
    const TRect whole { 0, 0, L::formWidth, L::formHeight };
    return insideRounded(whole, y < L::formHeight / 2 ? L::topRadius : L::bottomRadius, x, y);
}

bool onWindowEdge(int x, int y)
{
    return insideWindow(x, y)
        && (!insideWindow(x - 1, y) || !insideWindow(x + 1, y) || !insideWindow(x, y - 1) || !insideWindow(x, y + 1));
}

QImage drawFrame()
{
    QImage image = newPicture(L::formWidth, L::formHeight, frame);
    const int clientTop = L::client.Top;
    fillRamp(image, { 0, 0, L::formWidth, clientTop }, caption);
    fillRamp(image, { 0, L::client.Bottom, L::formWidth, L::formHeight }, { frame, frameDark });
    fillRect(image, L::client, surface);
    // A groove around the client area: dark inside, light outside.
    hline(image, L::client.Left - 1, L::client.Right + 1, clientTop - 1, groove);
    vline(image, L::client.Left - 1, clientTop, L::client.Bottom + 1, groove);
    vline(image, L::client.Right, clientTop, L::client.Bottom + 1, groove);
    hline(image, L::client.Left - 1, L::client.Right + 1, L::client.Bottom, groove);
    vline(image, L::client.Left - 2, clientTop, L::client.Bottom + 2, grooveLight);
    vline(image, L::client.Right + 1, clientTop, L::client.Bottom + 2, grooveLight);
    hline(image, L::client.Left - 2, L::client.Right + 2, L::client.Bottom + 1, grooveLight);
    // The outline of the window's shape and a light line inside it.
    for (int y = 0; y < L::formHeight; ++y) {
        for (int x = 0; x < L::formWidth; ++x) {
            if (!insideWindow(x, y)) {
                image.setPixel(x, y, white.rgb()); // outside the mask: never shown
            } else if (onWindowEdge(x, y)) {
                image.setPixel(x, y, outline.rgb());
            }
        }
    }
    for (int y = 0; y < L::formHeight; ++y) {
        for (int x = 0; x < L::formWidth; ++x) {
            if (!insideWindow(x, y) || onWindowEdge(x, y)) {
                continue;
            }
            if (onWindowEdge(x - 1, y) || onWindowEdge(x + 1, y) || onWindowEdge(x, y - 1) || onWindowEdge(x, y + 1)) {
                // Light along the caption and the left side, dark along the right side and the bottom; each
                // edge keeps one colour so that it tiles.
                const QColor c = y < clientTop ? captionHighlight : x <= 3 ? frameLight : frameDark;
                image.setPixel(x, y, c.rgb());
            }
        }
    }
    // The caption's objects in their normal looks: the frame picture shows them.
    cameraGlyph(image, L::sysMenu.Left + 1, L::sysMenu.Top + 3);
    const std::array<FrameGlyph, 4> glyphs { glyphRollUp, glyphMinimize, glyphMaximize, glyphClose };
    for (int i = 0; i < 4; ++i) {
        const TRect &r = L::frameButtons[size_t(i + 1)];
        box(image, r, 3, r == L::close ? closeButton : captionButton);
        // No window of Pixolo can be maximized: that button is drawn quieter.
        frameGlyph(image, r.Left + 4, r.Top + 4, glyphs[size_t(i)], r == L::maximize ? glyphMuted : glyph);
    }
    return image;
}

QImage drawMask()
{
    QImage image = newPicture(L::formWidth, L::formHeight, white);
    for (int y = 0; y < L::formHeight; ++y) {
        for (int x = 0; x < L::formWidth; ++x) {
            if (insideWindow(x, y)) {
                image.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
    }
    return image;
}

// The pressed caption buttons, each on the part of the frame it covers, then the disabled minimize button.
QImage drawCaptionButtons(const QImage &frameImage)
{
    QImage image = newPicture(L::minimizeDisabled.Right, 16, frame);
    const std::array<FrameGlyph, 4> glyphs { glyphRollUp, glyphMinimize, glyphMaximize, glyphClose };
    for (size_t i = 0; i < L::frameButtons.size(); ++i) {
        const TRect cell = L::pressed(int(i));
        copyRect(image, cell.Left, 0, frameImage, L::frameButtons[i]);
        if (i == 0) {
            box(image, cell, 3, captionButtonDown);
            cameraGlyph(image, cell.Left + 2, 4);
            continue;
        }
        const bool isClose = L::frameButtons[i] == L::close;
        box(image, cell, 3, isClose ? closeButtonDown : captionButtonDown);
        frameGlyph(image, cell.Left + 5, 5, glyphs[i - 1], L::frameButtons[i] == L::maximize ? glyphMuted : glyph);
    }
    copyRect(image, L::minimizeDisabled.Left, 0, frameImage, L::minimize);
    box(image, L::minimizeDisabled, 3, captionButton);
    frameGlyph(image, L::minimizeDisabled.Left + 4, 4, glyphMinimize, glyphMuted);
    return image;
}

// ---- controls --------------------------------------------------------------------------------------------------

void checkImages(QImage &image, bool round)
{
    const std::array<BoxLook, 3> looks {
        BoxLook { { white, { 0xe6, 0xed, 0xf4 } }, { 0x6f, 0x8a, 0xa5 }, {} },
        BoxLook { { white, { 0xd8, 0xe8, 0xf7 } }, focus, {} },
        BoxLook { { { 0xf4, 0xf6, 0xf8 }, { 0xf4, 0xf6, 0xf8 } }, { 0xb8, 0xc6, 0xd3 }, {} },
    };
    const std::array<QColor, 3> marks { { { 0x1f, 0x5d, 0x99 }, inkActive, inkDisabled } };
    for (int i = 0; i < 6; ++i) {
        const TRect r = round ? L::radioImage(i) : L::checkImage(i);
        fillRect(image, r, key);
        box(image, r, round ? 7 : 2, looks[size_t(i / 2)]);
        if (i % 2 == 0) {
            continue;
        }
        const QColor mark = marks[size_t(i / 2)];
        if (round) {
            roundedBox(image, { r.Left + 4, r.Top + 4, r.Left + 10, r.Top + 10 }, 3, { mark, mark }, mark);
        } else {
            checkGlyph(image, r.Left + 3, r.Top + 4, mark);
        }
    }
}

void editFrame(QImage &image, const TRect &r, bool isActive)
{
    roundedBox(image, r, 2, { white, white }, isActive ? focus : QColor(0x8e, 0xa6, 0xbd));
    if (isActive) {
        roundedBox(
            image, { r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1 }, 1, { white, white }, { 0xc8, 0xdd, 0xf2 });
    } else {
        hline(image, r.Left + 2, r.Right - 2, r.Top + 1, { 0xe3, 0xe9, 0xef });
    }
}

void smallButton(QImage &image, const TRect &r, const BoxLook &look, L::Direction d, QColor colour)
{
    box(image, r, 2, look);
    arrowGlyph(image, r, d, colour);
}

QImage drawControls()
{
    QImage image = newPicture(L::controlsWidth, L::controlsHeight, surface);
    const std::array<BoxLook, 4> buttonLooks { buttonNormal, buttonActive, buttonDown, buttonDisabled };
    for (size_t i = 0; i < 4; ++i) {
        box(image, L::button[i], 3, buttonLooks[i]);
    }
    const BoxLook toolDisabled { { surface, surface }, { 0xc9, 0xd4, 0xde }, {} };
    const std::array<BoxLook, 4> toolLooks { toolNormal, buttonActive, buttonDown, toolDisabled };
    for (size_t i = 0; i < 4; ++i) {
        box(image, L::tool[i], 3, toolLooks[i]);
    }
    // The check box lies on the panel: its normal background is the panel's, the hot one a soft plate.
    roundedBox(image, L::checkBack[1], 4, { { 0xe6, 0xef, 0xf8 }, { 0xd6, 0xe5, 0xf3 } }, { 0xb3, 0xcb, 0xe2 });
    checkImages(image, false);
    checkImages(image, true);
    editFrame(image, L::edit[0], false);
    editFrame(image, L::edit[1], true);
    for (size_t i = 0; i < 2; ++i) {
        const TRect &r = L::buttonEdit[i];
        editFrame(image, r, i == 1);
        const TRect b = offsetRect(L::buttonEditButton, r.Left, r.Top);
        smallButton(image, b, toolNormal, L::down, ink);
    }
    smallButton(image, L::editButton[0], buttonActive, L::down, inkActive);
    smallButton(image, L::editButton[1], buttonDown, L::down, inkDown);
    smallButton(image, L::editButton[2], toolDisabled, L::down, inkDisabled);
    roundedBox(image, L::label, 2, { { 0xfb, 0xfc, 0xfd }, { 0xf3, 0xf6, 0xf9 } }, { 0xb3, 0xc3, 0xd2 });
    roundedBox(image, L::statusPanel, 2, { { 0xe4, 0xeb, 0xf2 }, { 0xec, 0xf1, 0xf6 } }, { 0xbd, 0xcb, 0xd8 });
    roundedBox(image, L::well, 2, { white, white }, { 0x8e, 0xa6, 0xbd });
    const std::array<BoxLook, 3> spinLooks { toolNormal, buttonActive, buttonDown };
    for (int state = 0; state < 3; ++state) {
        for (bool isDown : { false, true }) {
            const TRect r = L::spinArrow(state, isDown);
            box(image, r, 2, spinLooks[size_t(state)]);
            arrowGlyph(image, { r.Left, r.Top - 1, r.Right, r.Bottom + 1 }, isDown ? L::down : L::up, ink);
        }
    }
    return image;
}

QImage drawMenuItems()
{
    QImage image = newPicture(60, 52, { 0xfb, 0xfc, 0xfe });
    const QColor column { 0xed, 0xf2, 0xf7 };
    for (const TRect &r : { L::menuItem, L::menuItemActive, L::menuDivider }) {
        fillRect(image, { r.Left, r.Top, r.Left + L::menuGlyphColumn, r.Bottom }, column);
        vline(image, r.Left + L::menuGlyphColumn, r.Top, r.Bottom, { 0xdd, 0xe5, 0xee });
    }
    // Orange text goes on the highlighted item: a deep steel plate keeps it readable.
    const TRect plate { L::menuItemActive.Left + 1, L::menuItemActive.Top + 1, L::menuItemActive.Right - 1,
        L::menuItemActive.Bottom - 1 };
    roundedBox(
        image, plate, 2, { { 0x2f, 0x5b, 0x88 }, { 0x1d, 0x3b, 0x5c } }, { 0x16, 0x2e, 0x48 }, { 0x4f, 0x7d, 0xab });
    const int middle = L::menuDivider.Top + RectHeight(L::menuDivider) / 2;
    hline(image, L::menuGlyphColumn + 2, L::menuDivider.Right, middle - 1, { 0xc9, 0xd4, 0xdf });
    hline(image, L::menuGlyphColumn + 2, L::menuDivider.Right, middle, white);
    return image;
}

QImage drawPopup()
{
    QImage image = newPicture(L::popupSize, L::popupSize, white);
    roundedBox(image, { 0, 0, L::popupSize, L::popupSize }, 3, { { 0xfb, 0xfc, 0xfe }, { 0xfb, 0xfc, 0xfe } },
        { 0x3a, 0x5f, 0x85 }, white);
    return image;
}

QImage drawPopupMask()
{
    QImage image = newPicture(L::popupSize, L::popupSize, white);
    roundedBox(image, { 0, 0, L::popupSize, L::popupSize }, 3, { Qt::black, Qt::black }, Qt::black);
    return image;
}

// ---- panels ----------------------------------------------------------------------------------------------------

void frameRing(QImage &image, const TRect &r, QColor colour)
{
    hline(image, r.Left, r.Right, r.Top, colour);
    hline(image, r.Left, r.Right, r.Bottom - 1, colour);
    vline(image, r.Left, r.Top, r.Bottom, colour);
    vline(image, r.Right - 1, r.Top, r.Bottom, colour);
}

void flatPanel(QImage &image, const TRect &r)
{
    fillRect(image, r, { 0xe8, 0xee, 0xf4 });
    frameRing(image, r, { 0xc3, 0xd1, 0xde });
    hline(image, r.Left + 1, r.Right - 1, r.Top + 1, white);
    vline(image, r.Left + 1, r.Top + 1, r.Bottom - 1, white);
}

void captionPanel(QImage &image, const TRect &r)
{
    roundedBox(image, r, 3, { surface, surface }, { 0x2c, 0x4f, 0x72 });
    fillRamp(image, { r.Left + 1, r.Top + 1, r.Right - 1, r.Top + 20 }, { { 0x5b, 0x8b, 0xbb }, { 0x2f, 0x5d, 0x8a } });
    hline(image, r.Left + 1, r.Right - 1, r.Top + 20, { 0x2c, 0x4f, 0x72 });
}

QImage drawPanels()
{
    QImage image = newPicture(L::panelsWidth, L::panelsHeight, surface);
    // A recessed well: light outside, white, then a darker line against the contents.
    frameRing(image, L::panel, line);
    frameRing(image, { L::panel.Left + 1, L::panel.Top + 1, L::panel.Right - 1, L::panel.Bottom - 1 }, white);
    frameRing(
        image, { L::panel.Left + 2, L::panel.Top + 2, L::panel.Right - 2, L::panel.Bottom - 2 }, { 0x8a, 0xa0, 0xb5 });
    flatPanel(image, L::toolPanel);
    flatPanel(image, L::bigToolPanel);
    roundedBox(image, { L::groupBox.Left, L::groupBox.Top + 7, L::groupBox.Right, L::groupBox.Bottom }, 3,
        { surface, surface }, line, white);
    captionPanel(image, L::rollUpPanel);
    captionPanel(image, L::exPanel);
    roundedBox(image, L::markFrame, 2, { { 0x3f, 0x6d, 0x9b }, { 0x2a, 0x55, 0x80 } }, { 0x24, 0x48, 0x6c });
    fillRamp(image, L::statusBar, { { 0xe9, 0xef, 0xf5 }, { 0xd3, 0xdd, 0xe7 } });
    hline(image, L::statusBar.Left, L::statusBar.Right, L::statusBar.Top, { 0xb3, 0xc3, 0xd3 });
    hline(image, L::statusBar.Left, L::statusBar.Right, L::statusBar.Top + 1, white);
    fillRect(image, L::gripper, key);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j <= i; ++j) {
            const int x = L::gripper.Left + 3 * (3 - i + j) + 1;
            const int y = L::gripper.Top + 3 * i + 1;
            fillRect(image, { x, y, x + 2, y + 2 }, white);
            fillRect(image, { x, y, x + 1, y + 1 }, { 0x8a, 0xa0, 0xb5 });
        }
    }
    const std::array<BoxLook, 3> looks { toolNormal, buttonActive, buttonDown };
    const std::array<L::Direction, 3> rows { L::down, L::up, L::down };
    for (int row = 0; row < 3; ++row) {
        for (int state = 0; state < 3; ++state) {
            const TRect r = L::panelButton(row, state);
            box(image, r, 2, looks[size_t(state)]);
            if (row == 0) {
                frameGlyph(image, r.Left + 2, r.Top + 2, glyphClose, ink); // 9 × 9 cross in a 12 × 12 button
            } else {
                arrowGlyph(image, r, rows[size_t(row)], ink);
            }
        }
    }
    return image;
}

// ---- the kinds of control Pixolo does not use ------------------------------------------------------------------

QImage drawExtras()
{
    QImage image = newPicture(L::extrasWidth, L::extrasHeight, surface);
    const std::array<BoxLook, 3> looks { toolNormal, buttonActive, buttonDown };
    for (int s = 0; s < 3; ++s) {
        const auto state = L::State(s);
        for (int d = 0; d < 4; ++d) {
            smallButton(image, L::arrow(state, L::Direction(d)), looks[size_t(s)], L::Direction(d), ink);
        }
        box(image, L::hThumb(state), 3, looks[size_t(s)]);
        box(image, L::vThumb(state), 3, looks[size_t(s)]);
        for (int i = -2; i <= 2; i += 2) {
            const TRect h = L::hThumb(state);
            vline(image, h.Left + RectWidth(h) / 2 + i, h.Top + 5, h.Bottom - 5, lineDark);
            const TRect v = L::vThumb(state);
            hline(image, v.Left + 5, v.Right - 5, v.Top + RectHeight(v) / 2 + i, lineDark);
        }
    }
    const Ramp trough { { 0xdc, 0xe4, 0xec }, { 0xe9, 0xef, 0xf4 } };
    fillRamp(image, L::hTrack, trough);
    fillRect(image, L::vTrack, { 0xe2, 0xe9, 0xf0 });
    for (const TRect &r : { L::gauge, L::vGauge, L::smallGauge }) {
        roundedBox(image, r, 3, trough, { 0xa8, 0xba, 0xcb });
    }
    const Ramp bar { { 0xff, 0xb0, 0x66 }, { 0xe8, 0x73, 0x0c } };
    fillRamp(image, L::gaugeBar, bar);
    fillRamp(image, L::smallGaugeBar, bar);
    fillRect(image, L::vGaugeBar, { 0xf5, 0x8a, 0x2a });
    roundedBox(image, { L::hTrackBar.Left, L::hTrackBar.Top + 8, L::hTrackBar.Right, L::hTrackBar.Top + 12 }, 2, trough,
        { 0x8e, 0xa6, 0xbd });
    roundedBox(image, { L::vTrackBar.Left + 8, L::vTrackBar.Top, L::vTrackBar.Left + 12, L::vTrackBar.Bottom }, 2,
        trough, { 0x8e, 0xa6, 0xbd });
    for (size_t i = 0; i < 2; ++i) {
        box(image, L::hTrackThumb[i], 2, i == 0 ? buttonNormal : buttonActive);
        box(image, L::vTrackThumb[i], 2, i == 0 ? buttonNormal : buttonActive);
    }
    fillRect(image, L::hSplitter, { 0xe2, 0xe9, 0xf0 });
    fillRect(image, L::vSplitter, { 0xe2, 0xe9, 0xf0 });
    for (int i = 0; i < 5; ++i) {
        fillRect(image, { L::hGrip.Left + 4 * i + 1, L::hGrip.Top + 2, L::hGrip.Left + 4 * i + 3, L::hGrip.Top + 4 },
            lineDark);
        fillRect(image, { L::vGrip.Left + 2, L::vGrip.Top + 4 * i + 1, L::vGrip.Left + 4, L::vGrip.Top + 4 * i + 3 },
            lineDark);
    }
    const std::array<BoxLook, 3> tabLooks { toolNormal, BoxLook { { white, surface }, line, white }, buttonActive };
    for (size_t i = 0; i < 3; ++i) {
        const TRect &r = L::tab[i];
        box(image, { r.Left, r.Top, r.Right, r.Bottom + 3 }, 3, tabLooks[i]); // the rounding stays at the top
        fillRect(image, { r.Left, r.Bottom, r.Right, r.Bottom + 3 }, surface);
        hline(image, r.Left, r.Right, r.Bottom - 1, i == 1 ? white : line);
    }
    frameRing(image, L::tabPage, line);
    fillRamp(image, L::menuBar, { { 0xf4, 0xf7, 0xfa }, { 0xe2, 0xe9, 0xf0 } });
    hline(image, L::menuBar.Left, L::menuBar.Right, L::menuBar.Bottom - 1, { 0xc3, 0xd1, 0xde });
    fillRamp(image, L::menuBarItem[0], { { 0xf4, 0xf7, 0xfa }, { 0xe4, 0xeb, 0xf1 } });
    box(image, L::menuBarItem[1], 2, buttonActive);
    box(image, L::menuBarItem[2], 2, buttonDown);
    const std::array<FrameGlyph, 4> glyphs { glyphRollUp, glyphMinimize, glyphMaximize, glyphClose };
    for (int i = 0; i < 4; ++i) {
        for (bool isDown : { false, true }) {
            const TRect r = L::menuBarButton(i, isDown);
            box(image, r, 2, isDown ? buttonDown : toolNormal);
            if (i == 0) {
                hline(image, r.Left + 3, r.Right - 3, r.Top + 5, ink);
                hline(image, r.Left + 3, r.Right - 3, r.Top + 6, ink);
            } else {
                frameGlyph(image, r.Left + 2 + int(isDown), r.Top + 2 + int(isDown), glyphs[size_t(i)], ink);
            }
        }
    }
    flatPanel(image, L::controlBar);
    return image;
}

QImage drawHint()
{
    QImage image = newPicture(L::hintWidth, L::hintHeight, { 0xf6, 0xf8, 0xfb });
    frameRing(image, { 0, 0, L::hintWidth, L::hintHeight }, { 0x5f, 0x7f, 0x9f });
    fillRect(image, { 3, 3, 5, L::hintHeight - 3 }, accent);
    return image;
}

} // namespace

SkinArt drawSkinArt()
{
    SkinArt art;
    art.frame = drawFrame();
    art.mask = drawMask();
    art.controls = drawControls();
    art.menuItems = drawMenuItems();
    art.popup = drawPopup();
    art.captionButtons = drawCaptionButtons(art.frame);
    art.popupMask = drawPopupMask();
    art.panels = drawPanels();
    art.extras = drawExtras();
    art.hint = drawHint();
    return art;
}

} // namespace pixolo

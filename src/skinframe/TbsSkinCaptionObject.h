#pragma once

#include "skinframe/TbsActiveSkinObject.h"

namespace pixolo
{

// The caption: the window's title drawn over the frame, with optional backgrounds, plate and animation.
class TbsSkinCaptionObject final : public TbsActiveSkinObject
{
public:
    TbsSkinCaptionObject(TbsSkinForm &form, const TbsDataSkinObject *data);

    void Draw(QPainter &Canvas, bool UpDate) override;
    void MouseDown(int X, int Y, Qt::MouseButton Button) override;
    void MouseUp(int X, int Y, Qt::MouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool AnimationInEffect() const;
    // One tick of the animation timer; true when the caption did anything.
    bool AnimationStep();
    // The rectangle of animation frame N (from 1) in the object picture; empty without frames.
    TRect AnimationFrameRect(int N) const;
    // The text's rectangle, relative to the caption's top-left corner.
    TRect TextRect() const;

    QString fontname;
    int fontheight = 14;
    TFontStyles fontstyle = 0;
    int fontcolor = 0;
    int activefontcolor = 0;
    TAlignment alignment = taCenter;
    bool shadow = false;
    int shadowcolor = 0;
    int activeshadowcolor = 0;
    bool light = false;
    int lightcolor = 0;
    int activelightcolor = 0;
    TRect textrect;
    TRect framerect;
    TRect activeframerect;
    TRect frametextrect;
    int frameleftoffset = 0;
    int framerightoffset = 0;
    bool fullframe = false;
    bool stretcheffect = false;
    TRect animateskinrect;
    int framecount = 0;
    int animateinterval = 25;
    bool inactiveanimation = false;
    int AnimationFrame = 0;
    int AnimationTime = 0;

private:
    // The caption's background (ObjectRect's size) from Source of Picture, kept ends and a stretched or tiled
    // middle as the form's corner points say.
    QImage background(const QImage &Picture, const TRect &Source) const;
    // Draws the title with its plate, light and shadow; (DX, DY) is the origin, Active picks the colours.
    void drawText(QPainter &Canvas, int DX, int DY, bool Active);
};

} // namespace pixolo

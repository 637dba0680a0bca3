#include "skinframe/MenuGeometry.h"

#include <algorithm>

namespace pixolo
{

namespace
{

// The band each scroll marker takes at the top and bottom of the items rectangle.
constexpr int s_markerBand = 10;

} // namespace

TPoint PlacePopup(const PopupPlacement &P)
{
    const TRect &A = P.Anchor;
    const TRect &WA = P.WorkArea;
    const int W = P.Width;
    const int H = P.Height;
    const int half = WA.Top + RectHeight(WA) / 2;
    const bool fillsHeight = P.Scrolling && !P.Limited;
    bool beside = false;
    int Y = 0;
    if (fillsHeight) {
        Y = WA.Top;
    } else if (P.IsSubmenu) {
        if (A.Top + H - P.ItemsTop <= WA.Bottom) {
            Y = A.Top - P.ItemsTop;
        } else if (A.Top < half) {
            Y = WA.Bottom - H;
        } else {
            Y = std::max(WA.Top, A.Bottom - H + P.ItemsTop);
        }
    } else if (P.PopupUpward) {
        if (A.Top - H >= WA.Top) {
            Y = A.Top - H;
        } else if (A.Top < half) {
            Y = A.Bottom;
            const int overflow = A.Bottom + H - WA.Bottom;
            if (overflow > 0) {
                Y -= overflow;
                beside = true;
            }
        } else {
            Y = WA.Top;
            beside = true;
        }
    } else {
        if (A.Bottom + H <= WA.Bottom) {
            Y = A.Bottom;
        } else if (A.Top < half) {
            Y = A.Bottom - (A.Bottom + H - WA.Bottom);
            beside = true;
        } else if (A.Top - H >= WA.Top) {
            Y = A.Top - H;
        } else {
            Y = WA.Top;
            beside = true;
        }
    }

    int X = 0;
    if (P.IsSubmenu || fillsHeight || beside) {
        X = A.Right + 1;
        if (A.Right + W + 1 > WA.Right) {
            X = A.Left - W - 1;
        }
    } else {
        X = A.Left;
        if (A.Left + W > WA.Right) {
            X = WA.Right - W;
        } else if (A.Left < WA.Left) {
            X = WA.Left;
        }
    }
    return { X, Y };
}

int LayoutMenuItems(
    const std::vector<int> &Heights, const TRect &Items, bool Scrolling, int First, std::vector<TRect> &Rects)
{
    Rects.assign(Heights.size(), TRect());
    const int top = Items.Top + (Scrolling ? s_markerBand : 0);
    const int bottom = Items.Bottom - (Scrolling ? s_markerBand : 0);
    int y = top;
    int placed = 0;
    for (size_t i = size_t(std::max(First, 0)); i < Heights.size(); ++i) {
        if (y + Heights[i] > bottom) {
            break;
        }
        Rects[i] = { Items.Left, y, Items.Right, y + Heights[i] };
        y += Heights[i];
        ++placed;
    }
    return placed;
}

int LastPageStart(const std::vector<int> &Heights, const TRect &Items)
{
    int room = Items.Bottom - s_markerBand - (Items.Top + s_markerBand);
    int fit = 0;
    for (auto h = Heights.rbegin(); h != Heights.rend() && room - *h >= 0; ++h) {
        room -= *h;
        ++fit;
    }
    return std::max(0, int(Heights.size()) - std::max(fit, 1));
}

} // namespace pixolo

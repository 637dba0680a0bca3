#pragma once

#include "skin/SkinGeometry.h"

#include <vector>

namespace pixolo
{

// Where a popup level of a skinned menu goes, in screen coordinates. The popup (Width × Height) opens below its
// anchor, or above it when it does not fit below and the anchor lies in the lower half of the work area; a submenu
// opens beside its anchor with its first item level with the anchor; a popup as high as the work area (scrolling,
// not limited by an item count) starts at the work area's top beside its anchor. Whatever does not fit moves
// inside the work area or beside the anchor.
struct PopupPlacement {
    TRect Anchor;
    TRect WorkArea;
    int Width = 0;
    int Height = 0;
    bool IsSubmenu = false;
    bool PopupUpward = false;
    bool Scrolling = false; // the popup cannot show all its items at once
    bool Limited = false; // its height was cut by the engine's item limit
    int ItemsTop = 0; // top of the popup's items rectangle
};

TPoint PlacePopup(const PopupPlacement &P);

// Stacks items of the given heights from the top of Items (10 pixels lower when scrolling: room for the upper
// marker) starting at item First, and stops before the first item whose bottom passes the bottom of Items (10 pixels
// higher when scrolling). Rects gets one rectangle per item (empty for those not placed); the result is the number
// placed.
int LayoutMenuItems(
    const std::vector<int> &Heights, const TRect &Items, bool Scrolling, int First, std::vector<TRect> &Rects);

// The first item of the last page of a scrolling popup: counting item heights upward from the items rectangle's
// bottom − 10 while more than 10 pixels remain.
int LastPageStart(const std::vector<int> &Heights, const TRect &Items);

// The next (Step 1) or previous (Step −1) index after From that Qualifies, wrapping around at the ends; -1 when no
// item qualifies after a whole round (From itself is the last one tried).
template <class Qualifies> int NextMenuIndex(int Count, int From, int Step, Qualifies qualifies)
{
    if (Count <= 0) {
        return -1;
    }
    int index = From;
    for (int tried = 0; tried < Count; ++tried) {
        index += Step;
        if (index >= Count) {
            index = 0;
        } else if (index < 0) {
            index = Count - 1;
        }
        if (qualifies(index)) {
            return index;
        }
    }
    return -1;
}

} // namespace pixolo

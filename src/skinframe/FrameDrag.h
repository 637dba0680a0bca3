#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

#include <array>

namespace pixolo
{

// The window edges a sizing hit code drags (none for other codes).
Qt::Edges edgesForHitCode(int code);
// The cursor over a frame point of that hit code: a sizing arrow on the edges and corners, else the arrow.
Qt::CursorShape cursorForHitCode(int code);

// The geometry of a window whose `edges` are dragged by `delta` from `start`, kept within `minimum` and `maximum`:
// the dragged edges move, the opposite edges stay where they are.
QRect resizedGeometry(
    Qt::Edges edges, const QRect &start, const QPoint &delta, const QSize &minimum, const QSize &maximum);

// A move or a size that the frame carries out itself, where no window manager does it: from the press, every
// mouse position gives the window's new geometry.
class FrameDrag
{
public:
    enum Kind { None, Move, Size };

    Kind kind() const { return m_kind; }
    bool active() const { return m_kind != None; }
    Qt::Edges edges() const { return m_edges; }

    void beginMove(const QPoint &global, const QRect &geometry);
    void beginSize(Qt::Edges edges, const QPoint &global, const QRect &geometry);
    void end() { m_kind = None; }

    // The window's geometry with the mouse at `global`.
    QRect geometryAt(const QPoint &global, const QSize &minimum, const QSize &maximum) const;

private:
    Kind m_kind = None;
    Qt::Edges m_edges;
    QPoint m_startGlobal;
    QRect m_startGeometry;
};

// Where a moving window sticks to the edges of the work area: the stuck flags of the left, top, right and bottom
// edges and the cursor position where the window last stuck.
struct MagneticState {
    std::array<bool, 4> stuck {};
    QPoint anchor;

    void clear() { stuck = {}; }
};

// The position of a window of size `window` proposed at `proposed` while the cursor is at `cursor`, snapped to
// the edges of `area` within `size` pixels: an edge that comes near sticks, and stays until the cursor has moved
// more than `size` pixels from where it stuck.
QPoint MagneticSnap(
    MagneticState &state, const QRect &area, int size, QPoint proposed, const QSize &window, const QPoint &cursor);

} // namespace pixolo

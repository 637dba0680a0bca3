#include "skinframe/FrameDrag.h"

#include "skinframe/SkinFrameTypes.h"

#include <algorithm>
#include <cstdlib>

namespace pixolo
{

Qt::Edges edgesForHitCode(int code)
{
    switch (code) {
    case HTLEFT:
        return Qt::LeftEdge;
    case HTRIGHT:
        return Qt::RightEdge;
    case HTTOP:
        return Qt::TopEdge;
    case HTBOTTOM:
        return Qt::BottomEdge;
    case HTTOPLEFT:
        return Qt::TopEdge | Qt::LeftEdge;
    case HTTOPRIGHT:
        return Qt::TopEdge | Qt::RightEdge;
    case HTBOTTOMLEFT:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HTBOTTOMRIGHT:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}

Qt::CursorShape cursorForHitCode(int code)
{
    switch (code) {
    case HTLEFT:
    case HTRIGHT:
        return Qt::SizeHorCursor;
    case HTTOP:
    case HTBOTTOM:
        return Qt::SizeVerCursor;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return Qt::SizeFDiagCursor;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return Qt::SizeBDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QRect resizedGeometry(
    Qt::Edges edges, const QRect &start, const QPoint &delta, const QSize &minimum, const QSize &maximum)
{
    const auto span = [](int lowEdge, int highEdge, bool moveLow, bool moveHigh, int d, int least, int most) {
        // Edges as exclusive coordinates: [low, high).
        int low = lowEdge;
        int high = highEdge;
        if (moveLow) {
            low = std::clamp(low + d, high - most, high - least);
        } else if (moveHigh) {
            high = std::clamp(high + d, low + least, low + most);
        }
        return std::pair(low, high);
    };
    const int maxWidth = std::max(maximum.width(), minimum.width());
    const int maxHeight = std::max(maximum.height(), minimum.height());
    const auto [left, right] = span(start.left(), start.left() + start.width(), edges & Qt::LeftEdge,
        edges & Qt::RightEdge, delta.x(), minimum.width(), maxWidth);
    const auto [top, bottom] = span(start.top(), start.top() + start.height(), edges & Qt::TopEdge,
        edges & Qt::BottomEdge, delta.y(), minimum.height(), maxHeight);
    return QRect(left, top, right - left, bottom - top);
}

void FrameDrag::beginMove(const QPoint &global, const QRect &geometry)
{
    m_kind = Move;
    m_edges = {};
    m_startGlobal = global;
    m_startGeometry = geometry;
}

void FrameDrag::beginSize(Qt::Edges edges, const QPoint &global, const QRect &geometry)
{
    m_kind = edges ? Size : None;
    m_edges = edges;
    m_startGlobal = global;
    m_startGeometry = geometry;
}

QRect FrameDrag::geometryAt(const QPoint &global, const QSize &minimum, const QSize &maximum) const
{
    const QPoint delta = global - m_startGlobal;
    switch (m_kind) {
    case Move:
        return m_startGeometry.translated(delta);
    case Size:
        return resizedGeometry(m_edges, m_startGeometry, delta, minimum, maximum);
    case None:
        break;
    }
    return m_startGeometry;
}

QPoint MagneticSnap(
    MagneticState &state, const QRect &area, int size, QPoint proposed, const QSize &window, const QPoint &cursor)
{
    const int M = size;
    int X = proposed.x();
    int Y = proposed.y();
    // One edge: P is the proposed coordinate of the window's edge, A the area's; returns the edge's coordinate.
    const auto edge = [&](int index, int P, int A, int cursorCoord, int &anchorCoord) {
        const bool nearEdge = A - M < P && P < A + M;
        int result = P;
        if (nearEdge && !state.stuck[size_t(index)]) {
            result = A;
            anchorCoord = cursorCoord;
        } else if (state.stuck[size_t(index)]) {
            result = std::abs(cursorCoord - anchorCoord) > M ? cursorCoord + A - anchorCoord : A;
        }
        state.stuck[size_t(index)] = nearEdge;
        return result;
    };
    int anchorX = state.anchor.x();
    int anchorY = state.anchor.y();
    X = edge(0, X, area.left(), cursor.x(), anchorX);
    Y = edge(1, Y, area.top(), cursor.y(), anchorY);
    X = edge(2, X + window.width(), area.left() + area.width(), cursor.x(), anchorX) - window.width();
    Y = edge(3, Y + window.height(), area.top() + area.height(), cursor.y(), anchorY) - window.height();
    state.anchor = QPoint(anchorX, anchorY);
    return QPoint(X, Y);
}

} // namespace pixolo

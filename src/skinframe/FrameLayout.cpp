#include "skinframe/FrameLayout.h"

#include "skin/SkinPlatform.h"
#include "skin/TbsSkinData.h"
#include "skinframe/FrameEventFilter.h"
#include "skinframe/TbsSkinForm.h"

#include <QWidget>

#include <vector>

namespace pixolo
{

namespace
{

// The order in which caption buttons are placed from the right (or left) edge of a button row.
constexpr TbsStdCommand s_rowOrder[] = { cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray };

} // namespace

void FrameLayout::takeWindowSize()
{
    m_frameWidth = m_form.m_form->width();
    m_frameHeight = m_form.m_form->height();
}

DefaultFrameMetrics FrameLayout::defaultMetrics() const
{
    return DefaultFrameMetrics::forStyle(m_form.m_borderStyle);
}

FrameSizeRules FrameLayout::sizeRules() const
{
    FrameSizeRules rules;
    rules.Skin = m_form.m_skinInUse ? m_form.m_skinData.data() : nullptr;
    rules.MinWidth = m_form.m_minWidth;
    rules.MinHeight = m_form.m_minHeight;
    rules.MaxWidth = m_form.m_maxWidth;
    rules.MaxHeight = m_form.m_maxHeight;
    rules.RolledUp = m_form.RollUpState();
    rules.Minimized = m_form.SkinWindowState() == wsMinimized;
    rules.DefaultCaptionHeight = defaultMetrics().CaptionHeight;
    rules.WorkArea = GetMonitorWorkArea(m_form.m_form, !m_form.m_maximizeOnFullScreen);
    return rules;
}

int FrameLayout::GetMinWidth() const
{
    return sizeRules().GetMinWidth();
}

int FrameLayout::GetMinHeight() const
{
    return sizeRules().GetMinHeight();
}

int FrameLayout::GetMaxWidth() const
{
    return sizeRules().GetMaxWidth();
}

int FrameLayout::GetMaxHeight() const
{
    return sizeRules().GetMaxHeight();
}

void FrameLayout::updateSizeLimits()
{
    QWidget *form = m_form.m_form;
    form->setMinimumSize(GetMinWidth(), GetMinHeight());
    // Rolled up, the window is its caption: nothing may make it higher until it is rolled down.
    form->setMaximumHeight(m_form.RollUpState() ? GetMinHeight() : QWIDGETSIZE_MAX);
}

void FrameLayout::NudgeWidth()
{
    if (m_form.m_skinInUse) {
        UpdateFrame(true);
    } else {
        layoutDefaultFrame();
        placeClient();
    }
    m_form.m_form->update();
}

void FrameLayout::relayoutSkin()
{
    m_geometry = CalcFrameGeometry(*m_form.m_skinData, m_frameWidth, m_frameHeight);
    LayoutObjects();
}

void FrameLayout::UpdateFrame(bool Relayout)
{
    if (!m_form.m_skinInUse) {
        return;
    }
    QWidget *form = m_form.m_form;
    const int W = m_frameWidth > 0 ? m_frameWidth : form->width();
    const int H = m_frameHeight > 0 ? m_frameHeight : form->height();
    m_geometry = CalcFrameGeometry(*m_form.m_skinData, W, H);
    if (Relayout) {
        LayoutObjects();
    }
    UpdateWindowRegion(Relayout);
    placeClient();
    form->update();
}

void FrameLayout::LayoutObjects()
{
    if (!m_form.m_skinInUse) {
        return;
    }
    const TbsSkinData &store = *m_form.m_skinData;
    const auto &objects = m_form.m_objects;
    for (const auto &object : objects) {
        if (!object->skinrectinapicture) {
            object->ObjectRect = StretchFrameRect(store, m_geometry, object->skinrect);
        }
    }

    // The button row: only where the skin gives a buttons or a caption rectangle.
    TRect area;
    bool inCaption = false;
    if (!IsNullRect(store.buttonsrect)) {
        area = m_geometry.NewButtonsRect;
    } else if (!IsNullRect(store.captionrect)) {
        area = m_geometry.NewCaptionRect;
        inCaption = true;
    } else {
        return;
    }
    const auto takesPart
        = [](const TbsActiveSkinObject *o) { return o->ObjectVisible && o->skinrectinapicture && isCaptionButton(o); };
    const auto sizeOf = [this](const TbsActiveSkinObject *o) {
        if (commandOf(o) == cmSysMenu && m_form.m_showIcon) {
            const int s = m_form.painter().smallIconSize();
            return QSize(s, s);
        }
        return toQRect(o->skinrect).size();
    };
    std::vector<TbsActiveSkinObject *> row;
    for (const TbsStdCommand command : s_rowOrder) {
        for (const auto &object : objects) {
            if (takesPart(object.get()) && commandOf(object.get()) == command) {
                row.push_back(object.get());
                break;
            }
        }
    }
    TbsActiveSkinObject *systemMenu = nullptr;
    TbsActiveSkinObject *caption = nullptr;
    for (const auto &object : objects) {
        if (takesPart(object.get()) && commandOf(object.get()) == cmDefault) {
            row.push_back(object.get());
        }
        if (!systemMenu && takesPart(object.get()) && commandOf(object.get()) == cmSysMenu) {
            systemMenu = object.get();
        }
        if (!caption && dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            caption = object.get();
        }
    }
    const int offset = m_geometry.ButtonsOffset;
    const int top = area.Top;
    if (!m_geometry.ButtonsInLeft) {
        int X = area.Right;
        for (TbsActiveSkinObject *o : row) {
            const QSize s = sizeOf(o);
            o->ObjectRect = { X - s.width(), top, X, top + s.height() };
            X -= offset + s.width();
        }
        if (inCaption && caption) {
            caption->ObjectRect.Right = X + offset;
        }
        X = m_geometry.NewCaptionRect.Left;
        if (systemMenu) {
            const QSize s = sizeOf(systemMenu);
            const TRect &c = m_geometry.NewCaptionRect;
            const int y = c.Top + RectHeight(c) / 2 - s.height() / 2;
            systemMenu->ObjectRect = { X, y, X + s.width(), y + s.height() };
            X += offset + s.width();
        }
        if (caption && !IsNullRect(store.captionrect)) {
            caption->ObjectRect.Left = X - offset;
        }
    } else {
        int X = area.Left;
        if (inCaption && systemMenu) {
            row.push_back(systemMenu);
        }
        for (TbsActiveSkinObject *o : row) {
            const QSize s = sizeOf(o);
            o->ObjectRect = { X, top, X + s.width(), top + s.height() };
            X += offset + s.width();
        }
        if (inCaption && caption) {
            caption->ObjectRect.Left = X + offset;
        }
    }
}

void FrameLayout::layoutDefaultFrame()
{
    if (m_form.m_skinInUse) {
        return;
    }
    const DefaultFrameMetrics metrics = defaultMetrics();
    const int W = m_frameWidth > 0 ? m_frameWidth : m_form.m_form->width();
    const int size = metrics.ButtonSize;
    const bool showIcon = m_form.m_showIcon;
    m_defaultCaption = { 3, 3, W - 3, metrics.CaptionHeight };
    int X = W - 3;
    for (const TbsStdCommand command : s_rowOrder) {
        for (const auto &object : m_form.m_objects) {
            if (object->ObjectVisible && commandOf(object.get()) == command && isCaptionButton(object.get())) {
                object->ObjectRect = { X - size, 4, X, 4 + size };
                X -= size;
                break;
            }
        }
    }
    m_defaultCaption.Right = X;
    X = 3;
    for (const auto &object : m_form.m_objects) {
        if (object->ObjectVisible && commandOf(object.get()) == cmSysMenu && isCaptionButton(object.get())) {
            const int w = showIcon ? m_form.painter().smallIconSize() : size;
            object->ObjectRect = { X, 4, X + w, 4 + (showIcon ? w : size) };
            m_defaultCaption.Left = X + w;
            break;
        }
    }
}

TRect FrameLayout::clientRect() const
{
    if (m_form.m_skinInUse) {
        return m_geometry.clientArea();
    }
    return defaultClientRect(defaultMetrics(), m_frameWidth, m_frameHeight);
}

void FrameLayout::placeClient()
{
    QWidget *client = m_form.m_client;
    const TRect r = m_form.m_borderStyle == bsNone ? TRect { 0, 0, m_frameWidth, m_frameHeight } : clientRect();
    if (m_form.RollUpState() || IsNullRect(r) || r.Right <= r.Left || r.Bottom <= r.Top) {
        // Rolled up, or no room: the client is hidden at the size it had. Squeezing it would lay its aligned
        // controls out anew in no space, and they would not all come back where they were.
        client->hide();
        return;
    }
    client->setGeometry(toQRect(r));
    client->show();
}

void FrameLayout::UpdateWindowRegion(bool Full)
{
    QWidget *form = m_form.m_form;
    const TbsSkinData *store = m_form.m_skinData.data();
    if (m_form.m_borderStyle == bsNone || !m_form.m_skinInUse || !store || store->MaskPicture.Empty()) {
        m_mask.reset();
        form->clearMask();
        return;
    }
    if (Full) {
        m_mask = FrameMask::build(*store, m_geometry);
        if (m_mask) {
            form->setMask(m_mask->region());
        }
        return;
    }
    if (const std::optional<QRegion> whole = FrameMask::wholeMaskRegion(*store)) {
        form->setMask(*whole);
    }
}

void FrameLayout::resizeForClient(QSize client)
{
    if (m_form.m_skinInUse) {
        const TbsSkinData &store = *m_form.m_skinData;
        resizeForm(QSize(client.width() + store.Picture.Width() - RectWidth(store.clientrect),
            client.height() + store.Picture.Height() - RectHeight(store.clientrect)));
    } else {
        const DefaultFrameMetrics metrics = defaultMetrics();
        resizeForm(
            QSize(client.width() + 2 * metrics.Border, client.height() + metrics.CaptionHeight + 2 * metrics.Border));
    }
}

void FrameLayout::resizeForm(QSize size)
{
    QWidget *form = m_form.m_form;
    form->resize(size);
    // A hidden window gets its resize event only when shown: the frame follows at once all the same.
    if (!form->isVisible() && (m_frameWidth != form->width() || m_frameHeight != form->height())) {
        windowResized();
    }
}

void FrameLayout::windowResized()
{
    m_form.states().clearMagnetic();
    takeWindowSize();
    if (m_form.m_skinInUse) {
        if (m_frameWidth >= GetMinWidth() && m_frameHeight >= GetMinHeight()) {
            UpdateFrame(true);
        } else {
            placeClient();
        }
    } else {
        layoutDefaultFrame();
        placeClient();
        m_form.m_form->update();
    }
}

FrameHitState FrameLayout::hitState() const
{
    FrameHitState state;
    state.Width = m_frameWidth;
    state.Height = m_frameHeight;
    state.Sizeable = isSizeable(m_form.m_borderStyle);
    state.Maximized = m_form.SkinWindowState() == wsMaximized;
    state.Minimized = m_form.SkinWindowState() == wsMinimized;
    state.RolledUp = m_form.RollUpState();
    state.ObjectHot = m_form.HotObjectIndex() != -1;
    state.SizingLoop = m_form.events().sizingLoop();
    state.BorderWidth = m_form.m_skinInUse ? m_form.m_skinData->borderwidth : 0;
    for (const auto &object : m_form.m_objects) {
        if (dynamic_cast<TbsSkinCaptionObject *>(object.get())) {
            state.CaptionRects.push_back(object->ObjectRect);
        }
    }
    return state;
}

int FrameLayout::SkinHitTest(TPoint P) const
{
    return pixolo::SkinHitTest(m_geometry, m_mask ? &*m_mask : nullptr, hitState(), P);
}

int FrameLayout::DefaultHitTest(TPoint P) const
{
    return pixolo::DefaultHitTest(m_defaultCaption, defaultMetrics().CaptionHeight, hitState(), P);
}

int FrameLayout::HitTest(TPoint P) const
{
    if (m_form.m_borderStyle == bsNone) {
        return HTCLIENT;
    }
    return m_form.m_skinInUse ? SkinHitTest(P) : DefaultHitTest(P);
}

TPoint FrameLayout::ScreenToWindow(const QPoint &global) const
{
    const QPoint p = m_form.m_form->mapFromGlobal(global);
    return { p.x(), p.y() };
}

} // namespace pixolo

#include "skinframe/TbsSkinPopupWindow.h"

#include "skin/AccessibilityEvents.h"
#include "skin/SkinGlyphs.h"
#include "skin/SkinPlatform.h"
#include "skin/SkinRegion.h"
#include "skin/SkinText.h"
#include "skin/TbsEffectBmp.h"
#include "skin/TbsSkinData.h"
#include "skinframe/MenuGeometry.h"
#include "skinframe/MenuItemPainter.h"
#include "skinframe/SkinFrameTypes.h"
#include "skinframe/TbsSkinMenu.h"

#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace pixolo
{

namespace
{

// A hovered scroll marker scrolls one item every 100 ms.
constexpr int s_scrollIntervalMs = 100;
// The band of each scroll marker.
constexpr int s_markerBand = 10;

QRect textExtent(const QFontMetrics &metrics, const QString &text)
{
    return metrics.boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, text);
}

} // namespace

// --- TbsSkinPopupWindow ---------------------------------------------------------------------------------------

TbsSkinPopupWindow::TbsSkinPopupWindow(TbsSkinMenu *menu, QWidget *parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
    , m_menu(menu)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_X11NetWmWindowTypePopupMenu);
    // A press that closes the menu goes on by pressOutside, not by the framework's replay.
    setAttribute(Qt::WA_NoMouseReplay);
    setMouseTracking(true);
    m_effectTimer = new QTimer(this);
    m_effectTimer->setInterval(s_effectIntervalMs);
    connect(m_effectTimer, &QTimer::timeout, this, &TbsSkinPopupWindow::EffectTick);
    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(s_scrollIntervalMs);
    connect(m_scrollTimer, &QTimer::timeout, this, [this] {
        if (!ScrollStep(m_scrollDirection)) {
            StopScroll();
        }
    });
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() = default;

TbsSkinMenuItem *TbsSkinPopupWindow::ActiveItem() const
{
    return m_activeIndex >= 0 && m_activeIndex < int(m_items.size()) ? m_items[size_t(m_activeIndex)].get() : nullptr;
}

int TbsSkinPopupWindow::IndexOf(const TbsSkinMenuItem *item) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == item) {
            return int(i);
        }
    }
    return -1;
}

void TbsSkinPopupWindow::loadSkin()
{
    m_popupData.reset();
    m_entry.reset();
    m_windowPicture = QImage();
    m_maskPicture = QImage();
    m_itemPicture = QImage();
    m_effects = false;
    const TbsSkinData *store = m_menu->SkinData();
    if (!store || store->Empty()) {
        return;
    }
    m_effects = store->EnableSkinEffects();
    const TbsDataSkinPopupWindow &data = store->PopupWindow;
    // Picture indexes are checked against the list, not only against -1.
    if (const TBitmap *picture = store->ActivePicture(data.windowpictureindex)) {
        m_popupData = data;
        m_windowPicture = picture->toRgb32();
        if (const TBitmap *mask = store->ActivePicture(data.maskpictureindex)) {
            m_maskPicture = mask->toRgb32();
        }
    }
    for (const auto &object : store->ObjectList) {
        if (const auto *entry = dynamic_cast<const TbsDataSkinMenuItem *>(object.get())) {
            // An entry without a picture would give items of no height: the plain items are drawn instead.
            if (const TBitmap *picture = store->ActivePicture(entry->activepictureindex)) {
                m_entry = cloneSkinEntry(*entry);
                m_itemPicture = picture->toRgb32();
            }
            break;
        }
    }
}

int TbsSkinPopupWindow::itemHeight(const TbsSkinMenuItem &item) const
{
    if (m_entry) {
        return item.IsSeparator() ? RectHeight(m_entry->dividerrect) : RectHeight(m_entry->skinrect);
    }
    return item.IsSeparator() ? 4 : m_menu->DefaultItemHeight();
}

void TbsSkinPopupWindow::computeSize(int &W, int &H)
{
    const QFontMetrics metrics(m_font);
    int widest = 0;
    int itemsHeight = 0;
    for (const auto &item : m_items) {
        itemsHeight += itemHeight(*item);
        if (item->IsSeparator()) {
            continue;
        }
        QString text = item->Caption();
        const QString shortCut = item->ShortCutText();
        if (!shortCut.isEmpty()) {
            text += QStringLiteral("  ") + shortCut;
        }
        widest = std::max(widest, textExtent(metrics, text).width() + 2);
    }
    const int sum = widest + GlyphColumnWidth() + 19;
    // The frame around the items: from the popup picture, else 2 pixels on each side; the margins of an item
    // beside its text: from the item entry, else 3 on each side.
    const int frameWidth = m_popupData ? m_windowPicture.width() - RectWidth(m_popupData->itemsrect) : 4;
    const int frameHeight = m_popupData ? m_windowPicture.height() - RectHeight(m_popupData->itemsrect) : 4;
    const int margins = m_entry ? m_entry->textrect.Left + (RectWidth(m_entry->skinrect) - m_entry->textrect.Right) : 6;
    W = frameWidth + sum + margins;
    H = itemsHeight + frameHeight;

    m_scroll = false;
    m_limited = false;
    const int limit = m_menu->MaxMenuItemsInWindow();
    if (limit > 0 && limit < int(m_items.size())) {
        const int rowHeight = m_entry ? RectHeight(m_entry->skinrect) : m_menu->DefaultItemHeight();
        H = limit * rowHeight + 2 * s_markerBand + frameHeight;
        m_scroll = true;
        m_limited = true;
    }
    const int workHeight = RectHeight(m_menu->WorkArea());
    if (workHeight > 0 && H > workHeight) {
        H = workHeight;
        m_scroll = true;
    }
}

void TbsSkinPopupWindow::computeNewPoints(int W, int H)
{
    if (!m_popupData) {
        m_newItemsRect = { 2, 2, W - 2, H - 2 };
        return;
    }
    const TbsDataSkinPopupWindow &d = *m_popupData;
    m_oldPoints = { d.lefttoppoint, d.righttoppoint, d.leftbottompoint, d.rightbottompoint, d.itemsrect };
    m_newPoints = m_oldPoints.grownBy(W - m_windowPicture.width(), H - m_windowPicture.height());
    m_newItemsRect = m_newPoints.ClRect;
}

void TbsSkinPopupWindow::LayoutItems()
{
    std::vector<int> heights;
    heights.reserve(m_items.size());
    for (const auto &item : m_items) {
        heights.push_back(itemHeight(*item));
    }
    std::vector<TRect> rects;
    m_visibleCount = LayoutMenuItems(heights, m_newItemsRect, m_scroll, m_firstVisible, rects);
    for (size_t i = 0; i < m_items.size(); ++i) {
        TbsSkinMenuItem &item = *m_items[i];
        const bool visible = int(i) >= m_firstVisible && int(i) < m_firstVisible + m_visibleCount;
        if (!visible && item.Visible) {
            // Scrolled out of view: its effects start afresh when it comes back.
            item.MorphFactor = 0;
            item.AnimationFrame = 0;
        }
        item.Visible = visible;
        item.ItemRect = rects[i];
    }
}

void TbsSkinPopupWindow::ShowAt(const TRect &Anchor, QMenu *Item, bool IsSubmenu, bool PopupUpward, int StartIndex)
{
    m_item = Item;
    loadSkin();
    if (m_popupData && m_entry && m_menu->UseSkinFont()) {
        m_font = skinFont(m_entry->fontname, m_entry->fontheight, m_entry->fontstyle);
    } else {
        m_font = m_menu->DefaultItemFont();
    }

    m_items.clear();
    if (Item) {
        int index = 0;
        for (QAction *action : Item->actions()) {
            if (!action->isVisible()) {
                continue;
            }
            if (index++ < StartIndex) {
                continue;
            }
            m_items.push_back(std::make_unique<TbsSkinMenuItem>(this, action));
        }
    }
    m_activeIndex = -1;
    m_oldActiveIndex = -1;
    m_firstVisible = 0;
    m_scrollDirection = 0;

    int W = 0;
    int H = 0;
    computeSize(W, H);
    computeNewPoints(W, H);
    LayoutItems();
    m_shape.reset();
    if (m_popupData && !m_maskPicture.isNull()) {
        m_shape = CreateSkinRegion(m_oldPoints, m_newPoints, m_maskPicture, W, H);
    }
    if (m_shape) {
        setMask(*m_shape);
    } else {
        clearMask();
    }

    PopupPlacement placement;
    placement.Anchor = Anchor;
    placement.WorkArea = m_menu->WorkArea();
    placement.Width = W;
    placement.Height = H;
    placement.IsSubmenu = IsSubmenu;
    placement.PopupUpward = PopupUpward;
    placement.Scrolling = m_scroll;
    placement.Limited = m_limited;
    placement.ItemsTop = m_newItemsRect.Top;
    const TPoint at = PlacePopup(placement);
    if (IsWindows5x() && m_menu->AlphaBlend()) {
        // The fade of the first menu runs without pause: it ends where a constant opacity starts.
        SetWindowAlpha(this, m_menu->AlphaBlendValue());
    }
    setGeometry(at.X, at.Y, W, H);
    show();
    raise();
    QAccessibleEvent opened(this, QAccessible::PopupMenuStart);
    notifyAccessibility(opened);

    const int first = NextMenuIndex(int(m_items.size()), -1, 1,
        [this](int i) { return m_items[size_t(i)]->Enabled() && !m_items[size_t(i)]->IsSeparator(); });
    if (first != -1) {
        ScrollTo(first);
        TbsSkinMenuItem &item = *m_items[size_t(first)];
        m_activeIndex = first;
        item.Waiting = true;
        item.Activate(true);
    }
}

void TbsSkinPopupWindow::SetActiveIndex(int Index, bool ByKey)
{
    if (Index < 0 || Index >= int(m_items.size())) {
        return;
    }
    const int previous = m_activeIndex;
    m_oldActiveIndex = previous;
    if (previous != -1 && previous != Index && previous < int(m_items.size())) {
        TbsSkinMenuItem &old = *m_items[size_t(previous)];
        if (old.Enabled() && !old.IsSeparator()) {
            old.Deactivate();
        }
    }
    m_activeIndex = Index;
    TbsSkinMenuItem &item = *m_items[size_t(Index)];
    if (item.Enabled() && !item.IsSeparator()) {
        item.Activate(ByKey);
    }
    if (previous != Index) {
        // A screen reader follows the highlighted item as the focus.
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(Index);
        notifyAccessibility(focus);
    }
}

void TbsSkinPopupWindow::ScrollTo(int Index)
{
    if (!m_scroll || Index < 0 || Index >= int(m_items.size())) {
        return;
    }
    if (Index < m_firstVisible) {
        m_firstVisible = Index;
    } else {
        while (Index >= m_firstVisible + m_visibleCount && m_firstVisible < Index) {
            ++m_firstVisible;
            LayoutItems();
        }
    }
    LayoutItems();
    update();
}

void TbsSkinPopupWindow::StartScroll(int Direction)
{
    m_menu->CloseLevels(m_menu->LevelOf(this) + 1);
    m_scrollDirection = Direction;
    m_scrollTimer->start();
    update();
}

void TbsSkinPopupWindow::StopScroll()
{
    if (m_scrollDirection == 0 && !m_scrollTimer->isActive()) {
        return;
    }
    m_scrollDirection = 0;
    m_scrollTimer->stop();
    update();
}

bool TbsSkinPopupWindow::ScrollStep(int Direction)
{
    if (Direction == 1 && m_firstVisible > 0) {
        --m_firstVisible;
    } else if (Direction == 2 && m_firstVisible + m_visibleCount < int(m_items.size())) {
        ++m_firstVisible;
    } else {
        return false;
    }
    LayoutItems();
    update();
    return true;
}

void TbsSkinPopupWindow::HoverAt(int X, int Y)
{
    const TPoint P { X, Y };
    if (m_scroll) {
        const TRect &r = m_newItemsRect;
        const TRect upper { r.Left, r.Top, r.Right, r.Top + s_markerBand };
        const TRect lower { r.Left, r.Bottom - s_markerBand, r.Right, r.Bottom };
        const bool inUpper = pointInRect(upper, P);
        const bool inLower = pointInRect(lower, P);
        if (inUpper && m_scrollDirection == 0 && m_firstVisible > 0) {
            StartScroll(1);
        } else if (inLower && m_scrollDirection == 0 && m_firstVisible + m_visibleCount < int(m_items.size())) {
            StartScroll(2);
        } else if (!inUpper && !inLower && m_scrollDirection != 0) {
            StopScroll();
        }
    }
    int index = -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->Visible && pointInRect(m_items[i]->ItemRect, P)) {
            index = int(i);
            break;
        }
    }
    if (index == -1) {
        return;
    }
    TbsSkinMenuItem &item = *m_items[size_t(index)];
    if (index == m_activeIndex) {
        if (item.Waiting) {
            item.Waiting = false;
            if (item.HasChildren() && item.Enabled()) {
                item.Activate(false);
            }
        }
        return;
    }
    SetActiveIndex(index, false);
}

bool TbsSkinPopupWindow::KeyDown(int Key, const QString &Text)
{
    const int level = m_menu->LevelOf(this);
    if (level == -1) {
        return false;
    }
    const QChar typed = Text.size() == 1 ? Text.at(0).toLower() : QChar();
    if (!typed.isNull() && typed.isPrint()) {
        for (size_t i = 0; i < m_items.size(); ++i) {
            TbsSkinMenuItem &item = *m_items[i];
            if (item.IsSeparator() || item.Accelerator() != typed) {
                continue;
            }
            const QPointer<TbsSkinPopupWindow> self(this);
            ScrollTo(int(i));
            SetActiveIndex(int(i), false);
            if (self && m_menu->LevelOf(this) != -1) {
                item.Click();
            }
            return true;
        }
    }
    switch (Key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (TbsSkinMenuItem *item = ActiveItem()) {
            item->Click();
        }
        return true;
    case Qt::Key_Left:
        if (level < 1) {
            return true;
        }
        [[fallthrough]];
    case Qt::Key_Escape: {
        if (level == 0) {
            m_menu->CloseAll();
            return true;
        }
        TbsSkinMenu *menu = m_menu;
        menu->CloseLevels(level);
        if (TbsSkinPopupWindow *top = menu->TopPopup()) {
            for (const auto &item : top->m_items) {
                item->SetUp();
            }
        }
        return true;
    }
    case Qt::Key_Right:
        if (TbsSkinMenuItem *item = ActiveItem(); item && item->HasChildren()) {
            item->Click();
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        // Stops after one round when no item can take the highlight.
        const int next = NextMenuIndex(int(m_items.size()), m_activeIndex, Key == Qt::Key_Down ? 1 : -1,
            [this](int i) { return m_items[size_t(i)]->Enabled() && !m_items[size_t(i)]->IsSeparator(); });
        if (next != -1 && next != m_activeIndex) {
            ScrollTo(next);
            SetActiveIndex(next, true);
        }
        return true;
    }
    default:
        return false;
    }
}

TbsSkinPopupWindow *TbsSkinPopupWindow::levelAt(const QPoint &global) const
{
    const std::vector<TbsSkinPopupWindow *> popups = m_menu->Popups();
    for (auto popup = popups.rbegin(); popup != popups.rend(); ++popup) {
        if ((*popup)->isVisible() && (*popup)->geometry().contains(global)) {
            return *popup;
        }
    }
    return nullptr;
}

void TbsSkinPopupWindow::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint global = event->globalPosition().toPoint();
    if (global == m_lastPolled) {
        return;
    }
    m_lastPolled = global;
    TbsSkinPopupWindow *level = levelAt(global);
    if (!level) {
        for (TbsSkinPopupWindow *popup : m_menu->Popups()) {
            popup->StopScroll();
        }
        return;
    }
    level->m_armed = true;
    const QPoint local = level->mapFromGlobal(global);
    level->HoverAt(local.x(), local.y());
}

void TbsSkinPopupWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    TbsSkinPopupWindow *level = levelAt(event->globalPosition().toPoint());
    if (!level) {
        pressOutside(event);
        return;
    }
    level->m_armed = true;
    const QPoint local = level->mapFromGlobal(event->globalPosition().toPoint());
    level->HoverAt(local.x(), local.y());
}

void TbsSkinPopupWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TbsSkinPopupWindow::pressOutside(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    const QPointer<QWidget> form = m_menu->Form();
    const bool onAnchor = pointInRect(m_menu->Anchor(), { global.x(), global.y() });
    if (m_menu->Visible()) {
        m_menu->CloseAll();
    }
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if (!form || !form->isVisible() || (onAnchor && !doubleClick)) {
        return;
    }
    QWidget *target = QApplication::widgetAt(global);
    if (!target || target->window() != form) {
        // Off the window (or no window system to ask): the window itself, when the point lies on it.
        if (!form->geometry().contains(global)) {
            return;
        }
        target = form;
    }
    QMouseEvent replay(event->type(), QPointF(target->mapFromGlobal(global)), QPointF(global), event->button(),
        event->buttons(), event->modifiers());
    QApplication::sendEvent(target, &replay);
}

void TbsSkinPopupWindow::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    TbsSkinPopupWindow *level = levelAt(event->globalPosition().toPoint());
    // The release of the press that opened the menu is no choice.
    if (!level || !level->m_armed) {
        return;
    }
    const QPoint local = level->mapFromGlobal(event->globalPosition().toPoint());
    level->HoverAt(local.x(), local.y());
    TbsSkinMenuItem *item = level->ActiveItem();
    if (item && !item->IsSeparator() && item->Visible && pointInRect(item->ItemRect, { local.x(), local.y() })) {
        item->Click();
    }
}

void TbsSkinPopupWindow::keyPressEvent(QKeyEvent *event)
{
    // Every key belongs to the menu while it is open.
    event->accept();
    if (isVisible()) {
        KeyDown(event->key(), event->text());
    }
}

void TbsSkinPopupWindow::wheelEvent(QWheelEvent *event)
{
    event->accept();
    TbsSkinPopupWindow *level = levelAt(event->globalPosition().toPoint());
    if (level && level->m_scroll && event->angleDelta().y() != 0) {
        level->ScrollStep(event->angleDelta().y() > 0 ? 1 : 2);
    }
}

void TbsSkinPopupWindow::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (m_scroll && !underMouse()) {
        StopScroll();
    }
}

void TbsSkinPopupWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    QAccessibleEvent closed(this, QAccessible::PopupMenuEnd);
    notifyAccessibility(closed);
}

void TbsSkinPopupWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!m_closing) {
        // The window system closed the popup (a click elsewhere, another window activated): the whole menu ends.
        m_menu->CloseAll();
    }
}

bool TbsSkinPopupWindow::effectsInEffect() const
{
    return m_effects && m_entry != nullptr;
}

bool TbsSkinPopupWindow::morphInEffect() const
{
    return effectsInEffect() && m_entry->morphing;
}

bool TbsSkinPopupWindow::animationInEffect() const
{
    return effectsInEffect() && !IsNullRect(m_entry->animateskinrect) && m_entry->framecount > 0;
}

void TbsSkinPopupWindow::startEffects()
{
    if (!m_effectTimer->isActive()) {
        m_effectTimer->start();
    }
}

void TbsSkinPopupWindow::EffectTick()
{
    bool changed = false;
    for (const auto &itemPointer : m_items) {
        TbsSkinMenuItem &item = *itemPointer;
        if (item.IsSeparator()) {
            continue;
        }
        const bool highlighted = item.Active || item.Down;
        bool itemChanged = false;
        if (animationInEffect()) {
            if (item.Active && item.AnimationFrame <= m_entry->framecount) {
                ++item.AnimationFrame;
                itemChanged = true;
            } else if (!item.Active && item.AnimationFrame > 0) {
                --item.AnimationFrame;
                itemChanged = true;
            }
        } else if (morphInEffect()) {
            const double target = highlighted ? 1.0 : 0.0;
            if (item.MorphFactor != target) {
                item.MorphFactor
                    = highlighted ? std::min(1.0, item.MorphFactor + 0.2) : std::max(0.0, item.MorphFactor - 0.2);
                // Steps of 0.2 land on the ends without rounding left over.
                if (std::abs(item.MorphFactor - target) < 1e-9) {
                    item.MorphFactor = target;
                }
                itemChanged = true;
            }
        }
        if (itemChanged) {
            changed = true;
            if (item.Visible) {
                update(toQRect(item.ItemRect));
            }
        }
    }
    if (!changed) {
        m_effectTimer->stop();
    }
}

// --- Painting -------------------------------------------------------------------------------------------------

void TbsSkinPopupWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, PaintWindow());
}

QImage TbsSkinPopupWindow::PaintWindow()
{
    const int W = width();
    const int H = height();
    QImage image(std::max(W, 1), std::max(H, 1), QImage::Format_RGB32);
    image.fill(Qt::black);
    if (m_popupData) {
        const TbsDataSkinPopupWindow &d = *m_popupData;
        const TRect whole { 0, 0, m_windowPicture.width(), m_windowPicture.height() };
        image = CreateStretchSkinImage(m_oldPoints, m_newPoints, m_windowPicture, whole, W, H, m_scroll, d.leftstretch,
            d.topstretch, d.rightstretch, d.bottomstretch);
        if (image.isNull()) {
            image = QImage(std::max(W, 1), std::max(H, 1), QImage::Format_RGB32);
            image.fill(Qt::black);
        }
    } else {
        QPainter canvas(&image);
        canvas.fillRect(QRect(0, 0, W, H), plainMenuColor(QPalette::Base));
        canvas.fillRect(QRect(0, 0, 21, H), plainMenuColor(QPalette::Button));
        canvas.setPen(plainMenuColor(QPalette::Dark));
        canvas.drawRect(QRect(0, 0, W - 1, H - 1));
        canvas.setPen(plainMenuColor(QPalette::Base));
        canvas.drawRect(QRect(1, 1, W - 3, H - 3));
    }
    QPainter canvas(&image);
    for (const auto &item : m_items) {
        if (item->Visible && !IsNullRect(item->ItemRect)) {
            drawItem(canvas, *item);
        }
    }
    if (m_scroll) {
        const TRect &r = m_newItemsRect;
        const TRect upper
            = m_popupData ? TRect { r.Left, r.Top, r.Right, r.Top + s_markerBand } : TRect { 3, 3, W - 3, 13 };
        const TRect lower = m_popupData ? TRect { r.Left, r.Bottom - s_markerBand, r.Right, r.Bottom }
                                        : TRect { 3, H - 10, W - 3, H - 3 };
        drawMarker(canvas, upper, 1);
        drawMarker(canvas, lower, 2);
    }
    return image;
}

void TbsSkinPopupWindow::drawMarker(QPainter &painter, const TRect &band, int direction)
{
    QColor color;
    if (m_popupData) {
        color = skinColor(
            m_scrollDirection == direction ? m_popupData->scrollmarkeractivecolor : m_popupData->scrollmarkercolor);
    } else {
        color = m_scrollDirection == direction ? plainMenuColor(QPalette::ButtonText) : plainMenuColor(QPalette::Dark);
    }
    DrawArrowGlyph(painter, band, color, direction == 1 ? adUp : adDown);
}

void TbsSkinPopupWindow::drawItem(QPainter &canvas, const TbsSkinMenuItem &item)
{
    const QImage image = ItemImage(item);
    if (!image.isNull()) {
        canvas.drawImage(item.ItemRect.Left, item.ItemRect.Top, image);
    }
}

QImage TbsSkinPopupWindow::ItemImage(const TbsSkinMenuItem &Item)
{
    return MenuItemPainter(*this).itemImage(Item);
}

} // namespace pixolo

#include "skinframe/TbsSkinPopupWindow.h"

#include "skin/AccessibilityEvents.h"
#include "skin/SkinGlyphs.h"
#include "skin/SkinPlatform.h"
#include "skin/SkinRegion.h"
#include "skin/SkinText.h"
#include "skin/TbsEffectBmp.h"
#include "skin/TbsSkinData.h"
#include "skinframe/MenuGeometry.h"
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

// Timers of a level: item morphs step every 20 ms, a hovered scroll marker scrolls one item every 100 ms.
constexpr int s_effectIntervalMs = 20;
constexpr int s_scrollIntervalMs = 100;
// The band of each scroll marker.
constexpr int s_markerBand = 10;
// The plain look's highlight: a navy frame around a light blue fill (0x00BBGGRR).
constexpr int s_plainHighlightFrame = 8388608;
constexpr int s_plainHighlightFill = 13811126;
// Where caption and short-cut end short of the text rectangle's right edge, and the caption's glyph column
// without an image list.
constexpr int s_rightMargin = 16;
constexpr int s_skinGlyphColumn = 16;
constexpr int s_plainRightMargin = 19;

// The desktop colours of the plain look, from the application palette.
QColor buttonFace()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
}

QColor buttonShadow()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Dark);
}

QColor buttonText()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::ButtonText);
}

QColor windowColor()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor windowText()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Text);
}

QRect textExtent(const QFontMetrics &metrics, const QString &text)
{
    return metrics.boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, text);
}

// The built-in glyphs of the system and tray menus' items, by the item's fixed name.
using GlyphRoutine = void (*)(QPainter &, int, int, const QColor &);
GlyphRoutine namedGlyph(const QString &name)
{
    if (name == QLatin1String("SKF_CLOSE") || name == QLatin1String("TRAY_SKF_CLOSE")) {
        return DrawCloseGlyph;
    }
    if (name == QLatin1String("SKF_MINITEM")) {
        return DrawMinimizeGlyph;
    }
    if (name == QLatin1String("SKF_MAXITEM")) {
        return DrawMaximizeGlyph;
    }
    if (name == QLatin1String("SKF_RESTORE") || name == QLatin1String("TRAY_SKF_RESTORE")) {
        return DrawRestoreGlyph;
    }
    if (name == QLatin1String("SKF_ROLLUP")) {
        return DrawRollUpGlyph;
    }
    if (name == QLatin1String("SKF_MINTOTRAY")) {
        return DrawMinimizeToTrayGlyph;
    }
    return nullptr;
}

} // namespace

MenuItemLook MenuItemLook::from(const TbsDataSkinMenuItem &e)
{
    MenuItemLook look;
    look.skinrect = e.skinrect;
    look.activeskinrect = e.activeskinrect;
    look.dividerrect = e.dividerrect;
    look.itemleftoffset = e.itemleftoffset;
    look.itemrightoffset = e.itemrightoffset;
    look.dividerleftoffset = e.dividerleftoffset;
    look.dividerrightoffset = e.dividerrightoffset;
    look.textrect = e.textrect;
    look.fontname = e.fontname;
    look.fontheight = e.fontheight;
    look.fontstyle = e.fontstyle;
    look.fontcolor = e.fontcolor;
    look.activefontcolor = e.activefontcolor;
    look.unenabledfontcolor = e.unenabledfontcolor;
    look.stretcheffect = e.stretcheffect;
    look.inactivestretcheffect = e.inactivestretcheffect;
    look.dividerstretcheffect = e.dividerstretcheffect;
    look.animateskinrect = e.animateskinrect;
    look.framecount = e.framecount;
    look.animateinterval = e.animateinterval;
    look.inactiveanimation = e.inactiveanimation;
    look.morphing = e.morphing;
    look.morphkind = e.morphkind;
    return look;
}

// --- TbsSkinMenuItem ------------------------------------------------------------------------------------------

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow *window, QAction *action)
    : m_window(window)
    , m_action(action)
{
}

bool TbsSkinMenuItem::IsSeparator() const
{
    return !m_action || m_action->isSeparator() || m_action->text() == QLatin1String("-");
}

bool TbsSkinMenuItem::Enabled() const
{
    return m_action && m_action->isEnabled();
}

QMenu *TbsSkinMenuItem::Children() const
{
    return m_action ? m_action->menu() : nullptr;
}

bool TbsSkinMenuItem::HasChildren() const
{
    const QMenu *children = Children();
    if (!children) {
        return false;
    }
    const QList<QAction *> actions = children->actions();
    return std::any_of(actions.begin(), actions.end(), [](const QAction *a) { return a->isVisible(); });
}

QString TbsSkinMenuItem::Caption() const
{
    return m_action ? m_action->text() : QString();
}

QString TbsSkinMenuItem::ShortCutText() const
{
    return m_action ? m_action->shortcut().toString(QKeySequence::PortableText) : QString();
}

QChar TbsSkinMenuItem::Accelerator() const
{
    const QString caption = Caption();
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&')) {
            continue;
        }
        if (caption.at(i + 1) == QLatin1Char('&')) {
            ++i; // "&&" is a plain '&'
            continue;
        }
        return caption.at(i + 1).toLower();
    }
    return QChar();
}

void TbsSkinMenuItem::Activate(bool ByKey)
{
    Active = true;
    if (m_window->animationInEffect()) {
        AnimationFrame = 0;
    }
    for (const auto &other : m_window->m_items) {
        if (other.get() != this && other->Down) {
            other->Down = false;
            other->Redraw();
        }
    }
    if (Waiting && !ByKey) {
        Redraw();
        return;
    }
    TbsSkinMenu *menu = m_window->Menu();
    if (Down) {
        // Its submenu is open: only the levels below that one close.
        menu->CloseLevels(menu->LevelOf(m_window) + 2);
        return;
    }
    Redraw();
    menu->ItemAction(m_window, this, ByKey, false);
}

void TbsSkinMenuItem::Deactivate()
{
    Active = false;
    if (m_window->animationInEffect() && m_window->m_entry) {
        AnimationFrame = m_window->m_entry->framecount + 1;
    }
    Waiting = false;
    if (!Down) {
        Redraw();
    }
    TbsSkinMenu *menu = m_window->Menu();
    if (menu->WaitItem() == this) {
        // Leaving the item before its submenu opened cancels the opening.
        menu->CancelWaitItem();
    }
}

void TbsSkinMenuItem::Click()
{
    Waiting = false;
    if (!Down && Enabled()) {
        m_window->Menu()->ItemAction(m_window, this, false, true);
    }
}

void TbsSkinMenuItem::SetUp()
{
    if (Down) {
        Down = false;
        Redraw();
    }
}

void TbsSkinMenuItem::Redraw()
{
    TbsSkinPopupWindow *w = m_window;
    if (w->animationInEffect()) {
        if (w->m_entry->inactiveanimation || Active) {
            w->m_effectTimer->setInterval(std::max(1, w->m_entry->animateinterval));
            w->startEffects();
            return;
        }
        AnimationFrame = 0;
    } else if (w->morphInEffect()) {
        w->m_effectTimer->setInterval(s_effectIntervalMs);
        w->startEffects();
        return;
    }
    if (Visible) {
        w->update(toQRect(ItemRect));
    }
}

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
                m_entry = MenuItemLook::from(*entry);
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
    return m_effects && m_entry.has_value();
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
        canvas.fillRect(QRect(0, 0, W, H), windowColor());
        canvas.fillRect(QRect(0, 0, 21, H), buttonFace());
        canvas.setPen(buttonShadow());
        canvas.drawRect(QRect(0, 0, W - 1, H - 1));
        canvas.setPen(windowColor());
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
        color = m_scrollDirection == direction ? buttonText() : buttonShadow();
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
    const int w = RectWidth(Item.ItemRect);
    const int h = RectHeight(Item.ItemRect);
    if (w <= 0 || h <= 0) {
        return {};
    }
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    if (m_entry) {
        drawSkinnedItem(image, Item);
    } else {
        drawPlainItem(image, Item);
    }
    return image;
}

QImage TbsSkinPopupWindow::itemBackground(const TbsSkinMenuItem &item, bool highlighted, int frame)
{
    const MenuItemLook &e = *m_entry;
    const int w = RectWidth(item.ItemRect);
    if (frame >= 1 && frame <= e.framecount) {
        // Frames are stacked downwards when the strip is taller than an item, else side by side.
        TRect cell = e.animateskinrect;
        if (RectHeight(e.animateskinrect) > RectHeight(e.skinrect)) {
            const int step = RectHeight(e.animateskinrect) / e.framecount;
            cell = { cell.Left, cell.Top + (frame - 1) * step, cell.Right, cell.Top + frame * step };
        } else {
            const int step = RectWidth(e.animateskinrect) / e.framecount;
            cell = { cell.Left + (frame - 1) * step, cell.Top, cell.Left + frame * step, cell.Bottom };
        }
        return CreateHSkinImage(e.itemleftoffset, e.itemrightoffset, m_itemPicture, cell, w, e.stretcheffect);
    }
    if (highlighted) {
        return CreateHSkinImage(
            e.itemleftoffset, e.itemrightoffset, m_itemPicture, e.activeskinrect, w, e.stretcheffect);
    }
    return CreateHSkinImage(e.itemleftoffset, e.itemrightoffset, m_itemPicture, e.skinrect, w, e.inactivestretcheffect);
}

void TbsSkinPopupWindow::drawSkinnedItem(QImage &image, const TbsSkinMenuItem &item)
{
    const MenuItemLook &e = *m_entry;
    const int w = image.width();
    QPainter painter(&image);
    if (item.IsSeparator()) {
        const QImage divider = CreateHSkinImage(
            e.dividerleftoffset, e.dividerrightoffset, m_itemPicture, e.dividerrect, w, e.dividerstretcheffect);
        painter.drawImage(0, 0, divider);
        return;
    }
    const bool highlighted = item.Active || item.Down;
    QImage background;
    bool highlightedText = highlighted;
    if (animationInEffect() && item.AnimationFrame >= 1 && item.AnimationFrame <= e.framecount) {
        background = itemBackground(item, true, item.AnimationFrame);
        highlightedText = true;
    } else if (!morphInEffect() || item.MorphFactor == (highlighted ? 1.0 : 0.0)) {
        background = itemBackground(item, highlighted, 0);
    } else {
        const QImage normal = itemBackground(item, false, 0);
        const QImage active = itemBackground(item, true, 0);
        TbsEffectBmp mixed(normal);
        mixed.morph(e.morphkind, TbsEffectBmp(active), item.MorphFactor);
        background = mixed.Image();
    }
    if (!background.isNull()) {
        painter.drawImage(0, 0, background);
    }
    const QColor color = skinColor(highlightedText ? e.activefontcolor
            : item.Enabled()                       ? e.fontcolor
                                                   : e.unenabledfontcolor);
    const QFont font
        = m_menu->UseSkinFont() ? skinFont(e.fontname, e.fontheight, e.fontstyle) : m_menu->DefaultItemFont();
    painter.setFont(font);
    const QRect text
        = toQRect({ e.textrect.Left, e.textrect.Top, w + e.textrect.Right - RectWidth(e.skinrect), e.textrect.Bottom });
    drawItemContent(painter, item, text, color, s_skinGlyphColumn, s_rightMargin);
}

void TbsSkinPopupWindow::drawPlainItem(QImage &image, const TbsSkinMenuItem &item)
{
    const int w = image.width();
    const int h = image.height();
    const int glyphColumn = GlyphColumnWidth();
    QPainter painter(&image);
    const bool highlighted = (item.Active || item.Down) && !item.IsSeparator();
    QColor color;
    if (highlighted) {
        painter.fillRect(QRect(0, 0, w, h), skinColor(s_plainHighlightFill));
        painter.setPen(skinColor(s_plainHighlightFrame));
        painter.drawRect(QRect(0, 0, w - 1, h - 1));
        color = windowText();
    } else {
        painter.fillRect(QRect(0, 0, glyphColumn, h), buttonFace());
        painter.fillRect(QRect(glyphColumn, 0, w - glyphColumn, h), windowColor());
        color = item.Enabled() ? windowText() : buttonShadow();
    }
    if (item.IsSeparator()) {
        painter.fillRect(QRect(glyphColumn, h / 2, w - glyphColumn, 1), buttonShadow());
        return;
    }
    painter.setFont(m_menu->DefaultItemFont());
    // The caption starts 2 pixels into the glyph column's right, the glyph 1 pixel further in than skinned.
    drawItemContent(painter, item, QRect(1, 0, w - 1 - s_plainRightMargin + s_rightMargin, h), color, glyphColumn + 1,
        s_rightMargin);
}

void TbsSkinPopupWindow::drawItemContent(QPainter &painter, const TbsSkinMenuItem &item, const QRect &textRect,
    const QColor &color, int glyphColumn, int rightMargin)
{
    const int left = textRect.left();
    const int right = textRect.left() + textRect.width();
    const int middle = textRect.top() + textRect.height() / 2;
    painter.setPen(color);
    const int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine
        | (layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft);
    const QRect caption(
        left + glyphColumn, textRect.top(), std::max(0, right - rightMargin - (left + glyphColumn)), textRect.height());
    painter.drawText(caption, flags, item.Caption());
    const QString shortCut = item.ShortCutText();
    if (!shortCut.isEmpty()) {
        painter.drawText(QRect(left, textRect.top(), std::max(0, right - rightMargin - left), textRect.height()),
            Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, shortCut);
    }
    if (item.HasChildren()) {
        DrawArrowGlyph(painter, { right - 7, middle - 4, right - 3, middle + 4 }, color, adRight);
    }
    const QAction *action = item.Action();
    if (!action) {
        return;
    }
    const int glyphLeft = left + 2;
    if (!action->icon().isNull()) {
        const QPixmap pixmap = action->icon().pixmap(16, 16, item.Enabled() ? QIcon::Normal : QIcon::Disabled);
        const int top = middle - pixmap.height() / 2;
        painter.drawPixmap(glyphLeft, top, pixmap);
        if (action->isChecked()) {
            painter.setPen(color);
            painter.drawRect(QRect(glyphLeft - 1, top - 1, pixmap.width() + 1, pixmap.height() + 1));
        }
        return;
    }
    if (GlyphRoutine glyph = namedGlyph(action->objectName())) {
        glyph(painter, glyphLeft, middle - 4, color);
        return;
    }
    if (!action->isCheckable() || !action->isChecked()) {
        return;
    }
    const QActionGroup *group = action->actionGroup();
    if (group && group->exclusionPolicy() != QActionGroup::ExclusionPolicy::None) {
        DrawRadioGlyph(painter, glyphLeft + 1, middle - 3, color);
    } else {
        DrawCheckGlyph(painter, glyphLeft, middle - 4, color);
    }
}

} // namespace pixolo

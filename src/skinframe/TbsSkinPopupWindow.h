#pragma once

#include "skin/SkinPaint.h"
#include "skin/TbsDataSkinObject.h"
#include "skin/TbsDataSkinPopupWindow.h"
#include "skinframe/TbsSkinMenuItem.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QTimer;

namespace pixolo
{

class TbsSkinMenu;
class TbsSkinPopupWindow;

// One open level of a skinned menu: a frameless popup drawn from the skin's popup-window picture (stretched to
// the popup's size, shaped by its mask) listing the items in the skin's menu-item look. It follows the mouse and the
// keyboard; it is a Qt::Popup, so the keyboard, the wheel and clicks anywhere come to the topmost level.
//
// The engine (TbsSkinMenu) makes, shows and frees the levels; a level never frees itself.
class TbsSkinPopupWindow final : public QWidget
{
    Q_OBJECT
public:
    // Popup data (a store that is loaded and whose popup window has a picture) gives the skinned window look;
    // Entry the skinned item look. Without them the plain look is drawn.
    TbsSkinPopupWindow(TbsSkinMenu *menu, QWidget *parent);
    ~TbsSkinPopupWindow() override;

    // Lays the items of Item's children out from StartIndex, sizes, places and shows the level.
    void ShowAt(const TRect &Anchor, QMenu *Item, bool IsSubmenu, bool PopupUpward, int StartIndex);

    TbsSkinMenu *Menu() const { return m_menu; }
    QMenu *ParentItem() const { return m_item; }
    const std::vector<std::unique_ptr<TbsSkinMenuItem>> &Items() const { return m_items; }
    int ActiveIndex() const { return m_activeIndex; }
    TbsSkinMenuItem *ActiveItem() const;
    int IndexOf(const TbsSkinMenuItem *item) const;
    bool Scrolling() const { return m_scroll; }
    bool Limited() const { return m_limited; }
    int FirstVisibleIndex() const { return m_firstVisible; }
    int VisibleCount() const { return m_visibleCount; }
    int ScrollDirection() const { return m_scrollDirection; }
    bool HasPopupData() const { return m_popupData.has_value(); }
    bool HasItemEntry() const { return m_entry != nullptr; }
    // The new items rectangle for the popup's size, in its own coordinates.
    const TRect &ItemsRect() const { return m_newItemsRect; }
    // The shape cut from the mask picture (none without one).
    const std::optional<QRegion> &Shape() const { return m_shape; }
    // The glyph column of the plain look and of the size rule.
    int GlyphColumnWidth() const { return 19; }
    // The font the items are drawn in.
    const QFont &ItemFont() const { return m_font; }

    // The mouse at (X, Y) of this popup: scroll markers, then the item under it.
    void HoverAt(int X, int Y);
    // Key handling of the topmost level; true when the key was used.
    bool KeyDown(int Key, const QString &Text);
    // Makes item Index active (the previous one is deactivated); ByKey as in TbsSkinMenuItem::Activate.
    void SetActiveIndex(int Index, bool ByKey);
    // Brings item Index into view when scrolling.
    void ScrollTo(int Index);
    void StartScroll(int Direction);
    void StopScroll();
    // Scrolls by one item (Direction 1 up, 2 down); false when it cannot.
    bool ScrollStep(int Direction);

    // The whole popup as it is drawn (background, items, markers) at its present size.
    QImage PaintWindow();
    // One item's image as drawn at its rectangle's size.
    QImage ItemImage(const TbsSkinMenuItem &Item);

    // Set by the engine while it closes the level, so that closing is not taken for a click outside.
    void markClosing() { m_closing = true; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    friend class MenuItemPainter;
    friend class TbsSkinMenuItem;
    // Item morphs step every 20 ms.
    static constexpr int s_effectIntervalMs = 20;

    void loadSkin();
    void computeSize(int &W, int &H);
    void computeNewPoints(int W, int H);
    void LayoutItems();
    int itemHeight(const TbsSkinMenuItem &item) const;
    // The level under a screen point: this one, another open level of the engine, or none.
    TbsSkinPopupWindow *levelAt(const QPoint &global) const;
    // A press outside every level: the menu ends, and the press goes on to the menu's window where it landed there
    // (a second press on the anchor only closes the menu; a double click always goes on).
    void pressOutside(QMouseEvent *event);
    void EffectTick();
    void startEffects();
    bool effectsInEffect() const;
    bool morphInEffect() const;
    bool animationInEffect() const;
    void drawItem(QPainter &canvas, const TbsSkinMenuItem &item);
    void drawMarker(QPainter &painter, const TRect &band, int direction);

    TbsSkinMenu *m_menu;
    QPointer<QMenu> m_item;
    std::optional<TbsDataSkinPopupWindow> m_popupData;
    QImage m_windowPicture;
    QImage m_maskPicture;
    std::unique_ptr<const TbsDataSkinMenuItem> m_entry; // a copy: the store may reload while the popup is open
    QImage m_itemPicture;
    bool m_effects = false; // the store has its effects on
    QFont m_font;

    std::vector<std::unique_ptr<TbsSkinMenuItem>> m_items;
    int m_activeIndex = -1;
    int m_oldActiveIndex = -1;
    bool m_scroll = false;
    bool m_limited = false;
    int m_firstVisible = 0;
    int m_visibleCount = 0;
    int m_scrollDirection = 0;
    SkinCorners m_oldPoints;
    SkinCorners m_newPoints;
    TRect m_newItemsRect;
    std::optional<QRegion> m_shape;
    QTimer *m_effectTimer = nullptr;
    QTimer *m_scrollTimer = nullptr;
    QPoint m_lastPolled { -1, -1 };
    bool m_armed = false; // the mouse moved over or pressed in a level: a release may click
    bool m_closing = false;
};

} // namespace pixolo

#include "skinframe/TbsSkinHint.h"

#include "skin/SkinPlatform.h"
#include "skin/SkinRegion.h"
#include "skin/SkinText.h"
#include "skin/TbsSkinData.h"
#include "skinframe/SkinFrameTypes.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTimer>

#include <vector>

namespace pixolo
{

namespace
{

std::vector<QPointer<TbsSkinHint>> &allHints()
{
    static std::vector<QPointer<TbsSkinHint>> s_hints;
    return s_hints;
}

QPointer<QWidget> &mainForm()
{
    static QPointer<QWidget> s_form;
    return s_form;
}

QColor paletteColor(QPalette::ColorRole role)
{
    return QGuiApplication::palette().color(QPalette::Active, role);
}

// The lowest row of `image` that holds a pixel for which `visible` is true, or -1.
template <class Visible> int lowestRow(const QImage &image, Visible visible)
{
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            if (visible(image, x, y)) {
                return y;
            }
        }
    }
    return -1;
}

// The height the window system gives its cursors: the X cursor size when set, else its default for the screen's
// resolution (16 points).
int systemCursorHeight()
{
    const int size = qEnvironmentVariableIntValue("XCURSOR_SIZE");
    if (size > 0) {
        return size;
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return std::max(16, int(dpi * 16 / 72));
}

} // namespace

// --- TbsSkinHintWindow ----------------------------------------------------------------------------------------

TbsSkinHintWindow::TbsSkinHintWindow(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_X11NetWmWindowTypeToolTip);
}

TbsSkinHintWindow::~TbsSkinHintWindow() = default;

TbsSkinData *TbsSkinHintWindow::Store() const
{
    return m_store.data();
}

void TbsSkinHintWindow::chooseLook(TbsSkinHint *hint)
{
    m_hint = hint;
    m_store = nullptr;
    m_picture = QImage();
    m_mask = QImage();
    TbsSkinData *store = hint ? hint->SkinData() : nullptr;
    const TBitmap *picture
        = store && !store->Empty() ? store->ActivePicture(store->HintWindow.windowpictureindex) : nullptr;
    if (picture) {
        m_store = store;
        m_picture = picture->toRgb32();
        const TbsDataSkinHintWindow &d = store->HintWindow;
        if (const TBitmap *mask = store->ActivePicture(d.maskpictureindex)) {
            m_mask = mask->toRgb32();
        }
        m_oldPoints = { d.lefttoppoint, d.righttoppoint, d.leftbottompoint, d.rightbottompoint, d.clientrect };
        m_font = hint->UseSkinFont() ? skinFont(d.fontname, d.fontheight, d.fontstyle) : hint->DefaultFont();
        // The skin's colour, also with the default font.
        m_textColor = skinColor(d.fontcolor);
    } else {
        m_font = hint ? hint->DefaultFont() : QApplication::font();
        m_textColor = paletteColor(QPalette::ToolTipText);
    }
    setFont(m_font);
}

QSize TbsSkinHintWindow::textSize(const QString &Text) const
{
    const QRect extent = QFontMetrics(m_font).boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, Text);
    return extent.size();
}

QSize TbsSkinHintWindow::CalcHintSize(const QString &Text)
{
    const QSize text = textSize(Text);
    if (!m_store) {
        return { text.width() + 4, text.height() + 4 };
    }
    const TRect &CR = m_oldPoints.ClRect;
    const int W = std::max(text.width() + CR.Left + m_picture.width() - CR.Right, m_picture.width());
    const int H = std::max(text.height() + CR.Top + m_picture.height() - CR.Bottom, m_picture.height());
    m_newPoints = m_oldPoints.grownBy(W - m_picture.width(), H - m_picture.height());
    return { W, H };
}

void TbsSkinHintWindow::ShowHintAt(const TRect &Rect, const QString &Text)
{
    ShowHintAt(Rect, Text, TbsSkinHint::FindActiveSkinHint(TbsSkinHint::ApplicationMainForm()));
}

void TbsSkinHintWindow::ShowHintAt(const TRect &Rect, const QString &Text, TbsSkinHint *Hint)
{
    if (!Hint) {
        return;
    }
    chooseLook(Hint);
    m_text = Text;
    const QSize size = CalcHintSize(Text);
    TRect r { Rect.Left, Rect.Top, Rect.Left + size.width(), Rect.Top + size.height() };
    const QScreen *screen = QGuiApplication::screenAt(QPoint(Rect.Left, Rect.Top));
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen) {
        const TRect area = toTRect(screen->geometry());
        if (area.Right < r.Right) {
            r = offsetRect(r, -(size.width() + 2), 0);
        }
        if (area.Bottom < r.Bottom) {
            r = offsetRect(r, 0, -(size.height() + 2));
        }
    }
    if (IsWindows5x()) {
        if (Hint->AlphaBlend() && (!m_layered || Hint->AlphaBlendValue() != m_alpha)) {
            SetWindowAlpha(this, Hint->AlphaBlendValue());
            m_alpha = Hint->AlphaBlendValue();
        } else if (!Hint->AlphaBlend() && m_layered) {
            SetWindowAlpha(this, 255);
        }
        m_layered = Hint->AlphaBlend();
    }
    setGeometry(toQRect(r));
    UpdateHintRegion();
    show();
    raise();
    update();
}

void TbsSkinHintWindow::UpdateHintRegion()
{
    m_shape.reset();
    if (m_store && !m_mask.isNull()) {
        m_shape = CreateSkinRegion(m_oldPoints, m_newPoints, m_mask, width(), height());
    }
    if (m_shape) {
        setMask(*m_shape);
    } else {
        clearMask();
    }
}

QPoint TbsSkinHintWindow::TextOrigin() const
{
    const QSize text = textSize(m_text);
    if (!m_store) {
        return { 2, 2 };
    }
    const TRect &c = m_newPoints.ClRect;
    return { c.Left + RectWidth(c) / 2 - text.width() / 2, c.Top + RectHeight(c) / 2 - text.height() / 2 };
}

QImage TbsSkinHintWindow::PaintHint() const
{
    const int W = std::max(width(), 1);
    const int H = std::max(height(), 1);
    QImage image;
    if (m_store) {
        const TbsDataSkinHintWindow &d = m_store->HintWindow;
        const TRect whole { 0, 0, m_picture.width(), m_picture.height() };
        image = CreateStretchSkinImage(m_oldPoints, m_newPoints, m_picture, whole, W, H, true, d.leftstretch,
            d.topstretch, d.rightstretch, d.bottomstretch);
    }
    if (image.isNull()) {
        image = QImage(W, H, QImage::Format_RGB32);
        image.fill(paletteColor(QPalette::ToolTipBase));
        if (!m_store) {
            QPainter frame(&image);
            frame.setPen(paletteColor(QPalette::Dark));
            frame.drawRect(QRect(0, 0, W - 1, H - 1));
        }
    }
    QPainter painter(&image);
    painter.setFont(m_font);
    painter.setPen(m_textColor);
    if (m_store) {
        const QSize text = textSize(m_text);
        painter.drawText(QRect(TextOrigin(), text), Qt::AlignLeft | Qt::AlignTop, m_text);
    } else {
        painter.drawText(QRect(2, 2, W - 4, H - 4), Qt::AlignLeft | Qt::AlignTop, m_text);
    }
    return image;
}

void TbsSkinHintWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, PaintHint());
}

// --- TbsSkinHint ----------------------------------------------------------------------------------------------

TbsSkinHint::TbsSkinHint(QObject *owner)
    : QObject(owner)
    , m_defaultFont(QApplication::font())
    , m_window(std::make_unique<TbsSkinHintWindow>())
{
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    allHints().emplace_back(this);
    if (!mainForm()) {
        mainForm() = ownerWindow();
    }
}

TbsSkinHint::~TbsSkinHint()
{
    auto &hints = allHints();
    hints.erase(std::remove_if(hints.begin(), hints.end(),
                    [this](const QPointer<TbsSkinHint> &h) { return h.isNull() || h == this; }),
        hints.end());
}

QWidget *TbsSkinHint::ownerWindow() const
{
    for (QObject *o = parent(); o; o = o->parent()) {
        if (o->isWidgetType()) {
            return static_cast<QWidget *>(o)->window();
        }
    }
    return nullptr;
}

TbsSkinData *TbsSkinHint::SkinData() const
{
    return m_skinData.data();
}

void TbsSkinHint::SetSkinData(TbsSkinData *value)
{
    m_skinData = value;
}

void TbsSkinHint::SetActive(bool value)
{
    m_active = value;
    if (!value) {
        return;
    }
    const QWidget *window = ownerWindow();
    for (const QPointer<TbsSkinHint> &other : allHints()) {
        if (other && other != this && other->ownerWindow() == window) {
            other->m_active = false;
        }
    }
}

void TbsSkinHint::SetAlphaBlendValue(int value)
{
    m_alphaBlendValue = std::clamp(value, 0, 255);
}

TbsSkinHint *TbsSkinHint::FindActiveSkinHint(const QWidget *Form)
{
    if (!Form) {
        return nullptr;
    }
    for (const QPointer<TbsSkinHint> &hint : allHints()) {
        if (hint && hint->m_active && hint->ownerWindow() == Form) {
            return hint;
        }
    }
    return nullptr;
}

void TbsSkinHint::SetApplicationMainForm(QWidget *form)
{
    mainForm() = form;
}

QWidget *TbsSkinHint::ApplicationMainForm()
{
    return mainForm();
}

bool TbsSkinHint::HintTimerActive() const
{
    return m_timer->isActive();
}

void TbsSkinHint::ShowHintDelayed(const QString &Text)
{
    m_timer->stop();
    m_timer->disconnect(this);
    m_text = Text;
    connect(m_timer, &QTimer::timeout, this, &TbsSkinHint::ShowHintAtCursor);
    m_timer->start(m_hintPause);
}

void TbsSkinHint::ShowHintAtCursor()
{
    QString text = m_text;
    bool canShow = true;
    if (OnShowHint) {
        OnShowHint(text, canShow);
    }
    m_timer->stop();
    m_timer->disconnect(this);
    if (!canShow) {
        return;
    }
    const QPoint cursor = QCursor::pos();
    const int Y = cursor.y() + CursorHeightMargin();
    m_window->ShowHintAt({ cursor.x(), Y, cursor.x(), Y }, text, this);
    connect(m_timer, &QTimer::timeout, this, &TbsSkinHint::CancelHint);
    m_timer->start(m_hintHidePause);
}

void TbsSkinHint::CancelHint()
{
    m_timer->stop();
    m_timer->disconnect(this);
    if (m_window->isVisible()) {
        m_window->hide();
    }
}

int TbsSkinHint::CursorHeightMargin()
{
    const QCursor *override = QGuiApplication::overrideCursor();
    return CursorHeightMargin(override ? *override : QCursor(Qt::ArrowCursor));
}

int TbsSkinHint::CursorHeightMargin(const QCursor &Cursor)
{
    const int hotSpot = Cursor.hotSpot().y();
    if (Cursor.shape() == Qt::BitmapCursor) {
        const QBitmap mask = Cursor.mask();
        if (!mask.isNull()) {
            // The mask's set pixels are the cursor's visible shape.
            const QImage bits = mask.toImage().convertToFormat(QImage::Format_Mono);
            const int row = lowestRow(bits, [](const QImage &img, int x, int y) { return img.pixelIndex(x, y) != 0; });
            if (row >= 0) {
                return row - hotSpot;
            }
        }
        const QPixmap pixmap = Cursor.pixmap();
        if (!pixmap.isNull()) {
            const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            const int row
                = lowestRow(image, [](const QImage &img, int x, int y) { return qAlpha(img.pixel(x, y)) != 0; });
            if (row >= 0) {
                return row - hotSpot;
            }
        }
    }
    return systemCursorHeight();
}

} // namespace pixolo

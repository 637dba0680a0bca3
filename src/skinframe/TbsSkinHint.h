#pragma once

#include "skin/SkinPaint.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

class QCursor;
class QTimer;

namespace pixolo
{

class TbsSkinData;
class TbsSkinHint;

// The hint window in the skin's look: the store's hint-window picture stretched around the text, shaped by its
// mask; the plain look (info colours, a one-pixel frame) without a store. It never takes the activation.
class TbsSkinHintWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit TbsSkinHintWindow(QWidget *parent = nullptr);
    ~TbsSkinHintWindow() override;

    // Shows Text with the window's top-left corner at Rect's (screen coordinates), looked up through the active
    // TbsSkinHint of the application's main form; nothing is shown without one.
    void ShowHintAt(const TRect &Rect, const QString &Text);
    // The same with the look of Hint.
    void ShowHintAt(const TRect &Rect, const QString &Text, TbsSkinHint *Hint);
    // The window's size for Text with the look chosen at the last showing, and the text's own extent.
    QSize CalcHintSize(const QString &Text);
    QSize textSize(const QString &Text) const;

    QString Text() const { return m_text; }
    // The store the last showing drew from (none: the plain look).
    TbsSkinData *Store() const;
    const SkinCorners &NewPoints() const { return m_newPoints; }
    // The shape set on the window (none without a mask).
    const std::optional<QRegion> &Shape() const { return m_shape; }
    // Where the text block starts inside the window.
    QPoint TextOrigin() const;
    // The window as it is drawn at its present size.
    QImage PaintHint() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void chooseLook(TbsSkinHint *hint);
    void UpdateHintRegion();

    QPointer<TbsSkinHint> m_hint;
    QPointer<TbsSkinData> m_store;
    QImage m_picture;
    QImage m_mask;
    SkinCorners m_oldPoints;
    SkinCorners m_newPoints;
    QFont m_font;
    QColor m_textColor;
    QString m_text;
    std::optional<QRegion> m_shape;
    bool m_layered = false;
    int m_alpha = 0;
};

// Gives hints the skin's look: the component's hint window draws itself from the store's [HINTWINDOW]. The
// skinned form shows its frame objects' hints through ShowHintDelayed and hides them with CancelHint. The hints of
// controls stay the framework's tooltips.
//
// Of the components on one window (the application's main form), one at a time is Active.
class TbsSkinHint final : public QObject
{
    Q_OBJECT
public:
    // `owner` is the window the component lives on.
    explicit TbsSkinHint(QObject *owner);
    ~TbsSkinHint() override;

    TbsSkinData *SkinData() const;
    void SetSkinData(TbsSkinData *value);
    bool Active() const { return m_active; }
    // True clears Active on the other components of the same window.
    void SetActive(bool value);
    bool AlphaBlend() const { return m_alphaBlend; }
    void SetAlphaBlend(bool value) { m_alphaBlend = value; }
    int AlphaBlendValue() const { return m_alphaBlendValue; }
    void SetAlphaBlendValue(int value);
    // The plain look's font, and the skinned look's when UseSkinFont is off.
    const QFont &DefaultFont() const { return m_defaultFont; }
    void SetDefaultFont(const QFont &value) { m_defaultFont = value; }
    bool UseSkinFont() const { return m_useSkinFont; }
    void SetUseSkinFont(bool value) { m_useSkinFont = value; }
    // Receives the show-hint notification of whoever shows a hint through this component.
    std::function<void(QString &HintStr, bool &CanShow)> OnShowHint;

    // How long the pointer rests before a hint shows, and how long a hint stays (milliseconds).
    int HintPause() const { return m_hintPause; }
    void SetHintPause(int value) { m_hintPause = std::max(0, value); }
    int HintHidePause() const { return m_hintHidePause; }
    void SetHintHidePause(int value) { m_hintHidePause = std::max(0, value); }

    // Shows Text below the cursor after the hint pause (restarting whatever was pending).
    void ShowHintDelayed(const QString &Text);
    // Shows the pending text below the cursor's visible shape now, and hides it after the hide pause.
    void ShowHintAtCursor();
    // Hides the hint and forgets what was pending.
    void CancelHint();

    TbsSkinHintWindow *HintWindow() const { return m_window.get(); }
    bool HintTimerActive() const;
    QString PendingText() const { return m_text; }

    // The first Active component on Form (none: no skinned hint is shown).
    static TbsSkinHint *FindActiveSkinHint(const QWidget *Form);
    // The application's main form, where the hint window looks for its component; by default the window of the
    // first component made.
    static void SetApplicationMainForm(QWidget *form);
    static QWidget *ApplicationMainForm();

    // The rows from the cursor's hot spot down to the lowest row of its visible shape; the cursor's height when
    // its shape cannot be read.
    static int CursorHeightMargin();
    static int CursorHeightMargin(const QCursor &Cursor);

private:
    QWidget *ownerWindow() const;

    QPointer<TbsSkinData> m_skinData;
    bool m_active = true;
    bool m_alphaBlend = false;
    int m_alphaBlendValue = 0;
    QFont m_defaultFont;
    bool m_useSkinFont = true;
    int m_hintPause = 500;
    int m_hintHidePause = 2500;
    std::unique_ptr<TbsSkinHintWindow> m_window; // a window of its own, without a parent
    QTimer *m_timer = nullptr;
    QString m_text;
};

} // namespace pixolo

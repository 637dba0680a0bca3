#include "app/TfrmAbout.h"

#include "app/FormControls.h"
#include "app/ProductTexts.h"
#include "app/TfrmMain.h"
#include "platform/DesktopServices.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinLabel.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"
#include "skinframe/TbsSkinForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShowEvent>
#include <QWindow>

#include <array>
#include <utility>

namespace pixolo
{

QPointer<TfrmAbout> frmAbout;

namespace
{

constexpr QSize kClientSize(434, 316);

// The (title, version) entries the window can show; this program is entry 2, the others are unused.
struct ProductEntry {
    const char *title;
    const char *version;
};
constexpr std::array<ProductEntry, 6> kProducts { {
    { nullptr, nullptr },
    { ProductTexts::kTitle, ProductTexts::kVersion },
    { nullptr, nullptr },
    { nullptr, nullptr },
    { nullptr, nullptr },
    { nullptr, nullptr },
} };

TbsSkinLabel *label(QWidget *parent, const char *name, int top)
{
    auto *control = makeControl<TbsSkinLabel>(parent, name, QRect(25, top, 368, 21));
    control->SetSkinDataName(QStringLiteral("label"));
    control->SetBorderStyle(bvFrame);
    return control;
}

TbsSkinStdLabel *stdLabel(QWidget *parent, const char *name, QRect bounds, const ControlFont &font)
{
    auto *control = makeControl<TbsSkinStdLabel>(parent, name, bounds);
    control->SetUseSkinFont(false);
    control->SetFont(font);
    return control;
}

QString decoded(const char *stored)
{
    return stored ? ProductTexts::decode(stored) : QString();
}

} // namespace

// A dialog of its owner's: only a dialog is tied to its owner on X11 (WM_TRANSIENT_FOR).
TfrmAbout::TfrmAbout(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    resize(kClientSize);
    setFont(defaultFormFont().toQFont());

    // A single fixed border: the frame does not size the window.
    bsSkinForm1 = makeSkinForm(this, biSystemMenu | biRollUp, bsSingle);
    QWidget *const client = bsSkinForm1->ClientWidget(); // the controls live inside the skinned frame

    bsSkinPanel1 = makePanel(client, "bsSkinPanel1", { 11, 121, 412, 152 }, alClient, bvFrame);
    Label1 = label(bsSkinPanel1, "Label1", 14);
    Label2 = label(bsSkinPanel1, "Label2", 42);
    Label3 = label(bsSkinPanel1, "Label3", 70);
    Label5 = label(bsSkinPanel1, "Label5", 98);
    Label4 = label(bsSkinPanel1, "Label4", 126);
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->SetUseSkinFont(false);
    Label4->SetUseSkinFontColor(false);
    ControlFont linkFont = Label4->DefaultFont();
    linkFont.Color = clBlue;
    linkFont.Style = fsUnderline;
    Label4->SetDefaultFont(linkFont);
    Label4->OnClick = [this](QObject *sender) { Label4Click(sender); };

    bsSkinPanel2 = makePanel(client, "bsSkinPanel2", { 0, 121, 11, 152 }, alLeft, bvNone);
    bsSkinPanel3 = makePanel(client, "bsSkinPanel3", { 423, 121, 11, 152 }, alRight, bvNone);
    bsSkinPanel4 = makePanel(client, "bsSkinPanel4", { 0, 273, 434, 43 }, alBottom, bvNone);

    bsSkinButton1 = makeControl<TbsSkinButton>(bsSkinPanel4, "bsSkinButton1", QRect(320, 8, 75, 25));
    bsSkinButton1->SetSkinDataName(QStringLiteral("button"));
    bsSkinButton1->SetCaption(QStringLiteral("确定"));
    bsSkinButton1->OnClick = [this](QObject *) { close(); };
    // The web address is a link the keyboard reaches too: Tab moves between it and the button, which keeps the
    // focus when the window opens.
    Label4->SetTabStop(true);
    QWidget::setTabOrder(bsSkinButton1, Label4);
    bsSkinButton1->setFocus();

    bsSkinPanel5 = makePanel(client, "bsSkinPanel5", { 0, 0, 434, 121 }, alTop, bvNone);

    bsSkinStdLabel1 = stdLabel(bsSkinPanel5, "bsSkinStdLabel1", QRect(0, 0, 434, 121),
        ControlFont { QStringLiteral("Bookman Old Style"), -21, 0, clWindowText });
    bsSkinStdLabel1->SetSkinDataName(QString()); // no skin entry: always the label's own look
    bsSkinStdLabel1->SetAlignment(taCenter);
    bsSkinStdLabel1->SetLayout(tlCenter);
    bsSkinStdLabel1->SetAlign(alClient);

    const ControlFont lineFont { QStringLiteral("MS Sans Serif"), -13, 0, clWindowText };
    Label6 = stdLabel(bsSkinPanel5, "Label6", { 12, 32, 405, 16 }, lineFont);
    Label7 = stdLabel(bsSkinPanel5, "Label7", { 12, 53, 405, 16 }, lineFont);
    Label8 = stdLabel(bsSkinPanel5, "Label8", { 12, 74, 405, 16 }, lineFont);
    Label00 = stdLabel(bsSkinPanel5, "Label00", QRect(28, 8, 69, 25),
        ControlFont { QStringLiteral("MS Sans Serif"), -16, fsBold, clBlue });
    Label00->SetUseSkinColor(false); // the headings keep their own blue
    Label9 = stdLabel(bsSkinPanel5, "Label9", { 12, 96, 405, 16 }, lineFont);
    Label01 = stdLabel(bsSkinPanel5, "Label01", QRect(112, 8, 297, 25),
        ControlFont { QStringLiteral("Bookman Old Style"), -16, fsBold, clBlue });
    Label01->SetUseSkinColor(false);

    makeSkinComponents(this, true, bsSkinData1, bsCompressedStoredSkin1);
    // bsSkinStdLabel1 has no store: it always shows its own font.
    bindSkin(bsSkinData1,
        { bsSkinPanel1, Label1, Label2, Label3, Label5, Label4, bsSkinPanel2, bsSkinPanel3, bsSkinPanel4, bsSkinButton1,
            bsSkinPanel5, Label6, Label7, Label8, Label00, Label9, Label01 });
    bsSkinForm1->SetSkinData(bsSkinData1);
    loadSkin(bsSkinData1, bsCompressedStoredSkin1);
    bsSkinForm1->resizeForClient(kClientSize);
    setWindowIcon(programWindowIcon(*bsSkinData1));

    // Esc closes the window whichever control has the focus.
    qApp->installEventFilter(this);
}

TfrmAbout::~TfrmAbout()
{
    qApp->removeEventFilter(this);
}

void TfrmAbout::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        // The window belongs to its owner (the main window): the window manager keeps it above that one and leaves
        // the task bar to it. Qt ties the two only when the owner had its native window before this one.
        QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
        if (owner && owner->windowHandle() && windowHandle()) {
            windowHandle()->setTransientParent(owner->windowHandle());
        }
        FormShow();
    }
}

void TfrmAbout::FormShow()
{
    using namespace ProductTexts;
    Label00->SetCaption(decode(kAboutHeading));
    Label01->SetCaption(decode(kAboutTitle));
    Label2->SetCaption(decode(kCaptionText2));
    Label3->SetCaption(decode(kCaptionText3));
    Label4->SetCaption(decode(kWebAddress));
    Label5->SetCaption(decode(kAboutThanks));
    Label6->SetCaption(decode(kAboutLine1));
    Label7->SetCaption(decode(kAboutLine2));
    Label8->SetCaption(decode(kAboutLine3));
    Label9->SetCaption(decode(kAboutLine4));
    if (m_productIndex >= 1 && m_productIndex <= kProducts.size()) {
        const ProductEntry &entry = kProducts[m_productIndex - 1];
        const QString title = decoded(entry.title);
        setWindowTitle(decode(kAboutCaptionPrefix) + title);
        Label1->SetCaption(decoded(entry.version) + QLatin1Char(' ') + title);
    }
    // Centred over the main window, or the screen when there is none.
    const QRect area = frmMain && frmMain->isVisible() ? frmMain->frameGeometry() : screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void TfrmAbout::Label4Click(QObject *)
{
    DesktopServices::openAddress(ProductTexts::decode(ProductTexts::kWebAddress));
}

bool TfrmAbout::isOwnArea(const QPoint &at) const
{
    // The client area where no control is: the frame keeps its own clicks.
    const QWidget *client = bsSkinForm1->ClientWidget();
    const QWidget *child = childAt(at);
    return client && client->geometry().contains(at) && (!child || child == client);
}

void TfrmAbout::mousePressEvent(QMouseEvent *event)
{
    // A click on the window's own area closes it when it ends there; one on a control (also when the control passed
    // it on) does not.
    if (event->button() == Qt::LeftButton) {
        m_ownAreaPressed = isOwnArea(event->position().toPoint());
    }
    QWidget::mousePressEvent(event);
}

void TfrmAbout::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && m_ownAreaPressed && isOwnArea(at);
    if (event->button() == Qt::LeftButton) {
        m_ownAreaPressed = false;
    }
    if (click) {
        close();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

bool TfrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isVisible() && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return false;
}

} // namespace pixolo

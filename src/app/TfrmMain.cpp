#include "app/TfrmMain.h"

#include "app/ProductTexts.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace pixolo {

QPointer<TfrmMain> frmMain;

namespace {

constexpr QRect kClientGeometry(226, 139, 729, 467);

} // namespace

TfrmMain::TfrmMain(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setGeometry(kClientGeometry);
    setWindowTitle(QStringLiteral("Pixolo"));
}

TfrmMain::~TfrmMain() = default;

QString TfrmMain::captionText()
{
    using namespace ProductTexts;
    return decode(kTitle) + QStringLiteral(" － ") + decode(kCaptionText2) + QLatin1Char(' ')
        + decode(kCaptionText3) + QLatin1Char(' ') + decode(kWebAddress);
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfrmMain::FormShow()
{
    setWindowTitle(captionText());
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        QCoreApplication::quit(); // closing the main window ends the program
    }
}

} // namespace pixolo

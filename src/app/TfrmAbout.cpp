#include "app/TfrmAbout.h"

namespace pixolo {

QPointer<TfrmAbout> frmAbout;

TfrmAbout::TfrmAbout(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    resize(434, 316);
}

TfrmAbout::~TfrmAbout() = default;

} // namespace pixolo

#pragma once

#include <QPointer>
#include <QWidget>

namespace pixolo {

// The About window: product name and version, description lines and the web address as a link.
class TfrmAbout final : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);
    ~TfrmAbout() override;
};

extern QPointer<TfrmAbout> frmAbout;

} // namespace pixolo

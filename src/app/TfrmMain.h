#pragma once

#include <QPointer>
#include <QWidget>

namespace pixolo {

// The main window: live preview, last snapshot, photo folder and the buttons.
class TfrmMain final : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The caption shown from the first show on: title － text 2 text 3 web address.
    static QString captionText();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
};

extern QPointer<TfrmMain> frmMain;

} // namespace pixolo
